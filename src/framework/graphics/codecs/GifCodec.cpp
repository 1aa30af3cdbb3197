// GIF ("GIF87a", "GIF89a"): the first picture of the file on its logical screen, with the
// transparent colour of its graphic control block. The LZW stream is decoded with strict
// bounds: a code that is not yet defined, or data that ends before the picture is complete,
// rejects the file. Nothing is allocated for more pixels than the file's bytes can describe.
#include "framework/graphics/codecs/ImageCodecs.h"

#include <array>
#include <cstring>

namespace Orvane::Codecs {

namespace {

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    const uint8_t* Take(size_t n) {
        if (n > size_ - pos_) return nullptr;
        const uint8_t* p = data_ + pos_;
        pos_ += n;
        return p;
    }
    int Byte() {
        const uint8_t* p = Take(1);
        return p ? *p : -1;
    }
    // Skips a chain of data sub-blocks up to its terminator.
    bool SkipSubBlocks() {
        for (;;) {
            const int n = Byte();
            if (n < 0) return false;
            if (n == 0) return true;
            if (!Take(size_t(n))) return false;
        }
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// An LZW code of b bits names a string of fewer than 2^b indices (the table grows by one
// string a code), at most 4096 for 12 bits: a byte of data yields under 2800 pixels, fewer
// than this. The screen around the picture stays empty. A screen or a picture larger than
// the whole file could fill is refused before it is allocated: a few bytes cannot make the
// decoder reserve hundreds of megabytes.
constexpr size_t kMaxPixelsPerByte = 4096;

bool Describable(size_t width, size_t height, size_t fileBytes) {
    return width * height <= fileBytes * kMaxPixelsPerByte;
}

// Reads the LZW data sub-blocks of one picture and decodes `count` colour indices.
bool DecodeLzw(Reader& in, int minCodeSize, std::vector<uint8_t>& indices, size_t count) {
    constexpr int kMaxCodes = 4096;
    std::array<uint16_t, kMaxCodes> prefix{};
    std::array<uint8_t, kMaxCodes> suffix{};
    std::array<uint8_t, kMaxCodes> first{};   // first index of each string
    std::array<uint8_t, kMaxCodes + 1> stack{};
    const int clear = 1 << minCodeSize, end = clear + 1;
    for (int i = 0; i < clear; ++i) {
        suffix[size_t(i)] = static_cast<uint8_t>(i);
        first[size_t(i)] = static_cast<uint8_t>(i);
    }
    int codeSize = minCodeSize + 1, next = end + 1, previous = -1;
    uint32_t bits = 0;
    int bitCount = 0;
    indices.clear();
    indices.reserve(count);
    bool ended = false;

    for (;;) {
        const int blockSize = in.Byte();
        if (blockSize < 0) return false;
        if (blockSize == 0) break;
        const uint8_t* block = in.Take(size_t(blockSize));
        if (!block) return false;
        for (int i = 0; i < blockSize && !ended; ++i) {
            bits |= uint32_t(block[i]) << bitCount;
            bitCount += 8;
            while (bitCount >= codeSize && !ended) {
                const int code = static_cast<int>(bits & ((1u << codeSize) - 1));
                bits >>= codeSize;
                bitCount -= codeSize;
                if (code == clear) {
                    codeSize = minCodeSize + 1;
                    next = end + 1;
                    previous = -1;
                    continue;
                }
                if (code == end) { ended = true; break; }
                if (previous < 0) {
                    if (code >= clear) return false;
                    if (indices.size() < count) indices.push_back(static_cast<uint8_t>(code));
                    previous = code;
                    continue;
                }
                if (code > next || (code == next && next >= kMaxCodes)) return false;
                // Unwind the string of code (or of previous + its first index, when the
                // code is the one about to be defined).
                size_t depth = 0;
                int c = code;
                if (code == next) {
                    stack[depth++] = first[size_t(previous)];
                    c = previous;
                }
                while (c >= clear) {
                    if (depth >= stack.size()) return false;
                    stack[depth++] = suffix[size_t(c)];
                    c = prefix[size_t(c)];
                }
                if (depth >= stack.size()) return false;
                stack[depth++] = static_cast<uint8_t>(c);
                const uint8_t head = static_cast<uint8_t>(c);
                while (depth > 0 && indices.size() < count) indices.push_back(stack[--depth]);
                if (next < kMaxCodes) {
                    prefix[size_t(next)] = static_cast<uint16_t>(previous);
                    suffix[size_t(next)] = head;
                    first[size_t(next)] = first[size_t(previous)];
                    ++next;
                    if (next == (1 << codeSize) && codeSize < 12) ++codeSize;
                }
                previous = code;
            }
        }
        if (ended) break;
    }
    // After the end code, the remaining sub-blocks (normally just the terminator) are skipped.
    if (ended && !in.SkipSubBlocks()) return false;
    return indices.size() == count;
}

}  // namespace

bool DecodeGif(const uint8_t* data, size_t size, DecodedImage& out) {
    Reader in(data, size);
    const uint8_t* header = in.Take(13);
    if (!header) return false;
    if (std::memcmp(header, "GIF87", 5) != 0 && std::memcmp(header, "GIF89", 5) != 0) return false;
    const int width = Le16(header + 6), height = Le16(header + 8);
    if (width == 0 || height == 0 || width > kMaxImageSide || height > kMaxImageSide) return false;
    if (!Describable(size_t(width), size_t(height), size)) return false;
    std::array<uint32_t, 256> globalTable{};
    int globalCount = 0;
    if (header[10] & 0x80) {
        globalCount = 2 << (header[10] & 7);
        const uint8_t* t = in.Take(size_t(globalCount) * 3);
        if (!t) return false;
        for (int i = 0; i < globalCount; ++i)
            globalTable[size_t(i)] = 0xFF000000u | (uint32_t(t[3 * i]) << 16) |
                                     (uint32_t(t[3 * i + 1]) << 8) | t[3 * i + 2];
    }

    int transparent = -1;
    for (;;) {
        const int kind = in.Byte();
        if (kind < 0 || kind == 0x3B) return false;   // no picture before the end
        if (kind == 0x21) {
            const int label = in.Byte();
            if (label < 0) return false;
            if (label == 0xF9) {
                const int n = in.Byte();
                const uint8_t* gce = n == 4 ? in.Take(4) : nullptr;
                if (!gce) return false;
                transparent = (gce[0] & 1) ? gce[3] : -1;
            }
            if (!in.SkipSubBlocks()) return false;
            continue;
        }
        if (kind != 0x2C) return false;

        const uint8_t* d = in.Take(9);
        if (!d) return false;
        const int left = Le16(d), top = Le16(d + 2), fw = Le16(d + 4), fh = Le16(d + 6);
        const int flags = d[8];
        if (fw == 0 || fh == 0 || fw > kMaxImageSide || fh > kMaxImageSide) return false;
        if (!Describable(size_t(fw), size_t(fh), size)) return false;
        std::array<uint32_t, 256> table = globalTable;
        int tableCount = globalCount;
        if (flags & 0x80) {
            tableCount = 2 << (flags & 7);
            const uint8_t* t = in.Take(size_t(tableCount) * 3);
            if (!t) return false;
            for (int i = 0; i < tableCount; ++i)
                table[size_t(i)] = 0xFF000000u | (uint32_t(t[3 * i]) << 16) |
                                   (uint32_t(t[3 * i + 1]) << 8) | t[3 * i + 2];
        }
        const int minCodeSize = in.Byte();
        if (minCodeSize < 2 || minCodeSize > 8) return false;
        std::vector<uint8_t> indices;
        if (!DecodeLzw(in, minCodeSize, indices, size_t(fw) * size_t(fh))) return false;

        // Interlaced pictures store rows in four passes.
        std::vector<int> rowOrder;
        rowOrder.reserve(size_t(fh));
        if (flags & 0x40) {
            static constexpr int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass)
                for (int y = kStart[pass]; y < fh; y += kStep[pass]) rowOrder.push_back(y);
        } else {
            for (int y = 0; y < fh; ++y) rowOrder.push_back(y);
        }

        out.width = width;
        out.height = height;
        out.pixels.assign(size_t(width) * size_t(height), 0);
        for (int r = 0; r < fh; ++r) {
            const int y = top + rowOrder[size_t(r)];
            if (y >= height) continue;
            for (int x = 0; x < fw; ++x) {
                const int px = left + x;
                if (px >= width) break;
                const int index = indices[size_t(r) * size_t(fw) + size_t(x)];
                if (index == transparent) continue;
                out.pixels[size_t(y) * size_t(width) + size_t(px)] =
                    index < tableCount ? table[size_t(index)] : 0xFF000000u;
            }
        }
        return true;
    }
}

}  // namespace Orvane::Codecs
