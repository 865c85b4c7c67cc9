#include <gtest/gtest.h>

#include <optional>

#include "win32/keystroke_hook.h"
#include "win32_window_support.h"

namespace quorvel {
namespace {

using namespace quorvel::testing;

constexpr int kEditId = 70;

// A page that records the keystrokes it is given and takes them when told.
class KeyPage final : public PageContent {
public:
    std::vector<Keystroke> keys;
    std::vector<bool> inWindow;
    bool take = false;

    void draw() override {}
    void leave() override {}
    bool click(Point) override { return false; }
    std::vector<HoverControl> hoverControls() override { return {}; }
    bool keystroke(const Keystroke& key, bool in) override {
        keys.push_back(key);
        inWindow.push_back(in);
        return take;
    }
};

// Keys as the keyboard gives them: through the system's input queue, which
// the thread's keyboard hook watches (posted key messages pass it by).
void Type(WORD virtualKey, bool release = false) {
    keybd_event(static_cast<BYTE>(virtualKey), static_cast<BYTE>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)),
                release ? KEYEVENTF_KEYUP : 0, 0);
    Pump();
}

struct KeystrokeHookTest : Win32WindowHarness {
    KeyPage* page = nullptr;
    std::optional<KeystrokeHook> hook;

    void SetUp() override {
        auto owned = std::make_unique<KeyPage>();
        page = owned.get();
        Start(std::move(owned));
        hook.emplace(*main, window);
        ASSERT_TRUE(hook->installed());
        SetForegroundWindow(handle());
        SetFocus(handle());
        Pump();
        if (GetForegroundWindow() != handle()) {
            GTEST_SKIP() << "the display gives the window no keyboard";
        }
    }
};

TEST_F(KeystrokeHookTest, EachKeystrokeReachesTheControllerOnceUntilTheHookGoes) {
    Type('A');
    Type('A'); // held: the keyboard repeats it
    Type('A', true);
    ASSERT_EQ(page->keys.size(), 3u);
    EXPECT_EQ(page->keys[0].name, "A");
    EXPECT_EQ(page->keys[0].virtualKey, static_cast<unsigned>('A'));
    EXPECT_FALSE(page->keys[0].release);
    EXPECT_FALSE(page->keys[0].autoRepeat);
    EXPECT_TRUE(page->keys[1].autoRepeat);
    EXPECT_TRUE(page->keys[2].release);
    EXPECT_FALSE(page->keys[2].autoRepeat);
    EXPECT_EQ(page->inWindow, (std::vector<bool>{true, true, true}));

    hook.reset();
    Type('B');
    Type('B', true);
    EXPECT_EQ(page->keys.size(), 3u) << "no keystroke after the hook is removed";
}

TEST_F(KeystrokeHookTest, EscapeInTheWindowHidesIt) {
    Type(VK_ESCAPE);
    Type(VK_ESCAPE, true);
    EXPECT_FALSE(IsWindowVisible(handle()));
    ASSERT_FALSE(page->keys.empty());
    EXPECT_EQ(page->keys.front().name, "Esc") << "the key table's name, whatever the system calls the key";
}

TEST_F(KeystrokeHookTest, AKeystrokeTheControllerTakesNeverReachesTheWindow) {
    window.createEdit(kEditId, {10, 10, 200, 30}, "", EditKind::Text, TextAlign::Left);
    SetFocus(window.control(kEditId));
    page->take = true;
    Type('Q');
    Type('Q', true);
    EXPECT_EQ(window.controlText(kEditId), "");
    page->take = false;
    Type('Q');
    Type('Q', true);
    EXPECT_EQ(window.controlText(kEditId), "q");
    EXPECT_TRUE(IsWindowVisible(handle()));
}

// Space and the arrows type and move the caret in an edit; Tab leaves it
// for the window's next control, and the keys go to the window again.
TEST_F(KeystrokeHookTest, TabLeavesAnEditThatKeepsSpaceAndTheArrows) {
    window.createEdit(kEditId, {10, 10, 200, 30}, "ab", EditKind::Text, TextAlign::Left);
    HWND edit = window.control(kEditId);
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 2, 2);
    for (const WORD key : {VK_LEFT, VK_SPACE}) {
        Type(key);
        Type(key, true);
    }
    EXPECT_EQ(window.controlText(kEditId), "a b");
    EXPECT_EQ(main->focusedControl(), -1) << "no control of the window took them";

    Type(VK_TAB);
    Type(VK_TAB, true);
    EXPECT_NE(main->focusedControl(), -1);
    EXPECT_EQ(GetFocus(), handle());
    EXPECT_EQ(window.controlText(kEditId), "a b");
}

} // namespace
} // namespace quorvel
