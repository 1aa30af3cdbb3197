// Targa: uncompressed and run-length encoded true-colour (15/16, 24, 32 bits), grey (8 bits,
// 16 with alpha) and colour-mapped (8-bit indices) pictures, either row order.
#include "framework/graphics/codecs/ImageCodecs.h"

#include <algorithm>
#include <array>

namespace Orvane::Codecs {

namespace {

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Has(size_t n) const { return n <= size_ - pos_; }
    bool Skip(size_t n) {
        if (!Has(n)) return false;
        pos_ += n;
        return true;
    }
    const uint8_t* Take(size_t n) {
        if (!Has(n)) return nullptr;
        const uint8_t* p = data_ + pos_;
        pos_ += n;
        return p;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// One pixel value of `bytes` bytes in true-colour or grey layout.
uint32_t ToArgb(const uint8_t* p, int bytes, bool grey, bool alpha16) {
    if (grey) {
        const uint32_t v = p[0];
        const uint32_t a = bytes == 2 ? p[1] : 255;
        return (a << 24) | (v << 16) | (v << 8) | v;
    }
    switch (bytes) {
    case 2: {
        const uint32_t w = Le16(p);
        const uint32_t r = (w >> 10) & 31, g = (w >> 5) & 31, b = w & 31;
        const uint32_t a = alpha16 ? ((w & 0x8000) ? 255 : 0) : 255;
        return (a << 24) | (((r << 3) | (r >> 2)) << 16) | (((g << 3) | (g >> 2)) << 8) |
               ((b << 3) | (b >> 2));
    }
    case 3: return 0xFF000000u | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
    default: return (uint32_t(p[3]) << 24) | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
    }
}

}  // namespace

bool DecodeTga(const uint8_t* data, size_t size, DecodedImage& out) {
    Reader in(data, size);
    const uint8_t* h = in.Take(18);
    if (!h) return false;
    const int idLength = h[0], mapType = h[1], type = h[2];
    const int mapFirst = Le16(h + 3), mapLength = Le16(h + 5), mapBits = h[7];
    const int width = Le16(h + 12), height = Le16(h + 14), depth = h[16], descriptor = h[17];
    const bool rle = type >= 9;
    const int base = rle ? type - 8 : type;
    if (base < 1 || base > 3 || mapType > 1) return false;
    if (width == 0 || height == 0 || width > kMaxImageSide || height > kMaxImageSide) return false;
    if (descriptor & 0xC0) return false;   // interleaved layouts were never in use
    const bool mapped = base == 1, grey = base == 3;
    if (mapped && (mapType != 1 || depth != 8)) return false;
    if (grey && depth != 8 && depth != 16) return false;
    if (base == 2 && depth != 15 && depth != 16 && depth != 24 && depth != 32) return false;
    const int alphaBits = descriptor & 0x0F;
    if (!in.Skip(size_t(idLength))) return false;

    // Colour map (kept only when the picture uses it).
    std::array<uint32_t, 256> palette{};
    if (mapType == 1) {
        const int entryBytes = (mapBits + 7) / 8;
        if (entryBytes < 2 || entryBytes > 4) return false;
        const uint8_t* map = in.Take(size_t(mapLength) * size_t(entryBytes));
        if (!map) return false;
        if (mapped) {
            for (int i = 0; i < mapLength; ++i) {
                const int index = mapFirst + i;
                if (index < 256)
                    palette[size_t(index)] = ToArgb(map + size_t(i) * entryBytes, entryBytes, false,
                                                    mapBits == 16 && alphaBits > 0);
            }
        }
    }

    const int bytes = (depth + 7) / 8;
    const size_t count = size_t(width) * size_t(height);
    auto convert = [&](const uint8_t* p) {
        return mapped ? palette[p[0]] : ToArgb(p, bytes, grey, alphaBits > 0);
    };
    // The picture is allocated only when the data can fill it: all of it for raw pixels, and
    // for run-length data enough packets (each at most 128 pixels) to cover it.
    std::vector<uint32_t> pixels;
    if (!rle) {
        const uint8_t* src = in.Take(count * size_t(bytes));
        if (!src) return false;
        pixels.resize(count);
        for (size_t i = 0; i < count; ++i) pixels[i] = convert(src + i * size_t(bytes));
    } else {
        if (!in.Has((count + 127) / 128 * (1 + size_t(bytes)))) return false;
        pixels.resize(count);
        size_t i = 0;
        while (i < count) {
            const uint8_t* packet = in.Take(1);
            if (!packet) return false;
            const size_t n = size_t(packet[0] & 0x7F) + 1;
            if (n > count - i) return false;   // a run may not spill past the picture
            if (packet[0] & 0x80) {
                const uint8_t* p = in.Take(size_t(bytes));
                if (!p) return false;
                const uint32_t v = convert(p);
                for (size_t k = 0; k < n; ++k) pixels[i++] = v;
            } else {
                const uint8_t* p = in.Take(n * size_t(bytes));
                if (!p) return false;
                for (size_t k = 0; k < n; ++k) pixels[i++] = convert(p + k * size_t(bytes));
            }
        }
    }

    // 32-bit pictures whose alpha bytes are all zero were written without alpha.
    if (!mapped && !grey && bytes == 4) {
        bool anyAlpha = false;
        for (uint32_t p : pixels)
            if (p >> 24) { anyAlpha = true; break; }
        if (!anyAlpha)
            for (uint32_t& p : pixels) p |= 0xFF000000u;
    }

    // Stored bottom row first unless bit 5 is set; right to left when bit 4 is set. The rows
    // are put top first in place.
    const bool topDown = descriptor & 0x20, rightToLeft = descriptor & 0x10;
    const auto row = [&](int y) { return pixels.begin() + static_cast<long>(size_t(y) * size_t(width)); };
    if (!topDown)
        for (int y = 0; y < height / 2; ++y) std::swap_ranges(row(y), row(y + 1), row(height - 1 - y));
    if (rightToLeft)
        for (int y = 0; y < height; ++y) std::reverse(row(y), row(y + 1));
    out.width = width;
    out.height = height;
    out.pixels = std::move(pixels);
    return true;
}

}  // namespace Orvane::Codecs
