// quorvelctl's macro commands on a data folder in memory: what they write to
// record.ini and config.bin, what they print, and that a refused command
// changes nothing.
#include <gtest/gtest.h>

#include <sstream>

#include "config/config_file.h"
#include "macro/macro_table.h"
#include "macro_command.h"
#include "support/memory_file_system.h"

namespace quorvel::ctl {
namespace {

const DataPaths kPaths = DataPathsIn("/data");

constexpr const char* kCopyLines = "Ctrl   Dn\n50 ms\nC   Dn\n50 ms\nC   Up\n50 ms\nCtrl   Up\n";
constexpr const char* kCopySection =
    "[Copy]\nItemCount=7\nItem0=Ctrl   Dn\nItem1=50 ms\nItem2=C   Dn\nItem3=50 ms\n"
    "Item4=C   Up\nItem5=50 ms\nItem6=Ctrl   Up\n";

struct MacroCommandTest : ::testing::Test {
    testing::MemoryFileSystem files;
    std::string out, err;

    MacroCommandTest() {
        // A config.bin the window has not written yet: first-run flag 0.
        files.files[kPaths.configBin] = std::string(kConfigFileSize, '\0');
    }

    int Run(MacroCommand::Kind kind, std::string name = {}, std::string input = {}) {
        std::istringstream in(input);
        std::ostringstream o, e;
        const int status = RunMacroCommand({kind, std::move(name), "-"}, kPaths, files, in, o, e);
        out = o.str();
        err = e.str();
        return status;
    }
    int Add(const std::string& name, const std::string& lines) {
        return Run(MacroCommand::Kind::Add, name, lines);
    }
    MacroSlot Slot(int k) const {
        const std::string& bin = files.files.at(kPaths.configBin);
        MacroSlot slot{};
        const std::size_t at = 1 + 384 + 128 * static_cast<std::size_t>(k);
        std::copy(bin.begin() + static_cast<std::ptrdiff_t>(at),
                  bin.begin() + static_cast<std::ptrdiff_t>(at + slot.size()), slot.begin());
        return slot;
    }
};

TEST_F(MacroCommandTest, AddListShowAndDeleteRoundTripThroughBothFiles) {
    ASSERT_EQ(Add("Copy", kCopyLines), 0) << err;
    EXPECT_EQ(files.files[kPaths.recordIni], kCopySection);
    const MacroSlot copy = Slot(0);
    EXPECT_EQ(MacroLoopCount(copy), 1) << "a fresh slot plays once";
    EXPECT_EQ(std::vector<Byte>(copy.begin() + 2, copy.begin() + 10),
              (std::vector<Byte>{0x05, 0xE0, 0x05, 0x06, 0x85, 0x06, 0x80, 0xE0}));
    EXPECT_EQ(files.files[kPaths.configBin][0], '\0') << "the first-run flag stays";

    // Windows line ends, a byte-order mark and empty lines are read too.
    ASSERT_EQ(Add("Paste", "\xEF\xBB\xBFV   Dn\r\n\r\n20 ms\r\nV   Up\r\n"), 0) << err;
    EXPECT_EQ(Slot(1)[3], 0x19);
    ASSERT_EQ(Run(MacroCommand::Kind::List), 0);
    EXPECT_EQ(out, "Copy\nPaste\n");
    ASSERT_EQ(Run(MacroCommand::Kind::Show, "COPY"), 0);
    EXPECT_EQ(out, kCopyLines);
    ASSERT_EQ(Run(MacroCommand::Kind::Show, "paste"), 0);
    EXPECT_EQ(out, "V   Dn\n20 ms\nV   Up\n");

    const MacroSlot paste = Slot(1);
    ASSERT_EQ(Run(MacroCommand::Kind::Delete, "copy"), 0) << err;
    EXPECT_EQ(files.files[kPaths.recordIni],
              "[Paste]\nItemCount=3\nItem0=V   Dn\nItem1=20 ms\nItem2=V   Up\n");
    EXPECT_EQ(Slot(0), paste) << "the table follows at once, as in the window";
    EXPECT_EQ(Slot(1), MacroSlot{}) << "nothing of a deleted macro stays";
    EXPECT_EQ(files.files[kPaths.configBin][0], '\0') << "the first-run flag stays";
    ASSERT_EQ(Run(MacroCommand::Kind::List), 0);
    EXPECT_EQ(out, "Paste\n");
    EXPECT_EQ(err, "");
}

// A new macro plays once, as one made with the window's New: the loop
// count a slot kept from an old macro is not its own.
TEST_F(MacroCommandTest, AddGivesLoopCountOneAndTellsWhatWasCut) {
    std::string bin(kConfigFileSize, '\0');
    bin[1 + 384] = 0x01; // slot 0 loops 256 times
    files.files[kPaths.configBin] = bin;
    std::string lines;
    for (int i = 0; i < 70; ++i) {
        lines += "A   Dn\n10 ms\n";
    }
    ASSERT_EQ(Add("Long", lines), 0);
    EXPECT_EQ(MacroLoopCount(Slot(0)), 1);
    EXPECT_EQ(err, "quorvelctl: Too long for the mouse, cut to fit its slot: “Long”\n");
}

// A section name of broken UTF-8 (overlong forms of U+0000 among them) is
// listed with its bytes replaced; the macros after it stay in the list, and
// so does one added after them.
TEST_F(MacroCommandTest, ASectionNameOfBrokenUtf8HidesNoMacroAfterIt) {
    const struct {
        std::string section;
        std::string listed;
    } cases[] = {
        {"\xC0\x80", "\uFFFD\uFFFD"},
        {"\xE0\x80\x80"
         "B",
         "\uFFFD\uFFFD\uFFFD"
         "B"},
        // a surrogate, then a code point above U+10FFFF
        {"\xED\xA0\x80\xF4\x90\x80\x80", "\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
    };
    for (const auto& row : cases) {
        files.files[kPaths.recordIni] = kCopySection +
                                        ("[" + row.section + "]\nItemCount=1\nItem0=A   Dn\n") +
                                        "[Paste]\nItemCount=1\nItem0=V   Dn\n";
        ASSERT_EQ(Run(MacroCommand::Kind::List), 0);
        EXPECT_EQ(out, "Copy\n" + row.listed + "\nPaste\n");
        EXPECT_EQ(err, "");

        ASSERT_EQ(Add("New", "N   Dn\n"), 0) << err;
        ASSERT_EQ(Run(MacroCommand::Kind::List), 0);
        EXPECT_EQ(out, "Copy\n" + row.listed + "\nPaste\nNew\n");
        EXPECT_NE(files.files[kPaths.recordIni].find("[" + row.section + "]"), std::string::npos)
            << "the broken section is kept as it was";
    }
}

// Delete as in the window: the macros after it move up with their loop
// counts and buttons, and a button of the deleted one plays nothing, its
// label saying so in every language str.ini keeps.
TEST_F(MacroCommandTest, DeleteMovesTheOthersUpAndTurnsItsButtonsOff) {
    ASSERT_EQ(Add("Copy", kCopyLines), 0) << err;
    ASSERT_EQ(Add("Paste", "V   Dn\n"), 0) << err;
    std::string bin = files.files[kPaths.configBin];
    const auto field = [](int mode, int k, int button) { return 1 + 192 * mode + 12 * k + button; };
    bin[static_cast<std::size_t>(1 + 384 + 128 + 1)] = 5; // Paste loops 5 times
    bin[static_cast<std::size_t>(field(0, 0, 3))] = 13;   // Mode A button 3: Copy
    bin[static_cast<std::size_t>(field(0, 14, 3))] = 0;
    bin[static_cast<std::size_t>(field(1, 0, 4))] = 13; // Mode B button 4: Paste
    bin[static_cast<std::size_t>(field(1, 14, 4))] = 1;
    files.files[kPaths.configBin] = bin;
    files.files[kPaths.strIni] = "[Setting-EN]\nItem4=Macro Key-Copy\n[Setting-CHS]\nItem4=宏-Copy\n";

    ASSERT_EQ(Run(MacroCommand::Kind::Delete, "Copy"), 0) << err;
    EXPECT_EQ(MacroLoopCount(Slot(0)), 5);
    EXPECT_EQ(Slot(0)[3], 0x19);
    EXPECT_EQ(Slot(1), MacroSlot{});
    const std::string after = files.files[kPaths.configBin];
    EXPECT_EQ(after[static_cast<std::size_t>(field(0, 0, 3))], 15) << "Key Off";
    EXPECT_EQ(after[static_cast<std::size_t>(field(1, 0, 4))], 13);
    EXPECT_EQ(after[static_cast<std::size_t>(field(1, 14, 4))], 0) << "Paste is macro 1 now";
    EXPECT_EQ(files.files[kPaths.strIni], "[Setting-EN]\nItem4=Key Off\n[Setting-CHS]\nItem4=按键关闭\n");
}

// Every refusal prints one line, exits 1, and leaves both files as they were.
TEST_F(MacroCommandTest, ARefusedCommandChangesNothing) {
    std::string full;
    for (int m = 0; m < 12; ++m) {
        full += "[M" + std::to_string(m) + "]\nItemCount=0\n";
    }
    const struct {
        const char* what;
        std::string record;
        MacroCommand::Kind kind;
        std::string name;
        std::string lines;
        std::string message;
    } cases[] = {
        {"show of an unknown name", kCopySection, MacroCommand::Kind::Show, "Cut", "",
         "no macro named 'Cut' in " + kPaths.recordIni.string()},
        {"delete of an unknown name", kCopySection, MacroCommand::Kind::Delete, "Cut", "",
         "no macro named 'Cut' in " + kPaths.recordIni.string()},
        {"a name that exists", kCopySection, MacroCommand::Kind::Add, "COPY", "A   Dn\n",
         "'COPY': Macro name already exists"},
        {"a blank name", kCopySection, MacroCommand::Kind::Add, "  ", "A   Dn\n",
         "'  ': Macro name is blank"},
        {"a name record.ini cannot hold", kCopySection, MacroCommand::Kind::Add, "a]b", "A   Dn\n",
         "'a]b': A macro name cannot begin or end with a space, or hold [ ], tabs or other control "
         "characters"},
        {"a thirteenth macro", full, MacroCommand::Kind::Add, "M12", "A   Dn\n",
         "'M12': Macro numbers up to 12."},
        {"a line that is no event", kCopySection, MacroCommand::Kind::Add, "Cut", "A   Dn\n\nCtrl+X\n",
         "standard input line 3: 'Ctrl+X' is no event (KEY   Dn, KEY   Up) or pause (N ms)"},
        {"a pause too long", kCopySection, MacroCommand::Kind::Add, "Cut", "A   Dn\n30000 ms\n",
         "standard input line 2: '30000 ms' pauses longer than 25599 ms"},
        {"a name the list would not show", "[" + std::string(252, 'x') + "]\n", MacroCommand::Kind::Add,
         "Cut", "A   Dn\n",
         "'Cut': The macro names together are too long for the macro list: shorten or delete one first"},
    };
    for (const auto& row : cases) {
        files.files[kPaths.recordIni] = row.record;
        const auto before = files.files;
        EXPECT_EQ(Run(row.kind, row.name, row.lines), 1) << row.what;
        EXPECT_EQ(err, "quorvelctl: " + row.message + "\n") << row.what;
        EXPECT_EQ(out, "") << row.what;
        EXPECT_TRUE(files.files == before) << row.what << ": " << files.files[kPaths.recordIni];
    }
}

TEST_F(MacroCommandTest, AddWithoutAUsableConfigBinWritesNothing) {
    files.files.erase(kPaths.configBin);
    EXPECT_EQ(Add("Copy", kCopyLines), 1);
    EXPECT_EQ(err, "quorvelctl: " + kPaths.configBin.string() + ": Config file is not exist.\n");
    files.files[kPaths.configBin] = "short";
    EXPECT_EQ(Add("Copy", kCopyLines), 1);
    EXPECT_EQ(files.writes, 0);
    EXPECT_FALSE(files.exists(kPaths.recordIni));
}

// The one write that can fail after record.ini was written: config.bin.
// record.ini is put back, so the two never disagree.
TEST_F(MacroCommandTest, AConfigBinThatCannotBeWrittenPutsRecordIniBack) {
    struct ConfigBinFails : testing::MemoryFileSystem {
        FileStatus writeAtomically(const std::filesystem::path& path,
                                   std::span<const std::uint8_t> bytes) override {
            if (path == kPaths.configBin) {
                return FileError{FileError::Kind::WriteFailed, path, ENOSPC};
            }
            return MemoryFileSystem::writeAtomically(path, bytes);
        }
    } failing;
    failing.files[kPaths.configBin] = std::string(kConfigFileSize, '\0');
    failing.files[kPaths.recordIni] = kCopySection;
    std::istringstream in("A   Dn\n");
    std::ostringstream o, e;
    EXPECT_EQ(RunMacroCommand({MacroCommand::Kind::Add, "Cut", "-"}, kPaths, failing, in, o, e), 1);
    EXPECT_EQ(failing.files[kPaths.recordIni], kCopySection);
    EXPECT_NE(e.str().find(kPaths.configBin.string()), std::string::npos) << e.str();
}

// The last write of a delete is the labels of the buttons it turned off:
// when str.ini cannot take them, config.bin and record.ini are put back.
TEST_F(MacroCommandTest, AStrIniThatCannotBeWrittenPutsTheOtherFilesBack) {
    ASSERT_EQ(Add("Copy", kCopyLines), 0) << err;
    files.files[kPaths.configBin][1 + 3] = 13; // Mode A button 3: Copy
    files.files[kPaths.strIni] = "[Setting-EN]\nItem4=Macro Key-Copy\n";
    struct StrIniFails : testing::MemoryFileSystem {
        FileStatus writeAtomically(const std::filesystem::path& path,
                                   std::span<const std::uint8_t> bytes) override {
            if (path == kPaths.strIni) {
                return FileError{FileError::Kind::WriteFailed, path, EROFS};
            }
            return MemoryFileSystem::writeAtomically(path, bytes);
        }
    } failing;
    failing.files = files.files;
    std::istringstream in;
    std::ostringstream o, e;
    EXPECT_EQ(RunMacroCommand({MacroCommand::Kind::Delete, "Copy", "-"}, kPaths, failing, in, o, e), 1);
    EXPECT_TRUE(failing.files == files.files) << e.str();
}

// Every command that writes holds the folder's lock over its whole read,
// change and write, and clears what killed writers left while it does.
TEST_F(MacroCommandTest, WritesHappenUnderTheFolderLock) {
    ASSERT_EQ(Add("Copy", kCopyLines), 0) << err;
    ASSERT_EQ(Add("Paste", "V   Dn\n"), 0) << err;
    ASSERT_EQ(Run(MacroCommand::Kind::Delete, "Copy"), 0) << err;
    EXPECT_GE(files.writes, 6);
    EXPECT_EQ(files.writesUnlocked, 0);
    EXPECT_EQ(files.locksTaken, 3);
    EXPECT_EQ(files.locksHeld, 0) << "let go at the end";
    EXPECT_EQ(files.temporariesCleared,
              (std::vector<std::filesystem::path>{kPaths.configBin, kPaths.strIni, kPaths.recordIni,
                                                  kPaths.configBin, kPaths.strIni, kPaths.recordIni,
                                                  kPaths.configBin, kPaths.strIni, kPaths.recordIni}));
}

// An add killed between its two saves leaves the macro in record.ini and
// not in config.bin. The same add run again completes the table; the same
// name with other events is still refused.
TEST_F(MacroCommandTest, AddingTheSameMacroAgainCompletesAnAddThatWasCutOff) {
    ASSERT_EQ(Add("Paste", "V   Dn\n"), 0) << err;
    const std::string tableWithPasteOnly = files.files[kPaths.configBin];
    ASSERT_EQ(Add("Copy", kCopyLines), 0) << err;
    const std::string bothInStep = files.files[kPaths.configBin];
    files.files[kPaths.configBin] = tableWithPasteOnly; // the kill: record.ini has Copy, config.bin not

    EXPECT_EQ(Add("Copy", "A   Dn\n"), 1);
    EXPECT_EQ(err, "quorvelctl: 'Copy': Macro name already exists\n");
    EXPECT_EQ(files.files[kPaths.configBin], tableWithPasteOnly);

    EXPECT_EQ(Add("Copy", kCopyLines), 0) << err;
    EXPECT_EQ(files.files[kPaths.configBin], bothInStep);
    EXPECT_EQ(MacroLoopCount(Slot(1)), 1);
    ASSERT_EQ(Run(MacroCommand::Kind::List), 0);
    EXPECT_EQ(out, "Paste\nCopy\n");
}

// A source without line breaks is refused at the size of the largest macro
// file, not read into memory first.
TEST_F(MacroCommandTest, AnEndlessSourceIsReadNoFurtherThanTheLimit) {
    struct Endless : std::streambuf {
        std::size_t given = 0;
        char block[4096];
        Endless() { std::fill(std::begin(block), std::end(block), 'x'); }
        int_type underflow() override {
            if (given >= 64 * kLargestDataFile) {
                return traits_type::eof(); // far more than any macro file
            }
            given += sizeof block;
            setg(block, block, block + sizeof block);
            return traits_type::to_int_type(block[0]);
        }
    } endless;
    std::istream in(&endless);
    std::ostringstream o, e;
    EXPECT_EQ(RunMacroCommand({MacroCommand::Kind::Add, "Zero", "-"}, kPaths, files, in, o, e), 1);
    EXPECT_EQ(e.str(), "quorvelctl: standard input: more event lines than a macro file holds\n");
    EXPECT_LE(endless.given, kLargestDataFile + 128 * 1024);
    EXPECT_EQ(files.writes, 0);
}

} // namespace
} // namespace quorvel::ctl
