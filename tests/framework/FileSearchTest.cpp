#include "framework/platform/FileSearch.h"
#include "framework/platform/HeadlessPlatform.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace Orvane;

TEST(WildcardMatch, Cases) {
    struct Case { const char* pattern; const char* name; bool match; };
    const Case cases[] = {
        {"*.png", "a.png", true},      {"*.png", "a.PNG", true},   {"*.png", "a.png.bak", false},
        {"*.*", "noext", false},       {"a?c", "abc", true},       {"a?c", "ac", false},
        {"*", "", true},               {"**x", "yyx", true},       {"*a*b*", "xxaxxbxx", true},
        {"*a*b", "ba", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.match) << c.pattern << " vs " << c.name;
}

TEST(FindFiles, BackslashPatternSortedNamesOnly) {
    TestSupport::ScopedTempDir dir;
    std::filesystem::create_directories(dir / "Graphics/sub");
    for (const char* n : {"b.png", "a.png", "C.PNG", "x.jpg"})
        TestSupport::WriteFile(dir / (std::string("Graphics/") + n), "data");
    TestSupport::ScopedCwd cwd(dir.Path());

    HeadlessPlatform platform;
    auto found = platform.FindFiles("Graphics\\*.png");
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].name, "C.PNG");
    EXPECT_EQ(found[1].name, "a.png");
    EXPECT_EQ(found[2].name, "b.png");
    EXPECT_EQ(found[1].size, 4u);

    auto all = platform.FindFiles("Graphics\\*.*");
    EXPECT_EQ(all.size(), 5u);  // the sub-folder included, as the platform search does
    EXPECT_TRUE(platform.FindFiles("Missing\\*.png").empty());
}

TEST(HeadlessPlatform, ManualClockMovesOnlyWhenTold) {
    HeadlessPlatform platform(HeadlessPlatform::ClockMode::Manual);
    platform.SetTime(5000);
    EXPECT_EQ(platform.TimeMs(), 5000u);
    platform.SleepMs(15);
    EXPECT_EQ(platform.TimeMs(), 5015u);
    platform.AdvanceTime(985);
    EXPECT_EQ(platform.TickCount(), 6000u);
    EXPECT_EQ(platform.TotalSleptMs(), 15u);
}

TEST(InstanceLock, SecondHolderIsRefused) {
    InstanceLock first, second;
    const std::string name = "NookvaleTestLock" + std::to_string(::getpid());
    EXPECT_TRUE(first.Acquire(name));
    EXPECT_FALSE(second.Acquire(name));
    first.Release();
    EXPECT_TRUE(second.Acquire(name));
}
