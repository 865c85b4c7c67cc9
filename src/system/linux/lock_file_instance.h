#pragma once

#include <filesystem>

#include "ports/system_ports.h"

namespace quorvel {

// One copy per user: a lock on a file in the user's runtime folder
// ($XDG_RUNTIME_DIR, else the temporary folder with the user id in the name).
// The lock goes with the process, so a crashed copy never blocks the next.
class LockFileInstance final : public SingleInstancePort {
public:
    explicit LockFileInstance(std::filesystem::path lockFile = DefaultLockFile());
    ~LockFileInstance() override;
    LockFileInstance(const LockFileInstance&) = delete;
    LockFileInstance& operator=(const LockFileInstance&) = delete;

    bool acquire() override;

    static std::filesystem::path DefaultLockFile();

private:
    std::filesystem::path path_;
    int fd_ = -1;
};

} // namespace quorvel
