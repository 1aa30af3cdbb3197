// A scripted player for tests, the balance check and the soak run. It reads the game's state
// to decide what to do, and acts only as a person would: it moves the platform's cursor and
// presses and releases its buttons. At its own pace it takes a panel shape that fits a
// visible cell (a bonus when nothing fits), turns it to the cell's pose where the mode allows,
// carries it and drops it on the cell.
#pragma once

#include "framework/platform/HeadlessPlatform.h"

class CBrindloGame;

class ScriptedPlayer {
public:
    struct Options {
        double placementInterval = 1.2;   // seconds from one placement to the next take
        double carryTime = 0.3;           // seconds between taking a shape and dropping it
        bool useBonuses = true;
    };

    ScriptedPlayer(const CBrindloGame& game, Orvane::HeadlessPlatform& platform);
    ScriptedPlayer(const CBrindloGame& game, Orvane::HeadlessPlatform& platform, Options options);

    // Decides and acts for the moment now (seconds of the game's clock); call before every
    // round update while the level is played.
    void Update(double now);
    // Lets go of everything and forgets what it was doing (for a new level).
    void Reset();

    int Placements() const { return placements_; }
    int BonusesUsed() const { return bonuses_; }
    int Transforms() const { return transforms_; }
    // Times it found nothing it could do on a full panel.
    int Stalls() const { return stalls_; }
    bool Holding() const;

private:
    enum class Phase { Idle, Taking, Carrying, Turning, Dropping };

    void PointAt(float x, float y);
    void SetButtons(uint32_t buttons);
    // The panel shape to take now and the cell it goes to; false when nothing fits.
    bool Choose(int& panelIndex, int& cell) const;
    // A visible, free cell that takes the held shape; -1 when none.
    int TargetFor(int shapeClass, int shape, int bonus, bool allowTurning) const;
    int TurnsNeeded(int cell) const;

    const CBrindloGame& game_;
    Orvane::HeadlessPlatform& platform_;
    Options options_;
    Phase phase_ = Phase::Idle;
    double nextAction_ = 0.0;
    double phaseStart_ = 0.0;
    int target_ = -1;
    int turnsLeft_ = 0;
    bool heldBonus_ = false;
    uint32_t buttons_ = 0;
    double actedAt_ = -1.0;   // the game's tick when the player last acted
    int placements_ = 0;
    int bonuses_ = 0;
    int transforms_ = 0;
    int stalls_ = 0;
};
