#include "system/linux/local_file_system.h"

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <iterator>
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

std::optional<std::string> LocalFileSystem::readAll(const std::filesystem::path& path) const {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return std::nullopt;
    }
    return content;
}

int LocalFileSystem::writeAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    // The temporary file lies beside the target so the rename stays on one
    // file system and replaces the old file in one step.
    std::filesystem::path temporary = path;
    temporary += ".XXXXXX";
    std::string pattern = temporary.string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        return errno;
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
        return error;
    }
    // Make the rename itself durable.
    const std::string folder = path.has_parent_path() ? path.parent_path().string() : std::string(".");
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return 0;
}

bool LocalFileSystem::copyIfMissing(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (exists(to)) {
        return true;
    }
    const auto content = readAll(from);
    if (!content) {
        return false;
    }
    std::error_code ec;
    if (to.has_parent_path()) {
        std::filesystem::create_directories(to.parent_path(), ec);
    }
    return writeAtomically(
               to, std::span(reinterpret_cast<const std::uint8_t*>(content->data()), content->size())) == 0;
}

} // namespace quorvel
