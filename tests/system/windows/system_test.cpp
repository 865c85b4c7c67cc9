#include <gtest/gtest.h>

#include <vector>
#include <windows.h>

#include "assign/key_codes.h"
#include "system/windows/mutex_instance.h"
#include "system/windows/run_key_autostart.h"
#include "system/windows/system_info.h"
#include "system/windows/waitable_timer_clock.h"
#include "system/windows/wide_text.h"
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

// The user's Run value, as Windows reads it at login: there and not turned
// off by the Task Manager, the login starts the program.
TEST(RunKeyAutostart, TheUsersRunValueStartsTheProgramAtLogin) {
    const std::wstring name = L"Quorvel test " + std::to_wstring(::GetCurrentProcessId());
    const std::wstring command = L"\"C:\\Program Files\\Quorvel\\quorvel.exe\" --autostart";
    constexpr const wchar_t* kRun = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    constexpr const wchar_t* kApproved =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
    RunKeyAutostart autostart(name, command);
    EXPECT_FALSE(autostart.startsWithDesktop());

    ASSERT_EQ(autostart.setStartsWithDesktop(true), std::nullopt);
    EXPECT_TRUE(autostart.startsWithDesktop());
    wchar_t value[256]{};
    DWORD size = sizeof(value);
    ASSERT_EQ(::RegGetValueW(HKEY_CURRENT_USER, kRun, name.c_str(), RRF_RT_REG_SZ, nullptr, value, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(value), command);

    // Turned off in the Task Manager's startup list, the value starts nothing;
    // turned on here again, the Task Manager's "off" goes.
    const BYTE off[12] = {3};
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kApproved, name.c_str(), REG_BINARY, off, sizeof(off)),
              ERROR_SUCCESS);
    EXPECT_FALSE(autostart.startsWithDesktop());
    ASSERT_EQ(autostart.setStartsWithDesktop(true), std::nullopt);
    EXPECT_TRUE(autostart.startsWithDesktop());

    ASSERT_EQ(autostart.setStartsWithDesktop(false), std::nullopt);
    EXPECT_FALSE(autostart.startsWithDesktop());
    EXPECT_EQ(autostart.setStartsWithDesktop(false), std::nullopt) << "off again is no error";
}

// The system names keys by the active layout: a fresh session has a US one,
// but Wine with an X display takes the X server's names for some keys
// ("Control", "KP_Begin"). Whatever it says, the name a captured key is
// stored under is the key-name table's.
TEST(KeyNames, ComeFromTheActiveLayoutByScanCode) {
    const struct {
        int scanCode;
        bool extended;
        const char* name;
    } cases[] = {{0x1E, false, "A"},     {0x1D, false, "Ctrl"}, {0x1D, true, "Right Ctrl"},
                 {0x4C, false, "Num 5"}, {0x01, false, "Esc"},  {0x1C, false, "Enter"},
                 {0x3B, false, "F1"},    {0x2A, false, "Shift"}};
    for (const auto& c : cases) {
        const std::string system = KeyNameFromScanCode(c.scanCode, c.extended);
        EXPECT_FALSE(system.empty()) << c.scanCode;
        EXPECT_EQ(StorableKeyName(system, c.scanCode, c.extended), c.name) << c.scanCode << " " << system;
    }
    EXPECT_EQ(KeyNameFromScanCode(0x1E, false), "A");
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

// The session's pointer settings, put back when a test ends.
class WindowsPointerSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        precision_ = settings_.pointerPrecision();
        speed_ = settings_.mouseSpeed();
        lines_ = settings_.wheelScrollLines();
        doubleClick_ = settings_.doubleClickTime();
        ASSERT_EQ(precision_.status, SettingStatus::Done);
        ASSERT_EQ(speed_.status, SettingStatus::Done);
        ASSERT_EQ(lines_.status, SettingStatus::Done);
        ASSERT_EQ(doubleClick_.status, SettingStatus::Done);
    }
    void TearDown() override {
        settings_.setPointerPrecision(precision_.value);
        settings_.setMouseSpeed(speed_.value);
        settings_.setWheelScrollLines(lines_.value);
        settings_.setDoubleClickTime(doubleClick_.value);
    }

    // A value of the user's profile, under HKCU\Control Panel.
    static std::wstring ProfileValue(const wchar_t* key, const wchar_t* name) {
        wchar_t text[64] = {};
        DWORD size = sizeof text;
        if (::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, text, &size) !=
            ERROR_SUCCESS) {
            return L"(none)";
        }
        return text;
    }

    WindowsPointerSettings settings_;
    SettingRead<bool> precision_;
    SettingRead<int> speed_, lines_, doubleClick_;
};

TEST_F(WindowsPointerSettingsTest, WhatIsSetReadsBack) {
    for (const bool on : {true, false, true}) {
        EXPECT_EQ(settings_.setPointerPrecision(on), SettingStatus::Done);
        EXPECT_EQ(settings_.pointerPrecision().value, on);
    }
    int values[3] = {};
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETMOUSE, 0, values, 0));
    EXPECT_EQ((std::vector<int>{values[0], values[1], values[2]}), (std::vector<int>{6, 10, 1}))
        << "precision on is thresholds 6 and 10, acceleration 1";

    for (const int speed : {20, 1, 10}) {
        EXPECT_EQ(settings_.setMouseSpeed(speed), SettingStatus::Done);
        EXPECT_EQ(settings_.mouseSpeed().value, speed);
    }
    for (const int lines : {kWheelPageScroll, 0, 7}) {
        EXPECT_EQ(settings_.setWheelScrollLines(lines), SettingStatus::Done);
        EXPECT_EQ(settings_.wheelScrollLines().value, lines);
    }
    UINT raw = 0;
    settings_.setWheelScrollLines(kWheelPageScroll);
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &raw, 0));
    EXPECT_EQ(raw, WHEEL_PAGESCROLL);
    for (const int time : {830, 200}) {
        EXPECT_EQ(settings_.setDoubleClickTime(time), SettingStatus::Done);
        EXPECT_EQ(settings_.doubleClickTime().value, time);
    }
}

// What a sign-out keeps: each setting reaches the profile's registry values,
// as Control Panel's own pointer page leaves them.
TEST_F(WindowsPointerSettingsTest, EverySettingIsSavedToTheProfile) {
    constexpr const wchar_t* kMouse = L"Control Panel\\Mouse";
    constexpr const wchar_t* kDesktop = L"Control Panel\\Desktop";
    ASSERT_EQ(settings_.setMouseSpeed(speed_.value == 4 ? 17 : 4), SettingStatus::Done);
    ASSERT_EQ(settings_.setPointerPrecision(true), SettingStatus::Done);
    ASSERT_EQ(settings_.setWheelScrollLines(lines_.value == 7 ? 9 : 7), SettingStatus::Done);
    ASSERT_EQ(settings_.setDoubleClickTime(760), SettingStatus::Done);
    struct Case {
        const wchar_t* key;
        const wchar_t* name;
        std::wstring value;
    } cases[] = {
        {kMouse, L"MouseSensitivity", speed_.value == 4 ? L"17" : L"4"},
        {kMouse, L"MouseThreshold1", L"6"},
        {kMouse, L"MouseThreshold2", L"10"},
        {kMouse, L"MouseSpeed", L"1"},
        {kDesktop, L"WheelScrollLines", lines_.value == 7 ? L"9" : L"7"},
        {kMouse, L"DoubleClickSpeed", L"760"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ProfileValue(c.key, c.name), c.value) << Utf8FromWide(c.name);
    }
    ASSERT_EQ(settings_.setPointerPrecision(false), SettingStatus::Done);
    EXPECT_EQ(ProfileValue(kMouse, L"MouseSpeed"), L"0") << "precision off";
}

TEST_F(WindowsPointerSettingsTest, ValuesWindowsCannotHoldAreRefusedAndChangeNothing) {
    ASSERT_EQ(settings_.setMouseSpeed(9), SettingStatus::Done);
    ASSERT_EQ(settings_.setWheelScrollLines(5), SettingStatus::Done);
    for (const int speed : {0, 21, -1}) {
        EXPECT_EQ(settings_.setMouseSpeed(speed), SettingStatus::Failed) << speed;
    }
    EXPECT_EQ(settings_.setWheelScrollLines(-2), SettingStatus::Failed) << "no huge count by wrapping";
    EXPECT_EQ(settings_.setDoubleClickTime(-5), SettingStatus::Failed);
    EXPECT_EQ(settings_.mouseSpeed().value, 9);
    EXPECT_EQ(settings_.wheelScrollLines().value, 5);
}

} // namespace
} // namespace quorvel
