#pragma once

#include <string_view>
#include <vector>

#include "macro/macro_recorder.h"
#include "ports/geometry.h"
#include "ui/controls.h"
#include "ui/hover_set.h"

namespace quorvel {

// The content of one page of the main window, drawn over the window frame
// (background, window and page buttons, OK / Apply / Cancel). Its controls,
// as keys and screen readers see them, follow the window's own in reading
// order; their ids are 100 and above.
class PageContent : public ControlSource {
public:
    ~PageContent() override = default;
    // Draws everything of the page over a frame just drawn, whose background
    // is still untouched beneath it (no present).
    virtual void draw() = 0;
    // Draws the page again as it stands, for a window that let its picture
    // go: what draw() draws, without reading anything anew.
    virtual void redraw() { draw(); }
    // The page-leaving step: destroys the page's child controls.
    virtual void leave() = 0;
    // A left click that no window-level button took: the page's closing
    // pass and dispatch. False when no control of the page was hit (the
    // window then moves).
    virtual bool click(Point point) = 0;
    // The page's hover-tracked controls.
    virtual std::vector<HoverControl> hoverControls() = 0;

    // The user picked entry `index` of the page's list `id` (a click or a
    // double click on it, or Enter).
    virtual void listChosen(int /*id*/, int /*index*/) {}
    // The pointer moved over list `id`: entry `index` is under it (-1: none),
    // `item` is that entry's rectangle inside the list.
    virtual void listPointer(int /*id*/, int /*index*/, Rect /*item*/) {}
    // A double click on entry `index` of list `id`, and a right click on the
    // list at `at` (client pixels of the window).
    virtual void listDoubleClicked(int /*id*/, int /*index*/) {}
    virtual void listRightClicked(int /*id*/, Point /*at*/) {}
    // The user changed the text of edit `id`.
    virtual void editChanged(int /*id*/, std::string_view /*text*/) {}
    // A key typed into one of the program's windows (`inWindow`: this
    // window). True when the window must not act on it.
    virtual bool keystroke(const Keystroke& /*key*/, bool /*inWindow*/) { return false; }
    // OK or Apply has sent the working configuration to the mouse: the page
    // hands on what it keeps for the desktop rather than for the mouse.
    virtual void configurationSent() {}

    // ControlSource: a page without controls of its own has none.
    std::vector<Control> controls() override { return {}; }
    bool act(int /*id*/, ControlAction /*action*/) override { return false; }
    // Draws again the page's controls that reach into `area`, where the
    // window has painted its background over them; the hover controls are
    // the window's to draw.
    virtual void redrawWithin(Rect /*area*/) {}
};

// The first id of a page's controls: the window's own come below it.
inline constexpr int kFirstPageControlId = 100;

// Hover groups 1 and 2 are the window's own (OK / Apply / Cancel, the two
// page buttons); a page numbers its groups from here on.
inline constexpr int kFirstPageHoverGroup = 10;

} // namespace quorvel
