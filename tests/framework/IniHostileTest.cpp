// Ini files shaped to cost time or memory: many sections, many lines, a long section name with
// many keys, and files over the size limit. Each bound is loose; it holds the reader to linear
// work and a few bytes a line, far from what the shapes cost when they were quadratic.
#include "framework/core/Diagnostics.h"
#include "framework/ini/IniFile.h"
#include "support/HostileInputs.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace Orvane;

namespace {

// Collects the diagnostic lines of the framework while it lives.
struct DiagnosticLines {
    DiagnosticLines() {
        SetDiagnosticHandler([this](const std::string& line) { lines.push_back(line); });
    }
    ~DiagnosticLines() { SetDiagnosticHandler(nullptr); }
    int Count(const std::string& part) const {
        int n = 0;
        for (const std::string& line : lines) n += line.find(part) != std::string::npos;
        return n;
    }
    std::vector<std::string> lines;
};

TEST(IniHostile, ShapesThatWereQuadraticCostLinearTimeAndLittleMemory) {
    struct Case {
        const char* what;
        std::string text;
        size_t sections;
    };
    const std::vector<Case> cases = {
        {"a megabyte of sections", HostileInputs::IniSections(1 << 20), 115969},
        {"the size limit in empty lines", HostileInputs::IniBlankLines(kIniMaxFileBytes), 0},
        {"a long section name over many keys", HostileInputs::IniLongSectionManyKeys(4096, 1 << 20), 1},
    };
    TestSupport::ScopedTempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir / "hostile.ini";
        ASSERT_TRUE(TestSupport::WriteFile(path, c.text));
        size_t sections = 0;
        std::optional<std::string> value;
        const TestSupport::WorkCost cost = TestSupport::MeasureCost([&] {
            IniDocument doc;
            ASSERT_EQ(LoadIniFile(path, doc), IniLoadResult::Ok);
            sections = doc.SectionNames().size();
            value = doc.Find(std::string(4096, 'N'), "k99999");
            doc.Set("s115968", "file0", "Sound\\x.ogg");   // one write, one rebuilt index
        });
        EXPECT_EQ(sections, c.sections);
        EXPECT_LT(cost.seconds, 10.0);
        EXPECT_LT(cost.peakMegabytes, 128.0);
        if (c.sections == 1) {
            EXPECT_EQ(value, "");
        }
    }
}

TEST(IniHostile, AFileOverTheLimitIsRefusedReportedOnceAndKeptAside) {
    TestSupport::ScopedTempDir dir;
    const std::string path = dir / "config.ini";
    const std::string big = "[OPTIONS]\nMusicVolume=0.5\n" + HostileInputs::IniBlankLines(kIniMaxFileBytes);
    ASSERT_TRUE(TestSupport::WriteFile(path, big));
    DiagnosticLines log;

    IniDocument doc;
    const TestSupport::WorkCost cost = TestSupport::MeasureCost([&] {
        EXPECT_EQ(LoadIniFile(path, doc), IniLoadResult::TooLarge);
    });
    EXPECT_LT(cost.peakMegabytes, 16.0);   // refused before it is read
    EXPECT_EQ(log.Count("WARNING: ini file '" + path + "' is larger than 4 MB"), 1);

    // The cache reads and reports it once, and again only when it changes.
    IniFileCache cache;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(cache.Get(path), nullptr);
    EXPECT_EQ(log.Count("is larger than 4 MB"), 2);

    // A write keeps the old file under another name and starts a new one.
    ASSERT_TRUE(WriteIniValue(path, "OPTIONS", "SfxVolume", "0.25"));
    EXPECT_EQ(TestSupport::ReadFile(path), "[OPTIONS]\nSfxVolume=0.25\n");
    EXPECT_EQ(TestSupport::ReadFile(path + ".too-large"), big);
    EXPECT_EQ(log.Count("kept as '" + path + ".too-large'"), 1);
    EXPECT_EQ(cache.Get(path)->GetString("OPTIONS", "SfxVolume"), "0.25");

    // A second oversized file finds the first name taken.
    ASSERT_TRUE(TestSupport::WriteFile(path, big));
    ASSERT_TRUE(WriteIniValue(path, "OPTIONS", "SfxVolume", "0.5"));
    EXPECT_EQ(TestSupport::ReadFile(path + ".too-large.2"), big);
    EXPECT_EQ(IniAsideName(path), path + ".too-large.3");
}

}  // namespace
