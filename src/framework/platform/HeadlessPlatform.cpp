#include "framework/platform/HeadlessPlatform.h"

#include "framework/platform/FileSearch.h"

#include <chrono>
#include <thread>

namespace Orvane {

namespace {

uint32_t MonotonicMs() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace

HeadlessPlatform::HeadlessPlatform(ClockMode mode, std::string configRoot)
    : mode_(mode), settings_(std::move(configRoot)) {}

uint32_t HeadlessPlatform::TimeMs() {
    return mode_ == ClockMode::Manual ? manualMs_.load() : MonotonicMs();
}

uint32_t HeadlessPlatform::TickCount() { return TimeMs(); }

void HeadlessPlatform::SleepMs(uint32_t ms) {
    sleptMs_ += ms;
    if (mode_ == ClockMode::Manual) {
        manualMs_ += ms;
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
}

std::vector<FindEntry> Platform::FindFiles(const std::string& pattern) {
    return ListMatchingFiles(pattern);
}

namespace {
Platform* gPlatform = nullptr;
}

Platform& GetPlatform() {
    if (gPlatform) return *gPlatform;
    static HeadlessPlatform fallback(HeadlessPlatform::ClockMode::Real);
    return fallback;
}

void SetPlatform(Platform* platform) { gPlatform = platform; }

}  // namespace Orvane
