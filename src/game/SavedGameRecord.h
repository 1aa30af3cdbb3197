// The saved game: one record per mode in "saved.ini", 10 588 bytes laid out byte for byte
// (little-endian), and the checks a record must pass before anything of it is used.
#pragma once

#include "game/GameRecords.h"
#include "game/PlayField.h"
#include "game/ShapePanel.h"

#include <array>
#include <cstdint>
#include <vector>

struct SavedGameRecord {
    static constexpr size_t kBytes = 10588;
    static constexpr size_t kPanelOffset = 0;
    static constexpr size_t kCellsOffset = 1040;
    static constexpr size_t kPanelCountOffset = 10400;
    static constexpr size_t kCellCountOffset = 10404;
    static constexpr size_t kLinesOffset = 10408;
    static constexpr size_t kFieldOffsetOffset = 10552;
    static constexpr size_t kLinesOnFieldOffset = 10556;
    static constexpr size_t kLevelOffset = 10560;
    static constexpr size_t kScoreOffset = 10564;
    static constexpr size_t kSinceStartOffset = 10568;
    static constexpr size_t kElapsedOffset = 10572;
    static constexpr size_t kReservedOffset = 10576;
    static constexpr size_t kSpawnedOffset = 10584;

    std::array<ShapeSlot, Panel::kSlots> panel{};
    std::array<ShapeSlot, Field::kMaxCells> cells{};
    int32_t panelCount = 0;
    int32_t cellCount = 0;
    std::array<LineRecord, Field::kLineCount> lines{};
    float fieldOffset = 0.0f;
    int32_t linesOnField = 0;
    int32_t level = 0;
    int32_t score = 0;
    float sinceStart = 0.0f;
    float elapsed = 0.0f;
    std::array<uint8_t, 8> reserved{};
    int32_t spawnedCount = 0;

    std::vector<uint8_t> Encode() const;
    // False when bytes is not exactly kBytes long.
    static bool Decode(const std::vector<uint8_t>& bytes, SavedGameRecord& out);
};

static_assert(SavedGameRecord::kCellsOffset == Panel::kSlots * ShapeSlot::kBytes);
static_assert(SavedGameRecord::kPanelCountOffset ==
              SavedGameRecord::kCellsOffset + Field::kMaxCells * ShapeSlot::kBytes);
static_assert(SavedGameRecord::kFieldOffsetOffset ==
              SavedGameRecord::kLinesOffset + Field::kLineCount * LineRecord::kBytes);
static_assert(SavedGameRecord::kSpawnedOffset + 4 == SavedGameRecord::kBytes);

// What a record must fit: the level it names, as the level's file and the class table give it.
struct SavedGameLimits {
    int cellCount = 0;                       // the level's field: 6 x cells per line
    int classCount = 0;                      // classes in play
    std::array<int, 30> variantsOf{};        // the most variants each class may have
    float levelTime = 0.0f;
    bool clockRuns = true;                   // a clock that ends the level (elapsed bounded)
};

// Checks a record against the level before it is used: counts within their tables and equal to
// the level's field, class and variant indices inside the level's tables, bonus kinds known,
// every float finite, times within the level. The reason names the first failed check.
bool ValidateSavedGame(const SavedGameRecord& record, const SavedGameLimits& limits,
                       std::string& reason);
