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
    targetLostAt_ = -1.0;
    stuckSince_ = -1.0;
}

int ScriptedPlayer::TurnsNeeded(int cell) const {
    const ShapeSlot& hand = game_.Hand();
    const ShapeSlot& c = game_.Field().cells[static_cast<size_t>(cell)];
    if (hand.bonus != 0) return 0;
    const int variants = std::max(1, game_.LevelClass(hand.shapeClass).shapeCount);
    return ((c.shape - hand.shape) % variants + variants) % variants;
}

int ScriptedPlayer::Fills(int cell, int bonus) const {
    const PlayField& field = game_.Field();
    if (bonus == BONUS_AREA) return 1 + static_cast<int>(Field::AreaCells(field, cell).size());
    if (bonus != BONUS_BAND) return 1;
    int free = 0;
    for (int i : Field::BandCells(field, cell)) {
        const ShapeSlot& c = field.cells[static_cast<size_t>(i)];
        if (c.active && !c.placed) ++free;
    }
    return free;
}

int ScriptedPlayer::TargetFor(int shapeClass, int shape, int bonus, bool allowTurning) const {
    const PlayField& field = game_.Field();
    const bool tutorial = game_.TutorialOn();
    int best = -1;
    int bestFills = 0;
    for (int i = 0; i < field.cellCount; ++i) {
        if (tutorial && i != CBrindloGame::kTutorialIndex) continue;
        const ShapeSlot& c = field.cells[static_cast<size_t>(i)];
        if (!c.active || c.placed || c.y < kReachTop || c.y > kReachBottom) continue;
        const bool fits = bonus != 0 || (c.shapeClass == shapeClass && (c.shape == shape || allowTurning));
        if (!fits) continue;
        // The cell filling most; among equals the one with most room before it scrolls out
        // of reach.
        const int fills = Fills(i, bonus);
        if (best < 0 || fills > bestFills ||
            (fills == bestFills && c.y > field.cells[static_cast<size_t>(best)].y)) {
            best = i;
            bestFills = fills;
        }
    }
    return best;
}

ScriptedPlayer::Move ScriptedPlayer::Choose() const {
    const ShapePanel& panel = game_.ShapePanelState();
    const bool turning = game_.Rules().rightButtonTransforms;
    // The move filling most cells; among equals a plain shape before a bonus (a bonus is worth
    // keeping for a better place), then the first in the panel.
    Move best;
    bool bestIsBonus = false;
    for (int i = 0; i < panel.count; ++i) {
        if (game_.TutorialOn() && i != CBrindloGame::kTutorialIndex) continue;
        const ShapeSlot& s = panel.slots[static_cast<size_t>(i)];
        if (s.x < kPanelLeft || s.x > kPanelRight) continue;
        const bool bonus = s.bonus != 0;
        if (bonus && !options_.useBonuses) continue;
        const int cell = TargetFor(s.shapeClass, s.shape, s.bonus, !bonus && turning);
        if (cell < 0) continue;
        const int fills = Fills(cell, s.bonus);
        if (best.panelIndex < 0 || fills > best.fills || (fills == best.fills && bestIsBonus && !bonus)) {
            best = Move{i, cell, fills};
            bestIsBonus = bonus;
        }
    }
    return best;
}

void ScriptedPlayer::Discard(double now) {
    actedAt_ = game_.TickTime();
    options_.pressDiscardKey();
    ++discards_;
    stuckSince_ = -1.0;
    nextAction_ = now + options_.carryTime;
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
            const Move move = Choose();
            if (move.panelIndex < 0) {
                // Nothing fits. Once the panel has queued up no new shape comes until one
                // goes: after a moment's look the first one is discarded.
                if (stuckSince_ < 0.0) stuckSince_ = now;
                if (!Panel::WantsShape(game_.ShapePanelState())) {
                    ++stalls_;
                    if (options_.pressDiscardKey && !game_.TutorialOn() &&
                        now - stuckSince_ >= options_.carryTime) {
                        Discard(now);
                        return;
                    }
                }
                nextAction_ = now + 0.1;
                return;
            }
            stuckSince_ = -1.0;
            const ShapeSlot& s = game_.ShapePanelState().slots[static_cast<size_t>(move.panelIndex)];
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
                    // Wait for a cell to come into reach; after a while the shape goes.
                    if (targetLostAt_ < 0.0) targetLostAt_ = now;
                    if (options_.pressDiscardKey && now - targetLostAt_ > options_.placementInterval) {
                        Discard(now);
                        phase_ = Phase::Idle;
                        target_ = -1;
                        targetLostAt_ = -1.0;
                        return;
                    }
                    PointAt(0.59f, 0.5f);
                    return;
                }
            }
            targetLostAt_ = -1.0;
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
