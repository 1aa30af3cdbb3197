#include "framework/display/HeadlessDisplay.h"

#include "framework/graphics/MemoryImage.h"
#include "framework/platform/Platform.h"

namespace Orvane {

Display::Result HeadlessDisplay::Init(int width, int height, bool windowed, std::string& error) {
    ++initCount_;
    if (nextFailure_ != Result::Ok) {
        const Result result = nextFailure_;
        nextFailure_ = Result::Ok;
        error = "simulated display failure";
        return result;
    }
    if (width <= 0 || height <= 0) {
        error = "invalid screen size";
        return Result::Failed;
    }
    windowed_ = windowed;
    width_ = width;
    MakeScreenImage(width, height);
    return Result::Ok;
}

bool HeadlessDisplay::Present(bool imageChanged) {
    if (physicallyFullScreen_ && simulateVSync_ && refreshRate_ > 0) {
        const uint32_t period = static_cast<uint32_t>(1000 / refreshRate_);
        if (period > 0) GetPlatform().SleepMs(period - GetPlatform().TimeMs() % period);
    }
    std::lock_guard<std::recursive_mutex> guard(Lock());
    const MemoryImage* screen = ScreenImage();
    if (!screen) return false;
    if (imageChanged || lastPresented_.empty()) lastPresented_ = screen->Pixels();
    ++presentCount_;
    return true;
}

uint32_t HeadlessDisplay::PresentedPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_) return 0;
    const size_t index = static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
    return index < lastPresented_.size() ? lastPresented_[index] : 0;
}

}  // namespace Orvane
