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

bool HoverSet::pointerAt(Point point) {
    bool drew = false;
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (!controls_[i].rect.contains(point)) {
            continue;
        }
        if (!flags_[i]) {
            controls_[i].draw(true);
            flags_[i] = true;
            drew = true;
        }
        if (controls_[i].group != 0) {
            for (std::size_t j = 0; j < controls_.size(); ++j) {
                if (j != i && flags_[j] && controls_[j].group == controls_[i].group) {
                    controls_[j].draw(false);
                    flags_[j] = false;
                    drew = true;
                }
            }
        }
        return drew;
    }
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (flags_[i]) {
            controls_[i].draw(false);
            flags_[i] = false;
            drew = true;
        }
    }
    return drew;
}

} // namespace quorvel
