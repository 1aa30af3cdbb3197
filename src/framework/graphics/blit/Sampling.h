// Where each destination pixel of a stretched, rotated or transformed draw reads its source.
// Coordinates are 16.16 fixed point; both the fast span samplers and the plain reference use
// these helpers, so they read exactly the same source pixels.
#pragma once

#include "framework/graphics/Rect.h"
#include "framework/graphics/blit/PixelMath.h"

#include <cstdint>

namespace Orvane::Blit {

// Floor division by 65536 of a signed fixed-point value.
inline int64_t FixedFloor(int64_t v) { return v >> 16; }
inline uint32_t FixedFraction8(int64_t v) { return static_cast<uint32_t>((v >> 8) & 0xFF); }

// One axis of a stretch: destination pixel i (0-based within the destination rectangle)
// samples at u_i = start + i x step, in source pixels from the source rectangle's edge.
struct StretchAxis {
    int64_t step = 0;
    int64_t start = 0;
    int srcLength = 0;

    StretchAxis(int srcLen, int destLen)
        : step((static_cast<int64_t>(srcLen) << 16) / destLen), start(0), srcLength(srcLen) {
        start = step / 2;
    }
    int64_t At(int64_t i) const { return start + i * step; }
    // Nearest: the source index.
    int Nearest(int64_t i) const {
        const int64_t v = FixedFloor(At(i));
        return static_cast<int>(v < 0 ? 0 : (v >= srcLength ? srcLength - 1 : v));
    }
    // Linear: the two taps (clamped to the source rectangle) and the weight of the second.
    void Linear(int64_t i, int& i0, int& i1, uint32_t& f) const {
        const int64_t u = At(i) - 0x8000;
        const int64_t base = FixedFloor(u);
        f = FixedFraction8(u);
        i0 = static_cast<int>(base < 0 ? 0 : (base >= srcLength ? srcLength - 1 : base));
        i1 = static_cast<int>(base + 1 < 0 ? 0 : (base + 1 >= srcLength ? srcLength - 1 : base + 1));
    }
};

// The inverse of a rotated or transformed draw: source position (u, v), in source pixels from
// the source rectangle's top left, of the centre of destination pixel (X, Y):
//   u = a x (X + 0.5) + b x (Y + 0.5) + c,  v = d x (X + 0.5) + e x (Y + 0.5) + f.
struct AffineMap {
    double a = 1, b = 0, c = 0, d = 0, e = 1, f = 0;

    // Fixed-point source position at the start of row Y (column X0) and its per-pixel step.
    void Row(int x0, int y, int64_t& u, int64_t& v, int64_t& du, int64_t& dv) const {
        const double px = x0 + 0.5, py = y + 0.5;
        u = ToFixed(a * px + b * py + c);
        v = ToFixed(d * px + e * py + f);
        du = ToFixed(a);
        dv = ToFixed(d);
    }
    static int64_t ToFixed(double x) {
        const double limit = 1e12;   // far outside any picture
        if (!(x > -limit)) x = -limit;
        if (x > limit) x = limit;
        return static_cast<int64_t>(x * 65536.0 + (x >= 0 ? 0.5 : -0.5));
    }
};

// A source rectangle seen as a window into an image's pixels.
struct SourceWindow {
    const uint32_t* pixels = nullptr;   // top left of the window
    int stride = 0;                      // pixels per image row
    int width = 0;
    int height = 0;

    uint32_t At(int x, int y) const { return pixels[static_cast<int64_t>(y) * stride + x]; }
};

// Nearest sample at fixed (u, v): the pixel, or 0 (transparent) outside the window.
inline uint32_t SampleNearest(const SourceWindow& w, int64_t u, int64_t v) {
    const int64_t x = FixedFloor(u), y = FixedFloor(v);
    if (x < 0 || y < 0 || x >= w.width || y >= w.height) return 0;
    return w.At(static_cast<int>(x), static_cast<int>(y));
}

// Linear sample at fixed (u, v). Taps outside the window take the colour of the nearest edge
// pixel with alpha 0, so edges fade out instead of darkening; wholly outside gives 0.
inline uint32_t SampleLinear(const SourceWindow& w, int64_t u, int64_t v) {
    const int64_t uu = u - 0x8000, vv = v - 0x8000;
    const int64_t x0 = FixedFloor(uu), y0 = FixedFloor(vv);
    if (x0 < -1 || y0 < -1 || x0 >= w.width || y0 >= w.height) return 0;
    auto tap = [&w](int64_t x, int64_t y) {
        const bool inside = x >= 0 && y >= 0 && x < w.width && y < w.height;
        const int cx = static_cast<int>(x < 0 ? 0 : (x >= w.width ? w.width - 1 : x));
        const int cy = static_cast<int>(y < 0 ? 0 : (y >= w.height ? w.height - 1 : y));
        const uint32_t p = w.At(cx, cy);
        return inside ? p : (p & 0x00FFFFFFu);
    };
    return ReferenceBilinear(tap(x0, y0), tap(x0 + 1, y0), tap(x0, y0 + 1), tap(x0 + 1, y0 + 1),
                             FixedFraction8(uu), FixedFraction8(vv));
}

}  // namespace Orvane::Blit
