#pragma once

#include <string>
#include <vector>

#include "assign/assignment_dialogs.h"
#include "config/ini_file.h"
#include "dialogs/list_choice.h"
#include "ui/sub_dialog.h"

namespace quorvel {

// The entries of the Macro dialog's list: the macros of record.ini in file
// order, as the macro library lists them (names cut to what the list shows,
// none past the section-name window), and no more than the mouse's macro
// table holds, since a macro beyond it has no slot for the button to play.
std::vector<std::string> MacroListEntries(const IniFile& recordIni);

// The Macro dialog: a macro of the library and one of three repeat modes,
// each mode a tick box of which exactly one is ticked. The list is read from
// record.ini each time it opens, so macros recorded meanwhile show.
class CMacroDialog final : public SubDialog {
public:
    CMacroDialog(DialogWindowPort& window, DialogContext context, IniFile recordIni);

    // Position 0 with an empty name when no macro was chosen.
    MacroChoice result() const { return {macro_.position(), repeatMode_, macro_.text()}; }

protected:
    void CreateControls() override;
    void DrawOwnTexts() override; // the tick boxes too
    bool Click(Point point) override;
    void ListHover(int id, int index) override { macro_.hover(id, index); }
    void ListChosen(int id, int index) override { macro_.choose(id, index); }
    std::vector<Control> OwnControls() override;
    bool ActOwn(int id, ControlAction action) override;
    bool DismissOwn() override { return macro_.dismiss(); }

private:
    void DrawModeBox(int mode);
    void ChooseRepeatMode(int mode);

    IniFile recordIni_;
    ListChoice macro_;
    int repeatMode_ = 1;
};

} // namespace quorvel
