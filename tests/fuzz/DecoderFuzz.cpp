// One picture decoder over any bytes (the build names it: NOOKVALE_FUZZ_DECODER). A picture
// it accepts is consistent: within the side limit, with as many pixels as its size says.
#include "FuzzSupport.h"

#include "framework/graphics/codecs/ImageCodecs.h"

#include <cstdlib>

#ifndef NOOKVALE_FUZZ_DECODER
#error "NOOKVALE_FUZZ_DECODER names the decoder (DecodeTga, DecodeGif, DecodePng, DecodeJpeg)"
#endif

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Orvane::DecodedImage image;
    if (!Orvane::Codecs::NOOKVALE_FUZZ_DECODER(data, size, image)) return 0;
    const bool consistent = image.width > 0 && image.height > 0 && image.width <= Orvane::kMaxImageSide &&
                            image.height <= Orvane::kMaxImageSide &&
                            image.pixels.size() == size_t(image.width) * size_t(image.height);
    FUZZ_CHECK(consistent);
    return 0;
}
