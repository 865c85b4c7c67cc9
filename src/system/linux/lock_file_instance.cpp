#include "system/linux/lock_file_instance.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <variant>

#include "system/linux/standard_error.h"

namespace quorvel {

namespace {

// An open descriptor, or why there is none.
using Opened = std::variant<int, std::string>;

std::string Quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

// What stands at `path` where a folder or file of ours was expected.
std::string WhatStandsAt(const std::filesystem::path& path, int openError) {
    struct stat seen {};
    if (::lstat(path.c_str(), &seen) == 0 && S_ISLNK(seen.st_mode)) {
        return Quoted(path) + " is a symbolic link";
    }
    return "cannot open " + Quoted(path) + ": " + std::strerror(openError);
}

// The folder of the lock, made if missing, opened without following a link,
// and only if it is this user's and no one else may write in it.
Opened OpenOwnFolder(const std::filesystem::path& folder) {
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return "cannot make the folder " + Quoted(folder) + ": " + std::strerror(errno);
    }
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return WhatStandsAt(folder, errno);
    }
    struct stat seen {};
    std::string problem;
    if (::fstat(fd, &seen) != 0) {
        problem = "cannot read " + Quoted(folder) + ": " + std::strerror(errno);
    } else if (seen.st_uid != ::geteuid()) {
        problem = Quoted(folder) + " belongs to another user (uid " + std::to_string(seen.st_uid) + ")";
    } else if ((seen.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        problem = "other users may write in " + Quoted(folder) + " (make it yours alone: chmod 700)";
    }
    if (!problem.empty()) {
        ::close(fd);
        return problem;
    }
    return fd;
}

// The lock file in its folder, made if missing, and only a plain file of this
// user's: never a link to follow, nor a file another user holds.
Opened OpenOwnLockFile(const std::filesystem::path& path) {
    const Opened folder = OpenOwnFolder(path.parent_path());
    if (const auto* problem = std::get_if<std::string>(&folder)) {
        return *problem;
    }
    const int folderFd = std::get<int>(folder);
    const int fd = ::openat(folderFd, path.filename().c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    const int openError = errno;
    ::close(folderFd);
    if (fd < 0) {
        return WhatStandsAt(path, openError);
    }
    struct stat seen {};
    std::string problem;
    if (::fstat(fd, &seen) != 0) {
        problem = "cannot read " + Quoted(path) + ": " + std::strerror(errno);
    } else if (!S_ISREG(seen.st_mode)) {
        problem = Quoted(path) + " is not a plain file";
    } else if (seen.st_uid != ::geteuid()) {
        problem = Quoted(path) + " belongs to another user (uid " + std::to_string(seen.st_uid) + ")";
    }
    if (!problem.empty()) {
        ::close(fd);
        return problem;
    }
    return fd;
}

} // namespace

LockFileInstance::LockFileInstance(std::filesystem::path lockFile) : path_(std::move(lockFile)) {
}

LockFileInstance::~LockFileInstance() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

std::filesystem::path LockFileInstance::DefaultLockFile(std::string_view program) {
    const std::string name = std::string(program) + ".lock";
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime == '/') {
        return std::filesystem::path(runtime) / name;
    }
    // A folder of the user's own in the temporary folder: the lock and the
    // socket beside it must not sit where every user can make files.
    std::error_code error;
    std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    if (error) {
        temporary = "/tmp";
    }
    return temporary / ("quorvel-" + std::to_string(::geteuid())) / name;
}

bool LockFileInstance::acquire() {
    if (fd_ >= 0) {
        return true;
    }
    const Opened opened = OpenOwnLockFile(path_);
    if (const auto* problem = std::get_if<std::string>(&opened)) {
        unguarded_ = *problem;
    } else {
        const int fd = std::get<int>(opened);
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            fd_ = fd;
            unguarded_.clear();
            return true;
        }
        const int lockError = errno;
        ::close(fd);
        if (lockError == EWOULDBLOCK) {
            return false; // another copy of this user's runs
        }
        unguarded_ = "cannot lock " + Quoted(path_) + ": " + std::strerror(lockError);
    }
    // Better to run than to be kept from running by what cannot be trusted.
    PrintErrorLine("runs without its single-instance lock, so a second start runs beside this one: " +
                   unguarded_);
    return true;
}

} // namespace quorvel
