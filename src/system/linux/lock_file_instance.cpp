#include "system/linux/lock_file_instance.h"

#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace quorvel {

LockFileInstance::LockFileInstance(std::filesystem::path lockFile) : path_(std::move(lockFile)) {
}

LockFileInstance::~LockFileInstance() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

std::filesystem::path LockFileInstance::DefaultLockFile(std::string_view program) {
    const std::string name(program);
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime == '/') {
        return std::filesystem::path(runtime) / (name + ".lock");
    }
    return std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getuid()) + ".lock");
}

bool LockFileInstance::acquire() {
    if (fd_ >= 0) {
        return true;
    }
    const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        // Without a lock file there is no way to tell; better to run than to refuse.
        return true;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

} // namespace quorvel
