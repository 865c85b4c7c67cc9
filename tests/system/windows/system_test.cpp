#include <gtest/gtest.h>

#include <windows.h>

#include "system/windows/mutex_instance.h"
#include "system/windows/system_info.h"
#include "system/windows/waitable_timer_clock.h"
#include "system/windows/windows_pointer_settings.h"

namespace quorvel {
namespace {

TEST(MutexInstance, OnlyTheFirstCopyRunsAndTheClaimEndsWithIt) {
    const std::wstring name = L"QRVL-Test-" + std::to_wstring(::GetCurrentProcessId());
    {
        MutexInstance first(name);
        ASSERT_TRUE(first.acquire());
        EXPECT_TRUE(first.acquire()) << "asking again keeps the claim";
        MutexInstance second(name);
        EXPECT_FALSE(second.acquire());
        MutexInstance other(name + L"-other");
        EXPECT_TRUE(other.acquire());
    }
    MutexInstance after(name);
    EXPECT_TRUE(after.acquire());
}

// The key-name function of a US layout, which is what a fresh session has.
TEST(KeyNames, ComeFromTheActiveLayoutByScanCode) {
    const struct {
        int scanCode;
        bool extended;
        const char* name;
    } cases[] = {{0x1E, false, "A"},     {0x1D, false, "Ctrl"}, {0x1D, true, "Right Ctrl"},
                 {0x4C, false, "Num 5"}, {0x01, false, "Esc"},  {0x1C, false, "Enter"},
                 {0x3B, false, "F1"},    {0x2A, false, "Shift"}};
    for (const auto& c : cases) {
        EXPECT_EQ(KeyNameFromScanCode(c.scanCode, c.extended), c.name) << c.scanCode;
    }
}

TEST(Language, IsAWindowsLanguageIdentifier) {
    const std::uint16_t id = SystemDefaultLangId();
    EXPECT_NE(id & 0x3FF, 0) << "a primary language is set";
}

TEST(WaitableTimerClock, APauseLastsAtLeastAsLongAsAsked) {
    WaitableTimerClock clock;
    for (const auto pause : {std::chrono::milliseconds(2), std::chrono::milliseconds(3)}) {
        const auto start = std::chrono::steady_clock::now();
        clock.sleep(pause);
        EXPECT_GE(std::chrono::steady_clock::now() - start, pause);
    }
    clock.sleep(std::chrono::milliseconds(0));
}

// Sets each setting and reads it back, then puts the session's values back.
TEST(WindowsPointerSettings, TakeAndGiveBackTheSessionsValues) {
    using Scope = PointerSettingsPort::Scope;
    WindowsPointerSettings settings;
    const auto acceleration = settings.acceleration();
    const auto speed = settings.speed();
    const auto lines = settings.wheelScrollLines();
    const int doubleClick = settings.doubleClickTime();
    ASSERT_TRUE(acceleration && speed && lines);

    const PointerSettingsPort::Acceleration precise{6, 10, 1};
    EXPECT_TRUE(settings.setAcceleration(precise, Scope::Session));
    EXPECT_EQ(settings.acceleration(), precise);
    EXPECT_TRUE(settings.setSpeed(20, Scope::Session));
    EXPECT_EQ(settings.speed(), 20) << "was " << *speed;
    EXPECT_TRUE(settings.setSpeed(3, Scope::Profile));
    EXPECT_EQ(settings.speed(), 3);
    EXPECT_TRUE(settings.setWheelScrollLines(PointerSettingsPort::kPageScroll, Scope::Session));
    EXPECT_EQ(settings.wheelScrollLines(), PointerSettingsPort::kPageScroll);
    EXPECT_TRUE(settings.setWheelScrollLines(7, Scope::Session));
    EXPECT_EQ(settings.wheelScrollLines(), 7);
    EXPECT_TRUE(settings.setDoubleClickTime(830, Scope::Profile));
    EXPECT_EQ(settings.doubleClickTime(), 830);

    settings.setAcceleration(*acceleration, Scope::Session);
    settings.setSpeed(*speed, Scope::Session);
    settings.setWheelScrollLines(*lines, Scope::Session);
    settings.setDoubleClickTime(doubleClick, Scope::Profile);
}

} // namespace
} // namespace quorvel
