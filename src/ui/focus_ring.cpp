#include "ui/focus_ring.h"

namespace quorvel {

std::array<Rect, 4> FocusRingSides(Rect control) {
    const Rect outer = FocusRingBounds(control);
    return {{
        {outer.left, outer.top, outer.right, control.top},
        {outer.left, control.bottom, outer.right, outer.bottom},
        {outer.left, control.top, control.left, control.bottom},
        {control.right, control.top, outer.right, control.bottom},
    }};
}

Rect FocusRingBounds(Rect control) {
    return {control.left - kFocusRingWidth, control.top - kFocusRingWidth, control.right + kFocusRingWidth,
            control.bottom + kFocusRingWidth};
}

bool FocusRing::show(Canvas& canvas, std::optional<Rect> control, Colour colour) {
    if (!shown_ && !control) {
        return false;
    }
    // The same ring again is drawn over itself: what was drawn since may
    // have covered a side of it.
    if (shown_ && shown_ != control) {
        if (underlay_) {
            for (const Rect& side : FocusRingSides(*shown_)) {
                underlay_(side);
            }
        }
        if (redrawWithin_) {
            redrawWithin_(FocusRingBounds(*shown_));
        }
    }
    shown_ = control;
    colour_ = colour;
    if (control) {
        for (const Rect& side : FocusRingSides(*control)) {
            canvas.fillRect(side, colour);
        }
    }
    return true;
}

} // namespace quorvel
