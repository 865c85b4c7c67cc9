#pragma once

#include <string>

#include "ports/system_ports.h"

namespace quorvel {

// The user's Run key, Software\Microsoft\Windows\CurrentVersion\Run of
// HKEY_CURRENT_USER: at login Windows runs the command of each of its
// values, except those the Task Manager's startup list has turned off. The
// program's value holds the command that starts it; without the value, the
// login does not start it.
class RunKeyAutostart final : public AutostartPort {
public:
    // The value the installer and the program share, named after the program.
    static constexpr const wchar_t* kValueName = L"Quorvel Gaming Mouse";

    // `command` is what the value holds: the executable, quoted, and its arguments.
    RunKeyAutostart(std::wstring valueName, std::wstring command);

    bool startsWithDesktop() const override;
    FileStatus setStartsWithDesktop(bool start) override;

private:
    std::wstring valueName_;
    std::wstring command_;
};

} // namespace quorvel
