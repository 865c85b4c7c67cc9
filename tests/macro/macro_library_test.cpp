#include <gtest/gtest.h>

#include <cerrno>

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

TEST_F(MacroLibraryTest, SelectShowsEventsAndLoopCountOrOnlyClearsForAnEmptyMacro) {
    config.macroSlots[1][0] = 1; // 256 loops
    Load(kTwoMacros + std::string("[Empty]\nItemCount=0\n"));
    library.Select(1, config);
    EXPECT_EQ(library.nameText, "Paste");
    EXPECT_EQ(library.events, std::vector<std::string>{"V   Dn"});
    EXPECT_EQ(library.loopText, "256");
    library.Select(2, config);
    EXPECT_EQ(library.nameText, "Empty");
    EXPECT_TRUE(library.events.empty());
    EXPECT_EQ(library.loopText, "256") << "the Loop Times box keeps its text";
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
        EXPECT_EQ(library.New(), row.result) << "'" << row.name << "'";
    }
    EXPECT_EQ(library.names().size(), 4u);
    EXPECT_EQ(library.selected(), 3);
    EXPECT_TRUE(library.events.empty());
    EXPECT_EQ(files.files[kPath], kTwoMacros) << "New writes nothing";

    for (int i = 4; i < 12; ++i) {
        library.nameText = "M" + std::to_string(i);
        ASSERT_EQ(library.New(), NewMacroResult::Added);
    }
    library.nameText = "Thirteenth";
    EXPECT_EQ(library.New(), NewMacroResult::TooMany);
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
    EXPECT_EQ(library.New(), NewMacroResult::Added);
    EXPECT_EQ(library.events, std::vector<std::string>{"A   Dn"});
    EXPECT_EQ(library.selected(), 0);
}

TEST_F(MacroLibraryTest, DeleteRemovesTheEntryAndItsSection) {
    Load(kTwoMacros);
    EXPECT_EQ(library.Delete(), std::nullopt);
    EXPECT_EQ(library.names(), std::vector<std::string>{"Paste"});
    EXPECT_TRUE(library.events.empty());
    EXPECT_EQ(library.nameText, "");
    EXPECT_EQ(FileLines(), (std::vector<std::string>{"[Paste]", "ItemCount=1", "Item0=V   Dn"}));
    EXPECT_EQ(library.Delete(), std::nullopt) << "nothing selected: nothing happens";
    EXPECT_EQ(library.names().size(), 1u);
}

TEST_F(MacroLibraryTest, ConfirmRewritesTheSectionLastAndRebuildsTheTable) {
    Load(kTwoMacros);
    library.events = {"A   Dn", "50 ms", "A   Up"};
    const auto result = library.Confirm(config);
    EXPECT_TRUE(result.done);
    EXPECT_EQ(FileLines(),
              (std::vector<std::string>{"[Paste]", "ItemCount=1", "Item0=V   Dn", "[Copy]", "ItemCount=3",
                                        "Item0=A   Dn", "Item1=50 ms", "Item2=A   Up"}));
    // Copy now stands second in the file, so it fills slot 1.
    EXPECT_EQ(config.macroSlots[0][3], 0x19) << "V";
    EXPECT_EQ(config.macroSlots[1][2], 0x05);
    EXPECT_EQ(config.macroSlots[1][3], 0x04);
    EXPECT_EQ(library.names(), (std::vector<std::string>{"Copy", "Paste"})) << "the list keeps its order";
}

TEST_F(MacroLibraryTest, ConfirmOfAnEmptyEventListWritesCountZero) {
    Load("[Solo]\nItemCount=1\nItem0=A   Dn\n");
    config.macroSlots[0].fill(0x11);
    library.events.clear();
    EXPECT_TRUE(library.Confirm(config).done);
    EXPECT_EQ(FileLines(), (std::vector<std::string>{"[Solo]", "ItemCount=0"}));
    EXPECT_EQ(config.macroSlots[0], MacroSlot{});
}

// Reading takes a section whatever the case of its name, so a Confirm that
// left a second [COPY] behind would read back the old events.
TEST_F(MacroLibraryTest, ConfirmReplacesEverySectionOfTheNameWhateverItsCase) {
    Load("[Copy]\nItemCount=0\n[COPY]\nItemCount=0\n[Paste]\nItemCount=0\n");
    library.events = {"A   Dn", "50 ms", "A   Up"};
    ASSERT_TRUE(library.Confirm(config).done);
    EXPECT_EQ(ReadMacroEvents(IniFile(files, kPath), "Copy"), library.events);
    EXPECT_EQ(ReadMacroNames(IniFile(files, kPath)).names, (std::vector<std::string>{"Paste", "Copy"}));
}

TEST_F(MacroLibraryTest, ConfirmThatCannotReadTheFileWritesNothing) {
    Load(kTwoMacros);
    files.unreadable.insert(kPath);
    library.events.clear();
    const auto result = library.Confirm(config);
    EXPECT_EQ(result.error, (FileError{FileError::Kind::ReadFailed, kPath, EACCES}));
    EXPECT_EQ(library.Delete(), result.error);
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
            EXPECT_EQ(config.macroSlots[0], MacroSlot{}) << row.section << ": no events clear the slot";
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
    EXPECT_EQ(config.macroSlots[11][3], 0x05) << "M5, now last in the file, fills the last slot";
    EXPECT_EQ(reads([&] { RebuildMacroTable(IniFile(files, kPath), config); }), 1);
    EXPECT_EQ(reads([&] { EXPECT_EQ(library.Delete(), std::nullopt); }), 1);
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
    const auto result = library.Confirm(config); // First moves to the end, past slot 11
    ASSERT_TRUE(result.done);
    EXPECT_EQ(result.rebuild.slotsFilled, 12);
    EXPECT_EQ(result.rebuild.sectionsIgnored, 1);
    EXPECT_EQ(result.rebuild.slotsCut, std::vector<int>{0});
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
