// The bug: now and then it walks in from the left to a placed animal, sits on it for a while,
// carries it off (the cell is empty again) and leaves to the right.
#pragma once

#include "game/PlayField.h"

struct BugRecord {
    enum State { APPROACHING = 0, SITTING = 1, LEAVING = 2 };

    bool active = false;
    double lastEnd = 0.0;     // when the previous bug left
    double arrivedAt = 0.0;
    int state = APPROACHING;
    float speed = 0.2f;       // screen fractions per second
    float x = 0.0f;
    float y = 0.0f;
    float startX = -0.1f;
    float startY = 0.2f;
    float exitX = 1.1f;
    float exitY = 0.2f;
    int target = -1;          // the cell it goes for
    float interval = 5.0f;    // seconds between bugs
    float sitTime = 2.0f;
};

namespace Bug {

inline constexpr float kReach = 0.025f;
inline constexpr float kMinTargetY = 0.55f;
inline constexpr float kMaxTargetY = 1.05f;

// The bug at the start of a level: inactive, its last visit ended now.
BugRecord Fresh(double now, float interval);

// Whether a cell may be visited: placed, active and low enough on the screen.
bool IsTarget(const PlayField& field, int cell);

// Sends the bug for a cell: active, approaching, at its start point.
void Launch(BugRecord& bug, int cell);

// What one step of the bug did.
enum class Step { Nothing, TookShape, Left };

// Moves an active bug for dt seconds: toward its cell (which keeps scrolling), sitting on it
// until its time is up (then the cell loses its shape if it is still on the field), then toward
// the exit, where it leaves.
Step Update(BugRecord& bug, PlayField& field, double now, float dt);

}  // namespace Bug
