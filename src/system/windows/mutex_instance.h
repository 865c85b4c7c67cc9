#pragma once

#include <string>

#include "ports/system_ports.h"

namespace quorvel {

// One copy per session: a named mutex. The system drops it with the process,
// so a crashed copy never blocks the next.
class MutexInstance final : public SingleInstancePort {
public:
    static constexpr const wchar_t* kDefaultName = L"QRVL-Mutex";

    explicit MutexInstance(std::wstring name = kDefaultName);
    ~MutexInstance() override;
    MutexInstance(const MutexInstance&) = delete;
    MutexInstance& operator=(const MutexInstance&) = delete;

    bool acquire() override;

private:
    std::wstring name_;
    void* mutex_ = nullptr;
};

} // namespace quorvel
