// The whole game as a player meets it, on the headless platform over the built game folder:
// start-up, the menus, a Classic game from the tutorial to the second stage, pausing and the
// options, ending and continuing a saved game, a game over, "Transformer" and "Relax" levels,
// a new high score with its name, the instructions, the credits, clearing the scores, exit.
#include "support/AppDriver.h"
#include "support/TestSupport.h"

#include "engine/audio/OggManager.h"
#include "engine/effects/Effect2d.h"
#include "framework/platform/VirtualKeys.h"
#include "game/AppStates.h"
#include "game/BrindloGame.h"
#include "menu/CMenu.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class GameScenario : public ::testing::Test {
protected:
    GameScenario()
        : linked_(TestSupport::LinkGameFolder(TestSupport::GameDir(), dir_.Path())),
          cwd_(dir_.Path()),
          platform_(Orvane::HeadlessPlatform::ClockMode::Manual, dir_ / "config") {
        Orvane::SetPlatform(&platform_);
    }
    ~GameScenario() override { Orvane::SetPlatform(nullptr); }

    std::string File(const std::string& name) const { return TestSupport::ReadFile(dir_ / name); }

    TestSupport::ScopedTempDir dir_;
    bool linked_;
    TestSupport::ScopedCwd cwd_;
    Orvane::HeadlessPlatform platform_;
};

std::string TextOf(const CMenu& menu, const std::string& name) {
    for (int i = 0; i < menu.TextCount(); ++i) {
        if (menu.Text(i).name == name) return menu.Text(i).text;
    }
    return "<none>";
}

bool Heard(const Orvane::HeadlessPlatform& platform, const std::string& part) {
    for (const std::string& name : const_cast<Orvane::HeadlessPlatform&>(platform).Audio().SoundNames()) {
        if (name.find(part) != std::string::npos) return true;
    }
    return false;
}

// The player's steps, each checked as the player would see it.
void PlayTheGame(DrivenGameApp& app, Orvane::HeadlessPlatform& platform, const std::string& dir) {
    auto File = [&](const std::string& name) { return TestSupport::ReadFile(dir + "/" + name); };
    AppDriver driver(platform, app);
    CBrindloGame& game = app.Game();
    ScriptedPlayer::Options pace;
    pace.placementInterval = 1.0;

    // Start-up: the loading screen, then the main menu with the theme playing.
    ASSERT_TRUE(driver.WaitForState(APPSTATE_MAIN_MENU, 30.0));
    EXPECT_GT(app.ImagesToLoad(), 200);
    EXPECT_EQ(app.ImagesLoaded(), app.ImagesToLoad());
    EXPECT_TRUE(TestSupport::FileExists(dir + "/scores.ini"));
    ASSERT_FALSE(platform.Audio().Songs().empty());
    EXPECT_TRUE(platform.Audio().Songs()[0].looping);

    // The instructions, page by page, and back.
    ASSERT_TRUE(driver.Click(MenuId::Main, "btnInstructions"));
    EXPECT_EQ(app.AppState(), APPSTATE_INSTRUCTIONS_1);
    ASSERT_TRUE(driver.Click(MenuId::Instructions1, "btnNext"));
    ASSERT_TRUE(driver.Click(MenuId::Instructions2, "btnNext"));
    EXPECT_EQ(app.AppState(), APPSTATE_INSTRUCTIONS_3);
    ASSERT_TRUE(driver.Click(MenuId::Instructions3, "btnPrevious"));
    EXPECT_EQ(app.AppState(), APPSTATE_INSTRUCTIONS_2);
    ASSERT_TRUE(driver.Click(MenuId::Instructions2, "btnClose"));
    EXPECT_EQ(app.AppState(), APPSTATE_MAIN_MENU);

    // Options from the main menu, their credits, and back.
    ASSERT_TRUE(driver.Click(MenuId::Main, "btnOptions"));
    EXPECT_EQ(app.AppState(), APPSTATE_OPTIONS);
    // The hardware check box switches the renderer's 3D mode and the particles per burst; the
    // full-screen one the window.
    const bool accelerated = app.IsHardwareAccelerated();
    ASSERT_TRUE(driver.Click(MenuId::Options, "btn3DHardware"));
    EXPECT_NE(app.IsHardwareAccelerated(), accelerated);
    EXPECT_EQ(EffectList().Density(), app.IsHardwareAccelerated() ? 10 : 5);
    ASSERT_TRUE(driver.Click(MenuId::Options, "btn3DHardware"));
    EXPECT_EQ(app.IsHardwareAccelerated(), accelerated);
    const bool windowed = app.mIsWindowed;
    ASSERT_TRUE(driver.Click(MenuId::Options, "btnFullScreen"));
    EXPECT_NE(app.mIsWindowed, windowed);
    ASSERT_TRUE(driver.Click(MenuId::Options, "btnFullScreen"));
    EXPECT_EQ(app.mIsWindowed, windowed);
    // Alt+Enter is the same choice: the check box follows, and config.ini keeps it.
    platform.QueueKeyDown(Orvane::VK_RETURN, true);
    driver.RunFor(0.1);
    EXPECT_NE(app.mIsWindowed, windowed);
    EXPECT_EQ(app.Menu(MenuId::Options).IsChecked("btnFullScreen"), !app.mIsWindowed);
    EXPECT_NE(File("config.ini").find(app.mIsWindowed ? "btnFullScreen=0" : "btnFullScreen=1"), std::string::npos);
    platform.QueueKeyDown(Orvane::VK_RETURN, true);
    driver.RunFor(0.1);
    EXPECT_EQ(app.mIsWindowed, windowed);
    ASSERT_TRUE(driver.Click(MenuId::Options, "btnCredits"));
    EXPECT_EQ(app.AppState(), APPSTATE_CREDITS);
    ASSERT_TRUE(driver.Click(MenuId::Credits, "btnOk"));
    EXPECT_EQ(app.AppState(), APPSTATE_OPTIONS);
    ASSERT_TRUE(driver.Click(MenuId::Options, "btnClose"));
    EXPECT_EQ(app.AppState(), APPSTATE_MAIN_MENU);

    // Classic: the map, then level 1 with its tutorial, on to the map of stage 2.
    ASSERT_TRUE(driver.Click(MenuId::Main, "btnClassicGame"));
    ASSERT_EQ(app.AppState(), APPSTATE_LEVEL_MAP);
    EXPECT_EQ(game.Level(), 1);
    driver.RunFor(1.0);
    ASSERT_TRUE(driver.Click(MenuId::Map, "btnStart"));
    ASSERT_EQ(app.AppState(), APPSTATE_PLAYING);
    ASSERT_TRUE(driver.WaitUntil([&] { return game.TutorialOn(); }, 10.0));
    for (int level = 1; level <= 6; ++level) {
        if (level == 2) {
            EXPECT_TRUE(Heard(platform, "take_shape"));
            EXPECT_TRUE(Heard(platform, "level_complete"));
        }
        ASSERT_EQ(game.Level(), level);
        const int before = game.Score();
        ASSERT_EQ(driver.PlayLevel(pace, 400.0), APPSTATE_LEVEL_COMPLETE) << "level " << level;
        EXPECT_GT(game.Score(), before);
        const int next = level < 6 ? APPSTATE_PLAYING : APPSTATE_LEVEL_MAP;
        ASSERT_TRUE(driver.WaitForState(next, 20.0)) << "after level " << level;
        EXPECT_GT(game.Score(), before + 1500);   // the level's end paid its time and sum
    }
    // The map of stage 2: the marker travels there from stage 1.
    EXPECT_EQ(game.Level(), 7);
    EXPECT_EQ(game.LastOpenedLevel(), 7);
    const MenuButton& stage2 = app.Menu(MenuId::Map).Button(2);
    driver.RunFor(4.0);
    EXPECT_NEAR(game.MarkerX(), stage2.xc, 1e-4f);
    EXPECT_NE(File("config.ini").find("LastOpenedLevel=7"), std::string::npos);
    ASSERT_TRUE(driver.Click(MenuId::Map, "btnStart"));
    ASSERT_EQ(app.AppState(), APPSTATE_PLAYING);
    driver.PlayLevel(pace, 8.0);

    // Pause, the options from the pause menu and back to it, resume: the clock held still.
    ASSERT_TRUE(driver.Click(MenuId::InGame, "btnMenu"));
    ASSERT_EQ(app.AppState(), APPSTATE_PAUSED);
    const float timeLeft = game.TimeLeft();
    ASSERT_TRUE(driver.Click(MenuId::Pause, "btnOptions"));
    EXPECT_EQ(app.AppState(), APPSTATE_OPTIONS);
    driver.RunFor(30.0);
    ASSERT_TRUE(driver.Click(MenuId::Options, "btnClose"));
    EXPECT_EQ(app.AppState(), APPSTATE_PAUSED);
    ASSERT_TRUE(driver.Click(MenuId::Pause, "btnResume"));
    EXPECT_EQ(app.AppState(), APPSTATE_PLAYING);
    EXPECT_NEAR(game.TimeLeft(), timeLeft, 0.2f);

    // Another window taking the focus pauses the level too.
    driver.Focus(false);
    EXPECT_EQ(app.AppState(), APPSTATE_PAUSED);
    driver.Focus(true);
    ASSERT_TRUE(driver.Click(MenuId::Pause, "btnResume"));
    EXPECT_EQ(app.AppState(), APPSTATE_PLAYING);

    // Escape pauses too; ending from the pause menu saves the game, and the score goes into
    // the table with the name typed in.
    driver.PressKey(Orvane::VK_ESCAPE);
    ASSERT_EQ(app.AppState(), APPSTATE_PAUSED);
    const int savedScore = game.Score();
    ASSERT_TRUE(driver.Click(MenuId::Pause, "btnEnd"));
    EXPECT_NE(File("saved.ini").find("[Classic]"), std::string::npos);
    ASSERT_EQ(app.AppState(), APPSTATE_HIGH_SCORES);
    ASSERT_TRUE(game.Scores().NameEntryOn());
    driver.Type("Robin");
    driver.PressKey(Orvane::VK_RETURN);
    EXPECT_FALSE(game.Scores().NameEntryOn());
    EXPECT_EQ(game.Scores().Entry(0, 0).Name(), "Robin");
    EXPECT_EQ(game.Scores().Entry(0, 0).score, static_cast<uint32_t>(savedScore));
    EXPECT_EQ(TextOf(app.Menu(MenuId::HighScores), "txtGameType"), "Classic");
    ASSERT_TRUE(driver.Click(MenuId::HighScores, "btnClose"));
    EXPECT_EQ(app.AppState(), APPSTATE_MAIN_MENU);

    // Classic again: the saved game is offered and continued where it was.
    ASSERT_TRUE(driver.Click(MenuId::Main, "btnClassicGame"));
    ASSERT_EQ(app.AppState(), APPSTATE_CONTINUE_CONFIRMATION);
    driver.RunFor(0.2);
    ASSERT_TRUE(driver.Click(MenuId::ContinueConfirmation, "btnLoad"));
    ASSERT_EQ(app.AppState(), APPSTATE_PLAYING);
    EXPECT_EQ(game.Level(), 7);
    EXPECT_EQ(game.Score(), savedScore);
    driver.RunFor(0.1);
    EXPECT_NEAR(game.TimeLeft(), timeLeft, 3.0f);

    // Left alone, the clock runs out: game over, the saved game gone; try again.
    ASSERT_EQ(driver.IdleUntilLevelEnds(400.0), APPSTATE_GAME_OVER);
    EXPECT_FALSE(game.IsGameSaved());
    ASSERT_TRUE(driver.Click(MenuId::GameOver, "btnContinue"));
    ASSERT_EQ(app.AppState(), APPSTATE_PLAYING);
    EXPECT_EQ(game.Level(), 7);
    driver.PlayLevel(pace, 5.0);
    ASSERT_TRUE(driver.Click(MenuId::InGame, "btnMenu"));
    ASSERT_TRUE(driver.Click(MenuId::Pause, "btnEnd"));
    if (app.AppState() == APPSTATE_HIGH_SCORES) {
        driver.PressKey(Orvane::VK_RETURN);
        ASSERT_TRUE(driver.Click(MenuId::HighScores, "btnClose"));
    }
    ASSERT_EQ(app.AppState(), APPSTATE_MAIN_MENU);

    // "Transformer": its first level asks for turning the animal with the right button.
    ASSERT_TRUE(driver.Click(MenuId::Main, "btnTransformerGame"));
    ASSERT_EQ(app.AppState(), APPSTATE_LEVEL_MAP);
    EXPECT_EQ(game.Level(), 1);
    ASSERT_TRUE(driver.Click(MenuId::Map, "btnStart"));
    ASSERT_EQ(driver.PlayLevel(pace, 400.0), APPSTATE_LEVEL_COMPLETE);
    EXPECT_GT(driver.LastPlayer()->Transforms(), 0);
    ASSERT_TRUE(driver.WaitForState(APPSTATE_PLAYING, 20.0));
    ASSERT_TRUE(driver.Click(MenuId::InGame, "btnMenu"));
    ASSERT_TRUE(driver.Click(MenuId::Pause, "btnEnd"));
    EXPECT_NE(File("saved.ini").find("[Relax]"), std::string::npos);   // the crossed sections
    if (app.AppState() == APPSTATE_HIGH_SCORES) {
        driver.Type("Tess");
        driver.PressKey(Orvane::VK_RETURN);
        EXPECT_EQ(game.Scores().CurrentTable(), MODE_TRANSFORMER);
        ASSERT_TRUE(driver.Click(MenuId::HighScores, "btnClose"));
    }

    // "Relax": no clock, no beeps. Played from the second stage, chosen on the map: the Classic
    // game has opened it.
    ASSERT_TRUE(driver.Click(MenuId::Main, "btnRelaxGame"));
    ASSERT_EQ(app.AppState(), APPSTATE_LEVEL_MAP);
    ASSERT_TRUE(driver.Click(MenuId::Map, "btnStage2"));
    EXPECT_EQ(game.Level(), 7);
    ASSERT_TRUE(driver.Click(MenuId::Map, "btnStart"));
    ASSERT_EQ(driver.PlayLevel(pace, 400.0), APPSTATE_LEVEL_COMPLETE);
    ASSERT_TRUE(driver.WaitForState(APPSTATE_PLAYING, 20.0));
    EXPECT_FALSE(game.ClockRuns());
    ASSERT_TRUE(driver.Click(MenuId::InGame, "btnMenu"));
    ASSERT_TRUE(driver.Click(MenuId::Pause, "btnEnd"));
    if (app.AppState() == APPSTATE_HIGH_SCORES) {
        driver.PressKey(Orvane::VK_RETURN);
        EXPECT_EQ(TextOf(app.Menu(MenuId::HighScores), "txtGameType"), "");   // no name for "Relax"
        ASSERT_TRUE(driver.Click(MenuId::HighScores, "btnClose"));
    }
    ASSERT_EQ(app.AppState(), APPSTATE_MAIN_MENU);

    // The high scores: clear them, after the question.
    ASSERT_TRUE(driver.Click(MenuId::Main, "btnHighScores"));
    ASSERT_TRUE(driver.Click(MenuId::HighScores, "btnClear"));
    ASSERT_EQ(app.AppState(), APPSTATE_CLEAR_CONFIRMATION);
    ASSERT_TRUE(driver.Click(MenuId::ClearConfirmation, "btnYes"));
    EXPECT_EQ(app.AppState(), APPSTATE_HIGH_SCORES);
    EXPECT_EQ(game.Scores().Entry(0, 0).score, 0u);
    ASSERT_TRUE(driver.Click(MenuId::HighScores, "btnClose"));

    // Exit.
    ASSERT_TRUE(driver.Click(MenuId::Main, "btnExit"));
}

}  // namespace

TEST_F(GameScenario, APlayerGoesThroughEveryScreenOfTheGame) {
    ASSERT_TRUE(linked_);
    {
        const char* argv[] = {"nookvale"};
        DrivenGameApp app(1, argv);
        app.SetDrawEvery(8);
        app.SetScript([&](DrivenGameApp& a) { PlayTheGame(a, platform_, dir_.Path()); });
        ASSERT_TRUE(app.Run());
        EXPECT_TRUE(app.ExitCodes().empty());
        EXPECT_GT(app.Draws(), 100);
    }
    // The log of the run ends with the framed last line and has no failure in it.
    const std::string log = File("applog.htm");
    EXPECT_NE(log.find("*** SESSION STARTED ***"), std::string::npos);
    const size_t last = log.rfind("*** Session finished ***");
    ASSERT_NE(last, std::string::npos);
    EXPECT_EQ(log.find("Loading", last), std::string::npos);
    EXPECT_EQ(log.find("FAILED"), std::string::npos) << log.substr(log.find("FAILED") - 200, 400);
    EXPECT_EQ(log.find("WARNING"), std::string::npos) << log.substr(log.find("WARNING") - 200, 400);
}
