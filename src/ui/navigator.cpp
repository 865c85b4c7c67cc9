#include "ui/navigator.h"

#include <algorithm>

namespace quorvel {

namespace {

const Control* Find(const std::vector<Control>& controls, int id) {
    for (const Control& control : controls) {
        if (control.id == id) {
            return &control;
        }
    }
    return nullptr;
}

// The innermost open list: the last control of the reading order that
// shows its list (a list opened from another comes after it).
const Control* Expanded(const std::vector<Control>& controls) {
    const Control* open = nullptr;
    for (const Control& control : controls) {
        if (control.state.expanded) {
            open = &control;
        }
    }
    return open;
}

std::optional<ControlAction> StepOf(NavigationKey key) {
    switch (key) {
    case NavigationKey::Right:
    case NavigationKey::Down:
        return ControlAction::Next;
    case NavigationKey::Left:
    case NavigationKey::Up:
        return ControlAction::Previous;
    case NavigationKey::Home:
        return ControlAction::First;
    case NavigationKey::End:
        return ControlAction::Last;
    default:
        return std::nullopt;
    }
}

bool SameShown(const Control& a, const Control& b) {
    return a.name == b.name && a.value == b.value && a.state.checked == b.state.checked &&
           a.state.selected == b.state.selected && a.state.disabled == b.state.disabled && a.step == b.step &&
           a.steps == b.steps;
}

} // namespace

std::vector<int> Navigator::Stops(const std::vector<Control>& controls) {
    std::vector<int> stops;
    std::vector<int> groupsSeen;
    for (const Control& control : controls) {
        if (!control.focusable()) {
            continue;
        }
        if (control.role != ControlRole::RadioButton || control.group == 0) {
            stops.push_back(control.id);
            continue;
        }
        if (std::find(groupsSeen.begin(), groupsSeen.end(), control.group) != groupsSeen.end()) {
            continue;
        }
        groupsSeen.push_back(control.group);
        // The group's stop is its chosen button, else its first.
        int stop = control.id;
        for (const Control& member : controls) {
            if (member.group == control.group && member.state.checked && member.focusable()) {
                stop = member.id;
                break;
            }
        }
        stops.push_back(stop);
    }
    return stops;
}

void Navigator::SetFocus(int id) {
    if (id == focused_) {
        return;
    }
    focused_ = id;
    if (port_ != nullptr && id >= 0) {
        port_->focusMoved(id);
    }
}

void Navigator::MoveFocus(const std::vector<Control>& controls, bool forward) {
    const std::vector<int> stops = Stops(controls);
    if (stops.empty()) {
        SetFocus(-1);
        return;
    }
    const auto count = static_cast<int>(stops.size());
    // Where the focus stands in the order: on its own stop, or on its
    // group's stop when it rests on another button of a radio group.
    int at = -1;
    if (const Control* current = Find(controls, focused_)) {
        for (int i = 0; i < count && at < 0; ++i) {
            const Control* stop = Find(controls, stops[static_cast<std::size_t>(i)]);
            if (stop->id == current->id || (current->group != 0 && stop->group == current->group &&
                                            stop->role == ControlRole::RadioButton &&
                                            current->role == ControlRole::RadioButton)) {
                at = i;
            }
        }
    }
    int next = 0;
    if (at < 0) {
        next = forward ? 0 : count - 1;
    } else {
        next = (at + (forward ? 1 : count - 1)) % count;
    }
    SetFocus(stops[static_cast<std::size_t>(next)]);
}

void Navigator::StepFocused(const std::vector<Control>& controls, ControlAction action) {
    const Control* focused = Find(controls, focused_);
    if (focused == nullptr) {
        return;
    }
    switch (focused->role) {
    case ControlRole::RadioButton: {
        const int group = focused->group;
        source_->act(focused->id, action);
        // The focus follows the choice.
        for (const Control& control : source_->controls()) {
            if (group != 0 && control.group == group && control.state.checked) {
                SetFocus(control.id);
            }
        }
        return;
    }
    case ControlRole::Slider:
    case ControlRole::ListBox:
    case ControlRole::DropDown:
        source_->act(focused->id, action);
        return;
    default:
        return;
    }
}

bool Navigator::OnKey(NavigationKey key) {
    std::vector<Control> controls = source_->controls();
    if (seen_.empty()) {
        seen_ = controls;
    }
    if (Find(controls, focused_) == nullptr) {
        focused_ = -1;
    }
    const Control* open = Expanded(controls);
    // An edit keeps the keys it types with: only Tab leaves it.
    const Control* focused = Find(controls, focused_);
    const bool inEdit = open == nullptr && focused != nullptr && focused->role == ControlRole::Edit;
    bool taken = true;
    switch (key) {
    case NavigationKey::Tab:
    case NavigationKey::BackTab:
        // The open list closes as the focus leaves it.
        if (open != nullptr && source_->dismiss()) {
            controls = source_->controls();
        }
        engaged_ = true;
        MoveFocus(controls, key == NavigationKey::Tab);
        break;
    case NavigationKey::Escape:
        taken = open != nullptr && source_->dismiss();
        break;
    case NavigationKey::Space:
    case NavigationKey::Enter:
        if (open != nullptr) {
            source_->act(open->id, ControlAction::Activate);
        } else if (engaged_ && focused_ >= 0 && !inEdit) {
            source_->act(focused_, ControlAction::Activate);
        } else {
            taken = false;
        }
        break;
    default: {
        ControlAction action = *StepOf(key);
        if (open != nullptr) {
            source_->act(open->id, action);
        } else if (inEdit) {
            taken = false;
        } else if (!engaged_ || focused_ < 0) {
            // The first arrow only shows where the focus starts.
            engaged_ = true;
            MoveFocus(controls, true);
        } else {
            // A slider goes up with Up, as it goes right with Right.
            const bool vertical = key == NavigationKey::Up || key == NavigationKey::Down;
            const Control* slider = Find(controls, focused_);
            if (vertical && slider != nullptr && slider->role == ControlRole::Slider) {
                action = key == NavigationKey::Up ? ControlAction::Next : ControlAction::Previous;
            }
            StepFocused(controls, action);
        }
        break;
    }
    }
    if (taken) {
        Refresh();
    }
    return taken;
}

std::optional<Control> Navigator::focusedControl() {
    if (focused_ < 0) {
        return std::nullopt;
    }
    const std::vector<Control> controls = source_->controls();
    if (const Control* control = Find(controls, focused_)) {
        return *control;
    }
    return std::nullopt;
}

int Navigator::childToFocus() {
    const std::optional<Control> control = focusedControl();
    const bool child = control && (control->role == ControlRole::Edit || control->role == ControlRole::ListBox);
    return child ? control->id : -1;
}

void Navigator::Refresh() {
    const std::vector<Control> now = source_->controls();
    if (focused_ >= 0 && Find(now, focused_) == nullptr) {
        focused_ = -1;
    }
    Report(now);
    seen_ = now;
}

void Navigator::Disengage() {
    focused_ = -1;
    engaged_ = false;
}

void Navigator::Report(const std::vector<Control>& now) {
    if (port_ == nullptr) {
        return;
    }
    bool sameSet = now.size() == seen_.size();
    for (std::size_t i = 0; sameSet && i < now.size(); ++i) {
        sameSet = now[i].id == seen_[i].id && now[i].role == seen_[i].role &&
                  now[i].state.expanded == seen_[i].state.expanded;
    }
    if (!sameSet) {
        port_->controlsChanged();
    }
    for (const Control& control : now) {
        const Control* before = Find(seen_, control.id);
        if (before != nullptr && !SameShown(*before, control)) {
            port_->valueChanged(control.id);
        }
    }
}

} // namespace quorvel
