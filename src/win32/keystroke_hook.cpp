#include "win32/keystroke_hook.h"

#include "win32/key_name.h"

namespace quorvel {

namespace {

// A hook procedure is given no context: the hook of this thread.
thread_local KeystrokeHook* current = nullptr;

} // namespace

KeystrokeHook::KeystrokeHook(MainWindow& controller, Win32Window& window)
    : controller_(&controller), window_(&window),
      hook_(SetWindowsHookExW(WH_KEYBOARD, &Procedure, nullptr, GetCurrentThreadId())) {
    if (hook_ != nullptr) {
        current = this;
    }
}

KeystrokeHook::~KeystrokeHook() {
    if (hook_ != nullptr) {
        UnhookWindowsHookEx(hook_);
        current = nullptr;
    }
}

LRESULT CALLBACK KeystrokeHook::Procedure(int code, WPARAM wParam, LPARAM lParam) {
    // HC_ACTION: a keystroke taken from the queue (not one only looked at).
    if (code == HC_ACTION && current != nullptr && current->Take(wParam, lParam)) {
        return 1; // the window does not get it
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool KeystrokeHook::Take(WPARAM virtualKey, LPARAM keyData) {
    // The key data word: scan code in bits 16-23, extended-key flag in bit 24,
    // previous state in bit 30, transition (release) in bit 31.
    const int scanCode = static_cast<int>((keyData >> 16) & 0xFF);
    const bool extended = ((keyData >> 24) & 1) != 0;
    const bool wasDown = ((keyData >> 30) & 1) != 0;
    const bool release = ((keyData >> 31) & 1) != 0;
    const Keystroke keystroke{KeyNameOfMessage(scanCode, extended), static_cast<unsigned>(virtualKey),
                              release, wasDown && !release};
    HWND focus = GetFocus();
    const bool inWindow = focus != nullptr && GetAncestor(focus, GA_ROOT) == window_->handle();
    if (controller_->OnKeystroke(keystroke, inWindow)) {
        return true;
    }
    if (!inWindow || release) {
        return false;
    }
    if (const std::optional<NavigationKey> key = NavigationKeyPressed(static_cast<unsigned>(virtualKey));
        key && !(window_->editHasFocus() && EditKeeps(*key)) && controller_->OnNavigationKey(*key)) {
        return true;
    }
    if (virtualKey == VK_RETURN) {
        return controller_->OnKeyDown(kEnterKey);
    }
    if (virtualKey == VK_ESCAPE) {
        return controller_->OnKeyDown(kEscapeKey);
    }
    return false;
}

} // namespace quorvel
