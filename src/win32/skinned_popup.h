#pragma once

#include <windows.h>

#include <optional>

#include "ports/geometry.h"
#include "ports/ui_port.h"
#include "win32/accessible_window.h"
#include "win32/child_controls.h"
#include "win32/dib_picture.h"

namespace quorvel {

// The system's highlight colour while the desktop asks for high contrast;
// nothing otherwise.
std::optional<Colour> HighContrastHighlight();
// Whether a window message says that HighContrastHighlight may answer
// otherwise now: high contrast turned on or off, the system's colours changed.
bool ChangesHighContrast(UINT message, WPARAM wParam);

// What a window of the program is made with.
struct PopupKind {
    const wchar_t* className;
    UINT classStyle;
    DWORD style; // besides WS_POPUP | WS_CLIPCHILDREN
    DWORD exStyle;
    HWND owner;
    Colour blank; // the picture before anything is drawn
};

// A skinned window on screen, the main window or a dialog: a popup without
// a system frame, painted from an off-screen picture its controller draws
// into, with real child controls; left presses and pointer moves (and the
// pointer leaving) go to the controller in layout pixels.
class SkinnedPopup {
public:
    SkinnedPopup(const SkinnedPopup&) = delete;
    SkinnedPopup& operator=(const SkinnedPopup&) = delete;

    HWND handle() const { return window_; }
    DibPicture& picture() { return picture_; }
    // The child control or list with this id, or nullptr.
    HWND control(int id) const { return controls_.handle(id); }
    // The window's controls as assistive technology sees them.
    WindowAccessibility& accessibility() { return accessibility_; }
    // Whether the keyboard focus is in one of the window's edits.
    bool editHasFocus() const;
    // Puts the keyboard focus where the keys for control `id` go: into it
    // when it is a child control (an edit, a list box), else on the window,
    // whose controls are drawn in its picture (so that an edit left by Tab
    // does not keep the keys).
    void followFocus(int id);

protected:
    explicit SkinnedPopup(const PopupKind& kind);
    virtual ~SkinnedPopup();

    // The messages the surface does not handle itself, first; nothing: the
    // surface's own handling, else the system's.
    virtual std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual void OnControlEvent(const ControlEvent& event) = 0;
    virtual void LeftButtonDown(Point point) = 0;
    // {-1, -1} when the pointer left the window.
    virtual void MouseMove(Point point) = 0;

    Point LayoutPoint(LPARAM lParam) const;

    HWND window_;
    DibPicture picture_;
    ChildControls controls_;
    WindowAccessibility accessibility_;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    bool tracking_ = false; // asked for WM_MOUSELEAVE
};

} // namespace quorvel
