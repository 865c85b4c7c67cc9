#include <gtest/gtest.h>

#include <deque>
#include <string_view>

#include "assign/button_assignment.h"
#include "assign/function_list.h"
#include "assign/key_matrices.h"

namespace quorvel {
namespace {

// Dialogs that answer with what the test scripted, or cancel when nothing
// was scripted; they count how often each was opened.
struct ScriptedDialogs : AssignmentDialogs {
    std::optional<ApplicationKeyChoice> application;
    std::optional<MediaKeyChoice> media;
    std::optional<FireKeyChoice> fire;
    std::optional<SingleKeyChoice> single;
    std::optional<ComboKeyChoice> combo;
    std::optional<MacroChoice> macro;
    int opened = 0;

    std::optional<ApplicationKeyChoice> ChooseApplicationKey() override { return ++opened, application; }
    std::optional<MediaKeyChoice> ChooseMediaKey() override { return ++opened, media; }
    std::optional<FireKeyChoice> ChooseFireKey() override { return ++opened, fire; }
    std::optional<SingleKeyChoice> ChooseSingleKey() override { return ++opened, single; }
    std::optional<ComboKeyChoice> ChooseComboKey() override { return ++opened, combo; }
    std::optional<MacroChoice> ChooseMacro() override { return ++opened, macro; }
};

struct AssignTest : ::testing::Test {
    DeviceConfig config = zeroDeviceConfig();
    ButtonLabels labels;
    ScriptedDialogs dialogs;
    ButtonAssignment model{config, labels, Language::kEnglish, dialogs};

    int function(int mode, int button) const { return config.buttonSet(mode).field(kFieldFunction, button); }
    const std::string& label(int mode, int button) const {
        return labels[static_cast<std::size_t>(mode)][static_cast<std::size_t>(button)];
    }
    ButtonFunctionWord word(int mode, int button) const { return ButtonWord(config, mode, button); }
};

TEST_F(AssignTest, EntriesWithoutParametersChangeOnlyTheShownMode) {
    const struct {
        int entry;
        const char* label;
    } cases[] = {{kFnLeftClick, "Left Click"}, {kFnRightClick, "Right Click"},
                 {kFnMidClick, "Mid Click"},   {kFnForward, "Forward"},
                 {kFnBackward, "Backward"},    {kFnTripleClick, "Triple-click"},
                 {kFnRgbOnOff, "RGB On/Off"},  {kFnKeyOff, "Key Off"}};
    for (const auto& row : cases) {
        config.modeA.field(kFieldFunction, 2) = kFnMidClick;
        labels[0][2] = "before";
        EXPECT_EQ(model.AssignButtonFunction(2, 1, row.entry), AssignOutcome::Assigned);
        EXPECT_EQ(function(1, 2), row.entry);
        EXPECT_EQ(label(1, 2), row.label);
        EXPECT_EQ(function(0, 2), kFnMidClick) << "the other mode stays";
        EXPECT_EQ(label(0, 2), "before");
    }
    EXPECT_EQ(dialogs.opened, 0);
}

TEST_F(AssignTest, NoSelectionAndDpiSwitchLeaveEverythingAlone) {
    const DeviceConfig before = config;
    EXPECT_EQ(model.AssignButtonFunction(0, 0, std::nullopt), AssignOutcome::Unchanged);
    EXPECT_EQ(model.AssignButtonFunction(0, 0, kFnDpiSwitch), AssignOutcome::Unchanged);
    EXPECT_EQ(config, before);
}

TEST_F(AssignTest, ParameterFunctionsStoreTheDialogsResultAndLabel) {
    dialogs.application = ApplicationKeyChoice{4, "Browser-Search"};
    dialogs.media = MediaKeyChoice{0, "Next"};
    dialogs.fire = FireKeyChoice{1, 10, 0, "B"};
    dialogs.single = SingleKeyChoice{"F5"};
    dialogs.macro = MacroChoice{2, 3, "Copy"};
    const struct {
        int entry;
        const char* label;
        ButtonFunctionWord word;
    } cases[] = {
        {kFnWindows, "Browser-Search", {0x03, 0x00, 0x21, 0x02}},
        {kFnMultimedia, "Multimedia-Next", {0x03, 0x00, 0xB5, 0x00}},
        {kFnFireKey, "Fire Key-B", {0x0A, 0x05, 10, 0}},
        {kFnSingleKey, "Single Key-F5", {0x00, 0x00, 0x3E, 0x00}},
        {kFnMacroKey, "Macro Key-Copy", {0x09, 0x02, 0x03, 0x00}},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(model.AssignButtonFunction(3, 0, row.entry), AssignOutcome::Assigned);
        EXPECT_EQ(label(0, 3), row.label);
        EXPECT_EQ(word(0, 3), row.word) << row.label;
    }
    EXPECT_EQ(config.modeA.field(kFieldApplicationPosition, 3), 4);
    EXPECT_EQ(config.modeA.field(kFieldFirePosition, 3), 1);
    EXPECT_EQ(config.modeA.field(kFieldMacroPosition, 3), 2);
    EXPECT_EQ(config.modeA.field(kFieldMacroRepeat, 3), 2);

    dialogs.application = ApplicationKeyChoice{0, "Multimedia Player"};
    model.AssignButtonFunction(3, 0, kFnWindows);
    EXPECT_EQ(word(0, 3), (ButtonFunctionWord{0x03, 0x00, 0x83, 0x01}));
}

TEST_F(AssignTest, ComboKeysJoinTheirNamedParts) {
    const struct {
        ComboKeyChoice combo;
        const char* label;
        ButtonFunctionWord word;
    } cases[] = {
        {{"Left Ctrl", "A", "B"}, "Combo Key-Left Ctrl+A+B", {0x00, 0x01, 0x04, 0x05}},
        {{"Left Ctrl", "A", ""}, "Combo Key-Left Ctrl+A", {0x00, 0x01, 0x04, 0x00}},
        {{"", "A", "B"}, "Combo Key-A+B", {0x00, 0x00, 0x04, 0x05}},
        {{"Right Win", "", ""}, "Combo Key-Right Win", {0x00, 0x80, 0x00, 0x00}},
        {{"", "", "B"}, "Combo Key-B", {0x00, 0x00, 0x00, 0x05}},
        {{"Left Ctrl", "Volume Up", "B"}, "Combo Key-Left Ctrl+B", {0x00, 0x01, 0x00, 0x05}},
    };
    for (const auto& row : cases) {
        dialogs.combo = row.combo;
        EXPECT_EQ(model.AssignButtonFunction(0, 0, kFnComboKey), AssignOutcome::Assigned);
        EXPECT_EQ(label(0, 0), row.label);
        EXPECT_EQ(word(0, 0), row.word) << row.label;
    }
}

TEST_F(AssignTest, CancelledDialogsChangeNothing) {
    config.modeA.field(kFieldFunction, 1) = kFnRightClick;
    labels[0][1] = "Right Click";
    const DeviceConfig before = config;
    for (int entry = kFnWindows; entry <= kFnMacroKey; ++entry) {
        EXPECT_EQ(model.AssignButtonFunction(1, 0, entry), AssignOutcome::Cancelled);
    }
    EXPECT_EQ(dialogs.opened, 6);
    EXPECT_EQ(config, before);
    EXPECT_EQ(label(0, 1), "Right Click");
}

TEST_F(AssignTest, ShiftRules) {
    // Shift for button 3 in Mode B: both modes.
    EXPECT_EQ(model.AssignButtonFunction(3, 1, kFnShift), AssignOutcome::Assigned);
    EXPECT_EQ(function(0, 3), kFnShift);
    EXPECT_EQ(function(1, 3), kFnShift);
    EXPECT_EQ(label(0, 3), "Shift");
    EXPECT_EQ(label(1, 3), "Shift");

    // A second Shift is refused in either mode.
    const DeviceConfig withShift = config;
    EXPECT_EQ(model.AssignButtonFunction(5, 0, kFnShift), AssignOutcome::Refused);
    EXPECT_EQ(model.AssignButtonFunction(5, 1, kFnShift), AssignOutcome::Refused);
    EXPECT_EQ(config, withShift);

    // Another entry for the Shift button: both modes.
    EXPECT_EQ(model.AssignButtonFunction(3, 0, kFnForward), AssignOutcome::Assigned);
    EXPECT_EQ(function(0, 3), kFnForward);
    EXPECT_EQ(function(1, 3), kFnForward);
    EXPECT_EQ(label(1, 3), "Forward");

    // Now Shift may go elsewhere; the DPI sub-list then changes only the shown mode.
    EXPECT_EQ(model.AssignButtonFunction(5, 0, kFnShift), AssignOutcome::Assigned);
    model.ChooseDpiSwitch(5, 0, kDpiLoop);
    EXPECT_EQ(function(0, 5), kFnDpiSwitch);
    EXPECT_EQ(label(0, 5), "DPI Loop");
    EXPECT_EQ(function(1, 5), kFnShift);
    EXPECT_EQ(label(1, 5), "Shift");
}

TEST_F(AssignTest, ShiftNeverTakesTheOtherModesLastLeftClick) {
    // Mode A: only button 0 clicks left. Mode B: buttons 0 and 1 do.
    config.modeA.field(kFieldFunction, 1) = kFnRightClick;
    for (int button = 2; button < kButtonCount; ++button) {
        config.modeA.field(kFieldFunction, button) = kFnKeyOff;
        config.modeB.field(kFieldFunction, button) = kFnKeyOff;
    }
    const DeviceConfig before = config;
    EXPECT_EQ(model.AssignButtonFunction(0, 1, kFnShift), AssignOutcome::RefusedLastLeftClick);
    EXPECT_EQ(config, before);
    // Where the other mode keeps a left button, Shift goes to both modes.
    config.modeA.field(kFieldFunction, 5) = kFnLeftClick;
    EXPECT_EQ(model.AssignButtonFunction(0, 1, kFnShift), AssignOutcome::Assigned);
    EXPECT_EQ(function(0, 0), kFnShift);
}

// A mode as twelve letters, button 0 first: L Left Click, R Right Click,
// D DPI Switch, S Shift, - Key Off.
void SetMode(ButtonSet& set, std::string_view buttons) {
    for (int b = 0; b < kButtonCount; ++b) {
        const char c = buttons.at(static_cast<std::size_t>(b));
        set.field(kFieldFunction, b) = c == 'L'   ? kFnLeftClick
                                       : c == 'R' ? kFnRightClick
                                       : c == 'D' ? kFnDpiSwitch
                                       : c == 'S' ? kFnShift
                                                  : kFnKeyOff;
    }
}

TEST_F(AssignTest, EachModeKeepsALeftClickAndOneShiftAtMost) {
    constexpr int kDpiSubList = -1; // the entry of a DPI sub-list choice ("DPI +")
    const struct {
        const char* what;
        const char* modeA;
        const char* modeB;
        int mode; // where the choice is made
        int button;
        int entry;
        AssignOutcome outcome;
        const char* modeAAfter; // nullptr: as before
        const char* modeBAfter;
    } cases[] = {
        {"the only Left Click", "LR----------", "LR----------", 0, 0, kFnRightClick,
         AssignOutcome::RefusedLastLeftClick, nullptr, nullptr},
        {"buttons 10 and 11 never reach the mouse", "LR--------LL", "LR----------", 0, 0, kFnRightClick,
         AssignOutcome::RefusedLastLeftClick, nullptr, nullptr},
        {"button 9 does", "LR-------L--", "LR----------", 0, 0, kFnRightClick, AssignOutcome::Assigned,
         "RR-------L--", nullptr},
        {"Left Click again", "LR----------", "LR----------", 0, 0, kFnLeftClick, AssignOutcome::Assigned,
         nullptr, nullptr},
        {"refused before the dialog asks", "-L----------", "LR----------", 0, 1, kFnSingleKey,
         AssignOutcome::RefusedLastLeftClick, nullptr, nullptr},
        {"the DPI sub-list", "-R--L-------", "LR----------", 0, 4, kDpiSubList,
         AssignOutcome::RefusedLastLeftClick, nullptr, nullptr},
        {"Shift on the shown mode's only Left Click", "LR----------", "LL----------", 0, 0, kFnShift,
         AssignOutcome::RefusedLastLeftClick, nullptr, nullptr},
        {"Shift on the other mode's only Left Click", "LL----------", "LR--------L-", 0, 0, kFnShift,
         AssignOutcome::RefusedLastLeftClick, nullptr, nullptr},
        {"the Shift button takes the other mode's only Left Click", "L--S--------", "R--L--------", 0, 3,
         kFnRightClick, AssignOutcome::RefusedLastLeftClick, nullptr, nullptr},
        {"... also through a dialog, before it asks", "L--S--------", "R--L--------", 0, 3, kFnSingleKey,
         AssignOutcome::RefusedLastLeftClick, nullptr, nullptr},
        {"... chosen in Mode B", "R--L--------", "L--S--------", 1, 3, kFnRightClick,
         AssignOutcome::RefusedLastLeftClick, nullptr, nullptr},
        {"... but not where the other mode keeps one", "L--S--------", "L--L--------", 0, 3, kFnRightClick,
         AssignOutcome::Assigned, "L--R--------", "L--R--------"},
        {"a mode without any Left Click is not locked", "RR----------", "RR----------", 0, 0, kFnKeyOff,
         AssignOutcome::Assigned, "-R----------", nullptr},
        {"a second Shift after a DPI sub-list choice", "L--D--------", "L--S--------", 0, 5, kFnShift,
         AssignOutcome::Refused, nullptr, nullptr},
        {"Shift back on that button", "L--D--------", "L--S--------", 0, 3, kFnShift, AssignOutcome::Assigned,
         "L--S--------", nullptr},
        {"Shift on button 9 counts", "L--------S--", "L-----------", 0, 2, kFnShift, AssignOutcome::Refused,
         nullptr, nullptr},
        {"Shift on button 10 does not", "L---------S-", "L-----------", 0, 2, kFnShift,
         AssignOutcome::Assigned, "L-S-------S-", "L-S---------"},
    };
    dialogs.single = SingleKeyChoice{"F5"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetMode(config.modeA, c.modeA);
        SetMode(config.modeB, c.modeB);
        DeviceConfig expected = config;
        SetMode(expected.modeA, c.modeAAfter != nullptr ? c.modeAAfter : c.modeA);
        SetMode(expected.modeB, c.modeBAfter != nullptr ? c.modeBAfter : c.modeB);
        dialogs.opened = 0;
        const AssignOutcome outcome = c.entry == kDpiSubList
                                          ? model.ChooseDpiSwitch(c.button, c.mode, kDpiUp)
                                          : model.AssignButtonFunction(c.button, c.mode, c.entry);
        EXPECT_EQ(outcome, c.outcome);
        EXPECT_EQ(config.modeA.fields, expected.modeA.fields);
        EXPECT_EQ(config.modeB.fields, expected.modeB.fields);
        if (outcome != AssignOutcome::Assigned) {
            EXPECT_EQ(dialogs.opened, 0);
        }
    }
}

// How the other mode's only Left Click comes to sit on the Shift button, and
// why it stays.
TEST_F(AssignTest, TheShiftButtonCannotTakeTheOtherModesLastLeftClick) {
    SetMode(config.modeA, "LR----------");
    SetMode(config.modeB, "LR----------");
    EXPECT_EQ(model.AssignButtonFunction(3, 0, kFnShift), AssignOutcome::Assigned);
    EXPECT_EQ(model.ChooseDpiSwitch(3, 1, kDpiUp), AssignOutcome::Assigned);
    EXPECT_EQ(model.AssignButtonFunction(3, 1, kFnLeftClick), AssignOutcome::Assigned);
    EXPECT_EQ(model.AssignButtonFunction(0, 1, kFnRightClick), AssignOutcome::Assigned);
    EXPECT_TRUE(model.HoldsLastLeftClick(3, 1));
    EXPECT_EQ(function(0, 3), kFnShift);

    EXPECT_EQ(model.AssignButtonFunction(3, 0, kFnRightClick), AssignOutcome::RefusedLastLeftClick);
    EXPECT_EQ(function(1, 3), kFnLeftClick);
    EXPECT_EQ(function(0, 3), kFnShift);
}

TEST_F(AssignTest, HoldsLastLeftClickCountsTheButtonsTheMouseReceives) {
    SetMode(config.modeA, "-L--------LL");
    SetMode(config.modeB, "-L-------L--");
    EXPECT_TRUE(model.HoldsLastLeftClick(1, 0));
    EXPECT_FALSE(model.HoldsLastLeftClick(10, 0)) << "never sent, never the last";
    EXPECT_FALSE(model.HoldsLastLeftClick(1, 1));
    EXPECT_FALSE(model.HoldsLastLeftClick(0, 0)) << "not a Left Click";
    EXPECT_FALSE(model.HoldsLastLeftClick(12, 0));
}

TEST_F(AssignTest, TheShiftButtonTakesParametersIntoBothModes) {
    model.AssignButtonFunction(2, 0, kFnShift);
    config.modeB.field(kFieldComboFirstKey, 2) = 0x2C; // an old parameter of Mode B
    dialogs.combo = ComboKeyChoice{"Left Shift", "Z", ""};
    EXPECT_EQ(model.AssignButtonFunction(2, 0, kFnComboKey), AssignOutcome::Assigned);
    EXPECT_EQ(word(0, 2), (ButtonFunctionWord{0x00, 0x02, 0x1D, 0x00}));
    EXPECT_EQ(word(1, 2), word(0, 2)) << "both modes send what the label says";
    EXPECT_EQ(label(1, 2), "Combo Key-Left Shift+Z");
}

TEST_F(AssignTest, ChineseLabelsUseChinesePrefixes) {
    ButtonAssignment chinese(config, labels, Language::kSimplifiedChinese, dialogs);
    dialogs.single = SingleKeyChoice{"F5"};
    chinese.AssignButtonFunction(0, 0, kFnSingleKey);
    EXPECT_EQ(label(0, 0), "单键-F5");
    chinese.AssignButtonFunction(1, 0, kFnLeftClick);
    EXPECT_EQ(label(0, 1), "左键");
    dialogs.combo = ComboKeyChoice{"Left Ctrl", "A", ""};
    ButtonAssignment traditional(config, labels, Language::kTraditionalChinese, dialogs);
    traditional.AssignButtonFunction(2, 1, kFnComboKey);
    EXPECT_EQ(label(1, 2), "複合鍵-Left Ctrl+A");
}

TEST_F(AssignTest, DefaultResetsButtonsZeroToEightOnly) {
    for (int mode = 0; mode < 2; ++mode) {
        for (int button = 0; button < kButtonCount; ++button) {
            config.buttonSet(mode).field(kFieldFunction, button) = kFnRgbOnOff;
            config.buttonSet(mode).field(kFieldSingleKey, button) = 0x2C;
            labels[static_cast<std::size_t>(mode)][static_cast<std::size_t>(button)] = "x";
        }
    }
    config.selectedButtonSet = 1;
    config.reportRate = 4;
    model.SetDefaults();
    const char* expected[] = {"Left Click", "Right Click", "Mid Click",    "Forward", "Backward",
                              "DPI +",      "DPI -",       "Triple-click", "Key Off"};
    for (int mode = 0; mode < 2; ++mode) {
        for (int button = 0; button < 9; ++button) {
            EXPECT_EQ(label(mode, button), expected[button]);
        }
        EXPECT_EQ(function(mode, 5), kFnDpiSwitch);
        EXPECT_EQ(config.dpiSwitchChoice(mode)[5], kDpiUp);
        EXPECT_EQ(config.dpiSwitchChoice(mode)[6], kDpiDown);
        EXPECT_EQ(function(mode, 8), kFnKeyOff);
        for (int button = 9; button < 12; ++button) {
            EXPECT_EQ(function(mode, button), kFnRgbOnOff);
            EXPECT_EQ(label(mode, button), "x");
        }
        EXPECT_EQ(config.buttonSet(mode).field(kFieldSingleKey, 0), 0x2C) << "parameters stay";
    }
    EXPECT_EQ(config.selectedButtonSet, 1);
    EXPECT_EQ(config.reportRate, 4);
}

TEST(DefaultLabels, FollowTheLanguageButDpiTextsAreFixed) {
    EXPECT_EQ(DefaultLabel(Language::kSimplifiedChinese, 0), "左键");
    EXPECT_EQ(DefaultLabel(Language::kSimplifiedChinese, 5), "DPI +");
    EXPECT_EQ(DefaultLabel(Language::kTraditionalChinese, 6), "DPI -");
    EXPECT_EQ(DefaultLabel(Language::kEnglish, 9), "");
}

} // namespace
} // namespace quorvel
