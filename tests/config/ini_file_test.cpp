#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <set>

#include "config/ini_file.h"
#include "lang/utf8.h"
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
    EXPECT_EQ(ini.RemoveSection("Skins"), std::nullopt);
    EXPECT_FALSE(files.exists(kPath));

    EXPECT_EQ(ini.WriteString("Skins", "Path", "Default"), std::nullopt);
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
    EXPECT_EQ(ini.WriteString("a", "K1", "one"), std::nullopt);
    EXPECT_EQ(ini.WriteString("A", "k2", "2"), std::nullopt);
    EXPECT_EQ(ini.WriteString("C", "z", "3"), std::nullopt);
    EXPECT_EQ(text(), "; made by hand\n[A]\nK1=one\nk2=2\n\n# not ours\n[B]\nx=1\n[C]\nz=3\n");
}

TEST_F(IniFileTest, KeepsTheLineEndsOfTheFile) {
    text() = "[A]\r\nk=1\r\n";
    ASSERT_EQ(ini.WriteString("A", "j", "2"), std::nullopt);
    EXPECT_EQ(text(), "[A]\r\nk=1\r\nj=2\r\n");
}

// Carriage returns left at a line's end (a damaged file) are dropped on the
// first reading, so that what is written reads back as itself.
TEST(IniDocumentTest, StrayCarriageReturnsAtLineEndsReadBackTheSame) {
    for (const char* content : {"[s]\nk=\r\r\r\r\nj=1\n", "[s]\r\r\nk=v\r\r\r", "[s]\nk=a\rb\n"}) {
        const IniDocument once(content);
        EXPECT_EQ(IniDocument(once.text()).text(), once.text()) << content;
        EXPECT_EQ(once.getString("s", "k", "-"), IniDocument(once.text()).getString("s", "k", "-"))
            << content;
    }
}

// The one-pass lookup of a few values reads every file as the document does.
TEST(IniValuesTest, ReadsAsTheDocumentReads) {
    const std::string longValue(2000, 'v');
    const char* const contents[] = {
        "",
        "  [ s ]  \r\n  K  =  one  \r\nj=\r\n",
        "[s]\nk=first\nk=second\n[s]\nj=later section\n[t]\nj=t\n",
        "[t]\nk=t\n[S]\nK='quoted'\n",
        "\xEF\xBB\xBF[s]\nk=after a byte-order mark\n",
        "\xEF\xBB\xBF\xEF\xBB\xBF[s]\nk=after two\n",
        "k=before any section\n[s\nk=unclosed\n; k=comment\n",
        "[s]\r\r\nk=v\r\r\r",
        "[s]\nj\nk\n=x\nk=late\n",
    };
    const std::string_view keys[] = {"k", "J", "missing"};
    for (const std::string content : contents) {
        const IniDocument document(content);
        for (const std::string_view section : {"s", "t", "none"}) {
            const std::vector<std::string> values = IniValues(content, section, keys);
            ASSERT_EQ(values.size(), std::size(keys));
            for (std::size_t k = 0; k < std::size(keys); ++k) {
                EXPECT_EQ(values[k], document.getString(section, keys[k]))
                    << content << " [" << section << "] " << keys[k];
            }
        }
    }
    const std::string cut = "[s]\nk=" + longValue + "\n";
    const std::string_view k[] = {"k"};
    EXPECT_EQ(IniValues(cut, "s", k).front(), IniDocument(cut).getString("s", "k"));
    EXPECT_EQ(IniValues(cut, "s", k).front().size(), kIniBufferChars - 1);
}

TEST_F(IniFileTest, RemoveSectionTakesItsLinesAndNothingElse) {
    text() = "[Copy]\nItemCount=1\nItem0=A   Dn\n; note\n[Paste]\nItemCount=0\n";
    EXPECT_EQ(ini.RemoveSection("COPY"), std::nullopt);
    EXPECT_EQ(text(), "[Paste]\nItemCount=0\n");
    EXPECT_EQ(ini.RemoveSection("Missing"), std::nullopt);
    EXPECT_EQ(text(), "[Paste]\nItemCount=0\n");
}

TEST_F(IniFileTest, ReplaceSectionMovesItToTheEnd) {
    text() = "[One]\nItemCount=2\nItem0=a\nItem1=b\n[Two]\nItemCount=0\n";
    const IniEntry entries[] = {{"ItemCount", "1"}, {"Item0", "c"}};
    EXPECT_EQ(ini.ReplaceSection("one", entries), std::nullopt);
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
    EXPECT_EQ(ini.SectionNameBuffer(9), std::u32string(U"abc\0de\0\0\0", 9));
    EXPECT_EQ(ini.SectionNameBuffer(6), std::u32string(U"abc\0\0\0", 6));
}

TEST_F(IniFileTest, ValuesAreCutToTheReadBuffer) {
    const std::string longValue(3000, 'x');
    ASSERT_EQ(ini.WriteString("A", "k", longValue), std::nullopt);
    EXPECT_EQ(ini.GetString("A", "k"), std::string(1023, 'x'));
    // Characters, not bytes: a cut never splits a Chinese character.
    std::string chinese;
    for (int i = 0; i < 1100; ++i) {
        chinese += "键";
    }
    ASSERT_EQ(ini.WriteString("A", "k", chinese), std::nullopt);
    EXPECT_EQ(Utf8ToCodePoints(ini.GetString("A", "k")).size(), 1023u);
}

TEST_F(IniFileTest, LineBreaksInAValueCannotMakeKeys) {
    ASSERT_EQ(ini.WriteString("A", "k", "x\n[Evil]\ny=1"), std::nullopt);
    EXPECT_EQ(ini.SectionNames(), std::vector<std::string>{"A"});
    EXPECT_EQ(ini.GetString("A", "k"), "x [Evil] y=1");
}

// Reading trims blanks around a value and takes off outer quotes; a value
// that has either is written in quotes so that it reads back as itself.
TEST_F(IniFileTest, ValuesWithBlankEndsOrOuterQuotesReadBackAsThemselves) {
    const struct {
        std::string value;
        std::string line;
    } cases[] = {
        {"Left Click", "k=Left Click"},
        {" Left ", "k=\" Left \""},
        {"\vx", "k=\"\vx\""},
        {"   ", "k=\"   \""},
        {"\"quoted\"", "k=\"\"quoted\"\""},
        {"'single'", "k=\"'single'\""},
        {"\"half", "k=\"half"},
        {"", "k="},
        {"tail\n", "k=tail"}, // a line break at the end is no part of a line
    };
    for (const auto& row : cases) {
        ASSERT_EQ(ini.WriteString("A", "k", row.value), std::nullopt);
        const std::string& text = files.files[kPath];
        EXPECT_NE(text.find(row.line + "\n"), std::string::npos) << text;
        EXPECT_EQ(ini.GetString("A", "k"), row.value == "tail\n" ? "tail" : row.value) << row.line;
    }
}

TEST_F(IniFileTest, DamagedFilesReadAndSurviveTheNextWrite) {
    const std::string junk("\x00\xff\xfe garbage \x01\x02\x00", 15);
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
        ASSERT_EQ(ini.WriteString("A", "j", "2"), std::nullopt) << row.name;
        EXPECT_EQ(ini.GetString("A", "k"), "1") << row.name;
        EXPECT_EQ(ini.GetString("A", "j"), "2") << row.name;
        const std::string after = files.files[kPath];
        const std::size_t keptPart = row.content.find("k=1");
        EXPECT_EQ(after.substr(0, keptPart), row.content.substr(0, keptPart))
            << row.name << ": the start is kept";
        EXPECT_GE(after.size(), row.content.size()) << row.name << ": nothing is dropped";
    }
}

// Values the file already holds are not written again (the program sets the
// default labels at every start until the first Apply): nothing is written
// or flushed unless the text would change.
TEST_F(IniFileTest, WritingValuesTheFileHoldsLeavesItUntouched) {
    const IniEntry entries[] = {{"Item1", "Left Click"}, {"Item2", "Right Click"}};
    const struct {
        const char* name;
        std::string content;
        bool written;
    } cases[] = {
        {"both held", "[Setting-EN]\nItem1=Left Click\nItem2=Right Click\n", false},
        {"held among other sections", "; mine\n[Skins]\nPath=x\n[setting-en]\nItem2=Right Click\nItem1=Left Click\n[B]\n",
         false},
        {"held, but spaced otherwise",
         "; mine\n[Skins]\nPath=x\n[setting-en]\nItem1 = Left Click\nItem2=Right Click\n", true},
        {"one differs", "[Setting-EN]\nItem1=Left Click\nItem2=Mid Click\n", true},
        {"one missing", "[Setting-EN]\nItem1=Left Click\n", true},
        {"no final line break", "[Setting-EN]\nItem1=Left Click\nItem2=Right Click", true},
        {"no such section", "[Skins]\nPath=x\n", true},
        {"no file", "", true},
    };
    for (const auto& row : cases) {
        MemoryFileSystem files;
        if (!row.content.empty()) {
            files.files[kPath] = row.content;
        }
        IniFile file(files, kPath);
        EXPECT_EQ(file.WriteStrings("Setting-EN", entries), std::nullopt) << row.name;
        EXPECT_EQ(files.writes, row.written ? 1 : 0) << row.name;
        EXPECT_EQ(file.GetString("Setting-EN", "Item2"), "Right Click") << row.name;
    }
    // A name the format cannot hold (a lone carriage return inside it) is
    // refused, even where a line of someone else's file reads as if the
    // file held it.
    for (const auto& [section, key] : {std::pair{"A\rB", "k"}, {"A", "k\rm"}}) {
        MemoryFileSystem files;
        files.files[kPath] = "[A\rB]\nk=1\n[A]\nk\rm=1\n";
        IniFile file(files, kPath);
        ASSERT_EQ(file.GetString(section, key, "<missing>"), "1") << key;
        EXPECT_EQ(file.WriteString(section, key, "1"), (FileError{FileError::Kind::BadName, kPath})) << key;
        EXPECT_EQ(files.writes, 0) << key;
    }
}

TEST_F(IniFileTest, FailedWriteReturnsTheErrorAndKeepsTheFile) {
    text() = "[A]\nk=1\n";
    files.writeError = ENOSPC;
    const FileError full{FileError::Kind::WriteFailed, kPath, ENOSPC};
    EXPECT_EQ(ini.WriteString("A", "k", "2"), full);
    EXPECT_EQ(ini.RemoveSection("A"), full);
    EXPECT_EQ(text(), "[A]\nk=1\n");
}

// A file that is there but cannot be read is not an empty file: writing
// "into" it would throw away every other section.
TEST(IniFile, AFileThatCannotBeReadIsNeverWrittenOver) {
    using Kind = FileError::Kind;
    const std::string content = "[Setting-EN]\nItem1=Mine\n[Skins]\nPath=Carbon\n[Setting-CHS]\nItem1=x\n";
    const struct {
        const char* name;
        std::set<std::filesystem::path> MemoryFileSystem::*trouble;
        std::string content;
        FileError error;
    } cases[] = {
        {"unreadable", &MemoryFileSystem::unreadable, content, {Kind::ReadFailed, kPath, EACCES}},
        {"not a file", &MemoryFileSystem::notFiles, content, {Kind::NotAFile, kPath}},
        {"over the size cap",
         nullptr,
         content + std::string(5 << 20, ';'),
         {Kind::TooLarge, kPath, 0, content.size() + (5 << 20)}},
    };
    const IniEntry entries[] = {{"Item1", "Left Click"}};
    for (const auto& row : cases) {
        MemoryFileSystem files;
        files.files[kPath] = row.content;
        if (row.trouble != nullptr) {
            (files.*row.trouble).insert(kPath);
        }
        IniFile ini(files, kPath);
        EXPECT_EQ(ini.WriteString("Setting-EN", "Item1", "Left Click"), row.error) << row.name;
        EXPECT_EQ(ini.WriteStrings("Setting-EN", entries), row.error) << row.name;
        EXPECT_EQ(ini.ReplaceSection("Setting-EN", entries), row.error) << row.name;
        EXPECT_EQ(ini.RemoveSection("Skins"), row.error) << row.name;
        EXPECT_EQ(files.writes, 0) << row.name;
        EXPECT_EQ(files.files[kPath], row.content) << row.name;
    }
}

// Names that would read back as a section header, a comment or a second
// key are refused, and the file is left alone.
TEST_F(IniFileTest, NamesTheFormatCannotHoldAreRefused) {
    text() = "[A]\nk=1\n";
    const struct {
        const char* section;
        const char* key;
    } cases[] = {
        {"A", "[B]"},     {"A", "  [B"}, {"A", "x=y"},    {"A", "x\ny"}, {"A", "x\r"},
        {"A", ";hidden"}, {"B]", "k"},   {"B\n[A]", "k"}, {"\nA", "k"},
    };
    const FileError refused{FileError::Kind::BadName, kPath};
    for (const auto& row : cases) {
        const IniEntry entries[] = {{row.key, "v"}};
        EXPECT_EQ(ini.WriteString(row.section, row.key, "v"), refused) << row.section << " / " << row.key;
        EXPECT_EQ(ini.ReplaceSection(row.section, entries), refused) << row.section << " / " << row.key;
    }
    EXPECT_EQ(files.writes, 0);
    EXPECT_EQ(text(), "[A]\nk=1\n");
    // Blanks around a name are no fault: they are dropped, as reading drops them.
    EXPECT_EQ(ini.WriteString(" A ", " j ", "2"), std::nullopt);
    EXPECT_EQ(ini.GetString("A", "j"), "2");
    EXPECT_EQ(ini.GetString("  a", "J  "), "2");
}

// Reading finds a section whatever the case of its name, so removing it
// must remove every section of that name, or the old one reads back.
TEST_F(IniFileTest, RemovingASectionRemovesEverySectionOfThatName) {
    text() = "[Copy]\nItemCount=1\n[Paste]\nItemCount=2\n[COPY]\nItemCount=3\n[copy ]\nItemCount=4\n";
    const IniEntry entries[] = {{"ItemCount", "5"}};
    EXPECT_EQ(ini.ReplaceSection("Copy", entries), std::nullopt);
    EXPECT_EQ(text(), "[Paste]\nItemCount=2\n[Copy]\nItemCount=5\n");
    EXPECT_EQ(ini.GetString("COPY", "ItemCount"), "5");
    EXPECT_EQ(ini.RemoveSection("cOpY"), std::nullopt);
    EXPECT_EQ(text(), "[Paste]\nItemCount=2\n");
}

TEST(LeadingInteger, ReadsLikeAtoi) {
    // Absurd numbers saturate; long has 32 bits on Windows.
    constexpr long kSaturated = static_cast<long>(std::min<long long>(999999999999LL, LONG_MAX));
    const struct {
        const char* text;
        long value;
    } cases[] = {{"300", 300}, {"  42abc", 42}, {"-1", -1},    {"+7", 7},
                 {"", 0},      {"abc", 0},      {"50 ms", 50}, {"99999999999999999999", kSaturated}};
    for (const auto& row : cases) {
        EXPECT_EQ(LeadingInteger(row.text), row.value) << row.text;
    }
}

} // namespace
} // namespace quorvel
