#pragma once

#include <string>

#include "ui/sub_dialog.h"

namespace quorvel {

struct DelayChoice {
    int delay = 0;    // milliseconds, as typed: the caller decides what it accepts
    std::string text; // the edit's text
};

// The Delay-time dialog of the macro editing: a pause in milliseconds,
// taken from its edit at every change.
class CDelayTimeDialog final : public SubDialog {
public:
    CDelayTimeDialog(DialogWindowPort& window, DialogContext context);

    DelayChoice result() const { return {delay_, text_}; }

protected:
    void CreateControls() override;
    void DrawOwnTexts() override;
    void EditChanged(int id) override;
    std::vector<Control> OwnControls() override;

private:
    int delay_ = 0;
    std::string text_;
};

} // namespace quorvel
