#pragma once

#include <string>
#include <utility>
#include <vector>

#include "ports/geometry.h"

namespace quorvel {

// What a control of a skinned window is to the keyboard and to assistive
// technology (screen readers). The skin draws every control as a picture;
// this is the one description of them that keys and readers share, so a
// new control gets its role and name where it is declared.
enum class ControlRole {
    Button,      // pressed by Space or Enter
    Toggle,      // a box ticked and unticked by Space or Enter
    RadioButton, // one choice of a group (report rate, Mode A / Mode B): arrows move within the group
    DropDown,    // a row that opens a list of choices: Space or Enter opens it, arrows move in the open list
    ListBox,     // a list that stays on its page (macros, events): arrows move the selection
    Slider,      // one value among steps (a DPI column, a pointer track): arrows step it
    Edit,        // a one-line edit, a real child control of the shell
    Text,        // a text that is read but never focused
};

struct ControlState {
    bool checked = false;  // a ticked toggle, the chosen button of a radio group
    bool selected = false; // the chosen entry of a list, the shown stage of a slider
    bool expanded = false; // a drop-down whose list is open
    bool disabled = false; // shown but not answering now
};

struct Control {
    int id = 0; // unique on its page or dialog while it is shown
    ControlRole role = ControlRole::Button;
    std::string name;  // in the interface language
    std::string value; // the value as shown: a drop-down's choice, a slider's step, an edit's text
    ControlState state;
    Rect rect;     // client layout pixels of the window
    int group = 0; // radio buttons of one group share it; 0: alone
    // A slider: its step now, of `steps` (0 ... steps - 1).
    int step = 0;
    int steps = 0;

    bool focusable() const { return role != ControlRole::Text && !state.disabled; }
};

// A control with the fields every control has; state, group and steps are
// set on it afterwards.
inline Control MakeControl(int id, ControlRole role, std::string name, Rect rect, std::string value = {}) {
    Control control;
    control.id = id;
    control.role = role;
    control.name = std::move(name);
    control.value = std::move(value);
    control.rect = rect;
    return control;
}

// What a key does to the focused control.
enum class ControlAction {
    Activate, // Space or Enter: press, tick, open, choose the highlighted entry
    Next,     // Right or Down: the next button of a radio group, a slider's next step, the next entry
    Previous, // Left or Up
    First,    // Home
    Last,     // End
};

// A page, a window or a dialog as keys and assistive technology see it.
class ControlSource {
public:
    virtual ~ControlSource() = default;
    // The controls in reading order, with their names, values and states now.
    virtual std::vector<Control> controls() = 0;
    // Does to control `id` what the action does, as the pointer would; false
    // when nothing happened (no such control, the first step of a slider
    // stepped back).
    virtual bool act(int id, ControlAction action) = 0;
    // Escape: closes the open list without choosing from it (the innermost
    // one where a list opened another); false when no list was open.
    virtual bool dismiss() { return false; }
};

// The keys that move through the controls, as the shells map them.
enum class NavigationKey { Tab, BackTab, Space, Enter, Escape, Left, Right, Up, Down, Home, End };

// What the shell tells assistive technology: the window's controls changed
// (a page switched, a list opened), the focus moved, a value changed. A shell
// without assistive technology ignores them.
class AccessibilityPort {
public:
    virtual ~AccessibilityPort() = default;
    virtual void controlsChanged() {}
    virtual void focusMoved(int /*id*/) {}
    virtual void valueChanged(int /*id*/) {}
};

} // namespace quorvel
