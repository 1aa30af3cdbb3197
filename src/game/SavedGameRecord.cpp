#include "game/SavedGameRecord.h"

#include <cmath>
#include <string>

using namespace GameRecords;

std::vector<uint8_t> SavedGameRecord::Encode() const {
    std::vector<uint8_t> bytes(kBytes, 0);
    uint8_t* out = bytes.data();
    for (size_t i = 0; i < panel.size(); ++i) EncodeSlot(panel[i], out + kPanelOffset + i * ShapeSlot::kBytes);
    for (size_t i = 0; i < cells.size(); ++i) EncodeSlot(cells[i], out + kCellsOffset + i * ShapeSlot::kBytes);
    WriteInt32(out + kPanelCountOffset, panelCount);
    WriteInt32(out + kCellCountOffset, cellCount);
    for (size_t i = 0; i < lines.size(); ++i) EncodeLine(lines[i], out + kLinesOffset + i * LineRecord::kBytes);
    WriteFloat(out + kFieldOffsetOffset, fieldOffset);
    WriteInt32(out + kLinesOnFieldOffset, linesOnField);
    WriteInt32(out + kLevelOffset, level);
    WriteInt32(out + kScoreOffset, score);
    WriteFloat(out + kSinceStartOffset, sinceStart);
    WriteFloat(out + kElapsedOffset, elapsed);
    for (size_t i = 0; i < reserved.size(); ++i) out[kReservedOffset + i] = reserved[i];
    WriteInt32(out + kSpawnedOffset, spawnedCount);
    return bytes;
}

bool SavedGameRecord::Decode(const std::vector<uint8_t>& bytes, SavedGameRecord& out) {
    if (bytes.size() != kBytes) return false;
    const uint8_t* in = bytes.data();
    SavedGameRecord r;
    for (size_t i = 0; i < r.panel.size(); ++i) r.panel[i] = DecodeSlot(in + kPanelOffset + i * ShapeSlot::kBytes);
    for (size_t i = 0; i < r.cells.size(); ++i) r.cells[i] = DecodeSlot(in + kCellsOffset + i * ShapeSlot::kBytes);
    r.panelCount = ReadInt32(in + kPanelCountOffset);
    r.cellCount = ReadInt32(in + kCellCountOffset);
    for (size_t i = 0; i < r.lines.size(); ++i) r.lines[i] = DecodeLine(in + kLinesOffset + i * LineRecord::kBytes);
    r.fieldOffset = ReadFloat(in + kFieldOffsetOffset);
    r.linesOnField = ReadInt32(in + kLinesOnFieldOffset);
    r.level = ReadInt32(in + kLevelOffset);
    r.score = ReadInt32(in + kScoreOffset);
    r.sinceStart = ReadFloat(in + kSinceStartOffset);
    r.elapsed = ReadFloat(in + kElapsedOffset);
    for (size_t i = 0; i < r.reserved.size(); ++i) r.reserved[i] = in[kReservedOffset + i];
    r.spawnedCount = ReadInt32(in + kSpawnedOffset);
    out = r;
    return true;
}

namespace {

bool Finite(float v) { return std::isfinite(v); }

// Positions and sizes are screen fractions; anything far off the screen is damage (and would
// overflow pixel arithmetic when drawn).
bool OnScreenScale(float v) { return std::isfinite(v) && std::fabs(v) <= 16.0f; }

bool SlotFloatsSane(const ShapeSlot& s) {
    return OnScreenScale(s.baseY) && OnScreenScale(s.x) && OnScreenScale(s.y) &&
           OnScreenScale(s.w) && OnScreenScale(s.h) && Finite(s.drift);
}

// A class and variant the level can show.
bool ShapeInTables(const ShapeSlot& s, const SavedGameLimits& limits) {
    if (s.shapeClass < 0 || s.shapeClass >= limits.classCount || s.shapeClass >= 30) return false;
    return s.shape >= 0 && s.shape < limits.variantsOf[static_cast<size_t>(s.shapeClass)];
}

// A level played for more than a year is damage.
constexpr float kMaxSeconds = 3.2e7f;

bool Fail(std::string& reason, const std::string& why) {
    reason = why;
    return false;
}

}  // namespace

bool ValidateSavedGame(const SavedGameRecord& r, const SavedGameLimits& limits, std::string& reason) {
    if (r.panelCount < 0 || r.panelCount > Panel::kSlots) return Fail(reason, "panel count out of range");
    if (r.cellCount < 0 || r.cellCount > Field::kMaxCells) return Fail(reason, "cell count out of range");
    if (r.cellCount != limits.cellCount) return Fail(reason, "cell count differs from the level's field");
    if (r.linesOnField < 0 || r.linesOnField > Field::kLineCount) return Fail(reason, "line count out of range");
    if (r.level < 1) return Fail(reason, "level out of range");
    if (r.spawnedCount < 0) return Fail(reason, "spawned count out of range");
    if (!OnScreenScale(r.fieldOffset) || !Finite(r.sinceStart) || !Finite(r.elapsed)) {
        return Fail(reason, "time or offset not a number");
    }
    // The clock's stored times: play starts 0.9 s after the intro, so elapsed may be a little
    // negative; with a running clock it never passes the level's time.
    if (r.sinceStart < 0.0f || r.elapsed < -1.0f) return Fail(reason, "times before the level started");
    if (r.sinceStart > kMaxSeconds || r.elapsed > kMaxSeconds) return Fail(reason, "times beyond reason");
    if (limits.clockRuns && r.elapsed > limits.levelTime + 1.0f) return Fail(reason, "time beyond the level's");
    for (int i = 0; i < r.panelCount; ++i) {
        const ShapeSlot& s = r.panel[static_cast<size_t>(i)];
        if (!SlotFloatsSane(s)) return Fail(reason, "panel shape position not a number");
        if (s.bonus < BONUS_NONE || s.bonus > BONUS_AREA) return Fail(reason, "unknown bonus kind");
        if (!ShapeInTables(s, limits)) return Fail(reason, "panel shape outside the level's classes");
    }
    for (int i = 0; i < r.cellCount; ++i) {
        const ShapeSlot& s = r.cells[static_cast<size_t>(i)];
        if (!SlotFloatsSane(s)) return Fail(reason, "cell position not a number");
        if (!ShapeInTables(s, limits)) return Fail(reason, "cell outside the level's classes");
    }
    for (const LineRecord& line : r.lines) {
        if (!OnScreenScale(line.x) || !OnScreenScale(line.y) || !OnScreenScale(line.alpha) ||
            !Finite(line.drift)) {
            return Fail(reason, "line position not a number");
        }
    }
    return true;
}
