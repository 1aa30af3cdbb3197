// Cursor shapes and the cursor thread that keeps the software cursor near the pointer.
#include "framework/app/OrvaneAppBase.h"

#include "framework/display/Display.h"
#include "framework/graphics/MemoryImage.h"

#include <chrono>

namespace Orvane {

void OrvaneAppBase::SetCursorShape(int cursorNumber) {
    if (cursorNumber < 0 || cursorNumber >= kCursorCount) cursorNumber = kCursorArrow;
    if (cursorNumber == mCursorNumber) return;
    mCursorNumber = cursorNumber;
    ApplyCursor();
}

void OrvaneAppBase::SetCursorImage(int cursorNumber, std::shared_ptr<const MemoryImage> image,
                                   int hotX, int hotY) {
    if (cursorNumber < 0 || cursorNumber >= kCursorCount) return;
    mCursorImages[cursorNumber] = {std::move(image), hotX, hotY};
    if (cursorNumber == mCursorNumber) ApplyCursor();
}

void OrvaneAppBase::EnableCustomCursors(bool enabled) {
    mCustomCursorsEnabled = enabled;
    ApplyCursor();
}

void OrvaneAppBase::ApplyCursor() {
    const CursorImage& custom = mCursorImages[mCursorNumber];
    const bool useImage = custom.image &&
                          (mCustomCursorsEnabled || mCursorNumber == kCursorCustom);
    // A software cursor appearing or going away needs the screen presented again.
    if (useImage || mSoftwareCursorShown) mCustomCursorDirty = true;
    mSoftwareCursorShown = useImage;
    if (useImage) {
        // The display draws the image; the system cursor is hidden over the window.
        GetPlatform().SetCursorShape(CursorShape::None);
        if (mDisplay) {
            mDisplay->SetCursorImage(custom.image, custom.hotX, custom.hotY);
            mDisplay->SetCursorVisible(true);
        }
    } else {
        if (mDisplay) mDisplay->SetCursorVisible(false);
        const int shape = mCursorNumber == kCursorCustom ? kCursorArrow : mCursorNumber;
        GetPlatform().SetCursorShape(static_cast<CursorShape>(shape));
    }
}

void OrvaneAppBase::StartCursorThread() {
    if (mCursorThread.joinable()) return;
    mCursorThreadRunning = true;
    mCursorThread = std::thread([this] { CursorThreadLoop(); });
}

void OrvaneAppBase::StopCursorThread() {
    mCursorThreadRunning = false;
    if (mCursorThread.joinable() && mCursorThread.get_id() != std::this_thread::get_id()) {
        mCursorThread.join();
    }
}

void OrvaneAppBase::CursorThreadLoop() {
    int lastX = -1, lastY = -1;
    while (mCursorThreadRunning && !mShutdown) {
        // Real time: this thread paces itself and must not move a test's manual clock. It only
        // matters while a software cursor is shown; otherwise it looks in less often.
        std::this_thread::sleep_for(std::chrono::milliseconds(mSoftwareCursorShown ? 10 : 50));
        if (!mSoftwareCursorShown) continue;
        int x = 0, y = 0;
        if (!GetPlatform().GetCursorPosition(x, y)) continue;
        if (x == lastX && y == lastY) continue;
        lastX = x;
        lastY = y;
        Display* display = mDisplay.get();
        if (!display) continue;
        display->SetCursorPosition(x, y);
        // The picture is presented on the main thread; when no frame is due soon, ask for one
        // so that the software cursor follows the pointer.
        const uint32_t sinceDraw = GetPlatform().TimeMs() - mLastDrawTickShared.load();
        if (sinceDraw > static_cast<uint32_t>(display->MillisecondsPerFrame() + 5)) {
            mCustomCursorDirty = true;
        }
    }
    mCursorThreadRunning = false;
}

}  // namespace Orvane
