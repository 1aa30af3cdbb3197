#include "framework/ini/HexBlock.h"

#include <cstdint>
#include <vector>

namespace Orvane {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string EncodeHexBlock(const void* data, size_t size) {
    static const char kDigits[] = "0123456789ABCDEF";
    const auto* bytes = static_cast<const uint8_t*>(data);
    std::string text;
    text.reserve(2 * size + 2);
    uint8_t sum = 0;
    auto put = [&](uint8_t b) {
        text += kDigits[b >> 4];
        text += kDigits[b & 15];
    };
    for (size_t i = 0; i < size; ++i) {
        put(bytes[i]);
        sum = static_cast<uint8_t>(sum + bytes[i]);
    }
    put(sum);
    return text;
}

bool DecodeHexBlock(std::string_view text, void* out, size_t size) {
    if (size > (SIZE_MAX - 2) / 2 || text.size() != 2 * size + 2) return false;
    std::vector<uint8_t> bytes(size + 1);
    for (size_t i = 0; i <= size; ++i) {
        const int hi = HexDigit(text[2 * i]);
        const int lo = HexDigit(text[2 * i + 1]);
        if (hi < 0 || lo < 0) return false;
        bytes[i] = static_cast<uint8_t>(hi << 4 | lo);
    }
    uint8_t sum = 0;
    for (size_t i = 0; i < size; ++i) sum = static_cast<uint8_t>(sum + bytes[i]);
    if (sum != bytes[size]) return false;
    if (size) std::copy(bytes.begin(), bytes.begin() + static_cast<long>(size), static_cast<uint8_t*>(out));
    return true;
}

}  // namespace Orvane
