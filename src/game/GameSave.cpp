// The saved game: the running level written into the mode's section of "saved.ini", read back
// for a peek at its level and score or for a full restore, and its flag. A record is checked
// against its level before anything of it is used, so a damaged or hand-edited file is only
// ever "corrupted", never a crash.
#include "game/BrindloGame.h"

#include "engine/config/Config.h"
#include "engine/log/Log.h"

#include <algorithm>

namespace {

constexpr const char* kDataKey = "Data";
constexpr const char* kSavedKey = "IsGameSaved";

void LogCorrupted(const std::string& why) {
    LogWrite("File 'saved.ini' is corrupted!", 0);
    if (!why.empty()) LogWrite("WARNING: saved game refused: " + why, 0);
}

}  // namespace

bool CBrindloGame::IsGameSaved() const {
    uint8_t bytes[4] = {};
    if (!IniGetStruct(Rules().savedSection, kSavedKey, bytes, sizeof bytes, kSavedGameFile)) return false;
    return GameRecords::ReadInt32(bytes) != 0;
}

void CBrindloGame::SetGameSaved(int saved) {
    uint8_t bytes[4];
    GameRecords::WriteInt32(bytes, saved);
    if (!IniSetStruct(Rules().savedSection, kSavedKey, bytes, sizeof bytes, kSavedGameFile)) {
        LogWrite("WARNING: could not write 'saved.ini'", 0);
    }
}

void CBrindloGame::SaveGame() {
    SavedGameRecord record;
    record.panel = panel_.slots;
    record.cells = field_.cells;
    record.panelCount = panel_.count;
    record.cellCount = field_.cellCount;
    record.lines = field_.lines;
    // Lines and cells still sliding or fading are stored where they come to rest.
    for (int c = 0; c < Field::kLineCount; ++c) {
        LineRecord& line = record.lines[static_cast<size_t>(c)];
        line.x = lineTargetX_[static_cast<size_t>(c)];
        if (line.removed) line.alpha = 0.0f;
        for (int i = c * field_.cellsPerLine; i < std::min((c + 1) * field_.cellsPerLine, field_.cellCount); ++i) {
            record.cells[static_cast<size_t>(i)].x = line.x;
        }
    }
    record.fieldOffset = field_.storedOffset;
    record.linesOnField = field_.linesOnField;
    record.level = level_;
    record.score = score_;
    record.sinceStart = sinceStart_;
    record.elapsed = elapsed_;
    record.spawnedCount = spawnedCount_;
    const std::vector<uint8_t> bytes = record.Encode();
    if (!IniSetStruct(Rules().savedSection, kDataKey, bytes.data(), bytes.size(), kSavedGameFile)) {
        // The flag is left alone, so it never points at a record that was not written.
        LogWrite("WARNING: could not write the saved game to 'saved.ini'", 0);
        return;
    }
    SetGameSaved(1);
}

bool CBrindloGame::LoadSavedGame(bool peek) {
    if (!peek) LogWrite("Loading saved game...", 0);
    std::vector<uint8_t> bytes(SavedGameRecord::kBytes);
    SavedGameRecord record;
    if (!IniGetStruct(Rules().savedSection, kDataKey, bytes.data(), bytes.size(), kSavedGameFile) ||
        !SavedGameRecord::Decode(bytes, record)) {
        LogCorrupted("");
        return false;
    }

    // The level the record names, as its file and the class table give it.
    LevelFileContents level;
    std::string reason;
    if (record.level < 1 || !ReadLevelFile(LevelFileName(record.level), LevelSettings{}, level, reason)) {
        LogCorrupted("level " + std::to_string(record.level) + " cannot be played");
        return false;
    }
    ClampLevelCounts(level.settings, master_.DistinctPlayableCount(), LevelFileName(record.level), false);
    SavedGameLimits limits;
    limits.cellCount = Field::kLineCount * level.settings.cellsPerLine;
    limits.classCount = level.settings.levelClassCount;
    // Classes drawn at random are drawn again on restore, so a variant is only bounded by the
    // most any class has; it is fitted to the class in play once the level is loaded.
    int mostVariants = 1;
    for (int i = 0; i < master_.Count(); ++i) mostVariants = std::max(mostVariants, master_.Class(i).shapeCount);
    limits.variantsOf.fill(Rules().allVariants ? mostVariants : 1);
    limits.levelTime = level.settings.levelTime;
    limits.clockRuns = Rules().clockEndsGame && !level.settings.IsBonusLevel();
    if (!ValidateSavedGame(record, limits, reason)) {
        LogCorrupted(reason);
        return false;
    }

    level_ = record.level;
    score_ = record.score;
    if (peek) return true;

    if (!StartLevel()) return false;
    panel_.slots = record.panel;
    field_.cells = record.cells;
    panel_.count = std::min(record.panelCount, Panel::kMaxInUse);
    field_.cellCount = record.cellCount;
    auto fitVariant = [this](ShapeSlot& slot) {
        const int variants = std::max(1, LevelClass(slot.shapeClass).shapeCount);
        if (slot.shape >= variants) slot.shape %= variants;
    };
    for (int i = 0; i < panel_.count; ++i) fitVariant(panel_.slots[static_cast<size_t>(i)]);
    for (int i = 0; i < field_.cellCount; ++i) fitVariant(field_.cells[static_cast<size_t>(i)]);
    RefreshShapeImages();
    field_.lines = record.lines;
    field_.linesOnField = record.linesOnField;
    field_.storedOffset = record.fieldOffset;
    for (int c = 0; c < Field::kLineCount; ++c) lineTargetX_[static_cast<size_t>(c)] = field_.lines[static_cast<size_t>(c)].x;

    // The clock goes on from where it stood.
    const double now = Now();
    levelStart_ = now - record.sinceStart;
    playStart_ = now - record.elapsed;
    frozenRemaining_ = settings_.levelTime - record.elapsed;
    spawnedCount_ = record.spawnedCount;
    loadedFromSave_ = true;
    roundState_ = ROUND_PLAYING;
    currentBackground_ = nextBackground_;
    return true;
}
