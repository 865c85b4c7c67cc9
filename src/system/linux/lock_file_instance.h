#pragma once

#include <filesystem>
#include <string_view>

#include "ports/system_ports.h"

namespace quorvel {

// One copy per user: a lock on a file in the user's runtime folder
// ($XDG_RUNTIME_DIR, else the temporary folder with the user id in the name),
// named after the program, so the demo and the program each have their own.
// The lock goes with the process, so a crashed copy never blocks the next.
class LockFileInstance final : public SingleInstancePort {
public:
    explicit LockFileInstance(std::filesystem::path lockFile = DefaultLockFile("quorvel"));
    ~LockFileInstance() override;
    LockFileInstance(const LockFileInstance&) = delete;
    LockFileInstance& operator=(const LockFileInstance&) = delete;

    bool acquire() override;

    const std::filesystem::path& path() const { return path_; }

    static std::filesystem::path DefaultLockFile(std::string_view program = "quorvel");

private:
    std::filesystem::path path_;
    int fd_ = -1;
};

} // namespace quorvel
