#include "win32/win32_assignment_dialogs.h"

#include "win32/dialog_window.h"

namespace quorvel {

std::unique_ptr<DialogWindowPort> Win32DialogHost::NewWindow() {
    return std::make_unique<Win32DialogWindow>(owner_);
}

bool Win32DialogHost::RunModal(DialogWindowPort& window, SubDialog& dialog) {
    // Every window of this host is one it made.
    return static_cast<Win32DialogWindow&>(window).run(dialog);
}

} // namespace quorvel
