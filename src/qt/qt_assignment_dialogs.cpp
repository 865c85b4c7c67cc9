#include "qt/qt_assignment_dialogs.h"

namespace quorvel {

std::unique_ptr<DialogWindowPort> QtDialogHost::NewWindow() {
    return std::make_unique<QtDialogWindow>(owner_);
}

bool QtDialogHost::RunModal(DialogWindowPort& window, SubDialog& dialog) {
    // Every window of this host is one it made.
    return static_cast<QtDialogWindow&>(window).run(dialog);
}

QtAssignmentDialogs::QtAssignmentDialogs(QWidget& owner, std::function<DialogContext()> context,
                                         IniFile recordIni)
    : host_(owner), dialogs_(host_, std::move(context), std::move(recordIni)) {
}

} // namespace quorvel
