// Rect: an integer rectangle (x, y, width, height), the unit of clipping and source windows.
#pragma once

#include <algorithm>

namespace Orvane {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    constexpr Rect() = default;
    constexpr Rect(int x0, int y0, int w, int h) : x(x0), y(y0), width(w), height(h) {}

    constexpr bool IsEmpty() const { return width <= 0 || height <= 0; }
    constexpr int Right() const { return x + width; }
    constexpr int Bottom() const { return y + height; }
    constexpr bool Contains(int px, int py) const {
        return px >= x && px < x + width && py >= y && py < y + height;
    }
    // True when other lies wholly inside this rectangle (an empty other never does).
    constexpr bool ContainsRect(const Rect& o) const {
        return !o.IsEmpty() && o.x >= x && o.y >= y && o.Right() <= Right() &&
               o.Bottom() <= Bottom();
    }
    // The common part; empty (width or height 0) when they do not overlap.
    constexpr Rect Intersection(const Rect& o) const {
        int l = std::max(x, o.x), t = std::max(y, o.y);
        int r = std::min(Right(), o.Right()), b = std::min(Bottom(), o.Bottom());
        if (r <= l || b <= t) return Rect(l, t, 0, 0);
        return Rect(l, t, r - l, b - t);
    }
    constexpr bool Intersects(const Rect& o) const { return !Intersection(o).IsEmpty(); }

    constexpr bool operator==(const Rect& o) const {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
    constexpr bool operator!=(const Rect& o) const { return !(*this == o); }
};

}  // namespace Orvane
