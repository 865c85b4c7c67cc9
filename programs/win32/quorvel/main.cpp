// The Quorvel mouse settings program for Windows: lives in the notification
// area, finds the mouse through the HID class driver.
#include <windows.h>

#include <commctrl.h>

#include <iostream>

#include "hid/trace/tracing_hid_port.h"
#include "hid/windows/windows_hid_port.h"
#include "quorvel_version.h"
#include "system/windows/run_key_autostart.h"
#include "system/windows/system_info.h"
#include "system/windows/waitable_timer_clock.h"
#include "system/windows/windows_file_system.h"
#include "system/windows/windows_pointer_settings.h"
#include "win32/program.h"
#include "win32/program_options.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const auto parsed = quorvel::ParseProgramOptions(quorvel::CommandLineArguments(), /*demo=*/false);
    if (const auto done = quorvel::AnswerCommandLine(parsed, "quorvel", /*demo=*/false, QUORVEL_VERSION)) {
        return *done;
    }
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);

    quorvel::WindowsHidPort system;
    // QUORVEL_TRACE=1: every transfer with the mouse on standard error.
    quorvel::WaitableTimerClock clock;
    quorvel::TracedWhenAsked ports(system, clock, quorvel::TraceAskedFor() ? &std::cerr : nullptr);
    quorvel::WindowsFileSystem files;
    quorvel::WindowsPointerSettings pointer;
    quorvel::Win32Program::Options options;
    options.paths = quorvel::Win32Program::DefaultDataPaths(files);
    options.langId = quorvel::SystemDefaultLangId();
    options.pointer = &pointer;
    // The user's Run value starts this very executable, saying it is the login's start.
    quorvel::RunKeyAutostart autostart(quorvel::RunKeyAutostart::kValueName,
                                       L"\"" + quorvel::ExecutablePath().wstring() + L"\" --autostart");
    options.autostart = &autostart;
    const auto& command = std::get<quorvel::ProgramOptions>(parsed);
    options.startedBy = command.autostart ? quorvel::StartedBy::Session : quorvel::StartedBy::User;

    quorvel::Win32Program program(ports.hid(), ports.clock(), std::move(options));
    if (!program.start()) {
        // 0: another copy is running (and shows its window when the user started this one); 1: the window
        // cannot be drawn
        return program.startExitStatus();
    }
    return program.exec();
}
