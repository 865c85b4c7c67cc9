#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "ports/file_error.h"

namespace quorvel {

// The program's data files are a few kilobytes; anything larger is damage
// or a wrong path (a log, /dev/zero), and is refused instead of being read.
inline constexpr std::uintmax_t kLargestDataFile = 4 * 1024 * 1024;

// Names inside the program are UTF-8. A path meets them only through these
// two: on Windows a path made from a narrow string would read the ANSI code
// page, and its narrow string need not be UTF-8.
inline std::filesystem::path PathFromUtf8(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}
inline std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// The lock file of a data folder, beside the data files.
inline constexpr const char* kFolderLockName = ".quorvel.lock";

// Held while it lives: the advisory lock of one data folder.
class FolderLock {
public:
    virtual ~FolderLock() = default;
};

// The few file operations the program's data files need. Core reads and
// writes its files only through this port, so tests can make a folder
// read-only or a disk full even when they run as root.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual bool exists(const std::filesystem::path& path) const = 0;

    // Size and modification time, to tell when a file has changed; nothing
    // when the file is missing.
    struct Stamp {
        std::uintmax_t size = 0;
        std::int64_t modified = 0; // nanoseconds of the file clock
        bool operator==(const Stamp&) const = default;
    };
    virtual std::optional<Stamp> stamp(const std::filesystem::path& path) const = 0;

    // The whole file. Only a regular file of at most kLargestDataFile bytes
    // is read; anything else is an error (Missing, NotAFile, TooLarge,
    // ReadFailed), and reading never waits on a FIFO.
    virtual FileResult<std::string> readAll(const std::filesystem::path& path) const = 0;

    // Replaces the file's contents as one step: the bytes go to a temporary
    // file beside it, are flushed to the disk, and the temporary file is renamed
    // over the old one. A symbolic link stays a link: the file it points to is
    // replaced. On failure (WriteFailed) the old file is untouched.
    virtual FileStatus writeAtomically(const std::filesystem::path& path,
                                       std::span<const std::uint8_t> bytes) = 0;

    // Copies a file when the target does not exist yet, making its folder
    // first; the copy is written as writeAtomically writes.
    virtual FileStatus copyIfMissing(const std::filesystem::path& from, const std::filesystem::path& to) {
        if (exists(to)) {
            return std::nullopt;
        }
        const auto content = readAll(from);
        if (!content) {
            return content.error();
        }
        // A folder that cannot be made is told as itself (read-only, no
        // access), not as a file missing from it.
        std::error_code ec;
        if (to.has_parent_path() && !std::filesystem::create_directories(to.parent_path(), ec) && ec) {
            return FileError{FileError::Kind::WriteFailed, to.parent_path(),
                             ec.default_error_condition().value()};
        }
        return writeAtomically(
            to, std::span(reinterpret_cast<const std::uint8_t*>(content->data()), content->size()));
    }

    // Waits for the advisory lock of `folder` (a lock file in it, which other
    // programs ignore) and holds it until the returned object goes. Nothing
    // when the folder cannot hold a lock file (missing, read-only): its files
    // cannot be replaced either, and a read needs no lock.
    virtual std::unique_ptr<FolderLock> lockFolder(const std::filesystem::path& /*folder*/) { return nullptr; }

    // Removes what writeAtomically left beside `file` when its process was
    // killed before the rename: only its own temporary files, only while the
    // folder's lock is held, so that no save under way loses its file.
    virtual void removeStaleTemporaries(const std::filesystem::path& /*file*/) {}

    // The names of the folders directly inside `folder` (no "." or "..", no
    // files), in no particular order; none when it cannot be read.
    virtual std::vector<std::string> subfolders(const std::filesystem::path& folder) const {
        std::vector<std::string> names;
        std::error_code ec;
        for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            std::error_code kind;
            if (it->is_directory(kind)) {
                names.push_back(Utf8FromPath(it->path().filename()));
            }
        }
        return names;
    }
};

} // namespace quorvel
