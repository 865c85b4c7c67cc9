#pragma once

#include <array>
#include <functional>
#include <optional>

#include "ports/geometry.h"
#include "ports/ui_port.h"

namespace quorvel {

// The frame around the control with the keyboard focus: two pixels wide,
// just outside the control's rectangle, so that the control shows whole
// inside it.
inline constexpr int kFocusRingWidth = 2;

// The four sides of the ring around `control`: top, bottom, left, right.
std::array<Rect, 4> FocusRingSides(Rect control);
// The rectangle the ring covers, the control's own included.
Rect FocusRingBounds(Rect control);

// The ring of a window: drawn around a control, taken away again by
// painting what lies beneath (the underlay paints a part of the background,
// `redrawWithin` the controls that reach under the ring's sides).
class FocusRing {
public:
    void setUnderlay(std::function<void(Rect)> underlay) { underlay_ = std::move(underlay); }
    void setRedrawWithin(std::function<void(Rect)> redraw) { redrawWithin_ = std::move(redraw); }

    // Shows the ring around `control` in `colour`, or none; a ring around
    // another control goes. True when something was drawn (the window needs
    // a present).
    bool show(Canvas& canvas, std::optional<Rect> control, Colour colour);
    // The window was drawn afresh: the ring is gone from the picture.
    void forget() { shown_.reset(); }
    std::optional<Rect> shown() const { return shown_; }

private:
    std::function<void(Rect)> underlay_;
    std::function<void(Rect)> redrawWithin_;
    std::optional<Rect> shown_;
    Colour colour_;
};

} // namespace quorvel
