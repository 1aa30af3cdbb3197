// Binary blocks stored as ini values: two upper-case hex digits per byte, then two digits of a
// checksum byte (the sum of the bytes modulo 256).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace Orvane {

std::string EncodeHexBlock(const void* data, size_t size);
// True only for exactly 2 * size + 2 hex digits (either letter case) with a matching checksum.
// out is written only on success.
bool DecodeHexBlock(std::string_view text, void* out, size_t size);

}  // namespace Orvane
