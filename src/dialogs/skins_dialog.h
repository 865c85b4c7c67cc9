#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/list_choice.h"
#include "ui/sub_dialog.h"

namespace quorvel {

// A skin the dialog offers: the folder's name and where it lies.
struct SkinEntry {
    std::string name;
    std::filesystem::path folder;
};

// What the Skins dialog hands back on OK: the skin folder, its name (as
// str.ini keeps it) and the text colour of the interface.
struct SkinChoice {
    std::filesystem::path folder;
    std::string name;
    Colour textColour;
    bool operator==(const SkinChoice&) const = default;
};

// The Skins dialog: the skin list opens under the name label, a click on the
// colour sample opens the colour chooser. It starts from the skin and the
// colour of the context; nothing changes unless the user ends it with OK.
class CSkinsDialog final : public SubDialog {
public:
    // `skins` lists the skins to offer; it is asked each time the list opens
    // and again when a skin is chosen.
    CSkinsDialog(DialogWindowPort& window, DialogContext context, std::string skinName,
                 std::function<std::vector<SkinEntry>()> skins);

    SkinChoice result() const { return {folder_, name_, colour_}; }

protected:
    void CreateControls() override;
    void DrawOwnTexts() override;
    bool Click(Point point) override;
    void ListHover(int id, int index) override;
    void ListChosen(int id, int index) override;
    void Wheel(int delta) override;
    // A blank dialog has taken no skin and no colour to hand back.
    bool OkWithoutBackground() const override { return false; }
    std::vector<Control> OwnControls() override;
    bool ActOwn(int id, ControlAction action) override;
    bool DismissOwn() override { return skin_.dismiss(); }

private:
    std::vector<std::string> SkinNames() const;
    void DrawColourSample();
    void ChooseTextColour();

    std::function<std::vector<SkinEntry>()> skins_;
    std::filesystem::path folder_;
    std::string name_;
    Colour colour_;
    ListChoice skin_;
};

} // namespace quorvel
