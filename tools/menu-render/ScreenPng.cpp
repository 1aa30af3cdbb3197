#include "ScreenPng.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

bool WriteScreenPng(const Orvane::MemoryImage& image, const std::string& path, std::string& error) {
    const int w = image.GetWidth();
    const int h = image.GetHeight();
    if (w <= 0 || h <= 0) {
        error = "empty screen";
        return false;
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!file) {
        error = "cannot create " + path;
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, &info);
        error = "out of memory";
        return false;
    }
    std::vector<png_byte> row(static_cast<size_t>(w) * 3);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        error = "cannot write " + path;
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const uint32_t p = image.GetPixel(x, y);
            row[static_cast<size_t>(x) * 3 + 0] = static_cast<png_byte>(p >> 16);
            row[static_cast<size_t>(x) * 3 + 1] = static_cast<png_byte>(p >> 8);
            row[static_cast<size_t>(x) * 3 + 2] = static_cast<png_byte>(p);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

void DrawPointerMark(Orvane::MemoryImage& image, int x, int y) {
    // A 12-row arrow: row r spans columns 0..r/1.5 of the tip, outlined in black.
    constexpr int kRows = 16;
    auto put = [&](int px, int py, uint32_t colour) {
        if (px >= 0 && py >= 0 && px < image.GetWidth() && py < image.GetHeight()) {
            image.SetPixel(px, py, colour);
        }
    };
    for (int r = 0; r < kRows; ++r) {
        const int span = r * 2 / 3;
        for (int c = 0; c <= span; ++c) {
            const bool edge = c == 0 || c == span || r == kRows - 1;
            put(x + c, y + r, edge ? 0xFF000000u : 0xFFFFFFFFu);
        }
    }
}
