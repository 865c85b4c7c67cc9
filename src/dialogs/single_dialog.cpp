#include "dialogs/single_dialog.h"

#include "dialogs/dialog_texts.h"

namespace quorvel {

CSingleDialog::CSingleDialog(DialogWindowPort& window, DialogContext context)
    : SubDialog(window, std::move(context), kSingleKeyDialog.background) {
}

void CSingleDialog::CreateControls() {
    window().createStatic(kSingleKeyDialog.keyName.id, kSingleKeyDialog.keyName.rect, keyName_,
                          TextAlign::Centre);
}

void CSingleDialog::DrawOwnTexts() {
    DrawWhiteText(In(language(), kSingleKeyPrompt), kSingleKeyDialog.prompt, TextAlign::Centre);
}

void CSingleDialog::KeyCaptured(std::string_view name) {
    keyName_ = name;
    window().setControlText(kSingleKeyDialog.keyName.id, keyName_);
}

std::vector<Control> CSingleDialog::OwnControls() {
    const SingleKeyDialogLayout& d = kSingleKeyDialog;
    return {MakeControl(d.keyName.id, ControlRole::Edit, std::string(In(language(), kSingleKeyPrompt)),
                        d.keyName.rect, keyName_)};
}

} // namespace quorvel
