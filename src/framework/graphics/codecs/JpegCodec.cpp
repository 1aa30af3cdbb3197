// JPEG through libjpeg. Errors leave the library through longjmp back into DecodeJpeg; no
// object with a destructor lives between that jump and its target. Warnings (for example
// data that ends early) count as failures: a damaged picture is refused, not half shown.
#include "framework/graphics/codecs/ImageCodecs.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace Orvane::Codecs {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    int warnings;
};

[[noreturn]] void OnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void OnMessage(j_common_ptr info, int level) {
    if (level < 0) reinterpret_cast<ErrorManager*>(info->err)->warnings++;
}

void OnOutput(j_common_ptr) {}

// Runs the decoder into pixels (already sized by the caller after the header was read).
// Returns false on any error; the decompressor is destroyed by the caller.
bool Run(jpeg_decompress_struct& info, ErrorManager& err, const uint8_t* data, size_t size,
         std::vector<uint32_t>& pixels, int& width, int& height) {
    if (setjmp(err.jump)) return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return false;
    if (info.image_width == 0 || info.image_height == 0 ||
        info.image_width > JDIMENSION(kMaxImageSide) || info.image_height > JDIMENSION(kMaxImageSide))
        return false;
    info.out_color_space = JCS_EXT_BGRA;   // 0xAARRGGBB words, alpha 255
    jpeg_start_decompress(&info);
    if (info.output_components != 4 || info.output_width != info.image_width ||
        info.output_height != info.image_height)
        return false;
    width = static_cast<int>(info.output_width);
    height = static_cast<int>(info.output_height);
    pixels.resize(size_t(width) * size_t(height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(pixels.data() + size_t(info.output_scanline) * size_t(width));
        if (jpeg_read_scanlines(&info, &row, 1) != 1) return false;
    }
    jpeg_finish_decompress(&info);
    return err.warnings == 0;
}

}  // namespace

bool DecodeJpeg(const uint8_t* data, size_t size, DecodedImage& out) {
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8) return false;
    jpeg_decompress_struct info{};
    ErrorManager err{};
    info.err = jpeg_std_error(&err.base);
    err.base.error_exit = OnError;
    err.base.emit_message = OnMessage;
    err.base.output_message = OnOutput;
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    const bool ok = Run(info, err, data, size, pixels, width, height);
    jpeg_destroy_decompress(&info);
    if (!ok) return false;
    for (uint32_t& p : pixels) p |= 0xFF000000u;
    out.width = width;
    out.height = height;
    out.pixels = std::move(pixels);
    return true;
}

}  // namespace Orvane::Codecs
