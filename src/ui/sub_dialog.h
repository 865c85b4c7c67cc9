#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "lang/language.h"
#include "ports/ui_port.h"
#include "ui/controls.h"
#include "ui/focus_ring.h"
#include "ui/dialog_layout.h"
#include "ui/hover_set.h"
#include "ui/navigator.h"
#include "ui/skin_painter.h"

namespace quorvel {

// A skin image a dialog could not draw. The dialog draws on without it; its
// owner, who knows the user, decides what to tell.
struct DialogFault {
    enum class Kind {
        BackgroundNotLoaded, // the dialog opens blank, answering OK, Cancel and close only
        ImageNotLoaded,      // a button or picture of the dialog
    };
    Kind kind;
    DialogId dialog;
    std::string_view image;
    bool operator==(const DialogFault&) const = default;
};
using DialogFaultHandler = std::function<void(const DialogFault&)>;

// What every sub-dialog shares with the main window: the skin and the
// language, and where its faults go.
struct DialogContext {
    ImageCache& images;
    DialogFaultHandler reportFault;
    SkinSource skin;
    Colour textColour;
    Language language;
    FontSpec font; // the text font of the interface language
};

// The keys a dialog window gives a meaning of its own: Enter (either of the
// two) and Escape.
enum class StandardKey { Enter, Escape };

// The skeleton of the small modal dialogs: the background image gives the
// size, OK / Cancel / close are image buttons with hover feedback, the
// dialog's own texts are white. A dialog whose background does not load says
// so (a DialogFault) and still opens, blank, its OK, Cancel and close still answering.
//
// The shell calls the On... functions with what the user does; a dialog
// whose background did not load has no controls and captures no keys, so
// it takes nothing but its OK, Cancel and close rectangles and the standard
// keys.
//
// As a ControlSource it is the close button, the dialog's own controls and
// OK and Cancel, in reading order; Tab and the other navigation keys move
// through them (OnNavigationKey), in a dialog that captures keys too: there
// the focused key edit takes every key but Tab and Shift+Tab.
class SubDialog : public ControlSource {
public:
    SubDialog(DialogWindowPort& window, DialogContext context, DialogBackground background);
    ~SubDialog() override = default;
    SubDialog(const SubDialog&) = delete;
    SubDialog& operator=(const SubDialog&) = delete;

    void Initialise();
    void Paint();
    void OnMouseMove(Point point);
    void OnLeftButtonDown(Point point);
    // A key went down or up while the dialog had the focus; `name` is the
    // key's name as the system's key-name source gives it.
    void OnKey(std::string_view name);
    // Enter or Escape went down; true when the dialog took it (the shell
    // then drops the key).
    bool OnStandardKey(StandardKey key);
    // The user changed an edit's text (typing, pasting, deleting).
    void OnEditChanged(int id);
    void OnEditFocusLost(int id);
    // The pointer rests on entry `index` of a list; the user chose an entry
    // (a click or a double click).
    void OnListHover(int id, int index);
    void OnListChosen(int id, int index);
    // The wheel turned over the dialog: `delta` > 0 away from the user.
    void OnWheel(int delta);

    // A key that moves through the controls: true when it was taken; the
    // shell then drops it, else Enter and Escape go on to OnStandardKey and
    // other keys to the focused control.
    bool OnNavigationKey(NavigationKey key);
    // The control with the keyboard focus; -1 when none has it.
    int focusedControl() const { return navigator_.focused(); }
    void setAccessibility(AccessibilityPort* port) { navigator_.setAccessibility(port); }
    // The dialog's title in the interface language.
    std::string title() const;

    // ControlSource.
    std::vector<Control> controls() override;
    bool act(int id, ControlAction action) override;
    bool dismiss() override;

    bool loaded() const { return loaded_; }
    const std::string& okText() const { return okText_; }
    const std::string& cancelText() const { return cancelText_; }

protected:
    // The dialog's own part.
    virtual void CreateControls() {}
    virtual void DrawOwnTexts() {}
    virtual bool Click(Point) { return false; } // true when a control of the dialog took it
    virtual void ReadResults() {}               // on OK, before the dialog ends
    virtual void KeyCaptured(std::string_view) {}
    // False for the dialogs in which Enter and Escape are keys to capture:
    // then they neither press OK nor Cancel.
    virtual bool EndsOnStandardKeys() const { return true; }
    virtual void EditChanged(int) {}
    virtual void EditFocusLost(int) {}
    virtual void ListHover(int, int) {}
    virtual void ListChosen(int, int) {}
    virtual void Wheel(int) {}
    // Whether OK still answers OK when the background did not load and the
    // dialog opened blank; false when it has nothing to hand back then.
    virtual bool OkWithoutBackground() const { return true; }
    // The dialog's own controls in reading order, between the close button
    // and OK; their ids are their child control ids (or, for a painted
    // control, ids of the dialog's range of child ids), none below 100.
    virtual std::vector<Control> OwnControls() { return {}; }
    virtual bool ActOwn(int /*id*/, ControlAction /*action*/) { return false; }
    virtual bool DismissOwn() { return false; }
    // The pointer or a key changed the dialog's controls: assistive
    // technology hears of it, the focus ring follows.
    void ControlsChanged();

    void DrawWhiteText(std::string_view text, Rect box, TextAlign align = TextAlign::Left);
    void DrawWrappedWhiteText(std::string_view text, Rect box);
    // A skin image of the dialog; a missing one is reported.
    void DrawImage(std::string_view name, Point at);
    void reportFault(DialogFault::Kind kind, std::string_view image);
    DialogWindowPort& window() { return *window_; }
    const DialogContext& context() const { return context_; }
    Language language() const { return context_.language; }

private:
    void DrawButton(const ImageButton& button, bool over, std::string_view caption);
    void Finish(bool ok);
    void ShowFocus();

    DialogWindowPort* window_;
    DialogContext context_;
    DialogBackground background_;
    HoverSet hover_;
    bool loaded_ = false;
    std::string okText_;
    std::string cancelText_;
    Navigator navigator_{*this};
    FocusRing ring_;
};

// Where the sub-dialogs run: a fresh window for each, shown modally over the
// main window.
class DialogHost {
public:
    virtual ~DialogHost() = default;
    virtual std::unique_ptr<DialogWindowPort> NewWindow() = 0;
    // Shows `window` and hands what the user does to `dialog` until the
    // dialog ends; true when it ended with OK.
    virtual bool RunModal(DialogWindowPort& window, SubDialog& dialog) = 0;
};

// Runs one dialog made on a fresh window of the host from `context` and
// `arguments`: its result when it ends with OK, nothing otherwise.
template <typename Dialog, typename... Arguments>
auto RunSubDialog(DialogHost& host, DialogContext context, Arguments&&... arguments)
    -> std::optional<decltype(std::declval<const Dialog&>().result())> {
    const std::unique_ptr<DialogWindowPort> window = host.NewWindow();
    Dialog dialog(*window, std::move(context), std::forward<Arguments>(arguments)...);
    dialog.Initialise();
    dialog.Paint();
    if (!host.RunModal(*window, dialog)) {
        return std::nullopt;
    }
    return dialog.result();
}

} // namespace quorvel
