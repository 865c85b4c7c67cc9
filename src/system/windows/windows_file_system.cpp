#include "system/windows/windows_file_system.h"

#include <algorithm>
#include <cerrno>
#include <string>
#include <windows.h>

namespace quorvel {

namespace {

// Closes a file handle when it goes out of scope.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (valid()) {
            ::CloseHandle(handle_);
        }
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    // Closes now; false when the close failed.
    bool close() {
        const bool closed = !valid() || ::CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

bool FileAttributes(const std::filesystem::path& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
    return ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) != 0 &&
           (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

int LastErrno() {
    return ErrnoFromWindowsError(::GetLastError());
}

// A name beside the target that no other save uses at the same time.
std::filesystem::path TemporaryBeside(const std::filesystem::path& path) {
    std::filesystem::path temporary = path;
    temporary += L"." + std::to_wstring(::GetCurrentProcessId()) + L"." +
                 std::to_wstring(::GetTickCount64()) + L".tmp";
    return temporary;
}

int WriteThroughAndReplace(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// An open lock file with its whole first byte locked until it closes.
class LockFileHeld final : public FolderLock {
public:
    explicit LockFileHeld(HANDLE handle) : handle_(handle) {}
    ~LockFileHeld() override { ::CloseHandle(handle_); }
    LockFileHeld(const LockFileHeld&) = delete;
    LockFileHeld& operator=(const LockFileHeld&) = delete;

private:
    HANDLE handle_;
};

// TemporaryBeside's ending after the file's own name: ".<digits>.<digits>.tmp".
bool IsTemporarySuffix(std::wstring_view suffix) {
    if (!suffix.ends_with(L".tmp")) {
        return false;
    }
    suffix.remove_suffix(4);
    const std::size_t dot = suffix.find(L'.');
    const auto digits = [](std::wstring_view part) {
        return !part.empty() && std::all_of(part.begin(), part.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
    };
    return dot != std::wstring_view::npos && digits(suffix.substr(0, dot)) && digits(suffix.substr(dot + 1));
}

} // namespace

int ErrnoFromWindowsError(unsigned long error) {
    switch (error) {
    case ERROR_SUCCESS:
        return 0;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
        return ENOENT;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return ENOMEM;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    default:
        return EIO;
    }
}

bool WindowsFileSystem::exists(const std::filesystem::path& path) const {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return FileAttributes(path, data);
}

std::optional<FileSystem::Stamp> WindowsFileSystem::stamp(const std::filesystem::path& path) const {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!FileAttributes(path, data)) {
        return std::nullopt;
    }
    const auto size = (static_cast<std::uintmax_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    const auto ticks = (static_cast<std::int64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                       data.ftLastWriteTime.dwLowDateTime;
    return Stamp{size, ticks * 100}; // the file clock counts 100 ns
}

FileResult<std::string> WindowsFileSystem::readAll(const std::filesystem::path& path) const {
    const auto failed = [&](FileError::Kind kind, int code = 0, std::uintmax_t size = 0) {
        return FileError{kind, path, code, size};
    };
    FileHandle file(
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid()) {
        const int code = LastErrno();
        return failed(code == ENOENT ? FileError::Kind::Missing : FileError::Kind::ReadFailed, code);
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileInformationByHandle(file.get(), &info) == 0) {
        return failed(FileError::Kind::ReadFailed, LastErrno());
    }
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
        ::GetFileType(file.get()) != FILE_TYPE_DISK) {
        return failed(FileError::Kind::NotAFile);
    }
    const auto size = (static_cast<std::uintmax_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    if (size > kLargestDataFile) {
        return failed(FileError::Kind::TooLarge, 0, size);
    }
    std::string content;
    char buffer[16384];
    for (;;) {
        DWORD got = 0;
        if (::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) == 0) {
            return failed(FileError::Kind::ReadFailed, LastErrno());
        }
        if (got == 0) {
            return content;
        }
        content.append(buffer, got);
        if (content.size() > kLargestDataFile) {
            return failed(FileError::Kind::TooLarge, 0, content.size());
        }
    }
}

namespace {

int WriteThroughAndReplace(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    // Beside the target, so that the move stays on one volume and replaces
    // the old file in one step.
    const std::filesystem::path temporary = TemporaryBeside(path);
    FileHandle file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr));
    if (!file.valid()) {
        return LastErrno();
    }
    int error = 0;
    std::size_t done = 0;
    while (error == 0 && done < bytes.size()) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (::WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr) == 0) {
            error = LastErrno();
        } else if (written == 0) {
            error = EIO;
        }
        done += written;
    }
    if (error == 0 && ::FlushFileBuffers(file.get()) == 0) {
        error = LastErrno();
    }
    if (!file.close() && error == 0) {
        error = LastErrno();
    }
    if (error == 0 && ::MoveFileExW(temporary.c_str(), path.c_str(),
                                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        error = LastErrno();
    }
    if (error != 0) {
        ::DeleteFileW(temporary.c_str());
    }
    return error;
}

} // namespace

FileStatus WindowsFileSystem::writeAtomically(const std::filesystem::path& path,
                                              std::span<const std::uint8_t> bytes) {
    const int error = WriteThroughAndReplace(path, bytes);
    if (error != 0) {
        return FileError{FileError::Kind::WriteFailed, path, error};
    }
    return std::nullopt;
}

std::unique_ptr<FolderLock> WindowsFileSystem::lockFolder(const std::filesystem::path& folder) {
    const std::filesystem::path file = folder / kFolderLockName;
    HANDLE handle = ::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    OVERLAPPED whole{};
    if (::LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &whole) == 0) {
        ::CloseHandle(handle);
        return nullptr;
    }
    return std::make_unique<LockFileHeld>(handle);
}

void WindowsFileSystem::removeStaleTemporaries(const std::filesystem::path& file) {
    const std::wstring prefix = file.filename().wstring() + L".";
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(L".");
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((folder / (prefix + L"*.tmp")).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const std::wstring_view name = found.cFileName;
        if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0 &&
            name.starts_with(prefix) && IsTemporarySuffix(name.substr(prefix.size()))) {
            ::DeleteFileW((folder / std::wstring(name)).c_str());
        }
    } while (::FindNextFileW(search, &found) != 0);
    ::FindClose(search);
}

} // namespace quorvel
