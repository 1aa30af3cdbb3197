// What a change of the application state does besides: the pointer is nudged so the new
// screen's buttons see where it is, the options remember whether they were opened from the
// pause menu, and the level clock stops while the pause menu is up.
#include "app/GameApp.h"

#include "framework/platform/Platform.h"
#include "game/AppStates.h"
#include "game/BrindloGame.h"

void GameApp::SetAppState(int state) { GetAppStates().Set(state); }

void GameApp::OnStateChange(int previous, int current) {
    Orvane::Platform& platform = Orvane::GetPlatform();
    int x = 0;
    int y = 0;
    if (platform.GetCursorPosition(x, y)) platform.SetCursorPosition(x, y + 1);

    if (current == APPSTATE_OPTIONS && previous == APPSTATE_PAUSED) optionsFromPause_ = true;
    if (current == APPSTATE_OPTIONS && previous == APPSTATE_MAIN_MENU) optionsFromPause_ = false;

    if (previous == APPSTATE_PLAYING && current == APPSTATE_PAUSED) game_->PauseClock(true);
    if (previous == APPSTATE_PAUSED && current == APPSTATE_PLAYING) game_->PauseClock(false);
}
