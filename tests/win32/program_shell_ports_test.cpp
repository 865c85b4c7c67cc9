#include <gtest/gtest.h>
#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <thread>
#include <vector>

#include "app/main_window.h"
#include "program_support.h"
#include "win32/interface_thread.h"
#include "win32/shell_ports.h"
#include "win32/tray.h"

namespace quorvel {
namespace {

using testing::PumpUntil;

TEST(InterfaceThread, TasksFromOtherThreadsRunOnItInOrder) {
    InterfaceThread interfaceThread;
    const DWORD self = ::GetCurrentThreadId();
    std::vector<int> ran;
    std::vector<DWORD> threads;
    std::thread reader([&] {
        for (int i = 0; i < 50; ++i) {
            interfaceThread.post([&, i] {
                ran.push_back(i);
                threads.push_back(::GetCurrentThreadId());
            });
        }
    });
    reader.join();
    EXPECT_TRUE(ran.empty()) << "nothing runs until the thread takes its messages";
    ASSERT_TRUE(PumpUntil([&] { return ran.size() == 50; }));
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(ran[i], i);
        EXPECT_EQ(threads[i], self);
    }
}

// A task that opens a modal loop (a message box, a dialog) does not hold up
// the tasks behind it.
TEST(InterfaceThread, TasksWaitingBehindAModalLoopRunInsideIt) {
    InterfaceThread interfaceThread;
    std::vector<int> ran;
    interfaceThread.post([&] {
        ran.push_back(1);
        PumpUntil([&] { return ran.size() == 3; }, 2000); // stands in for a modal loop
        ran.push_back(4);
    });
    interfaceThread.post([&] { ran.push_back(2); });
    interfaceThread.post([&] { ran.push_back(3); });
    ASSERT_TRUE(PumpUntil([&] { return ran.size() == 4; }));
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3, 4}));
}

TEST(InterfaceThread, TasksLeftAtTheEndAreFreedUnrunAndLaterOnesDropped) {
    auto held = std::make_shared<int>(0);
    const std::weak_ptr<int> watch = held;
    InterfaceThread::Post poster;
    bool ran = false;
    {
        InterfaceThread interfaceThread;
        poster = interfaceThread.poster();
        interfaceThread.post([held = std::move(held), &ran] { ran = true; });
        EXPECT_EQ(interfaceThread.waiting(), 1u);
    }
    EXPECT_TRUE(watch.expired()) << "the waiting task was leaked";
    auto late = std::make_shared<int>(0);
    const std::weak_ptr<int> lateWatch = late;
    poster([late = std::move(late), &ran] { ran = true; });
    EXPECT_TRUE(lateWatch.expired());
    PumpUntil([] { return false; }, 100);
    EXPECT_FALSE(ran);
}

TEST(Win32Application, QuitStopsTheEventsFirstThenEndsTheLoopWithZero) {
    std::vector<std::string> steps;
    Win32Application application([&] { steps.push_back("events stopped"); });
    InterfaceThread interfaceThread;
    interfaceThread.post([&] {
        application.quit();
        steps.push_back("call returned");
    });
    EXPECT_EQ(RunUntilQuit(), 0);
    EXPECT_EQ(steps, (std::vector<std::string>{"events stopped", "call returned"}));
}

// The notification area of the session (Wine's explorer under Xvfb).
struct TrayTest : ::testing::Test {
    std::vector<int> actions;
    std::vector<int> chosen;
    std::function<void(int)> onMenu = [this](int index) { chosen.push_back(index); };
    Win32Tray tray{{[this](int action) { actions.push_back(action); }, [this](int index) { onMenu(index); }}};

    void SetUp() override {
        if (!PumpUntil([this] { return tray.available(); }, 10000)) {
            GTEST_SKIP() << "no notification area on this desktop";
        }
        tray.addIcon("Gaming mouse setting", {{1, "Start with the desktop", true, false}, {0, "Exit"}});
        ASSERT_TRUE(tray.hasIcon());
    }
    // The icon as the notification area knows it.
    NOTIFYICONDATAW icon() const {
        NOTIFYICONDATAW data{};
        data.cbSize = sizeof(data);
        data.hWnd = tray.handle();
        data.uID = 1;
        return data;
    }
    bool iconInArea() const {
        NOTIFYICONDATAW data = icon();
        data.uFlags = NIF_TIP;
        return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
    }
};

TEST_F(TrayTest, TheIconShowsBalloonsAndGoesAgain) {
    EXPECT_TRUE(iconInArea());
    tray.showBalloon("Switch to key matrix 1", "Info", 5000);
    EXPECT_EQ(tray.balloonsShown(), 1);
    tray.removeIcon();
    EXPECT_FALSE(tray.hasIcon());
    EXPECT_FALSE(iconInArea());
    tray.showBalloon("Switch to key matrix 2", "Info", 5000);
    EXPECT_EQ(tray.balloonsShown(), 1) << "no icon, no balloon";
}

TEST_F(TrayTest, ClicksOnTheIconReachTheController) {
    for (const UINT click : {WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_MOUSEMOVE, WM_LBUTTONDOWN}) {
        ::SendMessageW(tray.handle(), Win32Tray::kIconMessage, 1, click);
    }
    EXPECT_EQ(actions, (std::vector<int>{static_cast<int>(TrayAction::LeftUp),
                                         static_cast<int>(TrayAction::DoubleClick)}));
}

// The right click opens the menu; "Exit" chosen from it may take the icon
// away while its own command is being handled.
TEST_F(TrayTest, TheMenuOfTheRightClickReportsItsItemAndMayRemoveTheIcon) {
    onMenu = [this](int index) {
        chosen.push_back(index);
        tray.removeIcon();
    };
    // The menu's modal loop blocks this thread: the user acts from a timer
    // inside it, on the menu window, as the keyboard would.
    ::SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR timer, DWORD) {
        ::KillTimer(nullptr, timer);
        if (HWND menu = ::FindWindowW(L"#32768", nullptr)) {
            ::PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
            ::PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
            ::PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
        }
    });
    ::SendMessageW(tray.handle(), Win32Tray::kIconMessage, 1, WM_RBUTTONUP);
    ASSERT_TRUE(PumpUntil([this] { return !chosen.empty(); }, 3000));
    EXPECT_EQ(actions, (std::vector<int>{static_cast<int>(TrayAction::RightUp)}));
    EXPECT_EQ(chosen, (std::vector<int>{0})) << "Exit, the second item, keeps the id (and command) 0";
    EXPECT_FALSE(tray.hasIcon());
    EXPECT_FALSE(iconInArea());
}

// The check item shows the tick the controller last gave it, each time the
// menu opens; choosing it reports its id.
TEST_F(TrayTest, TheCheckItemShowsItsTick) {
    static std::vector<UINT> states; // of the first item, each time the menu was open
    states.clear();
    const auto lookAndChoose = [](HWND, UINT, UINT_PTR timer, DWORD) {
        ::KillTimer(nullptr, timer);
        if (HWND menu = ::FindWindowW(L"#32768", nullptr)) {
            const auto open = reinterpret_cast<HMENU>(::SendMessageW(menu, MN_GETHMENU, 0, 0));
            states.push_back(::GetMenuState(open, 0, MF_BYPOSITION) & MF_CHECKED);
            ::PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
            ::PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
        }
    };
    for (const bool checked : {true, false}) {
        tray.setMenuItemChecked(1, checked);
        const std::size_t before = chosen.size();
        ::SetTimer(nullptr, 0, 200, lookAndChoose);
        ::SendMessageW(tray.handle(), Win32Tray::kIconMessage, 1, WM_RBUTTONUP);
        ASSERT_TRUE(PumpUntil([&] { return chosen.size() == before + 1; }, 3000));
    }
    EXPECT_EQ(states, (std::vector<UINT>{MF_CHECKED, 0}));
    EXPECT_EQ(chosen, (std::vector<int>{1, 1}));
}

// A restarted taskbar has forgotten the icon; its broadcast brings it back.
TEST_F(TrayTest, TheIconComesBackWhenTheTaskbarRestarts) {
    NOTIFYICONDATAW data = icon();
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &data)); // as a taskbar that went away
    EXPECT_FALSE(iconInArea());
    ::SendMessageW(tray.handle(), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(iconInArea());
    tray.showBalloon("The system detect the gaming mouse.", "Info", 5000);
    EXPECT_EQ(tray.balloonsShown(), 1);
}

} // namespace
} // namespace quorvel
