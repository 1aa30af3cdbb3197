// Rewards as they show: the points of a placement rising from the cell, and the timelines of a
// finished level and a finished bonus level, whose figures fly to the score display and are
// added when they arrive.
#include "game/BrindloGame.h"

#include "engine/effects/Effect2d.h"
#include "engine/sprites/SpriteManager.h"
#include "game/Scoring.h"
#include "menu/CMenu.h"

#include <string>

namespace {

constexpr const char* kStarImage = "Graphics\\star-rotation.png";
// The star picture is a sheet of a turning star, played once over its effect.
constexpr int kStarColumns = 8;
constexpr int kStarRows = 1;
constexpr float kCentreX = 0.59f;
constexpr float kCentreY = 0.45f;

}  // namespace

void CBrindloGame::QueueRotatingStar(float delay, float duration, float x, float y) {
    effects_.AddAnimatedSprite(kTopLayer, delay, duration, x, y, sprites_.GetTexture(kStarImage),
                               kStarColumns, kStarRows, 0.0f);
}

void CBrindloGame::ScorePlacement(int cellIndex) {
    const ShapeSlot& cell = field_.cells[static_cast<size_t>(cellIndex)];
    const Scoring::Placement p = Scoring::ScorePlacement(cell.shapeClass, lastPlaced_.shapeClass, comboCount_);
    comboCount_ = p.comboCount;
    lastPlaced_ = cell;
    if (!p.combo) {
        effects_.AddRisingText(kTopLayer, 0.0f, 0.8f, cell.x, cell.y - 0.059375f, "50", false);
        score_ += p.points;
        PlaySound("place_shape");
        return;
    }
    effects_.AddRisingText(kTopLayer, 0.0f, 2.0f, cell.x, cell.y - 0.109375f, "BonusScore", false);
    effects_.AddRisingText(kTopLayer, 0.0f, 2.0f, cell.x, cell.y - 0.059375f, std::to_string(p.points), true);
    score_ += p.points;
    PlaySound("place_shape_bonus_" + std::to_string(p.soundNumber));
}

void CBrindloGame::QueueLevelCompleteRewards() {
    const CMenu& hud = Menu(MenuId::InGame);
    const float scoreX = hud.GetTextX("txtScoreNum");
    const float scoreY = hud.GetTextY("txtScoreNum");
    const float timeX = hud.GetTextX("txtTimeNum");
    const float timeY = hud.GetTextY("txtTimeNum");
    const int timeBonus = Scoring::TimeBonus(timeLeft_);

    PlaySound("level_complete");
    effects_.AddFadingText(kTopLayer, 0.5f, 3.0f, kCentreX, kCentreY, "Level Complete", false);

    // The time left flies from the time display, the fixed sum from the middle.
    constexpr float kEmit = 1.75f;
    constexpr float kFlight = 1.0f;
    effects_.AddFlyingText(kTopLayer, kEmit, kFlight, timeX, timeY, scoreX, scoreY,
                           std::to_string(timeBonus), true);
    QueueRotatingStar(kEmit, kFlight, timeX, timeY);
    effects_.AddFloatAnimation(kEmit, 0.01f, 0.0f, 0.0f, &timeLeft_);
    effects_.AddFlyingText(kTopLayer, kEmit, kFlight, kCentreX, kCentreY, scoreX, scoreY,
                           std::to_string(Scoring::kLevelCompleteBonus), true);
    QueueRotatingStar(kEmit, kFlight, kCentreX, kCentreY);
    effects_.AddTimedSound(kEmit, "emit_scores");

    // They arrive.
    constexpr float kCollect = kEmit + kFlight;
    effects_.AddTimedAddition(kCollect, timeBonus, &score_);
    effects_.AddTimedAddition(kCollect, Scoring::kLevelCompleteBonus, &score_);
    effects_.AddTimedSound(kCollect, "collect_scores");

    // Fireworks.
    Orvane::Image* sparks[] = {sprites_.GetTexture("Graphics\\particle1.png"),
                               sprites_.GetTexture("Graphics\\particle2.png")};
    for (int k = 0; k < 4; ++k) {
        const float x = 0.45f + 0.1f * static_cast<float>(k);
        for (int p = 0; p < 2; ++p) {
            effects_.AddParticleBurst(kTopLayer, 3.0f, 1.2f, x, kCentreY, 0.12f, 0.5f,
                                      sparks[p], p == 1);
        }
    }
}

void CBrindloGame::QueueBonusLevelRewards() {
    const CMenu& hud = Menu(MenuId::InGame);
    const float scoreX = hud.GetTextX("txtScoreNum");
    const float scoreY = hud.GetTextY("txtScoreNum");

    effects_.AddFadingText(kTopLayer, 0.0f, 4.5f, kCentreX, kCentreY, "Bonus!", false);
    for (int k = 0; k < Scoring::kBonusLevelFigures; ++k) {
        const float t = 1.4f + 0.3f * static_cast<float>(k);
        constexpr float kFlight = 0.6f;
        effects_.AddFlyingText(kTopLayer, t, kFlight, kCentreX, kCentreY, scoreX, scoreY,
                               std::to_string(Scoring::kBonusLevelFigure), true);
        QueueRotatingStar(t, 1.0f, kCentreX, kCentreY);
        effects_.AddTimedSound(t, "emit_scores");
        effects_.AddTimedAddition(t + kFlight, Scoring::kBonusLevelFigure, &score_);
        effects_.AddTimedSound(t + kFlight, "collect_scores");
    }
    PlaySound("bonus_level_complete");
    score_ += Scoring::kBonusLevelExtra;
}
