// The keyboard's way through a window's controls, on a small window of
// every kind of control, and what assistive technology is told.

#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/recording_ui.h"
#include "ui/focus_ring.h"
#include "ui/navigator.h"

namespace quorvel {
namespace {

using Key = NavigationKey;

// A window of controls that does what a real one does with each action, as
// far as a test can see: a radio group chooses, a slider steps, a list opens,
// highlights and chooses.
class FakeSource final : public ControlSource {
public:
    std::vector<Control> shown;
    std::vector<std::string> acted;
    int listHighlight = -1;
    bool listOpen = false;

    FakeSource() {
        const auto add = [this](int id, ControlRole role, const char* name, int group = 0) {
            shown.push_back(MakeControl(id, role, name, {id * 10, 0, id * 10 + 8, 8}));
            shown.back().group = group;
        };
        add(1, ControlRole::Button, "OK");
        add(2, ControlRole::Text, "a heading");
        add(3, ControlRole::RadioButton, "125 Hz", 7);
        add(4, ControlRole::RadioButton, "250 Hz", 7);
        add(5, ControlRole::RadioButton, "500 Hz", 7);
        add(6, ControlRole::Slider, "DPI");
        add(7, ControlRole::Button, "Delete");
        add(8, ControlRole::DropDown, "Row 1");
        add(9, ControlRole::Edit, "Name");
        shown[3].state.checked = true; // 250 Hz
        shown[6].state.disabled = true;
        shown[5].steps = 4;
    }
    Control& get(int id) {
        for (Control& control : shown) {
            if (control.id == id) {
                return control;
            }
        }
        throw std::out_of_range("no control");
    }

    std::vector<Control> controls() override {
        get(8).state.expanded = listOpen;
        get(8).value = listOpen && listHighlight >= 0 ? "entry " + std::to_string(listHighlight) : "";
        return shown;
    }
    bool act(int id, ControlAction action) override {
        acted.push_back(std::to_string(id) + ":" + std::to_string(static_cast<int>(action)));
        Control& control = get(id);
        if (control.role == ControlRole::RadioButton) {
            int at = id;
            if (action == ControlAction::Next) {
                at = id == 5 ? 3 : id + 1;
            } else if (action == ControlAction::Previous) {
                at = id == 3 ? 5 : id - 1;
            }
            for (int radio = 3; radio <= 5; ++radio) {
                get(radio).state.checked = radio == at;
            }
            return true;
        }
        if (control.role == ControlRole::Slider && action == ControlAction::Next) {
            ++control.step;
            return true;
        }
        if (control.role == ControlRole::DropDown) {
            if (action == ControlAction::Next) {
                ++listHighlight;
            } else if (action == ControlAction::Activate) {
                listOpen = !listOpen;
                listHighlight = -1;
            }
            return true;
        }
        return control.role == ControlRole::Button;
    }
    bool dismiss() override {
        const bool was = listOpen;
        listOpen = false;
        return was;
    }
};

struct RecordingPort final : AccessibilityPort {
    std::vector<std::string> told;
    void controlsChanged() override { told.push_back("controls"); }
    void focusMoved(int id) override { told.push_back("focus " + std::to_string(id)); }
    void valueChanged(int id) override { told.push_back("value " + std::to_string(id)); }
};

struct FocusCase {
    const char* what;
    std::vector<Key> keys;
    int focused;
};

struct NavigatorFocusTest : ::testing::TestWithParam<FocusCase> {};

// Stops: OK, the report rate group (at 250 Hz), the slider, the list, the edit;
// the heading and the disabled button are passed over.
TEST_P(NavigatorFocusTest, TheFocusLandsOnTheExpectedControl) {
    FakeSource source;
    Navigator navigator(source);
    for (const Key key : GetParam().keys) {
        navigator.OnKey(key);
    }
    EXPECT_EQ(navigator.focused(), GetParam().focused);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, NavigatorFocusTest,
    ::testing::Values(FocusCase{"no key yet", {}, -1}, FocusCase{"Tab starts at the first", {Key::Tab}, 1},
                      FocusCase{"Shift+Tab starts at the last", {Key::BackTab}, 9},
                      FocusCase{"a radio group is one stop, at its choice", {Key::Tab, Key::Tab}, 4},
                      FocusCase{"texts and disabled controls are passed", {Key::Tab, Key::Tab, Key::Tab}, 6},
                      FocusCase{"Tab wraps", {Key::BackTab, Key::Tab}, 1},
                      FocusCase{"Shift+Tab wraps", {Key::Tab, Key::BackTab}, 9},
                      FocusCase{"an arrow follows the group's choice", {Key::Tab, Key::Tab, Key::Right}, 5},
                      FocusCase{"and wraps in the group", {Key::Tab, Key::Tab, Key::Right, Key::Right}, 3},
                      FocusCase{"Tab leaves the group from any of its buttons",
                                {Key::Tab, Key::Tab, Key::Left, Key::Tab}, 6},
                      FocusCase{"the first arrow only shows the focus", {Key::Down}, 1}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& c : name) {
            c = std::isalnum(static_cast<unsigned char>(c)) != 0 ? c : '_';
        }
        return name;
    });

TEST(NavigatorTest, EnterAndEscapeStayTheWindowsUntilTabOrAnArrow) {
    FakeSource source;
    Navigator navigator(source);
    EXPECT_FALSE(navigator.OnKey(Key::Enter));
    EXPECT_FALSE(navigator.OnKey(Key::Space));
    EXPECT_FALSE(navigator.OnKey(Key::Escape));
    EXPECT_TRUE(source.acted.empty());
    navigator.OnKey(Key::Tab);
    EXPECT_TRUE(navigator.OnKey(Key::Enter)) << "now it presses OK";
    EXPECT_EQ(source.acted, (std::vector<std::string>{"1:0"}));
    EXPECT_FALSE(navigator.OnKey(Key::Escape)) << "with no list open, Escape is still the window's";
}

TEST(NavigatorTest, AnOpenListTakesTheKeysFirstAndEscapeClosesOnlyIt) {
    FakeSource source;
    Navigator navigator(source);
    navigator.OnKey(Key::Tab); // OK has the focus
    source.listOpen = true;    // the pointer opened the row's list
    EXPECT_TRUE(navigator.OnKey(Key::Down));
    EXPECT_TRUE(navigator.OnKey(Key::Down));
    EXPECT_EQ(source.listHighlight, 1) << "the arrows move in the open list";
    EXPECT_TRUE(navigator.OnKey(Key::Escape));
    EXPECT_FALSE(source.listOpen);
    EXPECT_EQ(navigator.focused(), 1) << "the focus stays where it was";
    EXPECT_FALSE(navigator.OnKey(Key::Escape)) << "the next Escape goes on to the window";
    EXPECT_EQ(source.acted, (std::vector<std::string>{"8:1", "8:1"})) << "OK was never pressed";
}

TEST(NavigatorTest, TabClosesTheOpenListItLeaves) {
    FakeSource source;
    Navigator navigator(source);
    navigator.OnKey(Key::BackTab);
    navigator.OnKey(Key::BackTab); // the row
    navigator.OnKey(Key::Space);
    ASSERT_TRUE(source.listOpen);
    navigator.OnKey(Key::Tab);
    EXPECT_FALSE(source.listOpen);
    EXPECT_EQ(navigator.focused(), 9);
}

TEST(NavigatorTest, AnEditKeepsItsTypingKeysAndOnlyTabLeavesIt) {
    FakeSource source;
    Navigator navigator(source);
    navigator.OnKey(Key::BackTab);
    ASSERT_EQ(navigator.focused(), 9);
    for (const Key key : {Key::Space, Key::Enter, Key::Left, Key::Right, Key::Home, Key::End}) {
        EXPECT_FALSE(navigator.OnKey(key)) << static_cast<int>(key);
    }
    EXPECT_TRUE(source.acted.empty());
    EXPECT_TRUE(navigator.OnKey(Key::Tab));
    EXPECT_EQ(navigator.focused(), 1);
}

TEST(NavigatorTest, AssistiveTechnologyHearsOfFocusValuesAndOpenedLists) {
    FakeSource source;
    RecordingPort port;
    Navigator navigator(source);
    navigator.setAccessibility(&port);
    navigator.OnKey(Key::Tab);
    navigator.OnKey(Key::Tab);
    navigator.OnKey(Key::Right); // 500 Hz chosen
    navigator.OnKey(Key::Tab);
    navigator.OnKey(Key::Right); // the slider steps
    navigator.OnKey(Key::Tab);
    navigator.OnKey(Key::Enter); // the list opens
    navigator.OnKey(Key::Down);  // its first entry
    EXPECT_EQ(port.told, (std::vector<std::string>{"focus 1", "focus 4", "focus 5", "value 4", "value 5",
                                                   "focus 6", "value 6", "focus 8", "controls", "value 8"}));
    port.told.clear();
    source.get(1).name = "Done"; // the pointer changed something
    navigator.Refresh();
    EXPECT_EQ(port.told, (std::vector<std::string>{"value 1"}));
}

// The ring around the focused control, taken away by painting what lies
// beneath: the underlay over its four sides, then the controls under them.
TEST(FocusRingTest, TheRingGoesWithoutTraceAndComesInItsColour) {
    testing::RecordingCanvas canvas;
    std::vector<std::string> beneath;
    FocusRing ring;
    ring.setUnderlay([&](Rect part) {
        beneath.push_back("underlay " + std::to_string(part.left) + "," + std::to_string(part.top) + " " +
                          std::to_string(part.width()) + "x" + std::to_string(part.height()));
    });
    ring.setRedrawWithin([&](Rect area) {
        beneath.push_back("controls in " + std::to_string(area.left) + "," + std::to_string(area.top));
    });
    const Colour text{200, 100, 0};
    EXPECT_TRUE(ring.show(canvas, Rect{10, 20, 30, 30}, text));
    EXPECT_EQ(canvas.ops, (std::vector<std::string>{"fill 200,100,0 in 8,18", "fill 200,100,0 in 8,30",
                                                    "fill 200,100,0 in 8,20", "fill 200,100,0 in 30,20"}));
    EXPECT_TRUE(beneath.empty());

    canvas.ops.clear();
    EXPECT_TRUE(ring.show(canvas, Rect{50, 20, 60, 30}, Colour{255, 255, 0}));
    EXPECT_EQ(beneath, (std::vector<std::string>{"underlay 8,18 24x2", "underlay 8,30 24x2", "underlay 8,20 2x10",
                                                 "underlay 30,20 2x10", "controls in 8,18"}));
    EXPECT_EQ(canvas.count("fill 255,255,0"), 4);

    beneath.clear();
    EXPECT_TRUE(ring.show(canvas, std::nullopt, text));
    EXPECT_EQ(beneath.size(), 5u) << "no focus: the ring goes";
    EXPECT_FALSE(ring.show(canvas, std::nullopt, text)) << "nothing to draw";
}

} // namespace
} // namespace quorvel
