#include "ui/side_by_side.h"

#include <algorithm>

namespace quorvel {

namespace {

// The first coordinate of a span of `size` that starts at `wanted`, kept
// inside [low, high) as far as it fits.
int KeptInside(int wanted, int size, int low, int high) {
    return std::max(low, std::min(wanted, high - size));
}

} // namespace

SideBySide PlaceSideBySide(const Rect& window, int companionWidth, int companionHeight, const Rect& work,
                           int gap) {
    const int top = KeptInside(window.top, companionHeight, work.top, work.bottom);
    const int pairWidth = window.width() + gap + companionWidth;
    if (pairWidth <= work.width()) {
        const int left = work.left + (work.width() - pairWidth) / 2;
        return {{left, window.top}, {left + window.width() + gap, top}};
    }
    const int roomRight = work.right - window.right;
    const int roomLeft = window.left - work.left;
    const int wanted = roomRight >= roomLeft ? window.right + gap : window.left - gap - companionWidth;
    return {window.topLeft(), {KeptInside(wanted, companionWidth, work.left, work.right), top}};
}

} // namespace quorvel
