// Handling the deferred records: keys, mouse, window changes and focus reach the widget
// manager here, between logic steps.
#include "framework/app/OrvaneAppBase.h"

#include "framework/graphics/Rect.h"
#include "framework/platform/VirtualKeys.h"
#include "framework/widgets/WidgetManager.h"

namespace Orvane {

bool OrvaneAppBase::HandleQueuedMessages(bool single) {
    while (!mDeferredQueue.empty()) {
        const WindowMessage message = mDeferredQueue.front();
        mDeferredQueue.pop_front();
        ProcessDeferredMessage(message);
        if (single) break;
    }
    return !mDeferredQueue.empty();
}

bool OrvaneAppBase::ProcessDeferredMessage(const WindowMessage& message) {
    WidgetManager& widgets = *mWidgetManager;
    const bool mainWindow = message.window == MainWindowId();
    const int key = static_cast<int>(message.wParam);

    switch (message.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        mLastUserInputTick = mLastTimerTick;
        if (key == static_cast<int>(VK_RETURN) && message.message == WM_SYSKEYDOWN &&
            !mForceFullScreen && !mForceWindowed) {
            // Alt+Enter: the other screen mode. The keys held across the switch are
            // forgotten, so none stays stuck down.
            SetScreenMode(!mIsWindowed);
            for (int k = 0; k < WidgetManager::kKeyTableSize; ++k) {
                if (widgets.IsKeyDown(k)) widgets.KeyUp(k);
            }
            mCtrlDown = false;
            mAltDown = false;
            return true;
        }
        if (key == 'D' && widgets.IsKeyDown(static_cast<int>(VK_CONTROL)) &&
            widgets.IsKeyDown(static_cast<int>(VK_MENU))) {
            mDebugKeysEnabled = !mDebugKeysEnabled;
        }
        if (!(mDebugKeysEnabled && OnDebugKey(key))) widgets.KeyDown(key);
        return true;

    case WM_KEYUP:
    case WM_SYSKEYUP:
        mLastUserInputTick = mLastTimerTick;
        widgets.KeyUp(key);
        return true;

    case WM_CHAR:
        widgets.KeyChar(static_cast<char>(message.wParam & 0xFF));
        return true;

    case WM_MOVE:
        if (mIsWindowed && !mMinimized) {
            mPreferredX = PointParamX(message.lParam);
            mPreferredY = PointParamY(message.lParam);
        }
        return true;

    case WM_SIZE:
        HandleSizeRecord(message);
        return true;

    case WM_SYSCOLORCHANGE:
    case WM_DISPLAYCHANGE:
        widgets.SysColorsChanged();
        widgets.MarkAllDirty();
        return true;

    case WM_ACTIVATEAPP:
        if (mainWindow && !mLoadingFailed && !mShutdown) {
            mActive = message.wParam != 0;
            RehupFocus();
            if (mActive && !mIsWindowed) widgets.MarkAllDirty();
        }
        return true;

    case WM_TIMER:
        if (mRunning) HandleTimerRecord();
        return true;

    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case WM_MOUSEWHEEL:
        HandleMouseRecord(message);
        return true;

    case WM_CLOSE:
        mManualShutdown = true;
        RequestShutdown();
        return true;

    default:
        return false;   // a kind the loop does not handle: dropped
    }
}

void OrvaneAppBase::HandleSizeRecord(const WindowMessage& message) {
    const bool minimized = message.wParam == SIZE_MINIMIZED;
    mMinimized = minimized;
    if (minimized != mLastHandledMinimized && message.window == MainWindowId() && !mShutdown) {
        mLastHandledMinimized = minimized;
        if (minimized) {
            if (mMuteOnLostFocus) Mute(true);
        } else {
            if (mMuteOnLostFocus) Unmute(true);
            mWidgetManager->MarkAllDirty();
        }
    }
    RehupFocus();
    if (message.wParam == SIZE_MAXIMIZED) SetScreenMode(false);
}

void OrvaneAppBase::HandleTimerRecord() {
    Platform& platform = GetPlatform();
    const uint32_t now = platform.TickCount();
    if (now - mLastTimerTick > 500) mLastBigDelayTick = now;
    mLastTimerTick = now;

    int x = 0, y = 0;
    const bool known = platform.GetCursorPosition(x, y);
    const bool inside = known && platform.CursorInClientArea() && x >= 0 && y >= 0 &&
                        x < mWidth && y < mHeight;
    if (inside == mMouseInWindow) return;
    mMouseInWindow = inside;
    if (!inside) {
        mWidgetManager->MapMouse(x, y);
        mWidgetManager->MouseExit(x, y);
    }
    ApplyCursor();
}

void OrvaneAppBase::HandleMouseRecord(const WindowMessage& message) {
    WidgetManager& widgets = *mWidgetManager;
    int x = PointParamX(message.lParam);
    int y = PointParamY(message.lParam);
    widgets.MapMouse(x, y);
    mLastUserInputTick = mLastTimerTick;
    widgets.MouseMove(x, y);
    if (!mMouseInWindow) {
        mMouseInWindow = true;
        ApplyCursor();
    }

    Platform& platform = GetPlatform();
    const bool othersHeld = (message.wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0;
    switch (message.message) {
    case WM_LBUTTONDOWN: platform.CaptureMouse(true); widgets.MouseDown(x, y, 1); break;
    case WM_LBUTTONDBLCLK: platform.CaptureMouse(true); widgets.MouseDown(x, y, 2); break;
    case WM_RBUTTONDOWN: platform.CaptureMouse(true); widgets.MouseDown(x, y, -1); break;
    case WM_RBUTTONDBLCLK: platform.CaptureMouse(true); widgets.MouseDown(x, y, -2); break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: platform.CaptureMouse(true); widgets.MouseDown(x, y, 3); break;
    case WM_LBUTTONUP:
        widgets.MouseUp(x, y, 1);
        if (!othersHeld) platform.CaptureMouse(false);
        break;
    case WM_RBUTTONUP:
        widgets.MouseUp(x, y, -1);
        if (!othersHeld) platform.CaptureMouse(false);
        break;
    case WM_MBUTTONUP:
        widgets.MouseUp(x, y, 3);
        if (!othersHeld) platform.CaptureMouse(false);
        break;
    case WM_MOUSEWHEEL:
        widgets.MouseWheel(WheelParamDelta(message.wParam) / WHEEL_DELTA);
        break;
    default:
        break;
    }
}

void OrvaneAppBase::RehupFocus() {
    const bool wanted = mActive && !mMinimized;
    if (wanted == mHasFocus) return;
    mHasFocus = wanted;
    if (wanted) {
        if (mMuteOnLostFocus) Unmute(true);
        mWidgetManager->GotFocus();
        OnFocusGained();
    } else {
        if (mMuteOnLostFocus) Mute(true);
        mWidgetManager->LostFocus();
        OnFocusLost();
        GetPlatform().CaptureMouse(false);
        mWidgetManager->ReleaseAllButtons();
    }
}

}  // namespace Orvane
