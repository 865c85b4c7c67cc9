#include "system/linux/locale_language.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "lang/language.h"

namespace quorvel {
namespace {

struct LocaleCase {
    std::string_view locale;
    std::uint16_t langId;
};

class LangIdFromLocaleNameTest : public testing::TestWithParam<LocaleCase> {};

TEST_P(LangIdFromLocaleNameTest, GivesTheWindowsLanguageIdentifier) {
    EXPECT_EQ(LangIdFromLocaleName(GetParam().locale), GetParam().langId) << GetParam().locale;
}

INSTANTIATE_TEST_SUITE_P(LocaleNames, LangIdFromLocaleNameTest,
                         testing::Values(LocaleCase{"zh_CN", 0x804}, LocaleCase{"zh_CN.UTF-8", 0x804},
                                         LocaleCase{"zh_CN.GB18030", 0x804}, LocaleCase{"zh_SG", 0x804},
                                         LocaleCase{"zh_SG.UTF-8", 0x804}, LocaleCase{"zh_TW", 0x404},
                                         LocaleCase{"zh_TW.UTF-8", 0x404},
                                         LocaleCase{"zh_TW.Big5@something", 0x404},
                                         LocaleCase{"zh_TW@something", 0x404}, LocaleCase{"zh_HK", 0xC04},
                                         LocaleCase{"zh_HK.UTF-8", 0xC04}, LocaleCase{"en_US", 0x409},
                                         LocaleCase{"en_US.UTF-8", 0x409}, LocaleCase{"de_DE.UTF-8", 0x409},
                                         LocaleCase{"C", 0x409}, LocaleCase{"C.UTF-8", 0x409},
                                         LocaleCase{"POSIX", 0x409}, LocaleCase{"", 0x409},
                                         LocaleCase{"zh", 0x409}, LocaleCase{"zh_MO.UTF-8", 0x409},
                                         LocaleCase{"zh_CNX", 0x409}));

TEST(LangIdFromLocaleVariablesTest, TheFirstSetVariableDecidesInTheDesktopsOrder) {
    const struct {
        std::string_view language, lcAll, lcMessages, lang;
        std::uint16_t langId;
    } cases[] = {
        {"zh_TW:zh_CN:en", "en_US.UTF-8", "en_US.UTF-8", "en_US.UTF-8", 0x404}, // LANGUAGE's first entry
        {"en_GB:zh_CN", "zh_CN.UTF-8", "", "", 0x409},                          // only the first entry
        {":zh_CN", "zh_TW.UTF-8", "", "", 0x404},                               // an empty first entry is unset
        {"", "zh_TW.UTF-8", "zh_CN.UTF-8", "zh_HK.UTF-8", 0x404},
        {"", "en_US.UTF-8", "zh_CN.UTF-8", "zh_CN.UTF-8", 0x409},
        {"", "", "zh_CN.UTF-8", "zh_TW.UTF-8", 0x804},
        {"", "", "C", "zh_TW.UTF-8", 0x409},
        {"", "", "", "zh_HK.UTF-8", 0xC04},
        {"", "", "", "", 0x409},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(LangIdFromLocaleVariables(row.language, row.lcAll, row.lcMessages, row.lang), row.langId)
            << row.language << " | " << row.lcAll << " | " << row.lcMessages << " | " << row.lang;
    }
}

// Sets or unsets one environment variable and puts the old value back.
class ScopedEnvironmentVariable {
public:
    ScopedEnvironmentVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        if (value != nullptr) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnvironmentVariable() {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
    ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(SystemDefaultLangIdTest, ReadsTheLocaleVariablesOfTheEnvironment) {
    ScopedEnvironmentVariable language("LANGUAGE", nullptr);
    ScopedEnvironmentVariable lcAll("LC_ALL", nullptr);
    ScopedEnvironmentVariable lcMessages("LC_MESSAGES", "");
    ScopedEnvironmentVariable lang("LANG", "zh_TW.UTF-8");
    EXPECT_EQ(SystemDefaultLangId(), 0x404);
    {
        ScopedEnvironmentVariable messages("LC_MESSAGES", "zh_CN.UTF-8");
        EXPECT_EQ(SystemDefaultLangId(), 0x804);
        ScopedEnvironmentVariable all("LC_ALL", "C.UTF-8");
        EXPECT_EQ(SystemDefaultLangId(), 0x409);
        ScopedEnvironmentVariable first("LANGUAGE", "zh_TW:en");
        EXPECT_EQ(SystemDefaultLangId(), 0x404);
    }
}

TEST(SystemDefaultLangIdTest, NoLocaleVariablesIsEnglish) {
    ScopedEnvironmentVariable language("LANGUAGE", nullptr);
    ScopedEnvironmentVariable lcAll("LC_ALL", nullptr);
    ScopedEnvironmentVariable lcMessages("LC_MESSAGES", nullptr);
    ScopedEnvironmentVariable lang("LANG", nullptr);
    EXPECT_EQ(SystemDefaultLangId(), 0x409);
}

// The locale's identifier chooses the interface language by the rule of the
// language tables: Hong Kong is Chinese but gets English.
TEST(LocaleToInterfaceLanguageTest, FollowsTheLanguageChoice) {
    EXPECT_EQ(LanguageFromLangId(LangIdFromLocaleName("zh_CN.UTF-8")), Language::kSimplifiedChinese);
    EXPECT_EQ(LanguageFromLangId(LangIdFromLocaleName("zh_SG.UTF-8")), Language::kSimplifiedChinese);
    EXPECT_EQ(LanguageFromLangId(LangIdFromLocaleName("zh_TW.UTF-8")), Language::kTraditionalChinese);
    EXPECT_EQ(LanguageFromLangId(LangIdFromLocaleName("zh_HK.UTF-8")), Language::kEnglish);
    EXPECT_EQ(LanguageFromLangId(LangIdFromLocaleName("en_US.UTF-8")), Language::kEnglish);
}

} // namespace
} // namespace quorvel
