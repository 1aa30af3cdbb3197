// The stored records: byte layouts, the saved-game record's offsets, and the checks a record
// must pass before it is used.
#include "game/SavedGameRecord.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

TEST(GameRecords, ShapeAndLineEncodeLittleEndianFieldByField) {
    ShapeSlot s;
    s.shapeClass = 0x01020304;
    s.shape = -2;
    s.x = 1.0f;
    s.mainImage = 7;
    uint8_t bytes[ShapeSlot::kBytes];
    GameRecords::EncodeSlot(s, bytes);
    EXPECT_EQ(bytes[0], 0x04);
    EXPECT_EQ(bytes[3], 0x01);
    EXPECT_EQ(bytes[4], 0xFE);
    EXPECT_EQ(bytes[7], 0xFF);
    // x is field 3: 1.0f is 0x3F800000.
    EXPECT_EQ(bytes[12], 0x00);
    EXPECT_EQ(bytes[15], 0x3F);
    EXPECT_EQ(bytes[48], 7);
    const ShapeSlot back = GameRecords::DecodeSlot(bytes);
    EXPECT_EQ(back.shapeClass, s.shapeClass);
    EXPECT_EQ(back.shape, -2);
    EXPECT_EQ(back.x, 1.0f);
    EXPECT_EQ(back.mainImage, 7);

    LineRecord line;
    line.x = 0.29f;
    line.colour = 0xAABBCCDD;
    line.removed = 1;
    uint8_t lb[LineRecord::kBytes];
    GameRecords::EncodeLine(line, lb);
    EXPECT_EQ(lb[8], 0xDD);
    EXPECT_EQ(lb[11], 0xAA);
    EXPECT_EQ(lb[16], 1);
    const LineRecord lineBack = GameRecords::DecodeLine(lb);
    EXPECT_EQ(lineBack.x, 0.29f);
    EXPECT_EQ(lineBack.colour, 0xAABBCCDDu);
}

TEST(SavedGameRecord, FieldsLieAtTheirOffsetsAndRoundTrip) {
    SavedGameRecord r;
    r.panel[19].shapeClass = 5;
    r.cells[0].shape = 2;
    r.cells[179].placed = 1;
    r.panelCount = 7;
    r.cellCount = 66;
    r.lines[5].removed = 1;
    r.linesOnField = 5;
    r.level = 13;
    r.score = 123456;
    r.sinceStart = 12.5f;
    r.elapsed = 10.25f;
    r.spawnedCount = 42;
    const std::vector<uint8_t> bytes = r.Encode();
    ASSERT_EQ(bytes.size(), 10588u);
    auto at = [&](size_t offset) { return GameRecords::ReadInt32(bytes.data() + offset); };
    EXPECT_EQ(at(19 * 52), 5);
    EXPECT_EQ(at(1040 + 4), 2);
    EXPECT_EQ(at(1040 + 179 * 52 + 36), 1);
    EXPECT_EQ(at(10400), 7);
    EXPECT_EQ(at(10404), 66);
    EXPECT_EQ(at(10408 + 5 * 24 + 16), 1);
    EXPECT_EQ(at(10556), 5);
    EXPECT_EQ(at(10560), 13);
    EXPECT_EQ(at(10564), 123456);
    EXPECT_EQ(GameRecords::ReadFloat(bytes.data() + 10568), 12.5f);
    EXPECT_EQ(GameRecords::ReadFloat(bytes.data() + 10572), 10.25f);
    EXPECT_EQ(at(10584), 42);

    SavedGameRecord back;
    ASSERT_TRUE(SavedGameRecord::Decode(bytes, back));
    EXPECT_EQ(back.Encode(), bytes);
    std::vector<uint8_t> shorter(bytes.begin(), bytes.end() - 1);
    EXPECT_FALSE(SavedGameRecord::Decode(shorter, back));
}

TEST(SavedGameRecord, DamagedRecordsAreRefused) {
    SavedGameLimits limits;
    limits.cellCount = 12;
    limits.classCount = 2;
    limits.variantsOf.fill(1);
    limits.levelTime = 60.0f;
    auto good = [] {
        SavedGameRecord r;
        r.cellCount = 12;
        r.panelCount = 3;
        r.linesOnField = 6;
        r.level = 2;
        r.elapsed = 5.0f;
        r.sinceStart = 8.0f;
        return r;
    };
    std::string reason;
    ASSERT_TRUE(ValidateSavedGame(good(), limits, reason)) << reason;

    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        const char* what;
        std::function<void(SavedGameRecord&)> damage;
    };
    const Case cases[] = {
        {"panel count", [](SavedGameRecord& r) { r.panelCount = 21; }},
        {"negative panel count", [](SavedGameRecord& r) { r.panelCount = -1; }},
        {"cell count beyond the table", [](SavedGameRecord& r) { r.cellCount = 181; }},
        {"cell count of another level", [](SavedGameRecord& r) { r.cellCount = 18; }},
        {"lines", [](SavedGameRecord& r) { r.linesOnField = 7; }},
        {"level", [](SavedGameRecord& r) { r.level = 0; }},
        {"NaN time", [nan](SavedGameRecord& r) { r.elapsed = nan; }},
        {"infinite time", [inf](SavedGameRecord& r) { r.sinceStart = inf; }},
        {"time beyond the level", [](SavedGameRecord& r) { r.elapsed = 100.0f; }},
        {"class outside the level", [](SavedGameRecord& r) { r.cells[3].shapeClass = 2; }},
        {"negative class", [](SavedGameRecord& r) { r.panel[0].shapeClass = -1; }},
        {"variant outside", [](SavedGameRecord& r) { r.cells[0].shape = 1; }},
        {"bonus kind", [](SavedGameRecord& r) { r.panel[2].bonus = 4; }},
        {"NaN position", [nan](SavedGameRecord& r) { r.cells[11].y = nan; }},
        {"far position", [](SavedGameRecord& r) { r.panel[1].x = 1e30f; }},
        {"line position", [inf](SavedGameRecord& r) { r.lines[2].x = inf; }},
    };
    for (const Case& c : cases) {
        SavedGameRecord r = good();
        c.damage(r);
        EXPECT_FALSE(ValidateSavedGame(r, limits, reason)) << c.what;
    }
    // Slots beyond the counts are not looked at; without a clock the time may run past.
    SavedGameRecord r = good();
    r.panel[10].shapeClass = 99;
    r.cells[12].x = nan;
    limits.clockRuns = false;
    r.elapsed = 500.0f;
    EXPECT_TRUE(ValidateSavedGame(r, limits, reason)) << reason;
}
