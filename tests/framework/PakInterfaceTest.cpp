// The file layer: packed files found under any spelling of their name, stdio-like reads,
// pack before disk, find operations, and whole-file helpers.
#include "framework/pak/PakFormat.h"
#include "framework/pak/PakInterface.h"
#include "framework/pak/PakName.h"
#include "framework/pak/PakWriter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

using namespace Orvane;
using TestSupport::ScopedCwd;
using TestSupport::ScopedTempDir;

namespace {

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

class PakTest : public ::testing::Test {
protected:
    PakTest() : cwd_(dir_.Path()) {}

    void WritePack(const std::string& path, const std::vector<PakSource>& sources) {
        std::vector<uint8_t> image;
        std::string error;
        ASSERT_TRUE(BuildPakImage(sources, image, error)) << error;
        ASSERT_TRUE(TestSupport::WriteFile(dir_ / path, image));
    }

    std::string ReadAll(PakFile* f) {
        std::string out;
        char buf[7];
        size_t n;
        while ((n = pak_.FRead(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
        return out;
    }

    ScopedTempDir dir_;
    ScopedCwd cwd_;
    PakInterface pak_;
};

TEST_F(PakTest, AnySpellingOfANameOpensThePackedFile) {
    WritePack("main.pak", {{"Graphics\\Back.png", Bytes("packed"), 0}});
    ASSERT_TRUE(pak_.AddPakFile("main.pak"));
    for (const std::string& name : std::vector<std::string>{"Graphics\\Back.png", "graphics/back.PNG", "Graphics//\\Back.png",
                                   "Graphics\\Shapes\\..\\Back.png", "./Graphics/Back.png",
                                   dir_.Path() + "/Graphics/Back.png", dir_.Path() + "\\GRAPHICS\\back.png"}) {
        PakFile* f = pak_.FOpen(name.c_str(), "rb");
        ASSERT_NE(f, nullptr) << name;
        EXPECT_EQ(ReadAll(f), "packed") << name;
        pak_.FClose(f);
        EXPECT_TRUE(pak_.IsPacked(name)) << name;
    }
    EXPECT_EQ(pak_.FOpen("Graphics\\Other.png", "rb"), nullptr);
    EXPECT_EQ(NormalisePakName("a\\..\\..\\b", ""), "..\\B");
}

TEST_F(PakTest, TextReadsDropCarriageReturnsButFReadKeepsThem) {
    const std::string text = "one\r\ntwo\r\n\r\nlast";
    WritePack("main.pak", {{"t.txt", Bytes(text), 0}});
    ASSERT_TRUE(pak_.AddPakFile("main.pak"));

    PakFile* f = pak_.FOpen("t.txt", "rt");
    std::string viaGetC;
    for (int c; (c = pak_.FGetC(f)) != EOF;) viaGetC += static_cast<char>(c);
    EXPECT_EQ(viaGetC, "one\ntwo\n\nlast");
    EXPECT_TRUE(pak_.FEof(f));

    pak_.FSeek(f, 0, SEEK_SET);
    char line[5];
    std::vector<std::string> lines;
    while (pak_.FGetS(line, sizeof line, f)) lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"one\n", "two\n", "\n", "last"}));

    pak_.FSeek(f, 0, SEEK_SET);
    EXPECT_EQ(ReadAll(f), text);
    pak_.FClose(f);
}

TEST_F(PakTest, SeeksAreClampedAndReadsStopAtTheEnd) {
    WritePack("main.pak", {{"d.bin", Bytes("0123456789"), 0}, {"empty", {}, 0}});
    ASSERT_TRUE(pak_.AddPakFile("main.pak"));
    PakFile* f = pak_.FOpen("d.bin", "RB");
    struct Case { long offset; int origin; long expected; };
    for (const Case c : {Case{0, SEEK_END, 10}, {-4, SEEK_END, 6}, {-100, SEEK_SET, 0}, {100, SEEK_END, 10},
                         {3, SEEK_SET, 3}, {2, SEEK_CUR, 5}, {-50, SEEK_CUR, 0}}) {
        EXPECT_EQ(pak_.FSeek(f, c.offset, c.origin), 0);
        EXPECT_EQ(pak_.FTell(f), c.expected) << c.offset << "/" << c.origin;
    }
    char buf[8] = {};
    pak_.FSeek(f, 7, SEEK_SET);
    EXPECT_EQ(pak_.FRead(buf, 2, 4, f), 1u);   // 3 bytes left: one whole element of 2
    EXPECT_EQ(pak_.FGetC(f), EOF);
    EXPECT_EQ(pak_.UnGetC('x', f), 'x');
    EXPECT_EQ(pak_.FGetC(f), '9');
    EXPECT_EQ(pak_.FRead(buf, 0, 4, f), 0u);
    EXPECT_EQ(pak_.FGetS(buf, sizeof buf, f), nullptr);
    pak_.FClose(f);

    PakFile* e = pak_.FOpen("empty", "r");
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(pak_.FEof(e));
    EXPECT_EQ(pak_.FSeek(e, 5, SEEK_SET), 0);
    EXPECT_EQ(pak_.FTell(e), 0);
    pak_.FClose(e);
}

TEST_F(PakTest, PackComesBeforeDiskAndWritesGoToDisk) {
    WritePack("main.pak", {{"Menu\\a.xml", Bytes("from pack"), 0}});
    ASSERT_TRUE(pak_.AddPakFile("main.pak"));
    std::filesystem::create_directories(dir_ / "Menu");
    TestSupport::WriteFile(dir_ / "Menu/a.xml", "from disk");
    TestSupport::WriteFile(dir_ / "Menu/b.xml", "loose\r\nfile");

    PakFile* f = pak_.FOpen("Menu\\a.xml", "r");
    EXPECT_EQ(ReadAll(f), "from pack");
    pak_.FClose(f);

    PakFile* w = pak_.FOpen("Menu\\a.xml", "wb");
    ASSERT_NE(w, nullptr);
    pak_.FClose(w);
    EXPECT_EQ(TestSupport::ReadFile(dir_ / "Menu/a.xml"), "");
    f = pak_.FOpen("Menu\\a.xml", "rb");
    EXPECT_EQ(ReadAll(f), "from pack");
    pak_.FClose(f);

    // Loose files: '\' becomes '/', text mode drops CR in line reads, binary keeps it.
    f = pak_.FOpen("Menu\\b.xml", "rt");
    char line[32];
    ASSERT_NE(pak_.FGetS(line, sizeof line, f), nullptr);
    EXPECT_STREQ(line, "loose\n");
    pak_.FClose(f);
    f = pak_.FOpen("Menu\\b.xml", "rb");
    EXPECT_EQ(ReadAll(f), "loose\r\nfile");
    pak_.FClose(f);
    EXPECT_EQ(pak_.FOpen("Menu", "rb"), nullptr);   // a folder is not a file
    EXPECT_EQ(pak_.FOpen("Menu\\missing.xml", "rb"), nullptr);
}

TEST_F(PakTest, LaterPacksWinAndThePackReadsAsItself) {
    WritePack("first.pak", {{"a.txt", Bytes("first"), 0}, {"only1.txt", Bytes("1"), 0}});
    WritePack("second.pak", {{"A.TXT", Bytes("second"), 0}});
    ASSERT_TRUE(pak_.AddPakFile("first.pak"));
    const uint64_t generation = pak_.Generation();
    ASSERT_TRUE(pak_.AddPakFile("second.pak"));
    EXPECT_GT(pak_.Generation(), generation);
    PakFile* f = pak_.FOpen("a.txt", "rb");
    EXPECT_EQ(ReadAll(f), "second");
    pak_.FClose(f);
    EXPECT_TRUE(pak_.IsPacked("only1.txt"));

    f = pak_.FOpen("second.pak", "rb");
    ASSERT_NE(f, nullptr);
    uint32_t magic = 0;
    ASSERT_EQ(pak_.FRead(&magic, 4, 1, f), 1u);
    EXPECT_EQ(magic, kPakMagic);
    pak_.FClose(f);
    EXPECT_FALSE(pak_.AddPakFile("missing.pak"));
}

TEST_F(PakTest, FindListsOneFolderOfThePackElseTheDisk) {
    WritePack("main.pak", {{"Graphics\\b.png", {}, UnixToPakTime(1000)},
                           {"Graphics\\a.PNG", Bytes("xy"), 0},
                           {"Graphics\\c.jpg", {}, 0},
                           {"Graphics\\Shapes\\s.png", {}, 0}});
    ASSERT_TRUE(pak_.AddPakFile("main.pak"));
    std::filesystem::create_directories(dir_ / "Sound");
    TestSupport::WriteFile(dir_ / "Sound/z.ogg", "");
    TestSupport::WriteFile(dir_ / "Sound/y.ogg", "");

    auto names = [&](const std::string& pattern) {
        std::vector<std::string> out;
        FindEntry entry;
        PakFind* find = pak_.FindFirstFile(pattern.c_str(), &entry);
        if (!find) return out;
        do out.push_back(entry.name + ":" + std::to_string(entry.size));
        while (pak_.FindNextFile(find, &entry));
        pak_.FindClose(find);
        return out;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(names("Graphics\\*.png"), (V{"a.PNG:2", "b.png:0"}));
    EXPECT_EQ(names("graphics/*.*"), (V{"a.PNG:2", "b.png:0", "c.jpg:0"}));
    EXPECT_EQ(names("Graphics\\Shapes\\*"), (V{"s.png:0"}));
    EXPECT_EQ(names("Sound\\*.ogg"), (V{"y.ogg:0", "z.ogg:0"}));
    EXPECT_TRUE(names("Levels\\*.xml").empty());

    FindEntry entry;
    PakFind* find = pak_.FindFirstFile("Graphics\\b*", &entry);
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(entry.writeTime, 1000u);
    pak_.FindClose(find);
}

// An installed game: the working folder is the player's, the data folder is read after it and
// never written; packs still come first.
TEST_F(PakTest, TheDataFolderIsReadAfterTheWorkingFolderAndNeverWritten) {
    ScopedTempDir data;
    std::filesystem::create_directories(data / "Graphics");
    std::filesystem::create_directories(dir_ / "Graphics");
    TestSupport::WriteFile(data / "Graphics/a.png", "data a");
    TestSupport::WriteFile(data / "Graphics/b.png", "data b");
    TestSupport::WriteFile(data / "language.ini", "[X]");
    TestSupport::WriteFile(dir_ / "Graphics/a.png", "mine");
    TestSupport::WriteFile(dir_ / "Graphics/c.png", "c");
    pak_.SetDataFolder(data.Path() + "/");
    EXPECT_EQ(pak_.DataFolder(), data.Path());

    auto read = [&](const char* name) {
        PakFile* f = pak_.FOpen(name, "rb");
        const std::string text = f ? ReadAll(f) : "<none>";
        if (f) pak_.FClose(f);
        return text;
    };
    EXPECT_EQ(read("Graphics\\a.png"), "mine");
    EXPECT_EQ(read("Graphics\\b.png"), "data b");
    EXPECT_EQ(read("language.ini"), "[X]");
    EXPECT_EQ(read("Graphics\\d.png"), "<none>");
    EXPECT_EQ(pak_.ReadPath("Graphics\\b.png"), data.Path() + "/Graphics/b.png");
    EXPECT_EQ(pak_.ReadPath("Graphics\\a.png"), "Graphics/a.png");
    EXPECT_EQ(pak_.ReadPath("Graphics\\d.png"), "Graphics/d.png");
    EXPECT_EQ(pak_.ReadPath("/etc/x\\y"), "/etc/x/y");

    // One listing of both folders; the working folder's copy of a name wins.
    FindEntry entry;
    std::vector<std::string> names;
    PakFind* find = pak_.FindFirstFile("Graphics\\*.png", &entry);
    ASSERT_NE(find, nullptr);
    do names.push_back(entry.name + ":" + std::to_string(entry.size));
    while (pak_.FindNextFile(find, &entry));
    pak_.FindClose(find);
    EXPECT_EQ(names, (std::vector<std::string>{"a.png:4", "b.png:6", "c.png:1"}));

    // The program's own files come from the working folder only.
    EXPECT_EQ(pak_.FOpenUserFile("Graphics\\b.png"), nullptr);
    PakFile* own = pak_.FOpenUserFile("Graphics\\a.png");
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(ReadAll(own), "mine");
    pak_.FClose(own);

    // Writes land in the working folder, which then shadows the data folder.
    PakFile* w = pak_.FOpen("Graphics\\b.png", "wb");
    ASSERT_NE(w, nullptr);
    pak_.FClose(w);
    EXPECT_EQ(read("Graphics\\b.png"), "");
    EXPECT_EQ(TestSupport::ReadFile(data / "Graphics/b.png"), "data b");

    // A pack of the data folder comes before both folders.
    std::vector<uint8_t> image;
    std::string error;
    ASSERT_TRUE(BuildPakImage({{"Graphics\\a.png", Bytes("packed"), 0}}, image, error)) << error;
    ASSERT_TRUE(TestSupport::WriteFile(data / "main.pak", image));
    ASSERT_TRUE(pak_.AddPakFile(pak_.ReadPath("main.pak")));
    EXPECT_EQ(read("Graphics\\a.png"), "packed");

    pak_.SetDataFolder("");
    EXPECT_EQ(read("language.ini"), "<none>");
}

TEST_F(PakTest, HandlesReadIndependentlyFromSeveralThreads) {
    std::string big(100000, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
    WritePack("main.pak", {{"big.bin", Bytes(big), 0}});
    ASSERT_TRUE(pak_.AddPakFile("main.pak"));
    std::vector<std::thread> threads;
    std::vector<int> ok(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 20; ++round) {
                PakFile* f = pak_.FOpen("big.bin", "rb");
                ok[t] += ReadAll(f) == big;
                pak_.FClose(f);
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(ok, (std::vector<int>{20, 20, 20, 20}));
}

TEST(PakFiles, WholeFileHelpersWorkOnTheDisk) {
    ScopedTempDir dir;
    ScopedCwd cwd(dir.Path());
    std::filesystem::create_directories(dir / "Levels");
    TestSupport::WriteFile(dir / "Levels/level_2.xml", "22");
    TestSupport::WriteFile(dir / "Levels/level_1.xml", "1");

    std::vector<uint8_t> bytes;
    EXPECT_TRUE(ReadWholeFile("Levels\\level_2.xml", bytes));
    EXPECT_EQ(bytes, Bytes("22"));
    EXPECT_TRUE(ReadWholeFile("Levels\\level_2.xml", bytes, 2));
    EXPECT_FALSE(ReadWholeFile("Levels\\level_2.xml", bytes, 1));
    EXPECT_FALSE(ReadWholeFile("Levels\\none.xml", bytes));
    EXPECT_FALSE(ReadWholeFile("Levels", bytes));
    EXPECT_TRUE(FileExists("Levels\\level_1.xml"));
    EXPECT_FALSE(FileExists("Levels"));
    EXPECT_FALSE(FileExists("Levels\\none.xml"));

    const auto found = FindAllFiles("Levels\\level_*.xml");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].name, "level_1.xml");
    EXPECT_EQ(found[1].size, 2u);

    // With a data folder behind the working folder: the helpers see both, user files only one.
    ScopedTempDir data;
    std::filesystem::create_directories(data / "Levels");
    TestSupport::WriteFile(data / "Levels/level_3.xml", "333");
    GetPak().SetDataFolder(data.Path());
    EXPECT_TRUE(FileExists("Levels\\level_3.xml"));
    EXPECT_TRUE(ReadWholeFile("Levels\\level_3.xml", bytes));
    EXPECT_EQ(bytes, Bytes("333"));
    EXPECT_EQ(FindAllFiles("Levels\\level_*.xml").size(), 3u);
    EXPECT_EQ(ReadUserFileChecked("Levels\\level_3.xml", bytes, 10), FileReadResult::Missing);
    EXPECT_EQ(ReadUserFileChecked("Levels\\level_2.xml", bytes, 10), FileReadResult::Ok);
    EXPECT_EQ(ReadUserFileChecked("Levels\\level_2.xml", bytes, 1), FileReadResult::TooLarge);
    GetPak().SetDataFolder("");
    EXPECT_FALSE(FileExists("Levels\\level_3.xml"));
}

}  // namespace
