// The play field as plain data and the rules over it: the grid of cells in six lines, the
// upward scroll with its wrap, finding the cell under the pointer, the cells a bonus fills, and
// the scan that finds full lines and how far the others slide. No time, input, drawing or sound
// here: the controller glues these to the round.
#pragma once

#include "game/GameRecords.h"

#include <array>
#include <vector>

namespace Field {

inline constexpr int kLineCount = 6;
inline constexpr int kMaxCells = 180;
inline constexpr int kMaxCellsPerLine = kMaxCells / kLineCount;
inline constexpr float kCellWidth = 0.0890625f;
inline constexpr float kCellHeight = 0.11875f;
inline constexpr float kLineWidth = 0.11875f;
inline constexpr float kCellPitch = 0.15833333f;      // between the cells of a line
inline constexpr float kWrapTop = -0.07916667f;       // half a pitch above the screen
inline constexpr float kEvenLineDrop = 0.08f;         // even lines sit half a pitch lower
inline constexpr float kFirstLineX = 0.29f;
inline constexpr float kCentreX = 0.59f;              // between the left and right groups
inline constexpr float kTargetTolerance = 0.45f;      // of a cell's size, for dropping on it
inline constexpr float kBandTolerance = 0.1f;         // of a cell's width: the same line
inline constexpr float kAreaReach = 1.9f;             // cell sizes around an area bonus

}  // namespace Field

struct PlayField {
    std::array<ShapeSlot, Field::kMaxCells> cells{};
    int cellCount = 0;                 // cell index = line x cellsPerLine + row
    int cellsPerLine = 11;
    std::array<LineRecord, Field::kLineCount> lines{};
    int linesOnField = Field::kLineCount;
    float scrollOffset = 0.0f;         // of the whole field; never reset
    float storedOffset = 0.0f;         // the offset kept beside the line table; 0 once built

    // Line of a cell index (-1 outside the field).
    int LineOf(int cell) const;
};

// What the full-line scan decides for one line.
struct LineMove {
    bool remove = false;   // the line is full and goes
    int shift = 0;         // otherwise: line widths to move (+ right, - left)
};
using LineScan = std::array<LineMove, Field::kLineCount>;

namespace Field {

// The lines at their start: line c at x = 0.29 + c x 0.11875, y 0.5, opaque, on the field.
void ResetLines(PlayField& field);

// Lays out the grid: lines c = 0..5, rows r = 0..cellsPerLine-1, each cell asking for a random
// class of the level (RandomInt over classCount) and a random variant of it (over
// variantsOf[class]). cellsPerLine is clamped to 1..30.
void BuildField(PlayField& field, int cellsPerLine, float lineSpeed, int classCount,
                const int* variantsOf);

// Scrolls the field up for dt seconds: faster by 0.02 for every line gone; the offset and every
// cell wrap within one loop of the line.
void ScrollField(PlayField& field, float lineSpeed, float dt);

// Whether a cell takes the held shape: the same class and variant, or any cell for a bonus.
bool CellAccepts(const ShapeSlot& cell, const ShapeSlot& held);

// The first cell in index order under (x, y) (within 0.45 of its size) that is active, not
// placed and accepts the held shape; only onlyCell when it is not -1. -1 when there is none.
int FindDropTarget(const PlayField& field, float x, float y, const ShapeSlot& held, int onlyCell);

// Cells a band bonus on target fills: every cell within a tenth of a cell width of its x.
std::vector<int> BandCells(const PlayField& field, int target);
// Cells an area bonus on target fills besides it: the unplaced cells within 1.9 cell sizes.
std::vector<int> AreaCells(const PlayField& field, int target);

// A line is full when every one of its cells is active and placed.
bool LineIsFull(const PlayField& field, int line);

// The scan after a placement: the left group (up to the last line left of the centre) is
// scanned outward from the centre, the right group likewise; full lines are removed and every
// other line moves toward the centre by the number of full lines met so far in its group.
LineScan ScanFullLines(const PlayField& field);

int PlacedCount(const PlayField& field);

}  // namespace Field
