#include "dialogs/macro_dialog.h"

#include "dialogs/dialog_texts.h"
#include "macro/macro_library.h"

namespace quorvel {

namespace {

constexpr int kRepeatModeCount = 3;

} // namespace

std::vector<std::string> MacroListEntries(const IniFile& recordIni) {
    std::vector<std::string> entries;
    if (!recordIni.exists()) {
        return entries;
    }
    for (const std::string& name : ReadMacroNames(recordIni).names) {
        if (entries.size() == static_cast<std::size_t>(kMacroCountLimit)) {
            break;
        }
        entries.push_back(ShownMacroName(name));
    }
    return entries;
}

CMacroDialog::CMacroDialog(DialogWindowPort& window, DialogContext context, IniFile recordIni)
    : SubDialog(window, std::move(context), kMacroKeyDialog.background), recordIni_(std::move(recordIni)),
      macro_(window, kMacroKeyDialog.macro, [this] { return MacroListEntries(recordIni_); }, 0, {}) {
}

void CMacroDialog::CreateControls() {
    macro_.createDisplay();
}

void CMacroDialog::DrawOwnTexts() {
    const MacroKeyDialogLayout& d = kMacroKeyDialog;
    DrawWhiteText(In(language(), kMacroPrompt), d.prompt(), TextAlign::Centre);
    for (int mode = 1; mode <= kRepeatModeCount; ++mode) {
        DrawWrappedWhiteText(In(language(), kRepeatModeTexts[static_cast<std::size_t>(mode - 1)]),
                             d.modeText(mode));
        DrawModeBox(mode);
    }
}

void CMacroDialog::DrawModeBox(int mode) {
    const OnOffImages& images = kMacroKeyDialog.modeBoxImages;
    DrawImage(mode == repeatMode_ ? images.on : images.off, kMacroKeyDialog.modeBox(mode).topLeft());
}

bool CMacroDialog::Click(Point point) {
    if (macro_.click(point)) {
        return true;
    }
    for (int mode = 1; mode <= kRepeatModeCount; ++mode) {
        if (kMacroKeyDialog.modeBox(mode).contains(point)) {
            ChooseRepeatMode(mode);
            return true;
        }
    }
    return false;
}

void CMacroDialog::ChooseRepeatMode(int mode) {
    if (mode != repeatMode_) {
        const int before = repeatMode_;
        repeatMode_ = mode;
        DrawModeBox(before);
        DrawModeBox(mode);
        window().canvas().present();
    }
}

namespace {

// The repeat modes' tick boxes as a radio group, after the macro list's ids.
constexpr int kRepeatModeControl = 594; // + mode 1-3
constexpr int kRepeatModeGroup = 1;

} // namespace

std::vector<Control> CMacroDialog::OwnControls() {
    const MacroKeyDialogLayout& d = kMacroKeyDialog;
    std::vector<Control> controls{macro_.control(std::string(In(language(), kMacroPrompt)))};
    for (int mode = 1; mode <= kRepeatModeCount; ++mode) {
        Control box = MakeControl(kRepeatModeControl + mode, ControlRole::RadioButton,
                                  std::string(In(language(), kRepeatModeTexts[static_cast<std::size_t>(mode - 1)])),
                                  d.modeBox(mode));
        box.group = kRepeatModeGroup;
        box.state.checked = mode == repeatMode_;
        controls.push_back(std::move(box));
    }
    return controls;
}

bool CMacroDialog::ActOwn(int id, ControlAction action) {
    if (id == kMacroKeyDialog.macro.display.id) {
        return macro_.act(action, [this](int list, int index) { ListChosen(list, index); });
    }
    const int mode = id - kRepeatModeControl;
    if (mode < 1 || mode > kRepeatModeCount) {
        return false;
    }
    switch (action) {
    case ControlAction::Activate:
        ChooseRepeatMode(mode);
        break;
    case ControlAction::Next:
        ChooseRepeatMode(mode % kRepeatModeCount + 1);
        break;
    case ControlAction::Previous:
        ChooseRepeatMode((mode + kRepeatModeCount - 2) % kRepeatModeCount + 1);
        break;
    case ControlAction::First:
        ChooseRepeatMode(1);
        break;
    case ControlAction::Last:
        ChooseRepeatMode(kRepeatModeCount);
        break;
    }
    return true;
}

} // namespace quorvel
