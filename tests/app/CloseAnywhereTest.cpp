// Closing the window wherever the player is. For every screen of the game a run of the real
// application (headless platform, built game folder) is driven there; Alt+Enter switches the
// screen mode there and back, another window takes the focus and gives it back, and then the
// window's close button ends the run. The loading screen meets all of that while it loads, and
// clicks and keys besides. Every run ends with the framed last line of the log, and leaves
// config.ini, scores.ini and saved.ini whole, with no temporary file beside them.
#include "support/AppDriver.h"
#include "support/TestSupport.h"

#include "engine/config/Config.h"
#include "engine/scores/CScores.h"
#include "framework/ini/HexBlock.h"
#include "framework/ini/IniDocument.h"
#include "framework/platform/VirtualKeys.h"
#include "game/AppStates.h"
#include "game/BrindloGame.h"
#include "menu/CMenu.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

namespace fs = std::filesystem;

// How a run gets from the start to one screen; false when it could not.
using Route = std::function<bool(AppDriver& driver, DrivenGameApp& app)>;

// What a run's folder needs beyond the game folder's data.
using Preparation = std::function<void(const std::string& folder)>;

struct Destination {
    const char* name;
    int state;
    Route route;
    Preparation prepare = {};
};

bool MainMenu(AppDriver& d, DrivenGameApp&) { return d.WaitForState(APPSTATE_MAIN_MENU, 60.0); }

bool LevelMap(AppDriver& d, DrivenGameApp& app) {
    return MainMenu(d, app) && d.Click(MenuId::Main, "btnClassicGame") && app.AppState() == APPSTATE_LEVEL_MAP;
}

// A level of a stage, chosen on the map (which fades in before its buttons answer).
bool PlayingStage(AppDriver& d, DrivenGameApp& app, int stage) {
    if (!LevelMap(d, app)) return false;
    d.RunFor(1.0);
    if (stage > 1) {
        if (!d.Click(MenuId::Map, "btnStage" + std::to_string(stage))) return false;
        d.RunFor(1.0);
    }
    if (!d.Click(MenuId::Map, "btnStart") || !d.WaitForState(APPSTATE_PLAYING, 10.0)) return false;
    d.RunFor(3.0);   // past the level's intro
    return app.AppState() == APPSTATE_PLAYING;
}

bool Playing(AppDriver& d, DrivenGameApp& app) { return PlayingStage(d, app, 1); }

bool Paused(AppDriver& d, DrivenGameApp& app) {
    if (!Playing(d, app)) return false;
    d.PressKey(Orvane::VK_ESCAPE);
    return app.AppState() == APPSTATE_PAUSED;
}

bool LevelComplete(AppDriver& d, DrivenGameApp& app) {
    ScriptedPlayer::Options pace;
    pace.placementInterval = 1.0;
    return Playing(d, app) && d.PlayLevel(pace, 400.0) == APPSTATE_LEVEL_COMPLETE;
}

// A game ended from the pause menu is saved; choosing its mode again asks whether to go on.
bool ContinueQuestion(AppDriver& d, DrivenGameApp& app) {
    if (!Paused(d, app) || !d.Click(MenuId::Pause, "btnEnd")) return false;
    if (app.AppState() == APPSTATE_HIGH_SCORES) {
        d.Type("Kim");
        d.PressKey(Orvane::VK_RETURN);
        if (!d.Click(MenuId::HighScores, "btnClose")) return false;
    }
    return app.AppState() == APPSTATE_MAIN_MENU && d.Click(MenuId::Main, "btnClassicGame") &&
           app.AppState() == APPSTATE_CONTINUE_CONFIRMATION;
}

// Clicks through screens from the main menu: every click must land on the next state.
Route Clicks(std::vector<std::pair<MenuId, const char*>> clicks) {
    return [clicks](AppDriver& d, DrivenGameApp& app) {
        if (!MainMenu(d, app)) return false;
        for (const auto& [menu, button] : clicks) {
            const int before = app.AppState();
            if (!d.Click(menu, button) || app.AppState() == before) return false;
        }
        return true;
    };
}

const std::vector<Destination>& Destinations() {
    static const std::vector<Destination> all = {
        {"Loading", APPSTATE_LOADING, [](AppDriver&, DrivenGameApp& app) { return !app.LoadingDone(); }},
        {"MainMenu", APPSTATE_MAIN_MENU, MainMenu},
        {"LevelMap", APPSTATE_LEVEL_MAP, LevelMap},
        {"Instructions1", APPSTATE_INSTRUCTIONS_1, Clicks({{MenuId::Main, "btnInstructions"}})},
        {"Instructions2", APPSTATE_INSTRUCTIONS_2,
         Clicks({{MenuId::Main, "btnInstructions"}, {MenuId::Instructions1, "btnNext"}})},
        {"Instructions3", APPSTATE_INSTRUCTIONS_3,
         Clicks({{MenuId::Main, "btnInstructions"}, {MenuId::Instructions1, "btnNext"},
                 {MenuId::Instructions2, "btnNext"}})},
        {"Playing", APPSTATE_PLAYING, Playing},
        {"Paused", APPSTATE_PAUSED, Paused},
        {"HighScores", APPSTATE_HIGH_SCORES, Clicks({{MenuId::Main, "btnHighScores"}})},
        {"Options", APPSTATE_OPTIONS, Clicks({{MenuId::Main, "btnOptions"}})},
        {"LevelComplete", APPSTATE_LEVEL_COMPLETE, LevelComplete},
        // The game folder of this run holds the first level only: winning it ends the game.
        {"GameComplete", APPSTATE_GAME_COMPLETE,
         [](AppDriver& d, DrivenGameApp& app) {
             return LevelComplete(d, app) && d.WaitForState(APPSTATE_GAME_COMPLETE, 30.0);
         },
         [](const std::string& folder) {
             fs::remove(fs::path(folder) / "Levels");
             fs::create_directory(fs::path(folder) / "Levels");
             fs::create_symlink(fs::path(TestSupport::GameDir()) / "Levels/level_1.xml",
                                fs::path(folder) / "Levels/level_1.xml");
         }},
        // The second stage is open: its first level has a clock from the start (the first
        // level's waits for its lesson).
        {"GameOver", APPSTATE_GAME_OVER,
         [](AppDriver& d, DrivenGameApp& app) {
             return PlayingStage(d, app, 2) && d.IdleUntilLevelEnds(400.0) == APPSTATE_GAME_OVER;
         },
         [](const std::string& folder) {
             TestSupport::WriteFile(folder + "/config.ini", "[GAMEPLAY]\nLastOpenedLevel=7\n");
         }},
        {"ClearQuestion", APPSTATE_CLEAR_CONFIRMATION,
         Clicks({{MenuId::Main, "btnHighScores"}, {MenuId::HighScores, "btnClear"}})},
        {"ContinueQuestion", APPSTATE_CONTINUE_CONFIRMATION, ContinueQuestion},
        {"Credits", APPSTATE_CREDITS, Clicks({{MenuId::Main, "btnOptions"}, {MenuId::Options, "btnCredits"}})},
    };
    return all;
}

// Everything a player can do to the window that is not a click on the game.
void ShakeTheWindow(AppDriver& driver, DrivenGameApp& app, Orvane::HeadlessPlatform& platform) {
    const bool windowed = app.mIsWindowed;
    for (int i = 0; i < 2; ++i) {
        platform.QueueKeyDown(Orvane::VK_MENU, true);
        platform.QueueKeyDown(Orvane::VK_RETURN, true);
        platform.QueueKeyUp(Orvane::VK_RETURN, true);
        platform.QueueKeyUp(Orvane::VK_MENU);
        driver.RunFor(0.1);
        if (app.LoadingDone()) {
            EXPECT_EQ(app.mIsWindowed, i == 0 ? !windowed : windowed);
        }
    }
    driver.Focus(false);
    driver.RunFor(0.5);
    driver.Focus(true);
}

class CloseAnywhere : public ::testing::TestWithParam<size_t> {
protected:
    CloseAnywhere() : platform_(Orvane::HeadlessPlatform::ClockMode::Manual, dir_ / "config") {
        Orvane::SetPlatform(&platform_);
    }
    ~CloseAnywhere() override { Orvane::SetPlatform(nullptr); }

    std::string File(const std::string& name) const { return TestSupport::ReadFile(dir_ / name); }

    TestSupport::ScopedTempDir dir_;
    Orvane::HeadlessPlatform platform_;
};

TEST_P(CloseAnywhere, TheWindowClosesCleanlyThere) {
    const Destination& destination = Destinations()[GetParam()];
    ASSERT_TRUE(TestSupport::LinkGameFolder(TestSupport::GameDir(), dir_.Path()));
    if (destination.prepare) destination.prepare(dir_.Path());
    TestSupport::ScopedCwd cwd(dir_.Path());
    bool arrived = false;
    bool closedByWindow = false;
    int stateAtClose = -1;
    {
        const char* argv[] = {"nookvale"};
        DrivenGameApp app(1, argv);
        app.SetDrawEvery(4);
        app.SetScript([&](DrivenGameApp& a) {
            AppDriver driver(platform_, a);
            if (destination.state == APPSTATE_LOADING) {
                // Input while the pictures load: clicks, keys and characters.
                platform_.QueueMouseDown(Orvane::MK_LBUTTON, 400, 300);
                platform_.QueueMouseUp(Orvane::MK_LBUTTON, 400, 300);
                platform_.QueueKeyDown(Orvane::VK_ESCAPE);
                platform_.QueueKeyDown(Orvane::VK_SPACE);
                platform_.QueueChar('x');
                driver.RunFor(0.05);
            }
            arrived = destination.route(driver, a);
            if (!arrived) return;
            ShakeTheWindow(driver, a, platform_);
            // Another window taking the focus pauses a level: the pause menu resumes it.
            if (destination.state == APPSTATE_PLAYING && a.AppState() == APPSTATE_PAUSED) {
                driver.Click(MenuId::Pause, "btnResume");
            }
            stateAtClose = a.AppState();
            platform_.QueueClose();
            driver.WaitUntil([] { return false; }, 5.0);   // the loop ends on the close
            closedByWindow = a.ShuttingDown();
        });
        ASSERT_TRUE(app.Run());
        EXPECT_TRUE(app.ExitCodes().empty());
    }
    ASSERT_TRUE(arrived) << destination.name << " not reached";
    EXPECT_EQ(stateAtClose, destination.state);
    EXPECT_TRUE(closedByWindow);

    // The log ends with the framed last line.
    const std::string log = File("applog.htm");
    const std::string stars = std::string(50, '*');
    const size_t last = log.rfind("*** Session finished ***");
    ASSERT_NE(last, std::string::npos);
    EXPECT_EQ(log.find(" : ", last + 1), std::string::npos) << log.substr(last);   // nothing after it
    EXPECT_NE(log.find(stars, last), std::string::npos);
    EXPECT_EQ(log.find("FAILED"), std::string::npos) << log.substr(log.find("FAILED") - 200, 400);

    // The player's files are whole.
    std::string language;
    EXPECT_TRUE(ConfigGetString("LANGUAGE", "Name", language));
    EXPECT_EQ(language, "ENGLISH");
    CScores scores;
    EXPECT_TRUE(scores.Load());
    // Every value of saved.ini is a block with a valid checksum.
    const Orvane::IniDocument saved = Orvane::IniDocument::Parse(File("saved.ini"));
    for (const std::string& section : saved.SectionNames()) {
        for (const auto& [key, value] : saved.Entries(section)) {
            std::vector<uint8_t> bytes(value.size() / 2 - 1);
            EXPECT_TRUE(Orvane::DecodeHexBlock(value, bytes.data(), bytes.size())) << section << "/" << key;
        }
    }
    for (const auto& entry : fs::directory_iterator(dir_.Path())) {
        const std::string name = entry.path().filename().string();
        EXPECT_FALSE(name[0] == '.' && name.find(".ini.") != std::string::npos) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryState, CloseAnywhere, ::testing::Range<size_t>(0, Destinations().size()),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                             return std::string(Destinations()[info.param].name);
                         });

}  // namespace
