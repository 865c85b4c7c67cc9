#include "win32/shell_ports.h"

#include <iostream>

#include "ports/file_system.h"
#include "system/windows/system_info.h"
#include "system/windows/wide_text.h"

namespace quorvel {

void Win32Messages::showMessage(std::string_view text, std::string_view title) {
    const std::wstring wideText = WideFromUtf8(text);
    const std::wstring wideTitle = WideFromUtf8(title);
    // The owner may be hidden in the tray: the box comes to the front itself.
    ::MessageBoxW(owner_, wideText.c_str(), wideTitle.c_str(), MB_OK | MB_SETFOREGROUND);
}

void ConsoleMessages::showMessage(std::string_view text, std::string_view title) {
    std::cerr << Utf8FromPath(ExecutablePath().stem()) << ": " << title << ": " << text << std::endl;
}

void Win32Application::quit() {
    if (stopEvents_) {
        stopEvents_();
    }
    ::PostQuitMessage(0);
}

int RunUntilQuit() {
    MSG message{};
    for (;;) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            return static_cast<int>(message.wParam);
        }
        if (got == -1) {
            return 1;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

} // namespace quorvel
