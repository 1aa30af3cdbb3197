// Picture decoders working on bytes in memory. Each returns false, without throwing or
// crashing, for data it does not accept: wrong signature, damaged or truncated data, or a
// picture over kMaxImageSide pixels on a side.
#pragma once

#include "framework/graphics/ImageLoader.h"

#include <cstddef>
#include <cstdint>

namespace Orvane::Codecs {

bool DecodeTga(const uint8_t* data, size_t size, DecodedImage& out);
bool DecodeJpeg(const uint8_t* data, size_t size, DecodedImage& out);
bool DecodePng(const uint8_t* data, size_t size, DecodedImage& out);
bool DecodeGif(const uint8_t* data, size_t size, DecodedImage& out);

}  // namespace Orvane::Codecs
