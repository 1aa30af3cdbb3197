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
        return px >= x && px < End(x, width) && py >= y && py < End(y, height);
    }
    // True when other lies wholly inside this rectangle (an empty other never does).
    constexpr bool ContainsRect(const Rect& o) const {
        return !o.IsEmpty() && o.x >= x && o.y >= y && End(o.x, o.width) <= End(x, width) &&
               End(o.y, o.height) <= End(y, height);
    }
    // The common part; empty (width or height 0) when they do not overlap. Computed in 64
    // bits, so rectangles reaching past the int range intersect correctly.
    constexpr Rect Intersection(const Rect& o) const {
        const long long l = std::max(x, o.x), t = std::max(y, o.y);
        const long long r = std::min(End(x, width), End(o.x, o.width));
        const long long b = std::min(End(y, height), End(o.y, o.height));
        if (r <= l || b <= t) return Rect(int(l), int(t), 0, 0);
        return Rect(int(l), int(t), int(r - l), int(b - t));
    }
    constexpr bool Intersects(const Rect& o) const { return !Intersection(o).IsEmpty(); }

    static constexpr long long End(int start, int length) {
        return static_cast<long long>(start) + length;
    }

    constexpr bool operator==(const Rect& o) const {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
    constexpr bool operator!=(const Rect& o) const { return !(*this == o); }
};

}  // namespace Orvane
