// ButtonWidget: what it reports to its listener, its over fade and what it draws.
#include <gtest/gtest.h>

#include "WidgetTestSupport.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/ButtonListener.h"
#include "framework/widgets/ButtonWidget.h"
#include "framework/widgets/Font.h"

using namespace Orvane;
using WidgetTest::EventLog;

namespace {

class LogListener : public ButtonListener {
public:
    explicit LogListener(EventLog& log) : log_(log) {}
    void ButtonPress(int id, int clickCount) override {
        Add("press " + std::to_string(id) + " c" + std::to_string(clickCount));
    }
    void ButtonDepress(int id) override { Add("depress " + std::to_string(id)); }
    void ButtonDownTick(int id) override { Add("tick " + std::to_string(id)); }
    void ButtonMouseEnter(int id) override { Add("enter " + std::to_string(id)); }
    void ButtonMouseLeave(int id) override { Add("leave " + std::to_string(id)); }
    void ButtonMouseMove(int id, int x, int y) override {
        Add("move " + std::to_string(id) + " " + std::to_string(x) + "," + std::to_string(y));
    }

private:
    void Add(const std::string& s) { log_.push_back(s); }
    EventLog& log_;
};

// Overrides only the plain press: the press with a count must forward to it.
class PlainPressListener : public ButtonListener {
public:
    void ButtonPress(int id) override { pressed.push_back(id); }
    std::vector<int> pressed;
};

class WidgetButtonTest : public ::testing::Test {
protected:
    WidgetButtonTest() : button(7, &listener) {
        button.Resize(10, 10, 40, 20);
        manager.AddWidget(&button);
    }
    EventLog Take() {
        EventLog t = log;
        log.clear();
        return t;
    }

    EventLog log;
    LogListener listener{log};
    WidgetManager manager;
    ButtonWidget button;
};

TEST_F(WidgetButtonTest, ReportsAClickOnlyWhenReleasedOverIt) {
    manager.MouseMove(20, 20);
    manager.MouseDown(20, 20, 1);
    manager.UpdateWidgets();
    manager.MouseUp(20, 20, 1);
    manager.UpdateWidgets();   // not held any more: no tick
    EXPECT_EQ(Take(), (EventLog{"enter 7", "move 7 10,10", "press 7 c1", "tick 7", "depress 7"}));

    // Pressed, dragged off and released there: no click, and no ticks while off it.
    manager.MouseDown(20, 20, 2);
    manager.MouseMove(200, 200);
    manager.UpdateWidgets();
    manager.MouseUp(200, 200, 1);
    EXPECT_EQ(Take(), (EventLog{"press 7 c2", "leave 7"}));

    // Released after the application lost focus: no click either.
    manager.MouseMove(20, 20);
    manager.MouseDown(20, 20, 1);
    manager.LostFocus();
    manager.ReleaseAllButtons();
    EXPECT_EQ(Take(), (EventLog{"enter 7", "move 7 10,10", "press 7 c1"}));

    // Right button: press with count 1 (double: 2).
    manager.GotFocus();
    manager.MouseDown(20, 20, -2);
    manager.MouseUp(20, 20, -2);
    EXPECT_EQ(Take(), (EventLog{"press 7 c2", "depress 7"}));
}

TEST_F(WidgetButtonTest, PressWithCountForwardsToPlainPress) {
    PlainPressListener plain;
    button.mButtonListener = &plain;
    manager.MouseDown(20, 20, 1);
    manager.MouseUp(20, 20, 1);
    EXPECT_EQ(plain.pressed, (std::vector<int>{7}));
}

TEST_F(WidgetButtonTest, OverAlphaFadesInAndOut) {
    MemoryImage normal(4, 4), over(4, 4);
    WidgetTest::NullScreen screen(100, 100);
    manager.SetScreenImage(&screen);
    button.mButtonImage = &normal;
    button.mOverImage = &over;
    button.mOverAlphaFadeInSpeed = 0.4;
    button.mOverAlphaSpeed = 0.25;

    manager.MouseMove(20, 20);
    std::vector<double> seen;
    for (int i = 0; i < 3; ++i) {
        manager.DrawScreen();
        EXPECT_TRUE(manager.UpdateWidgets()) << "each change marks the button dirty";
        seen.push_back(button.mOverAlpha);
    }
    manager.MouseMove(300, 300);
    for (int i = 0; i < 3; ++i) {
        manager.UpdateWidgets();
        seen.push_back(button.mOverAlpha);
    }
    const std::vector<double> expected{0.4, 0.8, 1.0, 0.75, 0.5, 0.25};
    ASSERT_EQ(seen.size(), expected.size());
    for (size_t i = 0; i < seen.size(); ++i) EXPECT_NEAR(seen[i], expected[i], 1e-9) << i;

    // A fade-out step that would go below 0 ends at 0; then nothing changes any more.
    manager.UpdateWidgets();
    EXPECT_EQ(button.mOverAlpha, 0.0);
    manager.DrawScreen();
    EXPECT_FALSE(manager.UpdateWidgets());

    // Without a fade-in the over picture shows fully and fades out from 1 on leaving.
    button.mOverAlphaFadeInSpeed = 0.0;
    manager.MouseMove(20, 20);
    EXPECT_EQ(button.mOverAlpha, 0.0);
    manager.MouseMove(300, 300);
    EXPECT_EQ(button.mOverAlpha, 1.0);
    manager.UpdateWidgets();
    EXPECT_NEAR(button.mOverAlpha, 0.75, 1e-9);
}

// The colour at a pixel of the screen, as 0xRRGGBB.
uint32_t Rgb(const MemoryImage& img, int x, int y) { return img.GetPixel(x, y) & 0xFFFFFF; }

TEST_F(WidgetButtonTest, DrawsItsImagesByStateAndABevelWithoutThem) {
    MemoryImage screen(100, 100);
    screen.SetNoAlpha(true);
    manager.SetScreenImage(&screen);

    // Without images: face, light top-left, dark bottom-right, swapped while pressed.
    manager.DrawScreen();
    EXPECT_EQ(Rgb(screen, 30, 20), 0xD4D4D4u);   // face
    EXPECT_EQ(Rgb(screen, 10, 10), 0xFFFFFFu);   // light edge
    EXPECT_EQ(Rgb(screen, 49, 29), 0x000000u);   // dark edge
    EXPECT_EQ(Rgb(screen, 48, 28), 0x848484u);   // inner shadow
    manager.MouseMove(20, 20);
    manager.MouseDown(20, 20, 1);
    manager.DrawScreen();
    EXPECT_EQ(Rgb(screen, 10, 10), 0x000000u);
    EXPECT_EQ(Rgb(screen, 11, 11), 0x848484u);
    EXPECT_EQ(Rgb(screen, 49, 29), 0xFFFFFFu);
    manager.MouseUp(20, 20, 1);

    // With images: one solid picture per state.
    auto solid = [](uint32_t argb) {
        MemoryImage img(40, 20);
        img.Clear(argb);
        return img;
    };
    MemoryImage normal = solid(0xFF0000FF), over = solid(0xFF00FF00), down = solid(0xFFFF0000),
                disabled = solid(0xFF808080);
    button.mButtonImage = &normal;
    button.mOverImage = &over;
    button.mDownImage = &down;
    button.mDisabledImage = &disabled;

    struct Step {
        const char* what;
        std::function<void()> act;
        uint32_t expected;
    } steps[] = {
        {"over", [&] { button.MarkDirty(); }, 0x00FF00},
        {"normal", [&] { manager.MouseMove(300, 300); }, 0x0000FF},
        {"down", [&] { manager.MouseMove(20, 20); manager.MouseDown(20, 20, 1); }, 0xFF0000},
        {"inverted", [&] { button.mInverted = true; button.MarkDirty(); }, 0x00FF00},
        {"disabled",
         [&] {
             manager.MouseUp(20, 20, 1);
             button.mInverted = false;
             button.SetDisabled(true);
         },
         0x808080},
    };
    for (const Step& s : steps) {
        s.act();
        manager.DrawScreen();
        EXPECT_EQ(Rgb(screen, 30, 20), s.expected) << s.what;
    }

    // Half faded: the over picture blended over the normal one.
    button.SetDisabled(false);
    manager.MouseMove(300, 300);
    button.mOverAlpha = 0.5;
    button.MarkDirty();
    manager.DrawScreen();
    const uint32_t px = Rgb(screen, 30, 20);
    EXPECT_NEAR(static_cast<int>((px >> 8) & 0xFF), 127, 2);
    EXPECT_NEAR(static_cast<int>(px & 0xFF), 128, 2);
}

// A font of fixed metrics that records where it was asked to draw.
class RecordingFont : public Font {
public:
    int GetAscent() const override { return 12; }
    int GetHeight() const override { return 16; }
    int StringWidth(const std::string& text) const override {
        return 6 * static_cast<int>(text.size());
    }
    void DrawString(Graphics& g, int x, int y, const std::string& text,
                    const Color& color) const override {
        calls.push_back(text + " " + std::to_string(x + static_cast<int>(g.GetTransX())) + "," +
                        std::to_string(y + static_cast<int>(g.GetTransY())) + " r" +
                        std::to_string(color.r));
    }
    mutable EventLog calls;
};

TEST_F(WidgetButtonTest, LabelIsPlacedByJustificationAndShiftsWhenPressed) {
    WidgetTest::NullScreen screen(100, 100);
    manager.SetScreenImage(&screen);
    RecordingFont font;
    button.SetFont(&font);
    button.SetLabel("OK");   // 12 pixels wide on a 40 x 20 button at (10, 10)
    button.SetColor(ButtonWidget::COLOR_LABEL, Color(10, 0, 0));
    button.SetColor(ButtonWidget::COLOR_LABEL_HILITE, Color(20, 0, 0));

    // Baseline (ascent + height - ascent / 6 - 1) / 2 = (12 + 20 - 2 - 1) / 2 = 14.
    struct Case {
        int justify;
        int expectedX;
    } cases[] = {{ButtonWidget::JUSTIFY_CENTER, 24}, {ButtonWidget::JUSTIFY_RIGHT, 38},
                 {ButtonWidget::JUSTIFY_LEFT, 10}};
    for (const Case& c : cases) {
        button.mLabelJustify = c.justify;
        button.MarkDirty();
        font.calls.clear();
        manager.DrawScreen();
        EXPECT_EQ(font.calls, (EventLog{"OK " + std::to_string(c.expectedX) + ",24 r10"}));
    }

    // Pressed with the pointer over it: one pixel down and right, in the hover colour.
    button.mLabelJustify = ButtonWidget::JUSTIFY_CENTER;
    manager.MouseMove(20, 20);
    manager.MouseDown(20, 20, 1);
    font.calls.clear();
    manager.DrawScreen();
    EXPECT_EQ(font.calls, (EventLog{"OK 25,25 r20"}));
}

}  // namespace
