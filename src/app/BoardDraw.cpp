// The Board's frame: black, then the screen of the application state (a table walked in a
// fixed order, so a screen that moves the game on - the end of a level - lets the next one
// draw in the same frame), then the fade veil and the frames-per-second text.
#include "app/Board.h"

#include "app/GameApp.h"
#include "engine/config/Config.h"
#include "engine/effects/Effect2d.h"
#include "engine/sprites/SpriteManager.h"
#include "framework/graphics/Graphics.h"
#include "framework/platform/Platform.h"
#include "game/AppStates.h"
#include "game/BrindloGame.h"
#include "menu/CMenu.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

struct Screen {
    int state;
    void (Board::*draw)();
};

// The order the states are tested in, each seeing the state the previous left.
constexpr Screen kScreens[] = {
    {APPSTATE_LOADING, &Board::DrawLoading},
    {APPSTATE_MAIN_MENU, &Board::DrawMainMenu},
    {APPSTATE_LEVEL_MAP, &Board::DrawLevelMap},
    {APPSTATE_PLAYING, &Board::DrawPlaying},
    {APPSTATE_PAUSED, &Board::DrawPaused},
    {APPSTATE_HIGH_SCORES, &Board::DrawHighScores},
    {APPSTATE_OPTIONS, &Board::DrawOptions},
    {APPSTATE_INSTRUCTIONS_1, &Board::DrawInstructions1},
    {APPSTATE_INSTRUCTIONS_2, &Board::DrawInstructions2},
    {APPSTATE_INSTRUCTIONS_3, &Board::DrawInstructions3},
    {APPSTATE_LEVEL_COMPLETE, &Board::DrawLevelComplete},
    {APPSTATE_GAME_COMPLETE, &Board::DrawGameComplete},
    {APPSTATE_GAME_OVER, &Board::DrawGameOver},
    {APPSTATE_CLEAR_CONFIRMATION, &Board::DrawClearConfirmation},
    {APPSTATE_CREDITS, &Board::DrawCredits},
    {APPSTATE_CONTINUE_CONFIRMATION, &Board::DrawContinueConfirmation},
};

}  // namespace

int Board::LoadingPercent(int loaded, int total) {
    if (total == 0) return 0;
    const double percent = static_cast<double>(loaded) / static_cast<double>(total) * 100.0;
    return std::clamp(static_cast<int>(percent), 0, 100);
}

uint32_t Board::VeilColour(float fade) {
    const int alpha = static_cast<int>((1.0 - static_cast<double>(fade)) * 255.0) + 1;
    return static_cast<uint32_t>(alpha) << 24;
}

void Board::Draw(Orvane::Graphics& g) {
    CSpriteManager& sprites = SpriteManager();
    sprites.SetDrawContext(app_.MainWindowId(), &g);
    g.SetColor(Orvane::Color(0, 0, 0));
    g.FillRect(0, 0, mWidth, mHeight);

    for (const Screen& screen : kScreens) {
        if (app_.AppState() == screen.state) (this->*screen.draw)();
    }

    const float fade = app_.Game().Fade();
    if (fade != 1.0f) {
        g.SetColor(Orvane::Color(VeilColour(fade)));
        g.FillRect(0, 0, mWidth, mHeight);
    }
    if (app_.FpsShown()) {
        char text[64];
        std::snprintf(text, sizeof text, "%s: %d", LangText("FPS").c_str(), static_cast<int>(FramesPerSecond()));
        sprites.DrawText(0.0f, 0.015f, 0.03f, 0xFFFFFFFFu, 0, text);
    }
}

float Board::FramesPerSecond() {
    const float now = static_cast<float>(Orvane::GetPlatform().TimeMs()) * 0.001f;
    ++fpsFrames_;
    if (now - fpsLastTime_ > 1.0f) {
        fpsResult_ = static_cast<float>(fpsFrames_) / (now - fpsLastTime_);
        fpsFrames_ = 0;
        fpsLastTime_ = now;
    }
    return fpsResult_;
}

void Board::DrawMenuBackground() {
    CSpriteManager& sprites = SpriteManager();
    sprites.DrawSprite(sprites.GetTexture("Graphics\\back_menu.jpg"), 0.5f, 0.5f, 1.0f, 1.0f, 0.0f, 0.0f,
                       1.0f, 1.0f, 0xFFFFFFFFu, SPRITE_NATURAL_SIZE, 0.0f);
    app_.Game().DrawButterflies();
}

void Board::DrawLoading() {
    CSpriteManager& sprites = SpriteManager();
    app_.Menu(MenuId::Intro).DrawMenu();
    const int percent = LoadingPercent(app_.ImagesLoaded(), app_.ImagesToLoad());
    sprites.DrawProgressBar(sprites.GetTexture("Graphics\\loading_empty.png"),
                            sprites.GetTexture("Graphics\\loading_full.png"), 0.5f, 0.75f, 0.25f, 0.09f,
                            percent, BAR_FILL_RIGHT | BAR_NATURAL_SIZE);
}

void Board::DrawMainMenu() { app_.Game().DrawMainMenuBackground(); }

void Board::DrawLevelMap() { app_.Game().DrawLevelMap(); }

void Board::DrawPlaying() { app_.Game().DrawGameScreen(); }

void Board::DrawPaused() {
    app_.Game().DrawGameScreen();
    app_.Menu(MenuId::Pause).DrawMenu();
}

void Board::DrawHighScores() {
    DrawMenuBackground();
    CBrindloGame& game = app_.Game();
    game.Scores().SelectTable(game.Mode());
    CMenu& menu = app_.Menu(MenuId::HighScores);
    menu.DrawMenu();
    game.Scores().DrawTable(0.29f, 0.036f, 0.25f, 0.3f, 0.65f);
    menu.SetText("txtGameType", RulesOf(game.Mode()).scoreTableName);
}

void Board::DrawOptions() {
    DrawMenuBackground();
    app_.Menu(MenuId::Options).DrawMenu();
}

void Board::DrawInstructions1() {
    DrawMenuBackground();
    app_.Menu(MenuId::Instructions1).DrawMenu();
}

void Board::DrawInstructions2() {
    DrawMenuBackground();
    app_.Menu(MenuId::Instructions2).DrawMenu();
}

void Board::DrawInstructions3() {
    DrawMenuBackground();
    app_.Menu(MenuId::Instructions3).DrawMenu();
}

void Board::DrawLevelComplete() {
    app_.Game().NextLevel();
    app_.Game().DrawGameScreen();
}

void Board::DrawGameComplete() {
    app_.Game().DrawGameScreen();
    app_.Menu(MenuId::GameComplete).DrawMenu();
    app_.Game().DrawGameComplete();
}

void Board::DrawGameOver() {
    app_.Game().DrawGameScreen();
    app_.Menu(MenuId::GameOver).DrawMenu();
}

void Board::DrawClearConfirmation() {
    DrawMenuBackground();
    app_.Menu(MenuId::ClearConfirmation).DrawMenu();
}

void Board::DrawCredits() {
    DrawMenuBackground();
    app_.Menu(MenuId::Credits).DrawMenu();
}

void Board::DrawContinueConfirmation() {
    DrawMenuBackground();
    CBrindloGame& game = app_.Game();
    CMenu& menu = app_.Menu(MenuId::ContinueConfirmation);
    menu.DrawMenu();
    char text[300];
    std::snprintf(text, sizeof text, "%s  %d", LangText("LevelText").c_str(), game.Level());
    menu.SetText("txtLevelNum", text);
    std::snprintf(text, sizeof text, "%s  %d", LangText("ScoreText").c_str(), game.Score());
    menu.SetText("txtScoreNum", text);
}
