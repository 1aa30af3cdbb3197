// The field's rules over plain data: the grid, the scroll and its wrap, dropping, the cells
// bonuses fill, and which lines go and how the others slide.
#include "game/PlayField.h"

#include "framework/core/Random.h"

#include <gtest/gtest.h>

namespace {

PlayField Grid(int perLine) {
    Orvane::SeedRandom(7);
    PlayField field;
    Field::ResetLines(field);
    const int variants[2] = {1, 1};
    Field::BuildField(field, perLine, 0.03f, 2, variants);
    return field;
}

void FillLine(PlayField& field, int line) {
    for (int r = 0; r < field.cellsPerLine; ++r) field.cells[static_cast<size_t>(line * field.cellsPerLine + r)].placed = 1;
}

}  // namespace

TEST(PlayField, TheGridStaggersEvenLinesHalfAPitchLower) {
    const PlayField field = Grid(4);
    ASSERT_EQ(field.cellCount, 24);
    const ShapeSlot& first = field.cells[0];
    EXPECT_FLOAT_EQ(first.x, 0.29f);
    EXPECT_FLOAT_EQ(first.y, -0.07916667f + 0.08f);   // line 0 is even
    EXPECT_FLOAT_EQ(field.cells[1].y, 0.15833333f - 0.07916667f + 0.08f);
    const ShapeSlot& line1 = field.cells[4];
    EXPECT_FLOAT_EQ(line1.x, 0.29f + 0.11875f);
    EXPECT_FLOAT_EQ(line1.y, -0.07916667f);
    EXPECT_FLOAT_EQ(line1.baseY, line1.y);
    EXPECT_FLOAT_EQ(first.w, 0.0890625f);
    EXPECT_FLOAT_EQ(first.h, 0.11875f);
    EXPECT_FLOAT_EQ(first.drift, -0.03f);
    for (int i = 0; i < field.cellCount; ++i) {
        EXPECT_EQ(field.cells[static_cast<size_t>(i)].active, 1);
        EXPECT_EQ(field.cells[static_cast<size_t>(i)].placed, 0);
        EXPECT_GE(field.cells[static_cast<size_t>(i)].shapeClass, 0);
        EXPECT_LE(field.cells[static_cast<size_t>(i)].shapeClass, 1);
        EXPECT_EQ(field.LineOf(i), i / 4);
    }
    PlayField tooLong;
    Field::BuildField(tooLong, 99, 0.03f, 1, nullptr);
    EXPECT_EQ(tooLong.cellCount, 180);
}

TEST(PlayField, ScrollingSpeedsUpAsLinesGoAndWrapsWithinTheLoop) {
    PlayField field = Grid(4);
    const float loop = 4 * 0.15833333f;
    field.scrollOffset = 0.5f;
    Field::ScrollField(field, 0.03f, 1.0f);
    EXPECT_FLOAT_EQ(field.scrollOffset, 0.47f);
    field.linesOnField = 3;   // three lines gone: 0.06 faster
    Field::ScrollField(field, 0.03f, 1.0f);
    EXPECT_FLOAT_EQ(field.scrollOffset, 0.47f - 0.09f);
    for (int i = 0; i < field.cellCount; ++i) {
        const ShapeSlot& c = field.cells[static_cast<size_t>(i)];
        EXPECT_GE(c.y, -0.07916667f - 1e-6f);
        EXPECT_LE(c.y, -0.07916667f + loop + 1e-6f);
    }
    field.scrollOffset = 0.01f;
    Field::ScrollField(field, 0.03f, 1.0f);   // below 0: back to the top of the loop
    EXPECT_FLOAT_EQ(field.scrollOffset, loop);
    Field::ScrollField(field, -0.2f, 1.0f);   // above the loop: 0
    EXPECT_FLOAT_EQ(field.scrollOffset, 0.0f);
}

TEST(PlayField, DroppingNeedsTheSameShapeOrABonusNearTheCellsCentre) {
    PlayField field = Grid(4);
    ShapeSlot& cell = field.cells[5];
    cell.shapeClass = 1;
    cell.shape = 0;
    cell.y = 0.5f;
    ShapeSlot held;
    held.shapeClass = 1;
    held.shape = 0;
    EXPECT_EQ(Field::FindDropTarget(field, cell.x, cell.y, held, -1), 5);
    EXPECT_EQ(Field::FindDropTarget(field, cell.x + 0.44f * cell.w, cell.y, held, -1), 5);
    EXPECT_EQ(Field::FindDropTarget(field, cell.x + 0.46f * cell.w, cell.y, held, -1), -1);
    EXPECT_EQ(Field::FindDropTarget(field, cell.x, cell.y, held, 4), -1);   // only cell 4 may take it
    held.shape = 1;
    EXPECT_EQ(Field::FindDropTarget(field, cell.x, cell.y, held, -1), -1);
    held.bonus = BONUS_AREA;
    EXPECT_EQ(Field::FindDropTarget(field, cell.x, cell.y, held, -1), 5);
    cell.placed = 1;
    EXPECT_EQ(Field::FindDropTarget(field, cell.x, cell.y, held, -1), -1);
    cell.placed = 0;
    cell.active = 0;
    EXPECT_EQ(Field::FindDropTarget(field, cell.x, cell.y, held, -1), -1);
}

TEST(PlayField, BandFillsTheLineAndAreaTheSixNeighbours) {
    PlayField field = Grid(5);
    const std::vector<int> band = Field::BandCells(field, 7);   // line 1
    EXPECT_EQ(band, (std::vector<int>{5, 6, 7, 8, 9}));
    // On the staggered grid: two in the same line and two in each line beside it.
    std::vector<int> area = Field::AreaCells(field, 7);
    EXPECT_EQ(area, (std::vector<int>{1, 2, 6, 8, 11, 12}));
    field.cells[11].placed = 1;
    area = Field::AreaCells(field, 7);
    EXPECT_EQ(area, (std::vector<int>{1, 2, 6, 8, 12}));
}

TEST(PlayField, FullLinesGoAndTheOthersSlideTowardTheCentre) {
    struct Case {
        std::vector<int> full;
        std::vector<int> shifts;   // per line; 99 = removed
    };
    const Case cases[] = {
        {{}, {0, 0, 0, 0, 0, 0}},
        {{2}, {1, 1, 99, 0, 0, 0}},           // the innermost left line: the left ones move right
        {{0}, {99, 0, 0, 0, 0, 0}},
        {{3}, {0, 0, 0, 99, -1, -1}},          // the innermost right line: the right ones move left
        {{1, 4}, {1, 99, 0, 0, 99, -1}},
        {{0, 1, 2, 3, 4, 5}, {99, 99, 99, 99, 99, 99}},
        {{2, 1}, {2, 99, 99, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        PlayField field = Grid(3);
        for (int line : c.full) FillLine(field, line);
        const LineScan scan = Field::ScanFullLines(field);
        for (int line = 0; line < 6; ++line) {
            const LineMove& move = scan[static_cast<size_t>(line)];
            const int expected = c.shifts[static_cast<size_t>(line)];
            if (expected == 99) {
                EXPECT_TRUE(move.remove) << "line " << line;
            } else {
                EXPECT_FALSE(move.remove) << "line " << line;
                EXPECT_EQ(move.shift, expected) << "line " << line;
            }
        }
    }
    // A removed line (its cells inactive) is never full again.
    PlayField field = Grid(3);
    FillLine(field, 2);
    for (int r = 0; r < 3; ++r) field.cells[static_cast<size_t>(6 + r)].active = 0;
    EXPECT_FALSE(Field::LineIsFull(field, 2));
    EXPECT_EQ(Field::PlacedCount(field), 3);
}
