#pragma once

#include <optional>
#include <string>

#include "assign/assignment_dialogs.h"
#include "dialogs/list_choice.h"
#include "ui/sub_dialog.h"

namespace quorvel {

// The Combo-key dialog: a modifier from the modifier list and two keys,
// each captured into the key edit that has the focus. A key pressed while
// neither edit has the focus is ignored; Enter and Escape are keys like any
// other here.
class CComboDialog final : public SubDialog {
public:
    CComboDialog(DialogWindowPort& window, DialogContext context);

    // Each part empty when none was chosen.
    ComboKeyChoice result() const { return {modifier_.text(), firstKey_, secondKey_}; }
    int modifierPosition() const { return modifier_.position(); } // -1: none

protected:
    void CreateControls() override;
    bool Click(Point point) override;
    void KeyCaptured(std::string_view name) override;
    bool EndsOnStandardKeys() const override { return false; }
    void ListHover(int id, int index) override { modifier_.hover(id, index); }
    void ListChosen(int id, int index) override { modifier_.choose(id, index); }
    std::vector<Control> OwnControls() override;
    bool ActOwn(int id, ControlAction action) override;
    bool DismissOwn() override { return modifier_.dismiss(); }

private:
    void ShowKeyEdits(bool shown);

    ListChoice modifier_;
    std::string firstKey_;
    std::string secondKey_;
    std::optional<int> focusBeforeList_;
};

} // namespace quorvel
