// Mouse, key and focus routing of the widget manager.
#include <gtest/gtest.h>

#include "WidgetTestSupport.h"

using namespace Orvane;
using WidgetTest::EventLog;
using WidgetTest::FakeHost;
using WidgetTest::LogWidget;

namespace {

constexpr int kTab = 0x09;
constexpr int kShift = 0x10;
constexpr int kControl = 0x11;

class WidgetInputTest : public ::testing::Test {
protected:
    WidgetInputTest() : manager(&host) {
        manager.Resize(Rect(0, 0, 800, 600), Rect(0, 0, 800, 600));
        manager.AddWidget(&a);
        manager.AddWidget(&b);
        log.clear();
    }

    EventLog Take() {
        EventLog taken = log;
        log.clear();
        return taken;
    }

    EventLog log;
    FakeHost host;
    WidgetManager manager;
    LogWidget a{"a", log, 10, 10, 50, 50};
    LogWidget b{"b", log, 100, 10, 50, 50};
};

TEST_F(WidgetInputTest, ReleaseReachesThePressedWidgetAfterThePointerMovedOff) {
    manager.MouseMove(20, 20);
    EXPECT_EQ(Take(), (EventLog{"a:enter", "a:move 10,10"}));
    manager.MouseDown(20, 20, 1);
    EXPECT_EQ(Take(), (EventLog{"a:down 10,10 b0 c1"}));
    EXPECT_TRUE(a.IsDown());

    // Dragging over b: a leaves hover but keeps the drag; b hears nothing.
    manager.MouseMove(120, 20);
    EXPECT_EQ(Take(), (EventLog{"a:drag 110,10", "a:leave"}));
    // Back over a: hover returns.
    manager.MouseMove(30, 30);
    EXPECT_EQ(Take(), (EventLog{"a:drag 20,20", "a:enter"}));

    // Released off every widget: a gets it in its own (negative) coordinates.
    manager.MouseMove(2, 3);
    Take();
    manager.MouseUp(2, 3, 1);
    EXPECT_EQ(Take(), (EventLog{"a:up -8,-7 b0 c1"}));
    EXPECT_FALSE(a.IsDown());
    EXPECT_EQ(manager.GetLastDownWidget(), nullptr);

    // Free again: the next move over b goes to b.
    manager.MouseMove(110, 20);
    EXPECT_EQ(Take(), (EventLog{"b:enter", "b:move 10,10"}));
}

TEST_F(WidgetInputTest, SecondButtonGoesToTheHolderAndOnlyTheLastReleaseFreesIt) {
    manager.MouseDown(20, 20, 1);
    manager.MouseMove(110, 20);
    Take();
    manager.MouseDown(110, 20, -1);   // right button over b
    EXPECT_EQ(Take(), (EventLog{"a:drag 100,10", "a:down 100,10 b1 c1"}));
    EXPECT_EQ(manager.DownButtons(), 3);

    manager.MouseUp(110, 20, 1);
    EXPECT_EQ(manager.GetLastDownWidget(), &a);
    manager.MouseUp(110, 20, -1);
    EXPECT_EQ(manager.GetLastDownWidget(), nullptr);
    EXPECT_EQ(Take(), (EventLog{"a:up 100,10 b0 c1", "a:drag 100,10", "a:up 100,10 b1 c1",
                                "b:enter", "b:move 10,10"}));

    // Click counts map to buttons: middle is (2, 1), right double is (1, 2).
    manager.MouseDown(110, 20, 3);
    manager.MouseUp(110, 20, 3);
    manager.MouseDown(110, 20, -2);
    manager.MouseUp(110, 20, -2);
    EXPECT_EQ(Take(), (EventLog{"b:down 10,10 b2 c1", "b:up 10,10 b2 c1", "b:down 10,10 b1 c2",
                                "b:up 10,10 b1 c2"}));
}

TEST_F(WidgetInputTest, LosingFocusReleasesHeldButtonsAndKeys) {
    manager.SetFocus(&a);
    manager.MouseDown(20, 20, 1);
    manager.MouseDown(20, 20, 3);
    manager.KeyDown('A');
    Take();

    manager.LostFocus();
    manager.ReleaseAllButtons();
    EXPECT_EQ(Take(), (EventLog{"a:keyup 65", "a:lostfocus", "a:up 10,10 b0 c1",
                                "a:up 10,10 b2 c1"}));
    EXPECT_FALSE(manager.IsKeyDown('A'));
    EXPECT_EQ(manager.GetLastDownWidget(), nullptr);
    EXPECT_EQ(manager.DownButtons(), 0);

    manager.GotFocus();
    EXPECT_EQ(Take(), (EventLog{"a:gotfocus"}));
}

TEST_F(WidgetInputTest, RemovingTheHolderReleasesItsButtonsAndForgetsIt) {
    manager.SetFocus(&a);
    manager.MouseMove(20, 20);
    manager.MouseDown(20, 20, 1);
    Take();
    manager.RemoveWidget(&a);
    EXPECT_EQ(Take(), (EventLog{"a:leave", "a:up 10,10 b0 c1", "a:lostfocus"}));
    EXPECT_EQ(manager.GetLastDownWidget(), nullptr);
    EXPECT_EQ(manager.GetFocusWidget(), nullptr);
    manager.MouseUp(20, 20, 1);
    EXPECT_TRUE(Take().empty());
}

TEST_F(WidgetInputTest, KeysGoToTheFocusWidget) {
    manager.KeyDown('A');   // no focus widget: only the table changes
    EXPECT_TRUE(manager.IsKeyDown('A'));
    EXPECT_TRUE(Take().empty());

    b.mWantsFocus = true;
    manager.MouseDown(110, 20, 1);   // a press focuses a widget that wants focus
    manager.MouseUp(110, 20, 1);
    EXPECT_EQ(manager.GetFocusWidget(), &b);
    Take();

    manager.KeyChar('x');
    manager.KeyUp('A');
    manager.MouseWheel(-2);
    EXPECT_EQ(Take(), (EventLog{"b:char 120", "b:keyup 65", "b:wheel -2"}));

    // Out-of-range key codes are routed but never index the table.
    manager.KeyDown(300);
    manager.KeyDown(-5);
    EXPECT_FALSE(manager.IsKeyDown(300));
    EXPECT_EQ(Take(), (EventLog{"b:keydown 300", "b:keydown -5"}));

    // Focus to a widget outside the manager: none.
    LogWidget stray("stray", log);
    manager.SetFocus(&stray);
    EXPECT_EQ(manager.GetFocusWidget(), nullptr);
    EXPECT_EQ(Take(), (EventLog{"b:lostfocus"}));
}

TEST_F(WidgetInputTest, TabMovesFocusAndControlTabGoesToTheDefaultTabWidget) {
    a.mTabNext = &b;
    b.mTabPrev = &a;
    manager.SetFocus(&a);
    manager.KeyDown(kTab);
    EXPECT_EQ(manager.GetFocusWidget(), &b);
    manager.KeyUp(kTab);
    manager.KeyDown(kShift);
    manager.KeyDown(kTab);
    EXPECT_EQ(manager.GetFocusWidget(), &a);
    manager.KeyUp(kTab);
    manager.KeyUp(kShift);
    Take();

    manager.mDefaultTab = &b;
    manager.KeyDown(kControl);
    manager.KeyChar(static_cast<char>(kTab));
    manager.KeyUp(kTab);   // swallowed while Control is held
    EXPECT_EQ(Take(), (EventLog{"a:keydown 17", "b:char 9"}));
}

TEST_F(WidgetInputTest, HandCursorFollowsHoverAndMouseExitLeaves) {
    a.mShowHandOnHover = true;
    manager.MouseMove(20, 20);
    manager.MouseMove(120, 20);
    EXPECT_EQ(host.cursors, (std::vector<int>{1, 0}));
    manager.MouseExit(120, 20);
    EXPECT_FALSE(manager.IsMouseIn());
    EXPECT_EQ(manager.GetOverWidget(), nullptr);
    EXPECT_FALSE(b.IsOver());

    // A widget moved under the resting pointer is entered without a pointer move.
    manager.MouseMove(300, 300);
    Take();
    b.Move(280, 280);
    EXPECT_EQ(Take(), (EventLog{"b:enter", "b:move 20,20"}));
}

TEST(WidgetMapMouseTest, MapsBetweenSourceAndDestinationRectangles) {
    WidgetManager manager;
    int x = 400, y = 300;
    manager.Resize(Rect(0, 0, 800, 600), Rect(0, 0, 800, 600));
    manager.MapMouse(x, y);
    EXPECT_EQ(x, 400);
    EXPECT_EQ(y, 300);
    manager.Resize(Rect(0, 0, 800, 600), Rect(10, 20, 400, 300));
    manager.MapMouse(x, y);
    EXPECT_EQ(x, 210);
    EXPECT_EQ(y, 170);
    manager.Resize(Rect(0, 0, 0, 0), Rect(0, 0, 800, 600));   // no source: unchanged
    manager.MapMouse(x, y);
    EXPECT_EQ(x, 210);
}

}  // namespace
