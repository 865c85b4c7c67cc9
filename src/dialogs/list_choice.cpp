#include "dialogs/list_choice.h"

namespace quorvel {

ListChoice::ListChoice(DialogWindowPort& window, const DropDownSelector& layout,
                       std::function<std::vector<std::string>()> entries, int position, std::string text)
    : window_(&window), layout_(&layout), entries_(std::move(entries)), list_(layout.list.id),
      position_(position), text_(std::move(text)) {
}

void ListChoice::createDisplay(TextAlign align) {
    window_->createStatic(layout_->display.id, layout_->display.rect, text_, align);
}

bool ListChoice::click(Point point) {
    if (layout_->clickArea.contains(point)) {
        if (list_.isOpen()) {
            closeList();
        } else {
            openList();
        }
        return true;
    }
    if (list_.isOpen() && !layout_->list.rect.contains(point)) {
        closeList();
        return true;
    }
    return false;
}

void ListChoice::hover(int listId, int index) {
    list_.hover(*window_, listId, index);
}

bool ListChoice::choose(int listId, int index) {
    const std::optional<std::string> entry = list_.entryOf(listId, index);
    if (!entry) {
        return false;
    }
    position_ = index;
    text_ = *entry;
    window_->setControlText(layout_->display.id, text_);
    closeList();
    return true;
}

Control ListChoice::control(std::string name) const {
    Control control = MakeControl(layout_->display.id, ControlRole::DropDown, std::move(name), layout_->clickArea,
                                  list_.isOpen() && list_.highlighted() >= 0 ? list_.highlightedEntry() : text_);
    control.state.expanded = list_.isOpen();
    return control;
}

bool ListChoice::act(ControlAction action, const std::function<void(int listId, int index)>& chosen) {
    if (action != ControlAction::Activate) {
        return list_.moveHighlight(*window_, action);
    }
    if (list_.isOpen() && list_.highlighted() >= 0) {
        chosen(list_.id(), list_.highlighted());
        return true;
    }
    // As a click on the click area: an open list closes, a closed one opens.
    return click(layout_->clickArea.topLeft());
}

bool ListChoice::dismiss() {
    if (!list_.isOpen()) {
        return false;
    }
    closeList();
    return true;
}

void ListChoice::openList() {
    if (onOpenChanged_) {
        onOpenChanged_(true);
    }
    list_.open(*window_, layout_->list.rect, entries_());
}

void ListChoice::closeList() {
    list_.close(*window_);
    if (onOpenChanged_) {
        onOpenChanged_(false);
    }
}

} // namespace quorvel
