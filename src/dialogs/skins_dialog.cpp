#include "dialogs/skins_dialog.h"

#include <algorithm>
#include <cctype>

#include "dialogs/dialog_texts.h"

namespace quorvel {

namespace {

// The wheel scrolls an open skin list three entries a notch.
constexpr int kWheelLines = 3;

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

} // namespace

CSkinsDialog::CSkinsDialog(DialogWindowPort& window, DialogContext context, std::string skinName,
                           std::function<std::vector<SkinEntry>()> skins)
    : SubDialog(window, context, kSkinsDialog.background), skins_(std::move(skins)),
      folder_(context.skin.folder), name_(skinName), colour_(context.textColour),
      skin_(
          window, kSkinsDialog.skin, [this] { return SkinNames(); }, -1, std::move(skinName)) {
}

std::vector<std::string> CSkinsDialog::SkinNames() const {
    std::vector<std::string> names;
    for (const SkinEntry& skin : skins_()) {
        names.push_back(skin.name);
    }
    return names;
}

void CSkinsDialog::CreateControls() {
    skin_.createDisplay();
}

void CSkinsDialog::DrawOwnTexts() {
    window().canvas().drawText(In(language(), kSkinsPrompt), kSkinsDialog.prompt, FontRole::Text,
                               context().textColour, TextAlign::Centre);
    DrawColourSample();
}

void CSkinsDialog::DrawColourSample() {
    window().canvas().fillRect(kSkinsDialog.colourSample.rect, colour_);
}

bool CSkinsDialog::Click(Point point) {
    if (kSkinsDialog.skin.clickArea.contains(point)) {
        return skin_.click(point);
    }
    // A click anywhere else closes an open list and goes on to what it hit.
    skin_.click(point);
    if (kSkinsDialog.colourSample.rect.contains(point)) {
        ChooseTextColour();
        return true;
    }
    return false;
}

void CSkinsDialog::ChooseTextColour() {
    if (const std::optional<Colour> chosen = window().chooseColour(colour_)) {
        colour_ = *chosen;
        DrawColourSample();
        window().canvas().present();
    }
}

std::vector<Control> CSkinsDialog::OwnControls() {
    const SkinsDialogLayout& d = kSkinsDialog;
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    std::string colour = "#";
    for (const std::uint8_t part : {colour_.red, colour_.green, colour_.blue}) {
        colour += kDigits[part >> 4];
        colour += kDigits[part & 0xF];
    }
    // The colour sample first: it stands above the skin's name.
    return {MakeControl(d.colourSample.id, ControlRole::Button, std::string(In(language(), kSkinsPrompt)),
                        d.colourSample.rect, colour),
            skin_.control(title())};
}

bool CSkinsDialog::ActOwn(int id, ControlAction action) {
    const SkinsDialogLayout& d = kSkinsDialog;
    if (id == d.colourSample.id && action == ControlAction::Activate) {
        ChooseTextColour();
        return true;
    }
    return id == d.skin.display.id && skin_.act(action, [this](int list, int index) { ListChosen(list, index); });
}

void CSkinsDialog::ListHover(int id, int index) {
    skin_.hover(id, index);
}

void CSkinsDialog::ListChosen(int id, int index) {
    if (!skin_.choose(id, index)) {
        return;
    }
    // The folders are looked at again: one may have gone since the list opened.
    for (const SkinEntry& skin : skins_()) {
        if (SameIgnoringCase(skin.name, skin_.text())) {
            folder_ = skin.folder;
            name_ = skin.name;
            break;
        }
    }
    window().setControlText(kSkinsDialog.skin.display.id, name_);
}

void CSkinsDialog::Wheel(int delta) {
    const int list = kSkinsDialog.skin.list.id;
    if (window().listExists(list)) {
        window().scrollList(list, delta > 0 ? -kWheelLines : kWheelLines);
    }
}

} // namespace quorvel
