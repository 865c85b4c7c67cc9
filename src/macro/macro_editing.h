#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/device_config.h"

namespace quorvel {

// The event list's hand edits: a pause typed anew, a mouse-button event put
// in, the loop count. The list is the panel's; these rules only change it.

// A line that holds a pause ("50 ms").
bool IsPauseLine(std::string_view line);

// The pauses the user may type, in milliseconds; anything else gives the
// recorder's 50 ms.
inline constexpr int kShortestTypedPause = 50;
inline constexpr int kLongestTypedPause = 10000;
// The pause line for what the user typed: `text` is the typed text, `value`
// its number.
std::string TypedPauseLine(int value, std::string_view text);

// The nine mouse events the user may insert, in the order of their list.
inline constexpr std::array<std::string_view, 9> kMouseEvents{
    "L-Button Click", "R-Button Click", "M-Button Click", "L-Button   Dn", "L-Button   Up",
    "R-Button   Dn",  "R-Button   Up",  "M-Button   Dn",  "M-Button   Up",
};

// Puts mouse event `event` (one of kMouseEvents; a "Click" is a press and a
// release) into `events` near the selected line, each event with its
// pause. Without a selected line only an empty list of a selected macro
// takes it. Tells where the lines went in (none: nothing was put in) and the
// line to select afterwards.
struct InsertedEvents {
    std::size_t at = 0;
    std::size_t count = 0;
    std::optional<int> selectLine;
};
InsertedEvents InsertMouseEvent(std::vector<std::string>& events, std::optional<int> selectedLine,
                                bool macroSelected, std::string_view event);

// The loop count of a macro: 1 to 65535.
inline constexpr int kLongestLoop = 65535;
// The loop count the Loop Times box's text stands for; nothing when the text
// is out of range (empty, 0, above 65535) and the box must show "1".
std::optional<int> LoopCountOfText(std::string_view text);
// Stores the loop count in bytes 0-1 of the slot, high byte first.
void SetMacroLoopCount(MacroSlot& slot, int count);

} // namespace quorvel
