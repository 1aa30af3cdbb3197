// The blending and filtering formulas, one pixel at a time, written plainly. They are the
// definition the fast span kernels are measured against (to within one unit per channel).
//
// Normal mode, source S (alpha As), modulating colour C (alpha Ac), destination D (alpha Ad):
//   a := As x Ac / 255; a = 0 leaves D unchanged.
//   destination without alpha: c := (S'c x a + Dc x (256 - a)) / 256, alpha 255,
//   destination with alpha:    Ao := Ad + (255 - Ad) x a / 255, w := a x 255 / Ao,
//                              c := S'c x w / 256 + Dc x (256 - w) / 256, alpha Ao,
//   where S'c = Sc x Cc / 256, or Sc itself when C is the neutral white.
// Additive mode: c := min(255, Dc + S'c x a / 256) with a as above, the destination alpha
//   kept. (With a white colour a = As; a tinted colour's alpha fades the sprite, as the
//   accelerated display does.)
#pragma once

#include <cstdint>

namespace Orvane::Blit {

inline uint32_t Channel(uint32_t p, int shift) { return (p >> shift) & 0xFFu; }
inline uint32_t Alpha(uint32_t p) { return p >> 24; }
inline uint32_t Pack(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return (a << 24) | (r << 16) | (g << 8) | b;
}

// The colour that modulates a draw, unpacked once per draw.
struct Modulation {
    uint32_t r = 255, g = 255, b = 255, a = 255;
    bool neutral = true;   // white at full opacity: no multiplication at all

    Modulation() = default;
    explicit Modulation(uint32_t argb)
        : r(Channel(argb, 16)), g(Channel(argb, 8)), b(Channel(argb, 0)), a(Alpha(argb)),
          neutral(argb == 0xFFFFFFFFu) {}
    uint32_t Packed() const { return Pack(a, r, g, b); }
};

// S'c for the three colour channels.
inline void Modulate(uint32_t s, const Modulation& m, uint32_t& r, uint32_t& g, uint32_t& b) {
    r = Channel(s, 16); g = Channel(s, 8); b = Channel(s, 0);
    if (!m.neutral) { r = r * m.r / 256; g = g * m.g / 256; b = b * m.b / 256; }
}

inline uint32_t EffectiveAlpha(uint32_t s, const Modulation& m) {
    return m.neutral ? Alpha(s) : Alpha(s) * m.a / 255;
}

inline uint32_t ReferenceBlendOpaqueDest(uint32_t d, uint32_t s, const Modulation& m) {
    const uint32_t a = EffectiveAlpha(s, m);
    if (a == 0) return d;
    if (a == 255 && m.neutral) return s | 0xFF000000u;
    uint32_t r, g, b;
    Modulate(s, m, r, g, b);
    auto mix = [a](uint32_t sc, uint32_t dc) { return (sc * a + dc * (256 - a)) / 256; };
    return Pack(255, mix(r, Channel(d, 16)), mix(g, Channel(d, 8)), mix(b, Channel(d, 0)));
}

inline uint32_t ReferenceBlendAlphaDest(uint32_t d, uint32_t s, const Modulation& m) {
    const uint32_t a = EffectiveAlpha(s, m);
    if (a == 0) return d;
    const uint32_t ad = Alpha(d);
    const uint32_t ao = ad + (255 - ad) * a / 255;
    const uint32_t w = a * 255 / ao;
    uint32_t r, g, b;
    Modulate(s, m, r, g, b);
    auto mix = [w](uint32_t sc, uint32_t dc) { return sc * w / 256 + dc * (256 - w) / 256; };
    return Pack(ao, mix(r, Channel(d, 16)), mix(g, Channel(d, 8)), mix(b, Channel(d, 0)));
}

inline uint32_t ReferenceAdd(uint32_t d, uint32_t s, const Modulation& m) {
    const uint32_t as = EffectiveAlpha(s, m);
    uint32_t r, g, b;
    Modulate(s, m, r, g, b);
    auto add = [as](uint32_t sc, uint32_t dc) {
        const uint32_t v = dc + sc * as / 256;
        return v > 255 ? 255u : v;
    };
    return Pack(Alpha(d), add(r, Channel(d, 16)), add(g, Channel(d, 8)), add(b, Channel(d, 0)));
}

// Fill: the colour is the source, blended with the neutral modulation; an opaque colour in
// normal mode is simply stored.
inline uint32_t ReferenceFill(uint32_t d, uint32_t color, bool destOpaque, int drawMode) {
    const Modulation neutral;
    if (drawMode == 1) return ReferenceAdd(d, color, neutral);
    if (Alpha(color) == 255) return color;
    return destOpaque ? ReferenceBlendOpaqueDest(d, color, neutral)
                      : ReferenceBlendAlphaDest(d, color, neutral);
}

inline uint32_t ReferenceBlend(uint32_t d, uint32_t s, const Modulation& m, bool destOpaque,
                               int drawMode) {
    if (drawMode == 1) return ReferenceAdd(d, s, m);
    return destOpaque ? ReferenceBlendOpaqueDest(d, s, m) : ReferenceBlendAlphaDest(d, s, m);
}

// Bilinear filtering of four taps (p00 p01 on the upper row), weights fx, fy in 0..255
// (the fraction x 256): each channel first down the columns, then across.
inline uint32_t ReferenceBilinear(uint32_t p00, uint32_t p01, uint32_t p10, uint32_t p11,
                                  uint32_t fx, uint32_t fy) {
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t v0 = (Channel(p00, shift) * (256 - fy) + Channel(p10, shift) * fy) >> 8;
        const uint32_t v1 = (Channel(p01, shift) * (256 - fy) + Channel(p11, shift) * fy) >> 8;
        out |= ((v0 * (256 - fx) + v1 * fx) >> 8) << shift;
    }
    return out;
}

}  // namespace Orvane::Blit
