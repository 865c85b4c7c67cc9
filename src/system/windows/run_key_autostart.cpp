#include "system/windows/run_key_autostart.h"

#include <windows.h>

#include "system/windows/windows_file_system.h"

namespace quorvel {

namespace {

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// Where the Task Manager keeps its own on/off of each Run value: the first
// byte of the value's data is odd while it is turned off.
constexpr const wchar_t* kApprovedKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

// The value's place as the user would look it up in the registry editor.
std::filesystem::path ValuePath(const std::wstring& name) {
    return std::filesystem::path(L"HKEY_CURRENT_USER\\" + std::wstring(kRunKey) + L"\\" + name);
}

bool TurnedOffInTaskManager(const std::wstring& name) {
    BYTE data[16]{};
    DWORD size = sizeof(data);
    DWORD type = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, kApprovedKey, name.c_str(), RRF_RT_REG_BINARY, &type, data,
                       &size) != ERROR_SUCCESS ||
        size == 0) {
        return false;
    }
    return (data[0] & 1) != 0;
}

} // namespace

RunKeyAutostart::RunKeyAutostart(std::wstring valueName, std::wstring command)
    : valueName_(std::move(valueName)), command_(std::move(command)) {
}

bool RunKeyAutostart::startsWithDesktop() const {
    DWORD size = 0;
    const LSTATUS found =
        ::RegGetValueW(HKEY_CURRENT_USER, kRunKey, valueName_.c_str(),
                       RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, nullptr, &size);
    return found == ERROR_SUCCESS && size > sizeof(wchar_t) && !TurnedOffInTaskManager(valueName_);
}

FileStatus RunKeyAutostart::setStartsWithDesktop(bool start) {
    const auto failed = [&](LSTATUS error) {
        return FileError{FileError::Kind::WriteFailed, ValuePath(valueName_),
                         ErrnoFromWindowsError(static_cast<unsigned long>(error))};
    };
    HKEY key = nullptr;
    LSTATUS result =
        ::RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (result != ERROR_SUCCESS) {
        return failed(result);
    }
    if (start) {
        result = ::RegSetValueExW(key, valueName_.c_str(), 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(command_.c_str()),
                                  static_cast<DWORD>((command_.size() + 1) * sizeof(wchar_t)));
    } else {
        result = ::RegDeleteValueW(key, valueName_.c_str());
        if (result == ERROR_FILE_NOT_FOUND) {
            result = ERROR_SUCCESS;
        }
    }
    ::RegCloseKey(key);
    if (result != ERROR_SUCCESS) {
        return failed(result);
    }
    // Turned on here, the Task Manager's earlier "off" no longer holds.
    if (start) {
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kApprovedKey, valueName_.c_str());
    }
    return std::nullopt;
}

} // namespace quorvel
