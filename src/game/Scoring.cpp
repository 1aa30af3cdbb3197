#include "game/Scoring.h"

#include <algorithm>
#include <cmath>

namespace Scoring {

Placement ScorePlacement(int cellClass, int lastClass, int comboCount) {
    Placement p;
    if (cellClass != lastClass) {
        p.comboCount = 0;
        p.points = kPlacementPoints;
        return p;
    }
    p.combo = true;
    p.comboCount = comboCount + 1;
    p.points = kPlacementPoints * p.comboCount + kPlacementPoints;
    p.soundNumber = std::min(p.comboCount, kMaxComboSound);
    return p;
}

int TimeBonus(float timeLeft) {
    if (!(timeLeft > 0.0f)) return 0;
    if (timeLeft >= 2147483647.0f) return 2147483647;
    return static_cast<int>(std::trunc(timeLeft));
}

}  // namespace Scoring
