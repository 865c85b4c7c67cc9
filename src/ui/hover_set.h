#pragma once

#include <functional>
#include <vector>

#include "ports/geometry.h"

namespace quorvel {

// The controls of a window that show an "-over" image while the pointer
// rests on them. A control of a group shows hovered alone: hovering it
// restores the other members of its group. Controls of group 0 stand alone.
struct HoverControl {
    Rect rect;
    int group = 0;
    std::function<void(bool over)> draw; // draws the control normal or hovered
};

// A control is redrawn on what lies under it: the underlay first paints its
// rectangle afresh (a part of the background), so a hover image's edges do
// not stay around the normal image. Controls that overlap one another are
// redrawn together, in their order, as the window first drew them.
class HoverSet {
public:
    void setControls(std::vector<HoverControl> controls);
    void setUnderlay(std::function<void(Rect)> underlay) { underlay_ = std::move(underlay); }

    // The pointer moved to `point`. Over a control: it shows hovered (and its
    // group's others normal). Elsewhere: every hovered control shows normal
    // again. True when something was drawn, so the window needs a present.
    bool pointerAt(Point point);

    // Draws again, on their underlay, the controls that reach into `area`
    // (and those that overlap them), as they show now: after something was
    // drawn over them there (a focus ring taken away).
    void redrawWithin(Rect area);

    bool tracks(Point point) const;
    bool hovered(std::size_t index) const { return index < flags_.size() && flags_[index]; }

private:
    // Redraws control `index` with every control that overlaps it, directly
    // or through another; marks them in `drawn`.
    void Redraw(std::size_t index, std::vector<bool>& drawn);

    std::function<void(Rect)> underlay_;
    std::vector<HoverControl> controls_;
    std::vector<bool> flags_;
};

} // namespace quorvel
