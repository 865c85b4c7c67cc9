#include "win32/tray.h"

#include <shellapi.h>

#include <cwchar>

#include "app/main_window.h"
#include "ports/message_port.h"
#include "system/windows/wide_text.h"
#include "win32/shell_ports.h"

namespace quorvel {

namespace {

constexpr const wchar_t* kClassName = L"QRVL_TrayWindow";
constexpr UINT kIconId = 1;
constexpr UINT_PTR kAreaTimer = 1;

// Copies as much of `text` as fits, always terminated.
template <std::size_t N> void CopyInto(wchar_t (&field)[N], const std::wstring& text) {
    std::wcsncpy(field, text.c_str(), N - 1);
    field[N - 1] = L'\0';
}

} // namespace

Win32Tray::Win32Tray(Handlers handlers) : handlers_(std::move(handlers)) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &Win32Tray::Procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    ::RegisterClassExW(&windowClass); // fails harmlessly when it is registered already
    // Top-level (not message-only), so that it hears "TaskbarCreated"; never shown.
    window_ = ::CreateWindowExW(0, kClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, this);
    taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
}

Win32Tray::~Win32Tray() {
    removeIcon();
    if (window_ != nullptr) {
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        ::DestroyWindow(window_);
    }
}

HICON Win32Tray::ApplicationIcon(int size) {
    if (HANDLE icon = ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kApplicationIconId),
                                   IMAGE_ICON, size, size, LR_SHARED)) {
        return static_cast<HICON>(icon);
    }
    return ::LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
}

bool Win32Tray::available() const {
    return ::FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr;
}

NOTIFYICONDATAW Win32Tray::iconData(UINT flags) const {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = window_;
    data.uID = kIconId;
    data.uFlags = flags;
    data.uCallbackMessage = kIconMessage;
    data.hIcon = ApplicationIcon(::GetSystemMetrics(SM_CXSMICON));
    CopyInto(data.szTip, tip_);
    return data;
}

bool Win32Tray::addToArea() {
    NOTIFYICONDATAW data = iconData(NIF_MESSAGE | NIF_ICON | NIF_TIP);
    inArea_ = ::Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    return inArea_;
}

void Win32Tray::addIcon(std::string_view tip, const std::vector<TrayMenuItem>& menu) {
    if (added_ || !available()) {
        return;
    }
    ::KillTimer(window_, kAreaTimer);
    tip_ = WideFromUtf8(tip);
    menu_ = menu;
    added_ = true;
    addToArea();
}

void Win32Tray::setMenuItemChecked(int id, bool checked) {
    for (TrayMenuItem& item : menu_) {
        if (item.id == id) {
            item.checked = checked;
        }
    }
}

void Win32Tray::removeIcon() {
    // Only the icon goes: the window that may be handling its click or menu
    // stays until the tray itself goes.
    if (added_) {
        NOTIFYICONDATAW data = iconData(0);
        ::Shell_NotifyIconW(NIM_DELETE, &data);
        added_ = false;
        inArea_ = false;
    }
}

void Win32Tray::showBalloon(std::string_view text, std::string_view title, int timeoutMs) {
    if (inArea_) {
        NOTIFYICONDATAW data = iconData(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO);
        CopyInto(data.szInfo, WideFromUtf8(text));
        CopyInto(data.szInfoTitle, WideFromUtf8(title));
        data.uTimeout = static_cast<UINT>(timeoutMs);
        data.dwInfoFlags = NIIF_INFO;
        if (::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE) {
            ++balloonsShown_;
            return;
        }
    }
    // No icon to carry it: the window's title while it is shown, and
    // standard error.
    if (messageWindow_ != nullptr && ::IsWindowVisible(messageWindow_) != FALSE) {
        const std::wstring caption = WideFromUtf8(std::string(kApplicationTitle) + " - " + std::string(text));
        ::SetWindowTextW(messageWindow_, caption.c_str());
    }
    ConsoleMessages().showMessage(text, title);
}

void Win32Tray::watchForArea(std::function<void()> appeared, UINT periodMs) {
    areaAppeared_ = std::move(appeared);
    ::SetTimer(window_, kAreaTimer, periodMs, nullptr);
}

void Win32Tray::openMenu() {
    HMENU menu = ::CreatePopupMenu();
    if (menu == nullptr) {
        return;
    }
    for (const TrayMenuItem& item : menu_) {
        const UINT flags = MF_STRING | (item.checkable && item.checked ? MF_CHECKED : MF_UNCHECKED);
        ::AppendMenuW(menu, flags, kFirstMenuCommand + static_cast<UINT>(item.id),
                      WideFromUtf8(item.text).c_str());
    }
    POINT at{};
    ::GetCursorPos(&at);
    // The menu closes when the user clicks elsewhere only if its owner is in
    // front; the chosen item comes back as WM_COMMAND, after the menu is gone.
    ::SetForegroundWindow(window_);
    ::TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_BOTTOMALIGN, at.x, at.y, 0, window_, nullptr);
    ::PostMessageW(window_, WM_NULL, 0, 0);
    ::DestroyMenu(menu);
}

LRESULT Win32Tray::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kIconMessage) {
        switch (LOWORD(lParam)) {
        case WM_LBUTTONUP:
            handlers_.action(static_cast<int>(TrayAction::LeftUp));
            break;
        case WM_LBUTTONDBLCLK:
            handlers_.action(static_cast<int>(TrayAction::DoubleClick));
            break;
        case WM_RBUTTONUP:
            handlers_.action(static_cast<int>(TrayAction::RightUp));
            if (added_) {
                openMenu();
            }
            break;
        default:
            break;
        }
        return 0;
    }
    if (message == WM_COMMAND) {
        const UINT command = LOWORD(wParam);
        for (const TrayMenuItem& item : menu_) {
            if (command == kFirstMenuCommand + static_cast<UINT>(item.id)) {
                handlers_.menu(item.id);
                break;
            }
        }
        return 0;
    }
    if (message == WM_TIMER && wParam == kAreaTimer) {
        if (available()) {
            ::KillTimer(window_, kAreaTimer);
            if (areaAppeared_) {
                areaAppeared_();
            }
        }
        return 0;
    }
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        // Explorer started again: its notification area forgot the icon.
        if (added_) {
            addToArea();
        }
        return 0;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK Win32Tray::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* tray = reinterpret_cast<Win32Tray*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (tray == nullptr || tray->window_ == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    return tray->onMessage(message, wParam, lParam);
}

} // namespace quorvel
