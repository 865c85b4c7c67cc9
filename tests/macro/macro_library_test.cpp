#include <gtest/gtest.h>

#include <cerrno>

#include "assign/function_list.h"
#include "lang/utf8.h"
#include "macro/macro_library.h"
#include "support/memory_file_system.h"

namespace quorvel {
namespace {

const std::filesystem::path kPath = "/d/record.ini";

struct MacroLibraryTest : ::testing::Test {
    testing::MemoryFileSystem files;
    DeviceConfig config = zeroDeviceConfig();
    MacroLibrary library{IniFile(files, kPath)};

    void Load(const std::string& text) {
        files.files[kPath] = text;
        library.Load(config);
    }
    std::vector<std::string> FileLines() const {
        std::vector<std::string> lines;
        std::string line;
        for (char c : files.files.at(kPath)) {
            if (c == '\n') {
                lines.push_back(line);
                line.clear();
            } else {
                line += c;
            }
        }
        return lines;
    }
};

const char* kTwoMacros = "[Copy]\nItemCount=3\nItem0=Ctrl   Dn\nItem1=50 ms\nItem2=Ctrl   Up\n"
                         "[Paste]\nItemCount=1\nItem0=V   Dn\n";

TEST_F(MacroLibraryTest, LoadListsSectionsAndShowsTheFirst) {
    config.macroSlots[0][1] = 5;
    Load(kTwoMacros);
    EXPECT_EQ(library.names(), (std::vector<std::string>{"Copy", "Paste"}));
    EXPECT_EQ(library.selected(), 0);
    EXPECT_EQ(library.nameText, "Copy");
    EXPECT_EQ(library.events, (std::vector<std::string>{"Ctrl   Dn", "50 ms", "Ctrl   Up"}));
    EXPECT_EQ(library.loopText, "5");
}

TEST_F(MacroLibraryTest, LoadWithoutAFileLeavesTheListEmpty) {
    library.loopText = "7";
    library.Load(config);
    EXPECT_TRUE(library.names().empty());
    EXPECT_FALSE(library.selected());
    EXPECT_EQ(library.loopText, "");
}

TEST_F(MacroLibraryTest, SelectShowsEventsAndTheLoopCountOfTheMacroShown) {
    config.macroSlots[1][0] = 1; // 256 loops
    config.macroSlots[2][1] = 4;
    Load(kTwoMacros + std::string("[Empty]\nItemCount=0\n"));
    library.Select(1, config);
    EXPECT_EQ(library.nameText, "Paste");
    EXPECT_EQ(library.events, std::vector<std::string>{"V   Dn"});
    EXPECT_EQ(library.loopText, "256");
    library.Select(2, config);
    EXPECT_EQ(library.nameText, "Empty");
    EXPECT_TRUE(library.events.empty());
    EXPECT_EQ(library.loopText, "4") << "a macro without events shows its own loop count too";
}

TEST_F(MacroLibraryTest, NewRefusesBlankTooManyAndExistingNames) {
    Load(kTwoMacros);
    const struct {
        std::string name;
        NewMacroResult result;
    } cases[] = {
        {"", NewMacroResult::NameBlank},           {"COPY", NewMacroResult::NameExists},
        {"paste", NewMacroResult::NameExists},     {"   ", NewMacroResult::NameBlank},
        {" Cut", NewMacroResult::NameNotStorable}, {"Cut", NewMacroResult::Added},
        {"剪切", NewMacroResult::Added},
    };
    for (const auto& row : cases) {
        library.nameText = row.name;
        EXPECT_EQ(library.New(config).result, row.result) << "'" << row.name << "'";
    }
    EXPECT_EQ(library.names().size(), 4u);
    EXPECT_EQ(library.selected(), 3);
    EXPECT_TRUE(library.events.empty());
    EXPECT_EQ(files.files[kPath], kTwoMacros + std::string("[Cut]\nItemCount=0\n[剪切]\nItemCount=0\n"))
        << "New gives the macro its section, last in the file";

    for (int i = 4; i < 12; ++i) {
        library.nameText = "M" + std::to_string(i);
        ASSERT_EQ(library.New(config).result, NewMacroResult::Added);
    }
    library.nameText = "Thirteenth";
    EXPECT_EQ(library.New(config).result, NewMacroResult::TooMany);
    EXPECT_EQ(library.names().size(), 12u);
}

// Each refused name, saved as a section, would read back as another name or
// end the section list; the accepted ones read back as themselves.
TEST(MacroName, OnlyNamesThatReadBackAsThemselvesAreTaken) {
    const struct {
        std::string name;
        MacroNameFault fault;
    } cases[] = {
        {"", MacroNameFault::Blank},
        {" \t ", MacroNameFault::Blank},
        {" Copy", MacroNameFault::BlankAtEnd},
        {"Copy ", MacroNameFault::BlankAtEnd},
        {"a]b", MacroNameFault::Bracket},
        {"[a", MacroNameFault::Bracket},
        {"a\nb", MacroNameFault::ControlCharacter},
        {"a\tb", MacroNameFault::ControlCharacter},
        {std::string("a\0b", 3), MacroNameFault::ControlCharacter},
        {"a\x7F", MacroNameFault::ControlCharacter},
        {"a\xFF"
         "b",
         MacroNameFault::InvalidUtf8},
        {"\xC3", MacroNameFault::InvalidUtf8},         // cut short
        {"\xC0\xAF", MacroNameFault::InvalidUtf8},     // overlong "/"
        {"\xED\xA0\x80", MacroNameFault::InvalidUtf8}, // a surrogate
        {"Copy and paste", MacroNameFault::None},
        {"复制 = 粘贴; #1", MacroNameFault::None},
        {"\xF0\x9F\x8E\xAE", MacroNameFault::None}, // a four-byte character
    };
    for (const auto& row : cases) {
        EXPECT_EQ(CheckMacroName(row.name), row.fault) << "'" << row.name << "'";
        if (row.fault != MacroNameFault::None) {
            continue;
        }
        IniDocument written;
        ASSERT_TRUE(written.setEntry(row.name, "ItemCount", "0"));
        const IniDocument read(written.text());
        EXPECT_EQ(read.sectionNames(), std::vector<std::string>{row.name});
    }
}

TEST_F(MacroLibraryTest, NewIntoAnEmptyListKeepsTheEventList) {
    library.events = {"A   Dn"};
    library.nameText = "First";
    EXPECT_EQ(library.New(config).result, NewMacroResult::Added);
    EXPECT_EQ(library.events, std::vector<std::string>{"A   Dn"});
    EXPECT_EQ(library.selected(), 0);
}

TEST_F(MacroLibraryTest, DeleteRemovesTheEntryAndItsSection) {
    Load(kTwoMacros);
    const MacroChange change = library.Delete(config);
    EXPECT_EQ(change.error, std::nullopt);
    EXPECT_TRUE(change.done);
    EXPECT_EQ(library.names(), std::vector<std::string>{"Paste"});
    EXPECT_TRUE(library.events.empty());
    EXPECT_EQ(library.nameText, "");
    EXPECT_EQ(FileLines(), (std::vector<std::string>{"[Paste]", "ItemCount=1", "Item0=V   Dn"}));
    EXPECT_FALSE(library.Delete(config).done) << "nothing selected: nothing happens";
    EXPECT_EQ(library.names().size(), 1u);
}

// A, B and C in slots 1-3 with loop counts 2, 3 and 4, and a button of
// each mode on each; the table past them still holds an old macro's bytes.
struct ThreeMacros : MacroLibraryTest {
    ThreeMacros() {
        for (int k = 0; k < 3; ++k) {
            config.macroSlots[static_cast<std::size_t>(k)][1] = static_cast<Byte>(k + 2);
            for (int mode = 0; mode < 2; ++mode) {
                config.buttonSet(mode).field(kFieldFunction, k + 2 * mode) = kFnMacroKey;
                config.buttonSet(mode).field(kFieldMacroPosition, k + 2 * mode) = static_cast<Byte>(k);
            }
        }
        config.macroSlots[3].fill(0x77);
        config.modeA.field(kFieldFunction, 9) = kFnKeyOff; // once on a macro: its field stays
        config.modeA.field(kFieldMacroPosition, 9) = 1;
        Load("[A]\nItemCount=1\nItem0=A   Dn\n[B]\nItemCount=1\nItem0=B   Dn\n[C]\nItemCount=1\nItem0=C   "
             "Dn\n");
    }
    // The macro number each button of a mode plays (0: none), buttons 0-5.
    std::vector<int> Buttons(int mode) const {
        std::vector<int> numbers;
        for (int b = 0; b < 6; ++b) {
            const ButtonSet& set = config.buttonSet(mode);
            numbers.push_back(
                set.field(kFieldFunction, b) == kFnMacroKey ? set.field(kFieldMacroPosition, b) + 1 : 0);
        }
        return numbers;
    }
};

TEST_F(ThreeMacros, DeleteMovesTheMacrosAfterItUpWithTheirLoopCountsAndButtons) {
    library.Select(0, config);
    const MacroChange change = library.Delete(config);
    ASSERT_TRUE(change.done);
    EXPECT_EQ(library.names(), (std::vector<std::string>{"B", "C"}));
    EXPECT_EQ(MacroLoopCount(config.macroSlots[0]), 3);
    EXPECT_EQ(config.macroSlots[0][3], 0x05) << "B";
    EXPECT_EQ(MacroLoopCount(config.macroSlots[1]), 4);
    EXPECT_EQ(config.macroSlots[1][3], 0x06) << "C";
    for (std::size_t k = 2; k < config.macroSlots.size(); ++k) {
        EXPECT_EQ(config.macroSlots[k], MacroSlot{}) << "slot " << k + 1 << " has no macro";
    }
    EXPECT_EQ(Buttons(0), (std::vector<int>{0, 1, 2, 0, 0, 0}));
    EXPECT_EQ(Buttons(1), (std::vector<int>{0, 0, 0, 1, 2, 0}));
    EXPECT_EQ(change.rebuild.buttonsOff, (std::vector<MacroButton>{{0, 0}, {1, 2}}));
    EXPECT_EQ(config.modeA.field(kFieldFunction, 0), kFnKeyOff);
    EXPECT_EQ(config.modeA.field(kFieldMacroPosition, 9), 1) << "a button on another function is left alone";
}

TEST_F(ThreeMacros, NewGivesTheMacroTheNextSlotWithLoopCountOne) {
    library.Select(1, config);
    library.nameText = "D";
    const MacroLibrary::NewOutcome added = library.New(config);
    ASSERT_EQ(added.result, NewMacroResult::Added);
    EXPECT_TRUE(added.change.done);
    EXPECT_EQ(library.selected(), 3);
    EXPECT_EQ(library.loopText, "1");
    MacroSlot d{};
    d[1] = 1;
    EXPECT_EQ(config.macroSlots[3], d) << "no events yet, played once";
    EXPECT_EQ(MacroLoopCount(config.macroSlots[1]), 3);
    EXPECT_EQ(Buttons(0), (std::vector<int>{1, 2, 3, 0, 0, 0}));
    EXPECT_TRUE(added.change.rebuild.buttonsOff.empty());
}

TEST_F(ThreeMacros, AFileThatCannotBeWrittenChangesNeitherListNorTable) {
    const DeviceConfig before = config;
    files.writeError = ENOSPC;
    library.nameText = "D";
    const MacroLibrary::NewOutcome added = library.New(config);
    EXPECT_EQ(added.result, NewMacroResult::NotSaved);
    EXPECT_EQ(added.change.error, (FileError{FileError::Kind::WriteFailed, kPath, ENOSPC}));
    EXPECT_EQ(library.names().size(), 3u);
    library.Select(0, config);
    EXPECT_EQ(library.Delete(config).error, added.change.error);
    EXPECT_EQ(library.names().size(), 3u);
    EXPECT_TRUE(config.bytes().size() == before.bytes().size() &&
                std::equal(config.bytes().begin(), config.bytes().end(), before.bytes().begin()));
}

// Everything of a macro stays with it: its place in the file, its slot, its
// loop count and its buttons.
TEST_F(MacroLibraryTest, ConfirmRewritesTheSectionWhereItStands) {
    config.macroSlots[0][1] = 2;
    config.macroSlots[1][1] = 3;
    config.modeA.field(kFieldFunction, 3) = kFnMacroKey; // macro 1
    config.modeA.field(kFieldMacroPosition, 3) = 0;
    Load("; the macros\n[Copy]\nItemCount=3\nItem0=Ctrl   Dn\n; a note\nItem1=50 ms\nItem2=Ctrl   Up\n\n"
         "[Paste]\nItemCount=1\nItem0=V   Dn\n");
    library.events = {"A   Dn", "50 ms", "A   Up"};
    const MacroChange result = library.Confirm(config);
    EXPECT_TRUE(result.done);
    EXPECT_EQ(FileLines(), (std::vector<std::string>{"; the macros", "[Copy]", "ItemCount=3", "Item0=A   Dn",
                                                     "Item1=50 ms", "Item2=A   Up", "; a note", "", "[Paste]",
                                                     "ItemCount=1", "Item0=V   Dn"}));
    EXPECT_EQ(config.macroSlots[0][1], 2);
    EXPECT_EQ(config.macroSlots[0][3], 0x04) << "A";
    EXPECT_EQ(config.macroSlots[1][1], 3);
    EXPECT_EQ(config.macroSlots[1][3], 0x19) << "V";
    EXPECT_EQ(config.modeA.field(kFieldMacroPosition, 3), 0);
    EXPECT_TRUE(result.rebuild.buttonsOff.empty());
    EXPECT_EQ(library.names(), (std::vector<std::string>{"Copy", "Paste"}));
    EXPECT_EQ(library.selected(), 0);
}

// The box shows 1 for a macro without events, and the slot keeps it.
TEST_F(MacroLibraryTest, ConfirmOfAnEmptyEventListWritesCountZeroAndKeepsTheLoopCount) {
    Load("[Solo]\nItemCount=1\nItem0=A   Dn\n");
    config.macroSlots[0].fill(0x11);
    library.events.clear();
    EXPECT_TRUE(library.Confirm(config).done);
    EXPECT_EQ(FileLines(), (std::vector<std::string>{"[Solo]", "ItemCount=0"}));
    MacroSlot expected{};
    expected[0] = 0x11;
    expected[1] = 0x11;
    EXPECT_EQ(config.macroSlots[0], expected);
}

// Reading takes the first section of a name whatever its case; a second
// [COPY] is never read, and goes with the Confirm of the first.
TEST_F(MacroLibraryTest, ConfirmRemovesLaterSectionsOfTheNameWhateverTheirCase) {
    config.macroSlots[2][1] = 7;
    config.modeB.field(kFieldFunction, 0) = kFnMacroKey;
    config.modeB.field(kFieldMacroPosition, 0) = 1; // the second [COPY]
    Load("[Copy]\nItemCount=0\n[COPY]\nItemCount=0\n[Paste]\nItemCount=0\n");
    library.events = {"A   Dn", "50 ms", "A   Up"};
    const MacroChange result = library.Confirm(config);
    ASSERT_TRUE(result.done);
    EXPECT_EQ(ReadMacroEvents(IniFile(files, kPath), "Copy"), library.events);
    EXPECT_EQ(ReadMacroNames(IniFile(files, kPath)).names, (std::vector<std::string>{"Copy", "Paste"}));
    EXPECT_EQ(library.names(), (std::vector<std::string>{"Copy", "Paste"}));
    EXPECT_EQ(config.macroSlots[1][1], 7) << "Paste moved up with its loop count";
    EXPECT_EQ(config.macroSlots[2], MacroSlot{});
    EXPECT_EQ(result.rebuild.buttonsOff, (std::vector<MacroButton>{{1, 0}}));
    EXPECT_EQ(config.modeB.field(kFieldFunction, 0), kFnKeyOff);
}

TEST_F(MacroLibraryTest, ConfirmThatCannotReadTheFileWritesNothing) {
    Load(kTwoMacros);
    files.unreadable.insert(kPath);
    library.events.clear();
    const auto result = library.Confirm(config);
    EXPECT_EQ(result.error, (FileError{FileError::Kind::ReadFailed, kPath, EACCES}));
    EXPECT_EQ(library.Delete(config).error, result.error);
    EXPECT_EQ(files.files[kPath], kTwoMacros);
    EXPECT_EQ(files.writes, 0);
}

// A damaged count must not hang the panel or the rebuild: only the items the
// section holds are read, and a count that is no number, or a negative one,
// is 0. The macro after the damaged one still reads and fills its slot.
TEST_F(MacroLibraryTest, TheEventListIsTheItemsBelowTheCountThatTheSectionHolds) {
    const struct {
        const char* section;
        std::vector<std::string> events;
    } cases[] = {
        {"ItemCount=2000000000\nItem0=A   Dn\nItem1=50 ms\nItem2=A   Up\n", {"A   Dn", "50 ms", "A   Up"}},
        {"ItemCount=99999999999999999999\nItem0=A   Dn\nItem1999999999=B   Dn\n", {"A   Dn", "B   Dn"}},
        {"ItemCount=-3\nItem0=A   Dn\n", {}},
        {"ItemCount=abc\nItem0=A   Dn\n", {}},
        {"Item0=A   Dn\n", {}},
        {"ItemCount=5\nItem0=A   Dn\nItem1=50 ms\n", {"A   Dn", "50 ms"}},
        {"ItemCount=2\nItem0=A   Dn\nItem1=50 ms\nItem2=A   Up\n", {"A   Dn", "50 ms"}},
        // In index order whatever the file order and letter case; a missing
        // item is left out, and only "Item<n>" as written is an item.
        {"ItemCount=4\nItem3=C   Up\nitem0=A   Dn\nItem2=50 ms\nItem01=x\nItem+1=x\nItem 1=x\n",
         {"A   Dn", "50 ms", "C   Up"}},
        {"ItemCount=2\nItem0=A   Dn\nITEM0=B   Dn\nItem1=\n", {"A   Dn", ""}},
    };
    for (const auto& row : cases) {
        config = zeroDeviceConfig();
        config.macroSlots[0].fill(0x11);
        Load("[Damaged]\n" + std::string(row.section) + "[Next]\nItemCount=1\nItem0=C   Dn\n");
        EXPECT_EQ(library.events, row.events) << row.section;
        const RebuildResult rebuilt = RebuildMacroTable(IniFile(files, kPath), config);
        EXPECT_EQ(rebuilt.slotsFilled, 2) << row.section;
        EXPECT_EQ(config.macroSlots[1][3], 0x06) << row.section << ": the next macro fills its slot";
        if (row.events.empty()) {
            MacroSlot noEvents{};
            noEvents[0] = noEvents[1] = 0x11;
            EXPECT_EQ(config.macroSlots[0], noEvents) << row.section << ": no events, the loop count stays";
        }
    }
}

// However many macros and lines it holds, each operation reads record.ini
// once; Confirm rebuilds the table from what it wrote.
TEST_F(MacroLibraryTest, EachOperationReadsTheFileOnce) {
    std::string text;
    for (int m = 0; m < 12; ++m) {
        text += "[M" + std::to_string(m) + "]\nItemCount=100\n";
        for (int j = 0; j < 100; ++j) {
            text += "Item" + std::to_string(j) + "=" + (j % 2 == 0 ? "A   Dn" : "50 ms") + "\n";
        }
    }
    files.files[kPath] = text;
    const auto reads = [&](auto operation) {
        files.reads = 0;
        operation();
        return files.reads;
    };
    EXPECT_EQ(reads([&] { library.Load(config); }), 1);
    EXPECT_EQ(reads([&] { library.Select(5, config); }), 1);
    EXPECT_EQ(library.events.size(), 100u);
    library.events = {"B   Dn"};
    EXPECT_EQ(reads([&] { EXPECT_TRUE(library.Confirm(config).done); }), 1);
    EXPECT_EQ(files.writes, 1);
    EXPECT_EQ(config.macroSlots[5][3], 0x05) << "M5 stays in its slot";
    EXPECT_EQ(reads([&] { RebuildMacroTable(IniFile(files, kPath), config); }), 1);
    EXPECT_EQ(reads([&] { EXPECT_TRUE(library.Delete(config).done); }), 1);
    library.nameText = "New";
    EXPECT_EQ(reads([&] { EXPECT_EQ(library.New(config).result, NewMacroResult::Added); }), 1);
}

// Confirm hands back what did not fit: the macros cut to their slot by name,
// and how many sections past the twelfth were left out.
TEST_F(MacroLibraryTest, ConfirmReportsTheMacrosCutAndIgnored) {
    std::string text = "[First]\nItemCount=0\n[Long]\nItemCount=140\n";
    for (int j = 0; j < 140; ++j) {
        text += "Item" + std::to_string(j) + "=" + (j % 2 == 0 ? "A   Dn" : "10 ms") + "\n";
    }
    for (int m = 2; m < 13; ++m) {
        text += "[M" + std::to_string(m) + "]\nItemCount=1\nItem0=A   Dn\n";
    }
    Load(text);
    ASSERT_EQ(library.names().size(), 13u);
    library.events = {"B   Dn"};
    const auto result = library.Confirm(config);
    ASSERT_TRUE(result.done);
    EXPECT_EQ(result.rebuild.slotsFilled, 12);
    EXPECT_EQ(result.rebuild.sectionsIgnored, 1);
    EXPECT_EQ(result.rebuild.slotsCut, std::vector<int>{1});
    EXPECT_EQ(result.rebuild.namesCut, std::vector<std::string>{"Long"});
}

TEST_F(MacroLibraryTest, ConfirmThatCannotWriteKeepsFileAndTable) {
    Load(kTwoMacros);
    config.macroSlots[0].fill(0x11);
    files.writeError = ENOSPC;
    const auto result = library.Confirm(config);
    EXPECT_EQ(result.error, (FileError{FileError::Kind::WriteFailed, kPath, ENOSPC}));
    EXPECT_FALSE(result.done);
    EXPECT_EQ(files.files[kPath], kTwoMacros);
    EXPECT_EQ(config.macroSlots[0][5], 0x11);
}

TEST_F(MacroLibraryTest, ConfirmWithoutSelectionDoesNothing) {
    const auto result = library.Confirm(config);
    EXPECT_FALSE(result.done);
    EXPECT_FALSE(files.exists(kPath));
}

TEST(MacroNames, OnlyNamesEndingInsideTheWindowAreListed) {
    testing::MemoryFileSystem files;
    // 25 names of 9 characters plus terminator: 250 characters, then one
    // more name that crosses character 255.
    std::string text;
    for (int i = 0; i < 26; ++i) {
        text += "[Macro" + std::string(i < 10 ? "000" : "00") + std::to_string(i) + "]\n";
    }
    files.files[kPath] = text;
    const MacroNames names = ReadMacroNames(IniFile(files, kPath));
    EXPECT_EQ(names.names.size(), 25u);
    EXPECT_EQ(names.names.back(), "Macro0024");
    EXPECT_TRUE(names.someHidden);
}

TEST(MacroNames, AVeryLongNameFillingTheBufferIsNotReadPastIt) {
    testing::MemoryFileSystem files;
    files.files[kPath] = "[" + std::string(5000, 'x') + "]\n[After]\n";
    const MacroNames names = ReadMacroNames(IniFile(files, kPath));
    EXPECT_TRUE(names.names.empty());
    EXPECT_TRUE(names.someHidden);
}

TEST(MacroNames, ANulByteInANameShowsReplacedAndTheMacrosAfterItStayListed) {
    testing::MemoryFileSystem files;
    files.files[kPath] = std::string("[A\0B]\n[After]\n", 14);
    const MacroNames names = ReadMacroNames(IniFile(files, kPath));
    EXPECT_EQ(names.names, (std::vector<std::string>{"A\uFFFDB", "After"}));
    EXPECT_FALSE(names.someHidden);
}

TEST(MacroNames, TheListShowsAtMost31Characters) {
    EXPECT_EQ(ShownMacroName(std::string(40, 'm')), std::string(31, 'm'));
    EXPECT_EQ(ShownMacroName("Copy"), "Copy");
    std::string chinese;
    for (int i = 0; i < 40; ++i) {
        chinese += "宏";
    }
    EXPECT_EQ(Utf8ToCodePoints(ShownMacroName(chinese)).size(), 31u);
}

} // namespace
} // namespace quorvel
