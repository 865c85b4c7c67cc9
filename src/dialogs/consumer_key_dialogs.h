#pragma once

#include <span>

#include "assign/assignment_dialogs.h"
#include "assign/dialog_lists.h"
#include "dialogs/list_choice.h"
#include "ui/sub_dialog.h"

namespace quorvel {

// A dialog that offers one list of media or application keys; the first
// entry is chosen until the user picks another.
class ConsumerKeyDialog : public SubDialog {
public:
    int position() const { return key_.position(); }
    const std::string& text() const { return key_.text(); }

protected:
    ConsumerKeyDialog(DialogWindowPort& window, DialogContext context, DialogBackground background,
                      const DropDownSelector& selector, std::span<const ConsumerKeyEntry> entries);

    void CreateControls() override { key_.createDisplay(); }
    bool Click(Point point) override { return key_.click(point); }
    void ListHover(int id, int index) override { key_.hover(id, index); }
    void ListChosen(int id, int index) override { key_.choose(id, index); }
    std::vector<Control> OwnControls() override { return {key_.control(title())}; }
    bool ActOwn(int id, ControlAction action) override {
        return id == key_.control({}).id && key_.act(action, [this](int list, int index) { ListChosen(list, index); });
    }
    bool DismissOwn() override { return key_.dismiss(); }

private:
    ListChoice key_;
};

// The Media dialog: one of the seven media keys.
class CMediaDialog final : public ConsumerKeyDialog {
public:
    CMediaDialog(DialogWindowPort& window, DialogContext context);
    MediaKeyChoice result() const { return {position(), text()}; }
};

// The Windows-key dialog: one of the eleven application keys.
class CWindowsDialog final : public ConsumerKeyDialog {
public:
    CWindowsDialog(DialogWindowPort& window, DialogContext context);
    ApplicationKeyChoice result() const { return {position(), text()}; }
};

} // namespace quorvel
