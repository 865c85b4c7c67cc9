// Each code table held whole against its fixture under tests/data, entry by
// entry in table order, so that a swapped pair or a single typo anywhere in a
// table fails.

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "assign/dialog_lists.h"
#include "assign/key_codes.h"
#include "support/table_fixture.h"

namespace quorvel {
namespace {

using testing::FixtureNumber;
using testing::FixtureRow;
using testing::ReadTableFixture;

std::string Trace(const char* fixture, const FixtureRow& row) {
    return std::string(fixture) + " line " + std::to_string(row.line);
}

constexpr Language kLanguages[] = {Language::kEnglish, Language::kSimplifiedChinese,
                                   Language::kTraditionalChinese};

TEST(CodeTablesTest, KeyNameTableIsTheFixtureInOrder) {
    const auto rows = ReadTableFixture("key_names.tsv");
    const auto table = KeyNameTable();
    ASSERT_EQ(table.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(Trace("key_names.tsv", rows[i]));
        ASSERT_EQ(rows[i].fields.size(), 2u);
        const std::string& name = rows[i].fields[0];
        const long code = FixtureNumber(rows[i].fields[1]);
        EXPECT_EQ(table[i].name, name);
        EXPECT_EQ(int{table[i].code}, code);
        EXPECT_EQ(int{KeyCodeFromName(name)}, code);
        EXPECT_EQ(KeyNameFromCode(static_cast<Byte>(code)), name);
    }
}

TEST(CodeTablesTest, ModifierTableIsTheFixtureInOrder) {
    const auto rows = ReadTableFixture("modifiers.tsv");
    const auto table = ModifierTable();
    ASSERT_EQ(table.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(Trace("modifiers.tsv", rows[i]));
        ASSERT_EQ(rows[i].fields.size(), 2u);
        EXPECT_EQ(table[i].name, rows[i].fields[0]);
        EXPECT_EQ(int{table[i].bit}, FixtureNumber(rows[i].fields[1]));
        EXPECT_EQ(int{ModifierBitFromName(rows[i].fields[0])}, FixtureNumber(rows[i].fields[1]));
    }
}

TEST(CodeTablesTest, FireKeyListIsTheFixtureInOrder) {
    const auto rows = ReadTableFixture("fire_keys.tsv");
    ASSERT_EQ(FireKeyList().size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(Trace("fire_keys.tsv", rows[i]));
        ASSERT_EQ(rows[i].fields.size(), 2u);
        const int position = static_cast<int>(i);
        EXPECT_EQ(FireKeyText(position), rows[i].fields[0]);
        EXPECT_EQ(int{FireKeyCode(position)}, FixtureNumber(rows[i].fields[1]));
    }
}

// Media and Windows-key lists: usage, then the text in each language.
void ExpectConsumerList(const char* fixture, std::span<const ConsumerKeyEntry> list,
                        std::string_view (*text)(Language, int), std::uint16_t (*usage)(int)) {
    const auto rows = ReadTableFixture(fixture);
    ASSERT_EQ(list.size(), rows.size()) << fixture;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(Trace(fixture, rows[i]));
        ASSERT_EQ(rows[i].fields.size(), 1u + kLanguageCount);
        const int position = static_cast<int>(i);
        EXPECT_EQ(usage(position), FixtureNumber(rows[i].fields[0]));
        for (const Language language : kLanguages) {
            EXPECT_EQ(text(language, position), rows[i].fields[1 + static_cast<std::size_t>(language)]);
        }
    }
}

TEST(CodeTablesTest, MediaKeyListIsTheFixtureInOrder) {
    ExpectConsumerList("media_keys.tsv", MediaKeyList(), MediaKeyText, MediaUsage);
}

TEST(CodeTablesTest, ApplicationKeyListIsTheFixtureInOrder) {
    ExpectConsumerList("application_keys.tsv", ApplicationKeyList(), ApplicationKeyText, ApplicationUsage);
}

} // namespace
} // namespace quorvel
