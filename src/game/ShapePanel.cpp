#include "game/ShapePanel.h"

#include "game/GameRandom.h"

#include <cmath>

namespace Panel {

bool WantsShape(const ShapePanel& panel) {
    if (panel.count == 0) return true;
    if (panel.count < 1 || panel.count > kMaxInUse - 1) return false;
    return panel.slots[static_cast<size_t>(panel.count - 1)].x < 1.0f - kSpacing / 2.0f;
}

int DrawBonusKind(const LevelSettings& settings) {
    int kind = BONUS_NONE;
    if (settings.bonusAnyShapeP > RandomFraction()) kind = BONUS_ANY_SHAPE;
    if (settings.bonusBandP > RandomFraction()) kind = BONUS_BAND;
    if (settings.bonusAreaP > RandomFraction()) kind = BONUS_AREA;
    return kind;
}

int ChooseClass(const PlayField& field, int classCount, int lastClass) {
    if (classCount < 1) classCount = 1;
    if (classCount > 30) classCount = 30;
    // The unplaced cells each class still has, as intervals laid end to end over [0, 1].
    std::array<int, 30> counts{};
    int total = 0;
    for (int i = 0; i < field.cellCount; ++i) {
        const ShapeSlot& cell = field.cells[static_cast<size_t>(i)];
        if (cell.shapeClass >= 0 && cell.shapeClass < classCount && !cell.placed) {
            ++counts[static_cast<size_t>(cell.shapeClass)];
            ++total;
        }
    }
    int c = 0;
    for (int attempt = 0; attempt < kSpawnTries; ++attempt) {
        c = RandomInt(0, classCount - 1);
        const float r = RandomFraction();
        float lo = 0.0f;
        for (int k = 0; k < classCount && total > 0; ++k) {
            const int count = counts[static_cast<size_t>(k)];
            const float hi = lo + static_cast<float>(count) / static_cast<float>(total);
            // A class without cells left has an empty interval.
            if (count > 0 && lo <= r && r <= hi) c = k;
            lo = hi;
        }
        if (c != lastClass) break;
    }
    return c;
}

ShapeSlot EnteringShape() {
    ShapeSlot s;
    s.x = kEntryX;
    s.y = kY;
    s.baseY = kY;
    s.w = Field::kCellWidth;
    s.h = Field::kCellHeight;
    s.active = 1;
    s.bonus = BONUS_NONE;
    return s;
}

void Slide(ShapePanel& panel, float dt) {
    const float step = kSpeed * dt;
    for (int i = 0; i < panel.count && i < kSlots; ++i) {
        ShapeSlot& s = panel.slots[static_cast<size_t>(i)];
        if (i == 0) {
            if (s.x > kHeadX) s.x -= step;
            continue;
        }
        const ShapeSlot& ahead = panel.slots[static_cast<size_t>(i - 1)];
        if (s.x - ahead.x > kSpacing) s.x -= step;
        if (s.x - ahead.x < kSpacing) s.x = ahead.x + kSpacing;
    }
}

void RemoveAt(ShapePanel& panel, int index) {
    if (index < 0 || index >= panel.count) return;
    for (int i = index; i + 1 < panel.count; ++i) {
        panel.slots[static_cast<size_t>(i)] = panel.slots[static_cast<size_t>(i + 1)];
    }
    --panel.count;
}

int ShapeAt(const ShapePanel& panel, float x, float y) {
    for (int i = 0; i < panel.count; ++i) {
        const ShapeSlot& s = panel.slots[static_cast<size_t>(i)];
        if (std::fabs(s.x - x) < s.w / 2.0f && std::fabs(s.y - y) < s.h / 2.0f) return i;
    }
    return -1;
}

}  // namespace Panel
