#include "framework/graphics/ImageLoader.h"

#include "framework/graphics/codecs/ImageCodecs.h"
#include "framework/pak/PakInterface.h"

#include <cctype>

namespace Orvane {

namespace {

using Decoder = bool (*)(const uint8_t*, size_t, DecodedImage&);

struct Format {
    const char* extension;
    Decoder decode;
};

// The order in which formats are tried. JPEG 2000 has no decoder here: such files fail.
constexpr Format kFormats[] = {
    {".tga", Codecs::DecodeTga},
    {".jpg", Codecs::DecodeJpeg},
    {".png", Codecs::DecodePng},
    {".gif", Codecs::DecodeGif},
};

// Picture files larger than this are not read at all.
constexpr size_t kMaxFileBytes = size_t{128} << 20;

bool SameIgnoringCase(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && b[i] == '\0';
}

bool DecodeFile(const std::string& path, Decoder decode, DecodedImage& out) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes, kMaxFileBytes) || bytes.empty()) return false;
    DecodedImage image;
    if (!decode(bytes.data(), bytes.size(), image)) return false;
    out = std::move(image);
    return true;
}

// folder\name.png -> folder\_name.png
std::string AlphaImageName(const std::string& fileName) {
    const size_t slash = fileName.find_last_of("\\/");
    const size_t at = slash == std::string::npos ? 0 : slash + 1;
    return fileName.substr(0, at) + "_" + fileName.substr(at);
}

}  // namespace

void SplitImageFileName(const std::string& fileName, std::string& base, std::string& extension) {
    const size_t slash = fileName.find_last_of("\\/");
    const size_t dot = fileName.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
        base = fileName.substr(0, dot);
        extension = fileName.substr(dot);
    } else {
        base = fileName;
        extension.clear();
    }
}

bool DecodeImageFile(const std::string& fileName, DecodedImage& out) {
    std::string base, extension;
    SplitImageFileName(fileName, base, extension);
    for (const Format& format : kFormats) {
        if (!extension.empty() && !SameIgnoringCase(extension, format.extension)) continue;
        // With an extension the name keeps its own spelling (file names are case-sensitive
        // here); without one, each format's extension is tried.
        const std::string path = extension.empty() ? base + format.extension : fileName;
        if (DecodeFile(path, format.decode, out)) return true;
    }
    return false;
}

std::unique_ptr<MemoryImage> LoadImageFile(const std::string& fileName,
                                           const ImageLoadOptions& options) {
    DecodedImage picture, alpha;
    const bool havePicture = DecodeImageFile(fileName, picture);
    const bool haveAlpha = options.useAlphaImage && DecodeImageFile(AlphaImageName(fileName), alpha);
    if (!havePicture && !haveAlpha) return nullptr;

    if (!havePicture) {
        // Only the alpha picture: the grid colour with the alpha picture's low byte as alpha.
        picture.width = alpha.width;
        picture.height = alpha.height;
        picture.pixels.resize(alpha.pixels.size());
        const uint32_t colour = options.alphaGridColor & 0xFFFFFFu;
        for (size_t i = 0; i < alpha.pixels.size(); ++i)
            picture.pixels[i] = ((alpha.pixels[i] & 0xFFu) << 24) | colour;
    } else if (haveAlpha && alpha.width == picture.width && alpha.height == picture.height) {
        for (size_t i = 0; i < picture.pixels.size(); ++i)
            picture.pixels[i] = (picture.pixels[i] & 0xFFFFFFu) | ((alpha.pixels[i] & 0xFFu) << 24);
    }

    auto image = std::make_unique<MemoryImage>();
    if (!image->SetPixels(picture.width, picture.height, std::move(picture.pixels))) return nullptr;
    image->SetFilePath(fileName);
    image->Prepare();
    return image;
}

}  // namespace Orvane
