// Points: a placement scores 50, and each further placement of the same animal in a row scores
// 50 more than the one before; the end of a level pays the time left and a fixed sum; a bonus
// level pays five figures of 750 and 1000 more; the game-complete parade 1000 an animal.
#pragma once

namespace Scoring {

inline constexpr int kPlacementPoints = 50;
inline constexpr int kLevelCompleteBonus = 1500;
inline constexpr int kBonusLevelFigure = 750;
inline constexpr int kBonusLevelFigures = 5;
inline constexpr int kBonusLevelExtra = 1000;
inline constexpr int kParadeAnimalPoints = 1000;
inline constexpr int kParadeAnimals = 15;
inline constexpr int kMaxComboSound = 7;

struct Placement {
    bool combo = false;     // the same animal as the last placement
    int comboCount = 0;     // placements of this animal in a row, less one
    int points = 0;
    int soundNumber = 0;    // combo: the "place_shape_bonus_<n>" event, 1..7; else 0
};

// The points of placing an animal of cellClass after one of lastClass (-1: none yet this level),
// with comboCount the run so far.
Placement ScorePlacement(int cellClass, int lastClass, int comboCount);

// The time bonus of a finished level: the time left, truncated (never negative).
int TimeBonus(float timeLeft);

// What a finished bonus level adds: 5 x 750 + 1000.
constexpr int BonusLevelTotal() { return kBonusLevelFigures * kBonusLevelFigure + kBonusLevelExtra; }

}  // namespace Scoring
