#include "PngFile.h"

#include <png.h>

#include <cstring>

bool WritePngFile(const Orvane::MemoryImage& image, const std::string& path) {
    if (image.GetWidth() <= 0 || image.GetHeight() <= 0) return false;
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.GetWidth());
    png.height = static_cast<png_uint_32>(image.GetHeight());
    // 0xAARRGGBB values lie in memory as B, G, R, A on this little-endian machine.
    png.format = PNG_FORMAT_BGRA;
    const int ok = png_image_write_to_file(&png, path.c_str(), 0, image.GetBits(), 0, nullptr);
    png_image_free(&png);
    return ok != 0;
}
