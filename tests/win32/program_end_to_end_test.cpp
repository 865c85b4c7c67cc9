#include <algorithm>

#include "app/basic_page_layout.h"
#include "app/main_window_layout.h"
#include "assign/function_list.h"
#include "config/config_file.h"
#include "program_support.h"
#include "system/windows/wide_text.h"
#include "system/windows/windows_pointer_settings.h"
#include "ui/dialog_layout.h"

namespace quorvel {
namespace {

using testing::PostClick;
using testing::PostClickOnEntry;
using testing::PostKey;
using testing::PumpUntil;
using testing::ShownDialog;
using testing::UserScript;

constexpr int kScanCodeA = 0x1E;
constexpr int kScanCodeB = 0x30;

struct ProgramTest : testing::ProgramOnSimulatedMouse {};

// The whole road, by window messages: a row of the Basic page, the "Combo
// Key" entry of its list, the dialog (Left Ctrl from its list, A and B
// typed into its edits), OK, then Apply.
TEST_F(ProgramTest, AComboKeyTypedInTheDialogReachesKeyMatrixOne) {
    const int row = 4; // button 3, slot 3 of the key matrix
    const ComboKeyDialogLayout& d = kComboKeyDialog;
    HWND dialog = nullptr;
    const auto control = [&dialog](int id) { return ::GetDlgItem(dialog, id); };
    UserScript user({
        [&] { return (dialog = ShownDialog()) != nullptr; },
        [&] {
            PostClick(dialog, testing::Inside(d.modifier.clickArea, ratio()));
            return true;
        },
        [&] {
            if (control(d.modifier.list.id) == nullptr) {
                return false;
            }
            PostClickOnEntry(control(d.modifier.list.id), 0);
            return true;
        },
        [&] {
            PostClick(control(d.firstKey.id), MAKELPARAM(4, 4));
            return true;
        },
        [&] {
            PostKey(::GetFocus(), 'A', kScanCodeA);
            return true;
        },
        [&] {
            PostClick(control(d.secondKey.id), MAKELPARAM(4, 4));
            return true;
        },
        [&] {
            PostKey(::GetFocus(), 'B', kScanCodeB);
            return true;
        },
        [&] {
            PostClick(dialog, testing::Inside(kDialogSkeleton.ok.rect, ratio()));
            return true;
        },
    });
    click(kBasicPage.rowBox(row));
    ASSERT_TRUE(PumpUntil([&] { return program->window().control(kBasicPage.rowList(row).id) != nullptr; }));
    PostClickOnEntry(program->window().control(kBasicPage.rowList(row).id), kFnComboKey);

    MainWindow& main = program->controller();
    ASSERT_TRUE(PumpUntil([&] { return user.finished() && ShownDialog() == nullptr; }))
        << "the user got as far as step " << user.stepsDone();
    EXPECT_EQ(main.labels()[0][row - 1], "Combo Key-Left Ctrl+A+B");
    EXPECT_TRUE(messages.shown.empty());
    const auto apply =
        std::find_if(kDialogButtons.begin(), kDialogButtons.end(),
                     [](const CaptionButton& button) { return button.caption == TextId::kApply; });
    click(apply->rect);
    // Apply runs when the window takes the click; the mouse has the table after it.
    PumpUntil([&] { return mouse.keyMatrix(1)[14] != 0; });
    const KeyMatrix matrix = mouse.keyMatrix(1);
    EXPECT_EQ(std::vector<Byte>(matrix.begin() + 12, matrix.begin() + 16),
              (std::vector<Byte>{0x00, 0x01, 0x04, 0x05}));
}

// The program handing its pointer settings to Windows, with a config.bin
// that holds each of them; Windows' own settings are put back afterwards.
struct ProgramOnWindowsPointerTest : testing::ProgramOnSimulatedMouse {
    WindowsPointerSettings windows;
    SettingRead<bool> precision;
    SettingRead<int> speed, lines, doubleClick;

    void SetUp() override {
        precision = windows.pointerPrecision();
        speed = windows.mouseSpeed();
        lines = windows.wheelScrollLines();
        doubleClick = windows.doubleClickTime();
        DeviceConfig config = FactoryDeviceConfig();
        config.enhancePointerPrecision = 1;
        config.scrollOneScreen = 0;
        config.mouseSpeed = 10;      // speed 18
        config.wheelScrollLines = 7; // 7 lines
        config.doubleClickSpeed = 3; // 760 ms
        WindowsFileSystem files;
        ASSERT_FALSE(ConfigFile(files, data.folder / "config.bin", {}).SaveConfig(config));
        pointer = &windows;
        ProgramOnSimulatedMouse::SetUp();
    }
    void TearDown() override {
        ProgramOnSimulatedMouse::TearDown();
        windows.setPointerPrecision(precision.value);
        windows.setMouseSpeed(speed.value);
        windows.setWheelScrollLines(lines.value);
        windows.setDoubleClickTime(doubleClick.value);
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
};

// What Apply hands to Windows is in the user's profile, so that the next
// sign-in has it too.
TEST_F(ProgramOnWindowsPointerTest, ApplyLeavesThePointerSettingsInTheProfile) {
    const struct {
        const wchar_t* key;
        const wchar_t* name;
        const wchar_t* value;
    } cases[] = {
        {L"Control Panel\\Mouse", L"MouseSensitivity", L"18"},
        {L"Control Panel\\Mouse", L"MouseSpeed", L"1"},
        {L"Control Panel\\Desktop", L"WheelScrollLines", L"7"},
        {L"Control Panel\\Mouse", L"DoubleClickSpeed", L"760"},
    };
    ASSERT_NE(ProfileValue(cases[0].key, cases[0].name), cases[0].value) << "the profile has it already";
    const auto apply =
        std::find_if(kDialogButtons.begin(), kDialogButtons.end(),
                     [](const CaptionButton& button) { return button.caption == TextId::kApply; });
    click(apply->rect);
    PumpUntil([&] { return ProfileValue(L"Control Panel\\Mouse", L"DoubleClickSpeed") == L"760"; });
    for (const auto& c : cases) {
        EXPECT_EQ(ProfileValue(c.key, c.name), c.value) << Utf8FromWide(c.name);
    }
    EXPECT_TRUE(messages.shown.empty());
}

// The tray: the icon is there, the mouse's own key-configuration button
// shows a balloon (from the reader thread, through the interface thread),
// and "Exit" of the icon's menu ends the message loop with status 0.
TEST_F(ProgramTest, TheTrayIconShowsTheMousesBalloonsAndItsMenuEndsTheProgram) {
    Win32Tray& tray = program->tray();
    if (!tray.available()) {
        GTEST_SKIP() << "no notification area on this desktop";
    }
    ASSERT_TRUE(tray.hasIcon());
    const int before = tray.balloonsShown();
    mouse.sendEvent(8, 1); // key matrix 1
    EXPECT_TRUE(PumpUntil([&] { return tray.balloonsShown() == before + 1; }));

    UserScript user({[] {
        HWND menu = ::FindWindowW(L"#32768", nullptr);
        if (menu == nullptr || ::IsWindowVisible(menu) == FALSE) {
            return false;
        }
        // "Exit" is the fourth item, after "Start with the desktop",
        // "Export settings…" and "Import settings…".
        for (int item = 0; item < 4; ++item) {
            ::PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
        }
        ::PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
        return true;
    }});
    ::PostMessageW(tray.handle(), Win32Tray::kIconMessage, 1, WM_RBUTTONUP);
    // Should the menu never end the program, the loop still ends, with another status.
    const UINT_PTR patience =
        ::SetTimer(nullptr, 0, 15000, [](HWND, UINT, UINT_PTR, DWORD) { ::PostQuitMessage(99); });
    EXPECT_EQ(program->exec(), 0);
    ::KillTimer(nullptr, patience);
    EXPECT_TRUE(user.finished());
    EXPECT_FALSE(tray.hasIcon());
    EXPECT_TRUE(messages.shown.empty());
}

} // namespace
} // namespace quorvel
