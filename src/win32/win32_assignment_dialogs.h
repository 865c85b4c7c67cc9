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

// The host, made before the dialogs that run on it.
struct Win32DialogHostOf {
    Win32DialogHost host;
};

// The parameter dialogs of the program (ChooseDelay among them), modal over
// the main window.
class Win32AssignmentDialogs final : private Win32DialogHostOf, public ModalAssignmentDialogs {
public:
    Win32AssignmentDialogs(HWND owner, std::function<DialogContext()> context, IniFile recordIni)
        : Win32DialogHostOf{Win32DialogHost(owner)},
          ModalAssignmentDialogs(host, std::move(context), std::move(recordIni)) {}
};

} // namespace quorvel
