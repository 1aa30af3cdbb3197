#include "support/PictureWriters.h"

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace TestSupport {

std::vector<uint8_t> WriteJpeg(int w, int h, uint32_t rgb, bool progressive) {
    jpeg_compress_struct info{};
    jpeg_error_mgr err{};
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(w);
    info.image_height = JDIMENSION(h);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(size_t(w) * 3);
    for (int x = 0; x < w; ++x) {
        row[size_t(x) * 3] = uint8_t(rgb >> 16);
        row[size_t(x) * 3 + 1] = uint8_t(rgb >> 8);
        row[size_t(x) * 3 + 2] = uint8_t(rgb);
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&info, &p, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

}  // namespace TestSupport
