// The real millisecond clock of the platforms: monotonic, 1 ms resolution, wrapping at 2^32.
#pragma once

#include <chrono>
#include <cstdint>

namespace Orvane {

inline uint32_t MonotonicMs() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace Orvane
