// The frame loop's timing rules on the headless platform with the manual clock.
#include "AppTestHarness.h"

namespace AppTesting {
namespace {

using LoopTiming = AppFixture;

// Runs loop iterations until the loop sleeps; returns the updates that ran before.
int UpdatesUntilSleep(TestApp& app, HeadlessPlatform& platform) {
    const uint64_t slept = platform.TotalSleptMs();
    const int before = app.mUpdateCount;
    bool updated = false;
    for (int i = 0; i < 100000 && platform.TotalSleptMs() == slept; ++i) app.LoopStep(&updated);
    return app.mUpdateCount - before;
}

TEST_F(LoopTiming, RunsOneHundredStepsASecond) {
    TestApp app;
    CountingWidget widget;
    StartApp(app, widget);
    RunFor(app, 200);
    const int start = app.mUpdateCount;
    RunFor(app, 3000);
    EXPECT_NEAR(app.mUpdateCount - start, 300, 2);
    EXPECT_NEAR(widget.updates, app.mUpdateCount, 1);
}

TEST_F(LoopTiming, AStallOwesAtMostTwoHundredMilliseconds) {
    TestApp app;
    CountingWidget widget;
    StartApp(app, widget);
    RunFor(app, 500);
    UpdatesUntilSleep(app, platform_);

    platform_.AdvanceTime(5000);   // the window was dragged for five seconds
    const int burst = UpdatesUntilSleep(app, platform_);
    EXPECT_LE(burst, 20);
    EXPECT_GE(burst, 19);
    EXPECT_LE(app.mUpdateTimeAccumulator, 200.0);
}

TEST_F(LoopTiming, DroppedDebtWithRelaxStaysDroppedForASecond) {
    TestApp app;
    CountingWidget widget;
    StartApp(app, widget);
    RunFor(app, 500);
    UpdatesUntilSleep(app, platform_);

    platform_.AdvanceTime(3000);
    app.DropTimeDebt(true);
    EXPECT_EQ(app.mUpdateTimeAccumulator, 0.0);

    // Within the relaxed second every stall costs one update and leaves no debt behind.
    for (int stall = 0; stall < 4; ++stall) {
        platform_.AdvanceTime(150);
        EXPECT_EQ(UpdatesUntilSleep(app, platform_), 1) << "stall " << stall;
        EXPECT_EQ(app.mUpdateTimeAccumulator, 0.0);
    }
    // Once the second is over, debt is owed again (capped).
    RunFor(app, 600);
    UpdatesUntilSleep(app, platform_);
    platform_.AdvanceTime(5000);
    EXPECT_GE(UpdatesUntilSleep(app, platform_), 19);
}

TEST_F(LoopTiming, UpdateMultiplierScalesAndZeroFreezesLogic) {
    TestApp app;
    CountingWidget widget;
    StartApp(app, widget);
    RunFor(app, 100);

    int start = app.mUpdateCount;
    RunFor(app, 2000);
    const int normal = app.mUpdateCount - start;

    app.mUpdateMultiplier = 2.0;
    start = app.mUpdateCount;
    RunFor(app, 2000);
    EXPECT_NEAR(app.mUpdateCount - start, 2 * normal, 4);

    // Frozen: no logic, but messages are handled and the screen is still presented.
    app.mUpdateMultiplier = 0.0;
    start = app.mUpdateCount;
    const int presents = app.Headless()->PresentCount();
    const uint64_t slept = platform_.TotalSleptMs();
    platform_.QueueKeyDown('K');
    RunFor(app, 3000);
    EXPECT_EQ(app.mUpdateCount, start);
    ASSERT_EQ(widget.keys.size(), 1u);
    EXPECT_EQ(widget.keys[0], 'K');
    EXPECT_GE(app.Headless()->PresentCount() - presents, 2);
    // ... and it sleeps instead of spinning.
    EXPECT_GE(platform_.TotalSleptMs() - slept, 2900u);
}

// A machine that has been up for 25 days: the clock reads past 2^31 ms when the loop starts,
// and frames are drawn and presented from the first update on.
TEST_F(LoopTiming, FramesArePresentedWhenTheClockReadsPastTwoToTheThirtyFirst) {
    struct ShortRun : TestApp {
        void RunOneUpdate() override {
            TestApp::RunOneUpdate();
            if (mUpdateCount >= 200) RequestShutdown();
        }
    };
    for (const uint32_t startMs : {2200000000u, 0xFFFFFF00u}) {
        SCOPED_TRACE(startMs);
        platform_.SetTime(startMs);
        ShortRun app;
        CountingWidget widget;
        widget.dirtyEveryUpdate = true;
        widget.Resize(0, 0, 800, 600);
        app.Init();
        app.mLoaded = true;
        app.GetWidgetManager()->AddWidget(&widget);
        testing::internal::CaptureStderr();
        app.Start();
        testing::internal::GetCapturedStderr();
        EXPECT_GE(app.Headless()->PresentCount(), 150);
        EXPECT_EQ(app.Headless()->PresentedPixel(400, 300), 0xFF0A141Eu);
        app.GetWidgetManager()->RemoveWidget(&widget);
    }
}

// With vertical-sync updates in a window the frame is 1000/60 ms, a fraction the clock cannot
// show: the loop sleeps up to the next whole millisecond instead of spinning, so the manual
// clock moves by itself, and each frame costs a handful of loop steps.
TEST_F(LoopTiming, VerticalSyncUpdatesInAWindowSleepUntilTheFrameIsDue) {
    TestApp app;
    CountingWidget widget;
    app.mVSyncUpdates = true;
    StartApp(app, widget);
    widget.dirtyEveryUpdate = true;

    const uint32_t start = platform_.TimeMs();
    const int updatesBefore = app.mUpdateCount;
    bool updated = false;
    int steps = 0;
    while (platform_.TimeMs() - start < 2000 && steps < 100000) {
        app.LoopStep(&updated);
        ++steps;
    }
    ASSERT_GE(platform_.TimeMs() - start, 2000u) << "the loop stopped moving the clock";
    EXPECT_LT(steps, 2000 * 2) << "loop steps in two seconds";
    // Each 60 Hz update cycle runs one or two whole updates and a fraction: 100 a second.
    EXPECT_NEAR(app.mUpdateCount - updatesBefore, 200, 6);
    EXPECT_NEAR(static_cast<double>(widget.fractions.size()), 120.0, 4.0);
    EXPECT_GE(widget.draws, 110);
}

TEST_F(LoopTiming, IdleScreenIsPresentedOnceASecond) {
    TestApp app;
    CountingWidget widget;
    StartApp(app, widget);
    RunFor(app, 1500);   // the first frames draw the new widget

    const int presents = app.Headless()->PresentCount();
    const int draws = widget.draws;
    RunFor(app, 5000);
    EXPECT_EQ(widget.draws, draws);
    EXPECT_NEAR(app.Headless()->PresentCount() - presents, 5, 1);
    // Idle time is slept, not spun.
    EXPECT_GE(platform_.TotalSleptMs(), 4000u);
}

TEST_F(LoopTiming, DirtyScreenIsDrawnAfterUpdatesAndPresented) {
    TestApp app;
    CountingWidget widget;
    widget.dirtyEveryUpdate = true;
    StartApp(app, widget);
    RunFor(app, 1000);
    // One draw after each caught-up update: about a hundred frames a second.
    EXPECT_GE(widget.draws, 90);
    EXPECT_EQ(app.Headless()->PresentCount(), app.mDrawCount);
    EXPECT_EQ(app.Headless()->PresentedPixel(400, 300), 0xFF0A141Eu);
}

TEST_F(LoopTiming, VerticalSyncModeRunsFractionalUpdatesAndDetectsBrokenSync) {
    TestApp app;
    CountingWidget widget;
    app.mVSyncUpdates = true;
    platform_.SetDisplayRefreshRate(50);
    StartApp(app, widget);
    app.Headless()->SetPhysicallyFullScreen(true);
    app.mIsPhysicallyWindowed = false;
    widget.dirtyEveryUpdate = true;

    RunFor(app, 2000);
    ASSERT_FALSE(widget.fractions.empty());
    EXPECT_FLOAT_EQ(widget.fractions.back(), 2.0f);   // 100 steps a second over 50 frames
    EXPECT_NEAR(app.mUpdateCount, 200, 30);

    // Presents that never wait for the display: a hundred updates keep arriving in far less
    // than 800 ms, so the detector gives up on vertical sync and the loop paces itself.
    EXPECT_FALSE(app.mVSyncBroken);
    app.Headless()->SetSimulateVSync(false);
    RunFor(app, 3000);
    EXPECT_TRUE(app.mVSyncBroken);
    const int start = app.mUpdateCount;
    RunFor(app, 1000);
    EXPECT_NEAR(app.mUpdateCount - start, 100, 20);
}

TEST_F(LoopTiming, WidgetsDeletedLaterSurviveTheUpdateThatAskedForIt) {
    struct SelfDeleting : CountingWidget {
        TestApp* app = nullptr;
        bool* deleted = nullptr;
        ~SelfDeleting() override { *deleted = true; }
        void Update() override {
            CountingWidget::Update();
            app->DeleteWidgetLater(this);
            app->DeleteWidgetLater(this);   // asking twice deletes once
            EXPECT_FALSE(*deleted);
        }
    };
    TestApp app;
    CountingWidget widget;
    StartApp(app, widget);
    bool deleted = false;
    auto* doomed = new SelfDeleting;
    doomed->app = &app;
    doomed->deleted = &deleted;
    app.GetWidgetManager()->AddWidget(doomed);

    RunFor(app, 50);
    EXPECT_TRUE(deleted);
    EXPECT_FALSE(app.GetWidgetManager()->HasWidget(doomed));
}

}  // namespace
}  // namespace AppTesting
