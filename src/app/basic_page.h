#pragma once

#include <array>
#include <functional>
#include <vector>

#include "app/dpi_controls.h"
#include "app/lighting_controls.h"
#include "app/page.h"
#include "assign/assignment_dialogs.h"
#include "assign/button_assignment.h"
#include "ui/drop_down.h"

namespace quorvel {

class PageContext;

// The Basic page: the button list of the shown key configuration (Mode A or
// Mode B) with its drop-down lists, the DPI sub-list, "Default", and the
// report rate, DPI and lighting sections it hosts. Rows count from 1 and
// show button row - 1.
class BasicPage final : public PageContent {
public:
    BasicPage(PageContext& context, AssignmentDialogs& dialogs);
    // Its dispatch table points back at it.
    BasicPage(const BasicPage&) = delete;
    BasicPage& operator=(const BasicPage&) = delete;

    // PageContent.
    void draw() override;
    void leave() override;
    bool click(Point point) override;
    std::vector<HoverControl> hoverControls() override;
    void listChosen(int id, int index) override;
    void listPointer(int id, int index, Rect item) override;
    std::vector<Control> controls() override;
    bool act(int id, ControlAction action) override;
    bool dismiss() override;
    void redrawWithin(Rect area) override;

    // The controls, as a click on them runs them.
    void RowClick(int row);
    void SelectMode(int mode); // 0 Mode A, 1 Mode B
    void Default();

    // The key configuration the page shows and edits: any selector byte
    // other than 0 stands for Mode B, as the record's buttonSet() reads it.
    int shownMode() const;
    DpiControls& dpi() { return dpi_; }
    LightingControls& lighting() { return lighting_; }

private:
    struct Hit {
        Rect rect;
        std::function<void()> action;
    };
    std::vector<Hit> DispatchTable();
    // An open list's keys: the highlight moves, Activate chooses the
    // highlighted entry as a click on it does (`open` runs when the list is
    // closed, or open with nothing highlighted).
    bool ActOnList(DropDown& list, ControlAction action, const std::function<void()>& open);
    bool ActOnRow(int row, ControlAction action);
    void FirstDrawing();
    void ClosingPass(Point point);
    void ChooseFunction(int button, int entry);
    void ChooseDpiSwitch(int entry);
    void DrawRowBox(int row, bool over);
    void DrawModeButtons();
    void DrawDefaultButton(bool over);
    void CloseRowList(int button);
    void CloseDpiSubList();
    void Present();

    PageContext* context_;
    ButtonAssignment assignment_;
    std::array<DropDown, kButtonCount> rowLists_;
    DropDown dpiSubList_;
    DpiControls dpi_;
    LightingControls lighting_;
    std::vector<Hit> hits_;
};

} // namespace quorvel
