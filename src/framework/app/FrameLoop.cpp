// The frame loop: fixed 10 ms logic steps driven by a time accumulator, catch-up without
// bursts, vertical-sync pacing with fractional updates, and sleeping away the rest of each
// frame so that an idle program does not spin.
#include "framework/app/OrvaneAppBase.h"

#include "framework/display/Display.h"
#include "framework/sound/MusicInterface.h"
#include "framework/widgets/Widget.h"
#include "framework/widgets/WidgetManager.h"

#include <algorithm>
#include <cmath>

namespace Orvane {

namespace {
constexpr double kMaxTimeDebtMs = 200.0;
constexpr int kRelaxBacklogMs = 1000;
constexpr int kMaxYieldMs = 250;
constexpr double kMaxSleepMs = 250.0;
}  // namespace

void OrvaneAppBase::MainLoop() {
    while (!mShutdown) {
        if (mExitToTop) mExitToTop = false;
        LoopIteration();
    }
}

bool OrvaneAppBase::LoopIteration() {
    bool updated = false;
    for (;;) {
        if (!LoopStep(&updated)) return false;
        if (updated) return true;
    }
}

bool OrvaneAppBase::LoopStep(bool* updated) {
    *updated = false;
    if (mExitToTop) return false;
    if (mUpdateAppState == UPDATESTATE_PROCESS_DONE) mUpdateAppState = UPDATESTATE_MESSAGES;
    ++mUpdateAppDepth;

    if (mUpdateAppState == UPDATESTATE_MESSAGES) {
        DispatchPlatformMessages();
        if (!HandleQueuedMessages(true)) mUpdateAppState = UPDATESTATE_PROCESS_1;
    } else {
        const int before = mUpdateCount;
        SchedulerPass(true);
        *updated = mUpdateCount != before;
    }

    --mUpdateAppDepth;
    return true;
}

void OrvaneAppBase::UpdateTimeAccumulator() {
    const uint32_t now = GetPlatform().TimeMs();
    if (mLastTimeCheck != 0) {
        const uint32_t delta = now - mLastTimeCheck;
        mUpdateTimeAccumulator = std::min(mUpdateTimeAccumulator + delta, kMaxTimeDebtMs);
        if (mRelaxUpdateBacklogCount > 0) {
            mRelaxUpdateBacklogCount =
                delta >= static_cast<uint32_t>(mRelaxUpdateBacklogCount)
                    ? 0
                    : mRelaxUpdateBacklogCount - static_cast<int>(delta);
        }
    }
    mLastTimeCheck = now;
}

void OrvaneAppBase::DropTimeDebt(bool relaxForASecond) {
    mUpdateTimeAccumulator = 0.0;
    mLastTimeCheck = GetPlatform().TimeMs();
    if (relaxForASecond) mRelaxUpdateBacklogCount = kRelaxBacklogMs;
}

bool OrvaneAppBase::SchedulerPass(bool allowSleep) {
    Platform& platform = GetPlatform();

    // 1. A shutdown asked for by another thread is carried out here, on the main thread.
    if (mLoadingFailed) RequestShutdown();

    // 4. Logic frozen: the screen and the messages go on (the next step handles messages
    //    again), and the pass still sleeps a frame so that a paused program does not spin.
    if (mPaused || mUpdateMultiplier <= 0.0) {
        mUpdateAppState = UPDATESTATE_PROCESS_DONE;
        ProcessSafeDeleteList();
        DrawDirtyWidgets();
        if (!allowSleep) return false;
        ++mSleepCount;
        platform.SleepMs(static_cast<uint32_t>(std::max(mFrameTime, 1)));
        mLastTimeCheck = 0;   // frozen time is not owed afterwards
        return true;
    }

    // 2. Vertical-sync mode: presentation paces the loop.
    const bool physicallyFullScreen = !mIsPhysicallyWindowed;
    const bool vsyncMode = mVSyncUpdates && !mLastDrawWasEmpty && !mVSyncBroken &&
                           (physicallyFullScreen || (mWaitForVSync && !mSoftVSyncWait));

    // 3. Frame time F of this pass and updates per update cycle U.
    double frameMs;
    double updatesPerUpdate;
    const int refresh = mSyncRefreshRate > 0 ? mSyncRefreshRate : 60;
    if (mVSyncUpdates) {
        frameMs = (1000.0 / refresh) / mUpdateMultiplier;
        updatesPerUpdate = static_cast<float>(1000.0 / (mFrameTime * refresh));
    } else {
        frameMs = mFrameTime / mUpdateMultiplier;
        updatesPerUpdate = 1.0;
    }

    // 5.
    const uint32_t start = platform.TimeMs();
    uint32_t slept = 0;
    if (!vsyncMode) UpdateTimeAccumulator();

    bool drawStep = true;   // step 8 (no update this pass) unless an update path runs
    if (mUpdateAppState == UPDATESTATE_PROCESS_1) {
        // 6.
        ++mNonDrawCount;
        const int maxNonDraw = static_cast<int>(std::ceil(10.0 * mUpdateMultiplier));
        if (mNonDrawCount < maxNonDraw || !mLoaded) {
            const bool doUpdate =
                vsyncMode ? (!mHasPendingDraw ||
                             mUpdateTimeAccumulator >= static_cast<int>(frameMs * 0.75))
                          : mUpdateTimeAccumulator >= frameMs;
            if (doUpdate) {
                if (mUpdateMultiplier == 1.0) {
                    // Broken-sync detector: 100 updates that took at most 800 ms, three
                    // times running, mean presentation is not waiting for the display.
                    ++mVSyncBrokenTestUpdates;
                    if (mVSyncBrokenTestUpdates >= (mFrameTime + 999) / mFrameTime) {
                        if (start - mVSyncBrokenTestStartTick <= 800) {
                            if (++mVSyncBrokenCount >= 3) mVSyncBroken = true;
                        } else {
                            mVSyncBrokenCount = 0;
                        }
                        mVSyncBrokenTestStartTick = start;
                        mVSyncBrokenTestUpdates = 0;
                    }
                }
                if (TryRunUpdate()) mUpdateAppState = UPDATESTATE_PROCESS_2;
                mHasPendingDraw = true;
                drawStep = false;
            }
        }
    } else if (mUpdateAppState == UPDATESTATE_PROCESS_2) {
        // 7. The rest of the update cycle: extra whole updates owed, then the fraction.
        mUpdateAppState = UPDATESTATE_PROCESS_DONE;
        mPendingUpdatesAcc += updatesPerUpdate;
        mPendingUpdatesAcc -= 1.0;
        ProcessSafeDeleteList();
        while (mPendingUpdatesAcc >= 1.0) {
            ++mNonDrawCount;
            if (!TryRunUpdate()) break;
            ProcessSafeDeleteList();
            mPendingUpdatesAcc -= 1.0;
        }
        RunFractionalUpdate(static_cast<float>(updatesPerUpdate));
        ProcessSafeDeleteList();
        if (vsyncMode) {
            mUpdateTimeAccumulator = std::max(mUpdateTimeAccumulator - frameMs - 0.2f, 0.0);
        } else {
            mUpdateTimeAccumulator -= frameMs;
        }
        if (mRelaxUpdateBacklogCount > 0) mUpdateTimeAccumulator = 0.0;
        drawStep = false;
    }

    if (drawStep) {
        // 8. No update this pass: draw what is pending, or sleep until the next step is due.
        mUpdateAppState = UPDATESTATE_PROCESS_DONE;
        mNonDrawCount = 0;
        if (mHasPendingDraw) {
            DrawDirtyWidgets();
        } else if (frameMs > mUpdateTimeAccumulator) {
            // Sleep until the next step is due, rounded up: a wait of a fraction of a
            // millisecond is still a sleep, never a spin. The accumulator keeps the exact
            // time, so the pacing stays right on average. A very slow multiplier still
            // looks at its messages a few times a second.
            if (!allowSleep) return false;
            const double due = std::ceil(frameMs - mUpdateTimeAccumulator);
            const uint32_t wait = static_cast<uint32_t>(std::clamp(due, 1.0, kMaxSleepMs));
            ++mSleepCount;
            platform.SleepMs(wait);
            slept = wait;
        }
    }

    // 9. While the loading thread runs, leave it about two thirds of the processor.
    if (mYieldMainThread) {
        const int64_t busy =
            static_cast<int64_t>(static_cast<int32_t>(platform.TimeMs() - start)) - slept;
        int64_t yield = 2 * busy - static_cast<int64_t>(slept);
        if (yield > kMaxYieldMs) yield = kMaxYieldMs;
        if (yield >= 0) {
            if (!allowSleep) return false;
            platform.SleepMs(static_cast<uint32_t>(yield));
        }
    }

    // 10.
    ProcessSafeDeleteList();
    return true;
}

bool OrvaneAppBase::TryRunUpdate() {
    if (mLoadingThreadCompleted && !mLoaded) {
        mLoaded = true;
        mYieldMainThread = false;
        OnLoadingFinished();
    }
    RunOneUpdate();
    return true;
}

void OrvaneAppBase::RunOneUpdate() {
    ++mUpdateCount;
    if (!mMinimized && mWidgetManager->UpdateWidgets()) ++mDirtyUpdateCount;
    if (mMusicInterface) mMusicInterface->Update();
}

void OrvaneAppBase::RunFractionalUpdate(float fraction) {
    if (mVSyncUpdates && !mMinimized) mWidgetManager->UpdateWidgetsFraction(fraction);
}

void OrvaneAppBase::DeleteWidgetLater(Widget* widget) {
    if (!widget) return;
    for (const SafeDeleteEntry& entry : mSafeDeleteList) {
        if (entry.widget == widget) return;   // never deleted twice
    }
    mSafeDeleteList.push_back({widget, mUpdateAppDepth});
}

void OrvaneAppBase::ProcessSafeDeleteList() {
    if (mSafeDeleteList.empty()) return;
    std::vector<Widget*> doomed;
    auto keep = std::remove_if(mSafeDeleteList.begin(), mSafeDeleteList.end(),
                               [&](const SafeDeleteEntry& entry) {
                                   if (entry.depth < mUpdateAppDepth) return false;
                                   doomed.push_back(entry.widget);
                                   return true;
                               });
    mSafeDeleteList.erase(keep, mSafeDeleteList.end());
    for (Widget* widget : doomed) {
        if (WidgetContainer* parent = widget->GetParent()) parent->RemoveWidget(widget);
        delete widget;
    }
}

}  // namespace Orvane
