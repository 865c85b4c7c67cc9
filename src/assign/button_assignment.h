#pragma once

#include <optional>
#include <span>
#include <string>

#include "assign/assignment_dialogs.h"
#include "config/device_config.h"
#include "config/str_ini.h"
#include "lang/language.h"

namespace quorvel {

// The DPI sub-list's texts; the same in every language.
std::string_view DpiSwitchText(int choice);

// The parameter fields (see ButtonField) a function with parameters
// writes; none for the others.
std::span<const int> ButtonFieldGroup(int function);

// The label of a function with a parameter the dialog names: the function's
// text in `language`, "-" and `text` ("Single Key-F5", "Macro Key-Copy").
std::string PrefixedLabel(Language language, int function, std::string_view text);

// The label of a button after "Default" (buttons 0-8).
std::string DefaultLabel(Language language, int button);

// The combination text of a combo key: the parts whose code is not 0,
// joined by "+" ("Left Ctrl+A+B", "A+B", "Left Ctrl").
std::string ComboKeyText(const ComboKeyChoice& combo);

// The rules every change keeps, counted over the buttons the mouse receives
// (0-9): each mode keeps a "Left Click" wherever it has one, and no mode
// holds "Shift" on two buttons.
enum class AssignOutcome {
    Unchanged, // no entry chosen, or "DPI Switch", which its sub-list handles
    Assigned,
    Refused, // "Shift" while a button of either mode already holds it
    // The change would take "Left Click" from the last button of a mode that
    // holds it, the shown mode or, through a button that holds "Shift", the
    // other one; the mouse would have no left button there.
    RefusedLastLeftClick,
    Cancelled, // the parameter dialog was not closed with OK
};

// The button model and its labels, and what a choice in a button's function
// list does to them. Works on the working configuration in place.
class ButtonAssignment {
public:
    ButtonAssignment(DeviceConfig& config, ButtonLabels& labels, Language language,
                     AssignmentDialogs& dialogs);

    // The user picked entry `entry` of the function list of `button` while
    // `mode` is shown. Functions with parameters ask their dialog first.
    AssignOutcome AssignButtonFunction(int button, int mode, std::optional<int> entry);

    // The DPI sub-list: "DPI +", "DPI -" or "DPI Loop" (1-3) for the button,
    // in the shown mode only.
    AssignOutcome ChooseDpiSwitch(int button, int mode, int choice);

    // Whether `button` is the last of `mode` that holds "Left Click" among
    // the buttons the mouse receives: its list must not offer another entry.
    bool HoldsLastLeftClick(int button, int mode) const;

    // "Default": functions, DPI sub-choices and labels of buttons 0-8 in both
    // modes; nothing else changes.
    void SetDefaults();
    // The default labels of buttons 0-8 in both modes (the first run).
    void SetDefaultLabels();

private:
    std::string& label(int mode, int button);

    DeviceConfig* config_;
    ButtonLabels* labels_;
    Language language_;
    AssignmentDialogs* dialogs_;
};

} // namespace quorvel
