#pragma once

#include <QWidget>
#include <functional>

#include "app/main_window.h"
#include "dialogs/modal_assignment_dialogs.h"
#include "qt/qt_dialog_window.h"

namespace quorvel {

// Runs each sub-dialog in a QtDialogWindow over the owner.
class QtDialogHost final : public DialogHost {
public:
    explicit QtDialogHost(QWidget& owner) : owner_(&owner) {}
    std::unique_ptr<DialogWindowPort> NewWindow() override;
    bool RunModal(DialogWindowPort& window, SubDialog& dialog) override;

private:
    QWidget* owner_;
};

// The parameter dialogs of the desktop program, modal over the main window.
class QtAssignmentDialogs final : public AssignmentDialogs {
public:
    QtAssignmentDialogs(QWidget& owner, std::function<DialogContext()> context, IniFile recordIni);

    std::optional<ApplicationKeyChoice> ChooseApplicationKey() override {
        return dialogs_.ChooseApplicationKey();
    }
    std::optional<MediaKeyChoice> ChooseMediaKey() override { return dialogs_.ChooseMediaKey(); }
    std::optional<FireKeyChoice> ChooseFireKey() override { return dialogs_.ChooseFireKey(); }
    std::optional<SingleKeyChoice> ChooseSingleKey() override { return dialogs_.ChooseSingleKey(); }
    std::optional<ComboKeyChoice> ChooseComboKey() override { return dialogs_.ChooseComboKey(); }
    std::optional<MacroChoice> ChooseMacro() override { return dialogs_.ChooseMacro(); }
    std::optional<DelayChoice> ChooseDelay() { return dialogs_.ChooseDelay(); }

private:
    QtDialogHost host_;
    ModalAssignmentDialogs dialogs_;
};

} // namespace quorvel
