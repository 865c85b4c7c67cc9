// Drives a running Windows program from outside, for the end-to-end checks
// of scripts/test-windows.sh:
//   window_driver wait CLASS exists|shown|hidden|gone [TIMEOUT_MS]
//     ends with 0 once the program's main window (by its class) is so, else 1;
//   window_driver exit CLASS
//     chooses "Exit" of that program's tray menu (the command its menu
//     sends), 0 when the command was delivered.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr UINT kExitCommand = 1028;     // the tray menu's first item
constexpr const wchar_t* kTrayClass = L"QRVL_TrayWindow";

HWND MainWindow(const std::wstring& windowClass) {
    return ::FindWindowW(windowClass.c_str(), nullptr);
}

// The tray's window of the process that owns `window`.
HWND TrayWindowOf(HWND window) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    HWND tray = nullptr;
    while ((tray = ::FindWindowExW(nullptr, tray, kTrayClass, nullptr)) != nullptr) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(tray, &process);
        if (process == owner) {
            return tray;
        }
    }
    return nullptr;
}

bool Holds(const std::wstring& windowClass, const std::wstring& state) {
    HWND window = MainWindow(windowClass);
    if (state == L"exists") {
        return window != nullptr;
    }
    if (state == L"gone") {
        return window == nullptr;
    }
    const bool shown = window != nullptr && ::IsWindowVisible(window) != FALSE && ::IsIconic(window) == FALSE;
    return state == L"shown" ? shown : window != nullptr && !shown;
}

int Usage() {
    std::fputs("usage: window_driver wait CLASS exists|shown|hidden|gone [TIMEOUT_MS]\n"
               "       window_driver exit CLASS\n",
               stderr);
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        return Usage();
    }
    const std::wstring command = argv[1];
    const std::wstring windowClass = argv[2];
    if (command == L"wait" && argc >= 4) {
        const std::wstring state = argv[3];
        const ULONGLONG timeout = argc >= 5 ? std::wcstoull(argv[4], nullptr, 10) : 30000;
        const ULONGLONG end = ::GetTickCount64() + timeout;
        while (!Holds(windowClass, state)) {
            if (::GetTickCount64() > end) {
                std::fprintf(stderr, "window_driver: the window of %ls is not %ls\n", windowClass.c_str(),
                             state.c_str());
                return 1;
            }
            ::Sleep(50);
        }
        return 0;
    }
    if (command == L"exit") {
        HWND window = MainWindow(windowClass);
        HWND tray = window != nullptr ? TrayWindowOf(window) : nullptr;
        if (tray == nullptr || ::PostMessageW(tray, WM_COMMAND, kExitCommand, 0) == FALSE) {
            std::fprintf(stderr, "window_driver: no tray menu of %ls\n", windowClass.c_str());
            return 1;
        }
        return 0;
    }
    return Usage();
}
