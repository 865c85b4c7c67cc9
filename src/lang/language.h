#pragma once

#include <cstdint>

namespace quorvel {

// The three languages of the interface; the value is the column of every
// per-language table.
enum class Language : int {
    kEnglish = 0,
    kSimplifiedChinese = 1,
    kTraditionalChinese = 2,
};
inline constexpr int kLanguageCount = 3;

// The interface language for the system's default language identifier (a
// Windows LANGID such as 0x804). Only the two exact identifiers of Simplified
// and Traditional Chinese choose Chinese; everything else, Chinese (Hong Kong)
// 0xC04 included, gets English.
Language LanguageFromLangId(std::uint16_t langId);

} // namespace quorvel
