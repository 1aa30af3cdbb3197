// Update walk, dirty marking and drawing of the widget tree.
#include <gtest/gtest.h>

#include <thread>

#include "WidgetTestSupport.h"

using namespace Orvane;
using WidgetTest::EventLog;
using WidgetTest::FakeHost;
using WidgetTest::LogWidget;
using WidgetTest::NullScreen;

namespace {

class WidgetDrawTest : public ::testing::Test {
protected:
    WidgetDrawTest() : manager(&host) {
        manager.Resize(Rect(0, 0, 800, 600), Rect(0, 0, 800, 600));
        manager.SetScreenImage(&screen);
    }

    // Draws and returns only the draw/overlay lines, then forgets the log.
    EventLog DrawAndTake() {
        log.clear();
        manager.DrawScreen();
        EventLog drawn = log;
        log.clear();
        return drawn;
    }

    EventLog log;
    FakeHost host;
    NullScreen screen{800, 600};
    WidgetManager manager;
};

TEST_F(WidgetDrawTest, OnlyDirtyWidgetsAndWhatTheyAffectAreRedrawn) {
    LogWidget back("back", log, 0, 0, 800, 600);
    LogWidget a("a", log, 0, 0, 100, 100);
    LogWidget b("b", log, 200, 0, 50, 50);
    LogWidget c("c", log, 50, 50, 100, 100);
    for (LogWidget* w : {&back, &a, &b, &c}) manager.AddWidget(w);

    EXPECT_EQ(DrawAndTake(),
              (EventLog{"back:draw 0,0", "a:draw 0,0", "b:draw 200,0", "c:draw 50,50"}));
    // Nothing dirty: nothing drawn.
    EXPECT_FALSE(manager.DrawScreen());
    EXPECT_TRUE(log.empty());

    // Opaque widget: itself and what lies in front of it and overlaps it.
    a.MarkDirty();
    EXPECT_EQ(DrawAndTake(), (EventLog{"a:draw 0,0", "c:draw 50,50"}));
    b.MarkDirty();
    EXPECT_EQ(DrawAndTake(), (EventLog{"b:draw 200,0"}));

    // See-through widget: what lies behind it is redrawn too, back to the first opaque
    // widget that covers it entirely.
    c.mHasAlpha = true;
    c.MarkDirty();
    EXPECT_EQ(DrawAndTake(), (EventLog{"back:draw 0,0", "a:draw 0,0", "c:draw 50,50"}));

    LogWidget inner("inner", log, 10, 10, 20, 20);
    inner.mHasAlpha = true;
    manager.AddWidget(&inner);
    DrawAndTake();
    inner.MarkDirty();
    EXPECT_EQ(DrawAndTake(), (EventLog{"a:draw 0,0", "inner:draw 10,10"}));

    // Hiding redraws what was behind; a hidden widget is not drawn.
    b.SetVisible(false);
    EXPECT_EQ(DrawAndTake(), (EventLog{"back:draw 0,0"}));
    b.SetVisible(true);
    EXPECT_EQ(DrawAndTake(), (EventLog{"b:draw 200,0"}));
}

TEST_F(WidgetDrawTest, NestedWidgetRedrawsItsTopLevelContainerEveryTime) {
    LogWidget panel("panel", log, 100, 100, 200, 200);
    LogWidget child("child", log, 10, 20, 30, 30);
    panel.AddWidget(&child);
    manager.AddWidget(&panel);
    EXPECT_EQ(DrawAndTake(), (EventLog{"panel:draw 100,100", "child:draw 110,120"}));

    for (int round = 0; round < 2; ++round) {
        child.MarkDirty();
        EXPECT_TRUE(manager.IsDirty());
        EXPECT_EQ(DrawAndTake(), (EventLog{"panel:draw 100,100", "child:draw 110,120"}))
            << "round " << round;
    }
}

TEST_F(WidgetDrawTest, DeferredOverlaysDrawAfterTheRestInPriorityOrder) {
    LogWidget a("a", log, 0, 0, 100, 100);
    LogWidget b("b", log, 300, 0, 100, 100);
    LogWidget top("top", log, 500, 0, 100, 100);
    LogWidget nested("nested", log, 5, 6, 10, 10);
    a.deferPriority = 10;
    b.deferPriority = 1;
    nested.deferPriority = 1;
    top.mPriority = 5;
    a.AddWidget(&nested);
    for (LogWidget* w : {&a, &b, &top}) manager.AddWidget(w);

    // Overlays of priority 1 come before the widget of priority 5 (in the order they were
    // deferred); priority 10 comes after everything. Each is placed at its widget.
    EXPECT_EQ(DrawAndTake(),
              (EventLog{"a:draw 0,0", "nested:draw 5,6", "b:draw 300,0", "nested:overlay 1 5,6",
                        "b:overlay 1 300,0", "top:draw 500,0", "a:overlay 10 0,0"}));
    EXPECT_EQ(host.begins, 1);
    EXPECT_EQ(host.ends, 1);
}

TEST_F(WidgetDrawTest, DrawingStartsAtMinusTheMouseDestinationOffset) {
    LogWidget a("a", log, 40, 30, 10, 10);
    manager.AddWidget(&a);
    manager.Resize(Rect(0, 0, 800, 600), Rect(10, 20, 800, 600));
    EXPECT_EQ(DrawAndTake(), (EventLog{"a:draw 30,10"}));
}

TEST_F(WidgetDrawTest, UpdateWalkSurvivesRemovalAndUpdatesEachWidgetOnce) {
    LogWidget a("a", log);
    LogWidget b("b", log);
    LogWidget c("c", log);
    for (LogWidget* w : {&a, &b, &c}) manager.AddWidget(w);

    // a removes b (not updated afterwards) and moves itself to the front, where the walk
    // reaches it a second time (not updated twice).
    a.onUpdate = [&] {
        manager.RemoveWidget(&b);
        manager.BringToFront(&a);
    };
    manager.UpdateWidgets();
    EXPECT_EQ(log, (EventLog{"a:update", "c:update"}));

    // A widget that removes itself: the walk goes on with the next one.
    log.clear();
    a.onUpdate = nullptr;
    c.onUpdate = [&] { manager.RemoveWidget(&c); };
    manager.AddWidget(&b);
    manager.UpdateWidgets();
    EXPECT_EQ(log, (EventLog{"c:update", "a:update", "b:update"}));
}

TEST_F(WidgetDrawTest, UpdateReportsDirtyAndHonoursFlags) {
    LogWidget a("a", log, 0, 0, 10, 10);
    manager.AddWidget(&a);
    manager.DrawScreen();
    EXPECT_FALSE(manager.UpdateWidgets());

    // Mark-dirty on every update.
    a.mWidgetFlagsMod.addFlags = WIDGETFLAGS_MARK_DIRTY;
    EXPECT_TRUE(manager.UpdateWidgets());
    manager.DrawScreen();

    // While the application lacks focus the lost-focus modification applies.
    a.mWidgetFlagsMod = FlagsMod{};
    manager.mLostFocusFlagsMod.removeFlags = WIDGETFLAGS_UPDATE;
    manager.LostFocus();
    log.clear();
    manager.UpdateWidgets();
    manager.UpdateWidgetsFraction(1.0f);
    EXPECT_TRUE(log.empty());
    manager.GotFocus();
    manager.UpdateWidgets();
    EXPECT_EQ(log, (EventLog{"a:update"}));
}

TEST_F(WidgetDrawTest, DestroyedWidgetLeavesTheTree) {
    auto a = std::make_unique<LogWidget>("a", log, 0, 0, 10, 10);
    manager.AddWidget(a.get());
    manager.SetFocus(a.get());
    manager.MouseMove(5, 5);
    EXPECT_EQ(manager.GetOverWidget(), a.get());
    a.reset();
    EXPECT_TRUE(manager.Children().empty());
    EXPECT_EQ(manager.GetFocusWidget(), nullptr);
    EXPECT_EQ(manager.GetOverWidget(), nullptr);
    manager.UpdateWidgets();
    manager.DrawScreen();
}

}  // namespace

namespace {

TEST_F(WidgetDrawTest, WidgetAddedAndFocusedFromAnotherThreadJoinsAtTheNextUpdate) {
    LogWidget screenWidget("board", log, 0, 0, 800, 600);
    auto queued = std::make_unique<LogWidget>("gone", log, 0, 0, 10, 10);
    std::thread loader([&] {
        manager.AddWidget(&screenWidget);
        manager.SetFocus(&screenWidget);
        manager.AddWidget(queued.get());
        manager.SetFocus(queued.get());
    });
    loader.join();
    EXPECT_TRUE(manager.Children().empty());
    EXPECT_EQ(manager.GetFocusWidget(), nullptr);
    queued.reset();   // destroyed while still waiting: never joins

    manager.UpdateWidgets();
    EXPECT_EQ(manager.Children().size(), 1u);
    EXPECT_TRUE(manager.HasWidget(&screenWidget));
    EXPECT_EQ(manager.GetFocusWidget(), &screenWidget);
    EXPECT_EQ(DrawAndTake(), (EventLog{"board:draw 0,0"}));
}

// The loading thread's progress: marks from another thread are handed to the tree's own
// thread and applied at its next update or draw, for widgets in the tree, widgets still
// waiting to join it, and widgets that go away before the mark is applied.
TEST_F(WidgetDrawTest, WidgetsMarkedDirtyFromAnotherThreadAreMarkedAtTheNextUpdate) {
    LogWidget board("board", log, 0, 0, 800, 600);
    manager.AddWidget(&board);
    EXPECT_EQ(DrawAndTake(), (EventLog{"board:draw 0,0"}));

    std::thread([&] { board.MarkDirty(); }).join();
    EXPECT_FALSE(board.IsDirty());
    manager.UpdateWidgets();
    EXPECT_EQ(DrawAndTake(), (EventLog{"board:draw 0,0"}));
    std::thread([&] { board.MarkDirtyFull(); }).join();
    EXPECT_EQ(DrawAndTake(), (EventLog{"board:draw 0,0"}));

    LogWidget late("late", log, 10, 10, 20, 20);
    auto gone = std::make_unique<LogWidget>("gone", log, 40, 40, 20, 20);
    manager.AddWidget(gone.get());
    EXPECT_EQ(DrawAndTake(), (EventLog{"board:draw 0,0", "gone:draw 40,40"}));
    std::thread([&] {
        manager.AddWidget(&late);
        late.MarkDirty();
        gone->MarkDirty();
    }).join();
    gone.reset();   // its mark is dropped with it
    manager.UpdateWidgets();
    EXPECT_TRUE(manager.HasWidget(&late));
    // Joining redraws what lies behind it; the mark of the one that went away is dropped.
    EXPECT_EQ(DrawAndTake(), (EventLog{"board:draw 0,0", "late:draw 10,10"}));
    manager.RemoveWidget(&late);
}

}  // namespace

namespace {

TEST_F(WidgetDrawTest, ChildrenStaySortedByZOrderNewestInFrontAmongEquals) {
    LogWidget a("a", log, 0, 0, 10, 10), b("b", log, 20, 0, 10, 10), c("c", log, 40, 0, 10, 10),
        d("d", log, 60, 0, 10, 10);
    a.mZOrder = 5;
    b.mZOrder = 0;
    c.mZOrder = 5;
    d.mZOrder = 3;
    for (LogWidget* w : {&a, &b, &c, &d}) manager.AddWidget(w);
    EXPECT_EQ(DrawAndTake(),
              (EventLog{"b:draw 20,0", "d:draw 60,0", "a:draw 0,0", "c:draw 40,0"}));
    EXPECT_TRUE(manager.IsBehind(&a, &c));
    EXPECT_FALSE(manager.IsBehind(&c, &a));

    manager.SendToBack(&c);
    manager.PlaceInFront(&b, &a);
    manager.MarkAllDirty();
    EXPECT_EQ(DrawAndTake(),
              (EventLog{"c:draw 40,0", "d:draw 60,0", "a:draw 0,0", "b:draw 20,0"}));
    manager.AddWidget(&a);   // already a child: nothing changes
    EXPECT_EQ(manager.Children().size(), 4u);
}

}  // namespace
