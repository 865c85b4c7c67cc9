// All texts of the language table, in all three languages, held against the
// fixture under tests/data in table order.

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "lang/texts.h"
#include "support/table_fixture.h"

namespace quorvel {
namespace {

// The fixture writes a line break inside a text as \n.
std::string WithLineBreaks(std::string field) {
    for (std::size_t at = field.find("\\n"); at != std::string::npos; at = field.find("\\n", at + 1)) {
        field.replace(at, 2, "\n");
    }
    return field;
}

TEST(TextsTableTest, EveryTextInEveryLanguageIsTheFixtures) {
    const auto rows = testing::ReadTableFixture("interface_texts.tsv");
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kTextCount));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE("interface_texts.tsv line " + std::to_string(rows[i].line));
        ASSERT_EQ(rows[i].fields.size(), static_cast<std::size_t>(kLanguageCount));
        for (int language = 0; language < kLanguageCount; ++language) {
            EXPECT_EQ(Text(static_cast<Language>(language), static_cast<TextId>(i)),
                      WithLineBreaks(rows[i].fields[static_cast<std::size_t>(language)]))
                << "language " << language;
        }
    }
    EXPECT_EQ(Text(Language::kEnglish, static_cast<TextId>(kTextCount)), "") << "nothing past the table";
}

} // namespace
} // namespace quorvel
