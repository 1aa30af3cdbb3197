// Image loading: every decoder on files written by independent encoders, the lookup by
// extension, the separate alpha picture, and damaged, truncated and hostile files.
#include "ImageTestFiles.h"

#include "framework/graphics/ImageLoader.h"
#include "framework/graphics/codecs/ImageCodecs.h"
#include "support/HostileInputs.h"
#include "support/PictureWriters.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <png.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>


namespace {

using namespace Orvane;
using Bytes = std::vector<uint8_t>;

// --- Writers (libpng, libjpeg, and Targa by hand).

Bytes WritePng(int w, int h, const std::vector<uint32_t>& argb) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = uint32_t(w);
    image.height = uint32_t(h);
    image.format = PNG_FORMAT_BGRA;
    png_alloc_size_t size = 0;
    EXPECT_TRUE(png_image_write_get_memory_size(image, size, 0, argb.data(), 0, nullptr));
    Bytes out(size);
    EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, argb.data(), 0, nullptr));
    out.resize(size);
    return out;
}

using TestSupport::WriteJpeg;

// Targa header for w x h of the given type, depth and descriptor.
Bytes TgaHeader(int type, int w, int h, int depth, int descriptor, int mapLength = 0,
                int mapBits = 0) {
    Bytes b(18, 0);
    b[1] = mapLength ? 1 : 0;
    b[2] = uint8_t(type);
    b[5] = uint8_t(mapLength);
    b[6] = uint8_t(mapLength >> 8);
    b[7] = uint8_t(mapBits);
    b[12] = uint8_t(w); b[13] = uint8_t(w >> 8);
    b[14] = uint8_t(h); b[15] = uint8_t(h >> 8);
    b[16] = uint8_t(depth);
    b[17] = uint8_t(descriptor);
    return b;
}

void Append(Bytes& b, std::initializer_list<int> values) {
    for (int v : values) b.push_back(uint8_t(v));
}

DecodedImage Decode(bool (*decode)(const uint8_t*, size_t, DecodedImage&), const Bytes& b) {
    DecodedImage image;
    EXPECT_TRUE(decode(b.data(), b.size(), image));
    return image;
}

// --- Decoders.

TEST(ImageDecoderTest, PngKeepsColourAndAlpha) {
    const std::vector<uint32_t> pixels = {0xFF102030, 0x80FFFFFF, 0x00000000, 0xC0405060,
                                          0xFF000000, 0x01020304};
    const DecodedImage image = Decode(Codecs::DecodePng, WritePng(3, 2, pixels));
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.pixels[0], 0xFF102030u);
    EXPECT_EQ(image.pixels[1], 0x80FFFFFFu);
    EXPECT_EQ(image.pixels[3], 0xC0405060u);
    EXPECT_EQ(image.pixels[5] >> 24, 1u);
}

TEST(ImageDecoderTest, JpegIsOpaque) {
    const DecodedImage image = Decode(Codecs::DecodeJpeg, WriteJpeg(16, 8, 0x3080C0));
    ASSERT_EQ(image.width, 16);
    ASSERT_EQ(image.height, 8);
    for (uint32_t p : image.pixels) {
        EXPECT_EQ(p >> 24, 255u);
        EXPECT_NEAR(int((p >> 16) & 0xFF), 0x30, 3);
        EXPECT_NEAR(int((p >> 8) & 0xFF), 0x80, 3);
        EXPECT_NEAR(int(p & 0xFF), 0xC0, 3);
    }
}

TEST(ImageDecoderTest, TargaLayouts) {
    struct Case {
        const char* name;
        Bytes file;
        std::vector<uint32_t> want;   // 2 x 2, top row first
    };
    std::vector<Case> cases;
    {   // 24-bit, stored bottom row first (B, G, R).
        Bytes b = TgaHeader(2, 2, 2, 24, 0);
        Append(b, {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10});
        cases.push_back({"24 bottom-up", b, {0xFF070809, 0xFF0A0B0C, 0xFF010203, 0xFF040506}});
    }
    {   // 32-bit top-down with alpha.
        Bytes b = TgaHeader(2, 2, 2, 32, 0x28);
        Append(b, {1, 2, 3, 0x80, 4, 5, 6, 0, 7, 8, 9, 0xFF, 10, 11, 12, 0x10});
        cases.push_back({"32 top-down", b, {0x80030201, 0x00060504, 0xFF090807, 0x100C0B0A}});
    }
    {   // 32-bit whose alpha bytes are all zero: written without alpha.
        Bytes b = TgaHeader(2, 2, 2, 32, 0x20);
        Append(b, {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0, 10, 11, 12, 0});
        cases.push_back({"32 no alpha", b, {0xFF030201, 0xFF060504, 0xFF090807, 0xFF0C0B0A}});
    }
    {   // Run-length encoded 24-bit: a run of 3 and one raw pixel, top-down.
        Bytes b = TgaHeader(10, 2, 2, 24, 0x20);
        Append(b, {0x82, 1, 2, 3, 0x00, 4, 5, 6});
        cases.push_back({"rle", b, {0xFF030201, 0xFF030201, 0xFF030201, 0xFF060504}});
    }
    {   // Grey, right to left, top-down.
        Bytes b = TgaHeader(3, 2, 2, 8, 0x30);
        Append(b, {0x10, 0x20, 0x30, 0x40});
        cases.push_back({"grey", b, {0xFF202020, 0xFF101010, 0xFF404040, 0xFF303030}});
    }
    {   // Colour-mapped, 24-bit palette of two entries.
        Bytes b = TgaHeader(1, 2, 2, 8, 0x20, 2, 24);
        Append(b, {0, 0, 255, 255, 0, 0, 1, 0, 0, 1});
        cases.push_back({"mapped", b, {0xFF0000FF, 0xFFFF0000, 0xFFFF0000, 0xFF0000FF}});
    }
    {   // 16-bit 5-5-5 with an alpha bit.
        Bytes b = TgaHeader(2, 2, 2, 16, 0x21);
        Append(b, {0x00, 0xFC, 0x1F, 0x00, 0xE0, 0x83, 0x00, 0x00});
        cases.push_back({"16", b, {0xFFFF0000, 0x000000FF, 0xFF00FF00, 0x00000000}});
    }
    for (const Case& c : cases) {
        DecodedImage image;
        ASSERT_TRUE(Codecs::DecodeTga(c.file.data(), c.file.size(), image)) << c.name;
        EXPECT_EQ(image.width, 2);
        EXPECT_EQ(image.pixels, c.want) << c.name;
    }
}

// Files written by other programs (fixtures/pictures/make-fixtures.sh): Pillow, netpbm and
// ImageMagick, each origin, raw and run-length, 24 and 32 bits, colour-mapped; and two PNG
// layouts the own tests do not write (interlaced, 4-bit palette). All show one 5 x 3 picture.
TEST(ImageDecoderTest, FilesOfOtherProgramsShowTheirPicture) {
    struct Case {
        const char* file;
        bool alpha;     // the 32-bit variant of the picture
        bool flipped;   // rows stored against the file's own origin (see below)
    };
    const std::vector<Case> cases = {
        {"pil-24-bottom.tga", false, false},     {"pil-24-top.tga", false, false},
        {"pil-24-rle-bottom.tga", false, false}, {"pil-24-rle-top.tga", false, false},
        {"pil-32-bottom.tga", true, false},      {"pil-32-rle-top.tga", true, false},
        {"pil-mapped-bottom.tga", false, false}, {"pil-mapped-rle-top.tga", false, false},
        {"netpbm-24-bottom.tga", false, false},  {"netpbm-mapped-rle-bottom.tga", false, false},
        {"im-24-top.tga", false, false},         {"im-32-rle-top.tga", true, false},
        // ImageMagick 6 writes a picture without a stored orientation with the bottom-left
        // origin bit yet top row first; Pillow, netpbm and ImageMagick's own -auto-orient read
        // it bottom row first, as the format says, and so does this decoder.
        {"im-24-unmarked.tga", false, true},
        {"im-interlaced.png", true, false},      {"pil-palette-4bit.png", false, false},
    };
    const auto pixel = [](int x, int y, bool alpha) {
        const uint32_t a = alpha ? uint32_t(255 - 40 * x - 10 * y) : 255u;
        return (a << 24) | (uint32_t(40 * x + 20) << 16) | (uint32_t(80 * y + 30) << 8) | uint32_t(200 - 30 * x - 20 * y);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = TestSupport::SourceDir() + "/tests/framework/fixtures/pictures/" + c.file;
        const std::string bytes = TestSupport::ReadFile(path);
        ASSERT_FALSE(bytes.empty());
        DecodedImage image;
        const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
        const bool png = std::string(c.file).find(".png") != std::string::npos;
        ASSERT_TRUE((png ? Codecs::DecodePng : Codecs::DecodeTga)(data, bytes.size(), image));
        ASSERT_EQ(image.width, 5);
        ASSERT_EQ(image.height, 3);
        std::vector<uint32_t> want;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) want.push_back(pixel(x, c.flipped ? 2 - y : y, c.alpha));
        EXPECT_EQ(image.pixels, want);
    }
}

TEST(ImageDecoderTest, GifPlainInterlacedAndLong) {
    using namespace ImageTestFiles;
    for (const auto& [data, size] : {std::pair{kPlainGif, kPlainGifSize},
                                     std::pair{kInterlacedGif, kInterlacedGifSize}}) {
        DecodedImage image;
        ASSERT_TRUE(Codecs::DecodeGif(data, size, image));
        ASSERT_EQ(image.width, 7);
        ASSERT_EQ(image.height, 5);
        auto at = [&](int x, int y) { return image.pixels[size_t(y * 7 + x)]; };
        EXPECT_EQ(at(0, 0), 0xFFFF0000u);
        EXPECT_EQ(at(1, 1), 0xFF0000FFu);
        EXPECT_EQ(at(0, 3), 0xFF00FF00u);
        EXPECT_EQ(at(6, 4), 0xFF00FF00u);
        EXPECT_EQ(at(3, 2) >> 24, 0u);
        EXPECT_EQ(at(4, 2), 0xFFFF0000u);
    }
    DecodedImage noise;
    ASSERT_TRUE(Codecs::DecodeGif(kNoiseGif, kNoiseGifSize, noise));
    ASSERT_EQ(noise.width, 48);
    ASSERT_EQ(noise.height, 40);
    uint64_t hash = 0xcbf29ce484222325ULL;
    for (uint32_t p : noise.pixels)
        for (int k = 0; k < 4; ++k) {
            hash ^= (p >> (8 * k)) & 0xFF;
            hash *= 0x100000001b3ULL;
        }
    EXPECT_EQ(hash, 0xbf9c2b90e8e34393ULL);
}

// --- Hostile input: every truncation and many corruptions of valid files.

TEST(ImageDecoderTest, DamagedFilesNeverCrash) {
    struct Kind {
        const char* name;
        bool (*decode)(const uint8_t*, size_t, DecodedImage&);
        Bytes file;
        size_t endMarker = 0;   // bytes after complete picture data (PNG's IEND, GIF's ';')
    };
    std::vector<uint32_t> pixels(24 * 16);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint32_t(i * 2654435761u);
    Bytes rle = TgaHeader(10, 4, 4, 32, 0x28);
    for (int i = 0; i < 4; ++i) Append(rle, {0x83, i, 2 * i, 3 * i, 200});
    const std::vector<Kind> kinds = {
        {"png", Codecs::DecodePng, WritePng(24, 16, pixels), 12},
        {"jpeg", Codecs::DecodeJpeg, WriteJpeg(24, 16, 0x123456)},
        {"tga", Codecs::DecodeTga, rle},
        {"gif", Codecs::DecodeGif,
         Bytes(ImageTestFiles::kNoiseGif, ImageTestFiles::kNoiseGif + ImageTestFiles::kNoiseGifSize),
         1},
    };
    std::mt19937 rng(5);
    for (const Kind& kind : kinds) {
        DecodedImage whole;
        ASSERT_TRUE(kind.decode(kind.file.data(), kind.file.size(), whole)) << kind.name;
        // Truncated: no picture (the decoders refuse incomplete data; a file that lacks only
        // its end marker still holds the whole picture).
        const size_t step = std::max<size_t>(1, kind.file.size() / 300);
        for (size_t n = 0; n < kind.file.size() - kind.endMarker; n += step) {
            Bytes cut(kind.file.begin(), kind.file.begin() + ptrdiff_t(n));
            DecodedImage image;
            EXPECT_FALSE(kind.decode(cut.data(), cut.size(), image)) << kind.name << " cut at " << n;
        }
        // Corrupted: either refused or a consistent picture.
        for (int round = 0; round < 400; ++round) {
            Bytes bad = kind.file;
            const int flips = 1 + int(rng() % 4);
            for (int f = 0; f < flips; ++f) bad[rng() % bad.size()] = uint8_t(rng());
            DecodedImage image;
            if (kind.decode(bad.data(), bad.size(), image)) {
                ASSERT_GT(image.width, 0);
                ASSERT_LE(image.width, kMaxImageSide);
                ASSERT_EQ(image.pixels.size(), size_t(image.width) * size_t(image.height));
            }
        }
    }
}

TEST(ImageDecoderTest, PicturesOver8192PixelsASideAreRefused) {
    DecodedImage image;
    const Bytes widePng = WritePng(kMaxImageSide + 1, 1, std::vector<uint32_t>(kMaxImageSide + 1));
    EXPECT_FALSE(Codecs::DecodePng(widePng.data(), widePng.size(), image));
    const Bytes tallJpeg = WriteJpeg(8, kMaxImageSide + 8, 0);
    EXPECT_FALSE(Codecs::DecodeJpeg(tallJpeg.data(), tallJpeg.size(), image));
    Bytes tga = TgaHeader(2, 65535, 65535, 24, 0);
    tga.resize(64, 0);
    EXPECT_FALSE(Codecs::DecodeTga(tga.data(), tga.size(), image));
    Bytes gif(ImageTestFiles::kPlainGif, ImageTestFiles::kPlainGif + ImageTestFiles::kPlainGifSize);
    gif[6] = gif[7] = gif[8] = gif[9] = 0xFF;   // 65535 x 65535 logical screen
    EXPECT_FALSE(Codecs::DecodeGif(gif.data(), gif.size(), image));
    const Bytes exact = WritePng(kMaxImageSide, 1, std::vector<uint32_t>(kMaxImageSide));
    EXPECT_TRUE(Codecs::DecodePng(exact.data(), exact.size(), image));
}

TEST(ImageDecoderTest, ShortFilesDeclaringHugePicturesCostNoMoreThanTheirBytes) {
    // Each declares 8192 x 8192 pixels (256 MB decoded) or a chunk of 1.9 GB and holds a few
    // hundred bytes.
    struct Case {
        const char* what;
        bool (*decode)(const uint8_t*, size_t, DecodedImage&);
        Bytes file;
    };
    const std::vector<Case> cases = {
        {"png", Codecs::DecodePng, HostileInputs::TruncatedPng(kMaxImageSide)},
        {"png chunk longer than the file", Codecs::DecodePng, HostileInputs::PngWithOverlongChunk()},
        {"tga", Codecs::DecodeTga, HostileInputs::TruncatedTga(kMaxImageSide)},
        {"run-length tga", Codecs::DecodeTga, HostileInputs::TruncatedRleTga(kMaxImageSide)},
        {"jpeg", Codecs::DecodeJpeg, HostileInputs::TruncatedJpeg(kMaxImageSide, false)},
        {"progressive jpeg", Codecs::DecodeJpeg, HostileInputs::TruncatedJpeg(kMaxImageSide, true)},
        {"gif", Codecs::DecodeGif, HostileInputs::OneRowGif(kMaxImageSide)},
        {"one pixel on a gif screen of that size", Codecs::DecodeGif, HostileInputs::OnePixelGif(kMaxImageSide)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DecodedImage image;
        const TestSupport::WorkCost cost =
            TestSupport::MeasureCost([&] { EXPECT_FALSE(c.decode(c.file.data(), c.file.size(), image)); });
        EXPECT_LT(cost.seconds, 5.0);
        EXPECT_LT(cost.peakMegabytes, 32.0);
    }
}

TEST(ImageDecoderTest, AGifScreenLargerThanItsPictureDecodesOnlyWhenItsBytesCouldFillIt) {
    // A few dozen bytes: one white pixel at the top left of a 64 x 64 screen, the rest empty.
    const Bytes small = HostileInputs::OnePixelGif(64);
    DecodedImage image;
    ASSERT_TRUE(Codecs::DecodeGif(small.data(), small.size(), image));
    EXPECT_EQ(image.width, 64);
    EXPECT_EQ(image.height, 64);
    EXPECT_EQ(image.pixels[0], 0xFFFFFFFFu);
    EXPECT_EQ(std::count(image.pixels.begin(), image.pixels.end(), 0u), 64 * 64 - 1);
    // The same bytes on a screen of 1000 x 1000 pixels: more than any data of that size can
    // describe, so it is refused (the side limit alone would let it allocate 4 MB).
    const Bytes large = HostileInputs::OnePixelGif(1000);
    EXPECT_FALSE(Codecs::DecodeGif(large.data(), large.size(), image));
}

// --- Lookup through the file layer.

class ImageLoaderTest : public ::testing::Test {
protected:
    ImageLoaderTest() : cwd_(dir_.Path()) {}
    void Write(const std::string& name, const Bytes& bytes) {
        std::filesystem::create_directories(std::filesystem::path(dir_ / name).parent_path());
        ASSERT_TRUE(TestSupport::WriteFile(dir_ / name, bytes));
    }
    static Bytes Tga1x1(uint32_t argb) {
        Bytes b = TgaHeader(2, 1, 1, 32, 0x28);
        Append(b, {int(argb & 0xFF), int((argb >> 8) & 0xFF), int((argb >> 16) & 0xFF),
                   int(argb >> 24)});
        return b;
    }
    TestSupport::ScopedTempDir dir_;
    TestSupport::ScopedCwd cwd_;
};

TEST_F(ImageLoaderTest, NameWithoutExtensionTriesTheFormatsInOrder) {
    Write("Graphics/back.jpg", WriteJpeg(8, 8, 0xFF0000));
    Write("Graphics/back.png", WritePng(2, 2, std::vector<uint32_t>(4, 0xFF00FF00)));
    std::unique_ptr<MemoryImage> image = LoadImageFile("Graphics\\back");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->GetWidth(), 8);           // the JPEG: no Targa of that name
    EXPECT_EQ(image->GetFilePath(), "Graphics\\back");
    Write("Graphics/back.tga", Tga1x1(0xFF0000FF));
    image = LoadImageFile("Graphics\\back");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->GetWidth(), 1);           // Targa comes first
    image = LoadImageFile("Graphics\\back.png");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->GetPixel(0, 0), 0xFF00FF00u);
}

TEST_F(ImageLoaderTest, ExtensionChoosesTheDecoder) {
    Write("Graphics/fake.png", WriteJpeg(4, 4, 0));   // JPEG bytes under a PNG name
    EXPECT_FALSE(LoadImageFile("Graphics\\fake.png"));
    Write("Graphics/upper.PNG", WritePng(1, 1, {0xFF123456}));
    std::unique_ptr<MemoryImage> image = LoadImageFile("Graphics\\upper.PNG");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->GetPixel(0, 0), 0xFF123456u);
    Write("Graphics/pic.bmp", Bytes(64, 0x42));
    EXPECT_FALSE(LoadImageFile("Graphics\\pic.bmp"));
    EXPECT_FALSE(LoadImageFile("Graphics\\missing.png"));
    EXPECT_FALSE(LoadImageFile(""));
    // A dot in a folder name is not an extension.
    Write("Gra.phics/x.gif", Bytes(ImageTestFiles::kPlainGif,
                                   ImageTestFiles::kPlainGif + ImageTestFiles::kPlainGifSize));
    image = LoadImageFile("Gra.phics\\x");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->GetWidth(), 7);
    std::string base, ext;
    SplitImageFileName("Gra.phics\\x", base, ext);
    EXPECT_EQ(base, "Gra.phics\\x");
    EXPECT_EQ(ext, "");
    SplitImageFileName("a/b.c.jpg", base, ext);
    EXPECT_EQ(base, "a/b.c");
    EXPECT_EQ(ext, ".jpg");
}

TEST_F(ImageLoaderTest, SeparateAlphaPicture) {
    Write("Graphics/shape.png", WritePng(2, 1, {0xFF112233, 0xFF445566}));
    Write("Graphics/_shape.png", WritePng(2, 1, {0xFF000080, 0xFFFFFF00}));
    std::unique_ptr<MemoryImage> image = LoadImageFile("Graphics\\shape.png");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->GetPixel(0, 0), 0x80112233u);   // alpha from the blue byte
    EXPECT_EQ(image->GetPixel(1, 0), 0x00445566u);
    EXPECT_TRUE(image->HasTransparency());

    ImageLoadOptions without;
    without.useAlphaImage = false;
    image = LoadImageFile("Graphics\\shape.png", without);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->GetPixel(1, 0), 0xFF445566u);

    // Only the alpha picture: the grid colour with that alpha.
    Write("Graphics/_mask.tga", Tga1x1(0xFF0000C0));
    image = LoadImageFile("Graphics\\mask.tga");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->GetPixel(0, 0), 0xC0FFFFFFu);
    ImageLoadOptions grid;
    grid.alphaGridColor = 0x102030;
    EXPECT_EQ(LoadImageFile("Graphics\\mask.tga", grid)->GetPixel(0, 0), 0xC0102030u);

    // Sizes that differ: the alpha picture is ignored.
    Write("Graphics/odd.png", WritePng(1, 1, {0xFF010101}));
    Write("Graphics/_odd.png", WritePng(2, 1, {0xFF000000, 0xFF000000}));
    EXPECT_EQ(LoadImageFile("Graphics\\odd.png")->GetPixel(0, 0), 0xFF010101u);
}

}  // namespace
