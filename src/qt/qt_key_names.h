#pragma once

#include <QKeyEvent>
#include <string_view>

namespace quorvel {

// The name of the key of a key event, as the dialogs show it: by the key's
// scan code where the platform gives one (X11 and Wayland give the xkb
// keycode), otherwise by the key it stands for (the offscreen platform,
// simulated keys), the modifiers then named as the left-hand ones. Empty for
// a key without a name.
std::string_view KeyNameOf(const QKeyEvent& event);

// The Linux scan code of the key that gives `key` on a US layout, with the
// keypad modifier for the keys of the numeric keypad; 0 when none does.
int ScanCodeOfQtKey(int key, bool keypad);

} // namespace quorvel
