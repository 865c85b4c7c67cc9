#pragma once

#include "ports/geometry.h"

namespace quorvel {

// Where a window and a companion window (the demo's button panel beside the
// settings window) go on the screen's work area, `gap` apart, neither
// covering the other where the screen is wide enough: the pair is centred
// when both fit side by side, the companion on the right. Where they do not,
// the window stays where it is and the companion goes to the side with more
// room, kept on the screen.
struct SideBySide {
    Point window; // top-left corners
    Point companion;
    bool operator==(const SideBySide&) const = default;
};
SideBySide PlaceSideBySide(const Rect& window, int companionWidth, int companionHeight, const Rect& work,
                           int gap);

} // namespace quorvel
