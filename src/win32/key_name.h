#pragma once

#include <string>

namespace quorvel {

// The name of a key of a keyboard message by its scan code (bits 16-23 of
// the key data word) and extended flag (bit 24): the system's name where the
// key-name table knows it, else the key's US name, else whatever the system
// calls it (a key that stores no code shows as itself).
std::string KeyNameOfMessage(int scanCode, bool extended);

} // namespace quorvel
