#pragma once

#include <QAccessibleWidget>
#include <QPointer>
#include <QWidget>
#include <map>
#include <optional>
#include <utility>

#include "ui/controls.h"

namespace quorvel {

// A skinned window (the main window, a dialog) as assistive technology sees
// it: the skin draws its controls as pictures, so their objects come from
// the controller's controls, not from child widgets.
class AccessibleControlHost {
public:
    virtual ~AccessibleControlHost() = default;
    // The controller's controls; nullptr while the window has none.
    virtual ControlSource* accessibleSource() const = 0;
    // The control with the keyboard focus; -1 when none has it.
    virtual int accessibleFocus() const = 0;
    // The real child widget (an edit, a list box) that stands for control
    // `id`, or nullptr when the control is only drawn.
    virtual QWidget* accessibleChild(int id) const = 0;
};

// Makes Qt's accessibility ask AccessibleControlHost windows for their
// controls. Once for the program; later calls do nothing.
void InstallControlAccessibility();

// The accessible object of a skinned window: named by its title, with the
// controller's controls as children in reading order, then any child
// widget no control stands for (an open drop-down list, a label).
class AccessibleSkinnedWindow final : public QAccessibleWidget {
public:
    AccessibleSkinnedWindow(QWidget* window, AccessibleControlHost& host, QAccessible::Role role);
    ~AccessibleSkinnedWindow() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // The object of control `id` now shown, or nullptr.
    QAccessibleInterface* control(int id) const;
    // Forgets the objects of controls no longer shown, telling assistive
    // technology they went; names the child widgets after their controls.
    void Refresh();

    AccessibleControlHost& host() const { return *host_; }

private:
    // The object of `control`: its child widget's, or one of its own.
    QAccessibleInterface* ObjectOf(const Control& control) const;
    // The child widgets that no control stands for.
    QList<QWidget*> OtherChildren(const std::vector<Control>& controls) const;

    AccessibleControlHost* host_;
    // Objects of drawn controls by id and role, made as they are first asked
    // for; Qt's cache owns them once registered.
    mutable std::map<std::pair<int, ControlRole>, QAccessible::Id> objects_;
};

// What the controller tells assistive technology, as Qt's accessibility
// events for a skinned window.
class QtAccessibilityPort final : public AccessibilityPort {
public:
    explicit QtAccessibilityPort(QWidget& window) : window_(&window) {}

    void controlsChanged() override;
    void focusMoved(int id) override;
    void valueChanged(int id) override;

private:
    AccessibleSkinnedWindow* WindowObject() const;

    QPointer<QWidget> window_;
};

} // namespace quorvel
