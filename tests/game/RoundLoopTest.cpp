// The round loop driven like the real game: a manual clock, the cursor and buttons set on the
// platform, the round updated every 10 ms.
#include "GameTestSupport.h"

#include "support/ScriptedPlayer.h"
#include "framework/platform/VirtualKeys.h"

#include <cmath>

using namespace GameTest;

namespace {

class RoundLoopTest : public GameFixture {
protected:
    void PlaceAll() {
        PlayField& field = game_->FieldForTest();
        for (int i = 0; i < field.cellCount; ++i) field.cells[static_cast<size_t>(i)].placed = 1;
    }
    // Presses the left button at (x, y) for one update and lets go on the next.
    void ClickAt(float x, float y) {
        PointAt(x, y);
        Buttons(Orvane::MK_LBUTTON);
        Tick();
        Buttons(0);
        Tick();
    }
    void RightClick() {
        Buttons(Orvane::MK_RBUTTON);
        Tick();
        Buttons(0);
        Tick();
    }
};

}  // namespace

TEST_F(RoundLoopTest, TheIntroRunsThenTheClockCountsFromNineTenthsOfASecondIn) {
    WriteLevel(2, kSmallLevel);
    MakeGame();
    StartAndPlay(2);
    EXPECT_EQ(Played("shape_panel_in"), 1);
    EXPECT_EQ(Played("level_start"), 1);
    EXPECT_GT(game_->ShapePanelState().count, 0);   // shapes came in during the intro
    Tick();
    EXPECT_GT(game_->TimeLeft(), 60.0f);
    EXPECT_LE(game_->TimeLeft(), 60.9f);
    RunFor(0.9);
    EXPECT_NEAR(game_->TimeLeft(), 60.0f, 0.02f);
    RunFor(10.0);
    EXPECT_NEAR(game_->TimeLeft(), 50.0f, 0.02f);

    // Pausing for any time changes nothing.
    const float before = game_->TimeLeft();
    game_->PauseClock(true);
    platform_.AdvanceTime(250000);
    game_->PauseClock(false);
    Tick(1);
    EXPECT_NEAR(game_->TimeLeft(), before, 0.01f);
    // Stops nest: the clock resumes with the last of them.
    game_->PauseClock(true);
    game_->PauseClock(true);
    platform_.AdvanceTime(5000);
    game_->PauseClock(false);
    platform_.AdvanceTime(5000);
    game_->PauseClock(false);
    Tick(1);
    EXPECT_NEAR(game_->TimeLeft(), before, 0.01f);
}

TEST_F(RoundLoopTest, TenBeepsThenGameOverWhenTimeRunsOut) {
    WriteLevel(2, "levelTime=\"12\" shapeClassCount=\"2\" lineSpeed=\"0.02\" fBugAppearanceRange=\"999\" lineShapeCount=\"3\"");
    MakeGame();
    game_->SetGameSaved(1);
    StartAndPlay(2);
    int beeps = 0;
    while (states_.Current() == APPSTATE_PLAYING && platform_.TimeMs() < 100000) {
        Tick();
        const int now = Played("timeout");
        if (now != beeps) {
            ASSERT_EQ(now, beeps + 1);
            // The k-th beep as the time left passes 10 - k + 1 seconds.
            EXPECT_LT(game_->TimeLeft(), 10.0f - static_cast<float>(beeps));
            EXPECT_GT(game_->TimeLeft(), 10.0f - static_cast<float>(beeps) - 0.02f);
            beeps = now;
        }
    }
    EXPECT_EQ(beeps, 10);
    EXPECT_EQ(states_.Current(), APPSTATE_GAME_OVER);
    EXPECT_EQ(Played("game_over"), 1);
    EXPECT_EQ(musicVolume_, 0.0f);
    EXPECT_FALSE(game_->IsGameSaved());
}

TEST_F(RoundLoopTest, RelaxAndBonusLevelsHaveNoClock) {
    WriteLevel(2, "levelTime=\"3\" shapeClassCount=\"2\" lineSpeed=\"0.02\" fBugAppearanceRange=\"999\" lineShapeCount=\"3\"");
    WriteLevel(3, "levelTime=\"3\" bonusLevel=\"true\" shapeClassCount=\"2\" lineSpeed=\"0.02\" fBugAppearanceRange=\"999\" lineShapeCount=\"3\"");
    for (int level : {2, 3}) {
        MakeGame(level == 2 ? MODE_RELAX : MODE_CLASSIC);
        sounds_.clear();
        StartAndPlay(level);
        RunFor(10.0);
        EXPECT_EQ(states_.Current(), APPSTATE_PLAYING) << level;
        EXPECT_EQ(Played("timeout"), 0);
        EXPECT_FALSE(game_->ClockRuns());
    }
}

TEST_F(RoundLoopTest, CompletingOnTheTickTheTimeRunsOutIsGameOver) {
    WriteLevel(2, "levelTime=\"5\" shapeClassCount=\"2\" lineSpeed=\"0.02\" fBugAppearanceRange=\"999\" lineShapeCount=\"2\"");
    MakeGame();
    StartAndPlay(2);
    while (game_->TimeLeft() > 0.005f) Tick();
    PlaceAll();
    Tick();
    EXPECT_EQ(states_.Current(), APPSTATE_GAME_OVER);
    EXPECT_EQ(Played("level_complete"), 0);
}

TEST_F(RoundLoopTest, ALevelsEndPaysTheTimeLeftAndFifteenHundredWhenTheFiguresArrive) {
    WriteLevel(2, kSmallLevel);
    MakeGame();
    StartAndPlay(2);
    game_->SetScore(1000);
    RunFor(0.9 + 22.4);   // 37.6 s left
    EXPECT_NEAR(game_->TimeLeft(), 37.6f, 0.02f);
    PlaceAll();
    Tick();
    ASSERT_EQ(states_.Current(), APPSTATE_LEVEL_COMPLETE);
    EXPECT_EQ(Played("level_complete"), 1);
    const uint32_t done = platform_.TimeMs();
    auto runEffectsTo = [&](double seconds) {
        while (platform_.TimeMs() < done + static_cast<uint32_t>(seconds * 1000.0)) {
            platform_.AdvanceTime(10);
            effects_.Update();
        }
    };
    runEffectsTo(1.7);
    EXPECT_EQ(Played("emit_scores"), 0);
    runEffectsTo(1.8);
    EXPECT_EQ(Played("emit_scores"), 1);
    EXPECT_EQ(game_->TimeLeft(), 0.0f);
    runEffectsTo(2.73);
    EXPECT_EQ(game_->Score(), 1000);
    runEffectsTo(2.8);
    EXPECT_EQ(game_->Score(), 1000 + 37 + 1500);
    EXPECT_EQ(Played("collect_scores"), 1);
    runEffectsTo(3.5);
    EXPECT_EQ(Played("shape_panel_out"), 1);
    DrainEffects();
    EXPECT_TRUE(effects_.IsEmpty());
    EXPECT_EQ(game_->Score(), 2537);
    EXPECT_FLOAT_EQ(game_->Progress(), 0.0f);
}

TEST_F(RoundLoopTest, ABonusLevelIsWorthFortySevenHundredFifty) {
    WriteLevel(2, "levelTime=\"30\" bonusLevel=\"true\" shapeClassCount=\"2\" lineSpeed=\"0.02\" "
                  "fBugAppearanceRange=\"999\" lineShapeCount=\"2\"");
    MakeGame();
    StartAndPlay(2);
    EXPECT_EQ(Played("level_start"), 0);   // a bonus level announces itself differently
    PlaceAll();
    Tick();
    ASSERT_EQ(states_.Current(), APPSTATE_LEVEL_COMPLETE);
    EXPECT_EQ(Played("bonus_level_complete"), 1);
    EXPECT_EQ(game_->Score(), 1000);
    DrainEffects();
    EXPECT_EQ(game_->Score(), 4750);
    EXPECT_EQ(Played("emit_scores"), 5);
    EXPECT_EQ(Played("collect_scores"), 5);
}

TEST_F(RoundLoopTest, TheBugSitsOnAPlacedAnimalAndCarriesItOff) {
    WriteLevel(2, "levelTime=\"100\" shapeClassCount=\"2\" lineSpeed=\"0.0\" fBugAppearanceRange=\"1\" lineShapeCount=\"5\"");
    MakeGame();
    StartAndPlay(2);
    PlaceAll();
    // A line of the left half left open, so the level is not over.
    PlayField& field = game_->FieldForTest();
    for (int i = 0; i < 5; ++i) field.cells[static_cast<size_t>(i)].placed = 0;
    RunFor(1.5);
    ASSERT_EQ(Played("bug_alarm"), 1);
    ASSERT_TRUE(game_->BugState().active);
    const int target = game_->BugState().target;
    EXPECT_TRUE(Bug::IsTarget(field, target));
    int placedBefore = Field::PlacedCount(field);
    for (int i = 0; i < 2000 && game_->BugState().state == BugRecord::APPROACHING; ++i) Tick();
    ASSERT_EQ(game_->BugState().state, BugRecord::SITTING);
    RunFor(1.9);
    EXPECT_EQ(Played("shape_clear"), 0);
    RunFor(0.2);
    EXPECT_EQ(Played("shape_clear"), 1);
    EXPECT_EQ(field.cells[static_cast<size_t>(target)].placed, 0);
    EXPECT_EQ(Field::PlacedCount(field), placedBefore - 1);
    for (int i = 0; i < 3000 && game_->BugState().active; ++i) Tick();
    EXPECT_FALSE(game_->BugState().active);
}

TEST_F(RoundLoopTest, TheFirstLevelTeachesTakingTurningAndPlacingWithTheClockHeld) {
    WriteLevel(1, "levelTime=\"60\" shapeClassCount=\"3\" lineSpeed=\"0.03\" fBugAppearanceRange=\"999\" lineShapeCount=\"4\"");
    for (int mode : {MODE_CLASSIC, MODE_TRANSFORMER}) {
        MakeGame(mode);
        StartAndPlay(1);
        ASSERT_TRUE(game_->TutorialOn());
        EXPECT_EQ(game_->TutorialStep(), 1);
        const float offset = game_->Field().scrollOffset;
        RunFor(5.0);
        EXPECT_EQ(game_->Field().scrollOffset, offset);   // the field holds still
        const float held = game_->TimeLeft();
        ASSERT_GT(game_->ShapePanelState().count, CBrindloGame::kTutorialIndex);

        // Only the tutorial's shape can be taken.
        const ShapeSlot& other = game_->ShapePanelState().slots[2];
        ClickAt(other.x, other.y);
        EXPECT_FALSE(game_->Holding());
        const ShapeSlot& shape = game_->ShapePanelState().slots[CBrindloGame::kTutorialIndex];
        ClickAt(shape.x, shape.y);
        ASSERT_TRUE(game_->Holding());
        EXPECT_EQ(Played("take_shape"), 1);
        EXPECT_EQ(game_->Hand().shapeClass, 0);
        if (mode == MODE_TRANSFORMER) {
            EXPECT_EQ(game_->TutorialStep(), 2);
            const ShapeSlot& cell = game_->Field().cells[CBrindloGame::kTutorialIndex];
            ClickAt(cell.x, cell.y);   // the wrong pose stays in the hand
            EXPECT_TRUE(game_->Holding());
            RightClick();
            EXPECT_EQ(Played("transform_shape"), 1);
        }
        EXPECT_EQ(game_->TutorialStep(), 3);
        EXPECT_EQ(game_->TimeLeft(), held);
        const ShapeSlot& cell = game_->Field().cells[CBrindloGame::kTutorialIndex];
        ClickAt(cell.x, cell.y);
        EXPECT_FALSE(game_->Holding());
        EXPECT_EQ(game_->Field().cells[CBrindloGame::kTutorialIndex].placed, 1);
        EXPECT_FALSE(game_->TutorialOn());
        EXPECT_EQ(game_->Score(), 50);
        // The clock goes on from where it was held, the first 0.9 s of play still free.
        RunFor(2.0);
        EXPECT_NEAR(game_->TimeLeft(), held + 0.9f - 2.0f, 0.05f);
        sounds_.clear();
    }
}

TEST_F(RoundLoopTest, TheTutorialsCellIsInViewWhateverTheFieldDidBefore) {
    WriteLevel(1, "levelTime=\"60\" shapeClassCount=\"3\" lineSpeed=\"0.02\" fBugAppearanceRange=\"999\" lineShapeCount=\"5\"");
    WriteLevel(2, kSmallLevel);
    MakeGame();
    // However far an earlier level scrolled the field, the tutorial's cell can be reached.
    for (float offset : {0.0f, 0.1f, 0.3f, 0.55f, 0.7f, 0.79f}) {
        StartAndPlay(2);
        game_->FieldForTest().scrollOffset = offset;
        StartAndPlay(1);
        ASSERT_TRUE(game_->TutorialOn());
        const float y = game_->Field().cells[CBrindloGame::kTutorialIndex].y;
        EXPECT_GT(y, 0.1f) << offset;
        EXPECT_LT(y, 0.8f) << offset;
    }
}

TEST_F(RoundLoopTest, AScriptedPlayerFinishesALevelThroughTheCursorAndButtons) {
    WriteLevel(2, "levelTime=\"120\" shapeClassCount=\"3\" lineSpeed=\"0.03\" fBugAppearanceRange=\"20\" "
                  "lineShapeCount=\"4\" fBonusAnyShapeP=\"0.05\" fBonusBandP=\"0.1\" fBonusAreaP=\"0.1\"");
    MakeGame();
    StartAndPlay(2);
    ScriptedPlayer player(*game_, platform_);
    player_ = [&](double now) { player.Update(now); };
    ASSERT_TRUE(RunUntilNotPlaying(120.0));
    EXPECT_EQ(states_.Current(), APPSTATE_LEVEL_COMPLETE);
    EXPECT_GT(player.Placements(), 5);
    EXPECT_GE(game_->Score(), 50 * player.Placements());
    EXPECT_EQ(Played("remove_line"), 6);
    EXPECT_EQ(game_->Field().linesOnField, 0);
}

TEST_F(RoundLoopTest, AFixedSeedAndTheSamePlayerGiveTheSameGame) {
    WriteLevel(2, "levelTime=\"200\" shapeClassCount=\"4\" lineSpeed=\"0.04\" fBugAppearanceRange=\"6\" "
                  "lineShapeCount=\"6\" fBonusAnyShapeP=\"0.1\" fBonusBandP=\"0.1\" fBonusAreaP=\"0.1\"");
    std::vector<std::vector<uint8_t>> outcomes;
    std::vector<int> scores;
    for (int run = 0; run < 2; ++run) {
        Orvane::SeedRandom(777);
        platform_.SetTime(50000);
        MakeGame();
        StartAndPlay(2);
        ScriptedPlayer player(*game_, platform_);
        player_ = [&](double now) { player.Update(now); };
        RunFor(40.0);
        player_ = nullptr;
        SavedGameRecord record;
        record.cells = game_->Field().cells;
        record.panel = game_->ShapePanelState().slots;
        outcomes.push_back(record.Encode());
        scores.push_back(game_->Score());
    }
    EXPECT_GT(scores[0], 0);
    EXPECT_EQ(scores[0], scores[1]);
    EXPECT_EQ(outcomes[0], outcomes[1]);
}

TEST_F(RoundLoopTest, FullLinesVanishAndTheirNeighboursSlideIn) {
    WriteLevel(2, "levelTime=\"100\" shapeClassCount=\"1\" lineSpeed=\"0.0\" fBugAppearanceRange=\"999\" "
                  "lineShapeCount=\"3\" fBonusBandP=\"1\"");
    MakeGame();
    StartAndPlay(2);
    // Every panel shape is a band: dropped on a cell of line 2 it fills the line.
    const PlayField& field = game_->Field();
    int cell = -1;
    for (int i = 6; i < 9; ++i) {
        if (field.cells[static_cast<size_t>(i)].y > 0.1f && field.cells[static_cast<size_t>(i)].y < 0.8f) cell = i;
    }
    ASSERT_GE(cell, 0);
    const ShapeSlot shape = game_->ShapePanelState().slots[0];
    ASSERT_EQ(shape.bonus, BONUS_BAND);
    ClickAt(shape.x, shape.y);
    ASSERT_TRUE(game_->Holding());
    ClickAt(field.cells[static_cast<size_t>(cell)].x, field.cells[static_cast<size_t>(cell)].y);
    EXPECT_EQ(Played("remove_line"), 1);
    EXPECT_EQ(field.linesOnField, 5);
    EXPECT_EQ(field.lines[2].removed, 1);
    for (int i = 6; i < 9; ++i) EXPECT_EQ(field.cells[static_cast<size_t>(i)].active, 0);
    RunFor(1.2);
    // The left lines moved one line width right, the right ones stayed.
    EXPECT_NEAR(field.lines[0].x, 0.29f + 0.11875f, 1e-4f);
    EXPECT_NEAR(field.lines[1].x, 0.29f + 2 * 0.11875f, 1e-4f);
    EXPECT_NEAR(field.cells[0].x, 0.29f + 0.11875f, 1e-4f);
    EXPECT_NEAR(field.lines[3].x, 0.29f + 3 * 0.11875f, 1e-4f);
    EXPECT_LT(field.lines[2].alpha, 0.01f);
}

TEST_F(RoundLoopTest, DiscardingDropsTheHeldOrFirstShape) {
    WriteLevel(2, kSmallLevel);
    MakeGame();
    StartAndPlay(2);
    const int count = game_->ShapePanelState().count;
    ASSERT_GT(count, 1);
    game_->DiscardShape();
    EXPECT_EQ(game_->ShapePanelState().count, count - 1);
    EXPECT_EQ(Played("take_shape"), 1);
    EXPECT_EQ(Played("drop_shape"), 1);
    EXPECT_FALSE(game_->Holding());
    // The space bar only while the first shape has come in past the middle.
    Orvane::WindowMessage space;
    space.message = Orvane::WM_KEYDOWN;
    space.wParam = Orvane::VK_SPACE;
    game_->PanelForTest().slots[0].x = 0.6f;
    game_->HandleKey(space);
    EXPECT_EQ(Played("drop_shape"), 1);
    game_->PanelForTest().slots[0].x = 0.4f;
    game_->HandleKey(space);
    EXPECT_EQ(Played("drop_shape"), 2);
}
