#include "dialogs/dialog_drop_down.h"

namespace quorvel {

DialogDropDown::DialogDropDown(DialogWindowPort& window, const DropDownSelector& layout,
                               std::function<std::vector<std::string>()> entries, int position,
                               std::string text)
    : window_(&window), layout_(&layout), entries_(std::move(entries)), position_(position),
      text_(std::move(text)) {
}

void DialogDropDown::CreateDisplay(TextAlign align) {
    window_->createStatic(layout_->display.id, layout_->display.rect, text_, align);
}

bool DialogDropDown::Click(Point point) {
    if (layout_->clickArea.contains(point)) {
        if (open_) {
            Close();
        } else {
            Open();
        }
        return true;
    }
    if (open_ && !layout_->list.rect.contains(point)) {
        Close();
        return true;
    }
    return false;
}

void DialogDropDown::Hover(int listId, int index) {
    if (open_ && listId == layout_->list.id && index >= 0 &&
        static_cast<std::size_t>(index) < shown_.size()) {
        window_->highlightListItem(listId, index);
    }
}

bool DialogDropDown::Choose(int listId, int index) {
    if (!open_ || listId != layout_->list.id || index < 0 ||
        static_cast<std::size_t>(index) >= shown_.size()) {
        return false;
    }
    position_ = index;
    text_ = shown_[static_cast<std::size_t>(index)];
    window_->setControlText(layout_->display.id, text_);
    Close();
    return true;
}

void DialogDropDown::Open() {
    shown_ = entries_();
    if (onOpenChanged_) {
        onOpenChanged_(true);
    }
    window_->createList(layout_->list.id, layout_->list.rect, shown_);
    open_ = true;
}

void DialogDropDown::Close() {
    window_->destroyControl(layout_->list.id);
    shown_.clear();
    open_ = false;
    if (onOpenChanged_) {
        onOpenChanged_(false);
    }
}

} // namespace quorvel
