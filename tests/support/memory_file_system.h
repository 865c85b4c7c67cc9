#pragma once

#include <cerrno>
#include <iterator>
#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ports/file_system.h"
#include "ports/message_port.h"

namespace quorvel {

// Test failures show a file error as what it says.
inline void PrintTo(const FileError& e, std::ostream* out) {
    *out << "{kind " << static_cast<int>(e.kind) << ", " << e.path << ", code " << e.code << ", size "
         << e.size << "}";
}

} // namespace quorvel

namespace quorvel::testing {

// Files in memory, with the failures a real disk has on demand: a folder
// that refuses writes, a full disk, a file that cannot be read.
class MemoryFileSystem : public FileSystem {
public:
    std::map<std::filesystem::path, std::string> files;
    std::set<std::filesystem::path> unreadable; // there, but reading fails with EACCES
    std::set<std::filesystem::path> notFiles;   // a folder or a FIFO in the file's place
    int writeError = 0;                         // errno of every write while set (EACCES, ENOSPC, ...)
    std::set<std::filesystem::path> fullFor;    // writes of these files fail with ENOSPC
    int writes = 0;
    mutable int reads = 0;

    std::map<std::filesystem::path, std::int64_t> modified; // bumped by every write

    // The folder lock: how often it was taken, whether it is held now, and
    // how many writes came while it was not.
    int locksTaken = 0;
    int locksHeld = 0;
    int writesUnlocked = 0;
    std::vector<std::filesystem::path> temporariesCleared;

    std::unique_ptr<FolderLock> lockFolder(const std::filesystem::path& /*folder*/) override {
        class Held final : public FolderLock {
        public:
            explicit Held(int& held) : held_(held) { ++held_; }
            ~Held() override { --held_; }
            Held(const Held&) = delete;
            Held& operator=(const Held&) = delete;

        private:
            int& held_;
        };
        ++locksTaken;
        return std::make_unique<Held>(locksHeld);
    }

    void removeStaleTemporaries(const std::filesystem::path& file) override {
        temporariesCleared.push_back(file);
    }

    bool exists(const std::filesystem::path& path) const override { return files.count(path) != 0; }

    std::optional<Stamp> stamp(const std::filesystem::path& path) const override {
        const auto it = files.find(path);
        if (it == files.end()) {
            return std::nullopt;
        }
        const auto m = modified.find(path);
        return Stamp{it->second.size(), m == modified.end() ? 0 : m->second};
    }

    FileResult<std::string> readAll(const std::filesystem::path& path) const override {
        ++reads;
        if (notFiles.count(path) != 0) {
            return FileError{FileError::Kind::NotAFile, path};
        }
        const auto it = files.find(path);
        if (it == files.end()) {
            return FileError{FileError::Kind::Missing, path, ENOENT};
        }
        if (unreadable.count(path) != 0) {
            return FileError{FileError::Kind::ReadFailed, path, EACCES};
        }
        if (it->second.size() > kLargestDataFile) {
            return FileError{FileError::Kind::TooLarge, path, 0, it->second.size()};
        }
        return it->second;
    }

    FileStatus writeAtomically(const std::filesystem::path& path,
                               std::span<const std::uint8_t> bytes) override {
        ++writes;
        if (locksHeld == 0) {
            ++writesUnlocked;
        }
        if (writeError != 0) {
            return FileError{FileError::Kind::WriteFailed, path, writeError};
        }
        if (fullFor.count(path) != 0) {
            return FileError{FileError::Kind::WriteFailed, path, ENOSPC};
        }
        files[path] = std::string(bytes.begin(), bytes.end());
        ++modified[path];
        return std::nullopt;
    }

    // A folder is there while a file lies somewhere below it.
    std::vector<std::string> subfolders(const std::filesystem::path& folder) const override {
        std::set<std::string> names;
        for (const auto& [path, content] : files) {
            const std::filesystem::path relative = path.lexically_relative(folder);
            if (!relative.empty() && *relative.begin() != ".." &&
                std::distance(relative.begin(), relative.end()) > 1) {
                names.insert(Utf8FromPath(*relative.begin()));
            }
        }
        return {names.begin(), names.end()};
    }

    FileStatus copyIfMissing(const std::filesystem::path& from, const std::filesystem::path& to) override {
        if (exists(to)) {
            return std::nullopt;
        }
        const auto content = readAll(from);
        if (!content) {
            return content.error();
        }
        return writeAtomically(
            to, std::span(reinterpret_cast<const std::uint8_t*>(content->data()), content->size()));
    }
};

struct ShownMessage {
    std::string text;
    std::string title;
    bool operator==(const ShownMessage&) const = default;
    friend void PrintTo(const ShownMessage& m, std::ostream* out) {
        *out << '"' << m.text << "\" / \"" << m.title << '"';
    }
};

class RecordingMessages : public MessagePort {
public:
    std::vector<ShownMessage> shown;
    void showMessage(std::string_view text, std::string_view title) override {
        shown.push_back({std::string(text), std::string(title)});
    }
};

} // namespace quorvel::testing
