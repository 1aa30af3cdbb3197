#include "game/Bug.h"

#include <cmath>

namespace Bug {

namespace {

// Moves (x, y) toward (tx, ty) by distance, not beyond it.
void MoveToward(float& x, float& y, float tx, float ty, float distance) {
    const float dx = tx - x;
    const float dy = ty - y;
    const float length = std::sqrt(dx * dx + dy * dy);
    if (!(length > 0.0f) || !std::isfinite(length)) return;
    const float step = std::fmin(distance, length);
    x += dx / length * step;
    y += dy / length * step;
}

bool Near(float x, float y, float tx, float ty) {
    return std::fabs(x - tx) < kReach && std::fabs(y - ty) < kReach;
}

}  // namespace

BugRecord Fresh(double now, float interval) {
    BugRecord bug;
    bug.lastEnd = now;
    bug.interval = interval;
    return bug;
}

bool IsTarget(const PlayField& field, int cell) {
    if (cell < 0 || cell >= field.cellCount) return false;
    const ShapeSlot& c = field.cells[static_cast<size_t>(cell)];
    return c.placed && c.active && c.y > kMinTargetY && c.y < kMaxTargetY;
}

void Launch(BugRecord& bug, int cell) {
    bug.active = true;
    bug.state = BugRecord::APPROACHING;
    bug.x = bug.startX;
    bug.y = bug.startY;
    bug.target = cell;
}

Step Update(BugRecord& bug, PlayField& field, double now, float dt) {
    if (!bug.active) return Step::Nothing;
    const bool hasCell = bug.target >= 0 && bug.target < field.cellCount;
    ShapeSlot* cell = hasCell ? &field.cells[static_cast<size_t>(bug.target)] : nullptr;
    switch (bug.state) {
        case BugRecord::APPROACHING:
            if (!cell || !cell->active) {
                bug.state = BugRecord::LEAVING;
                return Step::Nothing;
            }
            if (Near(bug.x, bug.y, cell->x, cell->y)) {
                bug.state = BugRecord::SITTING;
                bug.arrivedAt = now;
            }
            MoveToward(bug.x, bug.y, cell->x, cell->y, bug.speed * dt);
            return Step::Nothing;
        case BugRecord::SITTING:
            if (cell) {
                bug.x = cell->x;
                bug.y = cell->y;
            }
            if (now - bug.arrivedAt > bug.sitTime) {
                bug.state = BugRecord::LEAVING;
                if (cell && cell->active) {
                    cell->placed = 0;
                    return Step::TookShape;
                }
            }
            return Step::Nothing;
        default:
            if (Near(bug.x, bug.y, bug.exitX, bug.exitY)) {
                bug.active = false;
                bug.lastEnd = now;
                return Step::Left;
            }
            MoveToward(bug.x, bug.y, bug.exitX, bug.exitY, bug.speed * dt);
            return Step::Nothing;
    }
}

}  // namespace Bug
