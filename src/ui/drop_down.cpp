#include "ui/drop_down.h"

#include <utility>

namespace quorvel {

void DropDown::open(ListPort& host, Rect list, std::vector<std::string> entries) {
    if (!host.listExists(id_)) {
        host.createList(id_, list, entries);
        entries_ = std::move(entries);
    }
    open_ = true;
}

void DropDown::close(ListPort& host) {
    if (host.listExists(id_)) {
        host.destroyList(id_);
    }
    entries_.clear();
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
    }
}

std::optional<std::string> DropDown::entryOf(int listId, int index) const {
    if (!hasEntry(listId, index)) {
        return std::nullopt;
    }
    return entries_[static_cast<std::size_t>(index)];
}

} // namespace quorvel
