// A game's way through the levels: a new game in a mode, the level map with its marker, the
// next level or stage after a finished one, the game-complete sequence, and the start levels.
#include "game/BrindloGame.h"

#include "engine/config/Config.h"
#include "engine/effects/Effect2d.h"
#include "engine/sprites/SpriteManager.h"
#include "game/Scoring.h"
#include "menu/CMenu.h"

#include <cmath>

namespace {

constexpr const char* kChompImage = "Graphics\\am_effect_chomp.png";
constexpr float kParadeX = 0.31f;
constexpr float kParadeY = 0.44f;
constexpr int kParadeColumns = 5;

}  // namespace

void CBrindloGame::NewGame() {
    level_ = 1;
    level_ = Rules().advancedStartLevel ? advancedStartLevel_ : simpleStartLevel_;
    score_ = 0;
    tutorialOn_ = false;
    ShowLevelMap();
}

void CBrindloGame::ShowLevelMap() {
    SetAppState(APPSTATE_LEVEL_MAP);
    effects_.AddFloatAnimation(0.0f, 0.5f, 1.0f, 0.0f, &fade_);
    roundState_ = ROUND_MAP_FADING;
}

void CBrindloGame::RaiseStartLevel(bool advanced) {
    int& start = advanced ? advancedStartLevel_ : simpleStartLevel_;
    start = start >= kMaxStartLevel ? 1 : start + 1;
}

void CBrindloGame::PlaceMarkerOnStage(int stage) {
    const CMenu& map = Menu(MenuId::Map);
    if (stage < 0 || stage >= map.ButtonCount()) return;
    markerX_ = map.Button(stage).xc;
    markerY_ = map.Button(stage).yc;
}

void CBrindloGame::SelectStage(int stage) {
    // Locked stages cannot be chosen (their buttons are disabled; this holds for any caller).
    if (stage < 1 || stage > UnlockedStages()) return;
    level_ = (stage - 1) * kLevelsPerStage + 1;
    PlaceMarkerOnStage(Stage());
    PlaySound(master_.Class(Stage() + 3).soundEvent);
}

void CBrindloGame::NextLevel() {
    effects_.Update();
    if (!effects_.IsEmpty()) return;   // the rewards run out first
    ++level_;
    if (level_ > lastOpenedLevel_) {
        lastOpenedLevel_ = level_;
        ConfigSetInt("GAMEPLAY", "LastOpenedLevel", lastOpenedLevel_);
    }
    if (!LevelFileExists(level_)) {
        GameComplete();
        return;
    }
    if (level_ % kLevelsPerStage == 1 || !StartLevel()) ShowLevelMap();
}

void CBrindloGame::GameComplete() {
    setMusicVolume_(0.0f);
    PlaySound("game_complete");
    SetAppState(APPSTATE_GAME_COMPLETE);
    SetGameSaved(0);
    Orvane::Image* chomp = sprites_.GetTexture(kChompImage);
    animalVisible_.fill(0.0f);
    for (int i = 0; i < Scoring::kParadeAnimals; ++i) {
        const float t = 0.5f * static_cast<float>(i);
        const float x = kParadeX + Field::kCellWidth * static_cast<float>(i % kParadeColumns);
        const float y = kParadeY + Field::kCellHeight * static_cast<float>(i / kParadeColumns);
        effects_.AddShrinkingImage(kTopLayer, t, 0.5f, x, y, Field::kCellWidth, Field::kCellHeight, chomp);
        effects_.AddTimedSound(t, "shape_chomp");
        effects_.AddRisingText(kTopLayer, t + 0.5f, 0.8f, x, y, "1000", false);
        effects_.AddFloatAnimation(t + 0.5f, 0.01f, 1.0f, 1.0f, &animalVisible_[static_cast<size_t>(i)]);
    }
    gameCompleteShown_ = 0;
}

void CBrindloGame::DrawGameComplete() {
    effects_.Update();
    int shown = 0;
    for (int i = 0; i < Scoring::kParadeAnimals; ++i) {
        if (!(animalVisible_[static_cast<size_t>(i)] > 0.0f)) continue;
        const float x = kParadeX + Field::kCellWidth * static_cast<float>(i % kParadeColumns);
        const float y = kParadeY + Field::kCellHeight * static_cast<float>(i / kParadeColumns);
        const char* image = master_.Class(i).shapes[0].mainImage;
        if (image[0]) DrawPicture(image, x, y, Field::kCellWidth, Field::kCellHeight, kNoTint, 1);
        shown = i + 1;
    }
    // Every animal that has appeared pays once, even when two appear in one frame.
    if (shown > gameCompleteShown_) {
        score_ += Scoring::kParadeAnimalPoints * (shown - gameCompleteShown_);
        gameCompleteShown_ = shown;
    }
    effects_.Draw(kTopLayer);
}
