#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ports/ui_port.h"

namespace quorvel {

// The program's icon resource, in the executable's resources.
inline constexpr int kApplicationIconId = 1;

// The icon in the notification area: its balloons, its menu and the
// taskbar's restarts. A hidden top-level window of its own takes the icon's
// messages, so that the broadcast of a restarted taskbar reaches it too.
class Win32Tray final : public TrayPort {
public:
    struct Handlers {
        std::function<void(int action)> action; // the icon's clicks (TrayAction)
        std::function<void(int id)> menu;       // the menu's item chosen
    };
    // The message the icon sends to the tray's window; the mouse message is
    // the last argument.
    static constexpr UINT kIconMessage = WM_USER + 1;
    // The command of the menu's item of id 0; the item of id n has the nth after it.
    static constexpr UINT kFirstMenuCommand = 1028;

    explicit Win32Tray(Handlers handlers);
    ~Win32Tray() override;
    Win32Tray(const Win32Tray&) = delete;
    Win32Tray& operator=(const Win32Tray&) = delete;

    // True while the taskbar (and its notification area) is there.
    bool available() const override;
    void addIcon(std::string_view tip, const std::vector<TrayMenuItem>& menu) override;
    void setMenuItemChecked(int id, bool checked) override;
    void removeIcon() override;
    void showBalloon(std::string_view text, std::string_view title, int timeoutMs) override;

    // Looks for a notification area every `periodMs` until one is there, then
    // calls `appeared` once.
    void watchForArea(std::function<void()> appeared, UINT periodMs = 1000);
    // The window whose title carries messages when there is no icon.
    void setMessageWindow(HWND window) { messageWindow_ = window; }

    bool hasIcon() const { return added_; }
    // The window that takes the icon's messages and the menu's commands.
    HWND handle() const { return window_; }
    // Balloons the notification area took since the start.
    int balloonsShown() const { return balloonsShown_; }

    // The program's icon at `size` pixels: the executable's own, else the
    // system's application icon. Shared; never destroyed.
    static HICON ApplicationIcon(int size);

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    NOTIFYICONDATAW iconData(UINT flags) const;
    bool addToArea();
    void openMenu();

    Handlers handlers_;
    HWND window_ = nullptr;
    HWND messageWindow_ = nullptr;
    UINT taskbarCreated_ = 0;
    std::wstring tip_;
    std::vector<TrayMenuItem> menu_;
    bool added_ = false;  // the program wants its icon shown
    bool inArea_ = false; // the notification area has it
    int balloonsShown_ = 0;
    std::function<void()> areaAppeared_;
};

} // namespace quorvel
