// PNG through libpng's simplified reading interface, which reports every error as a return
// value (no jumps across our frames) and frees its own state. Before a large picture is
// allocated, its compressed data is inflated once without being kept, to see that it holds
// enough rows: a file that declares a large picture but carries little data costs little.
// A chunk that claims more bytes than the file holds is refused before libpng sees it: libpng
// allocates a chunk's buffer by its declared length before it finds the bytes missing.
#include "framework/graphics/codecs/ImageCodecs.h"

#include <png.h>
#include <zlib.h>

#include <cstring>

namespace Orvane::Codecs {

namespace {

// Pictures up to this size (4 megapixels) are decoded without the check: a damaged one costs
// no more than this.
constexpr uint64_t kUncheckedPictureBytes = uint64_t{16} << 20;

uint32_t Be32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

// Bytes of filtered rows (a filter byte and the packed pixels per row, for every pass of an
// interlaced picture) that the header declares; 0 for a header libpng would refuse anyway.
uint64_t FilteredBytes(const uint8_t* ihdr) {
    const uint64_t width = Be32(ihdr), height = Be32(ihdr + 4);
    const int depth = ihdr[8], colourType = ihdr[9], interlace = ihdr[12];
    int channels = 0;
    switch (colourType) {
        case 0: channels = 1; break;
        case 2: channels = 3; break;
        case 3: channels = 1; break;
        case 4: channels = 2; break;
        case 6: channels = 4; break;
        default: return 0;
    }
    const uint64_t bitsPerPixel = uint64_t(depth) * uint64_t(channels);
    auto rows = [&](uint64_t w, uint64_t h) { return w == 0 || h == 0 ? 0 : h * (1 + (w * bitsPerPixel + 7) / 8); };
    if (interlace == 0) return rows(width, height);
    // Adam7: the seven passes, by their first column and row and their steps.
    static constexpr int kStart[7][2] = {{0, 0}, {4, 0}, {0, 4}, {2, 0}, {0, 2}, {1, 0}, {0, 1}};
    static constexpr int kStep[7][2] = {{8, 8}, {8, 8}, {4, 8}, {4, 4}, {2, 4}, {2, 2}, {1, 2}};
    uint64_t total = 0;
    for (int pass = 0; pass < 7; ++pass) {
        const uint64_t w = (width + kStep[pass][0] - 1 - kStart[pass][0]) / kStep[pass][0];
        const uint64_t h = (height + kStep[pass][1] - 1 - kStart[pass][1]) / kStep[pass][1];
        if (width > uint64_t(kStart[pass][0]) && height > uint64_t(kStart[pass][1])) total += rows(w, h);
    }
    return total;
}

// Whether the image data chunks inflate to at least `needed` bytes. The output goes to a small
// scratch buffer and inflating stops as soon as enough has come out.
bool DataFillsPicture(const uint8_t* data, size_t size, uint64_t needed) {
    z_stream stream;
    std::memset(&stream, 0, sizeof stream);
    if (inflateInit(&stream) != Z_OK) return false;
    uint8_t scratch[16384];
    uint64_t produced = 0;
    bool ended = false;
    // Chunks: u32 length, 4-byte type, data, u32 CRC; the signature comes first.
    for (size_t at = 8; !ended && produced < needed && size - at >= 12;) {
        const uint32_t length = Be32(data + at);
        if (length > size - at - 12) break;
        const uint8_t* type = data + at + 4;
        if (std::memcmp(type, "IEND", 4) == 0) break;
        if (std::memcmp(type, "IDAT", 4) == 0) {
            stream.next_in = const_cast<Bytef*>(data + at + 8);
            stream.avail_in = length;
            while (stream.avail_in > 0 && produced < needed) {
                stream.next_out = scratch;
                stream.avail_out = sizeof scratch;
                const int result = inflate(&stream, Z_NO_FLUSH);
                produced += sizeof scratch - stream.avail_out;
                if (result == Z_STREAM_END || (result != Z_OK && result != Z_BUF_ERROR)) {
                    ended = true;
                    break;
                }
                if (result == Z_BUF_ERROR && stream.avail_out != 0) break;   // needs more input
            }
        }
        at += 12 + size_t(length);
    }
    inflateEnd(&stream);
    return produced >= needed;
}

// Whether every chunk up to IEND (or the end of the file) lies within the file.
bool ChunksWithinFile(const uint8_t* data, size_t size) {
    for (size_t at = 8; size - at >= 12;) {
        const uint32_t length = Be32(data + at);
        if (length > size - at - 12) return false;
        if (std::memcmp(data + at + 4, "IEND", 4) == 0) return true;
        at += 12 + size_t(length);
    }
    return true;
}

}  // namespace

bool DecodePng(const uint8_t* data, size_t size, DecodedImage& out) {
    if (size < 8 || png_sig_cmp(data, 0, 8) != 0 || !ChunksWithinFile(data, size)) return false;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) return false;
    // libpng has read the header: it is the first chunk, 13 bytes long.
    const bool fits = image.width > 0 && image.height > 0 && image.width <= uint32_t(kMaxImageSide) &&
                      image.height <= uint32_t(kMaxImageSide) && size >= 33 &&
                      std::memcmp(data + 12, "IHDR", 4) == 0;
    const uint64_t needed = fits ? FilteredBytes(data + 16) : 0;
    const bool large = uint64_t(image.width) * image.height * 4 > kUncheckedPictureBytes;
    if (needed == 0 || (large && !DataFillsPicture(data, size, needed))) {
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
