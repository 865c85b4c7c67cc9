#include "ui/drop_down.h"

#include <algorithm>
#include <utility>

namespace quorvel {

void DropDown::open(ListPort& host, Rect list, std::vector<std::string> entries) {
    if (!host.listExists(id_)) {
        host.createList(id_, list, entries);
        entries_ = std::move(entries);
        highlighted_ = -1;
    }
    open_ = true;
}

void DropDown::close(ListPort& host) {
    if (host.listExists(id_)) {
        host.destroyList(id_);
    }
    entries_.clear();
    highlighted_ = -1;
    open_ = false;
}

void DropDown::toggle(ListPort& host, Rect list, std::vector<std::string> entries) {
    if (open_) {
        close(host);
    } else {
        open(host, list, std::move(entries));
    }
}

void DropDown::closeUnlessHit(ListPort& host, Point click, Rect list, Rect box) {
    if (!list.contains(click) && !box.contains(click)) {
        close(host);
    }
}

bool DropDown::hasEntry(int listId, int index) const {
    return open_ && listId == id_ && index >= 0 && static_cast<std::size_t>(index) < entries_.size();
}

void DropDown::hover(ListPort& host, int listId, int index) {
    if (hasEntry(listId, index)) {
        host.highlightListItem(listId, index);
        highlighted_ = index;
    }
}

std::string DropDown::highlightedEntry() const {
    return hasEntry(id_, highlighted_) ? entries_[static_cast<std::size_t>(highlighted_)] : std::string();
}

bool DropDown::moveHighlight(ListPort& host, ControlAction action) {
    if (!open_ || entries_.empty()) {
        return false;
    }
    const int last = static_cast<int>(entries_.size()) - 1;
    int to = highlighted_;
    switch (action) {
    case ControlAction::Next:
        to = highlighted_ < 0 ? 0 : std::min(highlighted_ + 1, last);
        break;
    case ControlAction::Previous:
        to = highlighted_ < 0 ? last : std::max(highlighted_ - 1, 0);
        break;
    case ControlAction::First:
        to = 0;
        break;
    case ControlAction::Last:
        to = last;
        break;
    case ControlAction::Activate:
        return false;
    }
    if (to == highlighted_) {
        return false;
    }
    hover(host, id_, to);
    return true;
}

std::optional<std::string> DropDown::entryOf(int listId, int index) const {
    if (!hasEntry(listId, index)) {
        return std::nullopt;
    }
    return entries_[static_cast<std::size_t>(index)];
}

} // namespace quorvel
