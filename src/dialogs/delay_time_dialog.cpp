#include "dialogs/delay_time_dialog.h"

#include <algorithm>
#include <limits>

#include "config/ini_file.h"
#include "dialogs/dialog_texts.h"

namespace quorvel {

CDelayTimeDialog::CDelayTimeDialog(DialogWindowPort& window, DialogContext context)
    : SubDialog(window, std::move(context), kDelayTimeDialog.background) {
}

void CDelayTimeDialog::CreateControls() {
    const DelayTimeDialogLayout& d = kDelayTimeDialog;
    window().createEdit(d.delay.id, d.delay.rect, text_, EditKind::Digits, TextAlign::Centre);
    window().focusControl(d.delay.id);
}

void CDelayTimeDialog::DrawOwnTexts() {
    DrawWhiteText(In(language(), kDelayPrompt), kDelayTimeDialog.prompt, TextAlign::Centre);
    DrawWhiteText(In(language(), kDelayRangeNote), kDelayTimeDialog.rangeNote, TextAlign::Centre);
}

void CDelayTimeDialog::EditChanged(int id) {
    if (id != kDelayTimeDialog.delay.id) {
        return;
    }
    text_ = window().controlText(id);
    // A number too long for the delay still reads as one out of range.
    delay_ = static_cast<int>(std::clamp<long>(LeadingInteger(text_), std::numeric_limits<int>::min(),
                                               std::numeric_limits<int>::max()));
}

std::vector<Control> CDelayTimeDialog::OwnControls() {
    const DelayTimeDialogLayout& d = kDelayTimeDialog;
    return {MakeControl(d.delay.id, ControlRole::Edit, std::string(In(language(), kDelayPrompt)), d.delay.rect,
                        window().controlText(d.delay.id))};
}

} // namespace quorvel
