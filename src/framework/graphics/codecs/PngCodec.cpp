// PNG through libpng's simplified reading interface, which reports every error as a return
// value (no jumps across our frames) and frees its own state.
#include "framework/graphics/codecs/ImageCodecs.h"

#include <png.h>

#include <cstring>

namespace Orvane::Codecs {

bool DecodePng(const uint8_t* data, size_t size, DecodedImage& out) {
    if (size < 8 || png_sig_cmp(data, 0, 8) != 0) return false;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) return false;
    if (image.width == 0 || image.height == 0 || image.width > uint32_t(kMaxImageSide) ||
        image.height > uint32_t(kMaxImageSide)) {
        png_image_free(&image);
        return false;
    }
    // Bytes B, G, R, A in memory: 0xAARRGGBB words on a little-endian machine.
    image.format = PNG_FORMAT_BGRA;
    std::vector<uint32_t> pixels(size_t(image.width) * image.height);
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.pixels = std::move(pixels);
    png_image_free(&image);
    return true;
}

}  // namespace Orvane::Codecs
