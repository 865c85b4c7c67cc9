#include "app/page_drop_down.h"

namespace quorvel {

void PageDropDown::open(WindowPort& window, Rect list, const std::vector<std::string>& items) {
    if (!window.listExists(id_)) {
        window.createList(id_, list, items);
    }
    open_ = true;
}

void PageDropDown::close(WindowPort& window) {
    if (window.listExists(id_)) {
        window.destroyList(id_);
    }
    open_ = false;
}

void PageDropDown::toggle(WindowPort& window, Rect list, const std::vector<std::string>& items) {
    if (open_) {
        close(window);
    } else {
        open(window, list, items);
    }
}

void PageDropDown::closeUnlessHit(WindowPort& window, Point click, Rect list, Rect box) {
    if (!list.contains(click) && !box.contains(click)) {
        close(window);
    }
}

} // namespace quorvel
