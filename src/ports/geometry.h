#pragma once

namespace quorvel {

// Client pixels of a skin image.
struct Point {
    int x = 0;
    int y = 0;
    constexpr bool operator==(const Point&) const = default;
};

// A fixed rectangle of a window: a point is inside when
// left <= x < right and top <= y < bottom.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr Point topLeft() const { return {left, top}; }
    constexpr bool contains(Point p) const { return left <= p.x && p.x < right && top <= p.y && p.y < bottom; }
    constexpr bool empty() const { return right <= left || bottom <= top; }
    constexpr bool operator==(const Rect&) const = default;
};

} // namespace quorvel
