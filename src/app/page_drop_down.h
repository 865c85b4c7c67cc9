#pragma once

#include <string>
#include <vector>

#include "ports/ui_port.h"
#include "ports/geometry.h"

namespace quorvel {

// A drop-down list of the main window: a child list box that exists only
// while it is open, with a flag that says whether the page holds it open.
class PageDropDown {
public:
    explicit PageDropDown(int id) : id_(id) {}

    int id() const { return id_; }
    bool isOpen() const { return open_; }

    // Creates the list where it does not exist yet and marks it open.
    void open(WindowPort& window, Rect list, const std::vector<std::string>& items);
    // Destroys the list where it exists and marks it closed.
    void close(WindowPort& window);
    // A click on the list's box: an open list closes, a closed one opens.
    void toggle(WindowPort& window, Rect list, const std::vector<std::string>& items);
    // A click elsewhere than the list and its box closes it.
    void closeUnlessHit(WindowPort& window, Point click, Rect list, Rect box);

private:
    int id_;
    bool open_ = false;
};

} // namespace quorvel
