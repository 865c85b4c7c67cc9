#pragma once

#include <windows.h>

#include "app/main_window.h"
#include "win32/win32_window.h"

namespace quorvel {

// Hands every key pressed or released in the program's windows to the main
// window's controller (the recorder listens there), once per keystroke. A
// press in the main window that moves through its controls goes to the
// controller's navigation next, then Enter and Escape to the controller's
// own meaning of them; the presses taken are kept from the window. A
// keyboard hook of the interface thread, from construction to destruction;
// one at a time.
class KeystrokeHook {
public:
    KeystrokeHook(MainWindow& controller, Win32Window& window);
    ~KeystrokeHook();
    KeystrokeHook(const KeystrokeHook&) = delete;
    KeystrokeHook& operator=(const KeystrokeHook&) = delete;

    // False when the system refused the hook.
    bool installed() const { return hook_ != nullptr; }

private:
    static LRESULT CALLBACK Procedure(int code, WPARAM wParam, LPARAM lParam);
    bool Take(WPARAM virtualKey, LPARAM keyData);

    MainWindow* controller_;
    Win32Window* window_;
    HHOOK hook_ = nullptr;
};

} // namespace quorvel
