// Start: the loading thread, the run of the frame loop, the orderly end and the statistics.
#include "framework/app/OrvaneAppBase.h"

#include "framework/display/Display.h"
#include "framework/sound/MusicInterface.h"
#include "framework/widgets/WidgetManager.h"

#include <chrono>
#include <cstdio>

namespace Orvane {

void OrvaneAppBase::Start() {
    if (mShutdown) return;

    StartCursorThread();
    if (mAutoStartLoadingThread) {
        mYieldMainThread = true;
        mLoadingThreadStarted = true;
        // The main thread's priority boost of the original design is left out: it needs
        // privileges here, and the yield of the scheduler pass gives the loading thread its
        // share of the processor either way.
        mLoadingThread = std::thread([this] {
            LoadResources();
            std::fprintf(stderr, "Resource Loading Time: %d\n",
                         static_cast<int>(GetPlatform().TickCount() - mStartTick));
            mLoadingThreadCompleted = true;
        });
    }

    GetPlatform().ShowMainWindow();
    const uint32_t now = GetPlatform().TimeMs();
    mRunStartTick = now;
    mRunning = true;
    mLastTimeCheck = now;
    mLastUserInputTick = now;
    mLastTimerTick = now;
    // Draw ticks count from here, whatever the clock reads: a frame may be drawn at once.
    mNextDrawTick = now;
    mFPSTick = now;

    MainLoop();

    ProcessSafeDeleteList();
    mRunning = false;
    JoinLoadingThread();
    WriteStatistics();

    BeforeExit();
    if (mReadFromSettings) SaveSettings();
}

void OrvaneAppBase::JoinLoadingThread() {
    if (!mLoadingThread.joinable()) return;
    // The loading thread is real work on a real clock, so this wait uses real time.
    while (mLoadingThreadStarted && !mLoadingThreadCompleted) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    mLoadingThread.join();
}

void OrvaneAppBase::WriteStatistics() {
    const double seconds = (GetPlatform().TimeMs() - mRunStartTick) / 1000.0;
    std::fprintf(stderr, "Seconds       = %g\n", seconds);
    std::fprintf(stderr, "Sleep Count   = %d\n", mSleepCount);
    std::fprintf(stderr, "Update Count  = %d\n", mUpdateCount);
    std::fprintf(stderr, "Draw Count    = %d\n", mDrawCount);
    std::fprintf(stderr, "Draw Time     = %d\n", mDrawTime);
    std::fprintf(stderr, "Screen Blt    = %d\n", mScreenBltTime);
    if (mDrawTime + mScreenBltTime > 0) {
        std::fprintf(stderr, "Avg FPS       = %d\n",
                     mDrawCount * 1000 / (mDrawTime + mScreenBltTime));
    }
    std::fflush(stderr);
}

void OrvaneAppBase::RequestShutdown() {
    if (std::this_thread::get_id() != mPrimaryThreadId) {
        // Never tear down from another thread: the main loop sees the flag and calls again.
        mLoadingFailed = true;
        return;
    }
    if (mShutdown.exchange(true)) return;
    mExitToTop = true;
    OnShutdown();
    StopCursorThread();
    if (mMusicInterface) mMusicInterface->StopAllMusic();
    GetPlatform().HideMainWindow();
    if (mReadFromSettings) SaveSettings();
}

}  // namespace Orvane
