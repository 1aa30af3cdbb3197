// The plain kernel set: the formulas pixel by pixel. Also the scalar pieces that the vector
// sets share (destinations with alpha need a division per pixel, done through tables).
#include "framework/graphics/blit/Kernels.h"

#include <array>

namespace Orvane::Blit {

namespace {

// Result alpha Ao(a, Ad) and source weight w(a, Ao) of the blend onto a destination with alpha.
struct AlphaTables {
    std::array<uint8_t, 256 * 256> outAlpha{};
    std::array<uint8_t, 256 * 256> weight{};
    AlphaTables() {
        for (uint32_t a = 0; a < 256; ++a) {
            for (uint32_t ad = 0; ad < 256; ++ad)
                outAlpha[a * 256 + ad] = static_cast<uint8_t>(ad + (255 - ad) * a / 255);
            for (uint32_t ao = 1; ao < 256; ++ao) {
                const uint32_t w = a * 255 / ao;
                weight[a * 256 + ao] = static_cast<uint8_t>(w > 255 ? 255 : w);
            }
        }
    }
};

const AlphaTables& Tables() {
    static const AlphaTables tables;
    return tables;
}

inline uint32_t BlendAlphaDestPixel(uint32_t d, uint32_t sr, uint32_t sg, uint32_t sb,
                                    uint32_t a, const AlphaTables& t) {
    const uint32_t ao = t.outAlpha[a * 256 + Alpha(d)];
    const uint32_t w = t.weight[a * 256 + ao];
    auto mix = [w](uint32_t sc, uint32_t dc) { return ((sc * w) >> 8) + ((dc * (256 - w)) >> 8); };
    return Pack(ao, mix(sr, Channel(d, 16)), mix(sg, Channel(d, 8)), mix(sb, Channel(d, 0)));
}

void PlainBlendOpaque(uint32_t* d, const uint32_t* s, int n, const Modulation& m) {
    for (int i = 0; i < n; ++i) d[i] = ReferenceBlendOpaqueDest(d[i], s[i], m);
}

void PlainAdd(uint32_t* d, const uint32_t* s, int n, const Modulation& m) {
    for (int i = 0; i < n; ++i) d[i] = ReferenceAdd(d[i], s[i], m);
}

void PlainFillOpaque(uint32_t* d, int n, uint32_t color) {
    const Modulation neutral;
    for (int i = 0; i < n; ++i) d[i] = ReferenceBlendOpaqueDest(d[i], color, neutral);
}

void PlainFillAdd(uint32_t* d, int n, uint32_t color) {
    const Modulation neutral;
    for (int i = 0; i < n; ++i) d[i] = ReferenceAdd(d[i], color, neutral);
}

void PlainLerpRows(uint32_t* out, const uint32_t* r0, const uint32_t* r1, int n, uint32_t fy) {
    for (int i = 0; i < n; ++i) out[i] = ReferenceBilinear(r0[i], r0[i], r1[i], r1[i], 0, fy);
}

void PlainLerpColumns(uint32_t* out, const uint32_t* row, const int32_t* x0,
                      const uint16_t* weights, int n) {
    for (int i = 0; i < n; ++i) {
        const uint32_t a = row[x0[i]], b = row[x0[i] + 1];
        out[i] = ReferenceBilinear(a, b, a, b, weights[8 * i + 4], 0);
    }
}

void PlainSampleLinear(uint32_t* out, const SourceWindow& w, int64_t u, int64_t v, int64_t du,
                       int64_t dv, int n) {
    for (int i = 0; i < n; ++i) out[i] = SampleLinear(w, u + i * du, v + i * dv);
}

const KernelSet kPlain = {
    "plain", Isa::Plain, PlainBlendOpaque, BlendAlphaDestScalar, PlainAdd,
    PlainFillOpaque, FillAlphaDestScalar, PlainFillAdd, PlainLerpRows, PlainLerpColumns,
    PlainSampleLinear,
};

}  // namespace

void BlendAlphaDestScalar(uint32_t* d, const uint32_t* s, int n, const Modulation& m) {
    const AlphaTables& t = Tables();
    for (int i = 0; i < n; ++i) {
        const uint32_t a = EffectiveAlpha(s[i], m);
        if (a == 0) continue;
        uint32_t r, g, b;
        Modulate(s[i], m, r, g, b);
        d[i] = BlendAlphaDestPixel(d[i], r, g, b, a, t);
    }
}

void FillAlphaDestScalar(uint32_t* d, int n, uint32_t color) {
    const AlphaTables& t = Tables();
    const uint32_t a = Alpha(color);
    if (a == 0) return;
    const uint32_t r = Channel(color, 16), g = Channel(color, 8), b = Channel(color, 0);
    for (int i = 0; i < n; ++i) d[i] = BlendAlphaDestPixel(d[i], r, g, b, a, t);
}

const KernelSet& PlainKernels() { return kPlain; }

}  // namespace Orvane::Blit
