// Colour, drawing context and transform: positions, clipping, state, the blending formulas on
// single pixels, and where transformed pictures land.
#include "framework/graphics/Color.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/Transform2D.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

using namespace Orvane;

constexpr uint32_t kA = 0xFF102030, kB = 0xFF405060, kC = 0xFF708090, kD = 0xFFA0B0C0;

MemoryImage Screen(int w = 40, int h = 30) {
    MemoryImage screen(w, h);
    screen.Clear(0xFF000000u);
    return screen;
}

MemoryImage Picture(int w, int h, std::initializer_list<uint32_t> pixels) {
    MemoryImage image(w, h);
    int i = 0;
    for (uint32_t p : pixels) { image.SetPixel(i % w, i / w, p); ++i; }
    return image;
}

TEST(ColorTest, PackedAlphaOfZeroReadsAsOpaque) {
    const Color red(0x00FF0000u);
    EXPECT_EQ(red, Color(255, 0, 0, 255));
    EXPECT_EQ(Color(0x80112233u), Color(0x11, 0x22, 0x33, 0x80));
    EXPECT_EQ(Color(0x01FFFFFFu).a, 1);
    EXPECT_EQ(Color(12, 34, 56, 78).ToInt(), 0x4E0C2238u);
    EXPECT_EQ(Color(300, -5, 10).ToInt(), 0xFFFF000Au);   // channels are clamped when packed
    EXPECT_TRUE(Color(0xFFFFFFFFu).IsNeutral());
    EXPECT_TRUE(Color(0x00FFFFFFu).IsNeutral());
    EXPECT_FALSE(Color(255, 255, 255, 254).IsNeutral());
    EXPECT_EQ(Graphics().GetColor(), Color(0, 0, 0, 255));
}

TEST(GraphicsTest, PositionsAreTranslatedThenTruncated) {
    const MemoryImage dot = Picture(1, 1, {kA});
    struct Case { float tx, ty; int x, y; int wantX, wantY; } cases[] = {
        {0.5f, 0.5f, 3, 4, 3, 4},    // 3.5 -> 3
        {1.7f, 0.0f, 3, 4, 4, 4},    // 4.7 -> 4
        {-0.5f, 0.0f, 0, 4, 0, 4},   // -0.5 -> 0 (toward zero)
        {-1.5f, 0.0f, 0, 4, -1, 4},  // -1.5 -> -1: off screen
    };
    for (const Case& c : cases) {
        MemoryImage screen = Screen();
        Graphics g(&screen);
        g.TranslateF(c.tx, c.ty);
        MemoryImage src = dot;
        g.DrawImage(&src, c.x, c.y);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                EXPECT_EQ(screen.GetPixel(x, y), (x == c.wantX && y == c.wantY) ? kA : 0xFF000000u)
                    << "translation " << c.tx << " at " << x << "," << y;
    }
}

TEST(GraphicsTest, ClipStateStackAndCopies) {
    MemoryImage screen = Screen();
    MemoryImage block = Picture(4, 4, {});
    block.Clear(kB);
    Graphics g(&screen);
    g.Translate(10, 10);
    g.SaveState();
    g.ClipRect(1, 1, 2, 2);            // screen pixels 11..12
    g.SetColor(Color(kC));
    EXPECT_EQ(g.GetClipRect(), Rect(11, 11, 2, 2));
    Graphics copy(g);                  // copies the state
    copy.DrawImage(&block, 0, 0);
    g.SetDrawMode(Graphics::DRAWMODE_ADDITIVE);
    EXPECT_EQ(copy.GetDrawMode(), Graphics::DRAWMODE_NORMAL);
    g.RestoreState();
    g.RestoreState();                  // nothing saved any more: no change
    EXPECT_EQ(g.GetClipRect(), screen.GetRect());
    EXPECT_EQ(g.GetDrawMode(), Graphics::DRAWMODE_NORMAL);
    EXPECT_EQ(g.GetColor(), Color::Black());
    EXPECT_FLOAT_EQ(g.GetTransX(), 10.0f);
    for (int y = 8; y < 16; ++y)
        for (int x = 8; x < 16; ++x) {
            const bool inside = x >= 11 && x < 13 && y >= 11 && y < 13;
            EXPECT_EQ(screen.GetPixel(x, y), inside ? kB : 0xFF000000u) << x << "," << y;
        }
}

TEST(GraphicsTest, SourceRectangleMustLieWithinTheImage) {
    MemoryImage screen = Screen();
    MemoryImage src = Picture(2, 2, {kA, kB, kC, kD});
    Graphics g(&screen);
    g.DrawImage(&src, 0, 0, Rect(1, 1, 2, 1));     // sticks out: nothing
    g.DrawImage(&src, 0, 0, Rect(-1, 0, 1, 1));
    g.DrawImage(&src, Rect(0, 0, 9, 9), Rect(0, 0, 3, 2));
    g.DrawImageRotated(&src, 5, 5, 1.0, Rect(0, 0, 2, 3));
    for (uint32_t p : screen.Pixels()) ASSERT_EQ(p, 0xFF000000u);
    g.DrawImage(&src, 5, 6, Rect(1, 0, 1, 2));     // the right column
    EXPECT_EQ(screen.GetPixel(5, 6), kB);
    EXPECT_EQ(screen.GetPixel(5, 7), kD);
    EXPECT_EQ(screen.GetPixel(6, 6), 0xFF000000u);
}

TEST(GraphicsTest, FillFollowsColourAndAlpha) {
    MemoryImage screen = Screen();
    Graphics g(&screen);
    g.SetColor(Color(200, 100, 0, 0));
    g.FillRect(0, 0, 5, 5);                         // alpha 0: nothing
    EXPECT_EQ(screen.GetPixel(2, 2), 0xFF000000u);
    g.SetColor(Color(200, 100, 0, 128));
    g.FillRect(0, 0, 5, 5);                         // (200 x 128 + 0) / 256 = 100
    EXPECT_EQ(screen.GetPixel(2, 2), 0xFF643200u);

    // An image with alpha accumulates it: Ao = Ad + (255 - Ad) x a / 255.
    MemoryImage layer(4, 4);
    Graphics h(&layer);
    h.SetColor(Color(255, 255, 255, 128));
    h.FillRect(0, 0, 4, 4);
    EXPECT_EQ(layer.GetPixel(1, 1) >> 24, 128u);
    h.FillRect(0, 0, 4, 4);
    EXPECT_EQ(layer.GetPixel(1, 1) >> 24, 128u + 127u * 128u / 255u);
    h.SetColor(Color(1, 2, 3));
    h.FillRect(0, 0, 4, 4);                         // opaque colour: stored as is
    EXPECT_EQ(layer.GetPixel(3, 3), 0xFF010203u);
}

TEST(GraphicsTest, NormalBlendMatchesTheFormulasOnSinglePixels) {
    // Destination without alpha: c = (S' x a + D x (256 - a)) / 256.
    MemoryImage screen = Screen(2, 1);
    screen.SetPixel(0, 0, 0xFF204060u);
    MemoryImage src = Picture(1, 1, {0x80C86400u});   // (200, 100, 0) at alpha 128
    Graphics g(&screen);
    g.DrawImage(&src, 0, 0);
    EXPECT_EQ(screen.GetPixel(0, 0), Color(116, 82, 48, 255).ToInt());
    // Tinted: S' = S x C / 256, a = As x Ac / 255.
    screen.SetPixel(0, 0, 0xFF000000u);
    g.SetColor(Color(128, 255, 255, 255));
    g.SetColorizeImages(true);
    g.DrawImage(&src, 0, 0);
    EXPECT_EQ(screen.GetPixel(0, 0), Color(50, 49, 0, 255).ToInt());

    // Destination with alpha: Ao = Ad + (255 - Ad) x a / 255, w = a x 255 / Ao.
    MemoryImage layer(1, 1);
    layer.SetPixel(0, 0, 0x00000000u);
    Graphics h(&layer);
    h.DrawImage(&src, 0, 0);
    EXPECT_EQ(layer.GetPixel(0, 0), Color(199, 99, 0, 128).ToInt());
}

TEST(GraphicsTest, AdditiveNeverChangesTheDestinationAlpha) {
    MemoryImage layer(16, 16);
    for (int i = 0; i < 256; ++i) layer.SetPixel(i % 16, i / 16, (uint32_t(i) << 24) | 0x203040u);
    const MemoryImage before = layer;
    MemoryImage src(16, 16);
    src.Clear(0xC0FFFFFFu);
    Graphics g(&layer);
    g.SetDrawMode(Graphics::DRAWMODE_ADDITIVE);
    g.DrawImage(&src, 0, 0);
    g.SetColor(Color(255, 0, 0, 200));
    g.FillRect(0, 0, 16, 16);
    g.SetLinearBlend(true);
    g.DrawImageRotated(&src, 0, 0, 0.5);
    g.DrawImage(&src, Rect(0, 0, 16, 16), Rect(0, 0, 5, 5));
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(layer.GetPixel(i % 16, i / 16) >> 24, before.GetPixel(i % 16, i / 16) >> 24);
        EXPECT_GT(layer.GetPixel(i % 16, i / 16) & 0xFFFFFFu, 0x203040u);
    }
    // c = min(255, D + S x As / 256): 0x20 + 255 x 192 / 256 = 0x20 + 191.
    EXPECT_EQ((before.GetPixel(0, 0) & 0xFF) + 191 + 0, (layer.GetPixel(0, 0) & 0xFF) - 0);
}

TEST(Transform2DTest, SimpleFormsSwitchToTheMatrixWhenMixed) {
    Transform2D t;
    EXPECT_EQ(t.GetForm(), Transform2D::Form::Identity);
    t.RotateRadians(0.25f);
    t.RotateRadians(0.5f);
    EXPECT_EQ(t.GetForm(), Transform2D::Form::Rotation);
    EXPECT_FLOAT_EQ(t.GetRotation(), 0.75f);
    t.Scale(2.0f, 3.0f);
    ASSERT_EQ(t.GetForm(), Transform2D::Form::Matrix);
    const Matrix3 m = t.Matrix();   // S x R
    const float c = std::cos(0.75f), s = std::sin(0.75f);
    EXPECT_NEAR(m.m[0][0], 2 * c, 1e-6);
    EXPECT_NEAR(m.m[0][1], 2 * s, 1e-6);
    EXPECT_NEAR(m.m[1][0], -3 * s, 1e-6);
    EXPECT_NEAR(m.m[1][1], 3 * c, 1e-6);
    t.Translate(5, 7);
    EXPECT_FLOAT_EQ(t.Matrix().m[0][2], 5.0f);
    EXPECT_FLOAT_EQ(t.Matrix().m[1][2], 7.0f);

    Transform2D scales;
    scales.Scale(2, 2);
    scales.Scale(-0.5f, 1);
    EXPECT_EQ(scales.GetForm(), Transform2D::Form::Scale);
    EXPECT_FLOAT_EQ(scales.GetScaleX(), -1.0f);
    Transform2D degrees;
    degrees.RotateDegrees(90.0f);
    EXPECT_EQ(degrees.GetRotation(), 90.0f * 3.1415927f / 180.0f);
}

// A 2 x 2 picture [A B; C D] drawn through transforms centred on (10, 10).
class TransformDrawTest : public ::testing::Test {
protected:
    MemoryImage screen = Screen();
    MemoryImage quad = Picture(2, 2, {kA, kB, kC, kD});
    Graphics g{&screen};
    void ExpectQuad(uint32_t tl, uint32_t tr, uint32_t bl, uint32_t br) {
        EXPECT_EQ(screen.GetPixel(9, 9), tl);
        EXPECT_EQ(screen.GetPixel(10, 9), tr);
        EXPECT_EQ(screen.GetPixel(9, 10), bl);
        EXPECT_EQ(screen.GetPixel(10, 10), br);
        int drawn = 0;
        for (uint32_t p : screen.Pixels()) drawn += p != 0xFF000000u;
        EXPECT_EQ(drawn, 4);
    }
};

TEST_F(TransformDrawTest, IdentityDrawsPlainlyAboutTheCentre) {
    g.DrawImageWithTransform(&quad, Transform2D(), 10, 10);
    ExpectQuad(kA, kB, kC, kD);
}

TEST_F(TransformDrawTest, ScaleOfMinusOneMirrors) {
    Transform2D t;
    t.Scale(-1, 1);
    g.DrawImageWithTransform(&quad, t, 10, 10);
    ExpectQuad(kB, kA, kD, kC);
}

TEST_F(TransformDrawTest, VerticalMirrorGoesThroughTheMatrix) {
    Transform2D t;
    t.Scale(1, -1);
    g.DrawImageWithTransform(&quad, t, 10, 10);
    ExpectQuad(kC, kD, kA, kB);
}

TEST_F(TransformDrawTest, RotationTurnsCounterClockwiseOnScreen) {
    for (bool matrix : {false, true}) {
        screen.Clear(0xFF000000u);
        Transform2D t;
        t.RotateRadians(float(M_PI / 2));
        if (matrix) t.Translate(0, 0);   // same turn, drawn through the matrix
        g.DrawImageWithTransform(&quad, t, 10, 10);
        ExpectQuad(kB, kD, kA, kC);
    }
    screen.Clear(0xFF000000u);
    g.DrawImageRotated(&quad, 9, 9, M_PI);   // about its own centre
    ExpectQuad(kD, kC, kB, kA);
}

TEST_F(TransformDrawTest, OtherScalesStretchAboutTheCentre) {
    Transform2D t;
    t.Scale(2, 2);
    g.SetFastStretch(true);
    g.DrawImageWithTransform(&quad, t, 10, 10);
    EXPECT_EQ(screen.GetPixel(8, 8), kA);
    EXPECT_EQ(screen.GetPixel(9, 9), kA);
    EXPECT_EQ(screen.GetPixel(10, 8), kB);
    EXPECT_EQ(screen.GetPixel(11, 11), kD);
    EXPECT_EQ(screen.GetPixel(12, 12), 0xFF000000u);
}

TEST_F(TransformDrawTest, RotationThenScaleDrawsThroughTheMatrix) {
    // The sprite registry's rotated sprites: a rotation (here none) and then a scale.
    Transform2D t;
    t.RotateDegrees(0.0f);
    t.Scale(2.0f, 2.0f);
    ASSERT_EQ(t.GetForm(), Transform2D::Form::Matrix);
    g.DrawImageWithTransform(&quad, t, 10, 10);
    for (int y = 6; y < 14; ++y)
        for (int x = 6; x < 14; ++x) {
            uint32_t want = 0xFF000000u;
            if (x >= 8 && x < 12 && y >= 8 && y < 12)
                want = y < 10 ? (x < 10 ? kA : kB) : (x < 10 ? kC : kD);
            EXPECT_EQ(screen.GetPixel(x, y), want) << x << "," << y;
        }
}

// Which primitive a transformed draw reaches, and where.
struct PrimitiveLog : MemoryImage {
    PrimitiveLog() : MemoryImage(40, 30) {}
    std::string last;
    float x = 0.0f, y = 0.0f;
    bool linear = false;
    void Blit(Image* src, int px, int py, const Rect& r, const Color& c, int mode) override {
        Note("plain", px, py, false);
        MemoryImage::Blit(src, px, py, r, c, mode);
    }
    void BlitMirror(Image* src, int px, int py, const Rect& r, const Rect& clip, const Color& c,
                    int mode) override {
        Note("mirror", px, py, false);
        MemoryImage::BlitMirror(src, px, py, r, clip, c, mode);
    }
    void BlitRotated(Image* src, float px, float py, const Rect& clip, const Color& c, int mode,
                     double angle, float cx, float cy, const Rect& r, bool lin) override {
        Note("rotated", px, py, lin);
        MemoryImage::BlitRotated(src, px, py, clip, c, mode, angle, cx, cy, r, lin);
    }
    void StretchBlit(Image* src, const Rect& dest, const Rect& r, const Rect& clip,
                     const Color& c, int mode, bool lin) override {
        Note("stretch", static_cast<float>(dest.x), static_cast<float>(dest.y), lin);
        MemoryImage::StretchBlit(src, dest, r, clip, c, mode, lin);
    }
    void BlitMatrix(Image* src, float px, float py, const Matrix3& m, const Rect& clip,
                    const Color& c, int mode, const Rect& r, bool lin) override {
        Note("matrix", px, py, lin);
        MemoryImage::BlitMatrix(src, px, py, m, clip, c, mode, r, lin);
    }
    void Note(const char* what, float px, float py, bool lin) {
        last = what;
        x = px;
        y = py;
        linear = lin;
    }
};

// Accelerated, every transformed draw goes through the matrix at its exact float position,
// filtered; otherwise simple transforms take their own paths at the truncated position.
TEST(GraphicsTest, AcceleratedTransformsAlwaysTakeTheMatrixAtTheirFloatPosition) {
    MemoryImage quad = Picture(2, 2, {kA, kB, kC, kD});
    Transform2D identity, turn, stretch, mirror, turnThenStretch;
    turn.RotateRadians(0.5f);
    stretch.Scale(2.0f, 2.0f);
    mirror.Scale(-1.0f, 1.0f);
    turnThenStretch.RotateRadians(0.5f);
    turnThenStretch.Scale(2.0f, 2.0f);
    struct Case {
        const Transform2D* transform;
        const char* plainPath;
    };
    const Case cases[] = {{&identity, "plain"}, {&turn, "rotated"}, {&stretch, "stretch"},
                          {&mirror, "mirror"}, {&turnThenStretch, "matrix"}};
    for (const Case& c : cases) {
        for (const bool accelerated : {false, true}) {
            SCOPED_TRACE(std::string(c.plainPath) + (accelerated ? ", accelerated" : ""));
            PrimitiveLog screen;
            Graphics g(&screen);
            g.SetAccelerated(accelerated);
            EXPECT_EQ(g.GetLinearBlend(), accelerated);
            EXPECT_EQ(g.GetFastStretch(), !accelerated);
            g.TranslateF(0.25f, 0.0f);
            g.DrawImageWithTransform(&quad, *c.transform, 10.5f, 10.25f);
            if (accelerated) {
                EXPECT_EQ(screen.last, "matrix");
                EXPECT_FLOAT_EQ(screen.x, 10.75f);
                EXPECT_FLOAT_EQ(screen.y, 10.25f);
                EXPECT_TRUE(screen.linear);
            } else {
                EXPECT_EQ(screen.last, c.plainPath);
                EXPECT_EQ(screen.x, std::trunc(screen.x));   // a whole pixel
            }
        }
    }
}

TEST(GraphicsTest, MirroredDrawIsClippedFromTheOtherSide) {
    MemoryImage screen = Screen();
    MemoryImage row = Picture(3, 1, {kA, kB, kC});
    Graphics g(&screen);
    g.DrawImageMirror(&row, -1, 0);     // C B A, the C column off screen
    EXPECT_EQ(screen.GetPixel(0, 0), kB);
    EXPECT_EQ(screen.GetPixel(1, 0), kA);
    EXPECT_EQ(screen.GetPixel(2, 0), 0xFF000000u);
}

TEST(GraphicsTest, ScaleTurnsPlainDrawsIntoStretchedOnes) {
    MemoryImage screen = Screen();
    MemoryImage dot = Picture(1, 1, {kA});
    Graphics g(&screen);
    g.SetFastStretch(true);
    g.SetScale(3, 2, 10, 10);
    g.DrawImage(&dot, 12, 10);          // x: 10 + (12 - 10) x 3 = 16
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            EXPECT_EQ(screen.GetPixel(x, y), (x >= 16 && x < 19 && y >= 10 && y < 12) ? kA : 0xFF000000u);
}

TEST(GraphicsTest, HostileArgumentsDrawNothingAndNeverCrash) {
    MemoryImage screen = Screen();
    MemoryImage src = Picture(2, 2, {kA, kB, kC, kD});
    Image bare;                           // an image without pixels
    Graphics g(&screen);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    g.DrawImage(nullptr, 0, 0);
    g.DrawImage(&bare, 0, 0);
    g.DrawImage(&src, std::numeric_limits<int>::max(), std::numeric_limits<int>::min());
    g.DrawImage(&src, Rect(std::numeric_limits<int>::max() - 1, 0, std::numeric_limits<int>::max(), 5),
                src.GetRect());
    g.DrawImageRotatedF(&src, nan, 0, 1.0, 1, 1, src.GetRect());
    g.DrawImageRotated(&src, 5, 5, std::numeric_limits<double>::infinity());
    Transform2D squash;
    squash.Scale(0, 0);
    g.DrawImageWithTransform(&src, squash, 5, 5);
    Matrix3 m;
    m.m[0][0] = inf;
    g.DrawImageMatrix(&src, m, 5, 5, src.GetRect());
    g.TranslateF(nan, inf);
    g.DrawImage(&src, 0, 0);
    g.FillRect(0, 0, 10, 10);
    g.DrawLine(0, 0, 1000000, 3);
    for (uint32_t p : screen.Pixels()) ASSERT_EQ(p, 0xFF000000u);
    Graphics onBare(&bare);
    onBare.DrawImage(&src, 0, 0);
    onBare.FillRect(0, 0, 4, 4);
}

TEST(GraphicsTest, DrawingAnImageIntoItselfReadsTheOldPixels) {
    MemoryImage image = Picture(3, 1, {kA, kB, kC});
    Graphics g(&image);
    g.DrawImage(&image, 1, 0, Rect(0, 0, 2, 1));
    EXPECT_EQ(image.GetPixel(0, 0), kA);
    EXPECT_EQ(image.GetPixel(1, 0), kA);
    EXPECT_EQ(image.GetPixel(2, 0), kB);
}

TEST(MemoryImageTest, AlphaFactsFollowThePixels) {
    MemoryImage image(4, 2);
    EXPECT_TRUE(image.HasTransparency());
    image.Clear(0xFF123456u);
    EXPECT_FALSE(image.HasAlpha());
    EXPECT_FALSE(image.HasTransparency());
    // Drawing into an image refreshes what it knows about itself as a source.
    Graphics g(&image);
    g.SetColor(Color(0, 0, 0, 255));
    g.FillRect(0, 0, 1, 1);
    MemoryImage screen = Screen(4, 2);
    Graphics s(&screen);
    s.DrawImage(&image, 0, 0);
    EXPECT_EQ(screen.GetPixel(0, 0), 0xFF000000u);
    EXPECT_EQ(screen.GetPixel(1, 0), 0xFF123456u);
    image.GetBits()[5] = 0x00FFFFFFu;
    image.BitsChanged();
    EXPECT_TRUE(image.HasTransparency());

    EXPECT_FALSE(image.Create(0, 5));
    EXPECT_FALSE(image.Create(MemoryImage::kMaxSide + 1, 1));
    EXPECT_EQ(image.GetWidth(), 0);
    EXPECT_FALSE(image.SetPixels(2, 2, std::vector<uint32_t>(3)));
    MemoryImage surface(2, 2);
    surface.SetNoAlpha(true);
    EXPECT_EQ(surface.GetPixel(1, 1), 0xFF000000u);
    EXPECT_TRUE(surface.IsOpaqueDestination());
}

}  // namespace

TEST(GraphicsTest, AdditiveFadesWithTheColourAlpha) {
    // A fading additive effect is drawn tinted with a falling alpha: half alpha adds half.
    MemoryImage screen(8, 1);
    screen.Clear(0xFF000000u);
    MemoryImage src(8, 1);
    src.Clear(0xFFC8C8C8u);
    Graphics g(&screen);
    g.SetDrawMode(Graphics::DRAWMODE_ADDITIVE);
    g.SetColorizeImages(true);
    g.SetColor(Color(255, 255, 255, 128));
    g.DrawImage(&src, 0, 0);
    // a = 255 x 128 / 255 = 128; S' = 200 x 255 / 256 = 199; 199 x 128 / 256 = 99.
    for (int x = 0; x < 8; ++x) EXPECT_NEAR(int(screen.GetPixel(x, 0) & 0xFF), 99, 1) << x;
}
