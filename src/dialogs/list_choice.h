#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ports/ui_port.h"
#include "ui/controls.h"
#include "ui/dialog_layout.h"
#include "ui/drop_down.h"

namespace quorvel {

// The choice from a list of a dialog: the display shows the chosen entry; a
// click in the click area opens the drop-down list below it or closes it
// again, a click anywhere else in the dialog closes it; the entry under the
// pointer shows selected; choosing an entry takes it and closes the list.
class ListChoice {
public:
    // `entries` is asked for the list each time it opens.
    ListChoice(DialogWindowPort& window, const DropDownSelector& layout,
               std::function<std::vector<std::string>()> entries, int position, std::string text);

    // Called with true just before the list opens and with false just after
    // it closed, for the controls the list covers.
    void onOpenChanged(std::function<void(bool open)> handler) { onOpenChanged_ = std::move(handler); }

    void createDisplay(TextAlign align = TextAlign::Left);
    // A left click in the dialog; true when it opened or closed the list.
    bool click(Point point);
    void hover(int listId, int index);
    // True when the entry was taken.
    bool choose(int listId, int index);

    // The choice as keys and screen readers see it: a drop-down named
    // `name` at the click area, whose id is its display's.
    Control control(std::string name) const;
    // A key on it: Activate opens the list, or hands its highlighted entry
    // to `chosen` as a click on the entry does (closes the list when none is
    // highlighted); the arrows, Home and End move the highlight in the open
    // list. False when nothing happened.
    bool act(ControlAction action, const std::function<void(int listId, int index)>& chosen);
    // Closes the open list without a choice; false when it was closed.
    bool dismiss();

    bool isOpen() const { return list_.isOpen(); }
    int position() const { return position_; }
    const std::string& text() const { return text_; }

private:
    void openList();
    void closeList();

    DialogWindowPort* window_;
    const DropDownSelector* layout_;
    std::function<std::vector<std::string>()> entries_;
    std::function<void(bool)> onOpenChanged_;
    DropDown list_;
    int position_;
    std::string text_;
};

} // namespace quorvel
