#include "ui/sub_dialog.h"

namespace quorvel {

namespace {

constexpr Colour kWhite{0xFF, 0xFF, 0xFF};
constexpr int kCommitGroup = 1;

// The captions of OK and Cancel by language.
constexpr std::string_view kOkTexts[kLanguageCount] = {"OK", "确定", "確定"};
constexpr std::string_view kCancelTexts[kLanguageCount] = {"Cancel", "取消", "取消"};

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
    hover_.setUnderlay([this](Rect part) {
        DrawSkinImagePart(window_->canvas(), context_.images, context_.skin, background_.image, part);
    });
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
    DrawButton(kDialogSkeleton.ok, false, okText_);
    DrawButton(kDialogSkeleton.cancel, false, cancelText_);
    DrawOwnTexts();
    DrawButton(kDialogSkeleton.close, false, {});
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
    }
}

void SubDialog::OnKey(std::string_view name) {
    if (loaded_) {
        KeyCaptured(name);
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
    }
}

void SubDialog::OnWheel(int delta) {
    if (loaded_) {
        Wheel(delta);
    }
}

} // namespace quorvel
