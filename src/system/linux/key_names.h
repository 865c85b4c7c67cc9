#pragma once

#include <span>
#include <string_view>

namespace quorvel {

// Key names as the key-name function of an English (US) keyboard layout
// spells them ("A", "Ctrl", "Right Ctrl", "Num 5", "Enter", "Esc"), for the
// keys of a Linux keyboard by their input event code (the evdev scan code,
// KEY_* of <linux/input-event-codes.h>). The names do not depend on the
// active layout, so a key stores the same code whatever the user's layout.
struct ScanCodeName {
    int scanCode;
    std::string_view name;
};

// Every named key, in scan-code order.
std::span<const ScanCodeName> ScanCodeNameTable();

// The name of a key; empty for a key without one (media keys and the like).
std::string_view KeyNameFromScanCode(int scanCode);

// The scan code of the key with that name; 0 when no key has it.
int ScanCodeFromKeyName(std::string_view name);

// The keycodes of X11 and of the xkb keymaps of Wayland are the evdev scan
// codes moved up by 8.
inline constexpr int kXkbKeycodeOffset = 8;

// The name of a key by its X11 / xkb keycode; empty below the offset.
std::string_view KeyNameFromXkbKeycode(int keycode);

} // namespace quorvel
