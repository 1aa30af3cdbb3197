// The window procedure: platform records either act at once or join the deferred queue,
// which the loop works through between logic steps.
#include "framework/app/OrvaneAppBase.h"

#include "framework/platform/VirtualKeys.h"

namespace Orvane {

namespace {

bool IsQueuedKind(uint32_t message) {
    switch (message) {
    case WM_KEYDOWN: case WM_KEYUP: case WM_SYSKEYDOWN: case WM_SYSKEYUP: case WM_CHAR:
    case WM_MOUSEMOVE: case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK: case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: case WM_MBUTTONDBLCLK: case WM_MOUSEWHEEL:
    case WM_MOVE: case WM_SIZE: case WM_CLOSE: case WM_TIMER: case WM_ACTIVATEAPP:
    case WM_SYSCOLORCHANGE: case WM_DISPLAYCHANGE:
        return true;
    default:
        return false;
    }
}

}  // namespace

void OrvaneAppBase::DispatchPlatformMessages() {
    Platform& platform = GetPlatform();
    mPumpBuffer.clear();
    platform.PumpMessages(mPumpBuffer);
    for (const WindowMessage& message : mPumpBuffer) {
        if (mShutdown) return;
        WindowProc(message);
    }
    // The frame timer of the main window.
    if (mFrameTimerRunning && !mShutdown) {
        const uint32_t now = platform.TimeMs();
        if (now - mLastFrameTimerFire >= static_cast<uint32_t>(mFrameTime)) {
            mLastFrameTimerFire = now;
            WindowMessage timer;
            timer.window = MainWindowId();
            timer.message = WM_TIMER;
            timer.wParam = kFrameTimerId;
            WindowProc(timer);
        }
    }
}

bool OrvaneAppBase::OnRawKeyDown(int, bool, bool) { return false; }

bool OrvaneAppBase::WindowProc(const WindowMessage& message) {
    const uint32_t code = message.message;
    if (IsQueuedKind(code)) {
        const bool keyDown = code == WM_KEYDOWN || code == WM_SYSKEYDOWN;
        const bool keyUp = code == WM_KEYUP || code == WM_SYSKEYUP;
        if (keyDown || keyUp) {
            if (message.wParam == VK_CONTROL) mCtrlDown = keyDown;
            if (message.wParam == VK_MENU) mAltDown = keyDown;
            if (keyDown && OnRawKeyDown(static_cast<int>(message.wParam), mCtrlDown, mAltDown)) {
                return true;
            }
        }

        // Queuing rules: nothing after a close; no second timer in a row; one pending
        // colour or display change at most.
        bool drop = !mDeferredQueue.empty() && mDeferredQueue.back().message == WM_CLOSE;
        if (!drop && code == WM_TIMER) {
            drop = !mDeferredQueue.empty() && mDeferredQueue.back().message == WM_TIMER;
        }
        if (!drop && (code == WM_SYSCOLORCHANGE || code == WM_DISPLAYCHANGE)) {
            for (const WindowMessage& queued : mDeferredQueue) {
                if (queued.message == code) drop = true;
            }
        }
        if (!drop) mDeferredQueue.push_back(message);

        if (code == WM_SIZE) mMinimized = message.wParam == SIZE_MINIMIZED;
        // Of the Alt combinations only Alt+F4 goes on to the window system.
        if (code == WM_SYSKEYDOWN) return message.wParam != VK_F4;
        if (code == WM_CLOSE) OnCloseRequest();
        return true;
    }

    switch (code) {
    case WM_PAINT:
        if (mInitialized && mRunning) PresentScreen();
        return true;
    case WM_SETCURSOR:
        ApplyCursor();
        return true;
    case WM_ENABLE:
        mDisabled = message.wParam == 0;
        return true;
    case WM_QUERYOPEN:
        return CanRestoreWindow();
    case WM_ENDSESSION:
        RequestShutdown();
        return true;
    case WM_NCLBUTTONDOWN:
        // Dragging the title bar blocks the loop: the time spent there is not owed.
        DropTimeDebt(false);
        return false;
    default:
        return false;
    }
}

}  // namespace Orvane
