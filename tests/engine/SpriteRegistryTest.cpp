// The sprite registry: registering by exact name, loading on a miss, the 750 limit, folder
// loading for the loading screen, and release.
#include "SpriteTestSupport.h"

#include "framework/graphics/MemoryImage.h"

#include <filesystem>

namespace {

using SpriteTest::SpriteFixture;
using TestSupport::WriteFile;

class SpriteRegistryTest : public SpriteFixture {};

TEST_F(SpriteRegistryTest, RegistersByExactNameOnceAndLogs) {
    shop_.Add("Graphics\\a.png", 4, 4);
    sprites_.LoadImage("Graphics\\", "a.png");
    ASSERT_EQ(sprites_.TextureCount(), 1);
    EXPECT_EQ(sprites_.TextureName(0), "Graphics\\a.png");
    EXPECT_EQ(Count(Log(), "Loading image: 'Graphics\\a.png' ... OK (1 loaded) (32 bit)"), 1);

    // The same folder + file again: nothing loads, nothing is logged.
    const std::string before = Log();
    sprites_.LoadImage("Graphics\\", "a.png");
    sprites_.LoadImage("", "Graphics\\a.png");
    EXPECT_EQ(sprites_.TextureCount(), 1);
    EXPECT_EQ(shop_.loads["Graphics\\a.png"], 1);
    EXPECT_EQ(Log(), before);

    // Names are compared byte for byte: another case is another picture.
    shop_.Add("graphics\\A.png", 4, 4);
    sprites_.LoadImage("graphics\\", "A.png");
    EXPECT_EQ(sprites_.TextureCount(), 2);
}

TEST_F(SpriteRegistryTest, GetTextureLoadsOnMissAndRetriesFailures) {
    shop_.Add("Graphics\\b.png", 8, 2);
    Orvane::Image* b = sprites_.GetTexture("Graphics\\b.png");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->GetWidth(), 8);
    EXPECT_EQ(sprites_.GetTexture("Graphics\\b.png"), b);
    EXPECT_EQ(shop_.loads["Graphics\\b.png"], 1);

    // A name that does not load is tried (and logged) again on every look-up.
    EXPECT_EQ(sprites_.GetTexture("Graphics\\missing.png"), nullptr);
    EXPECT_EQ(sprites_.GetTexture("Graphics\\missing.png"), nullptr);
    EXPECT_EQ(shop_.loads["Graphics\\missing.png"], 2);
    EXPECT_EQ(Count(Log(), "Loading image: 'Graphics\\missing.png' ... FAILED"), 2);
    EXPECT_EQ(sprites_.TextureCount(), 1);

    EXPECT_EQ(CSpriteManager::GetImageSize(b).height, 2);
    EXPECT_EQ(CSpriteManager::GetImageSize(nullptr).width, 0);
}

TEST_F(SpriteRegistryTest, RefusesThe751stPictureAndOverlongNames) {
    shop_.Add("x", [] { return SpriteTest::SolidImage(1, 1, 0xFFFFFFFF); });
    for (int i = 0; i < CSpriteManager::kMaxTextures; ++i) {
        const std::string name = "p" + std::to_string(i);
        shop_.Add(name, 1, 1);
        sprites_.LoadImage("", name);
    }
    ASSERT_EQ(sprites_.TextureCount(), 750);
    shop_.Add("one-too-many", 1, 1);
    EXPECT_EQ(sprites_.GetTexture("one-too-many"), nullptr);
    EXPECT_EQ(sprites_.TextureCount(), 750);
    EXPECT_EQ(shop_.loads.count("one-too-many"), 0u);
    EXPECT_EQ(Count(Log(), "Overflow error: maximum textures count"), 1);
    // Registered pictures are still found.
    EXPECT_NE(sprites_.GetTexture("p749"), nullptr);

    sprites_.DeleteAllTextures();
    EXPECT_EQ(sprites_.TextureCount(), 0);
    // A name longer than the name table holds is never registered.
    const std::string longName(300, 'n');
    shop_.Add(longName, 1, 1);
    EXPECT_EQ(sprites_.GetTexture(longName), nullptr);
    EXPECT_EQ(sprites_.TextureCount(), 0);
}

TEST_F(SpriteRegistryTest, DeleteAllTexturesReleasesEverythingAndLogsEvenWhenEmpty) {
    sprites_.DeleteAllTextures();
    EXPECT_EQ(Count(Log(), "CSpriteManager::DeleteAllTextures()"), 1);
    shop_.Add("a", 1, 1);
    ASSERT_NE(sprites_.GetTexture("a"), nullptr);
    sprites_.DeleteAllTextures();
    EXPECT_EQ(sprites_.TextureCount(), 0);
    EXPECT_EQ(sprites_.TextureName(0), "");
    EXPECT_EQ(Count(Log(), "CSpriteManager::DeleteAllTextures()"), 2);
    // Registering again after a release works from a clean table.
    ASSERT_NE(sprites_.GetTexture("a"), nullptr);
    EXPECT_EQ(sprites_.TextureCount(), 1);
}

TEST_F(SpriteRegistryTest, FolderIsCountedAndLoadedOneFilePerStep) {
    std::filesystem::create_directories(dir_ / "Graphics/sub.png");   // a folder is no picture
    for (const char* f : {"b.png", "a.png", "c.jpg", "d.tga", "e.bmp", "notes.txt"}) {
        ASSERT_TRUE(WriteFile(dir_ / (std::string("Graphics/") + f), "x"));
        shop_.Add(std::string("Graphics\\") + f, 2, 2);
    }
    EXPECT_EQ(sprites_.CountImageFiles("Graphics\\"), 5);

    // Patterns in order .png, .jpg, .tga, .bmp; names within a pattern in file-search order.
    std::vector<std::string> loaded;
    bool more = sprites_.LoadFolderStep("Graphics\\", 1);
    while (more) more = sprites_.LoadFolderStep("Graphics\\", 2);
    for (int i = 0; i < sprites_.TextureCount(); ++i) loaded.push_back(sprites_.TextureName(i));
    EXPECT_EQ(loaded, (std::vector<std::string>{"Graphics\\a.png", "Graphics\\b.png",
                                                "Graphics\\c.jpg", "Graphics\\d.tga",
                                                "Graphics\\e.bmp"}));
    // Every step that handed a file over counted, even when it was registered already.
    sprites_.DeleteAllTextures();
    shop_.Add("Graphics\\a.png", 2, 2);
    sprites_.LoadImage("Graphics\\", "a.png");
    int steps = sprites_.LoadFolderStep("Graphics\\", 1) ? 1 : 0;
    while (sprites_.LoadFolderStep("Graphics\\", 2)) ++steps;
    EXPECT_EQ(steps, 5);
    EXPECT_EQ(sprites_.TextureCount(), 5);
}

TEST_F(SpriteRegistryTest, FolderStepOnEmptyOrMissingFolderLoadsNothing) {
    std::filesystem::create_directories(dir_ / "Empty");
    EXPECT_EQ(sprites_.CountImageFiles("Empty\\"), 0);
    EXPECT_FALSE(sprites_.LoadFolderStep("Empty\\", 1));
    EXPECT_FALSE(sprites_.LoadFolderStep("Empty\\", 2));
    EXPECT_FALSE(sprites_.LoadFolderStep("Nowhere\\", 1));
    // A step without a started folder has nothing to hand over.
    CSpriteManager fresh;
    EXPECT_FALSE(fresh.LoadFolderStep("Empty\\", 2));
}

TEST_F(SpriteRegistryTest, FolderStepWritesTheBrightnessOptionOnlyWhenMissing) {
    std::filesystem::create_directories(dir_ / "Empty");
    sprites_.LoadFolderStep("Empty\\", 1);
    std::string config = TestSupport::ReadFile(dir_ / "config.ini");
    EXPECT_NE(config.find("Brightness=0.500000"), std::string::npos) << config;

    ASSERT_TRUE(WriteFile(dir_ / "config.ini", "[VIDEO]\nBrightness=0.9\n"));
    sprites_.LoadFolderStep("Empty\\", 1);
    config = TestSupport::ReadFile(dir_ / "config.ini");
    EXPECT_NE(config.find("Brightness=0.9"), std::string::npos) << config;
    EXPECT_EQ(config.find("0.500000"), std::string::npos) << config;
}

// A real picture file through the default loader (framework decoding, no injected loader).
TEST_F(SpriteRegistryTest, DefaultLoaderDecodesPictureFiles) {
    // A 2 x 1 uncompressed 32-bit Targa: a red and a green pixel, top row first.
    std::vector<uint8_t> tga = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 1, 0, 32, 0x28,
                                0, 0, 255, 255, 0, 255, 0, 255};
    ASSERT_TRUE(WriteFile(dir_ / "pic.tga", tga));
    ASSERT_TRUE(WriteFile(dir_ / "broken.png", "not a picture"));
    CSpriteManager plain;
    Orvane::Image* pic = plain.GetTexture("pic.tga");
    ASSERT_NE(pic, nullptr);
    EXPECT_EQ(pic->GetWidth(), 2);
    EXPECT_EQ(pic->GetHeight(), 1);
    ASSERT_NE(pic->AsMemoryImage(), nullptr);
    EXPECT_EQ(pic->AsMemoryImage()->GetPixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(plain.GetTexture("broken.png"), nullptr);
    EXPECT_EQ(Count(Log(), "Loading image: 'broken.png' ... FAILED"), 1);
}

}  // namespace
