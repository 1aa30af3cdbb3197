// Which widget the pointer hits: insets, nesting, disabled widgets and the below-modal rule.
#include <gtest/gtest.h>

#include "WidgetTestSupport.h"

using namespace Orvane;
using WidgetTest::EventLog;
using WidgetTest::LogWidget;

namespace {

struct InsetCase {
    int x, y;
    bool hit;
};

TEST(WidgetHitTest, InsetsShrinkTheHitRectangleAtEveryBorder) {
    EventLog log;
    WidgetManager manager;
    LogWidget w("w", log, 10, 20, 100, 50);   // covers x 10..109, y 20..69
    w.mMouseInsets = Insets{5, 6, 7, 8};      // hit area x 15..102, y 26..61
    manager.AddWidget(&w);

    const InsetCase cases[] = {
        {15, 26, true},  {14, 26, false}, {15, 25, false}, {102, 61, true},
        {103, 61, false}, {102, 62, false}, {60, 40, true}, {10, 20, false},
    };
    for (const InsetCase& c : cases) {
        int lx = -1, ly = -1;
        Widget* hit = manager.GetWidgetAt(c.x, c.y, &lx, &ly);
        EXPECT_EQ(hit == &w, c.hit) << c.x << "," << c.y;
        if (c.hit) {
            EXPECT_EQ(lx, c.x - 10);
            EXPECT_EQ(ly, c.y - 20);
        }
    }
}

TEST(WidgetHitTest, FrontmostWinsChildrenFirstAndPassThroughRules) {
    EventLog log;
    WidgetManager manager;
    LogWidget back("back", log, 0, 0, 400, 400);
    LogWidget panel("panel", log, 100, 100, 200, 200);
    LogWidget child("child", log, 50, 50, 20, 20);   // at 150..169 on screen
    panel.AddWidget(&child);
    manager.AddWidget(&back);
    manager.AddWidget(&panel);

    int lx = 0, ly = 0;
    EXPECT_EQ(manager.GetWidgetAt(155, 160, &lx, &ly), &child);
    EXPECT_EQ(lx, 5);
    EXPECT_EQ(ly, 10);
    EXPECT_EQ(manager.GetWidgetAt(120, 120), &panel);
    EXPECT_EQ(manager.GetWidgetAt(50, 50), &back);

    // Not mouse-visible: the pointer goes through it to what lies behind.
    panel.mMouseVisible = false;
    EXPECT_EQ(manager.GetWidgetAt(120, 120), &back);
    EXPECT_EQ(manager.GetWidgetAt(155, 160), &child);
    panel.mMouseVisible = true;

    // Disabled: no widget at all there, not even the one behind (nor its children).
    panel.SetDisabled(true);
    EXPECT_EQ(manager.GetWidgetAt(120, 120), nullptr);
    EXPECT_EQ(manager.GetWidgetAt(155, 160), nullptr);
    child.SetDisabled(true);
    panel.SetDisabled(false);
    EXPECT_EQ(manager.GetWidgetAt(155, 160), nullptr);
    EXPECT_EQ(manager.GetWidgetAt(120, 120), &panel);

    // Hidden: not hit.
    panel.SetVisible(false);
    EXPECT_EQ(manager.GetWidgetAt(120, 120), &back);
}

TEST(WidgetHitTest, WidgetsBelowTheBaseModalWidgetGetNoMouse) {
    EventLog log;
    WidgetManager manager;
    LogWidget behind("behind", log, 0, 0, 100, 100);
    LogWidget dialog("dialog", log, 200, 200, 100, 100);
    LogWidget button("button", log, 10, 10, 20, 20);
    LogWidget above("above", log, 50, 50, 100, 100);
    dialog.AddWidget(&button);
    for (LogWidget* w : {&behind, &dialog, &above}) manager.AddWidget(w);

    manager.SetBaseModal(&button);   // modal rule holds through the dialog that contains it
    EXPECT_EQ(manager.GetWidgetAt(10, 10), nullptr);
    EXPECT_EQ(manager.GetWidgetAt(215, 215), &button);
    EXPECT_EQ(manager.GetWidgetAt(250, 250), &dialog);
    EXPECT_EQ(manager.GetWidgetAt(60, 60), &above);   // in front of the modal widget

    // The pointer resting on a widget below the modal one leaves it.
    manager.SetBaseModal(nullptr);
    manager.MouseMove(10, 10);
    EXPECT_EQ(manager.GetOverWidget(), &behind);
    manager.SetBaseModal(&dialog);
    EXPECT_EQ(manager.GetOverWidget(), nullptr);
    manager.MouseDown(10, 10, 1);
    EXPECT_EQ(manager.GetLastDownWidget(), nullptr);
    manager.MouseUp(10, 10, 1);

    // The below-modal modification applies to updates as well.
    manager.mBelowModalFlagsMod = FlagsMod{0, WIDGETFLAGS_UPDATE};
    log.clear();
    manager.UpdateWidgets();
    EXPECT_EQ(log, (EventLog{"dialog:update", "button:update", "above:update"}));

    // Removing the modal widget lifts the rule.
    manager.RemoveWidget(&dialog);
    EXPECT_EQ(manager.GetBaseModal(), nullptr);
    EXPECT_EQ(manager.GetWidgetAt(10, 10), &behind);
}

}  // namespace
