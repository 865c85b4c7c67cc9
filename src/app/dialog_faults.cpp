#include "app/dialog_faults.h"

namespace quorvel {

namespace {

constexpr std::string_view kBackgroundFailureTitle = "error";
constexpr std::string_view kImageLoadFailedText = "LoadPng---Load image failed.";

struct BackgroundFailure {
    DialogId dialog;
    std::string_view text;
};
constexpr BackgroundFailure kBackgroundFailures[] = {
    {DialogId::SingleKey, "Single Key Dialog Load background image failed!!!"},
    {DialogId::ComboKey, "Combo Dialog Load background image failed!!!"},
    {DialogId::FireKey, "FireKey Dialog Load background image failed!!!"},
    {DialogId::MediaKey, "Media Dialog Load background image failed!!!"},
    {DialogId::WindowsKey, "Windows Dialog Load background image failed!!!"},
    {DialogId::MacroKey, "Macro Key Dialog Load background image failed!!!"},
    {DialogId::DelayTime, "DelayTime Dialog Load background image failed!!!"},
    {DialogId::Skins, "Skins Dialog Load background image failed!!!"},
};

} // namespace

UserMessage DialogFaultMessage(const DialogFault& fault) {
    if (fault.kind == DialogFault::Kind::BackgroundNotLoaded) {
        for (const BackgroundFailure& row : kBackgroundFailures) {
            if (row.dialog == fault.dialog) {
                return {row.text, kBackgroundFailureTitle};
            }
        }
    }
    return {kImageLoadFailedText, kApplicationTitle};
}

DialogFaultHandler ShowDialogFaultsIn(MessagePort& messages) {
    return [&messages](const DialogFault& fault) {
        const UserMessage message = DialogFaultMessage(fault);
        messages.showMessage(message.text, message.title);
    };
}

} // namespace quorvel
