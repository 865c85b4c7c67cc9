#pragma once

#include <cstdint>
#include <string_view>

namespace quorvel {

// Linux has no system default language identifier; these functions stand in
// for the platform's GetSystemDefaultLangID by reading the POSIX locale and
// answering with the Windows language identifier (LANGID) of that locale.

// The identifier of one locale name of the form language[_territory][.codeset][@modifier]:
// zh_CN and zh_SG give 0x804 (Chinese, simplified script), zh_TW gives 0x404,
// zh_HK gives 0xC04; every other name, the empty one included, gives 0x409
// (English, United States).
std::uint16_t LangIdFromLocaleName(std::string_view locale);

// The identifier of the language the user reads messages in, as desktop
// programs choose it: the first entry of LANGUAGE (a colon-separated list of
// preferences), else the first non-empty of LC_ALL, LC_MESSAGES and LANG.
std::uint16_t LangIdFromLocaleVariables(std::string_view language, std::string_view lcAll,
                                        std::string_view lcMessages, std::string_view lang);

// LangIdFromLocaleVariables with the values of this process's environment.
std::uint16_t SystemDefaultLangId();

} // namespace quorvel
