// The main window and its Basic page with the keys, and as screen readers
// see them: the controls in reading order, their names in the three
// interface languages, and the keys doing what clicks do.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/basic_page_layout.h"
#include "app/lighting_controls.h"
#include "app/main_window_layout.h"
#include "assign/function_list.h"
#include "support/basic_page_harness.h"

namespace quorvel {
namespace {

using Key = NavigationKey;
const BasicPageLayout& B = kBasicPage;

struct RecordingPort final : AccessibilityPort {
    std::vector<std::string> told;
    void controlsChanged() override { told.push_back("controls"); }
    void focusMoved(int id) override { told.push_back("focus " + std::to_string(id)); }
    void valueChanged(int id) override { told.push_back("value " + std::to_string(id)); }
};

struct KeyboardTest : testing::BasicPageHarness {
    std::optional<Control> Focused() {
        for (const Control& control : main->controls()) {
            if (control.id == main->focusedControl()) {
                return control;
            }
        }
        return std::nullopt;
    }
    // Tab until the focus is on the control named `name`; false when a
    // round of the window does not reach it.
    bool TabTo(const std::string& name) {
        for (int presses = 0; presses < 100; ++presses) {
            if (const auto focused = Focused(); focused && focused->name == name) {
                return true;
            }
            main->OnNavigationKey(Key::Tab);
        }
        return false;
    }
    void Press(std::initializer_list<Key> keys) {
        for (const Key key : keys) {
            main->OnNavigationKey(key);
        }
    }
    std::string Label(int row) { return main->labels()[0][static_cast<std::size_t>(row - 1)]; }
};

TEST_F(KeyboardTest, TheWindowsControlsComeInReadingOrderWithTheirRoles) {
    MainWindow& w = Start();
    std::vector<std::pair<std::string, ControlRole>> seen;
    for (const Control& control : w.controls()) {
        seen.emplace_back(control.name, control.role);
    }
    const std::vector<std::pair<std::string, ControlRole>> start{
        {"Skins", ControlRole::Button},
        {"Minimise", ControlRole::Button},
        {"Close", ControlRole::Button},
        {"Basic Settings", ControlRole::Button},
        {"Advanced Settings", ControlRole::Button},
        {Label(1), ControlRole::DropDown},
    };
    ASSERT_GT(seen.size(), start.size());
    EXPECT_EQ(std::vector(seen.begin(), seen.begin() + static_cast<std::ptrdiff_t>(start.size())), start);
    const std::vector<std::pair<std::string, ControlRole>> end{
        {"OK", ControlRole::Button}, {"Apply", ControlRole::Button}, {"Cancel", ControlRole::Button}};
    EXPECT_EQ(std::vector(seen.end() - 3, seen.end()), end);
    const auto at = [&](const std::string& name) {
        return std::find_if(seen.begin(), seen.end(), [&](const auto& c) { return c.first == name; }) - seen.begin();
    };
    // Down the key column, then the report rate, the DPI stages and the lighting.
    const std::vector<std::ptrdiff_t> order{at(Label(8)),   at("Mode A"),      at("Mode B"),
                                            at("Default"),  at("125 Hz"),      at("1000 Hz"),
                                            at("Use DPI stage 1"), at("DPI stage 1"), at("DPI stage 4"),
                                            at("Mode"),     at("Parameter"),   at("Loop colour 8"),
                                            at("Colour switch 1"), at("OK")};
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
    for (const Control& control : w.controls()) {
        if (control.name == "Mode A" || control.name == "Mode B") {
            EXPECT_EQ(control.role, ControlRole::RadioButton);
            EXPECT_EQ(control.state.checked, control.name == "Mode A");
        }
        if (control.name == "DPI stage 2") {
            EXPECT_EQ(control.role, ControlRole::Slider);
            EXPECT_EQ(control.step, w.working().dpiValueIndex[1]);
            EXPECT_EQ(control.steps, page->dpi().dpiCount());
        }
        if (control.name == Label(3)) {
            EXPECT_EQ(control.rect, B.rowBox(3)) << "a row is named by its function";
        }
    }
}

// The controls that show a picture and no text, in each interface language.
struct NamedControl {
    std::uint16_t langId;
    Rect rect;
    const char* name;
};

struct ControlNameTest : testing::BasicPageHarness, ::testing::WithParamInterface<NamedControl> {};

TEST_P(ControlNameTest, APictureOnlyControlIsNamedInTheInterfaceLanguage) {
    Start(DataPathsIn("/d", "/d/quorvel"), GetParam().langId);
    std::vector<std::string> names;
    for (const Control& control : main->controls()) {
        if (control.rect == GetParam().rect) {
            names.push_back(control.name);
        }
    }
    EXPECT_EQ(names, std::vector<std::string>{GetParam().name});
}

INSTANTIATE_TEST_SUITE_P(
    Languages, ControlNameTest,
    ::testing::Values(
        NamedControl{0x409, WindowButtonRect(WindowButtonId::Skins), "Skins"},
        NamedControl{0x804, WindowButtonRect(WindowButtonId::Skins), "皮肤"},
        NamedControl{0x404, WindowButtonRect(WindowButtonId::Skins), "皮膚"},
        NamedControl{0x409, WindowButtonRect(WindowButtonId::Minimise), "Minimise"},
        NamedControl{0x804, WindowButtonRect(WindowButtonId::Minimise), "最小化"},
        NamedControl{0x404, WindowButtonRect(WindowButtonId::Close), "關閉"},
        NamedControl{0x804, WindowButtonRect(WindowButtonId::Close), "关闭"},
        NamedControl{0x409, WindowButtonRect(WindowButtonId::AdvancedPage), "Advanced Settings"},
        NamedControl{0x804, WindowButtonRect(WindowButtonId::BasicPage), "基本设置"},
        NamedControl{0x404, WindowButtonRect(WindowButtonId::AdvancedPage), "高級設置"},
        NamedControl{0x409, kBasicPage.dpiStageTickBox(1), "Use DPI stage 2"},
        NamedControl{0x804, kBasicPage.dpiStageTickBox(1), "启用DPI档位2"},
        NamedControl{0x404, kBasicPage.dpiStageTickBox(3), "啟用DPI檔位4"},
        NamedControl{0x409, kBasicPage.dpiColourSwitch(0), "Colour switch 1"},
        NamedControl{0x804, kBasicPage.dpiColourSwitch(2), "颜色开关3"},
        NamedControl{0x404, kBasicPage.dpiColourSwitch(3), "顏色開關4"},
        NamedControl{0x409, kBasicPage.loopColourSwatch(2).rect, "Loop colour 3"},
        NamedControl{0x804, kBasicPage.loopColourTickBox(7), "启用循环颜色8"},
        NamedControl{0x404, kBasicPage.loopColourSwatch(0).rect, "迴圈顏色1"},
        NamedControl{0x804, kBasicPage.reportRateSegment(3), "1000 Hz"},
        NamedControl{0x404, kBasicPage.lightingModeField, "模式"}));

// Each kind of control with the keys, from the focus Tab brings to it: the
// working configuration changes as a click there changes it.
struct KeyCase {
    const char* control;
    std::vector<Key> keys;
    std::function<void(DeviceConfig&)> change;
};

struct KeysLikeClicksTest : testing::BasicPageHarness, ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeysLikeClicksTest, TheKeysChangeWhatAClickChanges) {
    Start();
    DeviceConfig expected = main->working();
    GetParam().change(expected);
    bool reached = false;
    for (int presses = 0; presses < 100 && !reached; ++presses) {
        main->OnNavigationKey(Key::Tab);
        for (const Control& control : main->controls()) {
            reached = reached || (control.id == main->focusedControl() && control.name == GetParam().control);
        }
    }
    ASSERT_TRUE(reached) << GetParam().control;
    for (const Key key : GetParam().keys) {
        EXPECT_TRUE(main->OnNavigationKey(key));
    }
    EXPECT_EQ(main->working(), expected);
    EXPECT_TRUE(window.lists.empty()) << "no list is left open";
}

INSTANTIATE_TEST_SUITE_P(
    Controls, KeysLikeClicksTest,
    ::testing::Values(
        KeyCase{"Mode A", {Key::Right}, [](DeviceConfig& c) { c.selectedButtonSet = 1; }},
        KeyCase{"Mode A", {Key::End}, [](DeviceConfig& c) { c.selectedButtonSet = 1; }},
        KeyCase{"1000 Hz", {Key::Right}, [](DeviceConfig& c) { c.reportRate = 8; }}, // wraps to 125 Hz
        KeyCase{"1000 Hz", {Key::Left, Key::Left}, [](DeviceConfig& c) { c.reportRate = 4; }},
        KeyCase{"Use DPI stage 4", {Key::Space}, [](DeviceConfig& c) { c.dpiStageEnabled[3] ^= 1; }},
        KeyCase{"DPI stage 2", {Key::Home, Key::Up, Key::Up}, [](DeviceConfig& c) { c.dpiValueIndex[1] = 2; }},
        KeyCase{"DPI stage 1", {Key::Home, Key::Left}, [](DeviceConfig& c) { c.dpiValueIndex[0] = 0; }},
        KeyCase{"Colour switch 2", {Key::Enter},
                [](DeviceConfig& c) { c.setDpiStageColourSwitch(0, 1, !c.dpiStageColourSwitch(0, 1)); }},
        KeyCase{"Use loop colour 1", {Key::Space}, [](DeviceConfig& c) { c.loopColourEnabled[0] ^= 1; }},
        KeyCase{"Mode", {Key::Space, Key::Down, Key::Down, Key::Enter},
                [](DeviceConfig& c) { c.lightingMode = 2; }},
        KeyCase{"Mode", {Key::Space, Key::End, Key::Escape}, [](DeviceConfig&) {}}));

TEST_F(KeyboardTest, ARowsListOpensMovesAndChoosesByKeys) {
    Start();
    ASSERT_TRUE(TabTo(Label(3)));
    Press({Key::Space});
    ASSERT_EQ(window.lists.count(B.rowList(3).id), 1u);
    EXPECT_TRUE(Focused()->state.expanded);
    Press({Key::Home});
    for (int i = 0; i < kFnTripleClick; ++i) {
        Press({Key::Down});
    }
    EXPECT_EQ(window.highlighted[B.rowList(3).id], kFnTripleClick);
    EXPECT_EQ(Focused()->value, "Triple-click") << "the open list reads out the entry the keys are on";
    Press({Key::Enter});
    EXPECT_EQ(Label(3), "Triple-click");
    EXPECT_EQ(window.lists.count(B.rowList(3).id), 0u);

    // "DPI Switch" opens its sub-list, whose entries the keys then move in.
    Press({Key::Space, Key::Home});
    for (int i = 0; i < kFnDpiSwitch; ++i) {
        Press({Key::Down});
    }
    Press({Key::Enter});
    ASSERT_EQ(window.lists.count(B.dpiSubListId), 1u);
    Press({Key::Down, Key::Down, Key::Enter}); // the second: DPI -
    EXPECT_EQ(Label(3), "DPI -");
    EXPECT_TRUE(window.lists.empty());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(KeyboardTest, EscapeClosesAnOpenListFirstAndEnterKeepsItsMeaningUntilTab) {
    MainWindow& w = Start();
    window.shown = true;
    Click(B.rowBox(2));
    ASSERT_EQ(window.lists.count(B.rowList(2).id), 1u);
    EXPECT_TRUE(w.OnNavigationKey(Key::Down)) << "Down moves in the list the pointer opened";
    EXPECT_EQ(window.highlighted[B.rowList(2).id], 0);
    EXPECT_TRUE(w.OnNavigationKey(Key::Escape));
    EXPECT_TRUE(window.lists.empty());
    EXPECT_TRUE(window.shown);
    EXPECT_FALSE(w.OnNavigationKey(Key::Escape)) << "with no list open it goes on to OnKeyDown, which hides";

    // Before Tab, Enter is not the keys' either: it hides the window as before.
    EXPECT_FALSE(w.OnNavigationKey(Key::Enter));
    EXPECT_FALSE(w.OnNavigationKey(Key::Space));
    EXPECT_EQ(w.focusedControl(), -1);
    EXPECT_TRUE(w.OnNavigationKey(Key::Tab));
    EXPECT_TRUE(w.OnNavigationKey(Key::Tab));
    EXPECT_TRUE(w.OnNavigationKey(Key::Tab)) << "the close button";
    EXPECT_TRUE(w.OnNavigationKey(Key::Tab));
    EXPECT_TRUE(w.OnNavigationKey(Key::Tab));
    EXPECT_TRUE(w.OnNavigationKey(Key::Enter)) << "the Advanced page button";
    EXPECT_EQ(w.currentPage(), Page::Advanced);
}

TEST_F(KeyboardTest, TheFocusRingIsDrawnInTheTextColourOrTheHighContrastHighlight) {
    MainWindow& w = Start();
    window.shown = true;
    const Colour text = w.textColour();
    const std::string fill = "fill " + std::to_string(text.red) + "," + std::to_string(text.green) + "," +
                             std::to_string(text.blue) + " in ";
    TakeOps();
    w.OnNavigationKey(Key::Tab);
    const Rect skins = WindowButtonRect(WindowButtonId::Skins);
    const auto ops = TakeOps();
    EXPECT_TRUE(Drew(ops, fill + std::to_string(skins.left - 2) + "," + std::to_string(skins.top - 2)));
    EXPECT_TRUE(Drew(ops, fill + std::to_string(skins.right) + "," + std::to_string(skins.top)));

    window.highContrast = Colour{1, 2, 3};
    w.OnNavigationKey(Key::Tab);
    const Rect minimise = WindowButtonRect(WindowButtonId::Minimise);
    EXPECT_TRUE(Drew(TakeOps(), "fill 1,2,3 in " + std::to_string(minimise.left - 2) + "," +
                                    std::to_string(minimise.top - 2)));

    // Drawn again with the page, and gone with the window.
    TakeOps();
    Redraw();
    EXPECT_EQ(window.picture.count("fill 1,2,3"), 4);
    TakeOps();
    w.OnNavigationKey(Key::Escape);
    w.OnKeyDown(kEscapeKey);
    EXPECT_EQ(w.focusedControl(), -1);
    EXPECT_EQ(window.picture.count("fill 1,2,3"), 0);
    EXPECT_FALSE(w.OnNavigationKey(Key::Enter)) << "the window came back as before Tab";
}

TEST_F(KeyboardTest, ScreenReadersHearOfFocusValuesAndPageChanges) {
    MainWindow& w = Start();
    window.shown = true;
    RecordingPort port;
    w.setAccessibility(&port);
    ASSERT_TRUE(TabTo("Mode A"));
    const int modeA = w.focusedControl();
    port.told.clear();
    w.OnNavigationKey(Key::Right);
    const int modeB = w.focusedControl();
    EXPECT_NE(modeB, modeA);
    for (const std::string& expected : {"focus " + std::to_string(modeB), "value " + std::to_string(modeA),
                                        "value " + std::to_string(modeB)}) {
        EXPECT_NE(std::find(port.told.begin(), port.told.end(), expected), port.told.end()) << expected;
    }
    port.told.clear();
    Click(B.rowBox(2)); // the pointer opens a list
    EXPECT_EQ(port.told, std::vector<std::string>{"controls"});
}

} // namespace
} // namespace quorvel
