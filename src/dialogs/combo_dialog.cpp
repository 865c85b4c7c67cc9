#include "dialogs/combo_dialog.h"

#include "assign/key_codes.h"
#include "dialogs/dialog_texts.h"

namespace quorvel {

namespace {

std::vector<std::string> ModifierNames() {
    std::vector<std::string> names;
    for (const ModifierName& modifier : ModifierTable()) {
        names.emplace_back(modifier.name);
    }
    return names;
}

} // namespace

CComboDialog::CComboDialog(DialogWindowPort& window, DialogContext context)
    : SubDialog(window, std::move(context), kComboKeyDialog.background),
      modifier_(window, kComboKeyDialog.modifier, ModifierNames, -1, {}) {
    // The open list covers the key edits.
    modifier_.onOpenChanged([this](bool open) { ShowKeyEdits(!open); });
}

void CComboDialog::CreateControls() {
    const ComboKeyDialogLayout& d = kComboKeyDialog;
    modifier_.createDisplay();
    window().createEdit(d.firstKey.id, d.firstKey.rect, {}, EditKind::KeyName, TextAlign::Left);
    window().createEdit(d.secondKey.id, d.secondKey.rect, {}, EditKind::KeyName, TextAlign::Left);
    // The first key can be pressed at once.
    window().focusControl(d.firstKey.id);
}

bool CComboDialog::Click(Point point) {
    return modifier_.click(point);
}

void CComboDialog::ShowKeyEdits(bool shown) {
    const ComboKeyDialogLayout& d = kComboKeyDialog;
    if (!shown) {
        focusBeforeList_ = window().focusedControl();
    }
    window().showControl(d.firstKey.id, shown);
    window().showControl(d.secondKey.id, shown);
    if (shown && (focusBeforeList_ == d.firstKey.id || focusBeforeList_ == d.secondKey.id)) {
        window().focusControl(*focusBeforeList_);
    }
}

std::vector<Control> CComboDialog::OwnControls() {
    const ComboKeyDialogLayout& d = kComboKeyDialog;
    std::vector<Control> controls{modifier_.control(std::string(In(language(), kModifierName)))};
    // The edits hide under the open list.
    if (!modifier_.isOpen()) {
        controls.push_back(MakeControl(d.firstKey.id, ControlRole::Edit, std::string(In(language(), kFirstKeyName)),
                                       d.firstKey.rect, firstKey_));
        controls.push_back(MakeControl(d.secondKey.id, ControlRole::Edit,
                                       std::string(In(language(), kSecondKeyName)), d.secondKey.rect, secondKey_));
    }
    return controls;
}

bool CComboDialog::ActOwn(int id, ControlAction action) {
    return id == kComboKeyDialog.modifier.display.id &&
           modifier_.act(action, [this](int list, int index) { ListChosen(list, index); });
}

void CComboDialog::KeyCaptured(std::string_view name) {
    const ComboKeyDialogLayout& d = kComboKeyDialog;
    // The edits are hidden under the open list and take no keys then.
    if (modifier_.isOpen()) {
        return;
    }
    const std::optional<int> focused = window().focusedControl();
    if (focused == d.firstKey.id) {
        firstKey_ = name;
        window().setControlText(d.firstKey.id, firstKey_);
    } else if (focused == d.secondKey.id) {
        secondKey_ = name;
        window().setControlText(d.secondKey.id, secondKey_);
    }
}

} // namespace quorvel
