// Widget: a rectangular element of the screen tree. It draws itself, receives keys when it has
// the focus and mouse events in its own coordinates (relative to its top-left corner), and can
// be hidden, disabled and given hit insets. The game's screen is one Widget subclass.
#pragma once

#include <cstddef>
#include <vector>

#include "framework/graphics/Color.h"
#include "framework/widgets/WidgetContainer.h"

namespace Orvane {

// Mouse insets shrink the rectangle that can be hit.
struct Insets {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class Widget : public WidgetContainer {
public:
    Widget() = default;
    ~Widget() override;

    virtual void SetVisible(bool visible);

    // Colours by small index. SetColors takes (r, g, b) triples (alpha 255) or (r, g, b, a)
    // quadruples; `count` is the number of colours.
    virtual void SetColors(const int colors[][3], int count);
    virtual void SetColors(const int colors[][4], int count);
    virtual void SetColor(int index, const Color& color);
    virtual const Color& GetColor(int index) const;
    virtual Color GetColor(int index, const Color& defaultColor) const;

    virtual void SetDisabled(bool disabled);
    virtual void ShowHandCursor(bool on);
    virtual void Resize(const Rect& rect);
    virtual void Resize(int x, int y, int width, int height);
    virtual void Move(int x, int y);
    virtual bool WantsFocus() const { return mWantsFocus; }

    // Overlays are drawn after the whole tree when deferred with the manager's DeferOverlay.
    virtual void DrawOverlay(Graphics& g, int priority);
    virtual void DrawOverlay(Graphics& g);

    virtual void GotFocus();
    virtual void LostFocus();
    virtual void KeyChar(char c);
    virtual void KeyDown(int keyCode);
    virtual void KeyUp(int keyCode);
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void MouseMove(int x, int y);
    // button: 0 left, 1 right, 2 middle.
    virtual void MouseDown(int x, int y, int button, int clickCount);
    // clickCount: 1 left, 2 left double, -1 right, -2 right double, 3 middle.
    virtual void MouseDown(int x, int y, int clickCount);
    virtual void MouseUp(int x, int y, int button, int clickCount);
    virtual void MouseUp(int x, int y, int clickCount);
    virtual void MouseUp(int x, int y);
    virtual void MouseDrag(int x, int y);
    virtual void MouseWheel(int delta);
    // Lets shaped widgets refuse hits on their see-through parts (own coordinates).
    virtual bool IsPointVisible(int x, int y) const;

    static int DigitCount(int n);
    virtual bool Contains(int x, int y) const;
    virtual Rect InsetRect() const;

    bool IsVisible() const { return mVisible; }
    bool IsDisabled() const { return mDisabled; }
    bool HasFocus() const { return mHasFocus; }
    bool IsDown() const { return mIsDown; }
    bool IsOver() const { return mIsOver; }

    // Maps a click count to (button, count) as MouseDown/MouseUp hand them on.
    static void ClickCountToButton(int clickCount, int& button, int& count);

    // Public state, set directly by owners.
    bool mVisible = true;
    bool mMouseVisible = true;      // whether it can be hit at all
    bool mDisabled = false;
    bool mHasFocus = false;
    bool mIsDown = false;
    bool mIsOver = false;
    bool mHasTransparencies = false;
    std::vector<Color> mColors;
    Insets mMouseInsets;
    bool mShowHandOnHover = false;  // show the hand cursor while hovered
    bool mWantsFocus = false;
    Widget* mTabPrev = nullptr;
    Widget* mTabNext = nullptr;
};

}  // namespace Orvane
