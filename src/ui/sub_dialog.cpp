#include "ui/sub_dialog.h"

#include "lang/texts.h"

namespace quorvel {

namespace {

constexpr Colour kWhite{0xFF, 0xFF, 0xFF};
constexpr int kCommitGroup = 1;

// The captions of OK and Cancel by language.
constexpr std::string_view kOkTexts[kLanguageCount] = {"OK", "确定", "確定"};
constexpr std::string_view kCancelTexts[kLanguageCount] = {"Cancel", "取消", "取消"};

// The ids of the skeleton's controls; the dialogs' own are child control ids.
constexpr int kCloseControl = 1;
constexpr int kOkControl = 2;
constexpr int kCancelControl = 3;

TextId TitleOf(DialogId dialog) {
    switch (dialog) {
    case DialogId::SingleKey:
        return TextId::kSingleKey;
    case DialogId::ComboKey:
        return TextId::kComboKey;
    case DialogId::FireKey:
        return TextId::kFireKey;
    case DialogId::MediaKey:
        return TextId::kMultimedia;
    case DialogId::WindowsKey:
        return TextId::kWindows;
    case DialogId::MacroKey:
        return TextId::kMacroKey;
    case DialogId::DelayTime:
        return TextId::kDelayTime;
    case DialogId::Skins:
        return TextId::kSkins;
    }
    return TextId::kSkins;
}

} // namespace

SubDialog::SubDialog(DialogWindowPort& window, DialogContext context, DialogBackground background)
    : window_(&window), context_(std::move(context)), background_(background) {
    hover_.setControls({
        {kDialogSkeleton.ok.rect, kCommitGroup,
         [this](bool over) { DrawButton(kDialogSkeleton.ok, over, okText_); }},
        {kDialogSkeleton.cancel.rect, kCommitGroup,
         [this](bool over) { DrawButton(kDialogSkeleton.cancel, over, cancelText_); }},
        {kDialogSkeleton.close.rect, 0, [this](bool over) { DrawButton(kDialogSkeleton.close, over, {}); }},
    });
    const auto underlay = [this](Rect part) {
        DrawSkinImagePart(window_->canvas(), context_.images, context_.skin, background_.image, part);
    };
    hover_.setUnderlay(underlay);
    ring_.setUnderlay(underlay);
    ring_.setRedrawWithin([this](Rect area) { hover_.redrawWithin(area); });
}

std::string SubDialog::title() const {
    return std::string(Text(context_.language, TitleOf(background_.dialog)));
}

std::vector<Control> SubDialog::controls() {
    std::vector<Control> list;
    list.push_back(MakeControl(kCloseControl, ControlRole::Button,
                               std::string(Text(context_.language, TextId::kClose)), kDialogSkeleton.close.rect));
    // A dialog opened blank answers OK, Cancel and close only.
    if (loaded_) {
        for (Control& control : OwnControls()) {
            list.push_back(std::move(control));
        }
    }
    const auto column = static_cast<std::size_t>(context_.language);
    list.push_back(MakeControl(kOkControl, ControlRole::Button, std::string(kOkTexts[column]),
                               kDialogSkeleton.ok.rect));
    list.push_back(MakeControl(kCancelControl, ControlRole::Button, std::string(kCancelTexts[column]),
                               kDialogSkeleton.cancel.rect));
    return list;
}

bool SubDialog::act(int id, ControlAction action) {
    const bool activate = action == ControlAction::Activate;
    if (id == kOkControl && activate) {
        Finish(true);
        return true;
    }
    if ((id == kCancelControl || id == kCloseControl) && activate) {
        Finish(false);
        return true;
    }
    return loaded_ && ActOwn(id, action);
}

bool SubDialog::dismiss() {
    return loaded_ && DismissOwn();
}

bool SubDialog::OnNavigationKey(NavigationKey key) {
    // An edit the pointer (or the dialog) gave the focus to is where the
    // keys go on from.
    if (const std::optional<int> real = window_->focusedControl(); real && *real != navigator_.focused()) {
        navigator_.Focus(*real);
    }
    // A dialog that captures keys captures them all but Tab and Shift+Tab,
    // until Tab takes the focus to a control that is no key edit; an open
    // list still closes on Escape.
    const std::optional<Control> focused = navigator_.focusedControl();
    const bool leaving = key == NavigationKey::Tab || key == NavigationKey::BackTab;
    const bool onKeyEdit = !navigator_.engaged() || (focused && focused->role == ControlRole::Edit);
    bool listOpen = false;
    for (const Control& control : controls()) {
        listOpen = listOpen || control.state.expanded;
    }
    if (!EndsOnStandardKeys() && !leaving && onKeyEdit && !listOpen) {
        return false;
    }
    const int before = navigator_.focused();
    if (!navigator_.OnKey(key)) {
        return false;
    }
    if (navigator_.focused() != before) {
        window_->focusControl(navigator_.childToFocus());
    }
    ShowFocus();
    return true;
}

void SubDialog::ShowFocus() {
    std::optional<Rect> rect;
    if (navigator_.engaged() && loaded_) {
        if (const std::optional<Control> focused = navigator_.focusedControl()) {
            rect = focused->rect;
        }
    }
    const Colour colour = window_->highContrastHighlight().value_or(context_.textColour);
    if (ring_.show(window_->canvas(), rect, colour)) {
        window_->canvas().present();
    }
}

void SubDialog::ControlsChanged() {
    navigator_.Refresh();
    ShowFocus();
}

void SubDialog::Initialise() {
    const SkinImage* background = LoadSkinImage(context_.images, context_.skin, background_.image);
    if (background == nullptr) {
        reportFault(DialogFault::Kind::BackgroundNotLoaded, background_.image);
        const Rect blank = kDialogSkeleton.blankClientArea();
        window_->setClientSize(blank.width(), blank.height());
        return;
    }
    loaded_ = true;
    window_->setClientSize(background->width, background->height);
    window_->setFont(context_.font);
    const auto column = static_cast<std::size_t>(context_.language);
    okText_ = kOkTexts[column];
    cancelText_ = kCancelTexts[column];
    CreateControls();
}

void SubDialog::reportFault(DialogFault::Kind kind, std::string_view image) {
    if (context_.reportFault) {
        context_.reportFault({kind, background_.dialog, image});
    }
}

void SubDialog::DrawButton(const ImageButton& button, bool over, std::string_view caption) {
    DrawImage(over ? button.overImage : button.normalImage, button.rect.topLeft());
    if (!caption.empty()) {
        window_->canvas().drawText(caption, button.rect, FontRole::Text, context_.textColour,
                                   TextAlign::Centre);
    }
}

void SubDialog::DrawWhiteText(std::string_view text, Rect box, TextAlign align) {
    window_->canvas().drawText(text, box, FontRole::Text, kWhite, align);
}

void SubDialog::DrawWrappedWhiteText(std::string_view text, Rect box) {
    window_->canvas().drawWrappedText(text, box, FontRole::Text, kWhite);
}

void SubDialog::DrawImage(std::string_view name, Point at) {
    if (!DrawSkinImage(window_->canvas(), context_.images, context_.skin, name, at)) {
        reportFault(DialogFault::Kind::ImageNotLoaded, name);
    }
}

void SubDialog::Paint() {
    if (!loaded_) {
        return;
    }
    DrawSkinImage(window_->canvas(), context_.images, context_.skin, background_.image, {0, 0});
    ring_.forget();
    DrawButton(kDialogSkeleton.ok, false, okText_);
    DrawButton(kDialogSkeleton.cancel, false, cancelText_);
    DrawOwnTexts();
    DrawButton(kDialogSkeleton.close, false, {});
    ShowFocus();
    window_->canvas().present();
}

void SubDialog::OnMouseMove(Point point) {
    if (loaded_ && hover_.pointerAt(point)) {
        window_->canvas().present();
    }
}

void SubDialog::Finish(bool ok) {
    if (ok && loaded_) {
        ReadResults();
    }
    window_->end(ok && (loaded_ || OkWithoutBackground()));
}

void SubDialog::OnLeftButtonDown(Point point) {
    if (kDialogSkeleton.ok.rect.contains(point)) {
        Finish(true);
        return;
    }
    if (kDialogSkeleton.cancel.rect.contains(point) || kDialogSkeleton.close.rect.contains(point)) {
        Finish(false);
        return;
    }
    if (loaded_) {
        Click(point);
        ControlsChanged();
    }
}

void SubDialog::OnKey(std::string_view name) {
    if (loaded_) {
        KeyCaptured(name);
        ControlsChanged();
    }
}

bool SubDialog::OnStandardKey(StandardKey key) {
    if (EndsOnStandardKeys()) {
        Finish(key == StandardKey::Enter);
    }
    return true;
}

void SubDialog::OnEditChanged(int id) {
    if (loaded_) {
        EditChanged(id);
    }
}

void SubDialog::OnEditFocusLost(int id) {
    if (loaded_) {
        EditFocusLost(id);
    }
}

void SubDialog::OnListHover(int id, int index) {
    if (loaded_) {
        ListHover(id, index);
    }
}

void SubDialog::OnListChosen(int id, int index) {
    if (loaded_) {
        ListChosen(id, index);
        ControlsChanged();
    }
}

void SubDialog::OnWheel(int delta) {
    if (loaded_) {
        Wheel(delta);
    }
}

} // namespace quorvel
