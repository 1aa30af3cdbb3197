// Shape classes and level files: the master table, reading a level into its settings and class
// table, building its field, starting it, and the picture handles of the shapes.
#include "game/BrindloGame.h"

#include "engine/effects/Effect2d.h"
#include "engine/log/Log.h"
#include "engine/sprites/SpriteManager.h"
#include "game/GameRandom.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kBonusImages[] = {
    "Graphics\\am_bonus01.png", "Graphics\\am_bonus02.png", "Graphics\\am_bonus03.png"};
constexpr const char* kFrameImage = "Graphics\\status-border.png";
// Random draws of a distinct class before the first unused one is taken instead.
constexpr int kMaxClassDraws = 10000;

void Warn(const std::string& fileName, const std::string& what) {
    LogWrite("WARNING: " + fileName + ": " + what, 0);
}

}  // namespace

bool CBrindloGame::LoadShapeClasses(const std::string& fileName) { return master_.Load(fileName); }

bool CBrindloGame::LevelFileExists(int level) { return ::LevelFileExists(level); }

std::string CBrindloGame::ShapeImageName(const ShapeSlot& slot) const {
    if (slot.bonus >= BONUS_ANY_SHAPE && slot.bonus <= BONUS_AREA) return kBonusImages[slot.bonus - 1];
    const ShapeClassDef& def = LevelClass(slot.shapeClass);
    if (slot.shape < 0 || slot.shape >= ShapeClassDef::kMaxShapes) return "";
    return def.shapes[slot.shape].mainImage;
}

bool CBrindloGame::LoadLevel() {
    const std::string fileName = LevelFileName(level_);
    if (master_.DistinctPlayableCount() == 0) {
        // Without a class nothing can be played.
        LogCannotLoadXml(kClassesFile);
        return false;
    }
    LevelSettings defaults;
    defaults.lineSpeed = settings_.lineSpeed;
    defaults.cellsPerLine = settings_.cellsPerLine;
    LevelFileContents contents;
    std::string reason;
    if (!ReadLevelFile(fileName, defaults, contents, reason)) {
        LogCannotLoadXml(fileName);
        Warn(fileName, reason);
        return false;
    }

    // The bug, the settings and the round data start afresh.
    bug_ = Bug::Fresh(Now(), 5.0f);
    settings_ = contents.settings;
    progress_ = 0.0f;
    comboCount_ = 0;
    panel_.count = 0;
    field_.cellCount = 0;
    hand_ = ShapeSlot{};
    hand_.active = 0;
    beepCount_ = 0;
    lastPlaced_ = ShapeSlot{};
    lastPlaced_.shapeClass = -1;
    spawnedCount_ = 0;

    ClampLevelCounts(settings_, master_.DistinctPlayableCount(), fileName, true);
    const int classCount = settings_.levelClassCount;
    bug_.interval = settings_.bugInterval;

    // The classes in play: named ones from the list, random distinct ones for the rest. A name
    // that no class has, or one already in play, gives way to a random class.
    const auto tokens = SplitClassList(settings_.shapeClassList);
    std::array<bool, ShapeClassTable::kMaxClasses> tokenRefused{};
    int draws = 0;
    for (int i = 0; i < classCount;) {
        const size_t ti = static_cast<size_t>(i);
        const bool named = settings_.shapeClassList[0] != '\0' && ti < tokens.size() &&
                           !tokens[ti].empty() && !tokenRefused[ti];
        int index = -1;
        if (named) {
            index = master_.Find(tokens[ti]);
            if (!master_.Playable(index)) {
                Warn(fileName, "shapeClassList names no class '" + tokens[ti] + "', using a random one");
                tokenRefused[ti] = true;
                continue;
            }
        } else if (++draws > kMaxClassDraws) {
            // Practically never: the first class not yet in play.
            for (int k = 0; k < master_.Count() && index < 0; ++k) {
                if (!master_.Playable(k)) continue;
                bool used = false;
                for (int j = 0; j < i && !used; ++j) used = levelClasses_[static_cast<size_t>(j)].SameBytes(master_.Class(k));
                if (!used) index = k;
            }
        } else {
            index = RandomInt(0, master_.Count() - 1);
            if (!master_.Playable(index)) continue;
        }
        levelClasses_[ti] = master_.Class(index);
        bool repeated = false;
        for (int j = 0; j < i && !repeated; ++j) {
            repeated = levelClasses_[static_cast<size_t>(j)].SameBytes(levelClasses_[ti]);
        }
        if (repeated) {
            if (named) {
                Warn(fileName, "shapeClassList repeats '" + tokens[ti] + "', using a random class");
                tokenRefused[ti] = true;
            }
            continue;
        }
        ++i;
    }
    levelClassCount_ = classCount;
    // Only "Transformer" plays every variant.
    if (!Rules().allVariants) {
        for (int i = 0; i < levelClassCount_; ++i) levelClasses_[static_cast<size_t>(i)].shapeCount = 1;
    }
    std::array<int, ShapeClassTable::kMaxClasses> variants{};
    for (int i = 0; i < levelClassCount_; ++i) {
        variants[static_cast<size_t>(i)] = std::max(1, levelClasses_[static_cast<size_t>(i)].shapeCount);
    }

    // The file's own cells draw their shapes, but the grid replaces them entirely.
    const int fileCells = std::min(contents.shapeCellCount, Field::kMaxCells);
    for (int i = 0; i < fileCells; ++i) {
        const int c = RandomInt(0, levelClassCount_ - 1);
        RandomInt(0, variants[static_cast<size_t>(c)] - 1);
    }
    Field::BuildField(field_, settings_.cellsPerLine, settings_.lineSpeed, levelClassCount_, variants.data());

    // Every class in play is asked for at least once.
    if (field_.cellCount > levelClassCount_) {
        std::array<int, ShapeClassTable::kMaxClasses> chosen{};
        for (int k = 0; k < levelClassCount_; ++k) {
            int cell = 0;
            bool again = true;
            while (again) {
                cell = RandomInt(0, field_.cellCount - 1);
                again = std::find(chosen.begin(), chosen.begin() + k, cell) != chosen.begin() + k;
            }
            chosen[static_cast<size_t>(k)] = cell;
            ShapeSlot& slot = field_.cells[static_cast<size_t>(cell)];
            slot.shapeClass = k;
            slot.shape = RandomInt(0, variants[static_cast<size_t>(k)] - 1);
        }
    }
    return true;
}

bool CBrindloGame::StartLevel() {
    char line[64];
    std::snprintf(line, sizeof line, "StartLevel(%d)", level_);
    LogWrite(line, LOG_STARS);
    if (!LoadLevel()) return false;

    Field::ResetLines(field_);
    for (int c = 0; c < Field::kLineCount; ++c) lineTargetX_[static_cast<size_t>(c)] = field_.lines[static_cast<size_t>(c)].x;
    // The field keeps scrolling from level to level, but the first level's tutorial holds it
    // still around its cell: that level starts where the program's first one does, so the
    // cell is in view when the tutorial begins (carried over, it could be frozen out of reach).
    if (level_ == 1) field_.scrollOffset = 0.0f;
    SetAppState(APPSTATE_PLAYING);
    tutorialOn_ = false;
    tutorialStep_ = 1;
    pauseDepth_ = 0;

    char background[64];
    std::snprintf(background, sizeof background, "Graphics\\back_game0%d.jpg",
                  ((level_ - 1) % 30) / kLevelsPerStage + 1);
    nextBackground_ = background;
    effects_.Clear();

    const int previous = PreviousAppState();
    if (previous == APPSTATE_MAIN_MENU || previous == APPSTATE_LEVEL_MAP) {
        effects_.AddFloatAnimation(0.0f, 0.5f, 1.0f, 0.0f, &fade_);
        roundState_ = ROUND_FADE_FROM_MENU;
        currentBackground_ = nextBackground_;
        sprites_.GetTexture(currentBackground_);
        sprites_.GetTexture(kFrameImage);
    } else {
        roundState_ = ROUND_FADE_IN;
    }
    levelStart_ = Now();
    loadedFromSave_ = false;
    frozenRemaining_ = settings_.levelTime;
    RefreshShapeImages();
    return true;
}

void CBrindloGame::RefreshSlotImages(ShapeSlot& slot, bool cell) {
    auto handle = [this](const char* name) { return name[0] ? sprites_.GetTextureHandle(name) : -1; };
    const ShapeClassDef& def = LevelClass(slot.shapeClass);
    const bool variantOk = slot.shape >= 0 && slot.shape < ShapeClassDef::kMaxShapes;
    if (cell) {
        slot.maskImage = variantOk ? handle(def.shapes[slot.shape].maskImage) : -1;
        slot.mainImage = variantOk ? handle(def.shapes[slot.shape].mainImage) : -1;
    } else {
        slot.mainImage = handle(ShapeImageName(slot).c_str());
    }
}

void CBrindloGame::RefreshShapeImages() {
    for (int i = 0; i < field_.cellCount; ++i) RefreshSlotImages(field_.cells[static_cast<size_t>(i)], true);
    for (int i = 0; i < panel_.count; ++i) RefreshSlotImages(panel_.slots[static_cast<size_t>(i)], false);
}
