// Board: the game's one widget. It covers the screen and holds the keyboard focus; every logic
// update advances the round or the menu decorations, every frame draws the screen of the
// current application state, and every key and mouse event goes to the application's
// dispatcher as a seven-field window-message record. It holds no rules of its own.
//
//   Board.cpp       updates, focus and input
//   BoardDraw.cpp   the screens by state, the loading bar, the fade veil, the FPS text
#pragma once

#include "framework/widgets/Widget.h"

#include <cstdint>

class GameApp;

class Board : public Orvane::Widget {
public:
    explicit Board(GameApp& app);
    ~Board() override;

    void Update() override;
    void UpdateFraction(float steps) override;
    void Draw(Orvane::Graphics& g) override;
    void GotFocus() override;
    void LostFocus() override;
    void KeyChar(char c) override;
    void KeyDown(int keyCode) override;
    void MouseMove(int x, int y) override;
    void MouseDown(int x, int y, int clickCount) override;
    void MouseDrag(int x, int y) override;

    // The seconds of the last update cycle.
    float FrameDelta() const { return frameDelta_; }
    // The loading bar's percentage from the counters (0 while nothing is counted).
    static int LoadingPercent(int loaded, int total);
    // The veil's packed colour for a fade value: black, opaque at 0, gone at exactly 1.
    static uint32_t VeilColour(float fade);

    // The screen of one state (BoardDraw.cpp).
    void DrawLoading();
    void DrawMainMenu();
    void DrawLevelMap();
    void DrawPlaying();
    void DrawPaused();
    void DrawHighScores();
    void DrawOptions();
    void DrawInstructions1();
    void DrawInstructions2();
    void DrawInstructions3();
    void DrawLevelComplete();
    void DrawGameComplete();
    void DrawGameOver();
    void DrawClearConfirmation();
    void DrawCredits();
    void DrawContinueConfirmation();

private:
    void Send(uint32_t message, uint32_t wParam, int x, int y);
    void DrawMenuBackground();
    float FramesPerSecond();

    GameApp& app_;
    float frameDelta_ = 0.0f;
    int fpsFrames_ = 0;
    float fpsLastTime_ = 0.0f;
    float fpsResult_ = 0.0f;
};
