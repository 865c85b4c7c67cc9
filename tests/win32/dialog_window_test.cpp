#include "accessible_support.h"
// After the system's COM headers (see accessible_support.h).
#include <gtest/gtest.h>

#include "app/dialog_faults.h"
#include "dialogs/fire_key_dialog.h"
#include "program_support.h"
#include "system/windows/wide_text.h"
#include "ui/dialog_layout.h"
#include "ui/skin_images.h"
#include "win32/dialog_window.h"
#include "win32/win32_assignment_dialogs.h"
#include "win32_window_support.h"

namespace quorvel {
namespace {

using namespace quorvel::testing;

constexpr int kLeftCtrl = 0x1D; // scan codes of a US keyboard
constexpr int kA = 0x1E;
constexpr int kB = 0x30;

Point Inside(Rect rect) {
    return {rect.left + 2, rect.top + 2};
}

HWND OpenDialog() {
    return FindWindowW(L"QuorvelDialog", nullptr);
}

// The parameter dialogs over a main window on screen, drawn from fake skin images.
struct DialogWindowTest : ::testing::Test {
    MemoryFileSystem files;
    FakeDecoder decoder{files};
    ImageCache images{files, decoder};
    RecordingMessages messages;
    Win32Window owner{L"QuorvelTestOwner"};
    Win32AssignmentDialogs dialogs{owner.handle(), [this] { return context(); },
                                   IniFile(files, "/record.ini")};

    DialogWindowTest() {
        AddFakeSkin(files, "/skin");
        for (const std::string_view background : {kComboKeyBackground, kFireKeyBackground}) {
            files.files["/skin" + std::string(background)] = "390 290 1";
        }
        owner.setClientSize(600, 400);
        SetWindowPos(owner.handle(), nullptr, 100, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        owner.show();
    }
    DialogContext context() {
        return {images,
                ShowDialogFaultsIn(messages),
                {"/skin", {}},
                Colour{10, 20, 30},
                Language::kEnglish,
                FontSpec{"Arial", 14, 400}};
    }
};

TEST_F(DialogWindowTest, TheComboKeyDialogNamesTheKeysPressedInItsEditsByScanCode) {
    WhenShown(OpenDialog, [](HWND dialog) {
        const ComboKeyDialogLayout& d = kComboKeyDialog;
        // The modifier from its list.
        LeftClick(dialog, Inside(d.modifier.clickArea));
        HWND list = GetDlgItem(dialog, d.modifier.list.id);
        ASSERT_NE(list, nullptr);
        ClickEntry(list, 0);
        // The keys, each pressed and released in its edit, which a click
        // gives the focus. Posted, as the keyboard's messages come: the
        // dialog's loop hears them before the edit does.
        for (const auto& [edit, scanCode] : {std::pair(d.firstKey.id, kA), std::pair(d.secondKey.id, kB)}) {
            HWND control = GetDlgItem(dialog, edit);
            PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
            PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
            PostMessageW(control, WM_KEYDOWN, 'A', KeyData(scanCode));
            PostMessageW(control, WM_KEYUP, 'A', KeyData(scanCode, true));
        }
        // Then a key while neither edit has the focus: no key of the combination.
        WhenShown(OpenDialog, [](HWND open) {
            SetFocus(open);
            PostMessageW(open, WM_KEYDOWN, VK_CONTROL, KeyData(kLeftCtrl));
            PostMessageW(open, WM_LBUTTONDOWN, MK_LBUTTON, At(open, Inside(kDialogSkeleton.ok.rect)));
        });
    });
    const std::optional<ComboKeyChoice> choice = dialogs.ChooseComboKey();
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->modifier, "Left Ctrl");
    EXPECT_EQ(choice->firstKey, "A");
    EXPECT_EQ(choice->secondKey, "B") << "Ctrl went to no edit";
}

// The Fire-key dialog reads its counts as the user types them and corrects
// the speed when the user leaves its box.
TEST_F(DialogWindowTest, TypedDigitsReachTheDialogAndLeavingABoxLetsItCorrectTheValue) {
    WhenShown(OpenDialog, [](HWND dialog) {
        const auto typeInto = [dialog](int id, const wchar_t* text) {
            HWND edit = GetDlgItem(dialog, id);
            PostMessageW(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
            PostMessageW(edit, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
            PostMessageW(edit, EM_SETSEL, 0, -1);
            for (const wchar_t* c = text; *c != L'\0'; ++c) {
                PostMessageW(edit, WM_CHAR, *c, 1);
            }
        };
        typeInto(kFireKeyDialog.speed.id, L"9x99"); // the letter is refused
        typeInto(kFireKeyDialog.times.id, L"3");
        WhenShown(OpenDialog, [](HWND open) {
            wchar_t speed[16] = {};
            GetWindowTextW(GetDlgItem(open, kFireKeyDialog.speed.id), speed, 16);
            EXPECT_STREQ(speed, L"5") << "999 is too slow: the fastest speed instead";
            PostMessageW(open, WM_LBUTTONDOWN, MK_LBUTTON, At(open, Inside(kDialogSkeleton.ok.rect)));
        });
    });
    const std::optional<FireKeyChoice> choice = dialogs.ChooseFireKey();
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->speed, kFastestFireSpeed);
    EXPECT_EQ(choice->times, 3);
}

// Keys alone through the Fire-key dialog, as a reader hears it: Tab goes
// into each edit, which keeps its caret keys, and on out of it to OK.
TEST_F(DialogWindowTest, TabGoesThroughTheEditsWithoutStayingAndSpacePressesOk) {
    constexpr int kTab = 0x0F, kLeft = 0x4B, kSpace = 0x39; // scan codes
    HWND dialog = nullptr;
    std::vector<std::string> heard; // the focus after each key
    const auto press = [&](UINT key, int scanCode) {
        PostKey(GetFocus(), key, scanCode);
        return true;
    };
    const auto hear = [&] {
        heard.push_back(FocusIn(dialog).name + (GetFocus() == dialog ? "" : " (child)"));
        return true;
    };
    UserScript user({
        [&] { return (dialog = OpenDialog()) != nullptr && IsWindowVisible(dialog); },
        [&] {
            const Accessible object = AccessibleOf(dialog);
            EXPECT_EQ(NameOf(*object, CHILDID_SELF), "Fire Key") << "the dialog's own title";
            return true;
        },
        [&, tabs = 0]() mutable {
            // From wherever the dialog starts, on to the speed.
            if (FocusIn(dialog).name == "Speed") {
                return true;
            }
            if (++tabs > 20) {
                ADD_FAILURE() << "Tab never reached the speed";
                return true;
            }
            return !press(VK_TAB, kTab);
        },
        hear,
        [&] { return press(VK_LEFT, kLeft); },
        hear,
        [&] { return press(VK_TAB, kTab); },
        hear,
        [&] { return press(VK_TAB, kTab); },
        hear,
        [&] { return press(VK_SPACE, kSpace); },
        [&] {
            // Should Space not have ended it, the test still does.
            if (IsWindowVisible(dialog)) {
                PostMessageW(dialog, WM_CLOSE, 0, 0);
            }
            return true;
        },
    });
    const std::optional<FireKeyChoice> choice = dialogs.ChooseFireKey();
    EXPECT_EQ(heard, (std::vector<std::string>{"Speed (child)", "Speed (child)", "Times (child)", "OK"}));
    EXPECT_TRUE(choice.has_value()) << "Space on OK";
}

struct EndCase {
    const char* how;
    std::function<void(HWND)> user;
    bool chosen;
};

TEST_F(DialogWindowTest, TheDialogEndsWithOkOrCancelAsTheUserEndsIt) {
    const auto key = [](WPARAM virtualKey, int scanCode) {
        return [=](HWND dialog) { PostMessageW(dialog, WM_KEYDOWN, virtualKey, KeyData(scanCode)); };
    };
    const EndCase cases[] = {
        {"OK", [](HWND dialog) { LeftClick(dialog, Inside(kDialogSkeleton.ok.rect)); }, true},
        {"Cancel", [](HWND dialog) { LeftClick(dialog, Inside(kDialogSkeleton.cancel.rect)); }, false},
        {"close button", [](HWND dialog) { LeftClick(dialog, Inside(kDialogSkeleton.close.rect)); }, false},
        {"WM_CLOSE", [](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); }, false},
        {"Enter", key(VK_RETURN, 0x1C), true},
        {"Escape", key(VK_ESCAPE, 0x01), false},
    };
    for (const EndCase& c : cases) {
        bool ownerDisabled = false;
        POINT at{};
        WhenShown(OpenDialog, [&](HWND dialog) {
            ownerDisabled = !IsWindowEnabled(owner.handle());
            RECT box{};
            GetWindowRect(dialog, &box);
            at = {box.left, box.top};
            c.user(dialog);
        });
        EXPECT_EQ(dialogs.ChooseFireKey().has_value(), c.chosen) << c.how;
        EXPECT_TRUE(ownerDisabled) << c.how;
        EXPECT_TRUE(IsWindowEnabled(owner.handle())) << c.how;
        POINT origin{0, 0};
        ClientToScreen(owner.handle(), &origin);
        EXPECT_EQ(at.x, origin.x) << c.how << ": at the owner's top-left corner";
        EXPECT_EQ(at.y, origin.y) << c.how;
        EXPECT_EQ(OpenDialog(), nullptr) << c.how << ": the window goes with the dialog";
    }
}

TEST_F(DialogWindowTest, EnterInADialogThatCapturesKeysIsAKeyNotOk) {
    WhenShown(OpenDialog, [](HWND dialog) {
        // The first key's edit has the focus as the dialog opens.
        HWND edit = GetDlgItem(dialog, kComboKeyDialog.firstKey.id);
        PostMessageW(edit, WM_KEYDOWN, VK_RETURN, KeyData(0x1C));
        // Once the key is handled, the dialog is still open with its name.
        WhenShown(OpenDialog, [edit](HWND open) {
            wchar_t text[32] = {};
            GetWindowTextW(edit, text, 32);
            EXPECT_EQ(Utf8FromWide(text), "Enter");
            PostMessageW(open, WM_CLOSE, 0, 0);
        });
    });
    EXPECT_EQ(dialogs.ChooseComboKey(), std::nullopt) << "closed by the user, not by Enter";
}

TEST_F(DialogWindowTest, AQuitWhileTheDialogRunsCancelsItAndReachesTheOuterLoop) {
    WhenShown(OpenDialog, [](HWND) { PostQuitMessage(7); });
    EXPECT_EQ(dialogs.ChooseFireKey(), std::nullopt);
    EXPECT_TRUE(IsWindowEnabled(owner.handle()));
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
}

TEST_F(DialogWindowTest, TheMessageLoopHandsOnUntilFinishedAndPassesAQuitOn) {
    bool finished = false;
    int seen = 0;
    PostMessageW(owner.handle(), WM_NULL, 0, 0);
    PostMessageW(owner.handle(), WM_APP, 0, 0);
    EXPECT_TRUE(RunMessageLoop([&] { return finished; },
                               [&](const MSG& message) {
                                   ++seen;
                                   finished = message.message == WM_APP;
                                   return finished;
                               }));
    EXPECT_EQ(seen, 2);

    PostQuitMessage(3);
    finished = false;
    EXPECT_FALSE(RunMessageLoop([&] { return finished; }, nullptr));
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 3u);
}

} // namespace
} // namespace quorvel
