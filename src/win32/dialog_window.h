#pragma once

#include <windows.h>

#include <bitset>
#include <functional>
#include <optional>
#include <utility>

#include "ports/ui_port.h"
#include "ui/sub_dialog.h"
#include "win32/skinned_popup.h"

namespace quorvel {

// The system's colour chooser, modal over `owner`: the confirmed colour, or
// nothing when it was cancelled.
std::optional<Colour> ChooseColourOver(HWND owner, Colour initial);

// Takes the thread's messages until `finished` says so. `take` sees each one
// first and drops it by answering true. A WM_QUIT ends the loop and is posted
// again for the loop outside; the answer is then false.
bool RunMessageLoop(const std::function<bool()>& finished, const std::function<bool(const MSG&)>& take);

// Runs `modal`, a loop of the system's, so that a WM_QUIT it takes ends it
// and reaches the loop outside: a menu's loop would take the quit and go on,
// a common dialog's ends as if confirmed. True when a quit came.
enum class SystemLoop { Menu, Dialog };
bool RunSystemLoop(SystemLoop kind, const std::function<void()>& modal);

// A sub-dialog on screen: a popup without a system frame, modal, at the
// top-left corner of its owner's client area, painted from its picture,
// with its few child controls (white on dark grey) at the controller's
// rectangles. While it runs, the keys that move through the controls (Tab,
// arrows, Space...) go to the controller's navigation, and it is told every
// other key pressed or released while it has the focus, by the key's scan
// code.
class Win32DialogWindow final : public SkinnedPopup, public DialogWindowPort {
public:
    explicit Win32DialogWindow(HWND owner);

    // Shows the dialog with its owner disabled, handing what the user does to
    // `controller`, until the controller ends it, the window is closed or the
    // program is asked to quit; true for OK.
    bool run(SubDialog& controller);
    bool running() const { return running_; }

    // DialogWindowPort.
    Canvas& canvas() override { return picture_; }
    void setFont(const FontSpec& font) override;
    void setClientSize(int width, int height) override;
    void end(bool ok) override;
    void createStatic(int id, Rect box, std::string_view text, TextAlign align) override;
    void createEdit(int id, Rect box, std::string_view text, EditKind kind, TextAlign align) override;
    void createList(int id, Rect box, const std::vector<std::string>& items) override;
    void destroyControl(int id) override;
    bool controlExists(int id) const override { return controls_.exists(id); }
    void setControlText(int id, std::string_view text) override { controls_.setText(id, text); }
    std::string controlText(int id) const override { return controls_.text(id); }
    void showControl(int id, bool shown) override { controls_.show(id, shown); }
    void focusControl(int id) override;
    std::optional<int> focusedControl() const override;
    void highlightListItem(int id, int index) override { controls_.highlight(id, index); }
    void scrollList(int id, int lines) override { controls_.scroll(id, lines); }
    std::optional<Colour> chooseColour(Colour initial) override { return ChooseColourOver(window_, initial); }
    std::optional<Colour> highContrastHighlight() const override { return HighContrastHighlight(); }

private:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnControlEvent(const ControlEvent& event) override;
    void LeftButtonDown(Point point) override;
    void MouseMove(Point point) override;
    // A key message for the dialog or one of its controls; true when it is dropped.
    bool TakeKey(const MSG& message);

    HWND owner_;
    SubDialog* controller_ = nullptr;
    bool running_ = false;
    bool ok_ = false;
    bool tracking_ = false;              // asked for WM_MOUSELEAVE
    std::optional<int> focus_;           // the control to focus when the dialog shows
    HWND lastFocus_ = nullptr;           // the control that had the focus when the dialog was left
    std::pair<int, int> hovered_{0, -1}; // the list entry under the pointer, by list id and index
    std::bitset<256> navigated_;         // keys down that moved through the controls, by virtual key
};

} // namespace quorvel
