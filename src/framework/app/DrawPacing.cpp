// Drawing: dirty widgets into the screen image, then presenting it, at most once per frame
// and at least once a second even when nothing changed.
#include "framework/app/OrvaneAppBase.h"

#include "framework/display/Display.h"
#include "framework/widgets/WidgetManager.h"

#include <algorithm>

namespace Orvane {

namespace {
constexpr uint32_t kIdlePresentMs = 1000;
constexpr uint32_t kMinLoadingDrawMs = 15;
constexpr uint32_t kLoadingDrawGapMs = 35;
}  // namespace

bool OrvaneAppBase::DrawDirtyWidgets() {
    Platform& platform = GetPlatform();
    const uint32_t start = platform.TimeMs();

    // Frames-per-second figures, refreshed once a second.
    if (start - mFPSTick >= 1000) {
        mCurrentFPS = mFPSCount;
        mFPSCount = 0;
        mFPSTick = start;
    }

    mDrawing = true;
    const bool drew = mWidgetManager->DrawScreen();
    mDrawing = false;

    const auto nothingToShow = [this] {
        mHasPendingDraw = false;
        mLastDrawWasEmpty = true;
        return false;
    };
    if (!drew && start - mLastDrawTick < kIdlePresentMs && !mCustomCursorDirty) {
        return nothingToShow();
    }
    if (static_cast<int32_t>(start - mNextDrawTick) < 0) return nothingToShow();

    ++mDrawCount;
    ++mFPSCount;
    mLastDrawWasEmpty = false;
    mDrawTime += static_cast<int>(platform.TimeMs() - start);

    // Soft vertical sync in a window: keep presents at least one display frame apart.
    if (mWaitForVSync && mIsPhysicallyWindowed && mSoftVSyncWait && mDisplay) {
        const uint32_t frame = static_cast<uint32_t>(mDisplay->MillisecondsPerFrame());
        const uint32_t since = platform.TimeMs() - mLastDrawTick;
        if (since < frame) platform.SleepMs(frame - since);
    }

    mLastDrawTick = platform.TimeMs();
    mLastDrawTickShared = mLastDrawTick;
    PresentScreen(drew);
    UpdateTimeAccumulator();
    mScreenBltTime = static_cast<int>(platform.TimeMs() - mLastDrawTick);

    if (mLoadingThreadStarted && !mLoadingThreadCompleted) {
        // While loading, draw rarely: the loading thread needs the processor more.
        mNextDrawTick += std::max(platform.TimeMs() - start, kMinLoadingDrawMs) + kLoadingDrawGapMs;
        if (static_cast<int32_t>(platform.TimeMs() - mNextDrawTick) < 0) {
            mHasPendingDraw = false;
            mCustomCursorDirty = false;
            return true;
        }
    }
    mNextDrawTick = platform.TimeMs();
    mHasPendingDraw = false;
    mCustomCursorDirty = false;
    return true;
}

void OrvaneAppBase::BeginScreenDraw() {
    if (mDisplay) mDisplay->Lock().lock();
}

void OrvaneAppBase::EndScreenDraw() {
    if (mDisplay) mDisplay->Lock().unlock();
}

void OrvaneAppBase::PresentScreen(bool imageChanged) {
    if (mDisplay) mDisplay->Present(imageChanged);
}

}  // namespace Orvane
