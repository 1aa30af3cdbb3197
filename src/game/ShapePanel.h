// The shape panel at the bottom of the screen: when a new shape enters, what it is (weighted
// toward the animals the field still asks for, never the same animal twice in a row where it
// can help it, sometimes a bonus), and how the queue slides to the left.
#pragma once

#include "game/GameRecords.h"
#include "game/LevelFile.h"
#include "game/PlayField.h"

#include <array>

namespace Panel {

inline constexpr int kSlots = 20;           // stored in the saved game
inline constexpr int kMaxInUse = 10;
inline constexpr float kEntryX = 1.059375f;
inline constexpr float kY = 0.915f;
inline constexpr float kSpacing = 0.11875f;
inline constexpr float kHeadX = 0.3f;       // where the queue starts
inline constexpr float kSpeed = 0.75f;      // screen widths per second
inline constexpr int kSpawnTries = 10;

}  // namespace Panel

struct ShapePanel {
    std::array<ShapeSlot, Panel::kSlots> slots{};
    int count = 0;
};

namespace Panel {

// Whether a shape enters now: the panel is empty, or it holds 1 to 9 and the last one has moved
// a spacing in from the right edge.
bool WantsShape(const ShapePanel& panel);

// Three independent draws against the level's odds: any shape, then band, then area; the last
// success wins.
int DrawBonusKind(const LevelSettings& settings);

// The class of a new shape: up to 10 tries, each a uniform class that a draw weighted by the
// field's unplaced cells per class may replace; a try is kept when it differs from lastClass.
int ChooseClass(const PlayField& field, int classCount, int lastClass);

// A new shape at the entry point (class, variant and bonus filled by the caller).
ShapeSlot EnteringShape();

// Slides the queue left for dt seconds: the head toward x 0.3, each other shape up to one
// spacing behind the one before it.
void Slide(ShapePanel& panel, float dt);

// Removes shape i; the shapes behind it move up one place.
void RemoveAt(ShapePanel& panel, int index);

// The first shape under (x, y) (within half its size); -1 when none.
int ShapeAt(const ShapePanel& panel, float x, float y);

}  // namespace Panel
