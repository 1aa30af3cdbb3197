// Plays the real game on the headless platform over a game folder, as a player would (the
// pointer, the buttons, the keys), and writes a picture of each screen it passes into a folder:
// the loading screen, the main menu with a mode's panel, the instructions, the options, the
// map, a level's intro, the tutorial, play with an animal in hand, a line vanishing, the pause
// menu, a finished level, the game over, a saved game offered, the high scores.
//
//   nookvale-game-tour --game <folder> --out <folder> [--pointer]
#include "ScreenPng.h"

#include "support/AppDriver.h"
#include "support/GameFolder.h"
#include "support/ScriptedPlayer.h"

#include "framework/display/HeadlessDisplay.h"
#include "framework/platform/VirtualKeys.h"
#include "game/AppStates.h"
#include "game/BrindloGame.h"
#include "menu/CMenu.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

struct Tour {
    DrivenGameApp& app;
    Orvane::HeadlessPlatform& platform;
    AppDriver& driver;
    std::string out;
    bool pointer = false;
    int shots = 0;

    // The last presented frame as a picture (with the pointer drawn when asked).
    void Shot(const std::string& name) {
        driver.RunFor(0.05);
        auto* display = static_cast<Orvane::HeadlessDisplay*>(app.GetDisplay());
        if (!display || display->LastPresented().empty()) return;
        Orvane::MemoryImage image;
        image.SetPixels(800, 600, display->LastPresented());
        int x = 0;
        int y = 0;
        if (pointer && platform.GetCursorPosition(x, y)) DrawPointerMark(image, x, y);
        std::string error;
        const std::string path = out + "/" + name + ".png";
        if (WriteScreenPng(image, path, error)) {
            ++shots;
            std::printf("%s\n", path.c_str());
        } else {
            std::fprintf(stderr, "nookvale-game-tour: %s: %s\n", path.c_str(), error.c_str());
        }
    }
    void PointAtButton(MenuId menu, const std::string& name) {
        const CMenu& screen = app.Menu(menu);
        for (int i = 0; i < screen.ButtonCount(); ++i) {
            if (screen.Button(i).name != name) continue;
            driver.MoveTo(static_cast<int>(screen.Button(i).xc * 800.0f), static_cast<int>(screen.Button(i).yc * 600.0f));
        }
    }
};

void Walk(Tour& t) {
    CBrindloGame& game = t.app.Game();
    AppDriver& d = t.driver;
    ScriptedPlayer::Options pace;
    pace.placementInterval = 1.0;

    // The loading screen while the pictures come in.
    d.WaitUntil([&] { return t.app.ImagesLoaded() > t.app.ImagesToLoad() / 3; }, 30.0);
    t.Shot("01-loading");
    d.WaitForState(APPSTATE_MAIN_MENU, 30.0);
    d.RunFor(1.5);
    t.Shot("02-main-menu");
    t.PointAtButton(MenuId::Main, "btnClassicGame");
    d.RunFor(0.6);
    t.Shot("03-main-menu-classic");
    t.PointAtButton(MenuId::Main, "btnTransformerGame");
    d.RunFor(0.6);
    t.Shot("04-main-menu-transformer");

    d.Click(MenuId::Main, "btnInstructions");
    t.Shot("05-instructions-1");
    d.Click(MenuId::Instructions1, "btnNext");
    t.Shot("06-instructions-2");
    d.Click(MenuId::Instructions2, "btnNext");
    t.Shot("07-instructions-3");
    d.Click(MenuId::Instructions3, "btnClose");
    d.Click(MenuId::Main, "btnOptions");
    t.Shot("08-options");
    d.Click(MenuId::Options, "btnCredits");
    t.Shot("09-credits");
    d.Click(MenuId::Credits, "btnOk");
    d.Click(MenuId::Options, "btnClose");

    // A Classic game: the map, the intro, the tutorial, play.
    d.Click(MenuId::Main, "btnClassicGame");
    if (t.app.AppState() == APPSTATE_CONTINUE_CONFIRMATION) d.Click(MenuId::ContinueConfirmation, "btnNew");
    d.RunFor(1.5);
    t.Shot("10-map");
    d.Click(MenuId::Map, "btnStart");
    d.RunFor(2.0);
    t.Shot("11-level-intro");
    d.WaitUntil([&] { return game.TutorialOn(); }, 10.0);
    d.RunFor(0.5);
    t.Shot("12-tutorial");
    d.PlayLevel(pace, 12.0);
    d.WaitUntil([&] { return game.Holding() || t.app.AppState() != APPSTATE_PLAYING; }, 5.0);
    t.Shot("13-playing");
    d.PlayLevel(pace, 400.0);
    d.RunFor(1.0);
    t.Shot("14-level-complete");
    d.RunFor(2.2);
    t.Shot("15-level-complete-bonus");
    d.WaitForState(APPSTATE_PLAYING, 20.0);
    d.PlayLevel(pace, 15.0);
    t.Shot("16-level-2");
    d.Click(MenuId::InGame, "btnMenu");
    t.Shot("17-pause");
    // Ending saves the game; the score goes into the table.
    d.Click(MenuId::Pause, "btnEnd");
    if (t.app.AppState() == APPSTATE_HIGH_SCORES) {
        d.Type("Robin");
        d.RunFor(0.5);
        t.Shot("18-high-score-name");
        d.PressKey(Orvane::VK_RETURN);
        t.Shot("19-high-scores");
        d.Click(MenuId::HighScores, "btnClose");
    }
    d.Click(MenuId::Main, "btnClassicGame");
    d.RunFor(0.5);
    t.Shot("20-continue");
    d.Click(MenuId::ContinueConfirmation, "btnLoad");
    d.IdleUntilLevelEnds(400.0);
    d.RunFor(1.0);
    t.Shot("21-game-over");
    d.Click(MenuId::GameOver, "btnExit");
    if (t.app.AppState() == APPSTATE_HIGH_SCORES) {
        d.PressKey(Orvane::VK_RETURN);
        d.Click(MenuId::HighScores, "btnClose");
    }
    // "Transformer": the tutorial asks for a turn.
    d.Click(MenuId::Main, "btnTransformerGame");
    if (t.app.AppState() == APPSTATE_CONTINUE_CONFIRMATION) d.Click(MenuId::ContinueConfirmation, "btnNew");
    d.RunFor(1.0);
    d.Click(MenuId::Map, "btnStart");
    d.WaitUntil([&] { return game.TutorialOn(); }, 10.0);
    d.PlayLevel(pace, 1.0);
    d.WaitUntil([&] { return game.TutorialStep() == 2 || !game.TutorialOn(); }, 5.0);
    d.RunFor(0.3);
    t.Shot("22-transformer-tutorial");
    d.Click(MenuId::InGame, "btnMenu");
    d.Click(MenuId::Pause, "btnEnd");
    d.PressKey(Orvane::VK_RETURN);
    d.Click(MenuId::HighScores, "btnClose");

    // The end of the last level, reached here by the tour's own hand (no player gets there in
    // minutes): every cell of level 42 filled at once, then the parade of the game's end.
    game.SetMode(MODE_CLASSIC);
    game.SetLevel(42);
    t.app.SetAppState(APPSTATE_LEVEL_MAP);
    if (game.StartLevel()) {
        d.WaitForState(APPSTATE_PLAYING, 5.0);
        d.RunFor(5.0);
        PlayField& field = game.FieldForTest();
        for (int i = 0; i < field.cellCount; ++i) field.cells[static_cast<size_t>(i)].placed = 1;
        d.WaitForState(APPSTATE_GAME_COMPLETE, 30.0);
        d.RunFor(3.0);
        t.Shot("23-game-complete");
        d.RunFor(6.0);
        t.Shot("24-game-complete-parade");
        d.Click(MenuId::GameComplete, "btnMenu");
        if (t.app.AppState() == APPSTATE_HIGH_SCORES) {
            d.PressKey(Orvane::VK_RETURN);
            d.Click(MenuId::HighScores, "btnClose");
        }
    }
    d.Click(MenuId::Main, "btnExit");
}

}  // namespace

int main(int argc, char** argv) {
    std::string game;
    std::string out;
    bool pointer = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--game") && i + 1 < argc) game = argv[++i];
        else if (!std::strcmp(argv[i], "--out") && i + 1 < argc) out = argv[++i];
        else if (!std::strcmp(argv[i], "--pointer")) pointer = true;
    }
    if (game.empty() || out.empty()) {
        std::fprintf(stderr, "usage: nookvale-game-tour --game <folder> --out <folder> [--pointer]\n");
        return 2;
    }
    out = fs::absolute(out).string();
    fs::create_directories(out);
    // The run's own files go to a folder of its own; the game's data is linked in.
    std::string error;
    const std::string runDir = TestSupport::EnterRunFolder(game, "tour", error);
    if (runDir.empty()) {
        std::fprintf(stderr, "nookvale-game-tour: %s\n", error.c_str());
        return 1;
    }
    const fs::path dir = runDir;

    Orvane::HeadlessPlatform platform(Orvane::HeadlessPlatform::ClockMode::Manual, (dir / "config").string());
    Orvane::SetPlatform(&platform);
    int shots = 0;
    {
        DrivenGameApp app(0, nullptr);
        AppDriver driver(platform, app);
        Tour tour{app, platform, driver, out, pointer};
        app.SetScript([&](DrivenGameApp&) { Walk(tour); });
        Orvane::SetApp(&app);
        app.Init();
        if (app.mInitialized) app.Start();
        Orvane::SetApp(nullptr);
        shots = tour.shots;
    }
    Orvane::SetPlatform(nullptr);
    TestSupport::RemoveRunFolder(runDir);
    std::printf("%d pictures\n", shots);
    return shots > 0 ? 0 : 1;
}
