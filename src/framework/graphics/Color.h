// Color: one RGBA colour as four ints 0..255, and its packed 0xAARRGGBB form for pixel work.
// The packed constructor reads an alpha byte of 0 as opaque (255): the game builds colours
// from opacities in a way that wraps full opacity to the byte 0.
#pragma once

#include <cstdint>

namespace Orvane {

struct Color {
    int r = 0;
    int g = 0;
    int b = 0;
    int a = 255;

    constexpr Color() = default;
    constexpr Color(int red, int green, int blue) : r(red), g(green), b(blue), a(255) {}
    constexpr Color(int red, int green, int blue, int alpha)
        : r(red), g(green), b(blue), a(alpha) {}
    // Packed 0xAARRGGBB; an alpha byte of 0 is taken as 255.
    constexpr explicit Color(uint32_t packed)
        : r(static_cast<int>((packed >> 16) & 0xFF)),
          g(static_cast<int>((packed >> 8) & 0xFF)),
          b(static_cast<int>(packed & 0xFF)),
          a((packed >> 24) == 0 ? 255 : static_cast<int>(packed >> 24)) {}

    constexpr int GetRed() const { return r; }
    constexpr int GetGreen() const { return g; }
    constexpr int GetBlue() const { return b; }
    constexpr int GetAlpha() const { return a; }

    // Packed 0xAARRGGBB; each channel is clamped to 0..255 first.
    constexpr uint32_t ToInt() const {
        return (Clamp(a) << 24) | (Clamp(r) << 16) | (Clamp(g) << 8) | Clamp(b);
    }
    // White at full opacity: the neutral colour that leaves images unchanged.
    constexpr bool IsNeutral() const { return ToInt() == 0xFFFFFFFFu; }

    constexpr bool operator==(const Color& o) const {
        return r == o.r && g == o.g && b == o.b && a == o.a;
    }
    constexpr bool operator!=(const Color& o) const { return !(*this == o); }

    static constexpr Color White() { return Color(255, 255, 255, 255); }
    static constexpr Color Black() { return Color(0, 0, 0, 255); }

private:
    static constexpr uint32_t Clamp(int v) {
        return static_cast<uint32_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
    }
};

}  // namespace Orvane
