// A scripted player for tests, the balance check and the soak run. It reads the game's state
// to decide what to do, and acts only as a person would: it moves the platform's cursor,
// presses and releases its buttons and, when given one, presses the discard key. At its own
// pace it takes the panel shape that fills most (a bonus where it fills more than one cell,
// else the first plain shape that fits a visible cell, else a bonus anywhere), turns it to the
// cell's pose where the mode allows, carries it and drops it on the cell. When nothing on a
// panel that takes no more shapes fits, it discards the first shape, if it can.
#pragma once

#include "framework/platform/HeadlessPlatform.h"

#include <functional>

class CBrindloGame;

class ScriptedPlayer {
public:
    struct Options {
        double placementInterval = 1.2;   // seconds from one placement to the next take
        double carryTime = 0.3;           // seconds between taking a shape and dropping it;
                                          // also how long it takes to see that nothing fits
        bool useBonuses = true;
        // Presses the discard key (the space bar). Empty: the player never discards and waits
        // for a cell that fits instead.
        std::function<void()> pressDiscardKey;
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
    int Discards() const { return discards_; }
    // Times it found nothing it could do on a panel that takes no more shapes.
    int Stalls() const { return stalls_; }
    bool Holding() const;

private:
    enum class Phase { Idle, Taking, Carrying, Turning, Dropping };

    // A panel shape to take and the cell it goes to, with the number of cells it fills.
    struct Move {
        int panelIndex = -1;
        int cell = -1;
        int fills = 0;
    };

    void PointAt(float x, float y);
    void SetButtons(uint32_t buttons);
    void Discard(double now);
    // The best move now; panelIndex -1 when nothing fits.
    Move Choose() const;
    // A visible, free cell that takes the shape, the one filling most (for a plain shape: the
    // one with most room before it scrolls out of reach); -1 when none.
    int TargetFor(int shapeClass, int shape, int bonus, bool allowTurning) const;
    // The cells a shape dropped on the cell fills.
    int Fills(int cell, int bonus) const;
    int TurnsNeeded(int cell) const;

    const CBrindloGame& game_;
    Orvane::HeadlessPlatform& platform_;
    Options options_;
    Phase phase_ = Phase::Idle;
    double nextAction_ = 0.0;
    double phaseStart_ = 0.0;
    double targetLostAt_ = -1.0;   // since when the held shape has had no cell in reach
    double stuckSince_ = -1.0;     // since when nothing on the panel has fitted
    int target_ = -1;
    bool heldBonus_ = false;
    uint32_t buttons_ = 0;
    double actedAt_ = -1.0;   // the game's tick when the player last acted
    int placements_ = 0;
    int bonuses_ = 0;
    int transforms_ = 0;
    int discards_ = 0;
    int stalls_ = 0;
};
