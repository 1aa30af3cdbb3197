// The effect list: timing by the clock (start actions, progress, removal), the limit of 150,
// particle bursts, and how each kind is drawn.
#include "SpriteTestSupport.h"

#include "engine/effects/Effect2d.h"
#include "framework/core/Random.h"

#include <cmath>

namespace {

using SpriteTest::DrawCall;
using SpriteTest::RectNear;
using SpriteTest::SpriteFixture;
using Orvane::Rect;

class EffectTest : public SpriteFixture {
protected:
    EffectTest() {
        shop_.Add("Graphics\\digits.png", 200, 30);   // ten 20 x 30 cells
        shop_.Add("Graphics\\star.png", 40, 40);
        effects_ = std::make_unique<CEffect2d>(sprites_);
    }
    // Moves the clock on by ms and updates the list.
    void Step(uint32_t ms) {
        platform_.AdvanceTime(ms);
        effects_->Update();
    }
    const std::vector<DrawCall>& Calls() const { return screen_.calls; }
    Orvane::Image* Star() { return sprites_.GetTexture("Graphics\\star.png"); }

    std::unique_ptr<CEffect2d> effects_;
};

TEST(EffectColourTest, WhiteAtOpacityWrapsFullOpacityToZero) {
    EXPECT_EQ(WhiteAtOpacity(1.0f), 0x00FFFFFFu);    // 256 << 24 wraps: read as opaque
    EXPECT_EQ(WhiteAtOpacity(0.5f), 0x80FFFFFFu);    // (int)127.5 + 1 = 128
    EXPECT_EQ(WhiteAtOpacity(0.0f), 0x01FFFFFFu);
    EXPECT_EQ(WhiteAtOpacity(0.001f), 0x01FFFFFFu);
    EXPECT_EQ(WhiteAtOpacity(-3.0f), 0x01FFFFFFu);
    EXPECT_EQ(WhiteAtOpacity(NAN), 0x01FFFFFFu);
}

TEST_F(EffectTest, FloatAnimationReachesItsEndExactlyAndLeavesOneUpdateLater) {
    float fade = 7.0f;
    ASSERT_TRUE(effects_->AddFloatAnimation(0.0f, 0.5f, 0.0f, 1.0f, &fade));
    EXPECT_EQ(fade, 7.0f);              // nothing happens before the first update
    effects_->Update();                 // start action only
    EXPECT_EQ(fade, 0.0f);
    EXPECT_EQ(effects_->Effect(0).t, 0.0f);
    Step(200);
    EXPECT_NEAR(fade, 0.4f, 1e-4f);
    Step(300);
    EXPECT_EQ(fade, 1.0f);              // exactly the end value
    EXPECT_FALSE(effects_->IsEmpty());  // stays one update at t = 1
    EXPECT_EQ(effects_->Effect(0).t, 1.0f);
    Step(10);
    EXPECT_TRUE(effects_->IsEmpty());
    EXPECT_EQ(fade, 1.0f);
}

TEST_F(EffectTest, TimedAdditionAddsOnceAtItsStartTime) {
    int32_t score = 100;
    ASSERT_TRUE(effects_->AddTimedAddition(0.3f, 750, &score));
    Step(299);
    EXPECT_EQ(score, 100);
    Step(1);
    EXPECT_EQ(score, 850);
    int updates = 0;
    while (!effects_->IsEmpty() && updates < 100) {
        Step(50);
        ++updates;
    }
    EXPECT_EQ(score, 850);            // it lasted a second but added once
    EXPECT_TRUE(effects_->IsEmpty());
    EXPECT_GE(updates, 20);

    // Sums saturate instead of wrapping.
    int32_t big = 2147483000;
    effects_->AddTimedAddition(0.0f, 1000, &big);
    effects_->Update();
    EXPECT_EQ(big, 2147483647);
}

TEST_F(EffectTest, DelayedEffectIsNeitherDrawnNorStartedEarly) {
    float value = -1.0f;
    effects_->AddRisingText(0, 1.0f, 1.0f, 0.5f, 0.5f, "12", true);
    effects_->AddFloatAnimation(1.0f, 1.0f, 0.25f, 0.75f, &value);
    for (int i = 0; i < 9; ++i) {
        Step(111);   // up to 0.999 s
        effects_->Draw(0);
    }
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(value, -1.0f);
    EXPECT_TRUE(effects_->Effect(0).pending);

    Step(1);        // 1.000 s: both start
    EXPECT_EQ(value, 0.25f);
    effects_->Draw(0);
    ASSERT_EQ(Calls().size(), 2u);   // two digits
    // First drawn frame at t = 0: opaque white.
    EXPECT_EQ(Calls()[0].color, Orvane::Color::White());
    EXPECT_EQ(Calls()[0].source, sprites_.GetTexture("Graphics\\digits.png"));
}

TEST_F(EffectTest, ZeroDurationNeverStartsAndStaysUntilClear) {
    float value = 3.0f;
    effects_->AddFloatAnimation(0.0f, 0.0f, 0.0f, 1.0f, &value);
    for (int i = 0; i < 5; ++i) Step(1000);
    EXPECT_EQ(value, 3.0f);
    EXPECT_FALSE(effects_->IsEmpty());
    effects_->Clear();
    EXPECT_TRUE(effects_->IsEmpty());
}

TEST_F(EffectTest, TheListHoldsAtMost150Effects) {
    int32_t n = 0;
    for (int i = 0; i < CEffect2d::kMaxEffects; ++i) {
        ASSERT_TRUE(effects_->AddTimedAddition(0.5f, i, &n));
    }
    EXPECT_FALSE(effects_->AddRisingText(0, 0.0f, 1.0f, 0.5f, 0.5f, "lost", false));
    EXPECT_EQ(effects_->Count(), 150);
    EXPECT_EQ(effects_->Effect(149).kind, EFFECT_TIMED_ADDITION);
    EXPECT_EQ(effects_->Effect(149).amount, 149);
    // Room again once effects leave.
    Step(500);
    Step(1000);
    Step(1);
    EXPECT_TRUE(effects_->IsEmpty());
    EXPECT_EQ(n, 149 * 150 / 2);
    EXPECT_TRUE(effects_->AddTimedSound(0.0f, "again"));
}

TEST_F(EffectTest, TimedSoundPlaysOnceThroughThePlayer) {
    std::vector<std::string> played;
    effects_->AddTimedSound(0.2f, "level_complete");
    effects_->Update();
    Step(300);   // starts without a player: nothing to play, nothing breaks
    effects_->SetSoundPlayer([&](const std::string& name) {
        played.push_back(name);
        return true;
    });
    effects_->AddTimedSound(0.2f, "take_shape");
    for (int i = 0; i < 30; ++i) Step(100);
    EXPECT_EQ(played, std::vector<std::string>{"take_shape"});
    EXPECT_TRUE(effects_->IsEmpty());
}

// The program's own list plays timed sounds as sound events of the audio manager (an unknown
// event is reported in the log by the audio manager).
TEST_F(EffectTest, ProgramListPlaysSoundEventsThroughTheAudioManager) {
    CEffect2d& list = EffectList();
    list.Clear();
    list.AddTimedSound(0.0f, "no_such_event");
    list.Update();
    EXPECT_EQ(Count(Log(), "no_such_event"), 1);
    list.Clear();
}

TEST_F(EffectTest, RingBurstSpreadsItsParticlesEvenly) {
    effects_->SetDensity(false);
    EXPECT_EQ(effects_->Density(), 5);
    Orvane::SeedRandom(1234);
    ASSERT_TRUE(effects_->AddParticleBurst(0, 0.0f, 1.0f, 0.5f, 0.5f, 0.05f, 0.2f, Star(), true));
    const EffectRecord& burst = effects_->Effect(0);
    ASSERT_EQ(burst.particleCount, 5);
    Orvane::Random15 same(1234);
    for (int p = 0; p < 5; ++p) {
        EXPECT_NEAR(burst.particles[p].angle, p * 72.0f * 3.14159265f / 180.0f, 1e-5f) << p;
        EXPECT_EQ(burst.particles[p].speed, 1.0f);
        // Two draws per particle: the spin, and one unused.
        EXPECT_FLOAT_EQ(burst.particles[p].spin, same.Next() / 32767.0f * 2.0f - 1.0f);
        same.Next();
    }
    EXPECT_EQ(Orvane::Rand15(), same.Next());

    // A scattered burst draws its speeds and angles from the generator too.
    effects_->SetDensity(true);
    effects_->AddParticleBurst(0, 0.0f, 1.0f, 0.5f, 0.5f, 0.05f, 0.2f, Star(), false);
    const EffectRecord& scattered = effects_->Effect(1);
    ASSERT_EQ(scattered.particleCount, 10);
    for (const EffectParticle& p : scattered.particles) {
        EXPECT_GE(p.speed, 0.5f);
        EXPECT_LE(p.speed, 1.0f);
        EXPECT_GE(p.spin, -1.0f);
        EXPECT_LE(p.spin, 1.0f);
    }

    // Drawn at t = 0.5 at density 10: the ring still shows its own 5 particles, the scattered
    // burst 10; ring particle 0 has moved t x radius = 0.1 of the width to the right.
    effects_->Update();
    Step(500);
    effects_->Draw(0);
    ASSERT_EQ(Calls().size(), 15u);
    // Size 0.75 x 0.05 = 30 px wide, 30 px high (x 4/3 of 0.0375 of the height).
    EXPECT_TRUE(RectNear(Calls()[0].dest, Rect(465, 285, 30, 30)));
}

TEST_F(EffectTest, RisingTextFadesOutAsItRises) {
    effects_->AddRisingText(2, 0.0f, 1.0f, 0.5f, 0.5f, "7", true);
    effects_->Update();
    Step(999);
    effects_->Draw(1);   // another layer: nothing
    EXPECT_TRUE(Calls().empty());
    effects_->Draw(2);
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].color.a, 1);   // alpha byte 1 just before the end
    // Risen by 0.15 x 0.999 of the height: centre at 300 - 89.9.
    EXPECT_TRUE(RectNear(Calls()[0].dest, Rect(390, 195, 20, 30)));
}

TEST_F(EffectTest, TextKindsMoveAsDescribed) {
    // Digits show where each text kind is: flying, sliding (text), title (text), fading.
    shop_.Add("English\\font01.png", 320, 240);
    texts_.texts = {{"SymbolList", "AB"}, {"Line01_Width", "16,16"}};
    sprites_.InitSymbolFont("English\\font01.png");

    effects_->AddFlyingText(0, 0.0f, 1.0f, 0.25f, 0.25f, 0.75f, 0.75f, "5", true);
    effects_->AddSlidingText(0, 0.0f, 1.0f, 0.5f, 0.5f, "A", 0.1f);
    effects_->AddTitleText(0, 0.0f, 1.0f, 0.5f, 0.5f, "A");
    effects_->AddFadingText(0, 0.0f, 1.0f, 0.5f, 0.5f, "3", true);
    effects_->Update();
    Step(500);
    effects_->Draw(0);
    ASSERT_EQ(Calls().size(), 4u);
    // Flying, t = 0.5: x eases in (1/8 of the way), y halfway; scale 0.75 of a 20 x 30 cell.
    EXPECT_TRUE(RectNear(Calls()[0].dest, Rect(242, 288, 15, 22)));
    EXPECT_EQ(Calls()[0].color, Orvane::Color::White());
    // Sliding, t = 0.5: at rest on y + offset, natural size (20 x 30 cell inset to 18 x 27).
    EXPECT_TRUE(RectNear(Calls()[1].dest, Rect(390, 346, 18, 27)));
    // Title, t = 0.5: u = -1/6 so y - 1/7776, height 0.2 (120 px).
    EXPECT_TRUE(RectNear(Calls()[2].dest, Rect(360, 240, 80, 120)));
    // Fading, t = 0.5: fully visible.
    EXPECT_EQ(Calls()[3].color, Orvane::Color::White());

    // At t = 0.95 the sliding text has left below the screen; the title text, in its last
    // tenth, has grown and fades; so does the fading figure.
    screen_.calls.clear();
    Step(450);
    effects_->Draw(0);
    ASSERT_EQ(Calls().size(), 3u);
    EXPECT_TRUE(RectNear(Calls()[1].dest, Rect(320, 180, 160, 240), 2));   // height 0.4
    EXPECT_NEAR(Calls()[1].color.a, 128, 2);
    EXPECT_NEAR(Calls()[2].color.a, static_cast<int>((1.0f - 0.1f / 0.15f) * 255) + 1, 2);
}

TEST_F(EffectTest, PictureKindsGrowShrinkAndFollow) {
    float px = 0.25f, py = 0.75f;
    effects_->AddGrowingImage(0, 0.0f, 1.0f, 0.5f, 0.5f, 0.2f, 0.2f, Star());
    effects_->AddShrinkingImage(0, 0.0f, 1.0f, 0.5f, 0.5f, 0.2f, 0.2f, Star());
    effects_->AddFollowingImage(0, 0.0f, 1.0f, &px, &py, Star());
    effects_->AddAnimatedSprite(0, 0.0f, 1.0f, 0.5f, 0.5f, Star(), 2, 2, 0.1f);
    effects_->Update();
    Step(250);
    px = 0.5f;   // the followed point moved
    effects_->Draw(0);
    ASSERT_EQ(Calls().size(), 4u);
    EXPECT_TRUE(RectNear(Calls()[0].dest, Rect(380, 285, 40, 30)));   // a quarter of 160 x 120
    EXPECT_TRUE(RectNear(Calls()[1].dest, Rect(340, 255, 120, 90)));  // three quarters
    // Following: natural size, additive, opacity 0.5 - t / 2 = 0.375.
    EXPECT_TRUE(RectNear(Calls()[2].dest, Rect(380, 430, 40, 40)));
    EXPECT_EQ(Calls()[2].drawMode, Orvane::kDrawModeAdditive);
    EXPECT_EQ(Calls()[2].color.a, static_cast<int>(0.375f * 255) + 1);
    // Animated sheet: phase t = 0.25 of 4 frames is frame 1; it drifted 0.1 x 0.25 s down.
    EXPECT_TRUE(RectNear(Calls()[3].src, Rect(20, 0, 20, 20)));
    EXPECT_TRUE(RectNear(Calls()[3].dest, Rect(390, 305, 20, 20)));
}

TEST_F(EffectTest, ClearDropsEverythingAndRestartsTheClock) {
    float v = 0.0f;
    effects_->AddFloatAnimation(0.0f, 1.0f, 0.0f, 1.0f, &v);
    effects_->Update();
    Step(100);
    effects_->Clear();
    EXPECT_TRUE(effects_->IsEmpty());
    // A long pause before the clear does not leak into the next effect's timing.
    platform_.AdvanceTime(60000);
    effects_->Clear();
    effects_->AddFloatAnimation(0.0f, 1.0f, 0.0f, 1.0f, &v);
    effects_->Update();
    Step(100);
    EXPECT_NEAR(v, 0.1f, 1e-4f);
}

}  // namespace
