// Image loading: finds and decodes a picture file through the file layer (packs first, then
// loose files). Formats are tried by extension in a fixed order (.tga, .jpg, .png, .gif); a
// name without extension tries each. An optional separate alpha picture ("_" before the file
// name) supplies the alpha channel. Damaged or hostile files yield no image.
#pragma once

#include "framework/graphics/MemoryImage.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Orvane {

// Pictures wider or taller than this are refused.
constexpr int kMaxImageSide = 8192;

// Decoded pixels, 0xAARRGGBB row-major.
struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

struct ImageLoadOptions {
    // Look for the separate alpha picture (folder\_name).
    bool useAlphaImage = true;
    // Colour of a picture that consists of an alpha picture only (0xRRGGBB).
    uint32_t alphaGridColor = 0xFFFFFF;
};

// Splits at the last '.' that comes after the last '\' or '/': base name and extension
// (with its dot; empty when there is none).
void SplitImageFileName(const std::string& fileName, std::string& base, std::string& extension);

// Decodes fileName by the lookup rules, without the alpha picture; false when nothing decodes.
bool DecodeImageFile(const std::string& fileName, DecodedImage& out);

// The whole load: lookup, alpha picture, a new MemoryImage with fileName as its path.
// None when no decoder accepts the file.
std::unique_ptr<MemoryImage> LoadImageFile(const std::string& fileName,
                                           const ImageLoadOptions& options = {});

}  // namespace Orvane
