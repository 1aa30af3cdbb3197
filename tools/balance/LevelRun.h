// One level of the game played at the game level by the scripted player: a controller of its
// own over the game folder in the working folder (no window, no drawing, pictures from memory,
// a manual clock), started as from the level map, run until the level ends.
#pragma once

#include <cstdint>

struct Pace {
    double placementInterval = 1.2;   // seconds from one placement to the next
    double reaction = 0.4;            // seconds from taking a shape to dropping it
};

struct LevelOutcome {
    bool loaded = false;      // the level file could be played
    bool bonusLevel = false;  // no clock
    bool finished = false;    // every cell filled
    float levelTime = 0.0f;   // seconds on the clock at the start
    float timeLeft = 0.0f;    // on the clock when the level ended
    float progress = 0.0f;    // share of the cells filled at the end
    int cells = 0;
    int placements = 0;
    int bonuses = 0;
    int discards = 0;
    int thefts = 0;           // shapes the bug carried off
};

// Plays one level in "Classic" with a fixed seed; the working folder must be a game folder
// the run may write into (log, config).
LevelOutcome PlayLevel(int level, const Pace& pace, uint32_t seed);
