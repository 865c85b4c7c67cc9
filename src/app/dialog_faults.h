#pragma once

#include <string_view>

#include "ports/message_port.h"
#include "ui/sub_dialog.h"

namespace quorvel {

// A message box: its text and title.
struct UserMessage {
    std::string_view text;
    std::string_view title;
    bool operator==(const UserMessage&) const = default;
};

// What the user is told when a dialog could not draw a skin image: a missing
// background names the dialog, any other image the loader.
UserMessage DialogFaultMessage(const DialogFault& fault);

// A fault handler for the dialogs that shows each fault in a message box.
DialogFaultHandler ShowDialogFaultsIn(MessagePort& messages);

} // namespace quorvel
