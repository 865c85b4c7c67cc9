#include "system/linux/locale_language.h"

#include <cstdlib>

namespace quorvel {

namespace {

struct LocaleLangId {
    std::string_view languageAndTerritory;
    std::uint16_t langId;
};

constexpr LocaleLangId kChineseLocales[] = {
    {"zh_CN", 0x804}, // Chinese (PRC)
    // Windows names Singapore 0x1004, which would fall to English; it writes the
    // simplified script, so it is read as the PRC.
    {"zh_SG", 0x804},
    {"zh_TW", 0x404}, // Chinese (Taiwan)
    {"zh_HK", 0xC04}, // Chinese (Hong Kong SAR)
};

constexpr std::uint16_t kEnglishUnitedStates = 0x409;

std::string_view EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string_view(value) : std::string_view();
}

} // namespace

std::uint16_t LangIdFromLocaleName(std::string_view locale) {
    const std::string_view languageAndTerritory = locale.substr(0, locale.find_first_of(".@"));
    for (const LocaleLangId& entry : kChineseLocales) {
        if (entry.languageAndTerritory == languageAndTerritory) {
            return entry.langId;
        }
    }
    return kEnglishUnitedStates;
}

std::uint16_t LangIdFromLocaleVariables(std::string_view language, std::string_view lcAll,
                                        std::string_view lcMessages, std::string_view lang) {
    const std::string_view preferred = language.substr(0, language.find(':'));
    for (std::string_view locale : {preferred, lcAll, lcMessages, lang}) {
        if (!locale.empty()) {
            return LangIdFromLocaleName(locale);
        }
    }
    return kEnglishUnitedStates;
}

std::uint16_t SystemDefaultLangId() {
    return LangIdFromLocaleVariables(EnvironmentValue("LANGUAGE"), EnvironmentValue("LC_ALL"), EnvironmentValue("LC_MESSAGES"),
                                     EnvironmentValue("LANG"));
}

} // namespace quorvel
