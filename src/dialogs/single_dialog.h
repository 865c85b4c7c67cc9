#pragma once

#include <string>

#include "assign/assignment_dialogs.h"
#include "ui/sub_dialog.h"

namespace quorvel {

// The Single-key dialog: shows the name of the last key pressed or released
// while it has the focus. Enter and Escape are keys like any other here.
class CSingleDialog final : public SubDialog {
public:
    CSingleDialog(DialogWindowPort& window, DialogContext context);

    // Empty when no key was pressed.
    SingleKeyChoice result() const { return {keyName_}; }

protected:
    void CreateControls() override;
    void DrawOwnTexts() override;
    void KeyCaptured(std::string_view name) override;
    bool EndsOnStandardKeys() const override { return false; }
    std::vector<Control> OwnControls() override;

private:
    std::string keyName_;
};

} // namespace quorvel
