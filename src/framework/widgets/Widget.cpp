#include "framework/widgets/Widget.h"

#include "framework/platform/VirtualKeys.h"
#include "framework/widgets/WidgetHost.h"
#include "framework/widgets/WidgetManager.h"

namespace Orvane {

namespace {
constexpr int kKeyTab = static_cast<int>(VK_TAB);
constexpr int kKeyShift = static_cast<int>(VK_SHIFT);
constexpr int kCursorArrow = 0;
constexpr int kCursorHand = 1;
}  // namespace

Widget::~Widget() {
    // Leave the tree cleanly, so that no container or manager keeps a dangling pointer.
    if (mQueuedIn != nullptr) mQueuedIn->DropQueuedAdd(this);
    if (mParent != nullptr) mParent->RemoveWidget(this);
    RemoveAllWidgets(false);
}

void Widget::SetVisible(bool visible) {
    if (mVisible == visible) return;
    mVisible = visible;
    if (visible)
        MarkDirty();
    else
        MarkDirtyFull();   // what was behind shows again
    if (mWidgetManager != nullptr) mWidgetManager->RehupMouse();
}

void Widget::SetColors(const int colors[][3], int count) {
    mColors.clear();
    for (int i = 0; i < count; ++i) mColors.emplace_back(colors[i][0], colors[i][1], colors[i][2]);
    MarkDirty();
}

void Widget::SetColors(const int colors[][4], int count) {
    mColors.clear();
    for (int i = 0; i < count; ++i)
        mColors.emplace_back(colors[i][0], colors[i][1], colors[i][2], colors[i][3]);
    MarkDirty();
}

void Widget::SetColor(int index, const Color& color) {
    if (index < 0) return;
    if (static_cast<size_t>(index) >= mColors.size()) mColors.resize(index + 1);
    mColors[index] = color;
    MarkDirty();
}

const Color& Widget::GetColor(int index) const {
    static const Color kDefault(0, 0, 0, 255);
    if (index < 0 || static_cast<size_t>(index) >= mColors.size()) return kDefault;
    return mColors[index];
}

Color Widget::GetColor(int index, const Color& defaultColor) const {
    if (index < 0 || static_cast<size_t>(index) >= mColors.size()) return defaultColor;
    return mColors[index];
}

void Widget::SetDisabled(bool disabled) {
    if (mDisabled == disabled) return;
    mDisabled = disabled;
    MarkDirty();
    if (mWidgetManager == nullptr) return;
    if (disabled)
        mWidgetManager->ForgetWidget(this);
    else
        mWidgetManager->RehupMouse();   // the pointer may be resting on it
}

void Widget::ShowHandCursor(bool on) {
    if (mWidgetManager == nullptr || mWidgetManager->GetHost() == nullptr) return;
    mWidgetManager->GetHost()->SetCursorShape(on ? kCursorHand : kCursorArrow);
}

void Widget::Resize(const Rect& rect) {
    if (rect == GetRect()) return;
    MarkDirtyFull();   // the old area
    mX = rect.x;
    mY = rect.y;
    mWidth = rect.width;
    mHeight = rect.height;
    // The new area, including what lies in front of it. The widget itself is still marked
    // dirty from above, so a plain MarkDirty would stop short of its neighbours.
    MarkDirtyFull();
    if (mWidgetManager != nullptr) mWidgetManager->RehupMouse();
}

void Widget::Resize(int x, int y, int width, int height) { Resize(Rect(x, y, width, height)); }

void Widget::Move(int x, int y) { Resize(x, y, mWidth, mHeight); }

void Widget::DrawOverlay(Graphics& g, int) { DrawOverlay(g); }

void Widget::DrawOverlay(Graphics&) {}

void Widget::GotFocus() { mHasFocus = true; }

void Widget::LostFocus() { mHasFocus = false; }

void Widget::KeyChar(char) {}

void Widget::KeyDown(int keyCode) {
    if (keyCode != kKeyTab || mWidgetManager == nullptr) return;
    Widget* next = mWidgetManager->IsKeyDown(kKeyShift) ? mTabPrev : mTabNext;
    if (next != nullptr) mWidgetManager->SetFocus(next);
}

void Widget::KeyUp(int) {}

void Widget::MouseEnter() {}

void Widget::MouseLeave() {}

void Widget::MouseMove(int, int) {}

void Widget::MouseDown(int, int, int, int) {}

void Widget::ClickCountToButton(int clickCount, int& button, int& count) {
    if (clickCount == 3) {
        button = 2;
        count = 1;
    } else if (clickCount < 0) {
        button = 1;
        count = -clickCount;
    } else {
        button = 0;
        count = clickCount;
    }
}

void Widget::MouseDown(int x, int y, int clickCount) {
    int button = 0, count = 0;
    ClickCountToButton(clickCount, button, count);
    MouseDown(x, y, button, count);
}

void Widget::MouseUp(int, int, int, int) {}

void Widget::MouseUp(int x, int y, int clickCount) {
    MouseUp(x, y);
    int button = 0, count = 0;
    ClickCountToButton(clickCount, button, count);
    MouseUp(x, y, button, count);
}

void Widget::MouseUp(int, int) {}

void Widget::MouseDrag(int, int) {}

void Widget::MouseWheel(int) {}

bool Widget::IsPointVisible(int, int) const { return true; }

int Widget::DigitCount(int n) {
    long long v = n < 0 ? -static_cast<long long>(n) : n;
    int digits = 1;
    while (v >= 10) {
        v /= 10;
        ++digits;
    }
    return digits;
}

bool Widget::Contains(int x, int y) const { return GetRect().Contains(x, y); }

Rect Widget::InsetRect() const {
    return Rect(mX + mMouseInsets.left, mY + mMouseInsets.top,
                mWidth - mMouseInsets.left - mMouseInsets.right,
                mHeight - mMouseInsets.top - mMouseInsets.bottom);
}

}  // namespace Orvane
