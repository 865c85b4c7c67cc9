#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "ui/controls.h"

namespace quorvel {

// A skinned window to assistive technology (MSAA): the window's client
// object, answered to WM_GETOBJECT, whose children are the controls its
// controller lists, read afresh at every question; and what the controller
// tells of changes, as the system's events. The controls are only described
// here: what they do stays with the controller.
class WindowAccessibility final : public AccessibilityPort {
public:
    struct Content {
        ControlSource* controls = nullptr; // nullptr: the window shows no controls
        std::function<int()> focused;      // the focused control's id, -1: none
        // The client object's name; nothing: the window's title.
        std::function<std::string()> name;
        bool dialog = false; // a dialog rather than a program's window
    };

    // `ratio`: the window's device pixels per layout pixel now.
    WindowAccessibility(HWND window, std::function<double()> ratio);
    ~WindowAccessibility() override;
    WindowAccessibility(const WindowAccessibility&) = delete;
    WindowAccessibility& operator=(const WindowAccessibility&) = delete;

    void setContent(Content content);

    // The window's messages for assistive technology (WM_GETOBJECT, a
    // default action asked for); nothing for the others.
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // AccessibilityPort.
    void controlsChanged() override;
    void focusMoved(int id) override;
    void valueChanged(int id) override;

    class Object; // the COM object, which outlives this one while readers hold it

private:
    // The child id of control `id` (its place in reading order, from 1), 0 when it is not shown.
    long ChildOf(int id) const;

    HWND window_;
    std::function<double()> ratio_;
    Content content_;
    Object* object_ = nullptr; // made at the first question
};

} // namespace quorvel
