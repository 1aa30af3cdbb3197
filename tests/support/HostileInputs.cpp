#include "support/HostileInputs.h"

#include "support/PictureWriters.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace HostileInputs {

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint8_t kPakKey = 0x5B;

void PutBe32(Bytes& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}
void PutLe16(Bytes& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void PutLe32(Bytes& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PngChunk(Bytes& out, const char* type, const Bytes& body) {
    PutBe32(out, static_cast<uint32_t>(body.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    PutBe32(out, static_cast<uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

// Pack bytes as stored: every byte XOR-ed with the key.
Bytes PakHeader() {
    Bytes b;
    PutLe32(b, 0xBAC04AC0u);
    PutLe32(b, 0);
    return b;
}

bool WriteXored(std::FILE* f, Bytes bytes) {
    for (uint8_t& c : bytes) c ^= kPakKey;
    return std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
}

// LZW codes written the way the decoder reads them: the code width grows as the table fills,
// and a clear code starts over before the table is full.
class LzwWriter {
public:
    explicit LzwWriter(int minCodeSize) : min_(minCodeSize), width_(minCodeSize + 1) { Clear(); }
    void Index(int index) {
        Put(index);
        if (first_) {
            first_ = false;
        } else if (++next_ == (1 << width_) && width_ < 12) {
            ++width_;
        }
        if (next_ >= 4000) Clear();
    }
    // The data sub-blocks, without the end code: the stream simply stops.
    Bytes SubBlocks() {
        if (bitCount_ > 0) bytes_.push_back(static_cast<uint8_t>(bits_));
        Bytes out;
        for (size_t at = 0; at < bytes_.size(); at += 255) {
            const size_t n = std::min<size_t>(255, bytes_.size() - at);
            out.push_back(static_cast<uint8_t>(n));
            out.insert(out.end(), bytes_.begin() + static_cast<long>(at), bytes_.begin() + static_cast<long>(at + n));
        }
        out.push_back(0);
        return out;
    }

private:
    void Clear() {
        Put(1 << min_);
        width_ = min_ + 1;
        next_ = (1 << min_) + 2;
        first_ = true;
    }
    void Put(int code) {
        bits_ |= static_cast<uint32_t>(code) << bitCount_;
        bitCount_ += width_;
        while (bitCount_ >= 8) {
            bytes_.push_back(static_cast<uint8_t>(bits_));
            bits_ >>= 8;
            bitCount_ -= 8;
        }
    }
    int min_;
    int width_ = 0;
    int next_ = 0;
    bool first_ = true;
    uint32_t bits_ = 0;
    int bitCount_ = 0;
    Bytes bytes_;
};

}  // namespace

std::string IniSections(size_t bytes) {
    std::string text;
    text.reserve(bytes + 16);
    for (size_t i = 0; text.size() < bytes; ++i) text += "[s" + std::to_string(i) + "]\n";
    return text;
}

std::string IniBlankLines(size_t bytes) { return std::string(bytes, '\n'); }

std::string IniLongSectionManyKeys(size_t nameBytes, size_t bytes) {
    std::string text = "[" + std::string(nameBytes, 'n') + "]\n";
    text.reserve(bytes + 16);
    for (size_t i = 0; text.size() < bytes; ++i) text += "k" + std::to_string(i) + "=\n";
    return text;
}

bool WritePakOfEmptyEntries(const std::string& path, uint64_t count) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = WriteXored(f, PakHeader());
    // flags 0, name length 0, size 0, time 0: fourteen zero bytes an entry.
    const Bytes chunk(14 * 4096, 0);
    for (uint64_t done = 0; ok && done < count;) {
        const uint64_t n = std::min<uint64_t>(4096, count - done);
        ok = WriteXored(f, Bytes(chunk.begin(), chunk.begin() + static_cast<long>(14 * n)));
        done += n;
    }
    ok = ok && WriteXored(f, Bytes{0x80});
    return std::fclose(f) == 0 && ok;
}

bool WriteSparsePak(const std::string& path, uint64_t size) {
    const std::string name = "big.bin";
    Bytes b = PakHeader();
    b.push_back(0);
    b.push_back(static_cast<uint8_t>(name.size()));
    b.insert(b.end(), name.begin(), name.end());
    const uint64_t directory = b.size() + 4 + 8 + 1;
    if (size < directory) return false;
    PutLe32(b, static_cast<uint32_t>(size - directory));
    PutLe32(b, 0);
    PutLe32(b, 0);
    b.push_back(0x80);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = WriteXored(f, b);
    ok = std::fflush(f) == 0 && ok;
    ok = ftruncate(fileno(f), static_cast<off_t>(size)) == 0 && ok;
    return std::fclose(f) == 0 && ok;
}

std::vector<uint8_t> TruncatedPng(int side) {
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes ihdr;
    PutBe32(ihdr, static_cast<uint32_t>(side));
    PutBe32(ihdr, static_cast<uint32_t>(side));
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});   // 8-bit RGBA, not interlaced
    PngChunk(png, "IHDR", ihdr);
    // The first two rows of the picture (a filter byte and zero pixels each), compressed.
    const Bytes rows(2 * (1 + 4 * static_cast<size_t>(side)), 0);
    uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
    Bytes packed(packedSize);
    compress2(packed.data(), &packedSize, rows.data(), static_cast<uLong>(rows.size()), 9);
    packed.resize(packedSize);
    PngChunk(png, "IDAT", packed);
    PngChunk(png, "IEND", {});
    return png;
}

std::vector<uint8_t> PngWithOverlongChunk() {
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes ihdr;
    PutBe32(ihdr, 5);
    PutBe32(ihdr, 3);
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
    PngChunk(png, "IHDR", ihdr);
    // A suggested palette of nearly 2 GB, of which the file holds 32 bytes.
    PutBe32(png, 0x73737373u);
    png.insert(png.end(), {'s', 'P', 'L', 'T'});
    png.insert(png.end(), 32, 's');
    return png;
}

std::vector<uint8_t> TruncatedTga(int side) {
    Bytes tga(18, 0);
    tga[2] = 2;   // true colour
    tga[12] = static_cast<uint8_t>(side);
    tga[13] = static_cast<uint8_t>(side >> 8);
    tga[14] = static_cast<uint8_t>(side);
    tga[15] = static_cast<uint8_t>(side >> 8);
    tga[16] = 32;
    tga[17] = 0x28;
    return tga;
}

std::vector<uint8_t> TruncatedRleTga(int side) {
    Bytes tga = TruncatedTga(side);
    tga[2] = 10;   // run-length true colour
    for (uint8_t b : {0xFF, 1, 2, 3, 4, 0xFF, 5, 6, 7, 8}) tga.push_back(b);   // two runs of 128
    return tga;
}

std::vector<uint8_t> TruncatedJpeg(int side, bool progressive) {
    Bytes jpeg = TestSupport::WriteJpeg(16, 16, 0x336699, progressive);
    // Walk the marker segments: patch the frame size, cut a little after the first scan header.
    size_t at = 2;
    while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF) {
        const uint8_t marker = jpeg[at + 1];
        const size_t length = (size_t(jpeg[at + 2]) << 8) | jpeg[at + 3];
        if (marker == 0xC0 || marker == 0xC2) {
            jpeg[at + 5] = static_cast<uint8_t>(side >> 8);
            jpeg[at + 6] = static_cast<uint8_t>(side);
            jpeg[at + 7] = static_cast<uint8_t>(side >> 8);
            jpeg[at + 8] = static_cast<uint8_t>(side);
        }
        if (marker == 0xDA) {
            jpeg.resize(std::min(jpeg.size(), at + 2 + length + 16));
            break;
        }
        at += 2 + length;
    }
    return jpeg;
}

namespace {

// A GIF of two colours: a screen x screen logical screen, a frame x frame picture at the top
// left, and the LZW data of `pixels` indices of it.
Bytes TwoColourGif(int screen, int frame, int pixels) {
    Bytes gif = {'G', 'I', 'F', '8', '9', 'a'};
    PutLe16(gif, static_cast<uint32_t>(screen));
    PutLe16(gif, static_cast<uint32_t>(screen));
    gif.insert(gif.end(), {0x80, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF});   // two colours
    gif.push_back(0x2C);
    PutLe16(gif, 0);
    PutLe16(gif, 0);
    PutLe16(gif, static_cast<uint32_t>(frame));
    PutLe16(gif, static_cast<uint32_t>(frame));
    gif.push_back(0);
    gif.push_back(2);   // minimum code size
    LzwWriter lzw(2);
    for (int x = 0; x < pixels; ++x) lzw.Index(1 - (x & 1));
    const Bytes blocks = lzw.SubBlocks();
    gif.insert(gif.end(), blocks.begin(), blocks.end());
    gif.push_back(0x3B);
    return gif;
}

}  // namespace

std::vector<uint8_t> OneRowGif(int side) { return TwoColourGif(side, side, side); }

std::vector<uint8_t> OnePixelGif(int screen) { return TwoColourGif(screen, 1, 1); }

}  // namespace HostileInputs
