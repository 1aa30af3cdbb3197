// The fast drawing paths (every kernel set the processor supports, the per-row runs, the
// copies) against the plain reference renderer, on random pictures, colours and modes:
// every channel within one unit.
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/blit/Kernels.h"
#include "framework/graphics/blit/ReferenceBlit.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <random>
#include <string>

namespace {

using namespace Orvane;
using namespace Orvane::Blit;

int MaxChannelDifference(uint32_t a, uint32_t b) {
    int worst = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int d = std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF));
        worst = std::max(worst, d);
    }
    return worst;
}

// Compares two images; reports the first pixel that differs by more than one unit.
::testing::AssertionResult WithinOneUnit(const MemoryImage& fast, const MemoryImage& plain) {
    if (fast.GetWidth() != plain.GetWidth() || fast.GetHeight() != plain.GetHeight())
        return ::testing::AssertionFailure() << "sizes differ";
    for (int y = 0; y < fast.GetHeight(); ++y)
        for (int x = 0; x < fast.GetWidth(); ++x) {
            const uint32_t a = fast.GetPixel(x, y), b = plain.GetPixel(x, y);
            if (MaxChannelDifference(a, b) > 1)
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << "): fast " << std::hex << a
                       << ", reference " << b;
        }
    return ::testing::AssertionSuccess();
}

class Pictures {
public:
    explicit Pictures(uint32_t seed) : rng_(seed) {}

    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    uint32_t Word() { return std::uniform_int_distribution<uint32_t>()(rng_); }

    // Random alpha with the values that take special paths well represented.
    uint32_t Alpha() {
        switch (Int(0, 5)) {
        case 0: return 0;
        case 1: case 2: return 255;
        default: return uint32_t(Int(0, 255));
        }
    }
    uint32_t Pixel() { return (Alpha() << 24) | (Word() & 0xFFFFFFu); }

    // A picture with opaque blocks, transparent gaps and soft areas, like game sprites.
    MemoryImage Sprite(int w, int h) {
        MemoryImage image(w, h);
        for (int y = 0; y < h; ++y) {
            int x = 0;
            while (x < w) {
                const int len = Int(1, 40);
                const int kind = Int(0, 3);
                for (int i = 0; i < len && x < w; ++i, ++x) {
                    uint32_t a = kind == 0 ? 0 : kind == 1 ? 255 : Alpha();
                    image.SetPixel(x, y, (a << 24) | (Word() & 0xFFFFFFu));
                }
            }
        }
        return image;
    }
    MemoryImage Opaque(int w, int h) {
        MemoryImage image(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) image.SetPixel(x, y, 0xFF000000u | Word());
        return image;
    }
    MemoryImage Destination(int w, int h, bool withAlpha) {
        MemoryImage image(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) image.SetPixel(x, y, withAlpha ? Pixel() : Word());
        if (!withAlpha) image.SetNoAlpha(true);
        return image;
    }
    Color RandomColor() {
        switch (Int(0, 3)) {
        case 0: return Color::White();
        case 1: return Color(255, 255, 255, Int(0, 255));
        default: return Color(Int(0, 255), Int(0, 255), Int(0, 255), Int(0, 255));
        }
    }

private:
    std::mt19937 rng_;
};

// --- Span kernels against the per-pixel formulas.

class KernelTest : public ::testing::TestWithParam<const KernelSet*> {};

TEST_P(KernelTest, BlendAddAndFillFollowTheFormulas) {
    const KernelSet& k = *GetParam();
    Pictures p(1234);
    for (int round = 0; round < 400; ++round) {
        const int n = p.Int(0, 37);
        std::vector<uint32_t> src(size_t(n) + 1), dst(size_t(n) + 1);
        for (int i = 0; i < n; ++i) { src[size_t(i)] = p.Pixel(); dst[size_t(i)] = p.Pixel(); }
        const Modulation m = p.Int(0, 2) == 0 ? Modulation() : Modulation(p.RandomColor().ToInt());
        const uint32_t fill = (uint32_t(p.Int(1, 254)) << 24) | (p.Word() & 0xFFFFFFu);
        // The kernels for destinations without alpha only ever see alpha 255 there.
        const bool opaqueDest[] = {true, false, false, true, false, false};
        struct Case {
            const char* name;
            std::function<void(uint32_t*)> fast;
            std::function<uint32_t(uint32_t, uint32_t)> plain;
        } cases[] = {
            {"blendOpaque", [&](uint32_t* d) { k.blendOpaque(d, src.data(), n, m); },
             [&](uint32_t d, uint32_t s) { return ReferenceBlendOpaqueDest(d, s, m); }},
            {"blendAlpha", [&](uint32_t* d) { k.blendAlpha(d, src.data(), n, m); },
             [&](uint32_t d, uint32_t s) { return ReferenceBlendAlphaDest(d, s, m); }},
            {"add", [&](uint32_t* d) { k.add(d, src.data(), n, m); },
             [&](uint32_t d, uint32_t s) { return ReferenceAdd(d, s, m); }},
            {"fillOpaque", [&](uint32_t* d) { k.fillOpaque(d, n, fill); },
             [&](uint32_t d, uint32_t) { return ReferenceFill(d, fill, true, 0); }},
            {"fillAlpha", [&](uint32_t* d) { k.fillAlpha(d, n, fill); },
             [&](uint32_t d, uint32_t) { return ReferenceFill(d, fill, false, 0); }},
            {"fillAdd", [&](uint32_t* d) { k.fillAdd(d, n, fill); },
             [&](uint32_t d, uint32_t) { return ReferenceFill(d, fill, false, 1); }},
        };
        for (size_t ci = 0; ci < std::size(cases); ++ci) {
            const Case& c = cases[ci];
            std::vector<uint32_t> before = dst;
            if (opaqueDest[ci])
                for (int i = 0; i < n; ++i) before[size_t(i)] |= 0xFF000000u;
            std::vector<uint32_t> out = before;
            c.fast(out.data());
            for (int i = 0; i < n; ++i) {
                const uint32_t want = c.plain(before[size_t(i)], src[size_t(i)]);
                ASSERT_LE(MaxChannelDifference(out[size_t(i)], want), 1)
                    << k.name << " " << c.name << " n=" << n << " i=" << i << std::hex
                    << " d=" << dst[size_t(i)] << " s=" << src[size_t(i)] << " got "
                    << out[size_t(i)] << " want " << want;
            }
            ASSERT_EQ(out[size_t(n)], dst[size_t(n)]) << c.name << " wrote past the span";
        }
    }
}

TEST_P(KernelTest, FilteringFollowsTheFormulas) {
    const KernelSet& k = *GetParam();
    Pictures p(99);
    for (int round = 0; round < 200; ++round) {
        const int n = p.Int(1, 29);
        std::vector<uint32_t> r0(size_t(n) + 1), r1(size_t(n) + 1), out(static_cast<size_t>(n));
        for (int i = 0; i <= n; ++i) { r0[size_t(i)] = p.Pixel(); r1[size_t(i)] = p.Pixel(); }
        const uint32_t fy = uint32_t(p.Int(0, 255));
        k.lerpRows(out.data(), r0.data(), r1.data(), n, fy);
        for (int i = 0; i < n; ++i)
            ASSERT_LE(MaxChannelDifference(out[size_t(i)], ReferenceBilinear(r0[size_t(i)], r0[size_t(i)], r1[size_t(i)], r1[size_t(i)], 0, fy)), 1);

        std::vector<int32_t> x0(static_cast<size_t>(n));
        std::vector<uint16_t> weights(size_t(n) * 8);
        std::vector<uint32_t> fx(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            x0[size_t(i)] = p.Int(0, n - 1);
            fx[size_t(i)] = uint32_t(p.Int(0, 255));
            for (int c = 0; c < 4; ++c) {
                weights[size_t(8 * i + c)] = uint16_t(256 - fx[size_t(i)]);
                weights[size_t(8 * i + 4 + c)] = uint16_t(fx[size_t(i)]);
            }
        }
        k.lerpColumns(out.data(), r0.data(), x0.data(), weights.data(), n);
        for (int i = 0; i < n; ++i) {
            const uint32_t a = r0[size_t(x0[size_t(i)])], b = r0[size_t(x0[size_t(i)] + 1)];
            ASSERT_LE(MaxChannelDifference(out[size_t(i)], ReferenceBilinear(a, b, a, b, fx[size_t(i)], 0)), 1);
        }
    }
    // Linear samples along lines that cross the edges of a window.
    MemoryImage image = p.Sprite(13, 9);
    const SourceWindow w{image.GetBits() + 13 + 1, 13, 11, 7};
    for (int round = 0; round < 300; ++round) {
        const int64_t u = p.Int(-3 << 16, 14 << 16), v = p.Int(-3 << 16, 10 << 16);
        const int64_t du = p.Int(-90000, 90000), dv = p.Int(-90000, 90000);
        const int n = p.Int(1, 20);
        std::vector<uint32_t> out(static_cast<size_t>(n));
        k.sampleLinear(out.data(), w, u, v, du, dv, n);
        for (int i = 0; i < n; ++i)
            ASSERT_LE(MaxChannelDifference(out[size_t(i)], SampleLinear(w, u + i * du, v + i * dv)), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(AllKernelSets, KernelTest, ::testing::ValuesIn(SupportedKernelSets()),
                         [](const auto& info) { return std::string(info.param->name); });

// --- Whole drawing operations against the reference renderer.

class BlitOperationTest : public ::testing::TestWithParam<const KernelSet*> {
protected:
    void SetUp() override { ASSERT_TRUE(SelectKernels(GetParam()->isa)); }
    void TearDown() override { SelectKernels(previous_); }
    Isa previous_ = ActiveKernels().isa;
};

TEST_P(BlitOperationTest, EveryPrimitiveMatchesTheReference) {
    Pictures p(4242);
    for (int round = 0; round < 60; ++round) {
        const bool destAlpha = round % 3 == 0;
        const MemoryImage start = p.Destination(p.Int(20, 90), p.Int(20, 70), destAlpha);
        const int sw = p.Int(1, 60), sh = p.Int(1, 50);
        MemoryImage src = (round % 4 == 1) ? p.Opaque(sw, sh) : p.Sprite(sw, sh);
        const Rect srcRect(p.Int(0, sw - 1), p.Int(0, sh - 1), 0, 0);
        const Rect part(srcRect.x, srcRect.y, p.Int(1, sw - srcRect.x), p.Int(1, sh - srcRect.y));
        const Color color = p.RandomColor();
        const int mode = p.Int(0, 2) == 0 ? kDrawModeAdditive : kDrawModeNormal;
        const bool linear = p.Int(0, 1) == 1;
        const Rect clip(p.Int(-5, 20), p.Int(-5, 20), p.Int(0, 100), p.Int(0, 80));
        const int x = p.Int(-30, start.GetWidth()), y = p.Int(-30, start.GetHeight());
        const Rect destRect(x, y, p.Int(1, 120), p.Int(1, 90));
        const double angle = (p.Int(0, 7) == 0) ? 0.0 : (p.Int(-628, 628) / 100.0);
        const float cx = float(p.Int(0, part.width)), cy = float(p.Int(0, part.height));
        Matrix3 m;
        m.m[0][0] = p.Int(-200, 200) / 100.0f; m.m[0][1] = p.Int(-200, 200) / 100.0f;
        m.m[1][0] = p.Int(-200, 200) / 100.0f; m.m[1][1] = p.Int(-200, 200) / 100.0f;
        m.m[0][2] = float(p.Int(-10, 10)); m.m[1][2] = float(p.Int(-10, 10));

        struct Op {
            const char* name;
            std::function<void(MemoryImage&)> fast, plain;
        } ops[] = {
            {"fill", [&](MemoryImage& d) { d.FillRect(destRect, color, mode); },
             [&](MemoryImage& d) { Reference::FillRect(d, destRect, color, mode); }},
            {"blit", [&](MemoryImage& d) { d.Blit(&src, x, y, part, color, mode); },
             [&](MemoryImage& d) { Reference::Blit(d, src, x, y, part, color, mode); }},
            {"mirror", [&](MemoryImage& d) { d.BlitMirror(&src, x, y, part, clip, color, mode); },
             [&](MemoryImage& d) { Reference::BlitMirror(d, src, x, y, part, clip, color, mode); }},
            {"stretch",
             [&](MemoryImage& d) { d.StretchBlit(&src, destRect, part, clip, color, mode, linear); },
             [&](MemoryImage& d) {
                 Reference::StretchBlit(d, src, destRect, part, clip, color, mode, linear);
             }},
            {"rotated",
             [&](MemoryImage& d) {
                 d.BlitRotated(&src, float(x), float(y), clip, color, mode, angle, cx, cy, part, linear);
             },
             [&](MemoryImage& d) {
                 Reference::BlitRotated(d, src, float(x), float(y), clip, color, mode, angle, cx, cy,
                                        part, linear);
             }},
            {"matrix",
             [&](MemoryImage& d) { d.BlitMatrix(&src, float(x), float(y), m, clip, color, mode, part, linear); },
             [&](MemoryImage& d) {
                 Reference::BlitMatrix(d, src, float(x), float(y), m, clip, color, mode, part, linear);
             }},
        };
        for (const Op& op : ops) {
            MemoryImage fast = start, plain = start;
            op.fast(fast);
            op.plain(plain);
            ASSERT_TRUE(WithinOneUnit(fast, plain))
                << GetParam()->name << " " << op.name << " round " << round << " mode " << mode
                << " linear " << linear << " destAlpha " << destAlpha;
        }
    }
}

TEST_P(BlitOperationTest, LargeStretchesAndRotationsMatchTheReference) {
    // Sizes like the game's: a background shrunk, sprites grown, particles turned.
    Pictures p(7);
    MemoryImage background = p.Opaque(256, 192);
    MemoryImage sprite = p.Sprite(71, 71);
    for (bool linear : {false, true}) {
        MemoryImage fast = p.Destination(200, 150, false), plain = fast;
        const Rect clip = fast.GetRect();
        fast.StretchBlit(&background, Rect(3, 2, 172, 129), background.GetRect(), clip,
                         Color::White(), 0, linear);
        Reference::StretchBlit(plain, background, Rect(3, 2, 172, 129), background.GetRect(), clip,
                               Color::White(), 0, linear);
        fast.StretchBlit(&sprite, Rect(-20, 40, 140, 90), sprite.GetRect(), clip,
                         Color(200, 100, 50, 128), 0, linear);
        Reference::StretchBlit(plain, sprite, Rect(-20, 40, 140, 90), sprite.GetRect(), clip,
                               Color(200, 100, 50, 128), 0, linear);
        fast.BlitRotated(&sprite, 60, 30, clip, Color(255, 255, 255, 128), 1, 0.7, 35.5f, 35.5f,
                         sprite.GetRect(), linear);
        Reference::BlitRotated(plain, sprite, 60, 30, clip, Color(255, 255, 255, 128), 1, 0.7,
                               35.5f, 35.5f, sprite.GetRect(), linear);
        EXPECT_TRUE(WithinOneUnit(fast, plain)) << "linear " << linear;
    }
}

INSTANTIATE_TEST_SUITE_P(AllKernelSets, BlitOperationTest,
                         ::testing::ValuesIn(SupportedKernelSets()),
                         [](const auto& info) { return std::string(info.param->name); });

}  // namespace
