// The panel's shapes (which animal, which bonus, how the queue moves), the points of a
// placement, and the game's random integers.
#include "game/GameRandom.h"
#include "game/Scoring.h"
#include "game/ShapePanel.h"

#include "framework/core/Random.h"

#include <gtest/gtest.h>

#include <map>

TEST(GameRandom, IntegersStayInTheirRangeAndAnEmptyRangeGivesItsLowEnd) {
    Orvane::SeedRandom(99);
    std::map<int, int> seen;
    for (int i = 0; i < 5000; ++i) {
        const int v = RandomInt(1, 9);
        ASSERT_GE(v, 1);
        ASSERT_LE(v, 9);
        ++seen[v];
    }
    EXPECT_EQ(seen.size(), 9u);
    for (const auto& [value, count] : seen) EXPECT_GT(count, 400) << value;
    EXPECT_EQ(RandomInt(4, 4), 4);
    EXPECT_EQ(RandomInt(5, 2), 5);
    EXPECT_EQ(RandomInt(0, -1), 0);
}

TEST(Scoring, RunsOfTheSameAnimalScoreMoreAndPlayRisingSounds) {
    struct Step {
        int cellClass;
        int points;
        int sound;
    };
    const Step steps[] = {
        {3, 50, 0},   // the first of a level always scores 50
        {3, 100, 1}, {3, 150, 2}, {3, 200, 3}, {3, 250, 4}, {3, 300, 5}, {3, 350, 6},
        {3, 400, 7},  // the eighth in a row
        {3, 450, 7},  // and the sound stays at 7
        {1, 50, 0}, {3, 50, 0}, {1, 50, 0},   // alternating animals
    };
    int last = -1;
    int combo = 0;
    int total = 0;
    for (const Step& s : steps) {
        const Scoring::Placement p = Scoring::ScorePlacement(s.cellClass, last, combo);
        EXPECT_EQ(p.points, s.points);
        EXPECT_EQ(p.soundNumber, s.sound);
        EXPECT_EQ(p.combo, s.sound != 0);
        combo = p.comboCount;
        last = s.cellClass;
        total += p.points;
    }
    EXPECT_EQ(total, 50 + 100 + 150 + 200 + 250 + 300 + 350 + 400 + 450 + 150);
    EXPECT_EQ(Scoring::TimeBonus(37.6f), 37);
    EXPECT_EQ(Scoring::TimeBonus(-3.0f), 0);
    EXPECT_EQ(Scoring::BonusLevelTotal(), 4750);
}

TEST(ShapePanel, NewShapesFollowTheFieldAndRarelyRepeat) {
    Orvane::SeedRandom(5);
    PlayField field;
    field.cellCount = 30;
    for (int i = 0; i < 30; ++i) field.cells[static_cast<size_t>(i)].shapeClass = i % 3;
    // Class 1 is finished: while the others have cells left it is never chosen.
    for (int i = 1; i < 30; i += 3) field.cells[static_cast<size_t>(i)].placed = 1;
    int last = 0;
    int repeats = 0;
    for (int n = 0; n < 3000; ++n) {
        const int c = Panel::ChooseClass(field, 3, last);
        ASSERT_NE(c, 1);
        repeats += c == last;
        last = c;
    }
    EXPECT_LT(repeats, 30);   // only when ten tries in a row come up the same
    // With every cell placed the class is uniform, still avoiding a repeat.
    for (int i = 0; i < 30; ++i) field.cells[static_cast<size_t>(i)].placed = 1;
    std::map<int, int> seen;
    for (int n = 0; n < 3000; ++n) {
        const int c = Panel::ChooseClass(field, 3, last);
        ++seen[c];
        EXPECT_LT(repeats += c == last, 60);
        last = c;
    }
    EXPECT_EQ(seen.size(), 3u);
}

TEST(ShapePanel, BonusOddsAndTheQueue) {
    Orvane::SeedRandom(11);
    LevelSettings none;
    none.bonusAnyShapeP = none.bonusBandP = none.bonusAreaP = 0.0f;
    LevelSettings all;
    all.bonusAnyShapeP = 1.0f;
    all.bonusBandP = 1.0f;
    all.bonusAreaP = 1.0f;
    LevelSettings band;
    band.bonusAnyShapeP = 1.0f;
    band.bonusBandP = 1.0f;
    band.bonusAreaP = 0.0f;
    for (int i = 0; i < 500; ++i) {
        EXPECT_EQ(Panel::DrawBonusKind(none), BONUS_NONE);
        EXPECT_EQ(Panel::DrawBonusKind(all), BONUS_AREA);   // the last success wins
        EXPECT_EQ(Panel::DrawBonusKind(band), BONUS_BAND);
    }

    ShapePanel panel;
    EXPECT_TRUE(Panel::WantsShape(panel));
    panel.slots[0] = Panel::EnteringShape();
    panel.count = 1;
    EXPECT_FALSE(Panel::WantsShape(panel));   // the last has not moved in yet
    for (int step = 0; step < 400; ++step) {
        if (Panel::WantsShape(panel)) panel.slots[static_cast<size_t>(panel.count++)] = Panel::EnteringShape();
        Panel::Slide(panel, 0.01f);
    }
    // The queue from x 0.3 one spacing apart; a new shape comes in while the last is left of
    // 0.94, so seven fit.
    ASSERT_EQ(panel.count, 7);
    EXPECT_NEAR(panel.slots[0].x, 0.3f, 0.0076f);
    for (int i = 1; i < 7; ++i) {
        EXPECT_NEAR(panel.slots[static_cast<size_t>(i)].x - panel.slots[static_cast<size_t>(i - 1)].x, 0.11875f, 1e-4f);
    }
    EXPECT_FALSE(Panel::WantsShape(panel));
    panel.count = 10;
    panel.slots[9].x = 0.5f;
    EXPECT_FALSE(Panel::WantsShape(panel));   // ten is the most
    panel.count = 7;
    EXPECT_EQ(Panel::ShapeAt(panel, panel.slots[3].x + 0.04f, Panel::kY), 3);
    EXPECT_EQ(Panel::ShapeAt(panel, panel.slots[3].x, Panel::kY - 0.06f), -1);
    panel.slots[4].shapeClass = 9;
    Panel::RemoveAt(panel, 3);
    EXPECT_EQ(panel.count, 6);
    EXPECT_EQ(panel.slots[3].shapeClass, 9);
}
