#include "dialogs/modal_assignment_dialogs.h"

#include "dialogs/combo_dialog.h"
#include "dialogs/consumer_key_dialogs.h"
#include "dialogs/fire_key_dialog.h"
#include "dialogs/macro_dialog.h"
#include "dialogs/single_dialog.h"

namespace quorvel {

ModalAssignmentDialogs::ModalAssignmentDialogs(DialogHost& host, std::function<DialogContext()> context,
                                               IniFile recordIni)
    : host_(&host), context_(std::move(context)), recordIni_(std::move(recordIni)) {
}

std::optional<ApplicationKeyChoice> ModalAssignmentDialogs::ChooseApplicationKey() {
    return RunSubDialog<CWindowsDialog>(*host_, context_());
}

std::optional<MediaKeyChoice> ModalAssignmentDialogs::ChooseMediaKey() {
    return RunSubDialog<CMediaDialog>(*host_, context_());
}

std::optional<FireKeyChoice> ModalAssignmentDialogs::ChooseFireKey() {
    return RunSubDialog<CFireKeyDialog>(*host_, context_());
}

std::optional<SingleKeyChoice> ModalAssignmentDialogs::ChooseSingleKey() {
    return RunSubDialog<CSingleDialog>(*host_, context_());
}

std::optional<ComboKeyChoice> ModalAssignmentDialogs::ChooseComboKey() {
    return RunSubDialog<CComboDialog>(*host_, context_());
}

std::optional<MacroChoice> ModalAssignmentDialogs::ChooseMacro() {
    return RunSubDialog<CMacroDialog>(*host_, context_(), recordIni_);
}

std::optional<DelayChoice> ModalAssignmentDialogs::ChooseDelay() {
    return RunSubDialog<CDelayTimeDialog>(*host_, context_());
}

} // namespace quorvel
