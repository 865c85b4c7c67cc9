#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace quorvel {

// The language identifier (LANGID) of the user's interface language.
std::uint16_t SystemDefaultLangId();

// The full path of the running executable.
std::filesystem::path ExecutablePath();

// The name the key-name function of the active keyboard layout gives a key by
// its scan code; `extended` for the keys of the E0 prefix (right Ctrl, the
// arrows, ...). Empty for a key without a name.
std::string KeyNameFromScanCode(int scanCode, bool extended);

} // namespace quorvel
