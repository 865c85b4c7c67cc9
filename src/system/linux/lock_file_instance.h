#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "ports/system_ports.h"

namespace quorvel {

// One copy per user: a lock on a file in a folder of the user's alone (the
// runtime folder, $XDG_RUNTIME_DIR, else quorvel-<uid> in the temporary
// folder, made for it), named after the program, so the demo and the program
// each have their own. The lock goes with the process, so a crashed copy
// never blocks the next.
//
// The temporary folder is everyone's: another user can put a folder, a link
// or a held lock where this one's goes. A folder or lock file that is not
// the user's own, or that others may write in, is never used; the copy then
// runs without the guard (a second start runs beside it) and says why on
// standard error, rather than letting another user keep it from starting.
class LockFileInstance final : public SingleInstancePort {
public:
    explicit LockFileInstance(std::filesystem::path lockFile = DefaultLockFile("quorvel"));
    ~LockFileInstance() override;
    LockFileInstance(const LockFileInstance&) = delete;
    LockFileInstance& operator=(const LockFileInstance&) = delete;

    bool acquire() override;

    const std::filesystem::path& path() const { return path_; }
    // Whether this copy holds the lock; the folder beside it is then the
    // user's own, fit for the socket a second copy knocks on.
    bool held() const { return fd_ >= 0; }
    // Why this copy runs without the guard; empty otherwise.
    const std::string& unguarded() const { return unguarded_; }

    static std::filesystem::path DefaultLockFile(std::string_view program = "quorvel");

private:
    std::filesystem::path path_;
    int fd_ = -1;
    std::string unguarded_;
};

} // namespace quorvel
