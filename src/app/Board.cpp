#include "app/Board.h"

#include "app/GameApp.h"
#include "framework/platform/WindowMessage.h"
#include "game/AppStates.h"
#include "game/BrindloGame.h"

Board::Board(GameApp& app) : app_(app) { mWantsFocus = true; }

Board::~Board() = default;

void Board::Update() {
    Widget::Update();
    // Every update is followed by a full redraw.
    MarkDirty();
}

void Board::UpdateFraction(float steps) {
    frameDelta_ = steps / 100.0f;
    CBrindloGame& game = app_.Game();
    game.SetFrameDelta(frameDelta_);
    const int state = app_.AppState();
    if (state == APPSTATE_PLAYING) {
        game.UpdateRound(frameDelta_);
    } else if (state != APPSTATE_LOADING) {
        game.MoveButterflies(frameDelta_);
    }
}

void Board::GotFocus() { Widget::GotFocus(); }

void Board::LostFocus() {
    Widget::LostFocus();
    if (app_.AppState() == APPSTATE_PLAYING) app_.SetAppState(APPSTATE_PAUSED);
}

void Board::Send(uint32_t message, uint32_t wParam, int x, int y) {
    Orvane::WindowMessage record;
    record.window = app_.MainWindowId();
    record.message = message;
    record.wParam = wParam;
    record.lParam = 0;
    record.time = 0;
    record.x = x;
    record.y = y;
    app_.HandleAppMessage(record);
}

void Board::KeyChar(char c) {
    // The character sign-extended from its byte, as the record carries it.
    Send(Orvane::WM_CHAR, static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(c))), 0, 0);
}

void Board::KeyDown(int keyCode) { Send(Orvane::WM_KEYDOWN, static_cast<uint32_t>(keyCode), 0, 0); }

void Board::MouseMove(int x, int y) { Send(Orvane::WM_MOUSEMOVE, 0, x, y); }

void Board::MouseDrag(int x, int y) { MouseMove(x, y); }

void Board::MouseDown(int x, int y, int clickCount) {
    // Every button and every click count presses like the left button.
    (void)clickCount;
    Send(Orvane::WM_LBUTTONDOWN, 0, x, y);
}
