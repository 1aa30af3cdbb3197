#include "framework/platform/MonotonicClock.h"

#include <chrono>

namespace Orvane {

namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point ProgramStart() {
    static const Clock::time_point start = Clock::now();
    return start;
}

// Fixes the epoch while the program is loaded, before any code asks for the time.
const Clock::time_point kEpochAtLoad = ProgramStart();

}  // namespace

uint32_t MonotonicMs() {
    const auto elapsed = Clock::now() - ProgramStart();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

}  // namespace Orvane
