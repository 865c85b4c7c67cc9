#include "assign/key_codes.h"

#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace quorvel {
namespace {

struct NameCase {
    std::string_view name;
    Byte code;
};

class KeyCodeFromNameTest : public testing::TestWithParam<NameCase> {};

TEST_P(KeyCodeFromNameTest, GivesTheCode) {
    EXPECT_EQ(KeyCodeFromName(GetParam().name), GetParam().code) << '"' << GetParam().name << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Names, KeyCodeFromNameTest,
    testing::Values(NameCase{"A", 0x04}, NameCase{"Z", 0x1D}, NameCase{"1", 0x1E}, NameCase{"9", 0x26},
                    NameCase{"0", 0x27}, NameCase{"Enter", 0x28}, NameCase{"Esc", 0x29},
                    NameCase{"Space", 0x2C}, NameCase{"-", 0x2D}, NameCase{"]", 0x30},
                    NameCase{"Eurpo(Note 2)", 0x32}, NameCase{";", 0x33}, NameCase{"'", 0x34},
                    NameCase{"`", 0x35}, NameCase{"/", 0x38}, NameCase{"Caps Lock", 0x39},
                    NameCase{"F1", 0x3A}, NameCase{"F10", 0x43}, NameCase{"F12", 0x45},
                    NameCase{"Prnt Scrn", 0x46}, NameCase{"Pause", 0x48}, NameCase{"Insert", 0x49},
                    NameCase{"Page Down", 0x4E}, NameCase{"Right", 0x4F}, NameCase{"Up", 0x52},
                    NameCase{"Num Lock", 0x53}, NameCase{"Num /", 0x54}, NameCase{"Num Enter", 0x58},
                    NameCase{"Num 1", 0x59}, NameCase{"Num 9", 0x61}, NameCase{"Num 0", 0x62},
                    NameCase{"Num Del", 0x63}, NameCase{"Ctrl", 0xE0}, NameCase{"Shift", 0xE1},
                    NameCase{"Alt", 0xE2}, NameCase{"Left Windows", 0xE3}, NameCase{"Right Ctrl", 0xE4},
                    NameCase{"Right Windows", 0xE7}, NameCase{"L-Button", 0xF0}, NameCase{"R-Button", 0xF1},
                    NameCase{"M-Button", 0xF2}));

// Names the table does not hold, spelled wrongly, in another case or another
// language, give 0: the word then carries no key.
INSTANTIATE_TEST_SUITE_P(UnknownNames, KeyCodeFromNameTest,
                         testing::Values(NameCase{"", 0}, NameCase{"a", 0}, NameCase{"z", 0},
                                         NameCase{"enter", 0}, NameCase{"ENTER", 0}, NameCase{"f1", 0},
                                         NameCase{"num 0", 0}, NameCase{" A", 0}, NameCase{"A ", 0},
                                         NameCase{"Left Ctrl", 0}, NameCase{"Right Control", 0},
                                         NameCase{"\\", 0}, NameCase{"Europe(Note 2)", 0},
                                         NameCase{"Eurpo (Note 2)", 0}, NameCase{"B4-Button", 0},
                                         NameCase{"L-CTRL", 0}, NameCase{"回车", 0}));

TEST(KeyNameTableTest, Holds106DistinctNamesAndCodes) {
    ASSERT_EQ(KeyNameTable().size(), static_cast<std::size_t>(kKeyNameCount));
    EXPECT_EQ(kKeyNameCount, 106);
    std::set<std::string_view> names;
    std::set<int> codes;
    for (const KeyName& key : KeyNameTable()) {
        EXPECT_FALSE(key.name.empty());
        EXPECT_NE(key.code, 0);
        names.insert(key.name);
        codes.insert(key.code);
        EXPECT_EQ(KeyCodeFromName(key.name), key.code) << key.name;
    }
    EXPECT_EQ(names.size(), 106u);
    EXPECT_EQ(codes.size(), 106u);
}

TEST(KeyNameTableTest, CoversTheKeyboardUsagesExceptBackslashAndTheThreeMouseCodes) {
    std::set<int> expected;
    for (int code = 0x04; code <= 0x63; ++code) {
        if (code != 0x31) {
            expected.insert(code);
        }
    }
    for (int code = 0xE0; code <= 0xE7; ++code) {
        expected.insert(code);
    }
    expected.insert({0xF0, 0xF1, 0xF2});
    std::set<int> codes;
    for (const KeyName& key : KeyNameTable()) {
        codes.insert(key.code);
    }
    EXPECT_EQ(codes, expected);
}

TEST(KeyNameTableTest, StartsWithTheLettersAndEndsWithTheMouseButtons) {
    const auto table = KeyNameTable();
    EXPECT_EQ(table.front().name, "A");
    EXPECT_EQ(table[26].name, "1");
    EXPECT_EQ(table[35].name, "0");
    EXPECT_EQ(table[table.size() - 3].name, "L-Button");
    EXPECT_EQ(table.back().name, "M-Button");
}

TEST(KeyNameFromCodeTest, GivesTheTableName) {
    EXPECT_EQ(KeyNameFromCode(0x04), "A");
    EXPECT_EQ(KeyNameFromCode(0x27), "0");
    EXPECT_EQ(KeyNameFromCode(0x62), "Num 0");
    EXPECT_EQ(KeyNameFromCode(0x32), "Eurpo(Note 2)");
    EXPECT_EQ(KeyNameFromCode(0xE0), "Ctrl");
    EXPECT_EQ(KeyNameFromCode(0xE4), "Right Ctrl");
    EXPECT_EQ(KeyNameFromCode(0xF2), "M-Button");
}

TEST(KeyNameFromCodeTest, CodesWithoutANameGiveTheEmptyName) {
    EXPECT_EQ(KeyNameFromCode(0x00), "");
    EXPECT_EQ(KeyNameFromCode(0x31), "");
    EXPECT_EQ(KeyNameFromCode(0x64), "");
    EXPECT_EQ(KeyNameFromCode(0xF3), "");
    EXPECT_EQ(KeyNameFromCode(0xFF), "");
}

TEST(KeyNameFromCodeTest, IsTheInverseOfKeyCodeFromName) {
    for (const KeyName& key : KeyNameTable()) {
        EXPECT_EQ(KeyNameFromCode(KeyCodeFromName(key.name)), key.name);
    }
}

// Every key of the table a keyboard has is found by its scan code, once.
TEST(KeyCodeFromPcScanCodeTest, FindsEveryKeyboardKeyOfTheTableOnce) {
    std::set<Byte> found;
    for (int scanCode = 0; scanCode < 0x80; ++scanCode) {
        for (const bool extended : {false, true}) {
            if (const Byte code = KeyCodeFromPcScanCode(scanCode, extended); code != 0) {
                EXPECT_FALSE(KeyNameFromCode(code).empty()) << scanCode;
                EXPECT_TRUE(found.insert(code).second) << "twice: " << KeyNameFromCode(code);
            }
        }
    }
    for (const KeyName& key : KeyNameTable()) {
        const bool keyboardKey = key.code < 0xF0 && key.code != 0x32; // not the mouse, not the ISO "#" key
        EXPECT_EQ(found.count(key.code), keyboardKey ? 1u : 0u) << key.name;
    }
}

TEST(StorableKeyNameTest, KeepsANameTheTableKnowsElseNamesTheKeyByItsScanCode) {
    const struct {
        std::string_view system;
        int scanCode;
        bool extended;
        std::string_view stored;
    } cases[] = {
        {"A", 0x1E, false, "A"},
        {"A", 0x10, false, "A"}, // a French layout's A, where a US layout has Q: as the user sees it
        {"Strg", 0x1D, false, "Ctrl"},          // a German layout
        {"Control", 0x1D, true, "Right Ctrl"},  // Wine's X11 names
        {"KP_Begin", 0x4C, false, "Num 5"},
        {"Return", 0x1C, true, "Num Enter"},
        {"", 0x01, false, "Esc"},               // the system has no name
        {"Pause", 0x45, false, "Pause"},
        {"", 0x45, true, "Num Lock"},
        {"\\", 0x2B, false, ""},                // the table has no backslash
        {"Mail", 0x6C, true, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StorableKeyName(c.system, c.scanCode, c.extended), c.stored) << c.system << " " << c.scanCode;
    }
}

TEST(ModifierTableTest, ListsTheEightModifiersInDialogOrder) {
    const auto table = ModifierTable();
    ASSERT_EQ(table.size(), static_cast<std::size_t>(kModifierCount));
    const NameCase expected[] = {{"Left Ctrl", 0x01}, {"Left Shift", 0x02}, {"Left Alt", 0x04},
                                 {"Left Win", 0x08},  {"Right Ctrl", 0x10}, {"Right Shift", 0x20},
                                 {"Right Alt", 0x40}, {"Right Win", 0x80}};
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].name, expected[i].name) << i;
        EXPECT_EQ(table[i].bit, expected[i].code) << i;
    }
}

TEST(ModifierBitFromNameTest, GivesTheBitOfEachModifier) {
    EXPECT_EQ(ModifierBitFromName("Left Ctrl"), 0x01);
    EXPECT_EQ(ModifierBitFromName("Left Shift"), 0x02);
    EXPECT_EQ(ModifierBitFromName("Left Alt"), 0x04);
    EXPECT_EQ(ModifierBitFromName("Left Win"), 0x08);
    EXPECT_EQ(ModifierBitFromName("Right Ctrl"), 0x10);
    EXPECT_EQ(ModifierBitFromName("Right Shift"), 0x20);
    EXPECT_EQ(ModifierBitFromName("Right Alt"), 0x40);
    EXPECT_EQ(ModifierBitFromName("Right Win"), 0x80);
}

TEST(ModifierBitFromNameTest, AnyOtherTextGivesZero) {
    EXPECT_EQ(ModifierBitFromName(""), 0);
    EXPECT_EQ(ModifierBitFromName("left ctrl"), 0);
    EXPECT_EQ(ModifierBitFromName("Ctrl"), 0);
    EXPECT_EQ(ModifierBitFromName("Left Windows"), 0);
    EXPECT_EQ(ModifierBitFromName("Right Win "), 0);
}

struct PositionCase {
    int position;
    int code;
};

TEST(FireKeyCodeTest, GivesTheKeyByteOfEachPosition) {
    const PositionCase cases[] = {{0, 0x04},  {25, 0x1D}, {26, 0x1E}, {34, 0x26}, {35, 0x27},
                                  {36, 0xE0}, {37, 0xE1}, {38, 0xE2}, {39, 0xE4}, {40, 0xE5},
                                  {41, 0xE6}, {42, 0x3A}, {53, 0x45}, {54, 0xF0}, {55, 0xF1},
                                  {56, 0xF2}, {57, 0xF3}, {58, 0xF4}, {59, 0xF5}, {60, 0xF6}};
    for (const PositionCase& c : cases) {
        EXPECT_EQ(FireKeyCode(c.position), c.code) << "position " << c.position;
    }
}

TEST(FireKeyCodeTest, LettersDigitsAndFunctionKeysRunInOrder) {
    for (int i = 0; i < 26; ++i) {
        EXPECT_EQ(FireKeyCode(i), 0x04 + i);
    }
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(FireKeyCode(26 + i), 0x1E + i);
    }
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(FireKeyCode(42 + i), 0x3A + i);
    }
}

TEST(FireKeyCodeTest, PositionsOutsideTheListGiveZero) {
    EXPECT_EQ(FireKeyCode(61), 0);
    EXPECT_EQ(FireKeyCode(255), 0);
    EXPECT_EQ(FireKeyCode(-1), 0);
}

TEST(MediaUsageTest, GivesTheConsumerUsageOfEachPosition) {
    const PositionCase cases[] = {{0, 0xB5}, {1, 0xB6}, {2, 0xB7}, {3, 0xCD},
                                  {4, 0xE2}, {5, 0xE9}, {6, 0xEA}};
    for (const PositionCase& c : cases) {
        EXPECT_EQ(MediaUsage(c.position), c.code) << "position " << c.position;
    }
}

TEST(MediaUsageTest, PositionsOutsideTheListGiveZero) {
    EXPECT_EQ(MediaUsage(7), 0);
    EXPECT_EQ(MediaUsage(255), 0);
    EXPECT_EQ(MediaUsage(-1), 0);
}

TEST(ApplicationUsageTest, GivesTheConsumerUsageOfEachPosition) {
    const PositionCase cases[] = {{0, 0x0183}, {1, 0x018A}, {2, 0x0192}, {3, 0x0194},
                                  {4, 0x0221}, {5, 0x0223}, {6, 0x0224}, {7, 0x0225},
                                  {8, 0x0226}, {9, 0x0227}, {10, 0x022A}};
    for (const PositionCase& c : cases) {
        EXPECT_EQ(ApplicationUsage(c.position), c.code) << "position " << c.position;
    }
}

// The button model stores the high byte as 1 for positions 0-3, 2 for 4-10 and 0 above.
TEST(ApplicationUsageTest, HighByteFollowsThePosition) {
    for (int position = 0; position <= 12; ++position) {
        const int high = position <= 3 ? 1 : position <= 10 ? 2 : 0;
        EXPECT_EQ(ApplicationUsage(position) >> 8, high) << "position " << position;
    }
}

TEST(ApplicationUsageTest, PositionsOutsideTheListGiveZero) {
    EXPECT_EQ(ApplicationUsage(11), 0);
    EXPECT_EQ(ApplicationUsage(255), 0);
    EXPECT_EQ(ApplicationUsage(-1), 0);
}

} // namespace
} // namespace quorvel
