#include "ui/hover_set.h"

namespace quorvel {

void HoverSet::setControls(std::vector<HoverControl> controls) {
    // Flags of controls that stay keep their state: a page change leaves the
    // old flags until the next restore clears them.
    flags_.resize(controls.size(), false);
    controls_ = std::move(controls);
}

bool HoverSet::tracks(Point point) const {
    for (const HoverControl& control : controls_) {
        if (control.rect.contains(point)) {
            return true;
        }
    }
    return false;
}

namespace {

bool Overlap(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

} // namespace

void HoverSet::Redraw(std::size_t index, std::vector<bool>& drawn) {
    std::vector<bool> together(controls_.size(), false);
    together[index] = true;
    for (bool grew = true; grew;) {
        grew = false;
        for (std::size_t i = 0; i < controls_.size(); ++i) {
            for (std::size_t j = 0; j < controls_.size() && !together[i]; ++j) {
                if (together[j] && Overlap(controls_[i].rect, controls_[j].rect)) {
                    together[i] = grew = true;
                }
            }
        }
    }
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (together[i] && underlay_) {
            underlay_(controls_[i].rect);
        }
    }
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (together[i]) {
            controls_[i].draw(flags_[i]);
            drawn[i] = true;
        }
    }
}

void HoverSet::redrawWithin(Rect area) {
    std::vector<bool> drawn(controls_.size(), false);
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (!drawn[i] && Overlap(controls_[i].rect, area)) {
            Redraw(i, drawn);
        }
    }
}

bool HoverSet::pointerAt(Point point) {
    // The control that shows hovered now comes first, then those that go
    // back to normal.
    std::vector<std::size_t> changed;
    std::size_t over = controls_.size();
    for (std::size_t i = 0; i < controls_.size() && over == controls_.size(); ++i) {
        if (controls_[i].rect.contains(point)) {
            over = i;
        }
    }
    if (over < controls_.size() && !flags_[over]) {
        flags_[over] = true;
        changed.push_back(over);
    }
    for (std::size_t j = 0; j < controls_.size(); ++j) {
        const bool restore = over == controls_.size() || (j != over && controls_[over].group != 0 &&
                                                          controls_[j].group == controls_[over].group);
        if (restore && flags_[j]) {
            flags_[j] = false;
            changed.push_back(j);
        }
    }
    std::vector<bool> drawn(controls_.size(), false);
    for (const std::size_t i : changed) {
        if (!drawn[i]) {
            Redraw(i, drawn);
        }
    }
    return !changed.empty();
}

} // namespace quorvel
