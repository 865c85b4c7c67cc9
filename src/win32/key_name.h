#pragma once

#include <optional>
#include <string>

#include "ui/controls.h"

namespace quorvel {

// The name of a key of a keyboard message by its scan code (bits 16-23 of
// the key data word) and extended flag (bit 24): the system's name where the
// key-name table knows it, else the key's US name, else whatever the system
// calls it (a key that stores no code shows as itself).
std::string KeyNameOfMessage(int scanCode, bool extended);

// The key that moves through a window's controls, for a virtual key going
// down now (Shift as the keyboard holds it: Shift+Tab goes back); nothing
// for other keys, and for any key with Ctrl or Alt held, which belong to
// the system and the edits.
std::optional<NavigationKey> NavigationKeyPressed(unsigned virtualKey);

// Whether an edit with the keyboard focus keeps the key for itself: the
// arrows, Home, End and Space move its caret or type; Tab, Enter and Escape
// move on.
bool EditKeeps(NavigationKey key);

} // namespace quorvel
