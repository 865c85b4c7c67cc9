#pragma once

#include <optional>
#include <vector>

#include "ui/controls.h"

namespace quorvel {

// The keyboard's way through the controls of a window or a dialog: a focus
// that Tab and Shift+Tab move through the focusable controls in reading
// order (a radio group is one stop, at its chosen button), wrapping at the
// ends; Space and Enter activate the focused control; arrows, Home and End
// step it (a radio group, a slider, a list box; a slider goes up with Up
// and Right, a list down with Down). An open list takes Space,
// Enter, the arrows, Home and End before the focused control does, and
// Escape closes it before anything else.
//
// Until Tab or an arrow engages the keyboard, Space and Enter are left to
// the window, and so is Escape while no list is open: the keys keep their
// meaning for those who never use the focus.
//
// Whatever changed in the controls after a key (or after Refresh, when the
// pointer changed them) is told to the accessibility port.
class Navigator {
public:
    explicit Navigator(ControlSource& source) : source_(&source) {}

    void setAccessibility(AccessibilityPort* port) { port_ = port; }
    AccessibilityPort* accessibility() const { return port_; }

    // True when the key was taken; the window then does nothing else with it.
    bool OnKey(NavigationKey key);

    // The focused control's id; -1 when none is.
    int focused() const { return focused_; }
    bool engaged() const { return engaged_; }
    // The focused control as it is now; nothing when none is.
    std::optional<Control> focusedControl();
    // Which child control must hold the shell's real focus, so that typing
    // reaches it: the focused edit or list box; -1 (the window) otherwise.
    int childToFocus();

    // The controls changed without a key (a click, a page drawn, a list
    // opened by the pointer): tells the port, and drops the focus when its
    // control went away.
    void Refresh();
    // Forgets the focus and the engagement (the window went away).
    void Disengage();
    // The focus is on control `id` now: the shell moved it there (a click
    // in an edit); the keys go on from it.
    void Focus(int id) { SetFocus(id); }

private:
    // Tab stops in reading order: focusable controls, one per radio group.
    static std::vector<int> Stops(const std::vector<Control>& controls);
    void MoveFocus(const std::vector<Control>& controls, bool forward);
    void StepFocused(const std::vector<Control>& controls, ControlAction action);
    void SetFocus(int id);
    // Tells the port what differs between the controls last seen and now.
    void Report(const std::vector<Control>& now);

    ControlSource* source_;
    AccessibilityPort* port_ = nullptr;
    int focused_ = -1;
    bool engaged_ = false;
    std::vector<Control> seen_;
};

} // namespace quorvel
