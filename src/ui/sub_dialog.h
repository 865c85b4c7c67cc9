#pragma once

#include <filesystem>
#include <string>

#include "lang/language.h"
#include "ports/message_port.h"
#include "ports/ui_port.h"
#include "ui/dialog_layout.h"
#include "ui/hover_set.h"
#include "ui/skin_painter.h"

namespace quorvel {

// What every sub-dialog shares with the main window: the skin and the language.
struct DialogContext {
    ImageCache& images;
    MessagePort& messages;
    std::filesystem::path skinFolder;
    Colour textColour;
    Language language;
    FontSpec font; // the text font of the interface language
};

// The skeleton of the small modal dialogs: the background image gives the
// size, OK / Cancel / close are image buttons with hover feedback, the
// dialog's own texts are white. A dialog whose background does not load says
// so and still opens, blank, its OK, Cancel and close still answering.
class SubDialog {
public:
    SubDialog(DialogWindowPort& window, DialogContext context, DialogBackground background);
    virtual ~SubDialog() = default;

    void Initialise();
    void Paint();
    void OnMouseMove(Point point);
    void OnLeftButtonDown(Point point);

    bool loaded() const { return loaded_; }
    const std::string& okText() const { return okText_; }
    const std::string& cancelText() const { return cancelText_; }

protected:
    // The dialog's own part.
    virtual void CreateControls() {}
    virtual void DrawOwnTexts() {}
    virtual bool Click(Point) { return false; } // true when a control of the dialog took it
    virtual void ReadResults() {}              // on OK, before the dialog ends

    void DrawWhiteText(std::string_view text, Rect box, TextAlign align = TextAlign::Left);
    DialogWindowPort& window() { return *window_; }
    const DialogContext& context() const { return context_; }
    Language language() const { return context_.language; }

private:
    void DrawButton(const ImageButton& button, bool over, std::string_view caption);

    DialogWindowPort* window_;
    DialogContext context_;
    DialogBackground background_;
    HoverSet hover_;
    bool loaded_ = false;
    std::string okText_;
    std::string cancelText_;
};

} // namespace quorvel
