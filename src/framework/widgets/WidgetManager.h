// WidgetManager: the root of the widget tree. The application's frame loop asks it to update
// the tree once per logic step (and fractionally in vertical-sync mode), to draw the dirty
// widgets into the screen image, and hands it the queued key, mouse and focus events. It
// routes keys to the focus widget and mouse events to the widget under the cursor, or to the
// widget that got the press while buttons are held.
#pragma once

#include <array>
#include <climits>
#include <mutex>
#include <thread>
#include <vector>

#include "framework/widgets/WidgetContainer.h"

namespace Orvane {

class Image;
class WidgetHost;

class WidgetManager : public WidgetContainer {
public:
    static constexpr int kKeyTableSize = 255;
    static constexpr int kDefaultFlags = WIDGETFLAGS_UPDATE | WIDGETFLAGS_DRAW |
                                         WIDGETFLAGS_CLIP | WIDGETFLAGS_ALLOW_MOUSE |
                                         WIDGETFLAGS_ALLOW_FOCUS;   // 61

    // host may be null (no cursor changes, no acceleration). The thread that builds the
    // manager owns the tree: widgets added to it from another thread (the loading thread)
    // join at the start of the next update or draw.
    explicit WidgetManager(WidgetHost* host = nullptr);
    ~WidgetManager() override;

    void SetHost(WidgetHost* host) { mHost = host; }
    WidgetHost* GetHost() const { return mHost; }
    // The image DrawScreen draws into (not owned; null draws nothing).
    void SetScreenImage(Image* image) { mImage = image; }
    Image* GetScreenImage() const { return mImage; }

    // --- Frame loop ---------------------------------------------------------------------
    // One logic step; returns whether anything is dirty afterwards.
    bool UpdateWidgets();
    // Fractional update with the length of the update cycle in steps.
    void UpdateWidgetsFraction(float fraction);
    // Draws every dirty top-level widget, then the deferred overlays; returns whether
    // something was drawn.
    bool DrawScreen();

    // --- Input from the deferred message queue ------------------------------------------
    void KeyDown(int keyCode);
    void KeyUp(int keyCode);
    void KeyChar(char c);
    void MouseMove(int x, int y);
    // clickCount: 1 left, 2 left double, -1 right, -2 right double, 3 middle.
    void MouseDown(int x, int y, int clickCount);
    void MouseUp(int x, int y, int clickCount);
    void MouseWheel(int delta);
    void MouseExit(int x, int y);
    // Maps a window position through the mouse source and destination rectangles.
    void MapMouse(int& x, int& y) const;
    // Application focus gained / lost.
    void GotFocus();
    void LostFocus();
    // Sends a release for every held button to the widget that holds them.
    void ReleaseAllButtons();
    // Sets the manager's rectangle (also the mouse source rectangle) and the mouse
    // destination rectangle.
    void Resize(const Rect& rect, const Rect& mouseDestRect);
    void MarkAllDirty() override;
    void SysColorsChanged() override;
    void SysColorsChangedTree() override;
    // Key-down table (virtual key codes below 255), e.g. for Control+Alt checks.
    bool IsKeyDown(int keyCode) const;

    // --- Tree services ------------------------------------------------------------------
    void ForgetWidget(Widget* widget) override;
    void SetFocus(Widget* widget) override;
    void MarkDirty(WidgetContainer* child) override;
    void MarkDirty() override;
    void MarkDirtyFull(WidgetContainer* child) override;
    void MarkDirtyFull() override;

    // The widget under (x, y) in manager coordinates, or null; localX/Y get the position
    // relative to it. Disabled widgets count as none.
    Widget* GetWidgetAt(int x, int y, int* localX = nullptr, int* localY = nullptr);
    bool IsLeftButtonDown() const { return (mActualDownButtons & 1) != 0; }
    bool IsMiddleButtonDown() const { return (mActualDownButtons & 4) != 0; }
    bool IsRightButtonDown() const { return (mActualDownButtons & 2) != 0; }
    // Re-evaluates the widget under the mouse after the tree changed.
    void RehupMouse();
    bool IsOwnerThread() const { return std::this_thread::get_id() == mOwnerThread; }
    // Applies the additions, focus changes and dirty marks queued by other threads (called by
    // update and draw).
    void AddPendingWidgets();

    // Queues a widget's overlay to be drawn after the widgets of lower priority; only while
    // drawing.
    void DeferOverlay(Widget* widget, int priority);
    // Flushes queued overlays up to and including maxPriority, lowest priority first.
    void FlushDeferredOverlayWidgets(int maxPriority);
    // The drawing context of the running draw pass, or null.
    Graphics* CurrentGraphics() const { return mCurrentGraphics; }

    // Effective flags: the manager's flags, with the lost-focus modification while the
    // application lacks focus.
    int GetWidgetFlags() const;
    void SetBaseModal(Widget* widget, const FlagsMod& belowModalFlagsMod);
    void SetBaseModal(Widget* widget);
    Widget* GetBaseModal() const { return mBaseModalWidget; }
    // A transient widget (e.g. a popup menu) that is removed on any press outside it.
    void SetPopupCommandWidget(Widget* widget);

    Widget* GetFocusWidget() const { return mFocusWidget; }
    Widget* GetOverWidget() const { return mOverWidget; }
    Widget* GetLastDownWidget() const { return mLastDownWidget; }
    bool HasFocus() const { return mHasFocus; }
    bool IsMouseIn() const { return mMouseIn; }
    int LastMouseX() const { return mLastMouseX; }
    int LastMouseY() const { return mLastMouseY; }
    int DownButtons() const { return mDownButtons; }
    int ActualDownButtons() const { return mActualDownButtons; }
    int ManagerUpdateCount() const { return mManagerUpdateCount; }
    int LastInputUpdateCount() const { return mLastInputUpdateCount; }
    int LastDownButtonId() const { return mLastDownButtonId; }

    // Public settings, as the application sets them.
    int mWidgetFlags = kDefaultFlags;
    FlagsMod mLostFocusFlagsMod;
    FlagsMod mBelowModalFlagsMod{0, WIDGETFLAGS_ALLOW_MOUSE | WIDGETFLAGS_ALLOW_FOCUS};
    Widget* mDefaultTab = nullptr;
    Rect mMouseSourceRect;
    Rect mMouseDestRect;

private:
    friend class WidgetContainer;
    friend class Widget;

    void MousePosition(int x, int y);
    void MouseDrag(int x, int y);
    void EnterWidget(Widget* widget);
    void LeaveWidget(Widget* widget);
    void NoteInput() { mLastInputUpdateCount = mManagerUpdateCount; }
    Widget* WidgetAtHelper(WidgetContainer* container, int x, int y, int flags, int* localX,
                           int* localY);
    void DrawOverlayOf(Widget* widget, int priority);
    void QueueAdd(WidgetContainer* parent, Widget* widget);
    void QueueDirty(WidgetContainer* container, bool full);
    // Forgets every queued change of the widget, and the additions into it.
    void DropQueuedAdd(const Widget* widget);

    struct DeferredOverlay {
        Widget* widget;
        int priority;
    };

    WidgetHost* mHost = nullptr;
    Image* mImage = nullptr;
    Graphics* mCurrentGraphics = nullptr;
    Widget* mPopupCommandWidget = nullptr;
    Widget* mFocusWidget = nullptr;
    Widget* mLastDownWidget = nullptr;
    Widget* mOverWidget = nullptr;
    Widget* mBaseModalWidget = nullptr;
    bool mHasFocus = true;
    int mManagerUpdateCount = 0;
    int mLastInputUpdateCount = 0;
    bool mMouseIn = false;
    int mLastMouseX = 0;
    int mLastMouseY = 0;
    int mDownButtons = 0;
    int mActualDownButtons = 0;
    int mLastDownButtonId = 0;
    std::array<bool, kKeyTableSize> mKeyDown{};
    int mMinDeferredOverlayPriority = INT_MAX;
    std::vector<DeferredOverlay> mDeferredOverlays;

    // A tree change requested by another thread: an addition of widget into container, a
    // focus change to widget (no container), or a dirty mark of container (no widget; full
    // when what lies behind it is to be redrawn too).
    struct PendingChange {
        WidgetContainer* container;
        Widget* widget;
        bool full = false;
        // The one whose destruction or removal cancels the change.
        WidgetContainer* Subject() const;
    };
    std::thread::id mOwnerThread;
    std::mutex mPendingMutex;
    std::vector<PendingChange> mPendingChanges;
};

}  // namespace Orvane
