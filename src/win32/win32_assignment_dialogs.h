#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "dialogs/modal_assignment_dialogs.h"
#include "ui/sub_dialog.h"

namespace quorvel {

// Runs each sub-dialog in a Win32DialogWindow over the owner.
class Win32DialogHost final : public DialogHost {
public:
    explicit Win32DialogHost(HWND owner) : owner_(owner) {}
    std::unique_ptr<DialogWindowPort> NewWindow() override;
    bool RunModal(DialogWindowPort& window, SubDialog& dialog) override;

private:
    HWND owner_;
};

// The parameter dialogs of the program, modal over the main window.
class Win32AssignmentDialogs final : public AssignmentDialogs {
public:
    Win32AssignmentDialogs(HWND owner, std::function<DialogContext()> context, IniFile recordIni);

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
    Win32DialogHost host_;
    ModalAssignmentDialogs dialogs_;
};

} // namespace quorvel
