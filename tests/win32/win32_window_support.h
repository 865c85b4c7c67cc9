#pragma once

#include <windows.h>
// The system's headers name COM interfaces with a macro that the core's
// headers would take for a word of theirs.
#undef interface

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "app/basic_page.h"
#include "app/device_event_relay.h"
#include "app/factory_settings.h"
#include "app/main_window.h"
#include "hid/sim/simulated_mouse.h"
#include "support/basic_page_harness.h"
#include "support/memory_file_system.h"
#include "support/recording_ui.h"
#include "ui/skin_images.h"
#include "win32/win32_window.h"

namespace quorvel::testing {

// Hands the thread's waiting messages to their windows.
inline void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// A point of a window in layout pixels as the window's messages carry it.
inline LPARAM At(HWND window, Point point) {
    const double ratio = DpiRatio(window);
    return MAKELPARAM(static_cast<int>(point.x * ratio), static_cast<int>(point.y * ratio));
}

// A left click at a layout point of a window (press and release).
inline void LeftClick(HWND window, Point point) {
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(window, point));
    SendMessageW(window, WM_LBUTTONUP, 0, At(window, point));
}

// The middle of entry `index` of a list box, in its client pixels.
inline LPARAM EntryPoint(HWND list, int index) {
    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
}

inline void ClickEntry(HWND list, int index) {
    const LPARAM at = EntryPoint(list, index);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
}

// The key data word of a key message: the scan code in bits 16-23, the
// extended flag in bit 24, the previous state in bit 30, the transition in bit 31.
inline LPARAM KeyData(int scanCode, bool release = false, bool extended = false) {
    LPARAM data = 1 | (static_cast<LPARAM>(scanCode) << 16) | (extended ? LPARAM{1} << 24 : 0);
    if (release) {
        data |= (LPARAM{1} << 30) | (LPARAM{1} << 31);
    }
    return data;
}

// Runs `user` from inside the next modal loop of this thread (a dialog, a
// menu, the colour chooser) as soon as `find` finds its window; the modal
// run blocks the test, so the user acts from within it.
inline void WhenShown(std::function<HWND()> find, std::function<void(HWND)> user) {
    struct Pending {
        std::function<HWND()> find;
        std::function<void(HWND)> user;
        int ticks = 0;
    };
    static Pending pending;
    pending = {std::move(find), std::move(user), 0};
    SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR timer, DWORD) {
        HWND window = pending.find();
        if ((window == nullptr || !IsWindowVisible(window)) && ++pending.ticks < 300) {
            return;
        }
        KillTimer(nullptr, timer);
        // The user may wait for the next window in turn.
        const std::function<void(HWND)> user = std::move(pending.user);
        if (window != nullptr) {
            user(window);
        }
    });
}

// The skin's images as fake PNGs of the memory file system.
inline void AddFakeSkin(MemoryFileSystem& files, const std::string& skin) {
    int width = 1000;
    for (const std::string_view name : kSkinImageNames) {
        const bool background = name == kBasicPageBackground || name == kAdvancedPageBackground;
        files.files[skin + std::string(name)] = std::to_string(width) + (background ? " 640 0" : " 20 1");
        ++width;
    }
    files.files[skin + std::string(kMainBackground)] = "880 640 0";
}

// The main window on screen with its controller and the Basic page, on the
// simulated mouse, the memory file system and fake skin images.
struct Win32WindowHarness : ::testing::Test {
    MemoryFileSystem files;
    RecordingMessages messages;
    Win32Window window{L"QuorvelTestWindow"};
    FakeTray tray;
    FakeApplication application;
    FakeDecoder decoder{files};
    FakeInstance instance;
    FakeAutostart autostart;
    SimulatedMouse mouse;
    DeviceEventRelay relay{[](std::function<void()>) {}};
    DeviceController device{mouse, mouse.clock(), relay};
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> main;
    std::unique_ptr<PageContent> basic;

    Win32WindowHarness() {
        files.files["/d/config.bin"] = FactoryConfigBin();
        files.files["/d/str.ini"] = FactoryStrIni();
        AddFakeSkin(files, "/d/Skins/Default");
        device.setTransferTimeout(std::chrono::milliseconds(50));
    }
    ~Win32WindowHarness() override {
        window.setController(nullptr);
        relay.stop();
        device.CloseDeviceLink();
    }

    // Starts the program with `page` as the Basic page (the real one when
    // none is given) and opens the window from the tray.
    MainWindow& Start(std::unique_ptr<PageContent> page = nullptr) {
        main = std::make_unique<MainWindow>(
            MainWindowPorts{files, messages, window, tray, application, decoder, instance, autostart}, device,
            DataPathsIn("/d", "/d/quorvel"), 0x409);
        basic = page ? std::move(page) : std::make_unique<BasicPage>(*main, dialogs);
        main->setPages(basic.get(), nullptr);
        window.setController(main.get());
        relay.setTarget(*main);
        EXPECT_EQ(main->Start([] {}), MainWindow::StartResult::Running);
        main->OnTray(TrayAction::LeftUp);
        Pump();
        return *main;
    }
    HWND handle() const { return window.handle(); }
};

} // namespace quorvel::testing
