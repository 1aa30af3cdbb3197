#include "game/PlayField.h"

#include "game/GameRandom.h"

#include <algorithm>
#include <cmath>

int PlayField::LineOf(int cell) const {
    if (cell < 0 || cell >= cellCount || cellsPerLine <= 0) return -1;
    return cell / cellsPerLine;
}

namespace Field {

void ResetLines(PlayField& field) {
    for (int c = 0; c < kLineCount; ++c) {
        LineRecord& line = field.lines[static_cast<size_t>(c)];
        line = LineRecord{};
        line.x = kFirstLineX + static_cast<float>(c) * kLineWidth;
        line.y = 0.5f;
        line.alpha = 1.0f;
        line.removed = 0;
        line.drift = 0.01f;
    }
    field.linesOnField = kLineCount;
}

void BuildField(PlayField& field, int cellsPerLine, float lineSpeed, int classCount,
                const int* variantsOf) {
    const int n = std::clamp(cellsPerLine, 1, kMaxCellsPerLine);
    field.cellsPerLine = n;
    int index = 0;
    for (int c = 0; c < kLineCount; ++c) {
        for (int r = 0; r < n; ++r) {
            ShapeSlot& cell = field.cells[static_cast<size_t>(index++)];
            cell = ShapeSlot{};
            cell.x = static_cast<float>(c) * kLineWidth + kFirstLineX;
            cell.y = static_cast<float>(r) * kCellPitch + kWrapTop;
            if (c % 2 == 0) cell.y += kEvenLineDrop;
            cell.baseY = cell.y;
            cell.w = kCellWidth;
            cell.h = kCellHeight;
            cell.placed = 0;
            cell.active = 1;
            cell.shapeClass = RandomInt(0, classCount - 1);
            const int variants = variantsOf ? variantsOf[cell.shapeClass] : 1;
            cell.shape = RandomInt(0, variants - 1);
            cell.drift = -lineSpeed;
        }
    }
    field.cellCount = index;
    field.storedOffset = 0.0f;
}

void ScrollField(PlayField& field, float lineSpeed, float dt) {
    const float speed = lineSpeed + 0.02f * static_cast<float>(kLineCount - field.linesOnField);
    const float loop = static_cast<float>(field.cellsPerLine) * kCellPitch;
    const float bottom = kWrapTop + loop;
    field.scrollOffset -= speed * dt;
    if (field.scrollOffset < 0.0f) {
        field.scrollOffset = loop;
    } else if (field.scrollOffset > loop) {
        field.scrollOffset = 0.0f;
    }
    for (int i = 0; i < field.cellCount; ++i) {
        ShapeSlot& cell = field.cells[static_cast<size_t>(i)];
        cell.y = cell.baseY + field.scrollOffset;
        if (cell.y < kWrapTop) cell.y += loop;
        if (cell.y > bottom) cell.y -= loop;
    }
}

bool CellAccepts(const ShapeSlot& cell, const ShapeSlot& held) {
    if (held.bonus >= BONUS_ANY_SHAPE && held.bonus <= BONUS_AREA) return true;
    return cell.shapeClass == held.shapeClass && cell.shape == held.shape;
}

int FindDropTarget(const PlayField& field, float x, float y, const ShapeSlot& held, int onlyCell) {
    for (int i = 0; i < field.cellCount; ++i) {
        const ShapeSlot& cell = field.cells[static_cast<size_t>(i)];
        if (std::fabs(cell.x - x) >= kTargetTolerance * cell.w) continue;
        if (std::fabs(cell.y - y) >= kTargetTolerance * cell.h) continue;
        if (cell.placed || !cell.active) continue;
        if (onlyCell >= 0 && i != onlyCell) continue;
        if (CellAccepts(cell, held)) return i;
    }
    return -1;
}

std::vector<int> BandCells(const PlayField& field, int target) {
    std::vector<int> cells;
    if (target < 0 || target >= field.cellCount) return cells;
    const ShapeSlot& t = field.cells[static_cast<size_t>(target)];
    for (int i = 0; i < field.cellCount; ++i) {
        if (std::fabs(field.cells[static_cast<size_t>(i)].x - t.x) <= t.w * kBandTolerance) {
            cells.push_back(i);
        }
    }
    return cells;
}

std::vector<int> AreaCells(const PlayField& field, int target) {
    std::vector<int> cells;
    if (target < 0 || target >= field.cellCount) return cells;
    const ShapeSlot& t = field.cells[static_cast<size_t>(target)];
    for (int i = 0; i < field.cellCount; ++i) {
        const ShapeSlot& cell = field.cells[static_cast<size_t>(i)];
        if (i == target || cell.placed) continue;
        if (std::fabs(cell.x - t.x) < kAreaReach * t.w && std::fabs(cell.y - t.y) < kAreaReach * t.h) {
            cells.push_back(i);
        }
    }
    return cells;
}

bool LineIsFull(const PlayField& field, int line) {
    if (line < 0 || line >= kLineCount) return false;
    const int first = line * field.cellsPerLine;
    const int last = std::min(first + field.cellsPerLine, field.cellCount);
    if (first >= last) return false;
    for (int i = first; i < last; ++i) {
        const ShapeSlot& cell = field.cells[static_cast<size_t>(i)];
        if (!cell.active || !cell.placed) return false;
    }
    return true;
}

LineScan ScanFullLines(const PlayField& field) {
    LineScan scan{};
    int lastLeft = -1;
    for (int c = 0; c < kLineCount; ++c) {
        if (field.lines[static_cast<size_t>(c)].x < kCentreX) lastLeft = c;
    }
    int full = 0;
    for (int c = lastLeft; c >= 0; --c) {
        LineMove& move = scan[static_cast<size_t>(c)];
        if (LineIsFull(field, c)) {
            move.remove = true;
            ++full;
        } else {
            move.shift = full;
        }
    }
    full = 0;
    for (int c = lastLeft + 1; c < kLineCount; ++c) {
        LineMove& move = scan[static_cast<size_t>(c)];
        if (LineIsFull(field, c)) {
            move.remove = true;
            ++full;
        } else {
            move.shift = -full;
        }
    }
    return scan;
}

int PlacedCount(const PlayField& field) {
    int placed = 0;
    for (int i = 0; i < field.cellCount; ++i) placed += field.cells[static_cast<size_t>(i)].placed ? 1 : 0;
    return placed;
}

}  // namespace Field
