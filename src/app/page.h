#pragma once

#include <vector>

#include "ui/geometry.h"
#include "ui/hover_set.h"

namespace quorvel {

// The content of one page of the main window, drawn over the window frame
// (background, window and page buttons, OK / Apply / Cancel).
class PageContent {
public:
    virtual ~PageContent() = default;
    // Draws everything of the page after the frame (no present).
    virtual void draw() = 0;
    // The page-leaving step: destroys the page's child controls.
    virtual void leave() = 0;
    // A left click that no window-level button took: the page's closing
    // pass and dispatch. False when no control of the page was hit (the
    // window then moves).
    virtual bool click(Point point) = 0;
    // The page's hover-tracked controls.
    virtual std::vector<HoverControl> hoverControls() = 0;
};

} // namespace quorvel
