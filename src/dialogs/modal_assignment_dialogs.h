#pragma once

#include <functional>

#include "assign/assignment_dialogs.h"
#include "config/ini_file.h"
#include "dialogs/delay_time_dialog.h"
#include "ui/sub_dialog.h"

namespace quorvel {

// The parameter dialogs of the button functions, each run modally on a
// fresh window of the host with the skin and language the main window has
// at that moment.
class ModalAssignmentDialogs : public AssignmentDialogs {
public:
    ModalAssignmentDialogs(DialogHost& host, std::function<DialogContext()> context, IniFile recordIni);

    std::optional<ApplicationKeyChoice> ChooseApplicationKey() override;
    std::optional<MediaKeyChoice> ChooseMediaKey() override;
    std::optional<FireKeyChoice> ChooseFireKey() override;
    std::optional<SingleKeyChoice> ChooseSingleKey() override;
    std::optional<ComboKeyChoice> ChooseComboKey() override;
    std::optional<MacroChoice> ChooseMacro() override;
    // The pause of a macro step.
    std::optional<DelayChoice> ChooseDelay();

private:
    DialogHost* host_;
    std::function<DialogContext()> context_;
    IniFile recordIni_;
};

} // namespace quorvel
