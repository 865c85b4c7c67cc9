#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ports/geometry.h"
#include "ports/ui_port.h"
#include "ui/controls.h"

namespace quorvel {

// A drop-down list of the main window or of a dialog: a child list box that
// exists only while it is open, with a flag that says whether its owner
// holds it open and the entries it shows.
class DropDown {
public:
    explicit DropDown(int id) : id_(id) {}

    int id() const { return id_; }
    bool isOpen() const { return open_; }
    // The entries of the open list; none while it is closed.
    const std::vector<std::string>& entries() const { return entries_; }
    // The entry shown selected in the open list, by the pointer or the
    // keys; -1 when none is.
    int highlighted() const { return highlighted_; }
    // The highlighted entry's text; empty when none is.
    std::string highlightedEntry() const;

    // Creates the list where it does not exist yet and marks it open.
    void open(ListPort& host, Rect list, std::vector<std::string> entries);
    // Destroys the list where it exists and marks it closed.
    void close(ListPort& host);
    // A click on the list's box: an open list closes, a closed one opens.
    void toggle(ListPort& host, Rect list, std::vector<std::string> entries);
    // A click elsewhere than the list and its box closes it.
    void closeUnlessHit(ListPort& host, Point click, Rect list, Rect box);

    // The pointer rests on entry `index` of list `listId`: when that is an
    // entry of this open list, it shows selected.
    void hover(ListPort& host, int listId, int index);
    // The entry `index` of list `listId` when that is an entry of this open
    // list; nothing otherwise.
    std::optional<std::string> entryOf(int listId, int index) const;
    // Moves the highlight of the open list as a key does: Next and Previous
    // one entry (from none, Next starts at the first), First and Last to the
    // ends. True when it moved.
    bool moveHighlight(ListPort& host, ControlAction action);

private:
    bool hasEntry(int listId, int index) const;

    int id_;
    bool open_ = false;
    std::vector<std::string> entries_;
    int highlighted_ = -1;
};

} // namespace quorvel
