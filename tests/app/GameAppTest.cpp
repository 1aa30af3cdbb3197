// The application's start and end on the headless platform: what a first start writes, the
// options of config.ini winning over the settings store, a damaged game folder ending the start
// with a message, the shortcut files, the Board's loading bar and veil, and the command table.
#include "support/AppDriver.h"
#include "support/TestSupport.h"

#include "app/AppCommands.h"
#include "app/Board.h"
#include "engine/config/Config.h"
#include "framework/pak/PakWriter.h"
#include "game/AppStates.h"
#include "game/BrindloGame.h"
#include "menu/CMenu.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class GameAppTest : public ::testing::Test {
protected:
    GameAppTest()
        : cwd_(dir_.Path()), platform_(Orvane::HeadlessPlatform::ClockMode::Manual, dir_ / "config") {
        Orvane::SetPlatform(&platform_);
    }
    ~GameAppTest() override { Orvane::SetPlatform(nullptr); }

    void LinkGame() { ASSERT_TRUE(TestSupport::LinkGameFolder(TestSupport::GameDir(), dir_.Path())); }
    std::string File(const std::string& name) const { return TestSupport::ReadFile(dir_ / name); }
    int Setting(const std::string& name) {
        Orvane::SettingsStore store(dir_ / "config");
        store.SetRegistryKey("Nookvale");
        int value = -1;
        store.ReadInt(name, value);
        return value;
    }

    TestSupport::ScopedTempDir dir_;
    TestSupport::ScopedCwd cwd_;
    Orvane::HeadlessPlatform platform_;
};

}  // namespace

TEST_F(GameAppTest, AFirstStartWritesTheLanguageTheScoresAndStartsFullScreenWith3D) {
    LinkGame();
    {
        DrivenGameApp app(0, nullptr);
        app.Init();
        ASSERT_TRUE(app.mInitialized);
        EXPECT_EQ(app.mTitle, "Nookvale");
        EXPECT_EQ(app.mProductVersion, "2.1");
        EXPECT_EQ(app.AppState(), APPSTATE_LOADING);
        EXPECT_FALSE(app.mIsWindowed);
    }
    EXPECT_NE(File("config.ini").find("[LANGUAGE]"), std::string::npos);
    EXPECT_NE(File("config.ini").find("Name=ENGLISH"), std::string::npos);
    EXPECT_EQ(Setting("ScreenMode"), 1);
    EXPECT_EQ(Setting("Is3D"), 1);
    // A valid, empty score table.
    CScores scores;
    EXPECT_TRUE(scores.Load());
    EXPECT_EQ(scores.Entry(0, 0).score, 0u);
    const std::string log = File("applog.htm");
    EXPECT_EQ(log.find("*** SESSION STARTED ***"), log.rfind("*** SESSION STARTED ***"));
    EXPECT_NE(log.find("Init()"), std::string::npos);
    EXPECT_NE(log.rfind("*** Session finished ***"), std::string::npos);
}

TEST_F(GameAppTest, TheOptionsOfConfigIniWinOverTheSettingsStore) {
    LinkGame();
    {
        Orvane::SettingsStore store(dir_ / "config");
        store.SetRegistryKey("Nookvale");
        store.WriteInt("ScreenMode", 1);
        store.WriteInt("Is3D", 1);
    }
    ConfigSetInt("OPTIONS", "btnFullScreen", 0);
    ConfigSetInt("OPTIONS", "btn3DHardware", 0);
    {
        DrivenGameApp app(0, nullptr);
        app.Init();
        EXPECT_TRUE(app.mIsWindowed);
        EXPECT_FALSE(app.IsHardwareAccelerated());
    }
    EXPECT_EQ(Setting("ScreenMode"), 0);
    EXPECT_EQ(Setting("Is3D"), 0);
}

TEST_F(GameAppTest, AGameFolderWithoutItsDataEndsTheStartWithAMessage) {
    // Only the menus are here: no pictures, no classes.
    std::filesystem::create_directory_symlink(std::filesystem::path(TestSupport::GameDir()) / "Menu", dir_ / "Menu");
    DrivenGameApp app(0, nullptr);
    app.Init();
    EXPECT_FALSE(app.mInitialized);
    ASSERT_EQ(app.ExitCodes().size(), 1u);
    EXPECT_NE(app.ExitCodes()[0], 0);
    ASSERT_EQ(platform_.MessageBoxes().size(), 1u);
    const std::string message = platform_.MessageBoxes()[0];
    EXPECT_NE(message.find("Graphics"), std::string::npos) << message;
    EXPECT_NE(message.find("classes.xml"), std::string::npos) << message;
    EXPECT_EQ(message.find("menu-main.xml"), std::string::npos) << message;
    EXPECT_FALSE(platform_.WindowCreated());
}

TEST_F(GameAppTest, ShortcutFilesOpenOnlyWhenPresent) {
    EXPECT_FALSE(GameApp::OpenUrlFile("play.url"));
    TestSupport::WriteFile(dir_ / "play.url", "[InternetShortcut]\nURL=https://example.org/\n");
    EXPECT_TRUE(GameApp::OpenUrlFile("play.url"));
    ASSERT_EQ(platform_.OpenedUrls().size(), 1u);
}

TEST(Board, LoadingBarAndVeilFollowTheirCounters) {
    EXPECT_EQ(Board::LoadingPercent(5, 0), 0);
    EXPECT_EQ(Board::LoadingPercent(0, 10), 0);
    EXPECT_EQ(Board::LoadingPercent(3, 7), 42);
    EXPECT_EQ(Board::LoadingPercent(12, 10), 100);
    EXPECT_EQ(Board::VeilColour(0.0f) >> 24, 0u);      // wraps to 0: opaque black
    EXPECT_EQ(Board::VeilColour(0.5f) >> 24, 128u);
    EXPECT_EQ(Board::VeilColour(0.999f) >> 24, 1u);
}

TEST(AppCommands, EveryStateWithCommandsHasAMenuAndStageActionsParse) {
    for (const AppCommand& command : AppCommandTable()) {
        MenuId menu{};
        EXPECT_TRUE(MenuOfState(command.state, menu)) << command.action;
        EXPECT_EQ(std::string(command.action).rfind("proc", 0), 0u) << command.action;
        // At most one command of a state answers an action.
        int matches = 0;
        for (const AppCommand& other : AppCommandTable()) {
            matches += other.state == command.state && IsCommandOf(other.state, command.action) &&
                       std::string(other.action) == command.action;
        }
        EXPECT_EQ(matches, 1) << command.action;
    }
    struct Case {
        const char* action;
        bool parsed;
        int stage;
    };
    for (const Case& c : {Case{"procStage3", true, 3}, Case{"procStage  12", true, 12}, Case{"procStage", false, 0},
                          Case{"procStagex", false, 0}, Case{"procStart", false, 0}}) {
        int stage = 0;
        EXPECT_EQ(ParseStageAction(c.action, stage), c.parsed) << c.action;
        if (c.parsed) {
            EXPECT_EQ(stage, c.stage);
        }
    }
    EXPECT_TRUE(IsCommandOf(APPSTATE_LEVEL_MAP, "procStage7"));
    EXPECT_FALSE(IsCommandOf(APPSTATE_MAIN_MENU, "procStage7"));
    EXPECT_FALSE(IsCommandOf(APPSTATE_LOADING, "procExit"));
}

// A folder holding only the executable's pack: every screen, text and level comes from it, and
// the player's own files stay on disk, never taken from the pack.
TEST_F(GameAppTest, AGameFolderOfOnlyAPackPlaysTheWholeGame) {
    std::vector<Orvane::PakSource> sources;
    std::string error;
    ASSERT_TRUE(Orvane::CollectPakFolder(TestSupport::GameDir(), sources, error)) << error;
    std::erase_if(sources, [](const Orvane::PakSource& s) {
        return s.name == "applog.htm" || s.name == "config.ini" || s.name == "scores.ini" ||
               s.name == "saved.ini" || s.name == "nookvale" || s.name.rfind("cached\\", 0) == 0;
    });
    // A config.ini in the pack is not the player's: it must change nothing.
    Orvane::PakSource packedConfig;
    packedConfig.name = "config.ini";
    const std::string text = "[OPTIONS]\nbtnFullScreen=0\n";
    packedConfig.data.assign(text.begin(), text.end());
    sources.push_back(packedConfig);
    std::vector<uint8_t> image;
    ASSERT_TRUE(Orvane::BuildPakImage(std::move(sources), image, error)) << error;
    ASSERT_TRUE(Orvane::WritePakImage(dir_ / "main.pak", image, error)) << error;
    ASSERT_FALSE(std::filesystem::exists(dir_ / "Menu"));

    DrivenGameApp app(0, nullptr);
    AppDriver driver(platform_, app);
    bool reached = false;
    app.SetScript([&](DrivenGameApp& a) {
        if (!driver.WaitForState(APPSTATE_MAIN_MENU, 30.0)) return;
        EXPECT_GT(a.ImagesToLoad(), 200);
        EXPECT_TRUE(driver.Click(MenuId::Main, "btnClassicGame"));
        EXPECT_EQ(a.AppState(), APPSTATE_LEVEL_MAP);
        EXPECT_TRUE(driver.Click(MenuId::Map, "btnStart"));
        EXPECT_EQ(a.AppState(), APPSTATE_PLAYING);
        EXPECT_GT(a.Game().Field().cellCount, 0);
        reached = true;
    });
    Orvane::SetApp(&app);
    app.Init();
    ASSERT_TRUE(app.mInitialized);
    EXPECT_EQ(app.mTitle, "Nookvale");
    EXPECT_FALSE(app.mIsWindowed);   // the packed config.ini was not read
    app.Start();
    Orvane::SetApp(nullptr);
    EXPECT_TRUE(reached);
    EXPECT_TRUE(std::filesystem::exists(dir_ / "config.ini"));
    EXPECT_TRUE(std::filesystem::exists(dir_ / "scores.ini"));
    EXPECT_EQ(File("applog.htm").find("FAILED"), std::string::npos);
}
