#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ports/ui_port.h"
#include "ui/dialog_layout.h"

namespace quorvel {

// The choice from a list of a dialog: the display shows the chosen entry; a
// click in the click area opens the list below it or closes it again, a
// click anywhere else in the dialog closes it; the entry under the pointer
// shows selected; choosing an entry takes it and closes the list.
class DialogDropDown {
public:
    // `entries` is asked for the list each time it opens.
    DialogDropDown(DialogWindowPort& window, const DropDownSelector& layout,
                   std::function<std::vector<std::string>()> entries, int position, std::string text);

    // Called with true when the list opens and false when it closes, for the
    // controls the list covers.
    void onOpenChanged(std::function<void(bool open)> handler) { onOpenChanged_ = std::move(handler); }

    void CreateDisplay(TextAlign align = TextAlign::Left);
    // A left click in the dialog; true when it opened or closed the list.
    bool Click(Point point);
    void Hover(int listId, int index);
    // True when the entry was taken.
    bool Choose(int listId, int index);

    bool open() const { return open_; }
    int position() const { return position_; }
    const std::string& text() const { return text_; }

private:
    void Open();
    void Close();

    DialogWindowPort* window_;
    const DropDownSelector* layout_;
    std::function<std::vector<std::string>()> entries_;
    std::function<void(bool)> onOpenChanged_;
    std::vector<std::string> shown_; // the entries of the open list
    bool open_ = false;
    int position_;
    std::string text_;
};

} // namespace quorvel
