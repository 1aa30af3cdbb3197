// Packs built from a folder read back through the file layer, byte for byte.
#include "framework/pak/PakInterface.h"
#include "framework/pak/PakWriter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace Orvane;

TEST(PakWriter, FolderRoundTripsThroughAddPakFile) {
    TestSupport::ScopedTempDir dir;
    TestSupport::ScopedCwd cwd(dir.Path());
    std::filesystem::create_directories(dir / "data/Graphics/Shapes");
    std::string binary;
    for (int i = 0; i < 3000; ++i) binary += static_cast<char>(i % 256);
    TestSupport::WriteFile(dir / "data/language.ini", "[ENGLISH]\r\nFPS=FPS\r\n");
    TestSupport::WriteFile(dir / "data/Graphics/Shapes/cat.png", binary);
    TestSupport::WriteFile(dir / "data/Graphics/empty.bin", "");

    std::vector<PakSource> sources;
    std::vector<uint8_t> image, again;
    std::string error;
    ASSERT_TRUE(CollectPakFolder("data", sources, error, "", 1000)) << error;
    ASSERT_EQ(sources.size(), 3u);
    EXPECT_EQ(sources[0].name, "Graphics\\Shapes\\cat.png");   // '\' separators, name order
    ASSERT_TRUE(BuildPakImage(sources, image, error)) << error;
    ASSERT_TRUE(BuildPakImage({sources.rbegin(), sources.rend()}, again, error));
    EXPECT_EQ(image, again);   // order of the input does not matter
    ASSERT_TRUE(WritePakImage("main.pak", image, error)) << error;
    std::filesystem::remove_all(dir / "data");

    PakInterface pak;
    ASSERT_TRUE(pak.AddPakFile("main.pak"));
    for (const auto& [name, content] : {std::pair<std::string, std::string>{"language.ini", "[ENGLISH]\r\nFPS=FPS\r\n"},
                                        {"Graphics/Shapes/cat.png", binary},
                                        {"Graphics\\empty.bin", ""}}) {
        PakFile* f = pak.FOpen(name.c_str(), "rb");
        ASSERT_NE(f, nullptr) << name;
        std::string read(content.size() + 10, '?');
        read.resize(pak.FRead(read.data(), 1, read.size(), f));
        EXPECT_EQ(read, content) << name;
        pak.FClose(f);
    }
    FindEntry entry;
    PakFind* find = pak.FindFirstFile("Graphics\\Shapes\\*.png", &entry);
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(entry.writeTime, 1000u);   // clamped to the reproducible time
    pak.FindClose(find);
}

TEST(PakWriter, RefusesWhatAPackCannotHold) {
    std::vector<uint8_t> image;
    std::string error;
    EXPECT_FALSE(BuildPakImage({{std::string(256, 'n'), {}, 0}}, image, error));
    EXPECT_FALSE(BuildPakImage({{"a", {}, 0}, {"a", {}, 0}}, image, error));
    EXPECT_FALSE(BuildPakImage({{"", {}, 0}}, image, error));
    std::vector<PakSource> none;
    EXPECT_FALSE(CollectPakFolder("/nonexistent-folder-for-test", none, error));
}
