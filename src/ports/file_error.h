#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <utility>
#include <variant>

namespace quorvel {

// What went wrong with one of the program's files: the one error value of
// every file operation, from the file-system port up to the window, which
// turns it into a text for the user.
struct FileError {
    enum class Kind {
        Missing,     // nothing at the path, or its folder is missing
        NotAFile,    // a folder, a FIFO, a device: never read or replaced
        TooLarge,    // larger than any file of the program; `size` says how large
        ReadFailed,  // there, but it could not be opened or read; `code` says why
        WriteFailed, // it could not be written; `code` says why, the old file is whole
        WrongSize,   // read whole, but its size is not that of its format; `size`
        Refused,     // the running program itself: never written
        BadName,     // a key or section name an INI file cannot hold
    };

    Kind kind = Kind::ReadFailed;
    std::filesystem::path path;
    int code = 0;            // the system's error code (errno), 0 when none
    std::uintmax_t size = 0; // for TooLarge and WrongSize

    bool operator==(const FileError&) const = default;
};

// A value, or the file error that kept it from being made.
template <class T> class FileResult {
public:
    FileResult(T value) : state_(std::move(value)) {}
    FileResult(FileError error) : state_(std::move(error)) {}

    bool ok() const { return std::holds_alternative<T>(state_); }
    explicit operator bool() const { return ok(); }

    const T& value() const& { return std::get<T>(state_); }
    T& value() & { return std::get<T>(state_); }
    T&& value() && { return std::get<T>(std::move(state_)); }
    const T& operator*() const& { return value(); }
    T& operator*() & { return value(); }
    const T* operator->() const { return &value(); }
    T* operator->() { return &value(); }
    T value_or(T fallback) const { return ok() ? value() : std::move(fallback); }

    const FileError& error() const { return std::get<FileError>(state_); }

private:
    std::variant<T, FileError> state_;
};

// The result of an operation that makes nothing: no value means success.
using FileStatus = std::optional<FileError>;

} // namespace quorvel
