// The high-score tables: the block in scores.ini, entering scores, typing names, drawing.
#include "engine/scores/CScores.h"

#include "framework/ini/IniFile.h"
#include "framework/platform/HeadlessPlatform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Orvane::WindowMessage;
using TestSupport::ReadFile;
using TestSupport::ScopedCwd;
using TestSupport::ScopedTempDir;
using TestSupport::WriteFile;

WindowMessage Key(uint32_t key) { return {0, Orvane::WM_KEYDOWN, key, 0, 0, 0, 0}; }
WindowMessage Char(char c) {
    return {0, Orvane::WM_CHAR, static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(c))),
            0, 0, 0, 0};
}

void Type(CScores& scores, const std::string& text) {
    for (char c : text) scores.HandleNameKey(Char(c));
}

// The "Data" value of scores.ini.
std::string DataValue(const std::string& ini) {
    const size_t at = ini.find("Data=");
    if (at == std::string::npos) return "";
    const size_t end = ini.find_first_of("\r\n", at);
    return ini.substr(at + 5, end == std::string::npos ? std::string::npos : end - at - 5);
}

std::vector<uint32_t> Scores(const CScores& s, int table) {
    std::vector<uint32_t> out;
    for (int row = 0; row < CScores::kRows; ++row) out.push_back(s.Entry(table, row).score);
    return out;
}

class ScoresTest : public ::testing::Test {
protected:
    ScoresTest() : cwd_(dir_.Path()) { Orvane::SetPlatform(&platform_); }
    ~ScoresTest() override { Orvane::SetPlatform(nullptr); }

    // Fills the current table with named scores, best first, and names each entry.
    void Fill(CScores& s, const std::vector<uint32_t>& scores) {
        for (uint32_t v : scores) {
            if (s.AddScore(v)) {
                Type(s, "p" + std::to_string(v));
                s.HandleNameKey(Key(13));
            }
        }
    }

    ScopedTempDir dir_;
    ScopedCwd cwd_;
    Orvane::HeadlessPlatform platform_;
};

TEST_F(ScoresTest, SavedBlockHasTheRecordLayoutAndReadsBackExactly) {
    CScores s;
    s.SelectTable(1);
    ASSERT_TRUE(s.AddScore(0x01020304));
    Type(s, "AB");
    s.HandleNameKey(Key(13));   // Enter saves

    const std::string data = DataValue(ReadFile(dir_ / "scores.ini"));
    ASSERT_EQ(data.size(), 7202u);
    // Table 1 starts at record 10: 32 name bytes, then the score in little-endian order.
    const std::string record = data.substr(10 * 36 * 2, 36 * 2);
    EXPECT_EQ(record, "4142" + std::string(60, '0') + "04030201");
    EXPECT_NE(ReadFile(dir_ / "scores.ini").find("[HIGH SCORES]"), std::string::npos);

    CScores again;
    ASSERT_TRUE(again.Load());
    EXPECT_EQ(again.Entry(1, 0).Name(), "AB");
    EXPECT_EQ(again.Entry(1, 0).score, 0x01020304u);
    EXPECT_EQ(again.Entry(0, 0).score, 0u);
}

TEST_F(ScoresTest, DamagedFileReadsAsEmptyTablesAndTheNextSaveRepairsIt) {
    CScores s;
    Fill(s, {900, 800});
    std::string ini = ReadFile(dir_ / "scores.ini");
    const std::string good = ini;

    struct Case { const char* what; std::string text; };
    std::string flipped = good;
    flipped[flipped.find("Data=") + 7] ^= 1;   // one hex digit changed by hand
    std::string shortened = good;
    shortened.erase(shortened.find("Data=") + 5, 2);
    const std::vector<Case> cases = {
        {"checksum", flipped},
        {"length", shortened},
        {"garbage", "\x01\xff[HIGH SCORES\nData=zz\n"},
        {"empty", ""},
        {"over the size limit", good + std::string(Orvane::kIniMaxFileBytes, '\n')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteFile(dir_ / "scores.ini", c.text));
        CScores damaged;
        Fill(damaged, {});
        EXPECT_FALSE(damaged.Load());
        for (int t = 0; t < CScores::kTables; ++t) {
            for (int r = 0; r < CScores::kRows; ++r) {
                EXPECT_EQ(damaged.Entry(t, r).score, 0u);
                EXPECT_EQ(damaged.Entry(t, r).Name(), "");
            }
        }
        EXPECT_TRUE(damaged.Save());
        CScores repaired;
        EXPECT_TRUE(repaired.Load());
    }
    // The oversized file was kept aside by the save that repaired it.
    EXPECT_TRUE(TestSupport::FileExists(dir_ / "scores.ini.too-large"));
    // A missing file reads the same way.
    std::remove((dir_ / "scores.ini").c_str());
    CScores missing;
    EXPECT_FALSE(missing.Load());
}

TEST_F(ScoresTest, ANameWithoutTerminatorInAHandMadeBlockIsReadSafely) {
    // A block with a valid checksum whose first name fills all 32 bytes.
    std::string hex;
    unsigned sum = 0;
    auto put = [&](uint8_t b) {
        char two[3];
        std::snprintf(two, sizeof two, "%02X", b);
        hex += two;
        sum += b;
    };
    for (int i = 0; i < 3600; ++i) put(i < 32 ? 'x' : (i == 32 ? 5 : 0));
    char check[3];
    std::snprintf(check, sizeof check, "%02X", sum & 0xFF);
    ASSERT_TRUE(WriteFile(dir_ / "scores.ini", "[HIGH SCORES]\nData=" + hex + check + "\n"));

    CScores s;
    ASSERT_TRUE(s.Load());
    EXPECT_EQ(s.Entry(0, 0).Name(), std::string(32, 'x'));
    // Entering a better score moves the long name down intact; typing stays within bounds.
    ASSERT_TRUE(s.AddScore(9));
    EXPECT_EQ(s.Entry(0, 1).Name(), std::string(32, 'x'));
    Type(s, std::string(40, 'y'));
    EXPECT_EQ(s.Entry(0, 0).Name(), std::string(16, 'y'));
    std::vector<std::string> drawn;
    s.DrawTable(0.29f, 0.036f, 0.25f, 0.3f, 0.65f,
                [&](float, float, float, uint32_t, int, const std::string& t) { drawn.push_back(t); });
    EXPECT_EQ(drawn[4], std::string(32, 'x'));
}

TEST_F(ScoresTest, AddScoreGoesBelowEqualScoresAndDropsTheLastRow) {
    CScores s;
    Fill(s, {500, 400, 400, 100});
    EXPECT_TRUE(s.AddScore(400));
    EXPECT_EQ(s.EntryRow(), 3);
    EXPECT_TRUE(s.NameEntryOn());
    EXPECT_EQ(Scores(s, 0), (std::vector<uint32_t>{500, 400, 400, 400, 100, 0, 0, 0, 0, 0}));
    EXPECT_EQ(s.Entry(0, 4).Name(), "p100");
    EXPECT_EQ(s.Entry(0, 3).Name(), "");

    CScores full;
    Fill(full, {100, 90, 80, 70, 60, 50, 40, 30, 20, 10});
    const auto before = Scores(full, 0);
    EXPECT_FALSE(full.AddScore(10));   // equal to the last row: not better
    EXPECT_FALSE(full.AddScore(5));
    EXPECT_FALSE(full.NameEntryOn());
    EXPECT_EQ(Scores(full, 0), before);
    EXPECT_FALSE(full.AddScore(0));

    EXPECT_TRUE(full.AddScore(55));
    EXPECT_EQ(Scores(full, 0), (std::vector<uint32_t>{100, 90, 80, 70, 60, 55, 50, 40, 30, 20}));
    EXPECT_EQ(full.Entry(0, 9).Name(), "p20");

    CScores empty;
    EXPECT_FALSE(empty.AddScore(0));   // an empty table holds zeros: 0 never enters
    EXPECT_TRUE(empty.AddScore(0xFFFFFFFFu));   // compared unsigned
    EXPECT_EQ(empty.EntryRow(), 0);
}

TEST_F(ScoresTest, SelectTableKeepsToTheTenTables) {
    CScores s;
    s.SelectTable(2);
    for (int bad : {-1, 10, 1000, -2147483647 - 1}) {
        s.SelectTable(bad);
        EXPECT_EQ(s.CurrentTable(), 2);
    }
    ASSERT_TRUE(s.AddScore(42));
    EXPECT_EQ(s.Entry(2, 0).score, 42u);
    EXPECT_EQ(s.Entry(0, 0).score, 0u);
    s.SelectTable(9);
    EXPECT_EQ(s.CurrentTable(), 9);
}

TEST_F(ScoresTest, NameEntryTypesWithinSixteenCharacters) {
    CScores s;
    s.HandleNameKey(Char('a'));   // no entry running: nothing
    ASSERT_TRUE(s.AddScore(10));
    s.HandleNameKey(Key(8));      // backspace on an empty name
    s.HandleNameKey(Key(13));     // enter on an empty name: entry goes on
    EXPECT_TRUE(s.NameEntryOn());
    EXPECT_EQ(s.Entry(0, 0).Name(), "");

    Type(s, "Ann\tB\x0d\x08");    // tab is taken, 13 and 8 as characters are not
    EXPECT_EQ(s.Entry(0, 0).Name(), "Ann\tB");
    s.HandleNameKey(Key(8));
    EXPECT_EQ(s.Entry(0, 0).Name(), "Ann\t");
    Type(s, "0123456789abcdefgh");
    EXPECT_EQ(s.Entry(0, 0).Name(), "Ann\t0123456789ab");   // 17th and later ignored
    s.HandleNameKey(Key('A'));    // other keys do nothing
    s.HandleNameKey({0, Orvane::WM_MOUSEMOVE, 0, 0, 0, 5, 5});
    EXPECT_EQ(s.Entry(0, 0).NameLength(), 16u);

    s.HandleNameKey(Key(13));
    EXPECT_FALSE(s.NameEntryOn());
    CScores saved;
    ASSERT_TRUE(saved.Load());
    EXPECT_EQ(saved.Entry(0, 0).Name(), "Ann\t0123456789ab");
    Type(s, "x");                 // entry over: typing changes nothing
    EXPECT_EQ(s.Entry(0, 0).Name(), "Ann\t0123456789ab");
}

TEST_F(ScoresTest, EscapeRestoresTheSavedTableExactly) {
    CScores s;
    Fill(s, {500, 400, 300});
    s.SelectTable(1);
    Fill(s, {77});
    s.SelectTable(0);
    std::vector<std::string> names;
    for (int t = 0; t < 2; ++t)
        for (int r = 0; r < 10; ++r) names.push_back(s.Entry(t, r).Name());
    const auto scores0 = Scores(s, 0);
    const std::string fileBefore = ReadFile(dir_ / "scores.ini");

    ASSERT_TRUE(s.AddScore(450));
    Type(s, "Zed");
    s.HandleNameKey(Key(27));

    EXPECT_FALSE(s.NameEntryOn());
    EXPECT_EQ(Scores(s, 0), scores0);
    std::vector<std::string> after;
    for (int t = 0; t < 2; ++t)
        for (int r = 0; r < 10; ++r) after.push_back(s.Entry(t, r).Name());
    EXPECT_EQ(after, names);
    EXPECT_EQ(ReadFile(dir_ / "scores.ini"), fileBefore);
}

TEST_F(ScoresTest, ClearZeroesAndSavesEveryTable) {
    CScores s;
    Fill(s, {10, 20});
    s.Clear();
    CScores loaded;
    ASSERT_TRUE(loaded.Load());
    EXPECT_EQ(Scores(loaded, 0), std::vector<uint32_t>(10, 0));
}

TEST_F(ScoresTest, DrawTableHighlightsTheEntryRowWithABlinkingCursor) {
    struct Line { float x, y, h; uint32_t colour; int flags; std::string text; };
    CScores s;
    Fill(s, {300, 100});
    ASSERT_TRUE(s.AddScore(200));
    Type(s, "Al");

    auto draw = [&](uint32_t ms) {
        platform_.SetTime(ms);
        std::vector<Line> lines;
        s.DrawTable(0.29f, 0.036f, 0.25f, 0.3f, 0.65f,
                    [&](float x, float y, float h, uint32_t c, int f, const std::string& t) {
                        lines.push_back({x, y, h, c, f, t});
                    });
        return lines;
    };
    const auto shown = draw(10000);   // 20 half-seconds: even, cursor shown
    ASSERT_EQ(shown.size(), 30u);
    EXPECT_FLOAT_EQ(shown[0].y, 0.29f + 0.036f * 1.25f);
    EXPECT_NEAR(shown[27].y, 0.74f, 1e-5);
    EXPECT_EQ(shown[3].text, "2");
    EXPECT_EQ(shown[4].text, "Al_");
    EXPECT_EQ(shown[5].text, "200");
    EXPECT_EQ(shown[4].colour, 0xFFFF5555u);
    EXPECT_EQ(shown[1].text, "p300");
    EXPECT_EQ(shown[1].colour, 0xFFFFFFFFu);
    for (const Line& l : shown) {
        EXPECT_EQ(l.flags, 0);
        EXPECT_FLOAT_EQ(l.h, 0.036f);
    }
    EXPECT_FLOAT_EQ(shown[0].x, 0.25f);
    EXPECT_FLOAT_EQ(shown[1].x, 0.3f);
    EXPECT_FLOAT_EQ(shown[2].x, 0.65f);

    EXPECT_EQ(draw(10500)[4].text, "Al ");   // odd half-second: blank
    EXPECT_EQ(draw(10999)[4].text, "Al ");
    s.HandleNameKey(Key(13));
    const auto named = draw(10000);
    EXPECT_EQ(named[4].text, "Al");
    EXPECT_EQ(named[4].colour, 0xFFFFFFFFu);
}

}  // namespace
