#include "framework/widgets/WidgetManager.h"

#include <algorithm>
#include <iterator>

#include "framework/graphics/Graphics.h"
#include "framework/widgets/Widget.h"
#include "framework/platform/VirtualKeys.h"
#include "framework/widgets/WidgetHost.h"

namespace Orvane {

namespace {
constexpr int kKeyTab = static_cast<int>(VK_TAB);
constexpr int kKeyControl = static_cast<int>(VK_CONTROL);

constexpr int kButtonLeft = 1;
constexpr int kButtonRight = 2;
constexpr int kButtonMiddle = 4;

// The button bit of a click count: 3 middle, negative right, otherwise left.
int ButtonBit(int clickCount) {
    if (clickCount == 3) return kButtonMiddle;
    if (clickCount < 0) return kButtonRight;
    return kButtonLeft;
}

int ButtonId(int clickCount) {
    if (clickCount == 3) return 2;
    if (clickCount < 0) return -1;
    return 1;
}
}  // namespace

WidgetManager::WidgetManager(WidgetHost* host)
    : mHost(host), mOwnerThread(std::this_thread::get_id()) {
    SetManager(this);
}

WidgetManager::~WidgetManager() {
    {
        std::lock_guard<std::mutex> lock(mPendingMutex);
        for (const PendingChange& p : mPendingChanges) p.Subject()->mQueuedIn = nullptr;
        mPendingChanges.clear();
    }
    // Detach every top-level widget while this object is still a whole manager.
    RemoveAllWidgets(false);
    SetManager(nullptr);
}

int WidgetManager::GetWidgetFlags() const {
    return mHasFocus ? mWidgetFlags : mLostFocusFlagsMod.Apply(mWidgetFlags);
}

// --- Update ------------------------------------------------------------------------------

WidgetContainer* WidgetManager::PendingChange::Subject() const {
    if (widget != nullptr) return widget;
    return container;
}

void WidgetManager::QueueAdd(WidgetContainer* parent, Widget* widget) {
    std::lock_guard<std::mutex> lock(mPendingMutex);
    widget->mQueuedIn = this;
    // Marks from the queueing thread follow the widget into the queue from now on.
    if (parent != nullptr) widget->mTreeManager = this;
    mPendingChanges.push_back({parent, widget});
}

void WidgetManager::QueueDirty(WidgetContainer* container, bool full) {
    std::lock_guard<std::mutex> lock(mPendingMutex);
    for (PendingChange& p : mPendingChanges) {
        if (p.widget == nullptr && p.container == container) {
            p.full = p.full || full;   // one mark is enough
            return;
        }
    }
    container->mQueuedIn = this;
    mPendingChanges.push_back({container, nullptr, full});
}

void WidgetManager::DropQueuedAdd(const Widget* widget) {
    std::lock_guard<std::mutex> lock(mPendingMutex);
    // Changes of the widget itself, and children waiting to join it.
    auto matches = [widget](const PendingChange& p) {
        return p.widget == widget || p.container == widget;
    };
    for (const PendingChange& p : mPendingChanges) {
        if (!matches(p)) continue;
        p.Subject()->mQueuedIn = nullptr;
        // An addition that never happens: the widget stays out of the tree.
        if (p.container != nullptr && p.widget != nullptr && p.widget->mWidgetManager == nullptr)
            p.widget->mTreeManager = nullptr;
    }
    mPendingChanges.erase(
        std::remove_if(mPendingChanges.begin(), mPendingChanges.end(), matches),
        mPendingChanges.end());
}

void WidgetManager::AddPendingWidgets() {
    std::vector<PendingChange> pending;
    {
        std::lock_guard<std::mutex> lock(mPendingMutex);
        if (mPendingChanges.empty()) return;
        pending.swap(mPendingChanges);
        for (const PendingChange& p : pending) p.Subject()->mQueuedIn = nullptr;
    }
    for (const PendingChange& p : pending) {
        if (p.widget == nullptr) {
            // Only a widget still in this tree is marked.
            if (p.container->mWidgetManager != this) continue;
            if (p.full) {
                p.container->MarkDirtyFull();
            } else {
                p.container->MarkDirty();
            }
        } else if (p.container != nullptr) {
            p.container->AddWidget(p.widget);
        } else {
            SetFocus(p.widget);
        }
    }
}

bool WidgetManager::UpdateWidgets() {
    AddPendingWidgets();
    const int flags = GetWidgetFlags();
    ++mManagerUpdateCount;
    UpdateTree(flags);
    return mDirty;
}

void WidgetManager::UpdateWidgetsFraction(float fraction) {
    UpdateFractionTree(GetWidgetFlags(), fraction);
}

// --- Dirty marking -----------------------------------------------------------------------

void WidgetManager::MarkDirty() { mDirty = true; }

void WidgetManager::MarkDirtyFull() { mDirty = true; }

void WidgetManager::MarkDirty(WidgetContainer* child) {
    if (child == nullptr || child->mDirty) return;
    mDirty = true;
    child->mDirty = true;

    if (child->mHasAlpha) {
        // See-through: what lies behind must be redrawn as well.
        MarkDirtyFull(child);
        return;
    }
    // Opaque: only what lies in front of it and overlaps it is drawn over again.
    auto it = std::find(mChildren.begin(), mChildren.end(), child);
    if (it == mChildren.end()) return;
    for (++it; it != mChildren.end(); ++it) {
        Widget* w = *it;
        if (w->mVisible && w->Intersects(child)) MarkDirty(w);
    }
}

void WidgetManager::MarkDirtyFull(WidgetContainer* child) {
    MarkDirtyFull();
    if (child == nullptr) return;
    child->mDirty = true;

    auto it = std::find(mChildren.begin(), mChildren.end(), child);
    if (it == mChildren.end()) return;

    const Rect rect = child->GetRect();
    auto start = mChildren.begin();
    // Behind the child: stop at the first opaque widget that covers it entirely.
    for (auto back = it; back != mChildren.begin();) {
        --back;
        Widget* w = *back;
        if (!w->mVisible) continue;
        if (!w->mHasTransparencies && !w->mHasAlpha && !rect.IsEmpty() &&
            w->Contains(rect.x, rect.y) &&
            w->Contains(rect.x + rect.width - 1, rect.y + rect.height - 1)) {
            w->mDirty = true;
            start = back;
            break;
        }
        if (w->Intersects(child)) w->mDirty = true;
    }
    for (auto fwd = start; fwd != mChildren.end(); ++fwd) {
        Widget* w = *fwd;
        if (w->mVisible && w->Intersects(child)) w->mDirty = true;
    }
}

void WidgetManager::MarkAllDirty() {
    mDirty = true;
    for (Widget* child : mChildren) child->MarkAllDirty();
}

// --- Drawing -----------------------------------------------------------------------------

bool WidgetManager::DrawScreen() {
    AddPendingWidgets();
    const int flags = GetWidgetFlags();
    int dirtyCount = 0;
    for (Widget* child : mChildren)
        if (child->mDirty) ++dirtyCount;

    mMinDeferredOverlayPriority = INT_MAX;
    mDeferredOverlays.clear();
    if (mImage == nullptr) return false;

    Graphics screen(mImage);
    mCurrentGraphics = &screen;
    if (mHost != nullptr) mHost->BeginScreenDraw();

    bool drewSomething = false;
    if (dirtyCount > 0) {
        Graphics base(screen);
        base.Translate(-mMouseDestRect.x, -mMouseDestRect.y);
        const bool accelerated = mHost != nullptr && mHost->IsHardwareAccelerated();
        const Widget* modal = ModalChild();
        bool belowModal = modal != nullptr;
        for (auto it = mChildren.begin(); it != mChildren.end(); ++it) {
            Widget* child = *it;
            if (child == modal) belowModal = false;
            if (!child->mVisible) {
                // Nothing shows; showing it again marks it anew.
                child->mDirty = false;
                continue;
            }
            if (!child->mDirty) continue;
            Graphics g(base);
            g.SetAccelerated(accelerated);
            g.Translate(child->mX, child->mY);
            child->DrawTree(ChildFlags(flags, belowModal), g);
            drewSomething = true;
            child->mDirty = false;
        }
    }

    FlushDeferredOverlayWidgets(INT_MAX);
    if (mHost != nullptr) mHost->EndScreenDraw();
    mCurrentGraphics = nullptr;
    mDirty = false;
    return drewSomething;
}

void WidgetManager::DeferOverlay(Widget* widget, int priority) {
    if (widget == nullptr || mCurrentGraphics == nullptr) return;
    mDeferredOverlays.push_back({widget, priority});
    mMinDeferredOverlayPriority = std::min(mMinDeferredOverlayPriority, priority);
}

void WidgetManager::FlushDeferredOverlayWidgets(int maxPriority) {
    while (!mDeferredOverlays.empty()) {
        int lowest = INT_MAX;
        for (const DeferredOverlay& d : mDeferredOverlays) lowest = std::min(lowest, d.priority);
        if (lowest > maxPriority) break;

        // Take this priority's entries out first: drawing them may defer further overlays.
        std::vector<DeferredOverlay> batch;
        auto split = std::stable_partition(
            mDeferredOverlays.begin(), mDeferredOverlays.end(),
            [lowest](const DeferredOverlay& d) { return d.priority != lowest; });
        batch.assign(split, mDeferredOverlays.end());
        mDeferredOverlays.erase(split, mDeferredOverlays.end());
        for (const DeferredOverlay& d : batch) DrawOverlayOf(d.widget, d.priority);
    }
    mMinDeferredOverlayPriority = INT_MAX;
    for (const DeferredOverlay& d : mDeferredOverlays)
        mMinDeferredOverlayPriority = std::min(mMinDeferredOverlayPriority, d.priority);
}

void WidgetManager::DrawOverlayOf(Widget* widget, int priority) {
    if (mCurrentGraphics == nullptr || widget->mWidgetManager != this) return;
    const bool accelerated = mHost != nullptr && mHost->IsHardwareAccelerated();
    Graphics g(*mCurrentGraphics);
    g.SetAccelerated(accelerated);
    const WidgetPoint p = widget->AbsolutePosition();
    g.Translate(p.x - mMouseDestRect.x, p.y - mMouseDestRect.y);
    widget->DrawOverlay(g, priority);
}

// --- Hit testing -------------------------------------------------------------------------

Widget* WidgetManager::WidgetAtHelper(WidgetContainer* container, int x, int y, int flags,
                                      int* localX, int* localY) {
    const Widget* modal = container->ModalChild();
    bool belowModal = false;
    // Front to back: the last child is hit first.
    for (auto it = container->mChildren.rbegin(); it != container->mChildren.rend(); ++it) {
        Widget* w = *it;
        const int childFlags = w->mWidgetFlagsMod.Apply(container->ChildFlags(flags, belowModal));
        if (w == modal) belowModal = true;   // everything after this in the walk is behind it
        if (!w->mVisible || !(childFlags & WIDGETFLAGS_ALLOW_MOUSE)) continue;

        if (Widget* inner = WidgetAtHelper(w, x - w->mX, y - w->mY, childFlags, localX, localY))
            return inner;
        if (w->mMouseVisible && w->InsetRect().Contains(x, y) &&
            w->IsPointVisible(x - w->mX, y - w->mY)) {
            if (localX != nullptr) *localX = x - w->mX;
            if (localY != nullptr) *localY = y - w->mY;
            return w;
        }
    }
    return nullptr;
}

Widget* WidgetManager::GetWidgetAt(int x, int y, int* localX, int* localY) {
    int lx = 0, ly = 0;
    Widget* hit = WidgetAtHelper(this, x, y, GetWidgetFlags(), &lx, &ly);
    // A disabled widget (or one inside a disabled one) swallows the hit: nothing behind it
    // is hit either.
    for (WidgetContainer* c = hit; c != nullptr && c != this; c = c->mParent) {
        if (static_cast<Widget*>(c)->mDisabled) {
            hit = nullptr;
            break;
        }
    }
    if (hit != nullptr) {
        if (localX != nullptr) *localX = lx;
        if (localY != nullptr) *localY = ly;
    }
    return hit;
}

// --- Mouse -------------------------------------------------------------------------------

void WidgetManager::MapMouse(int& x, int& y) const {
    if (mMouseSourceRect.width <= 0 || mMouseSourceRect.height <= 0) return;
    x = static_cast<int>(static_cast<long long>(x - mMouseSourceRect.x) * mMouseDestRect.width /
                             mMouseSourceRect.width +
                         mMouseDestRect.x);
    y = static_cast<int>(static_cast<long long>(y - mMouseSourceRect.y) *
                             mMouseDestRect.height / mMouseSourceRect.height +
                         mMouseDestRect.y);
}

void WidgetManager::EnterWidget(Widget* widget) {
    widget->mIsOver = true;
    widget->MouseEnter();
    if (widget->mShowHandOnHover) widget->ShowHandCursor(true);
}

void WidgetManager::LeaveWidget(Widget* widget) {
    widget->mIsOver = false;
    widget->MouseLeave();
    if (widget->mShowHandOnHover) widget->ShowHandCursor(false);
}

void WidgetManager::MousePosition(int x, int y) {
    const int lastX = mLastMouseX;
    const int lastY = mLastMouseY;
    mMouseIn = true;
    mLastMouseX = x;
    mLastMouseY = y;

    int localX = 0, localY = 0;
    Widget* widget = GetWidgetAt(x, y, &localX, &localY);
    if (widget == mOverWidget && x == lastX && y == lastY) return;

    if (widget != mOverWidget) {
        Widget* old = mOverWidget;
        mOverWidget = nullptr;
        if (old != nullptr) LeaveWidget(old);
        mOverWidget = widget;
        if (widget != nullptr) EnterWidget(widget);
    }
    // The enter or leave callbacks may have removed it from the tree.
    if (widget != nullptr && widget == mOverWidget) widget->MouseMove(localX, localY);
}

void WidgetManager::MouseDrag(int x, int y) {
    mMouseIn = true;
    mLastMouseX = x;
    mLastMouseY = y;

    if (mOverWidget != nullptr && mOverWidget != mLastDownWidget) {
        Widget* old = mOverWidget;
        mOverWidget = nullptr;
        LeaveWidget(old);
    }
    if (mLastDownWidget == nullptr) return;

    const WidgetPoint p = mLastDownWidget->AbsolutePosition();
    mLastDownWidget->MouseDrag(x - p.x, y - p.y);
    if (mLastDownWidget == nullptr) return;   // the drag handler removed it

    Widget* under = GetWidgetAt(x, y);
    if (under == mLastDownWidget) {
        if (mOverWidget == nullptr) {
            mOverWidget = under;
            EnterWidget(under);
        }
    } else if (mOverWidget != nullptr) {
        Widget* old = mOverWidget;
        mOverWidget = nullptr;
        LeaveWidget(old);
    }
}

void WidgetManager::MouseMove(int x, int y) {
    NoteInput();
    if ((mDownButtons != 0 || mActualDownButtons != 0) && mLastDownWidget != nullptr)
        MouseDrag(x, y);
    else
        MousePosition(x, y);
}

void WidgetManager::MouseDown(int x, int y, int clickCount) {
    NoteInput();
    const int bit = ButtonBit(clickCount);
    mActualDownButtons |= bit;
    MouseMove(x, y);

    if (mPopupCommandWidget != nullptr) {
        const WidgetPoint p = mPopupCommandWidget->AbsolutePosition();
        const Rect area(p.x, p.y, mPopupCommandWidget->mWidth, mPopupCommandWidget->mHeight);
        if (!area.Contains(x, y)) {
            Widget* popup = mPopupCommandWidget;
            mPopupCommandWidget = nullptr;
            if (popup->mParent != nullptr) popup->mParent->RemoveWidget(popup);
        }
    }

    // While buttons are held the widget that got the first press keeps them all.
    Widget* target = mDownButtons != 0 ? mLastDownWidget : GetWidgetAt(x, y);
    mDownButtons |= bit;
    mLastDownButtonId = ButtonId(clickCount);
    mLastDownWidget = target;
    if (target == nullptr) return;

    if (target->WantsFocus()) SetFocus(target);
    if (mLastDownWidget != target) return;   // a focus handler removed it

    target->mIsDown = true;
    const WidgetPoint p = target->AbsolutePosition();
    target->MouseDown(x - p.x, y - p.y, clickCount);
}

void WidgetManager::MouseUp(int x, int y, int clickCount) {
    NoteInput();
    const int bit = ButtonBit(clickCount);
    mActualDownButtons &= ~bit;

    if (mLastDownWidget != nullptr && (mDownButtons & bit) != 0) {
        Widget* widget = mLastDownWidget;
        mDownButtons &= ~bit;
        if (mDownButtons == 0) mLastDownWidget = nullptr;
        widget->mIsDown = false;
        const WidgetPoint p = widget->AbsolutePosition();
        // Coordinates stay relative to the widget that got the press, even off it.
        widget->MouseUp(x - p.x, y - p.y, clickCount);
    } else {
        mDownButtons &= ~bit;
    }
    MouseMove(x, y);
}

void WidgetManager::ReleaseAllButtons() {
    Widget* widget = mLastDownWidget;
    const int held = mDownButtons;
    // Cleared first: a release handler may remove the widget, which forgets it again.
    mDownButtons = 0;
    mLastDownWidget = nullptr;
    if (widget == nullptr) return;

    static constexpr struct {
        int bit;
        int clickCount;
    } kReleases[] = {{kButtonLeft, 1}, {kButtonRight, -1}, {kButtonMiddle, 3}};
    for (const auto& r : kReleases) {
        if ((held & r.bit) == 0) continue;
        widget->mIsDown = false;
        const WidgetPoint p = widget->AbsolutePosition();
        widget->MouseUp(mLastMouseX - p.x, mLastMouseY - p.y, r.clickCount);
    }
}

void WidgetManager::MouseWheel(int delta) {
    NoteInput();
    if (mFocusWidget != nullptr) mFocusWidget->MouseWheel(delta);
}

void WidgetManager::MouseExit(int, int) {
    mMouseIn = false;
    if (mOverWidget != nullptr) {
        Widget* old = mOverWidget;
        mOverWidget = nullptr;
        LeaveWidget(old);
    }
}

void WidgetManager::RehupMouse() {
    if (mLastDownWidget != nullptr) {
        // Buttons held: the holder stays the target; only the hover state can end.
        if (mOverWidget != nullptr && GetWidgetAt(mLastMouseX, mLastMouseY) != mOverWidget) {
            Widget* old = mOverWidget;
            mOverWidget = nullptr;
            LeaveWidget(old);
        }
    } else if (mMouseIn) {
        MousePosition(mLastMouseX, mLastMouseY);
    }
}

// --- Keys --------------------------------------------------------------------------------

bool WidgetManager::IsKeyDown(int keyCode) const {
    return keyCode >= 0 && keyCode < kKeyTableSize && mKeyDown[keyCode];
}

void WidgetManager::KeyDown(int keyCode) {
    NoteInput();
    if (keyCode >= 0 && keyCode < kKeyTableSize) mKeyDown[keyCode] = true;
    if (mFocusWidget != nullptr) mFocusWidget->KeyDown(keyCode);
}

void WidgetManager::KeyUp(int keyCode) {
    NoteInput();
    if (keyCode >= 0 && keyCode < kKeyTableSize) mKeyDown[keyCode] = false;
    if (keyCode == kKeyTab && IsKeyDown(kKeyControl)) return;
    if (mFocusWidget != nullptr) mFocusWidget->KeyUp(keyCode);
}

void WidgetManager::KeyChar(char c) {
    NoteInput();
    if (c == kKeyTab && IsKeyDown(kKeyControl)) {
        if (mDefaultTab != nullptr) mDefaultTab->KeyChar(static_cast<char>(kKeyTab));
        return;
    }
    if (mFocusWidget != nullptr) mFocusWidget->KeyChar(c);
}

// --- Focus -------------------------------------------------------------------------------

void WidgetManager::SetFocus(Widget* widget) {
    if (!IsOwnerThread()) {
        // After any addition queued before it, so that a widget added and focused by the
        // loading thread ends up focused.
        if (widget != nullptr) QueueAdd(nullptr, widget);
        return;
    }
    if (widget == mFocusWidget) return;
    Widget* old = mFocusWidget;
    mFocusWidget = nullptr;
    if (old != nullptr) old->LostFocus();

    if (widget != nullptr && widget->mWidgetManager == this) {
        mFocusWidget = widget;
        if (mHasFocus) widget->GotFocus();
    }
}

void WidgetManager::GotFocus() {
    if (mHasFocus) return;
    mHasFocus = true;
    if (mFocusWidget != nullptr) mFocusWidget->GotFocus();
}

void WidgetManager::LostFocus() {
    if (!mHasFocus) return;
    mActualDownButtons = 0;
    // Keys held while the focus goes would never see their release: send it now.
    for (int key = 0; key < kKeyTableSize; ++key)
        if (mKeyDown[key]) KeyUp(key);
    mHasFocus = false;
    if (mFocusWidget != nullptr) mFocusWidget->LostFocus();
}

// --- Tree services -----------------------------------------------------------------------

void WidgetManager::ForgetWidget(Widget* widget) {
    if (widget == nullptr) return;
    if (widget == mOverWidget) {
        mOverWidget = nullptr;
        LeaveWidget(widget);
    }
    if (widget == mLastDownWidget) ReleaseAllButtons();
    if (widget == mFocusWidget) {
        mFocusWidget = nullptr;
        widget->LostFocus();
    }
    if (widget == mBaseModalWidget) mBaseModalWidget = nullptr;
    // Nothing else may keep pointing at a widget that leaves the tree.
    if (widget == mPopupCommandWidget) mPopupCommandWidget = nullptr;
    if (widget == mDefaultTab) mDefaultTab = nullptr;
    mDeferredOverlays.erase(std::remove_if(mDeferredOverlays.begin(), mDeferredOverlays.end(),
                                           [widget](const DeferredOverlay& d) {
                                               return d.widget == widget;
                                           }),
                            mDeferredOverlays.end());
}

void WidgetManager::SetBaseModal(Widget* widget, const FlagsMod& belowModalFlagsMod) {
    mBaseModalWidget = widget;
    mBelowModalFlagsMod = belowModalFlagsMod;
    RehupMouse();
}

void WidgetManager::SetBaseModal(Widget* widget) {
    mBaseModalWidget = widget;
    RehupMouse();
}

void WidgetManager::SetPopupCommandWidget(Widget* widget) {
    if (mPopupCommandWidget != nullptr && mPopupCommandWidget != widget &&
        mPopupCommandWidget->mParent != nullptr)
        mPopupCommandWidget->mParent->RemoveWidget(mPopupCommandWidget);
    mPopupCommandWidget = widget;
    if (widget != nullptr && widget->mParent == nullptr) AddWidget(widget);
}

void WidgetManager::Resize(const Rect& rect, const Rect& mouseDestRect) {
    mX = rect.x;
    mY = rect.y;
    mWidth = rect.width;
    mHeight = rect.height;
    mMouseSourceRect = rect;
    mMouseDestRect = mouseDestRect;
    MarkAllDirty();
}

void WidgetManager::SysColorsChanged() {
    for (Widget* child : mChildren) child->SysColorsChangedTree();
}

void WidgetManager::SysColorsChangedTree() { SysColorsChanged(); }

}  // namespace Orvane
