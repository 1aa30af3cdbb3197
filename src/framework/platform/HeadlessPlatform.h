// Headless platform: no window, no audio device. Its clock is either the real monotonic clock
// or a manual clock that only moves when a test (or SleepMs) moves it.
#pragma once

#include "framework/platform/InstanceLock.h"
#include "framework/platform/Platform.h"
#include "framework/platform/SettingsStore.h"

#include <atomic>

namespace Orvane {

class HeadlessPlatform : public Platform {
public:
    enum class ClockMode { Real, Manual };

    explicit HeadlessPlatform(ClockMode mode = ClockMode::Manual, std::string configRoot = "");

    uint32_t TimeMs() override;
    uint32_t TickCount() override;
    // With the manual clock, sleeping advances the clock by the time slept and returns at once.
    void SleepMs(uint32_t ms) override;

    SettingsStore& Settings() override { return settings_; }
    bool AcquireInstanceLock(const std::string& name) override { return lock_.Acquire(name); }
    void ReleaseInstanceLock() override { lock_.Release(); }

    // Manual clock control (no effect with the real clock).
    void SetTime(uint32_t ms) { manualMs_ = ms; }
    void AdvanceTime(uint32_t ms) { manualMs_ += ms; }
    ClockMode Mode() const { return mode_; }

    // Total milliseconds requested through SleepMs, for tests of the loop's pacing.
    uint64_t TotalSleptMs() const { return sleptMs_; }

private:
    ClockMode mode_;
    std::atomic<uint32_t> manualMs_{1000};
    std::atomic<uint64_t> sleptMs_{0};
    SettingsStore settings_;
    InstanceLock lock_;
};

}  // namespace Orvane
