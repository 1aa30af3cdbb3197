// Drawing in screen fractions: dim arithmetic, placement and size, culling, draw modes and
// tinting, the rotation branches, animated sheets, progress bars and digit strips.
#include "SpriteTestSupport.h"

#include <cmath>

namespace {

using SpriteTest::DrawCall;
using SpriteTest::RectNear;
using SpriteTest::SolidImage;
using SpriteTest::SpriteFixture;
using Orvane::Rect;

TEST(SpriteDimTest, DimScalesEveryByteAndAddsOneToAlpha) {
    struct Case { uint32_t in; uint32_t out; };
    const Case cases[] = {
        {0xFFFFFFFFu, 0xCDCCCCCCu},   // opaque white: bytes 204, alpha 205
        {0x80FFFFFFu, 0x67CCCCCCu},   // alpha 128 -> 102 + 1 = 103
        {0x00FFFFFFu, 0x01CCCCCCu},   // alpha 0 (read as opaque) becomes 1
        {0xFF0A1464u, 0xCD081050u},   // 10 -> 8, 20 -> 16, 100 -> 80
    };
    for (const Case& c : cases) EXPECT_EQ(DimColour(c.in, 0.8f), c.out) << std::hex << c.in;
    // A factor of 1 wraps alpha 255 + 1 to the byte 0, computed in 32 bits.
    EXPECT_EQ(DimColour(0xFF123456u, 1.0f), 0x00123456u);
}

TEST(SpriteAnimationTest, FrameAndCellOfASheet) {
    // Fixed phase 0.5 on 4 x 2 shows frame 4: the first cell of the second row.
    EXPECT_EQ(AnimationFrame(8, 0.5f, true, 0), 4);
    const UvWindow cell = AnimationCell(4, 4, 2);
    EXPECT_FLOAT_EQ(cell.left, 0.0f);
    EXPECT_FLOAT_EQ(cell.top, 0.5f);
    EXPECT_FLOAT_EQ(cell.right, 0.25f);
    EXPECT_FLOAT_EQ(cell.bottom, 1.0f);
    // A phase of 1 wraps to the first frame; a negative phase shows no cell.
    EXPECT_EQ(AnimationFrame(8, 1.0f, true, 0), 0);
    EXPECT_LT(AnimationFrame(8, -0.2f, true, 0), 0);
    const UvWindow none = AnimationCell(-1, 4, 2);
    EXPECT_EQ(none.right, 0.0f);
    // Cycles a second by the tick count: 2 cycles/s of 8 frames at 1.3 s is frame 20 mod 8.
    EXPECT_EQ(AnimationFrame(8, 2.0f, false, 1300), 4);
    EXPECT_EQ(AnimationFrame(0, 1.0f, true, 0), -1);
}

class SpriteDrawTest : public SpriteFixture {
protected:
    std::unique_ptr<Orvane::MemoryImage> pic_ = SolidImage(100, 50, 0xFFFF0000);
    const std::vector<DrawCall>& Calls() const { return screen_.calls; }
};

TEST_F(SpriteDrawTest, WholeScreenAndNaturalSize) {
    // w = h = 1 at the centre covers the logical screen.
    EXPECT_EQ(sprites_.DrawSprite(pic_.get(), 0.5f, 0.5f, 1, 1, 0, 0, 1, 1, kNoTint, 0, 0), 0);
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].kind, DrawCall::Stretch);
    EXPECT_EQ(Calls()[0].dest, Rect(0, 0, 800, 600));
    EXPECT_TRUE(RectNear(Calls()[0].src, Rect(0, 0, 100, 50)));
    EXPECT_EQ(Calls()[0].color, Orvane::Color::White());

    // With flag 8 the same call draws the picture at its own size, centred.
    sprites_.DrawSprite(pic_.get(), 0.5f, 0.5f, 1, 1, 0, 0, 1, 1, kNoTint, SPRITE_NATURAL_SIZE, 0);
    ASSERT_EQ(Calls().size(), 2u);
    EXPECT_EQ(Calls()[1].kind, DrawCall::Blit);
    EXPECT_TRUE(RectNear(Calls()[1].dest, Rect(350, 275, 100, 50)));

    // Natural size of a window: the window's pixel size, drawn from that window.
    sprites_.DrawSprite(pic_.get(), 0.5f, 0.5f, 0, 0, 0.5f, 0, 1, 0.5f, kNoTint,
                        SPRITE_NATURAL_SIZE, 0);
    ASSERT_EQ(Calls().size(), 3u);
    EXPECT_TRUE(RectNear(Calls()[2].dest, Rect(375, 287, 50, 25)));
    EXPECT_TRUE(RectNear(Calls()[2].src, Rect(50, 0, 50, 25)));
}

TEST_F(SpriteDrawTest, TintDimAndDrawModesAreSetPerSpriteAndReset) {
    graphics_.SetDrawMode(Orvane::kDrawModeAdditive);
    // Without flag 1 or 2 the current mode stays for this sprite.
    sprites_.DrawSprite(pic_.get(), 0.5f, 0.5f, 0.1f, 0.1f, 0, 0, 1, 1, kNoTint, 0, 0);
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].drawMode, Orvane::kDrawModeAdditive);
    // ... and every sprite leaves normal mode and no tint behind.
    EXPECT_EQ(graphics_.GetDrawMode(), Orvane::kDrawModeNormal);
    EXPECT_FALSE(graphics_.GetColorizeImages());

    // Flags 1 and 2 together end additive; a colour tints; flag 4 dims it.
    sprites_.DrawSprite(pic_.get(), 0.5f, 0.5f, 0.1f, 0.1f, 0, 0, 1, 1, kNoTint,
                        SPRITE_NORMAL | SPRITE_ADDITIVE | SPRITE_DIM, 0);
    ASSERT_EQ(Calls().size(), 2u);
    EXPECT_EQ(Calls()[1].drawMode, Orvane::kDrawModeAdditive);
    EXPECT_EQ(Calls()[1].color, Orvane::Color(204, 204, 204, 205));

    sprites_.DrawSprite(pic_.get(), 0.5f, 0.5f, 0.1f, 0.1f, 0, 0, 1, 1, 0x80FF8000u, SPRITE_NORMAL,
                        0);
    ASSERT_EQ(Calls().size(), 3u);
    EXPECT_EQ(Calls()[2].drawMode, Orvane::kDrawModeNormal);
    EXPECT_EQ(Calls()[2].color, Orvane::Color(255, 128, 0, 128));
    EXPECT_FALSE(graphics_.GetColorizeImages());
}

TEST_F(SpriteDrawTest, CulledSpriteStillResetsTheContext) {
    // Wholly left of the screen: nothing drawn, but the context is reset all the same, so the
    // next sprite drawn with flags 0 is in normal mode.
    EXPECT_EQ(sprites_.DrawSprite(pic_.get(), -0.2f, 0.5f, 0.1f, 0.1f, 0, 0, 1, 1, 0x80FFFFFFu,
                                  SPRITE_ADDITIVE, 0),
              0);
    EXPECT_TRUE(Calls().empty());
    sprites_.DrawSprite(pic_.get(), 0.5f, 0.5f, 0.1f, 0.1f, 0, 0, 1, 1, kNoTint, 0, 0);
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].drawMode, Orvane::kDrawModeNormal);
    EXPECT_EQ(Calls()[0].color, Orvane::Color::White());

    // Just touching the edges is culled too (left + width <= 0, top >= H).
    sprites_.DrawSprite(pic_.get(), -0.05f, 0.5f, 0.1f, 0.1f, 0, 0, 1, 1, kNoTint, 0, 0);
    sprites_.DrawSprite(pic_.get(), 0.5f, 1.05f, 0.1f, 0.1f, 0, 0, 1, 1, kNoTint, 0, 0);
    EXPECT_EQ(Calls().size(), 1u);
}

TEST_F(SpriteDrawTest, FailsWithoutContextOrPicture) {
    EXPECT_EQ(sprites_.DrawSprite(nullptr, 0.5f, 0.5f, 1, 1, 0, 0, 1, 1, kNoTint, 0, 0),
              kSpriteDrawFailed);
    CSpriteManager fresh;
    EXPECT_EQ(fresh.DrawSprite(pic_.get(), 0.5f, 0.5f, 1, 1, 0, 0, 1, 1, kNoTint, 0, 0),
              kSpriteDrawFailed);
    EXPECT_EQ(static_cast<uint32_t>(kSpriteDrawFailed), 0x80004005u);
    EXPECT_TRUE(Calls().empty());
    // Hostile sizes do not reach the blitters as garbage.
    sprites_.DrawSprite(pic_.get(), 1e30f, NAN, 1e30f, 1, 0, 0, 1, 1, kNoTint, 0, 0);
    sprites_.DrawSprite(pic_.get(), 0.5f, NAN, 0.1f, 0.1f, 0, 0, 1, 1, kNoTint, 0, 0);
    sprites_.DrawSprite(pic_.get(), 0.5f, 0.5f, INFINITY, 0.1f, 0, 0, 1, 1, kNoTint, 0, 0);
    accelerated_ = true;
    sprites_.DrawSprite(pic_.get(), 0.5f, 0.5f, 0.1f, 0.1f, 0, 0, 1, 1, kNoTint, 0, NAN);
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(graphics_.GetDrawMode(), Orvane::kDrawModeNormal);
}

TEST_F(SpriteDrawTest, RotationNeedsAccelerationOrNaturalSize) {
    const float quarter = 1.5707964f;
    // Without acceleration a stretched sprite is drawn unrotated.
    sprites_.DrawSprite(pic_.get(), 0.5f, 0.5f, 0.25f, 0.25f, 0, 0, 1, 1, kNoTint, 0, quarter);
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].kind, DrawCall::Stretch);
    EXPECT_TRUE(RectNear(Calls()[0].dest, Rect(300, 225, 200, 150)));

    // With acceleration: rotated by angle, scaled to the destination size, placed at the centre.
    accelerated_ = true;
    sprites_.DrawSprite(pic_.get(), 0.5f, 0.5f, 0.25f, 0.25f, 0, 0, 1, 1, kNoTint, 0, quarter);
    ASSERT_EQ(Calls().size(), 2u);
    EXPECT_EQ(Calls()[1].kind, DrawCall::Matrix);
    EXPECT_EQ(Calls()[1].dest.x, 400);
    EXPECT_EQ(Calls()[1].dest.y, 300);
    // Rotation then scale (2, 3): the matrix is scale x rotation.
    const Orvane::Matrix3& m = Calls()[1].matrix;
    EXPECT_NEAR(m.m[0][0], 0.0f, 1e-5f);
    EXPECT_NEAR(std::fabs(m.m[0][1]), 2.0f, 1e-5f);
    EXPECT_NEAR(std::fabs(m.m[1][0]), 3.0f, 1e-5f);

    // Natural size rotates about the window's centre even without acceleration.
    accelerated_ = false;
    sprites_.DrawSprite(pic_.get(), 0.5f, 0.5f, 0, 0, 0, 0, 0.5f, 1, kNoTint, SPRITE_NATURAL_SIZE,
                        quarter);
    ASSERT_EQ(Calls().size(), 3u);
    EXPECT_EQ(Calls()[2].kind, DrawCall::Rotated);
    EXPECT_EQ(Calls()[2].dest.x, 375);
    EXPECT_EQ(Calls()[2].dest.y, 275);
    EXPECT_TRUE(RectNear(Calls()[2].src, Rect(0, 0, 50, 50)));
    EXPECT_NEAR(Calls()[2].angle, quarter, 1e-6);
}

TEST_F(SpriteDrawTest, AnimatedSheetDrawsTheCellOfItsFrame) {
    auto sheet = SolidImage(400, 200, 0xFFFFFFFF);
    sprites_.DrawAnimatedSprite(sheet.get(), 0.5f, 0.5f, 0, 0,
                                SPRITE_FIXED_PHASE | SPRITE_NATURAL_SIZE, 4, 2, 0.5f, kNoTint);
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_TRUE(RectNear(Calls()[0].src, Rect(0, 100, 100, 100)));
    EXPECT_TRUE(RectNear(Calls()[0].dest, Rect(350, 250, 100, 100)));

    // Timed by the tick count: 1 cycle a second over 8 frames, at 2.375 s -> frame 3.
    platform_.SetTime(2375);
    sprites_.DrawAnimatedSprite(sheet.get(), 0.5f, 0.5f, 0.125f, 0.1f, 0, 4, 2, 1.0f, kNoTint);
    ASSERT_EQ(Calls().size(), 2u);
    EXPECT_TRUE(RectNear(Calls()[1].src, Rect(300, 0, 100, 100)));
    EXPECT_TRUE(RectNear(Calls()[1].dest, Rect(350, 270, 100, 60)));

    // A sheet without cells draws nothing.
    sprites_.DrawAnimatedSprite(sheet.get(), 0.5f, 0.5f, 0.1f, 0.1f, SPRITE_FIXED_PHASE, 0, 2,
                                0.5f, kNoTint);
    EXPECT_EQ(Calls().size(), 2u);
}

TEST_F(SpriteDrawTest, ProgressBarFills) {
    auto back = SolidImage(200, 20, 0xFF0000FF);
    auto fill = SolidImage(200, 20, 0xFFFF0000);
    struct Case { int percent; int flags; int fillCalls; Rect fillDest; Rect fillSrc; };
    const Case cases[] = {
        {0, BAR_FILL_RIGHT | BAR_NATURAL_SIZE, 0, {}, {}},
        {100, BAR_FILL_RIGHT | BAR_NATURAL_SIZE, 1, {300, 290, 200, 20}, {0, 0, 200, 20}},
        {50, BAR_FILL_RIGHT | BAR_NATURAL_SIZE, 1, {300, 290, 100, 20}, {0, 0, 100, 20}},
        {150, BAR_FILL_RIGHT | BAR_NATURAL_SIZE, 1, {300, 290, 200, 20}, {0, 0, 200, 20}},
        {25, BAR_FILL_UP | BAR_NATURAL_SIZE, 1, {300, 305, 200, 5}, {0, 15, 200, 5}},
    };
    for (const Case& c : cases) {
        screen_.calls.clear();
        sprites_.DrawProgressBar(back.get(), fill.get(), 0.5f, 0.5f, 0.9f, 0.9f, c.percent,
                                 c.flags);
        ASSERT_EQ(Calls().size(), static_cast<size_t>(1 + c.fillCalls)) << c.percent;
        EXPECT_EQ(Calls()[0].source, back.get());
        EXPECT_TRUE(RectNear(Calls()[0].dest, Rect(300, 290, 200, 20)));
        if (c.fillCalls == 1) {
            EXPECT_EQ(Calls()[1].source, fill.get());
            EXPECT_TRUE(RectNear(Calls()[1].dest, c.fillDest)) << c.percent;
            EXPECT_TRUE(RectNear(Calls()[1].src, c.fillSrc)) << c.percent;
        }
    }
    // Stretched (no flag 4), both directions at once: background then two fills.
    screen_.calls.clear();
    sprites_.DrawProgressBar(back.get(), fill.get(), 0.5f, 0.5f, 0.5f, 0.1f, 100,
                             BAR_FILL_UP | BAR_FILL_RIGHT);
    ASSERT_EQ(Calls().size(), 3u);
    EXPECT_TRUE(RectNear(Calls()[0].dest, Rect(200, 270, 400, 60)));
    EXPECT_TRUE(RectNear(Calls()[1].dest, Rect(200, 270, 400, 60)));
    EXPECT_TRUE(RectNear(Calls()[2].dest, Rect(200, 270, 400, 60)));
}

TEST_F(SpriteDrawTest, DigitsArePlacedCellByCellAroundX) {
    auto strip = SolidImage(200, 30, 0xFFFFFFFF);   // ten cells of 20 x 30
    sprites_.DrawDigits(strip.get(), 0.5f, 0.5f, 1.0f, kNoTint, "47", 1.0f);
    ASSERT_EQ(Calls().size(), 2u);
    // One cell apart, centred on x = 400.
    EXPECT_TRUE(RectNear(Calls()[0].dest, Rect(380, 285, 20, 30)));
    EXPECT_TRUE(RectNear(Calls()[0].src, Rect(80, 0, 20, 30)));
    EXPECT_TRUE(RectNear(Calls()[1].dest, Rect(400, 285, 20, 30)));
    EXPECT_TRUE(RectNear(Calls()[1].src, Rect(140, 0, 20, 30)));

    // A character that is no digit keeps its place; scale and spacing apply to the step.
    screen_.calls.clear();
    sprites_.DrawDigits(strip.get(), 0.5f, 0.5f, 0.5f, kNoTint, "1x9", 2.0f);
    ASSERT_EQ(Calls().size(), 2u);
    EXPECT_TRUE(RectNear(Calls()[0].dest, Rect(340, 270, 40, 60)));   // offset -40 px
    EXPECT_TRUE(RectNear(Calls()[1].dest, Rect(380, 270, 40, 60)));   // two half steps later
    EXPECT_TRUE(RectNear(Calls()[1].src, Rect(180, 0, 20, 30)));
    sprites_.DrawDigits(nullptr, 0.5f, 0.5f, 1.0f, kNoTint, "12", 1.0f);
    sprites_.DrawDigits(strip.get(), 0.5f, 0.5f, 1.0f, kNoTint, "", 1.0f);
    EXPECT_EQ(Calls().size(), 2u);
}

TEST(SpriteAdvanceTest, AdvanceClampedStaysWithinZeroAndOne) {
    float v = 0.5f;
    CSpriteManager::AdvanceClamped(&v, 2.0f, 0.1f);
    EXPECT_FLOAT_EQ(v, 0.7f);
    CSpriteManager::AdvanceClamped(&v, 2.0f, 1.0f);
    EXPECT_EQ(v, 1.0f);
    CSpriteManager::AdvanceClamped(&v, -5.0f, 1.0f);
    EXPECT_EQ(v, 0.0f);
    CSpriteManager::AdvanceClamped(nullptr, 1.0f, 1.0f);
}

// The whole path into real pixels: a sprite covering the screen paints every pixel.
TEST(SpritePixelTest, FullScreenSpritePaintsTheScreen) {
    Orvane::MemoryImage screen(800, 600);
    screen.SetNoAlpha(true);
    screen.Clear(0xFF000000);
    Orvane::Graphics g(&screen);
    CSpriteManager sprites;
    sprites.SetAccelerationQuery([] { return false; });
    sprites.SetDrawContext(1, &g);
    auto pic = SolidImage(10, 10, 0xFF00FF00);
    sprites.DrawSprite(pic.get(), 0.5f, 0.5f, 1, 1, 0, 0, 1, 1, kNoTint, SPRITE_NORMAL, 0);
    EXPECT_EQ(screen.GetPixel(0, 0), 0xFF00FF00u);
    EXPECT_EQ(screen.GetPixel(799, 599), 0xFF00FF00u);
    // Dimmed: 0.8 of the colour at alpha 205 over black.
    screen.Clear(0xFF000000);
    sprites.DrawSprite(pic.get(), 0.5f, 0.5f, 1, 1, 0, 0, 1, 1, kNoTint, SPRITE_DIM, 0);
    const uint32_t p = screen.GetPixel(400, 300);
    EXPECT_EQ((p >> 16) & 0xFF, 0u);
    EXPECT_NEAR(static_cast<int>((p >> 8) & 0xFF), 204 * 205 / 255, 4);
}

}  // namespace
