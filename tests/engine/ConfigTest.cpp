// config.ini helpers and the checksummed blocks of scores.ini and saved.ini.
#include "engine/config/Config.h"
#include "framework/core/Diagnostics.h"
#include "framework/ini/AtomicFile.h"
#include "framework/ini/IniFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <filesystem>

namespace {

class ConfigTest : public ::testing::Test {
protected:
    ConfigTest() : cwd_(dir_.Path()) {}
    TestSupport::ScopedTempDir dir_;
    TestSupport::ScopedCwd cwd_;
};

TEST_F(ConfigTest, NumbersFollowTheirParsingRules) {
    TestSupport::WriteFile(dir_ / "config.ini",
                           "[OPTIONS]\r\nbtnFullScreen=abc\r\nbtn3DHardware=\r\nMusicVolume=0.8\r\n"
                           "[GAMEPLAY]\r\nLastOpenedLevel=3.9\r\nneg=-3.9\r\nlead=  42abc\r\nexp=1e3x\r\n"
                           "hex=0x1A\r\nplus=+7\r\nhuge=99999999999\r\ntiny=-99999999999\r\nbig=1e300\r\n"
                           "dot=.5\r\nsign=-\r\ninf=inf\r\n");
    struct Case { const char* key; int getInt; int getIntOr; };
    for (const Case& c : {Case{"LastOpenedLevel", 3, 3}, {"neg", -3, -3}, {"lead", 42, 42}, {"exp", 1000, 1},
                          {"hex", 0, 0}, {"plus", 7, 7}, {"huge", INT_MAX, INT_MAX},
                          {"tiny", INT_MIN, INT_MIN}, {"big", INT_MAX, 1}, {"dot", 0, 0}, {"sign", 0, 0},
                          {"inf", 0, 0}}) {
        int value = -1, orValue = -1;
        EXPECT_TRUE(ConfigGetInt("gameplay", c.key, &value)) << c.key;
        EXPECT_EQ(value, c.getInt) << c.key;
        ConfigGetIntOr("GAMEPLAY", c.key, &orValue, 99);
        EXPECT_EQ(orValue, c.getIntOr) << c.key;
    }
    int value = 5;
    ConfigGetIntOr("OPTIONS", "btnFullScreen", &value, 1);
    EXPECT_EQ(value, 0);   // "abc" is present: no digits give 0
    ConfigGetIntOr("OPTIONS", "btn3DHardware", &value, 1);
    EXPECT_EQ(value, 1);   // empty counts as missing
    value = 5;
    EXPECT_FALSE(ConfigGetInt("OPTIONS", "btn3DHardware", &value));
    EXPECT_FALSE(ConfigGetInt("OPTIONS", "none", &value));
    EXPECT_EQ(value, 5);   // untouched when missing

    float volume = 0;
    EXPECT_TRUE(ConfigGetFloat("OPTIONS", "MusicVolume", &volume));
    EXPECT_FLOAT_EQ(volume, 0.8f);
    EXPECT_TRUE(ConfigGetFloat("GAMEPLAY", "big", &volume));
    EXPECT_TRUE(std::isfinite(volume));
}

TEST_F(ConfigTest, StringsAreWrittenWhereTheWorkingFolderIsNow) {
    std::string out = "stale";
    EXPECT_FALSE(ConfigGetString("LANGUAGE", "Name", out));   // no file at all
    EXPECT_EQ(out, "");
    ASSERT_TRUE(ConfigSetString("LANGUAGE", "Name", "ENGLISH"));
    ASSERT_TRUE(ConfigSetInt("GAMEPLAY", "LastOpenedLevel", -4));
    ASSERT_TRUE(ConfigSetString("OPTIONS", "Long", std::string(300, 'L')));
    EXPECT_EQ(TestSupport::ReadFile(dir_ / "config.ini"),
              "[LANGUAGE]\nName=ENGLISH\n[GAMEPLAY]\nLastOpenedLevel=-4\n[OPTIONS]\nLong=" + std::string(300, 'L') + "\n");
    EXPECT_TRUE(ConfigGetString("language", "NAME", out));
    EXPECT_EQ(out, "ENGLISH");
    EXPECT_TRUE(ConfigGetString("OPTIONS", "Long", out));
    EXPECT_EQ(out, std::string(254, 'L'));
    EXPECT_FALSE(ConfigSetString("OPTIONS", "bad", "two\nlines"));

    TestSupport::ScopedTempDir other;
    {
        TestSupport::ScopedCwd there(other.Path());
        EXPECT_FALSE(ConfigGetString("LANGUAGE", "Name", out));
        ASSERT_TRUE(ConfigSetString("LANGUAGE", "Name", "FRENCH"));
    }
    EXPECT_TRUE(ConfigGetString("LANGUAGE", "Name", out));
    EXPECT_EQ(out, "ENGLISH");
}

TEST_F(ConfigTest, AFailedWriteReportsFalseAndKeepsTheFile) {
    ASSERT_TRUE(ConfigSetInt("OPTIONS", "btnFullScreen", 1));
    const std::string before = TestSupport::ReadFile(dir_ / "config.ini");
    Orvane::SetAtomicWriteFault(Orvane::AtomicWriteFault{Orvane::AtomicWriteFault::Stage::Write, 3});
    EXPECT_FALSE(ConfigSetInt("OPTIONS", "btnFullScreen", 0));
    const char block[4] = {1, 2, 3, 4};
    EXPECT_FALSE(IniSetStruct("Scores", "Classic", block, sizeof block, "config.ini"));
    Orvane::SetAtomicWriteFault(std::nullopt);
    EXPECT_EQ(TestSupport::ReadFile(dir_ / "config.ini"), before);
    int value = 0;
    ConfigGetIntOr("OPTIONS", "btnFullScreen", &value, 7);
    EXPECT_EQ(value, 1);
}

TEST_F(ConfigTest, BinaryBlocksReadBackOnlyWhenIntact) {
    struct Entry { char name[20]; int32_t score; int32_t level; } entry {};
    std::strcpy(entry.name, "Player");
    entry.score = 123456;
    entry.level = 7;
    ASSERT_TRUE(IniSetStruct("Classic", "Scores", &entry, sizeof entry, "scores.ini"));
    Entry back {};
    ASSERT_TRUE(IniGetStruct("CLASSIC", "scores", &back, sizeof back, "scores.ini"));
    EXPECT_EQ(std::memcmp(&back, &entry, sizeof entry), 0);
    EXPECT_FALSE(IniGetStruct("Classic", "Scores", &back, sizeof back - 1, "scores.ini"));   // wrong length
    EXPECT_FALSE(IniGetStruct("Classic", "Missing", &back, sizeof back, "scores.ini"));
    EXPECT_FALSE(IniGetStruct("Classic", "Scores", &back, sizeof back, "saved.ini"));

    // One hex digit changed by hand.
    std::string text = TestSupport::ReadFile(dir_ / "scores.ini");
    const size_t digit = text.find('=') + 3;
    text[digit] = text[digit] == '0' ? '1' : '0';
    TestSupport::WriteFile(dir_ / "scores.ini", text);
    EXPECT_FALSE(IniGetStruct("Classic", "Scores", &back, sizeof back, "scores.ini"));
}

TEST_F(ConfigTest, OversizedUserFilesReadAsMissingAndAreKeptAsideByTheNextWrite) {
    const std::string padding(Orvane::kIniMaxFileBytes, '\n');
    const std::string config = "[OPTIONS]\nMusicVolume=0.3\n" + padding;
    ASSERT_TRUE(TestSupport::WriteFile(dir_ / "config.ini", config));
    const char block[4] = {1, 2, 3, 4};
    ASSERT_TRUE(IniSetStruct("Classic", "Data", block, sizeof block, "saved.ini"));
    const std::string saved = TestSupport::ReadFile(dir_ / "saved.ini") + padding;
    ASSERT_TRUE(TestSupport::WriteFile(dir_ / "saved.ini", saved));
    std::vector<std::string> warnings;
    Orvane::SetDiagnosticHandler([&](const std::string& line) {
        if (line.find("WARNING") != std::string::npos) warnings.push_back(line);
    });

    // The options start from their defaults; the saved game reads as damaged.
    float volume = 0.8f;
    EXPECT_FALSE(ConfigGetFloat("OPTIONS", "MusicVolume", &volume));
    EXPECT_FLOAT_EQ(volume, 0.8f);
    char back[4] = {};
    EXPECT_FALSE(IniGetStruct("Classic", "Data", back, sizeof back, "saved.ini"));
    EXPECT_EQ(warnings.size(), 2u);

    // The first write keeps each oversized file beside the new one.
    ASSERT_TRUE(ConfigSetString("LANGUAGE", "Name", "ENGLISH"));
    ASSERT_TRUE(IniSetStruct("Classic", "Data", block, sizeof block, "saved.ini"));
    Orvane::SetDiagnosticHandler(nullptr);
    EXPECT_EQ(TestSupport::ReadFile(dir_ / "config.ini"), "[LANGUAGE]\nName=ENGLISH\n");
    EXPECT_EQ(TestSupport::ReadFile(dir_ / "config.ini.too-large"), config);
    EXPECT_EQ(TestSupport::ReadFile(dir_ / "saved.ini.too-large"), saved);
    EXPECT_TRUE(IniGetStruct("Classic", "Data", back, sizeof back, "saved.ini"));
    EXPECT_EQ(std::count_if(warnings.begin(), warnings.end(),
                            [](const std::string& line) { return line.find("' kept as '") != std::string::npos; }),
              2);
}

}  // namespace
