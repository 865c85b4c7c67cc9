#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "config/device_config.h"

namespace quorvel {

// The fixed tables that turn what the assignment dialogs return (key names,
// a modifier name, list positions) into the codes of a ButtonFunction word.
// Every lookup that finds nothing gives 0, which the word reads as "no key".

// One entry of the key-name table: a name as the key-name function of an
// English (US) keyboard layout spells it, and its HID Keyboard/Keypad usage
// (page 0x07), or for the three mouse buttons the mouse's own code.
struct KeyName {
    std::string_view name;
    Byte code;
};
inline constexpr int kKeyNameCount = 106;

// The key-name table in its order of comparison.
std::span<const KeyName> KeyNameTable();

// The code of a key name: exact, case-sensitive, whole-text comparison in
// table order; 0 when no name matches ("a", "Left Ctrl", a name in another
// language, the empty name).
Byte KeyCodeFromName(std::string_view name);

// The reverse lookup, for a source of key names that knows HID usages rather
// than names: the first table name with `code`, empty when there is none (0,
// 0x31, and every other code without an entry).
std::string_view KeyNameFromCode(Byte code);

// The HID usage of a key of a PC keyboard by its scan code (set 1, as
// Windows gives it: the code and whether the E0 prefix came before it); 0
// for a key the table has no name for (the backslash keys, media keys).
Byte KeyCodeFromPcScanCode(int scanCode, bool extended);

// The name a captured key is stored under. The system names keys by the
// active keyboard layout and in its language; that name is kept when the
// key-name table knows it, so a key reads as the user sees it. A name the
// table does not know ("Strg" of a German layout, an X11 key name under
// Wine) would store no code: the key's US name by its scan code is taken
// instead. Empty when neither gives a name the table knows.
std::string_view StorableKeyName(std::string_view systemName, int scanCode, bool extended);

// One entry of the Combo-key dialog's modifier list and its bit in the
// modifier byte b1 of a keyboard word (the HID boot-keyboard layout).
struct ModifierName {
    std::string_view name;
    Byte bit;
};
inline constexpr int kModifierCount = 8;

// The eight modifiers in the order the Combo-key dialog lists them.
std::span<const ModifierName> ModifierTable();

// The bit of a modifier name, by the same rule as KeyCodeFromName; 0 for any
// other text, the empty one included (no modifier chosen).
Byte ModifierBitFromName(std::string_view name);

// The key byte of the fire-key word for a position of the Fire-key dialog's
// list (0-60); 0 for any other position.
Byte FireKeyCode(int position);

// The HID consumer usage (page 0x0C) for a position of the Media dialog's list
// (0-6); 0 for any other position. The high byte is always 0.
std::uint16_t MediaUsage(int position);

// The 16-bit HID consumer usage for a position of the Windows-key dialog's
// list (0-10): high byte 1 for positions 0-3, 2 for 4-10; 0 (both bytes) for
// any other position.
std::uint16_t ApplicationUsage(int position);

} // namespace quorvel
