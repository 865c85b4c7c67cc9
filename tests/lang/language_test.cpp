#include "lang/language.h"

#include <cstdint>

#include <gtest/gtest.h>

namespace quorvel {
namespace {

struct LanguageCase {
    std::uint16_t langId;
    Language language;
};

class LanguageFromLangIdTest : public testing::TestWithParam<LanguageCase> {};

TEST_P(LanguageFromLangIdTest, ChoosesTheInterfaceLanguage) {
    EXPECT_EQ(LanguageFromLangId(GetParam().langId), GetParam().language);
}

// Only the PRC (0x804) and Taiwan (0x404) identifiers choose Chinese; Hong Kong,
// Singapore, Macao and the bare Chinese primary language get English.
INSTANTIATE_TEST_SUITE_P(
    SystemDefaultLanguages, LanguageFromLangIdTest,
    testing::Values(LanguageCase{0x804, Language::kSimplifiedChinese},
                    LanguageCase{0x404, Language::kTraditionalChinese},
                    LanguageCase{0xC04, Language::kEnglish}, LanguageCase{0x1004, Language::kEnglish},
                    LanguageCase{0x1404, Language::kEnglish}, LanguageCase{0x004, Language::kEnglish},
                    LanguageCase{0x409, Language::kEnglish}, LanguageCase{0x407, Language::kEnglish},
                    LanguageCase{0x000, Language::kEnglish}));

} // namespace
} // namespace quorvel
