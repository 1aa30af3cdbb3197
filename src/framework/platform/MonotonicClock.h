// The real millisecond clock of the platforms: monotonic, 1 ms resolution, counting from the
// start of the program (so game time, a float of seconds, stays exact however long the machine
// has been up), wrapping at 2^32.
#pragma once

#include <cstdint>

namespace Orvane {

uint32_t MonotonicMs();

}  // namespace Orvane
