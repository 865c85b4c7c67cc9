#include "lang/language.h"

namespace quorvel {

namespace {

struct LanguageChoice {
    std::uint16_t langId;
    Language language;
};

constexpr LanguageChoice kLanguageChoices[] = {
    {0x804, Language::kSimplifiedChinese},
    {0x404, Language::kTraditionalChinese},
};

} // namespace

Language LanguageFromLangId(std::uint16_t langId) {
    for (const LanguageChoice& choice : kLanguageChoices) {
        if (choice.langId == langId) {
            return choice.language;
        }
    }
    return Language::kEnglish;
}

} // namespace quorvel
