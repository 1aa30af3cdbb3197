// Headless display: no window. Presenting copies the screen image, so tests read exactly what
// the last presented frame showed, and counts the presents.
#pragma once

#include "framework/display/Display.h"

#include <cstdint>
#include <vector>

namespace Orvane {

class HeadlessDisplay : public Display {
public:
    explicit HeadlessDisplay(int refreshRate = 60) { refreshRate_ = refreshRate; }

    Result Init(int width, int height, bool windowed, std::string& error) override;
    bool Present(bool imageChanged = true) override;
    bool IsPhysicallyFullScreen() const override { return physicallyFullScreen_; }

    // Test controls.
    void SetRefreshRate(int hz) { refreshRate_ = hz; }
    void SetPhysicallyFullScreen(bool on) { physicallyFullScreen_ = on; }
    // While physically full screen, a present waits for the next refresh of the platform's
    // clock, as a real display locked to its refresh does (on by default).
    void SetSimulateVSync(bool on) { simulateVSync_ = on; }
    // The result the next Init reports (Ok by default).
    void FailNextInit(Result result) { nextFailure_ = result; }

    int PresentCount() const { return presentCount_; }
    int InitCount() const { return initCount_; }
    bool Windowed() const { return windowed_; }
    // Pixels (0xAARRGGBB) of the last presented frame; empty before the first present.
    const std::vector<uint32_t>& LastPresented() const { return lastPresented_; }
    uint32_t PresentedPixel(int x, int y) const;

private:
    Result nextFailure_ = Result::Ok;
    bool physicallyFullScreen_ = false;
    bool simulateVSync_ = true;
    bool windowed_ = true;
    int presentCount_ = 0;
    int initCount_ = 0;
    int width_ = 0;
    std::vector<uint32_t> lastPresented_;
};

}  // namespace Orvane
