#include "qt/control_accessibility.h"

#include <QApplication>
#include <QLabel>
#include <QMetaObject>
#include <QWindow>
#include <algorithm>
#include <array>
#include <cstdlib>

#include "qt/qt_picture.h"

namespace quorvel {

namespace {

struct RoleOfControl {
    ControlRole control;
    QAccessible::Role role;
};
constexpr std::array<RoleOfControl, 8> kRoles{{
    {ControlRole::Button, QAccessible::PushButton},
    {ControlRole::Toggle, QAccessible::CheckBox},
    {ControlRole::RadioButton, QAccessible::RadioButton},
    {ControlRole::DropDown, QAccessible::ComboBox},
    {ControlRole::ListBox, QAccessible::List},
    {ControlRole::Slider, QAccessible::Slider},
    {ControlRole::Edit, QAccessible::EditableText},
    {ControlRole::Text, QAccessible::StaticText},
}};

QAccessible::Role RoleOf(ControlRole control) {
    for (const RoleOfControl& entry : kRoles) {
        if (entry.control == control) {
            return entry.role;
        }
    }
    return QAccessible::NoRole;
}

AccessibleControlHost* HostOf(QWidget* window) {
    return dynamic_cast<AccessibleControlHost*>(window);
}

std::vector<Control> ControlsOf(const AccessibleControlHost& host) {
    ControlSource* source = host.accessibleSource();
    return source != nullptr ? source->controls() : std::vector<Control>{};
}

// A child widget that stands for a control, while it is shown.
QWidget* ShownChild(const AccessibleControlHost& host, int id) {
    QWidget* widget = host.accessibleChild(id);
    return widget != nullptr && widget->isVisible() ? widget : nullptr;
}

QRect ScreenRect(const QWidget& window, const Rect& rect) {
    return {window.mapToGlobal(QPoint(rect.left, rect.top)), QSize(rect.width(), rect.height())};
}

// Runs a reader's action on control `id` of `window`. The controller tells
// what its keys and the pointer change, not what an action from outside
// does, so the window tells it here: the control's state and value, as
// they are now.
bool ActFromReader(const QPointer<QWidget>& window, int id, ControlAction action) {
    AccessibleControlHost* host = window != nullptr ? HostOf(window) : nullptr;
    ControlSource* source = host != nullptr ? host->accessibleSource() : nullptr;
    if (source == nullptr || !source->act(id, action)) {
        return false;
    }
    // A button may have run a dialog meanwhile, and the window gone with it.
    if (window != nullptr) {
        QtAccessibilityPort(*window).valueChanged(id);
    }
    return true;
}

// The edits and list boxes are Qt's own widgets, but only the controller
// knows what they are for: each is named after its control, as it is
// listed and whenever the controls change (its focus event is read by its
// name too).
void NameAfter(QWidget& child, const Control& control) {
    if (qobject_cast<QLabel*>(&child) != nullptr) {
        return;
    }
    const QString name = FromUtf8(control.name);
    if (child.accessibleName() != name) {
        child.setAccessibleName(name);
    }
}

// A control the skin draws: read afresh from the controller every time it
// is asked, so it never tells an old state. Its actions are the pointer's
// click, run once the event loop is back (a button may open a modal dialog,
// which must not run inside the reader's request).
class AccessibleControl final : public QAccessibleInterface,
                                public QAccessibleActionInterface,
                                public QAccessibleValueInterface {
public:
    AccessibleControl(QWidget* window, int id, ControlRole role) : window_(window), id_(id), role_(role) {}

    bool isValid() const override { return current().has_value(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return window_ != nullptr ? window_->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return window_ != nullptr ? QAccessible::queryAccessibleInterface(window_) : nullptr;
    }
    QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }
    QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }

    QString text(QAccessible::Text kind) const override {
        const std::optional<Control> control = current();
        if (!control) {
            return {};
        }
        switch (kind) {
        case QAccessible::Name:
            return FromUtf8(control->name);
        case QAccessible::Value:
            return FromUtf8(control->value);
        default:
            return {};
        }
    }
    void setText(QAccessible::Text /*kind*/, const QString& /*text*/) override {}

    QRect rect() const override {
        const std::optional<Control> control = current();
        return control ? ScreenRect(*window_, control->rect) : QRect();
    }
    QAccessible::Role role() const override { return RoleOf(role_); }

    QAccessible::State state() const override {
        QAccessible::State state;
        const std::optional<Control> control = current();
        if (!control) {
            state.invalid = true;
            return state;
        }
        state.invisible = !window_->isVisible();
        state.disabled = control->state.disabled;
        state.focusable = control->focusable();
        state.focused = state.focusable && HostOf(window_)->accessibleFocus() == id_ && window_->isActiveWindow();
        state.checkable = role_ == ControlRole::Toggle || role_ == ControlRole::RadioButton;
        state.checked = control->state.checked;
        state.selected = control->state.selected;
        state.selectable = control->state.selected;
        if (role_ == ControlRole::DropDown) {
            state.hasPopup = true;
            state.expandable = true;
            state.expanded = control->state.expanded;
            state.collapsed = !control->state.expanded;
        }
        state.readOnly = role_ == ControlRole::Text;
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ActionInterface) {
            return static_cast<QAccessibleActionInterface*>(this);
        }
        if (type == QAccessible::ValueInterface && role_ == ControlRole::Slider) {
            return static_cast<QAccessibleValueInterface*>(this);
        }
        return nullptr;
    }

    // QAccessibleActionInterface.
    QStringList actionNames() const override {
        switch (role_) {
        case ControlRole::Button:
        case ControlRole::RadioButton:
            return {pressAction()};
        case ControlRole::Toggle:
            return {toggleAction()};
        case ControlRole::DropDown:
            return {showMenuAction()};
        case ControlRole::Slider:
            return {increaseAction(), decreaseAction()};
        default:
            return {};
        }
    }
    void doAction(const QString& name) override {
        if (!actionNames().contains(name)) {
            return;
        }
        const ControlAction action = name == increaseAction()   ? ControlAction::Next
                                     : name == decreaseAction() ? ControlAction::Previous
                                                                : ControlAction::Activate;
        QMetaObject::invokeMethod(
            window_, [window = window_, id = id_, action] { ActFromReader(window, id, action); },
            Qt::QueuedConnection);
    }
    QStringList keyBindingsForAction(const QString& /*name*/) const override { return {}; }

    // QAccessibleValueInterface: a slider's step.
    QVariant currentValue() const override {
        const std::optional<Control> control = current();
        return control ? QVariant(control->step) : QVariant();
    }
    void setCurrentValue(const QVariant& value) override {
        const std::optional<Control> control = current();
        if (!control || control->steps <= 0) {
            return;
        }
        const int target = std::clamp(value.toInt(), 0, control->steps - 1);
        const ControlAction action = target > control->step ? ControlAction::Next : ControlAction::Previous;
        for (int i = std::abs(target - control->step); i > 0; --i) {
            if (!ActFromReader(window_, id_, action)) {
                break;
            }
        }
    }
    QVariant maximumValue() const override {
        const std::optional<Control> control = current();
        return control ? QVariant(std::max(control->steps - 1, 0)) : QVariant();
    }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    std::optional<Control> current() const {
        const AccessibleControlHost* host = window_ != nullptr ? HostOf(window_) : nullptr;
        if (host == nullptr) {
            return std::nullopt;
        }
        for (Control& control : ControlsOf(*host)) {
            if (control.id == id_ && control.role == role_) {
                return std::move(control);
            }
        }
        return std::nullopt;
    }

    QPointer<QWidget> window_;
    int id_;
    ControlRole role_;
};

QAccessibleInterface* SkinnedWindowFactory(const QString& /*className*/, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    AccessibleControlHost* host = widget != nullptr ? HostOf(widget) : nullptr;
    if (host == nullptr) {
        return nullptr;
    }
    return new AccessibleSkinnedWindow(widget, *host,
                                       widget->windowType() == Qt::Dialog ? QAccessible::Dialog : QAccessible::Window);
}

} // namespace

void InstallControlAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(SkinnedWindowFactory);
        return true;
    }();
    (void)installed;
}

AccessibleSkinnedWindow::AccessibleSkinnedWindow(QWidget* window, AccessibleControlHost& host, QAccessible::Role role)
    : QAccessibleWidget(window, role), host_(&host) {
    Refresh();
}

AccessibleSkinnedWindow::~AccessibleSkinnedWindow() {
    for (const auto& [key, id] : objects_) {
        if (QAccessible::accessibleInterface(id) != nullptr) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }
}

QAccessibleInterface* AccessibleSkinnedWindow::ObjectOf(const Control& control) const {
    if (QWidget* child = ShownChild(*host_, control.id)) {
        NameAfter(*child, control);
        return QAccessible::queryAccessibleInterface(child);
    }
    const auto key = std::make_pair(control.id, control.role);
    if (const auto it = objects_.find(key); it != objects_.end()) {
        if (QAccessibleInterface* object = QAccessible::accessibleInterface(it->second)) {
            return object;
        }
    }
    auto* object = new AccessibleControl(widget(), control.id, control.role);
    objects_[key] = QAccessible::registerAccessibleInterface(object);
    return object;
}

QList<QWidget*> AccessibleSkinnedWindow::OtherChildren(const std::vector<Control>& controls) const {
    QList<QWidget*> others;
    for (QObject* object : widget()->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (child == nullptr || child->isWindow() || !child->isVisible()) {
            continue;
        }
        const bool standsForControl = std::any_of(controls.begin(), controls.end(), [&](const Control& control) {
            return host_->accessibleChild(control.id) == child;
        });
        if (!standsForControl) {
            others.append(child);
        }
    }
    return others;
}

int AccessibleSkinnedWindow::childCount() const {
    const std::vector<Control> controls = ControlsOf(*host_);
    return static_cast<int>(controls.size()) + static_cast<int>(OtherChildren(controls).size());
}

QAccessibleInterface* AccessibleSkinnedWindow::child(int index) const {
    const std::vector<Control> controls = ControlsOf(*host_);
    if (index < 0) {
        return nullptr;
    }
    if (index < static_cast<int>(controls.size())) {
        return ObjectOf(controls[static_cast<std::size_t>(index)]);
    }
    const QList<QWidget*> others = OtherChildren(controls);
    const auto other = static_cast<qsizetype>(index - static_cast<int>(controls.size()));
    return other < others.size() ? QAccessible::queryAccessibleInterface(others[other]) : nullptr;
}

int AccessibleSkinnedWindow::indexOfChild(const QAccessibleInterface* child) const {
    const int count = childCount();
    for (int i = 0; i < count; ++i) {
        if (this->child(i) == child) {
            return i;
        }
    }
    return -1;
}

QAccessibleInterface* AccessibleSkinnedWindow::childAt(int x, int y) const {
    const int count = childCount();
    for (int i = 0; i < count; ++i) {
        QAccessibleInterface* child = this->child(i);
        if (child != nullptr && child->rect().contains(x, y)) {
            return child;
        }
    }
    return nullptr;
}

QAccessibleInterface* AccessibleSkinnedWindow::focusChild() const {
    const int id = host_->accessibleFocus();
    if (QAccessibleInterface* focused = id >= 0 ? control(id) : nullptr) {
        return focused;
    }
    return QAccessibleWidget::focusChild();
}

QAccessibleInterface* AccessibleSkinnedWindow::control(int id) const {
    for (const Control& control : ControlsOf(*host_)) {
        if (control.id == id) {
            return ObjectOf(control);
        }
    }
    return nullptr;
}

void AccessibleSkinnedWindow::Refresh() {
    const std::vector<Control> controls = ControlsOf(*host_);
    for (auto it = objects_.begin(); it != objects_.end();) {
        const bool shown = std::any_of(controls.begin(), controls.end(), [&](const Control& control) {
            return std::make_pair(control.id, control.role) == it->first && ShownChild(*host_, control.id) == nullptr;
        });
        if (shown) {
            ++it;
            continue;
        }
        if (QAccessibleInterface* gone = QAccessible::accessibleInterface(it->second)) {
            QAccessibleEvent event(gone, QAccessible::ObjectDestroyed);
            QAccessible::updateAccessibility(&event);
            QAccessible::deleteAccessibleInterface(it->second);
        }
        it = objects_.erase(it);
    }
    for (const Control& control : controls) {
        if (QWidget* child = host_->accessibleChild(control.id)) {
            NameAfter(*child, control);
        }
    }
}

AccessibleSkinnedWindow* QtAccessibilityPort::WindowObject() const {
    if (window_ == nullptr || !QAccessible::isActive()) {
        return nullptr;
    }
    return dynamic_cast<AccessibleSkinnedWindow*>(QAccessible::queryAccessibleInterface(window_));
}

void QtAccessibilityPort::controlsChanged() {
    if (AccessibleSkinnedWindow* window = WindowObject()) {
        window->Refresh();
        QAccessibleEvent event(window, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&event);
    }
}

void QtAccessibilityPort::focusMoved(int id) {
    AccessibleSkinnedWindow* window = WindowObject();
    if (window == nullptr) {
        return;
    }
    QAccessibleInterface* focused = id >= 0 ? window->control(id) : window;
    // A child widget that took the real focus has told of it itself.
    auto* child = focused != nullptr ? qobject_cast<QWidget*>(focused->object()) : nullptr;
    if (focused == nullptr || (child != nullptr && child != window_ && child->hasFocus())) {
        return;
    }
    QAccessibleEvent event(focused, QAccessible::Focus);
    QAccessible::updateAccessibility(&event);
}

void QtAccessibilityPort::valueChanged(int id) {
    AccessibleSkinnedWindow* window = WindowObject();
    QAccessibleInterface* control = window != nullptr ? window->control(id) : nullptr;
    // Qt's own widgets tell their changes themselves.
    if (control == nullptr || control->object() != nullptr) {
        return;
    }
    QAccessible::State changed;
    changed.checked = true;
    changed.selected = true;
    changed.expanded = true;
    changed.collapsed = true;
    changed.disabled = true;
    QAccessibleStateChangeEvent states(control, changed);
    QAccessible::updateAccessibility(&states);
    QAccessibleEvent name(control, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&name);
    const QAccessibleValueInterface* value = control->valueInterface();
    QAccessibleValueChangeEvent event(control, value != nullptr ? value->currentValue()
                                                                : QVariant(control->text(QAccessible::Value)));
    QAccessible::updateAccessibility(&event);
}

} // namespace quorvel
