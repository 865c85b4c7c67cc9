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

class HoverSet {
public:
    void setControls(std::vector<HoverControl> controls);

    // The pointer moved to `point`. Over a control: it shows hovered (and its
    // group's others normal). Elsewhere: every hovered control shows normal
    // again. True when something was drawn, so the window needs a present.
    bool pointerAt(Point point);

    bool tracks(Point point) const;
    bool hovered(std::size_t index) const { return index < flags_.size() && flags_[index]; }

private:
    std::vector<HoverControl> controls_;
    std::vector<bool> flags_;
};

} // namespace quorvel
