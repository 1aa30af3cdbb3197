// The image loader over the file layer: a picture file and its separate alpha picture (the
// input's pieces), stored under the extension their signature calls for or under another one,
// looked up by a name with or without an extension. What loads is a consistent picture.
#include "FuzzSupport.h"

#include "framework/graphics/ImageLoader.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr std::array<const char*, 6> kExtensions = {"", ".tga", ".jpg", ".png", ".gif", ".PNG"};

// The extension a file's first bytes call for.
const char* ExtensionOf(std::string_view bytes) {
    if (bytes.substr(0, 4) == "\x89PNG") return ".png";
    if (bytes.substr(0, 3) == "GIF") return ".gif";
    if (bytes.substr(0, 2) == "\xFF\xD8") return ".jpg";
    return ".tga";
}

void Put(const std::string& name, std::string_view bytes, uint8_t choice, bool mismatch) {
    const char* extension = mismatch ? kExtensions[1 + choice % (kExtensions.size() - 1)] : ExtensionOf(bytes);
    Fuzz::PutFile(name + extension, bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint8_t choices = Fuzz::Choices(data, size);
    for (const char* extension : kExtensions) {
        Fuzz::RemoveFile(std::string("Graphics/pic") + extension);
        Fuzz::RemoveFile(std::string("Graphics/_pic") + extension);
    }
    Fuzz::InputReader input(data, size);
    const std::string_view picture = input.Piece(Fuzz::kFileSeparator);
    const std::string_view alpha = input.Rest();
    if (!(choices & 0x01)) Put("Graphics/pic", picture, choices >> 5, choices & 0x02);
    if (!alpha.empty()) Put("Graphics/_pic", alpha, choices >> 2, choices & 0x04);

    Orvane::ImageLoadOptions options;
    options.useAlphaImage = (choices & 0x08) == 0;
    options.alphaGridColor = 0x123456;
    // The name asked for: without an extension (every format is tried) or with the picture's.
    const std::string name = std::string("Graphics\\pic") + ((choices & 0x10) ? "" : ExtensionOf(picture));
    std::unique_ptr<Orvane::MemoryImage> image = Orvane::LoadImageFile(name, options);
    if (image) {
        const bool consistent = image->GetWidth() > 0 && image->GetHeight() > 0 &&
                                image->GetWidth() <= Orvane::kMaxImageSide &&
                                image->GetHeight() <= Orvane::kMaxImageSide && image->GetFilePath() == name;
        FUZZ_CHECK(consistent);
    }
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    Fuzz::Initialize(argc, argv);
    return 0;
}
