#include <gtest/gtest.h>

#include "app/advanced_page_layout.h"
#include "app/macro_panel.h"
#include "app/page_context.h"
#include "assign/function_list.h"
#include "macro/macro_editing.h"
#include "ports/message_port.h"
#include "support/memory_file_system.h"
#include "support/recording_ui.h"

namespace quorvel {
namespace {

const AdvancedPageLayout& A = kAdvancedPage;
const std::filesystem::path kRecordIni = "/d/record.ini";
using Lines = std::vector<std::string>;

// The window as the panel sees it: the fake window's lists and boxes, the
// message boxes as "title: text", a Delay-time dialog that answers `delay`.
class FakeContext final : public PageContext {
public:
    testing::FakeWindow fakeWindow;
    DeviceConfig config = zeroDeviceConfig();
    ButtonLabels buttonLabels;
    std::vector<std::string> messages;
    std::optional<DelayChoice> delay;
    int delayDialogs = 0;

    DeviceConfig& working() override { return config; }
    ButtonLabels& labels() override { return buttonLabels; }
    void saveLabels() override {}
    DataChange changeDataFiles() override { return {}; }
    Language language() const override { return Language::kEnglish; }
    WindowPort& window() override { return fakeWindow; }
    Colour textColour() const override { return {}; }
    bool drawImage(std::string_view, Point) override { return true; }
    bool drawImagePart(std::string_view, Rect) override { return true; }
    void drawButton(Rect, std::string_view, std::string_view) override {}
    void showWarning(std::string_view text) override { messages.push_back("Warning: " + std::string(text)); }
    void showMessage(std::string_view text) override {
        messages.push_back(std::string(kApplicationTitle) + ": " + std::string(text));
    }
    std::optional<DelayChoice> chooseDelay() override {
        ++delayDialogs;
        return delay;
    }
    Byte sensorType() const override { return 0; }
    void syncSensorInfo() override {}
    bool basicPageInitialised() const override { return true; }
    void setBasicPageInitialised() override {}
    bool firstRun() const override { return false; }
};

Keystroke Press(std::string name, bool repeat = false) {
    return {std::move(name), 0, false, repeat};
}
Keystroke Release(std::string name, bool repeat = false) {
    return {std::move(name), 0, true, repeat};
}

const char* kCopyExample = "[Copy]\n"
                           "ItemCount=7\n"
                           "Item0=Ctrl   Dn\n"
                           "Item1=50 ms\n"
                           "Item2=C   Dn\n"
                           "Item3=50 ms\n"
                           "Item4=C   Up\n"
                           "Item5=50 ms\n"
                           "Item6=Ctrl   Up\n";
const Lines kCopyLines{"Ctrl   Dn", "50 ms", "C   Dn", "50 ms", "C   Up", "50 ms", "Ctrl   Up"};

struct MacroPanelTest : ::testing::Test {
    testing::MemoryFileSystem files;
    FakeContext context;
    testing::FakeWindow& window = context.fakeWindow;
    std::unique_ptr<MacroPanel> panel;

    // The page is drawn on a record.ini that holds `text` (nothing: no file).
    void Open(std::optional<std::string> text) {
        if (text) {
            files.files[kRecordIni] = *text;
        }
        panel = std::make_unique<MacroPanel>(context, IniFile(files, kRecordIni));
        panel->draw();
    }
    const Lines& EventList() { return window.lists[A.eventList.id]; }
    std::string LoopBox() { return window.controls[A.loopTimesBox.id]; }
    void Type(const std::vector<Keystroke>& keys) {
        for (const Keystroke& key : keys) {
            panel->keystroke(key, true);
        }
    }
    void Name(std::string_view name) { panel->editChanged(A.macroNameBox.id, name); }
};

TEST_F(MacroPanelTest, LoadListsTheMacrosAndShowsTheFirstWithItsLoopCount) {
    context.config.macroSlots[0][0] = 1; // 258 loops
    context.config.macroSlots[0][1] = 2;
    Open(std::string(kCopyExample) + "[Paste]\nItemCount=1\nItem0=V   Dn\n");
    EXPECT_EQ(window.lists[A.macroList.id], (Lines{"Copy", "Paste"}));
    EXPECT_EQ(window.highlighted[A.macroList.id], 0);
    EXPECT_EQ(EventList(), kCopyLines);
    EXPECT_EQ(window.controls[A.macroNameBox.id], "Copy");
    EXPECT_EQ(LoopBox(), "258");

    panel->listChosen(A.macroList.id, 1);
    EXPECT_EQ(window.controls[A.macroNameBox.id], "Paste");
    EXPECT_EQ(EventList(), (Lines{"V   Dn"}));
    EXPECT_EQ(LoopBox(), "1") << "a slot holding 0 shows 1";
    EXPECT_EQ(context.config.macroSlots[1][1], 1) << "and stores it";
}

TEST_F(MacroPanelTest, RecordedCtrlCGivesTheSevenLinesAndConfirmWritesSectionAndSlot) {
    Open("[Copy]\nItemCount=1\nItem0=X   Dn\n");
    panel->click(A.startRecording.topLeft());
    EXPECT_EQ(context.messages, (Lines{"Quorvel Gaming Mouse: Start Recording"}));
    EXPECT_EQ(window.title, "Press Ctrl+Break key to stop recording");
    EXPECT_TRUE(EventList().empty());

    // Enter closed the message box: its release is not part of the macro.
    Type({Release("Enter"), Press("Ctrl"), Press("C"), Press("C", true), Release("C"), Release("Ctrl")});
    EXPECT_EQ(EventList(), kCopyLines);
    EXPECT_EQ(panel->selectedLine(), 6) << "the list follows the recording";

    panel->click(A.stopRecording.topLeft());
    EXPECT_FALSE(panel->recording());
    EXPECT_EQ(window.title, kApplicationTitle);
    panel->Confirm();
    EXPECT_EQ(files.files[kRecordIni], kCopyExample);
    const MacroSlot& slot = context.config.macroSlots[0];
    const std::vector<Byte> expected{0x00, 0x01, 0x05, 0xE0, 0x05, 0x06, 0x85, 0x06, 0x80, 0xE0, 0x00};
    EXPECT_EQ(std::vector<Byte>(slot.begin(), slot.begin() + 11), expected);
}

TEST_F(MacroPanelTest, AHeldKeyRecordsOnePressAndTypedKeysNeverReachTheWindow) {
    Open("[Hold]\nItemCount=0\n");
    panel->StartRecording();
    // X11 repeats a held key as release and press pairs, both marked.
    EXPECT_TRUE(panel->keystroke(Press("A"), true));
    for (int i = 0; i < 20; ++i) {
        EXPECT_FALSE(panel->keystroke(Release("A", true), true));
        EXPECT_TRUE(panel->keystroke(Press("A", true), true)) << "a press is kept from the window";
    }
    EXPECT_FALSE(panel->keystroke(Release("A"), true)) << "releases reach the window";
    EXPECT_FALSE(panel->keystroke(Press("Escape"), false)) << "other windows keep their keys";
    Type({Press("Break"), Release("Break"), Release("Escape")});
    EXPECT_EQ(EventList(), (Lines{"A   Dn", "50 ms", "A   Up", "50 ms", "Escape   Dn", "50 ms", "Break   Dn",
                                  "50 ms", "Break   Up", "50 ms", "Escape   Up"}))
        << "no key ends a recording";
    EXPECT_TRUE(panel->recording());

    panel->keystroke({"", 0xff13, false, false}, true);
    EXPECT_EQ(EventList().back(), "virtual-key code :ff13   Dn");
}

TEST_F(MacroPanelTest, RecordingMessagesAndWhatIsRecordedWithoutASelection) {
    Open(std::nullopt);
    panel->StopRecording();
    EXPECT_EQ(context.messages,
              (Lines{"Quorvel Gaming Mouse: Stop Recording",
                     "Warning: It doesn’t start recording, unnecessary to press Stop key!"}));
    context.messages.clear();
    panel->StartRecording();
    EXPECT_EQ(context.messages, (Lines{"Warning: Macro name is blank"}));
    EXPECT_FALSE(panel->recording());
    EXPECT_EQ(window.title, "");

    Open("[A]\nItemCount=1\nItem0=A   Dn\n[B]\nItemCount=0\n");
    panel->Delete(); // B is left, and nothing is selected
    panel->StartRecording();
    EXPECT_TRUE(panel->recording());
    Type({Press("Q"), Release("Q")});
    EXPECT_TRUE(EventList().empty());
}

TEST_F(MacroPanelTest, LeavingThePageStopsTheRecordingAndTakesTheControls) {
    Open("[M]\nItemCount=0\n");
    panel->StartRecording();
    panel->click(A.insertBox.topLeft());
    panel->leave();
    EXPECT_FALSE(panel->recording());
    EXPECT_EQ(window.title, kApplicationTitle);
    EXPECT_TRUE(window.lists.empty());
    EXPECT_TRUE(window.controls.empty());
}

TEST_F(MacroPanelTest, PauseEditByDoubleClick) {
    struct Case {
        int line;
        std::optional<DelayChoice> typed;
        std::string expected; // the line afterwards
        int dialogs;
    };
    const Case cases[] = {
        {1, DelayChoice{10000, "10000"}, "10000 ms", 1},
        {1, DelayChoice{50, "50"}, "50 ms", 1},
        {1, DelayChoice{1270, "1270"}, "1270 ms", 1},
        {1, DelayChoice{10001, "10001"}, "50 ms", 1},
        {1, DelayChoice{49, "49"}, "50 ms", 1},
        {1, DelayChoice{0, ""}, "50 ms", 1},
        {1, std::nullopt, "300 ms", 1},            // cancelled
        {0, DelayChoice{100, "100"}, "A   Dn", 0}, // an event line has no pause
    };
    for (const Case& c : cases) {
        Open("[M]\nItemCount=3\nItem0=A   Dn\nItem1=300 ms\nItem2=A   Up\n");
        context.delay = c.typed;
        context.delayDialogs = 0;
        panel->listDoubleClicked(A.eventList.id, c.line);
        EXPECT_EQ(EventList()[static_cast<std::size_t>(c.line)], c.expected) << c.line << " " << c.expected;
        EXPECT_EQ(context.delayDialogs, c.dialogs);
        EXPECT_EQ(EventList().size(), 3u);
        EXPECT_EQ(panel->selectedLine(), c.line);
    }
}

TEST_F(MacroPanelTest, InsertingMouseEvents) {
    struct Case {
        Lines before;
        std::optional<int> line;
        int item; // in the mouse-event list
        Lines after;
        std::optional<int> selected;
    };
    const Lines aUp{"A   Dn", "50 ms", "A   Up"};
    const Case cases[] = {
        {{}, std::nullopt, 0, {"L-Button   Dn", "50 ms", "L-Button   Up", "50 ms"}, std::nullopt},
        {{}, std::nullopt, 5, {"R-Button   Dn", "50 ms"}, std::nullopt},
        {aUp, std::nullopt, 0, aUp, std::nullopt}, // nothing selected in a list with lines
        {aUp, 2, 5, {"A   Dn", "50 ms", "A   Up", "50 ms", "R-Button   Dn"}, 4},
        {aUp, 0, 2, {"A   Dn", "50 ms", "M-Button   Dn", "50 ms", "M-Button   Up", "50 ms", "A   Up"}, 2},
        {aUp, 1, 1, {"A   Dn", "50 ms", "R-Button   Dn", "50 ms", "R-Button   Up", "50 ms", "A   Up"}, 2},
        {aUp, 1, 8, {"A   Dn", "50 ms", "M-Button   Up", "50 ms", "A   Up"}, 2},
    };
    for (const Case& c : cases) {
        std::string file = "[M]\nItemCount=" + std::to_string(c.before.size()) + "\n";
        for (std::size_t i = 0; i < c.before.size(); ++i) {
            file += "Item" + std::to_string(i) + "=" + c.before[i] + "\n";
        }
        Open(file);
        if (c.line) {
            panel->listPointer(A.eventList.id, *c.line, {}); // the pointer selects the line
        }
        panel->click(A.insertBox.topLeft());
        ASSERT_EQ(window.lists[A.mouseEventList.id].size(), 9u);
        panel->listChosen(A.mouseEventList.id, c.item);
        EXPECT_EQ(EventList(), c.after) << c.item;
        EXPECT_EQ(panel->selectedLine(), c.selected) << c.item;
        EXPECT_EQ(window.controls[A.insertBoxText().id], kMouseEvents[static_cast<std::size_t>(c.item)]);
        EXPECT_FALSE(window.listExists(A.mouseEventList.id));
    }
}

TEST_F(MacroPanelTest, InsertingIntoAnEmptyListNeedsASelectedMacro) {
    Open(std::nullopt);
    panel->ToggleMouseEventList();
    panel->listChosen(A.mouseEventList.id, 0);
    EXPECT_TRUE(EventList().empty());
    EXPECT_EQ(window.controls[A.insertBoxText().id], "L-Button Click");
}

TEST_F(MacroPanelTest, TheMouseEventListClosesOnTheInsertBoxOrAnyOtherClick) {
    Open("[M]\nItemCount=0\n");
    panel->click(A.insertBox.topLeft());
    EXPECT_TRUE(window.listExists(A.mouseEventList.id));
    panel->click(A.insertBox.topLeft());
    EXPECT_FALSE(window.listExists(A.mouseEventList.id));
    panel->click(A.insertBox.topLeft());
    EXPECT_FALSE(panel->click({300, 100})) << "the click goes on to the page";
    EXPECT_FALSE(window.listExists(A.mouseEventList.id));
}

TEST_F(MacroPanelTest, DeleteFromThePopUpMenuTakesOnlyTheLine) {
    Open("[M]\nItemCount=3\nItem0=A   Dn\nItem1=50 ms\nItem2=A   Up\n");
    panel->listPointer(A.eventList.id, 0, {});
    panel->listRightClicked(A.eventList.id, {600, 230});
    EXPECT_EQ(window.menusOpened, (std::vector<Lines>{{"Delete"}}));
    EXPECT_EQ(EventList(), (Lines{"A   Dn", "50 ms", "A   Up"})) << "the menu was closed";
    window.menuChoice = 0;
    panel->listRightClicked(A.eventList.id, {600, 230});
    EXPECT_EQ(EventList(), (Lines{"50 ms", "A   Up"}));
    EXPECT_EQ(panel->selectedLine(), std::nullopt);
    EXPECT_EQ(files.files[kRecordIni], "[M]\nItemCount=3\nItem0=A   Dn\nItem1=50 ms\nItem2=A   Up\n")
        << "the file waits for Confirm";
}

TEST_F(MacroPanelTest, LoopTimesBox) {
    struct Case {
        std::string typed;
        std::string shown;
        int stored;
    };
    const Case cases[] = {
        {"0", "1", 1},     {"", "1", 1},        {"7", "7", 7}, {"65535", "65535", 65535},
        {"65536", "1", 1}, {"258", "258", 258},
    };
    Open("[A]\nItemCount=0\n[B]\nItemCount=0\n");
    panel->listChosen(A.macroList.id, 1);
    for (const Case& c : cases) {
        panel->editChanged(A.loopTimesBox.id, c.typed);
        EXPECT_EQ(LoopBox(), c.shown) << c.typed;
        const MacroSlot& slot = context.config.macroSlots[1];
        EXPECT_EQ(slot[0] * 256 + slot[1], c.stored) << c.typed;
        EXPECT_EQ(context.config.macroSlots[0][1], 1) << "the first macro's count was set when it loaded";
    }
}

TEST_F(MacroPanelTest, NewRefusesWhatTheListOrTheFileCannotTake) {
    std::string twelve;
    for (int i = 1; i <= 12; ++i) {
        twelve += "[M" + std::to_string(i) + "]\nItemCount=0\n";
    }
    struct Case {
        std::string file;
        std::string name;
        std::string message;
    };
    const Case cases[] = {
        {"[Copy]\nItemCount=0\n", "", "Quorvel Gaming Mouse: Macro name is blank"},
        {"[Copy]\nItemCount=0\n", "   ", "Quorvel Gaming Mouse: Macro name is blank"},
        {"[Copy]\nItemCount=0\n", "COPY", "Quorvel Gaming Mouse: Macro name already exists"},
        {"[Copy]\nItemCount=0\n", " Paste",
         std::string(kApplicationTitle) + ": " +
             std::string(Text(Language::kEnglish, TextId::kMacroNameNotStorable))},
        {"[Copy]\nItemCount=0\n", "a]b",
         std::string(kApplicationTitle) + ": " +
             std::string(Text(Language::kEnglish, TextId::kMacroNameNotStorable))},
        {twelve, "M13", "Warning: Macro numbers up to 12."},
        // The list reads 255 characters of section names: "Cut" would be
        // saved past them and never listed.
        {"[" + std::string(252, 'x') + "]\nItemCount=0\n", "Cut",
         std::string(kApplicationTitle) + ": " +
             std::string(Text(Language::kEnglish, TextId::kMacroNamesTooLong))},
        {"[" + std::string(250, 'x') + "]\nItemCount=0\n", "Cut" + std::string(250, 'y'),
         std::string(kApplicationTitle) + ": " +
             std::string(Text(Language::kEnglish, TextId::kMacroNamesTooLong))},
        // A section the list already cannot show stands before where "Cut" would go.
        {"[" + std::string(200, 'x') + "]\n[" + std::string(60, 'y') + "]\n", "Cut",
         std::string(kApplicationTitle) + ": " +
             std::string(Text(Language::kEnglish, TextId::kMacroNamesTooLong))},
    };
    for (const Case& c : cases) {
        Open(c.file);
        const Lines names = window.lists[A.macroList.id];
        context.messages.clear();
        Name(c.name);
        panel->New();
        EXPECT_EQ(context.messages, Lines{c.message}) << c.name;
        EXPECT_EQ(window.lists[A.macroList.id], names);
    }
}

TEST_F(MacroPanelTest, NewAddsAndSelectsWithAnEmptyEventListAndLoopCountOne) {
    context.config.macroSlots[0][1] = 7;
    context.config.macroSlots[1].fill(0x77); // a macro deleted long ago
    Open(kCopyExample);
    EXPECT_EQ(LoopBox(), "7");
    Name("Paste");
    panel->New();
    EXPECT_EQ(window.lists[A.macroList.id], (Lines{"Copy", "Paste"}));
    EXPECT_EQ(window.highlighted[A.macroList.id], 1);
    EXPECT_TRUE(EventList().empty());
    EXPECT_EQ(LoopBox(), "1");
    MacroSlot paste{};
    paste[1] = 1;
    EXPECT_EQ(context.config.macroSlots[1], paste) << "what the box shows is what the slot holds";
    EXPECT_EQ(files.files[kRecordIni], std::string(kCopyExample) + "[Paste]\nItemCount=0\n")
        << "the macro has its place in the file at once";
}

TEST_F(MacroPanelTest, DeleteTurnsTheButtonsOfTheMacroOffAndMovesTheOthers) {
    for (const int b : {1, 2}) {
        context.config.modeA.field(kFieldFunction, b) = kFnMacroKey;
        context.config.modeA.field(kFieldMacroPosition, b) = static_cast<Byte>(b - 1);
        context.buttonLabels[0][static_cast<std::size_t>(b)] = b == 1 ? "Macro Key-Copy" : "Macro Key-Paste";
    }
    Open(std::string(kCopyExample) + "[Paste]\nItemCount=1\nItem0=V   Dn\n");
    panel->Delete();
    EXPECT_EQ(window.lists[A.macroList.id], (Lines{"Paste"}));
    EXPECT_EQ(context.config.modeA.field(kFieldFunction, 1), kFnKeyOff);
    EXPECT_EQ(context.buttonLabels[0][1], "Key Off");
    EXPECT_EQ(context.config.modeA.field(kFieldMacroPosition, 2), 0);
    EXPECT_EQ(context.buttonLabels[0][2], "Macro Key-Paste");
    EXPECT_EQ(context.config.macroSlots[0][3], 0x19) << "Paste fills the first slot";
    EXPECT_EQ(context.config.macroSlots[1], MacroSlot{});
}

// Both cores busy: Qt marks none of X11's release and press pairs of a held
// key, which carry one time each.
TEST_F(MacroPanelTest, AKeyHeldOnABusyX11RecordsOnePressAndOneRelease) {
    Open("[Hold]\nItemCount=0\n");
    panel->StartRecording();
    panel->keystroke({"A", 0, false, false, 5000}, true);
    for (std::uint32_t t = 5200; t < 6200; t += 33) {
        panel->keystroke({"A", 0, true, false, t}, true);
        panel->keystroke({"A", 0, false, false, t}, true);
    }
    panel->keystroke({"A", 0, true, false, 6210}, true);
    EXPECT_EQ(EventList(), (Lines{"A   Dn", "50 ms", "A   Up"}));
    EXPECT_EQ(panel->selectedLine(), 2);
}

// A recording appends its lines to the list: the list is not filled anew
// at every key, however long it grows.
TEST_F(MacroPanelTest, ALongRecordingPutsEachLineIntoTheListOnce) {
    Open("[Long]\nItemCount=0\n");
    panel->StartRecording();
    const int fills = window.listFills[A.eventList.id];
    const std::size_t put = window.entriesPut[A.eventList.id];
    for (int i = 0; i < 500; ++i) {
        const std::string key(1, static_cast<char>('A' + i % 26));
        Type({Press(key), Release(key)});
    }
    EXPECT_EQ(EventList().size(), 1999u);
    EXPECT_EQ(window.listFills[A.eventList.id], fills);
    EXPECT_EQ(window.entriesPut[A.eventList.id] - put, 1999u);
    EXPECT_EQ(panel->selectedLine(), 1998);
}

// An edit of a long macro (a pause typed anew, a mouse event put in, a line
// deleted) changes only its own lines of the list, never the whole list.
TEST_F(MacroPanelTest, EditingALongMacroPutsOnlyTheLinesChangedIntoTheList) {
    std::string ini = "[Long]\nItemCount=2000\n";
    Lines lines;
    for (int i = 0; i < 1000; ++i) {
        lines.push_back("A   Dn");
        lines.push_back("50 ms");
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        ini += "Item" + std::to_string(i) + "=" + lines[i] + "\n";
    }
    Open(ini);
    ASSERT_EQ(EventList(), lines);
    const int fills = window.listFills[A.eventList.id];
    const std::size_t put = window.entriesPut[A.eventList.id];

    context.delay = DelayChoice{200, "200"};
    panel->listDoubleClicked(A.eventList.id, 1001);
    lines[1001] = "200 ms";
    panel->listPointer(A.eventList.id, 1000, {});
    panel->InsertMouseEvent(0); // after an event line: a pause, a press, a pause, a release
    lines.insert(lines.begin() + 1001, {"50 ms", "L-Button   Dn", "50 ms", "L-Button   Up"});
    EXPECT_EQ(panel->selectedLine(), 1002);
    panel->listPointer(A.eventList.id, 3, {});
    window.menuChoice = 0;
    panel->listRightClicked(A.eventList.id, {600, 230});
    lines.erase(lines.begin() + 3);

    EXPECT_EQ(EventList(), lines);
    EXPECT_EQ(window.listFills[A.eventList.id], fills);
    EXPECT_EQ(window.entriesPut[A.eventList.id] - put, 1u + 4u);
}

TEST_F(MacroPanelTest, ConfirmTellsOnceWhatTheMouseCannotTake) {
    std::string thirteen;
    for (int i = 1; i <= 13; ++i) {
        thirteen += "[M" + std::to_string(i) + "]\nItemCount=0\n";
    }
    Open(thirteen);
    panel->Confirm();
    EXPECT_EQ(context.messages, Lines{"Warning: Only 12 macros fit in the mouse: 1 more were ignored"});

    // 70 presses and their pauses: the slot takes 63.
    context.messages.clear();
    Open("[Long]\nItemCount=0\n");
    for (int i = 0; i < 70; ++i) {
        panel->InsertMouseEvent(3); // "L-Button   Dn", "50 ms"
        panel->listPointer(A.eventList.id, static_cast<int>(EventList().size()) - 1, {});
    }
    panel->Confirm();
    EXPECT_EQ(context.messages, Lines{"Warning: Too long for the mouse, cut to fit its slot: “Long”"});
    panel->Confirm();
    EXPECT_EQ(context.messages.size(), 2u) << "each Confirm tells it";
}

} // namespace
} // namespace quorvel
