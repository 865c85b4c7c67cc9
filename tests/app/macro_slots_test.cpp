// The macro panel in the main window on the simulated mouse: sequences of
// New, Confirm, Delete, recordings and loop counts, in any order, then Apply;
// every slot the mouse holds afterwards is checked byte for byte, and so are
// the buttons that play a macro.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <sstream>

#include "app/advanced_page.h"
#include "app/advanced_page_layout.h"
#include "app/macro_panel.h"
#include "app/main_window_layout.h"
#include "assign/function_list.h"
#include "assign/key_codes.h"
#include "macro/macro_library.h"
#include "macro/macro_table.h"
#include "support/basic_page_harness.h"

namespace quorvel {
namespace {

const AdvancedPageLayout& A = kAdvancedPage;
const std::filesystem::path kRecordIni = "/d/record.ini";

// A desktop without pointer settings: this test is about the macro half.
class NoPointerSettings final : public PointerSettingsPort {
public:
    SettingRead<bool> pointerPrecision() override { return {SettingStatus::NotOffered, false}; }
    SettingStatus setPointerPrecision(bool) override { return SettingStatus::NotOffered; }
    SettingRead<int> mouseSpeed() override { return {SettingStatus::NotOffered, 0}; }
    SettingStatus setMouseSpeed(int) override { return SettingStatus::NotOffered; }
    SettingRead<int> wheelScrollLines() override { return {SettingStatus::NotOffered, 0}; }
    SettingStatus setWheelScrollLines(int) override { return SettingStatus::NotOffered; }
    SettingRead<int> doubleClickTime() override { return {SettingStatus::NotOffered, 0}; }
    SettingStatus setDoubleClickTime(int) override { return SettingStatus::NotOffered; }
};

// What a slot should hold: the macro named by one letter, whose recording is
// that letter's key pressed and let go ("X   Dn", "50 ms", "X   Up"), or
// nothing recorded yet, and its loop count.
struct SlotHolds {
    std::string macro;
    int loop = 1;
    bool recorded = true;
};

MacroSlot Expected(const SlotHolds& holds) {
    MacroSlot slot{};
    slot[0] = static_cast<Byte>(holds.loop >> 8);
    slot[1] = static_cast<Byte>(holds.loop & 0xFF);
    if (holds.recorded) {
        const Byte code = KeyCodeFromName(holds.macro);
        slot[2] = 0x05; // a press, 50 ms before the next event
        slot[3] = code;
        slot[4] = 0x80; // the release, last
        slot[5] = code;
    }
    return slot;
}

std::string Hex(const MacroSlot& slot) {
    std::ostringstream text;
    for (std::size_t i = 0; i < 8; ++i) {
        text << std::hex << static_cast<int>(slot[i]) << ' ';
    }
    const bool restZero = std::all_of(slot.begin() + 8, slot.end(), [](Byte b) { return b == 0; });
    text << (restZero ? "0..." : "...");
    return text.str();
}

struct Sequence {
    const char* what;
    std::vector<std::string> steps;
    std::vector<SlotHolds> slots;            // slot 1 onwards; the others hold nothing at all
    std::map<int, std::string> buttons = {}; // Mode A button: the macro it plays, "" for Key Off
    std::string recordIni = {};              // record.ini before, and the loop counts of its slots
    std::vector<int> loops = {};
};

void PrintTo(const Sequence& sequence, std::ostream* out) {
    *out << sequence.what;
}

struct MacroSlotsTest : testing::BasicPageHarness, ::testing::WithParamInterface<Sequence> {
    NoPointerSettings desktop;
    std::unique_ptr<AdvancedPage> advanced;

    // The program on a config.bin whose macro table still holds bytes of
    // macros that record.ini no longer has (a file of the old program).
    void Open(const std::string& recordIni = {}, const std::vector<int>& loops = {}) {
        DeviceConfig config = FactoryDeviceConfig();
        for (MacroSlot& slot : config.macroSlots) {
            slot.fill(0x77);
        }
        for (std::size_t k = 0; k < loops.size(); ++k) {
            config.macroSlots[k][0] = 0;
            config.macroSlots[k][1] = static_cast<Byte>(loops[k]);
        }
        SetConfigBin(config, 1);
        if (!recordIni.empty()) {
            files.files[kRecordIni] = recordIni;
        }
        Start();
        advanced = std::make_unique<AdvancedPage>(*main, desktop, [this] {
            return std::make_unique<MacroPanel>(*main, IniFile(files, kRecordIni));
        });
        main->setPages(page.get(), advanced.get());
        Click(WindowButtonRect(WindowButtonId::AdvancedPage));
    }

    const std::vector<std::string>& MacroList() { return window.lists[A.macroList.id]; }
    std::optional<int> Position(const std::string& name) {
        const auto& list = MacroList();
        const auto at = std::find(list.begin(), list.end(), name);
        return at == list.end() ? std::nullopt : std::optional<int>(static_cast<int>(at - list.begin()));
    }

    // One step of a sequence:
    //   "new X"       the name X typed into the Macro Name box, then New
    //   "select X"    macro X chosen in the list
    //   "record X"    Start Recording, the key X pressed and let go, Stop Recording
    //   "loop N"      N typed into the Loop Times box
    //   "confirm"     Confirm
    //   "delete"      Delete (the selected macro)
    //   "button B X"  button B of Mode A given macro X, as the Macro dialog does
    //   "leave"       the Basic page and back: the panel is made anew
    //   "outside X N" another program (quorvelctl) adds macro X, recorded,
    //                 with loop count N, to record.ini and config.bin
    void Step(const std::string& step) {
        std::istringstream words(step);
        std::string verb, what, more;
        words >> verb >> what >> more;
        // The panel reads the file again when it next changes it.
        outsidePending_ = verb == "outside" || (outsidePending_ && verb != "new" && verb != "confirm" &&
                                                verb != "delete" && verb != "leave");
        if (verb == "outside") {
            const auto write = [&](const std::filesystem::path& path, const std::string& text) {
                files.writeAtomically(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
            };
            const std::size_t slot = ReadMacroNames(IniFile(files, kRecordIni)).names.size();
            std::string bin = files.files.at("/d/config.bin");
            const MacroSlot bytes = Expected({what, std::stoi(more)});
            std::copy(bytes.begin(), bytes.end(), bin.begin() + static_cast<std::ptrdiff_t>(1 + 384 + 128 * slot));
            write("/d/config.bin", bin);
            write(kRecordIni, files.files[kRecordIni] + "[" + what + "]\nItemCount=3\nItem0=" + what +
                                  "   Dn\nItem1=50 ms\nItem2=" + what + "   Up\n");
        } else if (verb == "new") {
            main->OnEditChanged(A.macroNameBox.id, what);
            Click(A.newButton.rect);
        } else if (verb == "select") {
            const auto at = Position(what);
            ASSERT_TRUE(at) << step;
            main->OnListChoice(A.macroList.id, *at);
        } else if (verb == "record") {
            Click(A.startRecording);
            main->OnKeystroke({what, 0, false, false}, true);
            main->OnKeystroke({what, 0, true, false}, true);
            Click(A.stopRecording);
        } else if (verb == "loop") {
            main->OnEditChanged(A.loopTimesBox.id, what);
        } else if (verb == "confirm") {
            Click(A.confirmButton.rect);
        } else if (verb == "delete") {
            Click(A.deleteButton.rect);
        } else if (verb == "button") {
            const int button = std::stoi(what);
            const auto at = Position(more);
            ASSERT_TRUE(at) << step;
            ButtonSet& set = main->working().modeA;
            set.field(kFieldFunction, button) = kFnMacroKey;
            set.field(kFieldMacroPosition, button) = static_cast<Byte>(*at);
            set.field(kFieldMacroRepeat, button) = 0;
            main->labels()[0][static_cast<std::size_t>(button)] = "Macro Key-" + more;
        } else if (verb == "leave") {
            Click(WindowButtonRect(WindowButtonId::BasicPage));
            Click(WindowButtonRect(WindowButtonId::AdvancedPage));
        } else {
            FAIL() << "no such step: " << step;
        }
    }

    // After every step: the list is the file's macros in file order, and the
    // Loop Times box shows what the selected macro's slot holds.
    void CheckPanel(const std::string& after) {
        if (outsidePending_) {
            return;
        }
        EXPECT_EQ(MacroList(), ReadMacroNames(IniFile(files, kRecordIni)).names) << "after " << after;
        const auto* panel = dynamic_cast<const MacroPanel*>(advanced->macroPanel());
        ASSERT_NE(panel, nullptr);
        const std::optional<int> selected = panel->library().selected();
        if (!selected || *selected >= kMacroSlotCount) {
            return;
        }
        const MacroSlot& slot = main->working().macroSlots[static_cast<std::size_t>(*selected)];
        EXPECT_EQ(window.controls[A.loopTimesBox.id], std::to_string(MacroLoopCount(slot)))
            << "after " << after;
    }

    void Apply() { Click(kDialogButtons[1].rect); }

private:
    bool outsidePending_ = false;
};

const std::string kABC = "[A]\nItemCount=3\nItem0=A   Dn\nItem1=50 ms\nItem2=A   Up\n"
                         "[B]\nItemCount=3\nItem0=B   Dn\nItem1=50 ms\nItem2=B   Up\n"
                         "[C]\nItemCount=3\nItem0=C   Dn\nItem1=50 ms\nItem2=C   Up\n";

const std::vector<std::string> kMakeABC = {
    "new A", "loop 2", "record A", "confirm", "new B",      "loop 3",     "record B",   "confirm",
    "new C", "loop 4", "record C", "confirm", "button 2 A", "button 3 B", "button 4 C",
};

std::vector<std::string> Then(std::vector<std::string> steps, const std::vector<std::string>& more) {
    steps.insert(steps.end(), more.begin(), more.end());
    return steps;
}

const Sequence kSequences[] = {
    {"three macros made one after the other",
     kMakeABC,
     {{"A", 2}, {"B", 3}, {"C", 4}},
     {{2, "A"}, {3, "B"}, {4, "C"}}},
    {"Confirm on the first macro again",
     Then(kMakeABC, {"select A", "confirm"}),
     {{"A", 2}, {"B", 3}, {"C", 4}},
     {{2, "A"}, {3, "B"}, {4, "C"}}},
    {"Confirm on each in turn, loop counts changed between",
     Then(kMakeABC, {"select B", "loop 9", "confirm", "select A", "confirm", "select C", "record C",
                     "confirm", "select A", "loop 7"}),
     {{"A", 7}, {"B", 9}, {"C", 4}},
     {{2, "A"}, {3, "B"}, {4, "C"}}},
    {"names made with New first, then recorded and confirmed last to first",
     {"new A", "new B", "new C", "select C", "loop 4", "record C", "confirm", "select B", "loop 3",
      "record B", "confirm", "select A", "loop 2", "record A", "confirm", "button 2 C"},
     {{"A", 2}, {"B", 3}, {"C", 4}},
     {{2, "C"}}},
    {"a loop count typed for a macro with unconfirmed names before it",
     {"new A", "new B", "new C", "select C", "record C", "confirm", "loop 5"},
     {{"A", 1, false}, {"B", 1, false}, {"C", 5}}},
    {"a new macro plays once, whatever the box showed before",
     {"new A", "loop 7", "record A", "confirm", "new B"},
     {{"A", 7}, {"B", 1, false}}},
    {"a new macro confirmed without events keeps the loop count its box shows",
     {"new A", "loop 6", "confirm"},
     {{"A", 6, false}}},
    {"Delete of the first: the others move up with loop counts and buttons",
     Then(kMakeABC, {"select A", "delete"}),
     {{"B", 3}, {"C", 4}},
     {{2, ""}, {3, "B"}, {4, "C"}}},
    {"Delete of A and C, then D added: nothing of C is left on the mouse",
     Then(kMakeABC, {"select A", "delete", "select C", "delete", "new D", "record D", "confirm"}),
     {{"B", 3}, {"D", 1}},
     {{2, ""}, {3, "B"}, {4, ""}}},
    {"Delete of the last, then a new one in its place",
     Then(kMakeABC, {"select C", "delete", "new E"}),
     {{"A", 2}, {"B", 3}, {"E", 1, false}},
     {{2, "A"}, {3, "B"}, {4, ""}}},
    {"Delete of every macro clears the table",
     Then(kMakeABC, {"select B", "delete", "select A", "delete", "select C", "delete"}),
     {},
     {{2, ""}, {3, ""}, {4, ""}}},
    {"the panel made anew keeps every macro in its slot",
     Then(kMakeABC, {"leave", "select B", "loop 8", "select A", "confirm", "leave", "select C", "delete"}),
     {{"A", 2}, {"B", 8}},
     {{2, "A"}, {3, "B"}, {4, ""}}},
    {"a library of the old program: Confirm on its first macro",
     {"button 2 A", "button 3 B", "select A", "record A", "confirm", "select B", "loop 6"},
     {{"A", 2}, {"B", 6}, {"C", 4}},
     {{2, "A"}, {3, "B"}},
     kABC,
     {2, 3, 4}},
    {"a library of the old program: a macro deleted before anything was confirmed",
     {"button 4 C", "select A", "delete"},
     {{"B", 3}, {"C", 4}},
     {{4, "C"}},
     kABC,
     {2, 3, 4}},
    {"another program's add, then New and Confirm in the window",
     {"new A", "record A", "confirm", "outside B 5", "new C", "record C", "confirm"},
     {{"A", 1}, {"B", 5}, {"C", 1}}},
    {"another program's add between New and Confirm",
     {"new A", "outside B 5", "record A", "loop 3", "confirm"},
     {{"A", 3}, {"B", 5}}},
    {"another program's add, then only Apply",
     Then(kMakeABC, {"outside D 6"}),
     {{"A", 2}, {"B", 3}, {"C", 4}, {"D", 6}},
     {{2, "A"}, {3, "B"}, {4, "C"}}},
};

TEST_P(MacroSlotsTest, EverySlotAfterApplyHoldsItsOwnMacroAndNothingElse) {
    const Sequence& sequence = GetParam();
    Open(sequence.recordIni, sequence.loops);
    for (const std::string& step : sequence.steps) {
        Step(step);
        CheckPanel(step);
    }
    Apply();
    for (int k = 0; k < kMacroSlotCount; ++k) {
        const MacroSlot expected = k < static_cast<int>(sequence.slots.size())
                                       ? Expected(sequence.slots[static_cast<std::size_t>(k)])
                                       : MacroSlot{};
        EXPECT_EQ(Hex(mouse.macroSlot(k + 1)), Hex(expected)) << "slot " << k + 1;
        EXPECT_EQ(mouse.macroSlot(k + 1), expected) << "slot " << k + 1;
    }
    const KeyMatrix matrix = mouse.keyMatrix(1);
    for (const auto& [button, macro] : sequence.buttons) {
        // Buttons 2-4 have the same places in the table.
        const std::vector<Byte> word(matrix.begin() + 4 * button, matrix.begin() + 4 * button + 4);
        const std::string& label = main->labels()[0][static_cast<std::size_t>(button)];
        if (macro.empty()) {
            EXPECT_EQ(word, (std::vector<Byte>{0, 0, 0, 0})) << "button " << button << " plays nothing";
            EXPECT_EQ(label, "Key Off") << "button " << button;
            continue;
        }
        const auto holds = std::find_if(sequence.slots.begin(), sequence.slots.end(),
                                        [&plays = macro](const SlotHolds& s) { return s.macro == plays; });
        ASSERT_NE(holds, sequence.slots.end()) << macro;
        const Byte number = static_cast<Byte>(holds - sequence.slots.begin() + 1);
        EXPECT_EQ(word, (std::vector<Byte>{0x09, 0x00, number, 0x00}))
            << "button " << button << ": " << macro;
        EXPECT_EQ(label, "Macro Key-" + macro) << "button " << button;
    }
}

INSTANTIATE_TEST_SUITE_P(PanelSequences, MacroSlotsTest, ::testing::ValuesIn(kSequences),
                         [](const ::testing::TestParamInfo<Sequence>& info) {
                             std::string name;
                             for (const char c : std::string(info.param.what)) {
                                 if (std::isalnum(static_cast<unsigned char>(c))) {
                                     name += c;
                                 } else if (!name.empty() && name.back() != '_') {
                                     name += '_';
                                 }
                             }
                             return name;
                         });

} // namespace
} // namespace quorvel
