#include "support/ScriptedPlayer.h"

#include "framework/platform/WindowMessage.h"
#include "game/BrindloGame.h"

#include <algorithm>
#include <cmath>

namespace {

// Cells are aimed at while the pointer can reach into them: it must stay on the screen and
// above the bottom bar (0.85), and within 0.45 of a cell's height of its centre.
constexpr float kReachTop = -0.04f;
constexpr float kReachBottom = 0.88f;
constexpr float kPointerTop = 0.005f;
constexpr float kPointerBottom = 0.845f;
constexpr float kPanelLeft = 0.22f;
constexpr float kPanelRight = 0.97f;

}  // namespace

ScriptedPlayer::ScriptedPlayer(const CBrindloGame& game, Orvane::HeadlessPlatform& platform)
    : ScriptedPlayer(game, platform, Options{}) {}

ScriptedPlayer::ScriptedPlayer(const CBrindloGame& game, Orvane::HeadlessPlatform& platform,
                               Options options)
    : game_(game), platform_(platform), options_(options) {}

bool ScriptedPlayer::Holding() const { return game_.Holding(); }

void ScriptedPlayer::PointAt(float x, float y) {
    actedAt_ = game_.TickTime();
    platform_.SetCursorPosition(static_cast<int>(std::lround(x * 800.0f)),
                                static_cast<int>(std::lround(y * 600.0f)));
}

void ScriptedPlayer::SetButtons(uint32_t buttons) {
    if (buttons != buttons_) actedAt_ = game_.TickTime();
    buttons_ = buttons;
    platform_.SetButtonState(buttons);
}

void ScriptedPlayer::Reset() {
    SetButtons(0);
    actedAt_ = -1.0;
    phase_ = Phase::Idle;
    target_ = -1;
    nextAction_ = 0.0;
}

int ScriptedPlayer::TurnsNeeded(int cell) const {
    const ShapeSlot& hand = game_.Hand();
    const ShapeSlot& c = game_.Field().cells[static_cast<size_t>(cell)];
    if (hand.bonus != 0) return 0;
    const int variants = std::max(1, game_.LevelClass(hand.shapeClass).shapeCount);
    return ((c.shape - hand.shape) % variants + variants) % variants;
}

int ScriptedPlayer::TargetFor(int shapeClass, int shape, int bonus, bool allowTurning) const {
    const PlayField& field = game_.Field();
    const bool tutorial = game_.TutorialOn();
    int best = -1;
    for (int i = 0; i < field.cellCount; ++i) {
        if (tutorial && i != CBrindloGame::kTutorialIndex) continue;
        const ShapeSlot& c = field.cells[static_cast<size_t>(i)];
        if (!c.active || c.placed || c.y < kReachTop || c.y > kReachBottom) continue;
        const bool fits = bonus != 0 || (c.shapeClass == shapeClass && (c.shape == shape || allowTurning));
        if (!fits) continue;
        // The cell with the most room before it scrolls out of reach.
        if (best < 0 || c.y > field.cells[static_cast<size_t>(best)].y) best = i;
    }
    return best;
}

bool ScriptedPlayer::Choose(int& panelIndex, int& cell) const {
    const ShapePanel& panel = game_.ShapePanelState();
    const bool turning = game_.Rules().rightButtonTransforms;
    int bonusIndex = -1;
    int bonusCell = -1;
    for (int i = 0; i < panel.count; ++i) {
        if (game_.TutorialOn() && i != CBrindloGame::kTutorialIndex) continue;
        const ShapeSlot& s = panel.slots[static_cast<size_t>(i)];
        if (s.x < kPanelLeft || s.x > kPanelRight) continue;
        if (s.bonus != 0) {
            if (bonusIndex < 0 && options_.useBonuses) {
                const int c = TargetFor(s.shapeClass, s.shape, s.bonus, false);
                if (c >= 0) {
                    bonusIndex = i;
                    bonusCell = c;
                }
            }
            continue;
        }
        const int c = TargetFor(s.shapeClass, s.shape, 0, turning);
        if (c >= 0) {
            panelIndex = i;
            cell = c;
            return true;
        }
    }
    if (bonusIndex >= 0) {
        panelIndex = bonusIndex;
        cell = bonusCell;
        return true;
    }
    return false;
}

void ScriptedPlayer::Update(double now) {
    // A hand waits for the game to see what it just did before it does the next thing.
    if (game_.TickTime() <= actedAt_) return;
    const PlayField& field = game_.Field();
    switch (phase_) {
        case Phase::Idle: {
            SetButtons(0);
            if (now < nextAction_) return;
            const bool canTake = game_.RoundState() == CBrindloGame::ROUND_PLAYING || game_.Level() >= 2;
            if (!canTake) return;
            int index = -1;
            int cell = -1;
            if (!Choose(index, cell)) {
                if (game_.ShapePanelState().count >= 10) ++stalls_;
                nextAction_ = now + 0.1;
                return;
            }
            const ShapeSlot& s = game_.ShapePanelState().slots[static_cast<size_t>(index)];
            heldBonus_ = s.bonus != 0;
            PointAt(s.x, s.y);
            SetButtons(Orvane::MK_LBUTTON);
            phase_ = Phase::Taking;
            phaseStart_ = now;
            return;
        }
        case Phase::Taking:
            if (game_.Holding()) {
                SetButtons(0);   // released over the panel: the shape stays in the hand
                phase_ = Phase::Carrying;
                phaseStart_ = now;
                target_ = -1;
            } else if (now - phaseStart_ > 0.2) {
                Reset();         // the shape moved away or could not be taken
            }
            return;
        case Phase::Carrying:
        case Phase::Turning: {
            const ShapeSlot& hand = game_.Hand();
            if (!game_.Holding()) {
                Reset();
                return;
            }
            const bool turning = game_.Rules().rightButtonTransforms;
            if (target_ < 0 || field.cells[static_cast<size_t>(target_)].placed ||
                !field.cells[static_cast<size_t>(target_)].active) {
                target_ = TargetFor(hand.shapeClass, hand.shape, hand.bonus, turning);
                if (target_ < 0) {
                    PointAt(0.59f, 0.5f);
                    return;   // wait for a cell to come into reach
                }
            }
            if (phase_ == Phase::Turning) {
                SetButtons(0);   // the right button goes up again
                phase_ = Phase::Carrying;
                return;
            }
            if (TurnsNeeded(target_) > 0) {
                SetButtons(Orvane::MK_RBUTTON);
                ++transforms_;
                phase_ = Phase::Turning;
                return;
            }
            const ShapeSlot& c = field.cells[static_cast<size_t>(target_)];
            PointAt(c.x, std::clamp(c.y, kPointerTop, kPointerBottom));
            if (now - phaseStart_ < options_.carryTime) return;
            SetButtons(Orvane::MK_LBUTTON);
            phase_ = Phase::Dropping;
            phaseStart_ = now;
            return;
        }
        case Phase::Dropping:
            SetButtons(0);
            if (!game_.Holding()) {
                ++placements_;
                if (heldBonus_) ++bonuses_;
                phase_ = Phase::Idle;
                nextAction_ = phaseStart_ + options_.placementInterval - options_.carryTime;
            } else {
                phase_ = Phase::Carrying;   // missed: aim again
                target_ = -1;
            }
            return;
    }
}
