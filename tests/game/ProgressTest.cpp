// A game's way through levels and stages: new games by mode, the level map with its marker and
// locked stages, the next level or stage, and the game-complete sequence.
#include "GameTestSupport.h"

#include "engine/config/Config.h"

using namespace GameTest;

namespace {

class ProgressTest : public GameFixture {
protected:
    ProgressTest() {
        WriteClasses(12, 3);
        WriteMapMenu();
        for (int level : {1, 2, 3, 4, 5, 6, 7, 12, 13, 29, 30}) WriteLevel(level, kSmallLevel);
    }
    CBrindloGame& Game(int mode = MODE_CLASSIC) {
        CBrindloGame& game = MakeGame(mode);
        game.LoadMenus();
        return game;
    }
    // One drawn frame of the map: 10 ms later.
    void MapFrame() {
        platform_.AdvanceTime(10);
        game_->DrawLevelMap();
    }
    void MapFor(double seconds) {
        for (int i = 0; i < static_cast<int>(seconds * 100.0); ++i) MapFrame();
    }
    // Plays the level to its end (every cell placed) and waits for what comes next.
    void FinishLevel(int level) {
        StartAndPlay(level);
        PlayField& field = game_->FieldForTest();
        for (int i = 0; i < field.cellCount; ++i) field.cells[static_cast<size_t>(i)].placed = 1;
        Tick();
        ASSERT_EQ(states_.Current(), APPSTATE_LEVEL_COMPLETE);
        for (int i = 0; i < 2000 && states_.Current() == APPSTATE_LEVEL_COMPLETE; ++i) {
            platform_.AdvanceTime(10);
            game_->NextLevel();
        }
    }
    const MenuButton& Stage(int k) const { return game_->Menu(MenuId::Map).Button(k); }
};

}  // namespace

TEST_F(ProgressTest, ANewGameShowsTheMapWithTheMarkerOnItsStage) {
    Game(MODE_CLASSIC);
    game_->SetScore(999);
    states_.Set(APPSTATE_MAIN_MENU);
    game_->NewGame();
    EXPECT_EQ(game_->Level(), 1);
    EXPECT_EQ(game_->Score(), 0);
    EXPECT_EQ(states_.Current(), APPSTATE_LEVEL_MAP);
    EXPECT_EQ(game_->RoundState(), CBrindloGame::ROUND_MAP_FADING);
    MapFor(0.7);
    EXPECT_EQ(game_->RoundState(), CBrindloGame::ROUND_MAP_LIVE);
    EXPECT_FLOAT_EQ(game_->MarkerX(), Stage(1).xc);
    EXPECT_FLOAT_EQ(game_->MarkerY(), Stage(1).yc);
    EXPECT_TRUE(sounds_.empty());

    // "Transformer" starts at its own start level: at 13 the marker travels from stage 2 to 3.
    Game(MODE_TRANSFORMER);
    for (int i = 0; i < 12; ++i) game_->RaiseStartLevel(true);
    EXPECT_EQ(game_->AdvancedStartLevel(), 13);
    EXPECT_EQ(game_->SimpleStartLevel(), 1);
    game_->NewGame();
    EXPECT_EQ(game_->Level(), 13);
    MapFor(0.6);
    EXPECT_FLOAT_EQ(game_->MarkerX(), Stage(2).xc);
    MapFor(2.6);
    EXPECT_EQ(Played("animal_6"), 1);   // the sound of class stage + 3, near the end
    MapFor(0.5);
    EXPECT_NEAR(game_->MarkerX(), Stage(3).xc, 1e-5f);

    // Start levels go up to 40 and round again.
    for (int i = 0; i < 39; ++i) game_->RaiseStartLevel(false);
    EXPECT_EQ(game_->SimpleStartLevel(), 40);
    game_->RaiseStartLevel(false);
    EXPECT_EQ(game_->SimpleStartLevel(), 1);
}

TEST_F(ProgressTest, LevelsFollowEachOtherAndEveryStageStartsOnTheMap) {
    Game();
    FinishLevel(5);
    EXPECT_EQ(states_.Current(), APPSTATE_PLAYING);   // level 6 starts at once
    EXPECT_EQ(game_->Level(), 6);
    EXPECT_EQ(game_->LastOpenedLevel(), 6);

    FinishLevel(6);
    EXPECT_EQ(states_.Current(), APPSTATE_LEVEL_MAP);
    EXPECT_EQ(game_->Level(), 7);
    EXPECT_EQ(game_->LastOpenedLevel(), 7);
    int stored = 0;
    ASSERT_TRUE(ConfigGetInt("GAMEPLAY", "LastOpenedLevel", &stored));
    EXPECT_EQ(stored, 7);
    MapFor(0.7);
    EXPECT_FLOAT_EQ(game_->MarkerX(), Stage(1).xc);   // travelling from stage 1 ...
    MapFor(3.0);
    EXPECT_NEAR(game_->MarkerX(), Stage(2).xc, 1e-5f);   // ... to stage 2
    EXPECT_EQ(Played("animal_5"), 1);

    // The highest level reached only grows.
    FinishLevel(3);
    EXPECT_EQ(game_->LastOpenedLevel(), 7);
    EXPECT_EQ(states_.Current(), APPSTATE_PLAYING);
}

TEST_F(ProgressTest, LockedStagesCannotBeChosen) {
    ConfigSetInt("GAMEPLAY", "LastOpenedLevel", 7);
    Game();
    EXPECT_EQ(game_->UnlockedStages(), 2);
    game_->NewGame();
    MapFor(1.0);
    CMenu& map = game_->Menu(MenuId::Map);
    EXPECT_TRUE(Stage(1).enabled);
    EXPECT_TRUE(Stage(2).enabled);
    EXPECT_FALSE(Stage(3).enabled);
    EXPECT_TRUE(Stage(0).enabled);   // the start button
    auto clickOn = [&](const MenuButton& b) {
        Orvane::WindowMessage press;
        press.message = Orvane::WM_LBUTTONDOWN;
        press.x = static_cast<int>(b.xc * 800.0f);
        press.y = static_cast<int>(b.yc * 600.0f);
        return map.ProcessInput(press);
    };
    EXPECT_EQ(clickOn(Stage(3)), "");
    EXPECT_EQ(clickOn(Stage(2)), "procStage2");
    game_->SelectStage(3);
    EXPECT_EQ(game_->Level(), 1);
    game_->SelectStage(2);
    EXPECT_EQ(game_->Level(), 7);
    EXPECT_FLOAT_EQ(game_->MarkerX(), Stage(2).xc);
    EXPECT_EQ(Played("animal_5"), 1);
}

TEST_F(ProgressTest, AfterTheLastLevelFifteenAnimalsPayFifteenThousand) {
    Game();
    game_->SetGameSaved(1);
    FinishLevel(30);   // there is no level 31
    ASSERT_EQ(states_.Current(), APPSTATE_GAME_COMPLETE);
    EXPECT_EQ(Played("game_complete"), 1);
    EXPECT_EQ(musicVolume_, 0.0f);
    EXPECT_FALSE(game_->IsGameSaved());
    const int before = game_->Score();
    // A frame now and then, with one long stall: every animal still pays once.
    for (int i = 0; i < 120; ++i) {
        platform_.AdvanceTime(i == 40 ? 3000 : 60);
        game_->DrawGameComplete();
    }
    EXPECT_EQ(game_->GameCompleteShown(), 15);
    EXPECT_EQ(game_->Score() - before, 15000);
    EXPECT_EQ(Played("shape_chomp"), 15);
}
