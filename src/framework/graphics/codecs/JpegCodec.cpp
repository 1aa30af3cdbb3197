// JPEG through libjpeg. Errors leave the library through longjmp back into DecodeJpeg; no
// object with a destructor lives between that jump and its target. Warnings (for example
// data that ends early) count as failures: a damaged picture is refused, not half shown.
// The decoder's own memory is limited in proportion to the file, and the picture is allocated
// only when the file is long enough to code every block of it, so a short file that declares
// a large picture costs little.
#include "framework/graphics/codecs/ImageCodecs.h"

#include <algorithm>
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

// The decoder may use this much besides the picture (progressive files keep every coefficient
// of the picture until the last scan), and at least the floor.
constexpr size_t kDecoderMemoryFloor = size_t{64} << 20;
constexpr size_t kDecoderMemoryPerFileByte = 64;

// Every block of every component costs at least two bits in a sequential file (a DC code and
// an end-of-block code) and at least one bit in the first scan of a progressive one.
bool LongEnoughForBlocks(const jpeg_decompress_struct& info, size_t size) {
    uint64_t blocks = 0;
    for (int c = 0; c < info.num_components; ++c)
        blocks += uint64_t(info.comp_info[c].width_in_blocks) * info.comp_info[c].height_in_blocks;
    const uint64_t bitsPerBlock = info.progressive_mode ? 1 : 2;
    return uint64_t(size) * 8 >= blocks * bitsPerBlock;
}

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
    if (!LongEnoughForBlocks(info, size)) return false;
    info.mem->max_memory_to_use =
        static_cast<long>(std::max(kDecoderMemoryFloor, size * kDecoderMemoryPerFileByte));
    info.out_color_space = JCS_EXT_BGRA;   // 0xAARRGGBB words, alpha 255
    jpeg_start_decompress(&info);
    // A progressive file is read whole here: data that ended early has been reported.
    if (err.warnings > 0) return false;
    if (info.output_components != 4 || info.output_width != info.image_width ||
        info.output_height != info.image_height)
        return false;
    width = static_cast<int>(info.output_width);
    height = static_cast<int>(info.output_height);
    pixels.resize(size_t(width) * size_t(height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(pixels.data() + size_t(info.output_scanline) * size_t(width));
        if (jpeg_read_scanlines(&info, &row, 1) != 1 || err.warnings > 0) return false;
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
