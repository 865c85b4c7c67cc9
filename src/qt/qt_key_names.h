#pragma once

#include <QKeyEvent>
#include <span>
#include <string_view>

namespace quorvel {

// The name of the key of a key event, as the dialogs show it: by the key's
// scan code where the platform gives one (X11 and Wayland give the xkb
// keycode), otherwise by the key it stands for (the offscreen platform,
// simulated keys), the modifiers then named as the left-hand ones. Empty for
// a key without a name.
std::string_view KeyNameOf(const QKeyEvent& event);

// A Qt key and the name of the key that gives it on a US layout, as the
// system's key-name source spells it (which owns the scan codes).
struct QtKeyName {
    int key;
    std::string_view name;
};
// The keys away from the keypad (the letters aside), and those of the
// keypad with Num Lock on and off.
std::span<const QtKeyName> QtMainKeyNames();
std::span<const QtKeyName> QtKeypadKeyNames();

} // namespace quorvel
