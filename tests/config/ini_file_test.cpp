#include <gtest/gtest.h>

#include "config/ini_file.h"
#include "support/memory_file_system.h"

namespace quorvel {
namespace {

using testing::MemoryFileSystem;

const std::filesystem::path kPath = "/data/test.ini";

struct IniFileTest : ::testing::Test {
    MemoryFileSystem files;
    IniFile ini{files, kPath};
    std::string& text() { return files.files[kPath]; }
};

TEST_F(IniFileTest, MissingFileReadsEmptyAndFirstWriteCreatesIt) {
    EXPECT_EQ(ini.GetString("Skins", "Path"), "");
    EXPECT_EQ(ini.GetString("Skins", "Path", "fallback"), "fallback");
    EXPECT_TRUE(ini.SectionNames().empty());
    EXPECT_EQ(ini.RemoveSection("Skins"), 0);
    EXPECT_FALSE(files.exists(kPath));

    EXPECT_EQ(ini.WriteString("Skins", "Path", "Default"), 0);
    EXPECT_EQ(text(), "[Skins]\nPath=Default\n");
}

TEST_F(IniFileTest, NamesCompareWithoutCaseAndBlanksAreTrimmed) {
    text() = "  [ Setting-EN ]  \r\n  Item1  =  Left Click  \r\nitem2=\r\n";
    EXPECT_EQ(ini.GetString("setting-en", "ITEM1"), "Left Click");
    EXPECT_EQ(ini.GetString("SETTING-EN", "Item2", "x"), "");
    EXPECT_EQ(ini.GetString("Setting-EN", "Item3", "x"), "x");
    EXPECT_EQ(ini.GetString("Other", "Item1"), "");
}

TEST_F(IniFileTest, WritesUpdateInPlaceAppendToSectionOrAppendSection) {
    text() = "; made by hand\n[A]\nk1=1\n\n# not ours\n[B]\nx=1\n";
    EXPECT_EQ(ini.WriteString("a", "K1", "one"), 0);
    EXPECT_EQ(ini.WriteString("A", "k2", "2"), 0);
    EXPECT_EQ(ini.WriteString("C", "z", "3"), 0);
    EXPECT_EQ(text(), "; made by hand\n[A]\nK1=one\nk2=2\n\n# not ours\n[B]\nx=1\n[C]\nz=3\n");
}

TEST_F(IniFileTest, KeepsTheLineEndsOfTheFile) {
    text() = "[A]\r\nk=1\r\n";
    ASSERT_EQ(ini.WriteString("A", "j", "2"), 0);
    EXPECT_EQ(text(), "[A]\r\nk=1\r\nj=2\r\n");
}

TEST_F(IniFileTest, RemoveSectionTakesItsLinesAndNothingElse) {
    text() = "[Copy]\nItemCount=1\nItem0=A   Dn\n; note\n[Paste]\nItemCount=0\n";
    EXPECT_EQ(ini.RemoveSection("COPY"), 0);
    EXPECT_EQ(text(), "[Paste]\nItemCount=0\n");
    EXPECT_EQ(ini.RemoveSection("Missing"), 0);
    EXPECT_EQ(text(), "[Paste]\nItemCount=0\n");
}

TEST_F(IniFileTest, ReplaceSectionMovesItToTheEnd) {
    text() = "[One]\nItemCount=2\nItem0=a\nItem1=b\n[Two]\nItemCount=0\n";
    const IniEntry entries[] = {{"ItemCount", "1"}, {"Item0", "c"}};
    EXPECT_EQ(ini.ReplaceSection("one", entries), 0);
    EXPECT_EQ(text(), "[Two]\nItemCount=0\n[one]\nItemCount=1\nItem0=c\n");
}

TEST_F(IniFileTest, SectionNamesInFileOrder) {
    text() = "junk before\n[Copy]\n[paste]\nk=v\n[Macro 3]\n";
    EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"Copy", "paste", "Macro 3"}));
}

TEST_F(IniFileTest, SectionNameBufferIsCutLikeThePlatformDoes) {
    text() = "[abc]\n[de]\n[fghij]\n";
    EXPECT_EQ(ini.SectionNameBuffer(1024), std::u32string(U"abc\0de\0fghij\0\0", 14));
    // Too small: the list is cut and still ends with two terminators.
    EXPECT_EQ(ini.SectionNameBuffer(9), std::u32string(U"abc\0de\0\0", 9));
    EXPECT_EQ(ini.SectionNameBuffer(6), std::u32string(U"abc\0\0\0", 6));
}

TEST_F(IniFileTest, ValuesAreCutToTheReadBuffer) {
    const std::string longValue(3000, 'x');
    ASSERT_EQ(ini.WriteString("A", "k", longValue), 0);
    EXPECT_EQ(ini.GetString("A", "k"), std::string(1023, 'x'));
    // Characters, not bytes: a cut never splits a Chinese character.
    std::string chinese;
    for (int i = 0; i < 1100; ++i) {
        chinese += "键";
    }
    ASSERT_EQ(ini.WriteString("A", "k", chinese), 0);
    EXPECT_EQ(Utf8ToCodePoints(ini.GetString("A", "k")).size(), 1023u);
}

TEST_F(IniFileTest, LineBreaksInAValueCannotMakeKeys) {
    ASSERT_EQ(ini.WriteString("A", "k", "x\n[Evil]\ny=1"), 0);
    EXPECT_EQ(ini.SectionNames(), std::vector<std::string>{"A"});
    EXPECT_EQ(ini.GetString("A", "k"), "x [Evil] y=1");
}

TEST_F(IniFileTest, DamagedFilesReadAndSurviveTheNextWrite) {
    const std::string junk("\x00\xff\xfe garbage \x01\x02", 15);
    const std::string longLine(100000, 'q');
    const struct {
        const char* name;
        std::string content;
    } cases[] = {
        {"binary junk", junk + "\n[A]\nk=1\n" + junk},
        {"no final newline", "[A]\nk=1"},
        {"very long line", longLine + "\n[A]\nk=1\n" + longLine},
        {"byte-order mark", "\xEF\xBB\xBF[A]\nk=1\n"},
        {"unclosed section header", "[A\nk=1\n"},
    };
    for (const auto& row : cases) {
        MemoryFileSystem files;
        files.files[kPath] = row.content;
        IniFile ini(files, kPath);
        EXPECT_EQ(ini.GetString("A", "k"), "1") << row.name;
        ASSERT_EQ(ini.WriteString("A", "j", "2"), 0) << row.name;
        EXPECT_EQ(ini.GetString("A", "k"), "1") << row.name;
        EXPECT_EQ(ini.GetString("A", "j"), "2") << row.name;
        const std::string after = files.files[kPath];
        const std::size_t keptPart = row.content.find("k=1");
        EXPECT_EQ(after.substr(0, keptPart), row.content.substr(0, keptPart))
            << row.name << ": the start is kept";
        EXPECT_GE(after.size(), row.content.size()) << row.name << ": nothing is dropped";
    }
}

TEST_F(IniFileTest, FailedWriteReturnsTheErrorAndKeepsTheFile) {
    text() = "[A]\nk=1\n";
    files.writeError = ENOSPC;
    EXPECT_EQ(ini.WriteString("A", "k", "2"), ENOSPC);
    EXPECT_EQ(ini.RemoveSection("A"), ENOSPC);
    EXPECT_EQ(text(), "[A]\nk=1\n");
}

TEST(LeadingInteger, ReadsLikeAtoi) {
    const struct {
        const char* text;
        long value;
    } cases[] = {{"300", 300}, {"  42abc", 42}, {"-1", -1},    {"+7", 7},
                 {"", 0},      {"abc", 0},      {"50 ms", 50}, {"99999999999999999999", 999999999999L}};
    for (const auto& row : cases) {
        EXPECT_EQ(LeadingInteger(row.text), row.value) << row.text;
    }
}

} // namespace
} // namespace quorvel
