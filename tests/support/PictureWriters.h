// Picture files written by the libraries themselves, for the tests of the decoders.
#pragma once

#include <cstdint>
#include <vector>

namespace TestSupport {

// A w x h JPEG of one colour (0xRRGGBB), quality 100, baseline or progressive.
std::vector<uint8_t> WriteJpeg(int w, int h, uint32_t rgb, bool progressive = false);

}  // namespace TestSupport
