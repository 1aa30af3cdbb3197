// The deferred message queue, input routing, focus and the mute on focus loss.
#include "AppTestHarness.h"

#include "framework/platform/VirtualKeys.h"

namespace AppTesting {
namespace {

using LoopMessages = AppFixture;

WindowMessage Record(uint32_t message, uint32_t wParam = 0, uint32_t lParam = 0) {
    WindowMessage m;
    m.window = HeadlessPlatform::kWindowId;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    return m;
}

std::vector<uint32_t> QueuedCodes(const TestApp& app) {
    std::vector<uint32_t> codes;
    for (const WindowMessage& m : app.DeferredQueue()) codes.push_back(m.message);
    return codes;
}

TEST_F(LoopMessages, QueuingRulesDropRepeatsAndEverythingAfterAClose) {
    struct Case {
        const char* name;
        std::vector<uint32_t> arriving;
        std::vector<uint32_t> queued;
    };
    const std::vector<Case> cases = {
        {"timer after timer", {WM_TIMER, WM_TIMER, WM_KEYDOWN, WM_TIMER},
         {WM_TIMER, WM_KEYDOWN, WM_TIMER}},
        {"one colour change", {WM_SYSCOLORCHANGE, WM_KEYDOWN, WM_SYSCOLORCHANGE},
         {WM_SYSCOLORCHANGE, WM_KEYDOWN}},
        {"one display change", {WM_DISPLAYCHANGE, WM_DISPLAYCHANGE}, {WM_DISPLAYCHANGE}},
        {"nothing after close", {WM_KEYDOWN, WM_CLOSE, WM_KEYDOWN, WM_MOUSEMOVE, WM_CLOSE},
         {WM_KEYDOWN, WM_CLOSE}},
        {"not queued", {WM_PAINT, WM_SETCURSOR, WM_ENABLE}, {}},
    };
    for (const Case& c : cases) {
        TestApp app;
        for (uint32_t code : c.arriving) app.WindowProc(Record(code, code == WM_ENABLE ? 1 : 0));
        EXPECT_EQ(QueuedCodes(app), c.queued) << c.name;
    }
}

TEST_F(LoopMessages, OnlyAltF4GoesOnToTheWindowSystem) {
    TestApp app;
    EXPECT_TRUE(app.WindowProc(Record(WM_SYSKEYDOWN, 'X')));
    EXPECT_TRUE(app.WindowProc(Record(WM_SYSKEYDOWN, VK_SPACE)));
    EXPECT_FALSE(app.WindowProc(Record(WM_SYSKEYDOWN, VK_F4)));
}

TEST_F(LoopMessages, CloseEndsTheLoopAndLaterInputIsDropped) {
    TestApp app;
    CountingWidget widget;
    StartApp(app, widget);
    platform_.QueueKeyDown('A');
    platform_.QueueClose();
    platform_.QueueKeyDown('B');
    platform_.QueueChar('c');

    bool updated = false;
    int steps = 0;
    while (app.LoopStep(&updated) && ++steps < 1000) {
    }
    EXPECT_TRUE(app.mShutdown);
    EXPECT_TRUE(app.mManualShutdown);
    EXPECT_EQ(widget.keys, std::vector<int>{'A'});
    EXPECT_TRUE(widget.chars.empty());
    EXPECT_EQ(app.Music()->stops_, 1);
}

TEST_F(LoopMessages, KeysCharactersAndMouseReachTheWidgets) {
    TestApp app;
    CountingWidget widget;
    StartApp(app, widget);
    platform_.QueueKeyDown(VK_ESCAPE);
    platform_.QueueChar(0xE9);
    platform_.QueueMouseDown(MK_LBUTTON, 120, 340);
    platform_.QueueMouseUp(MK_LBUTTON, 120, 340);
    platform_.QueueMouseDown(MK_RBUTTON, 10, 20, true);
    platform_.QueueMouseUp(MK_RBUTTON, 10, 20);
    platform_.QueueMouseDown(MK_MBUTTON, 5, 6);
    RunFor(app, 100);

    EXPECT_EQ(widget.keys, std::vector<int>{VK_ESCAPE});
    ASSERT_EQ(widget.chars.size(), 1u);
    EXPECT_EQ(static_cast<uint8_t>(widget.chars[0]), 0xE9);
    ASSERT_EQ(widget.clicks.size(), 3u);
    EXPECT_EQ(widget.clicks[0].x, 120);
    EXPECT_EQ(widget.clicks[0].y, 340);
    EXPECT_EQ(widget.clicks[0].count, 1);
    EXPECT_EQ(widget.clicks[1].count, -2);
    EXPECT_EQ(widget.clicks[2].count, 3);
    EXPECT_TRUE(platform_.MouseCaptured());   // the middle button is still held
}

TEST_F(LoopMessages, MinimisingMutesAndRestoringUnmutesAndRedraws) {
    TestApp app;
    CountingWidget widget;
    StartApp(app, widget);
    RunFor(app, 100);
    ASSERT_FALSE(app.IsMuted());
    EXPECT_DOUBLE_EQ(app.Music()->volume_, 0.85);

    platform_.QueueSize(SIZE_MINIMIZED);
    RunFor(app, 100);
    EXPECT_TRUE(app.IsMuted());
    EXPECT_DOUBLE_EQ(app.Music()->volume_, 0.0);
    EXPECT_FALSE(app.mHasFocus);
    EXPECT_EQ(widget.lostFocus, 1);
    const int updates = widget.updates;
    RunFor(app, 200);
    EXPECT_EQ(widget.updates, updates);   // no widget updates while minimised

    const int draws = widget.draws;
    platform_.QueueSize(SIZE_RESTORED);
    RunFor(app, 100);
    EXPECT_FALSE(app.IsMuted());
    EXPECT_DOUBLE_EQ(app.Music()->volume_, 0.85);
    EXPECT_TRUE(app.mHasFocus);
    EXPECT_GT(widget.draws, draws);   // everything redrawn
}

TEST_F(LoopMessages, AUserMuteSurvivesMinimiseAndRestore) {
    TestApp app;
    CountingWidget widget;
    StartApp(app, widget);
    app.Mute(false);
    platform_.QueueSize(SIZE_MINIMIZED);
    RunFor(app, 50);
    platform_.QueueSize(SIZE_RESTORED);
    RunFor(app, 50);
    EXPECT_TRUE(app.IsMuted());
    EXPECT_DOUBLE_EQ(app.Music()->volume_, 0.0);
    app.Unmute(false);
    EXPECT_FALSE(app.IsMuted());
    EXPECT_DOUBLE_EQ(app.Music()->volume_, 0.85);
}

TEST_F(LoopMessages, LosingActivationReleasesHeldButtonsAndMutes) {
    TestApp app;
    CountingWidget widget;
    StartApp(app, widget);
    platform_.QueueMouseDown(MK_LBUTTON, 50, 50);
    platform_.QueueActivate(false);
    RunFor(app, 50);
    EXPECT_FALSE(app.mHasFocus);
    EXPECT_TRUE(app.IsMuted());
    EXPECT_FALSE(platform_.MouseCaptured());
    EXPECT_EQ(app.GetWidgetManager()->DownButtons(), 0);

    const int gained = widget.gotFocus;
    platform_.QueueActivate(true);
    RunFor(app, 50);
    EXPECT_TRUE(app.mHasFocus);
    EXPECT_FALSE(app.IsMuted());
    EXPECT_EQ(widget.gotFocus, gained + 1);
}

TEST_F(LoopMessages, AltEnterTogglesTheScreenModeUnlessForced) {
    TestApp app;
    CountingWidget widget;
    StartApp(app, widget);
    ASSERT_TRUE(app.mIsWindowed);

    platform_.QueueKeyDown(VK_MENU, true);
    platform_.QueueKeyDown(VK_RETURN, true);
    RunFor(app, 50);
    EXPECT_FALSE(app.mIsWindowed);
    EXPECT_TRUE(platform_.LastWindowSettings().fullScreen);
    EXPECT_TRUE(widget.keys.empty() || widget.keys.back() != static_cast<int>(VK_RETURN));
    EXPECT_FALSE(app.GetWidgetManager()->IsKeyDown(VK_MENU));   // held keys forgotten

    platform_.QueueKeyDown(VK_RETURN, true);
    RunFor(app, 50);
    EXPECT_TRUE(app.mIsWindowed);
    EXPECT_FALSE(platform_.LastWindowSettings().fullScreen);

    app.mForceWindowed = true;
    platform_.QueueKeyDown(VK_RETURN, true);
    RunFor(app, 50);
    EXPECT_TRUE(app.mIsWindowed);
}

TEST_F(LoopMessages, TimerNoticesTheCursorLeavingTheWindow) {
    TestApp app;
    CountingWidget widget;
    StartApp(app, widget);
    platform_.QueueMouseMove(100, 100);
    RunFor(app, 50);
    EXPECT_TRUE(app.mMouseInWindow);
    platform_.SetCursorInClientArea(false);
    RunFor(app, 50);
    EXPECT_FALSE(app.mMouseInWindow);
    EXPECT_FALSE(app.GetWidgetManager()->IsMouseIn());
}

// Logic frozen by a zero multiplier or a pause: keys queued later still arrive, the screen is
// still drawn, and the window's close button ends the loop.
TEST_F(LoopMessages, AFrozenLoopStillHandlesMessagesAndTheCloseButton) {
    for (const bool paused : {false, true}) {
        SCOPED_TRACE(paused ? "paused" : "multiplier 0");
        TestApp app;
        CountingWidget widget;
        StartApp(app, widget);
        RunFor(app, 100);
        if (paused) {
            app.mPaused = true;
        } else {
            app.mUpdateMultiplier = 0.0;
        }
        RunFor(app, 200);
        const int updates = app.mUpdateCount;
        const int draws = widget.draws;

        platform_.QueueKeyDown('Q');
        RunFor(app, 100);
        ASSERT_EQ(widget.keys.size(), 1u);
        EXPECT_EQ(widget.keys[0], 'Q');
        widget.MarkDirty();
        RunFor(app, 100);
        EXPECT_GT(widget.draws, draws);

        platform_.QueueClose();
        RunFor(app, 100);
        EXPECT_TRUE(app.mShutdown);
        EXPECT_TRUE(app.mManualShutdown);
        EXPECT_EQ(app.mUpdateCount, updates);
    }
}

TEST_F(LoopMessages, ShutdownFromAnotherThreadIsCarriedOutOnTheMainThread) {
    TestApp app;
    CountingWidget widget;
    StartApp(app, widget);
    std::thread([&] { app.RequestShutdown(); }).join();
    EXPECT_FALSE(app.mShutdown);
    EXPECT_TRUE(app.mLoadingFailed);
    RunFor(app, 100);
    EXPECT_TRUE(app.mShutdown);
}

}  // namespace
}  // namespace AppTesting
