#include "system/linux/local_file_system.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvel {

namespace {

// Writes every byte, going on after a partial write or an interruption.
int WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

// An open lock file whose flock is held until it closes.
class FlockHeld final : public FolderLock {
public:
    explicit FlockHeld(int fd) : fd_(fd) {}
    ~FlockHeld() override { ::close(fd_); }
    FlockHeld(const FlockHeld&) = delete;
    FlockHeld& operator=(const FlockHeld&) = delete;

private:
    int fd_;
};

// mkstemp's six characters.
bool IsTemporarySuffix(std::string_view suffix) {
    return suffix.size() == 6 && std::all_of(suffix.begin(), suffix.end(), [](char c) {
               return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
           });
}

} // namespace

bool LocalFileSystem::exists(const std::filesystem::path& path) const {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

std::optional<FileSystem::Stamp> LocalFileSystem::stamp(const std::filesystem::path& path) const {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    return Stamp{static_cast<std::uintmax_t>(info.st_size),
                 static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

FileResult<std::string> LocalFileSystem::readAll(const std::filesystem::path& path) const {
    const auto failed = [&](FileError::Kind kind, int code = 0, std::uintmax_t size = 0) {
        return FileError{kind, path, code, size};
    };
    // Not blocking: a FIFO in the file's place must not hang the program
    // until some writer comes.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        return failed(error == ENOENT || error == ENOTDIR ? FileError::Kind::Missing
                                                          : FileError::Kind::ReadFailed,
                      error);
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        return failed(FileError::Kind::ReadFailed, error);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return failed(FileError::Kind::NotAFile);
    }
    const auto size = static_cast<std::uintmax_t>(info.st_size);
    if (size > kLargestDataFile) {
        ::close(fd);
        return failed(FileError::Kind::TooLarge, 0, size);
    }
    // The file may grow while it is read: never take more than the limit.
    std::string content;
    content.resize(static_cast<std::size_t>(size) + 1);
    std::size_t done = 0;
    for (;;) {
        if (done == content.size()) {
            if (content.size() > kLargestDataFile) {
                ::close(fd);
                return failed(FileError::Kind::TooLarge, 0, done);
            }
            content.resize(std::min<std::size_t>(content.size() * 2, kLargestDataFile + 1));
        }
        const ssize_t n = ::read(fd, content.data() + done, content.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            ::close(fd);
            return failed(FileError::Kind::ReadFailed, error);
        }
        if (n == 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    content.resize(done);
    return content;
}

namespace {

// The file a path finally names: symbolic links are followed, so that a
// save replaces the file a link points to and leaves the link in place.
// A link that points nowhere yet names the file it would point to.
std::filesystem::path FinalTarget(std::filesystem::path path) {
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(path, ec)) {
            return path;
        }
        const std::filesystem::path target = std::filesystem::read_symlink(path, ec);
        if (ec) {
            return path;
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path; // a loop: the rename below fails with the system's own error
}

// Writes `bytes` as the file `path` in one step; errors name `named`.
FileStatus WriteInPlaceOf(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                          const std::filesystem::path& named) {
    const auto failed = [&](int error) { return FileError{FileError::Kind::WriteFailed, named, error}; };
    // The temporary file lies beside the target so the rename stays on one
    // file system and replaces the old file in one step.
    std::filesystem::path temporary = path;
    temporary += ".XXXXXX";
    std::string pattern = temporary.string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        return failed(errno);
    }
    // Keep the permissions of the file being replaced; a new file gets the
    // ordinary ones.
    struct stat old {};
    const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    int error = ::fchmod(fd, mode) == 0 ? 0 : errno;
    if (error == 0) {
        error = WriteAll(fd, bytes);
    }
    if (error == 0 && ::fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(pattern.c_str(), path.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(pattern.c_str());
        return failed(error);
    }
    // Make the rename itself durable.
    const std::string folder = path.has_parent_path() ? path.parent_path().string() : std::string(".");
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return std::nullopt;
}

} // namespace

FileStatus LocalFileSystem::writeAtomically(const std::filesystem::path& link,
                                            std::span<const std::uint8_t> bytes) {
    return WriteInPlaceOf(FinalTarget(link), bytes, link);
}

FileStatus ReplaceFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    return WriteInPlaceOf(path, bytes, path);
}

} // namespace quorvel

namespace quorvel {

std::unique_ptr<FolderLock> LocalFileSystem::lockFolder(const std::filesystem::path& folder) {
    // Read-only is enough for flock, so a lock file another user made in a
    // shared folder still locks; a link in its place is not followed.
    const std::filesystem::path file = folder / kFolderLockName;
    const int fd = ::open(file.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
    if (fd < 0) {
        return nullptr;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            ::close(fd);
            return nullptr;
        }
    }
    return std::make_unique<FlockHeld>(fd);
}

void LocalFileSystem::removeStaleTemporaries(const std::filesystem::path& file) {
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    const std::string prefix = file.filename().string() + ".";
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (!name.starts_with(prefix) || !IsTemporarySuffix(name.substr(prefix.size()))) {
            continue;
        }
        // Only a plain file of this user's: never a folder, a link or another's file.
        struct stat info {};
        if (::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode) &&
            info.st_uid == ::geteuid()) {
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
        }
    }
    ::closedir(dir);
}

} // namespace quorvel
