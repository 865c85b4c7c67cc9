#include "accessible_support.h"
// After the system's COM headers (see accessible_support.h).
#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "win32/child_controls.h"
#include "win32/wic_image_decoder.h"
#include "win32/win32_window.h"
#include "win32_window_support.h"

namespace quorvel {
namespace {

using namespace quorvel::testing;

// Controls of every kind, and what was done to them.
struct FakeControls final : ControlSource {
    std::vector<Control> list;
    std::vector<std::pair<int, ControlAction>> acted;
    std::vector<Control> controls() override { return list; }
    bool act(int id, ControlAction action) override {
        acted.emplace_back(id, action);
        return true;
    }
};

Control Make(int id, ControlRole role, std::string name, Rect rect, ControlState state = {},
             std::string value = {}) {
    Control control = MakeControl(id, role, std::move(name), rect, std::move(value));
    control.state = state;
    return control;
}

struct AccessibleWindowTest : ::testing::Test {
    ComApartment com;
    Win32Window window{L"QuorvelAccessibleTestWindow"};
    FakeControls controls;
    int focused = -1;

    AccessibleWindowTest() {
        controls.list = {
            Make(10, ControlRole::Button, "OK", {700, 600, 760, 620}),
            Make(11, ControlRole::Toggle, "Enhance pointer precision", {20, 40, 40, 60}, {.checked = true}),
            Make(12, ControlRole::RadioButton, "Mode B", {100, 40, 160, 60}, {.checked = true}),
            Make(13, ControlRole::DropDown, "Button 3", {252, 200, 400, 220}, {}, "Combo Key"),
            Make(14, ControlRole::DropDown, "Button 4", {252, 230, 400, 250}, {.expanded = true}, "Forward"),
            Make(15, ControlRole::Slider, "DPI stage 2", {300, 300, 320, 400}, {.selected = true}, "1600"),
            Make(16, ControlRole::ListBox, "Macros", {20, 300, 200, 500}),
            Make(17, ControlRole::Edit, "Macro name", {20, 520, 200, 540}, {}, "Reload"),
            Make(18, ControlRole::Text, "Sensor", {20, 560, 200, 580}),
            Make(19, ControlRole::Button, "Apply", {780, 600, 840, 620}, {.disabled = true}),
        };
        window.setTitle("Quorvel settings");
        window.setClientSize(880, 640);
        window.accessibility().setContent({&controls, [this] { return focused; }, nullptr, false});
        window.show();
        SetFocus(window.handle());
        Pump();
    }
};

TEST_F(AccessibleWindowTest, TheControlsAreTheClientsChildrenWithTheirRolesNamesValuesAndStates) {
    const Accessible object = AccessibleOf(window.handle());
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(NameOf(*object, CHILDID_SELF), "Quorvel settings") << "the window's title";
    EXPECT_EQ(RoleOf(*object, CHILDID_SELF), ROLE_SYSTEM_CLIENT);
    ASSERT_EQ(ChildCount(*object), 10);
    focused = 13;
    const struct {
        const char* name;
        long role;
        long state;
        const char* value;
    } expected[] = {
        {"OK", ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_FOCUSABLE, ""},
        {"Enhance pointer precision", ROLE_SYSTEM_CHECKBUTTON, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_CHECKED,
         ""},
        {"Mode B", ROLE_SYSTEM_RADIOBUTTON, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_CHECKED, ""},
        {"Button 3", ROLE_SYSTEM_COMBOBOX,
         STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_COLLAPSED, "Combo Key"},
        {"Button 4", ROLE_SYSTEM_COMBOBOX, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_EXPANDED, "Forward"},
        {"DPI stage 2", ROLE_SYSTEM_SLIDER, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTED, "1600"},
        {"Macros", ROLE_SYSTEM_LIST, STATE_SYSTEM_FOCUSABLE, ""},
        {"Macro name", ROLE_SYSTEM_TEXT, STATE_SYSTEM_FOCUSABLE, "Reload"},
        {"Sensor", ROLE_SYSTEM_STATICTEXT, STATE_SYSTEM_READONLY, ""},
        {"Apply", ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_UNAVAILABLE, ""},
    };
    for (long child = 1; child <= 10; ++child) {
        const auto& e = expected[child - 1];
        EXPECT_EQ(NameOf(*object, child), e.name) << child;
        EXPECT_EQ(RoleOf(*object, child), e.role) << e.name;
        EXPECT_EQ(StateOf(*object, child), e.state) << e.name;
        EXPECT_EQ(ValueOf(*object, child), e.value) << e.name;
    }
    EXPECT_EQ(RoleOf(*object, 11), -1) << "no eleventh child";
}

TEST_F(AccessibleWindowTest, FocusLocationNavigationAndTheDefaultActionFollowTheControls) {
    const Accessible object = AccessibleOf(window.handle());
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(FocusOf(*object), CHILDID_SELF) << "no control focused: the window";
    focused = 15;
    EXPECT_EQ(FocusOf(*object), 6);

    // On screen, in device pixels.
    const double ratio = DpiRatio(window.handle());
    POINT origin{0, 0};
    ClientToScreen(window.handle(), &origin);
    long left = 0, top = 0, width = 0, height = 0;
    ASSERT_EQ(object->accLocation(&left, &top, &width, &height, Child(4)), S_OK);
    EXPECT_EQ(left, origin.x + std::lround(252 * ratio));
    EXPECT_EQ(top, origin.y + std::lround(200 * ratio));
    EXPECT_EQ(width, std::lround(148 * ratio));
    EXPECT_EQ(height, std::lround(20 * ratio));
    VARIANT at;
    ASSERT_EQ(object->accHitTest(left + 1, top + 1, &at), S_OK);
    EXPECT_EQ(at.lVal, 4);

    VARIANT to;
    ASSERT_EQ(object->accNavigate(NAVDIR_FIRSTCHILD, Child(CHILDID_SELF), &to), S_OK);
    EXPECT_EQ(to.lVal, 1);
    ASSERT_EQ(object->accNavigate(NAVDIR_NEXT, Child(4), &to), S_OK);
    EXPECT_EQ(to.lVal, 5);
    EXPECT_EQ(object->accNavigate(NAVDIR_NEXT, Child(10), &to), S_FALSE);

    // The press comes from the window's queue, after the reader's call.
    EXPECT_EQ(object->accDoDefaultAction(Child(4)), S_OK);
    EXPECT_TRUE(controls.acted.empty());
    Pump();
    EXPECT_EQ(controls.acted, (std::vector<std::pair<int, ControlAction>>{{13, ControlAction::Activate}}));
    EXPECT_NE(object->accDoDefaultAction(Child(9)), S_OK) << "a text has no action";
    EXPECT_NE(object->accDoDefaultAction(Child(11)), S_OK);
}

TEST_F(AccessibleWindowTest, AReaderThatOutlivesTheWindowsControlsFindsNone) {
    const Accessible object = AccessibleOf(window.handle());
    ASSERT_NE(object, nullptr);
    window.accessibility().setContent({});
    EXPECT_EQ(ChildCount(*object), 0);
    EXPECT_EQ(RoleOf(*object, 1), -1);
}

// What the window's controller tells of changes reaches readers as the
// system's events, by child.
TEST_F(AccessibleWindowTest, FocusValueAndReorderReachReadersAsEvents) {
    static std::vector<std::pair<DWORD, LONG>> heard;
    heard.clear();
    HWINEVENTHOOK hook = SetWinEventHook(
        EVENT_OBJECT_REORDER, EVENT_OBJECT_VALUECHANGE, nullptr,
        [](HWINEVENTHOOK, DWORD event, HWND, LONG object, LONG child, DWORD, DWORD) {
            if (object == OBJID_CLIENT && (event == EVENT_OBJECT_FOCUS || event == EVENT_OBJECT_VALUECHANGE ||
                                           event == EVENT_OBJECT_REORDER)) {
                heard.emplace_back(event, child);
            }
        },
        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    WindowAccessibility& port = window.accessibility();
    port.focusMoved(15);
    port.valueChanged(13);
    port.controlsChanged();
    port.valueChanged(99); // no such control: nothing
    Pump();
    UnhookWinEvent(hook);
    EXPECT_EQ(heard, (std::vector<std::pair<DWORD, LONG>>{{EVENT_OBJECT_FOCUS, 6},
                                                          {EVENT_OBJECT_VALUECHANGE, 4},
                                                          {EVENT_OBJECT_REORDER, CHILDID_SELF}}));
}

} // namespace
} // namespace quorvel
