#include "dialogs/fire_key_dialog.h"

#include <string>

#include "assign/dialog_lists.h"
#include "config/ini_file.h"
#include "dialogs/dialog_texts.h"

namespace quorvel {

namespace {

std::vector<std::string> FireKeyEntries() {
    std::vector<std::string> texts;
    for (const FireKeyEntry& entry : FireKeyList()) {
        texts.emplace_back(entry.text);
    }
    return texts;
}

} // namespace

CFireKeyDialog::CFireKeyDialog(DialogWindowPort& window, DialogContext context)
    : SubDialog(window, std::move(context), kFireKeyDialog.background),
      key_(window, kFireKeyDialog.key, FireKeyEntries, 0, std::string(FireKeyText(0))) {
    // The open list covers the two edits. Hiding them takes the focus away,
    // so it goes back where it was: the next digit typed lands in the same box.
    key_.onOpenChanged([this](bool open) {
        if (open) {
            focusBeforeList_ = this->window().focusedControl();
        }
        this->window().showControl(kFireKeyDialog.speed.id, !open);
        this->window().showControl(kFireKeyDialog.times.id, !open);
        if (!open && focusBeforeList_) {
            this->window().focusControl(*focusBeforeList_);
        }
    });
}

void CFireKeyDialog::CreateControls() {
    const FireKeyDialogLayout& d = kFireKeyDialog;
    key_.createDisplay();
    window().createEdit(d.speed.id, d.speed.rect, std::to_string(speed_), EditKind::Digits,
                        TextAlign::Centre);
    window().createEdit(d.times.id, d.times.rect, std::to_string(times_), EditKind::Digits,
                        TextAlign::Centre);
}

void CFireKeyDialog::DrawOwnTexts() {
    const FireKeyDialogLayout& d = kFireKeyDialog;
    DrawWhiteText(In(language(), kFireSpeedLabel), d.labelBefore(d.speed.rect));
    DrawWhiteText(In(language(), kFireTimesLabel), d.labelBefore(d.times.rect));
    for (std::size_t row = 0; row < kFireIllustration.size(); ++row) {
        DrawWhiteText(In(language(), kFireIllustration[row]), d.illustrationRow(static_cast<int>(row)));
    }
}

void CFireKeyDialog::EditChanged(int id) {
    if (id == kFireKeyDialog.times.id) {
        CorrectTimes();
    }
}

void CFireKeyDialog::EditFocusLost(int id) {
    if (id == kFireKeyDialog.speed.id) {
        CorrectSpeed();
    }
}

void CFireKeyDialog::CorrectSpeed() {
    const int id = kFireKeyDialog.speed.id;
    const long value = LeadingInteger(window().controlText(id)); // an empty box reads as 0
    if (value < kFastestFireSpeed || value > kSlowestFireSpeed) {
        speed_ = kFastestFireSpeed;
        window().setControlText(id, std::to_string(speed_));
        return;
    }
    speed_ = static_cast<int>(value);
}

void CFireKeyDialog::CorrectTimes() {
    const int id = kFireKeyDialog.times.id;
    const long value = LeadingInteger(window().controlText(id)); // an empty box gives 0
    if (value < 0 || value > kMostFireTimes) {
        times_ = kFireTimesFallback;
        window().setControlText(id, std::to_string(times_));
        return;
    }
    times_ = static_cast<int>(value);
}

std::vector<Control> CFireKeyDialog::OwnControls() {
    const FireKeyDialogLayout& d = kFireKeyDialog;
    std::vector<Control> controls{key_.control(title())};
    // The edits hide under the open list.
    if (!key_.isOpen()) {
        controls.push_back(MakeControl(d.speed.id, ControlRole::Edit, std::string(In(language(), kFireSpeedLabel)),
                                       d.speed.rect, window().controlText(d.speed.id)));
        controls.push_back(MakeControl(d.times.id, ControlRole::Edit, std::string(In(language(), kFireTimesLabel)),
                                       d.times.rect, window().controlText(d.times.id)));
    }
    return controls;
}

bool CFireKeyDialog::ActOwn(int id, ControlAction action) {
    return id == kFireKeyDialog.key.display.id &&
           key_.act(action, [this](int list, int index) { ListChosen(list, index); });
}

} // namespace quorvel
