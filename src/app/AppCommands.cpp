// The message dispatcher and the command table: global keys first, key-downs while playing to
// the game, every other record to the current state's menu, whose reported action selects
// the command of that state.
#include "app/AppCommands.h"

#include "app/GameApp.h"
#include "engine/audio/OggManager.h"
#include "engine/effects/Effect2d.h"
#include "engine/log/Log.h"
#include "framework/platform/VirtualKeys.h"
#include "game/AppStates.h"
#include "game/BrindloGame.h"
#include "menu/CMenu.h"

#include <cstdlib>
#include <cstring>

namespace {

using Orvane::WindowMessage;

float Slider(GameApp& app, const char* name) { return app.Menu(MenuId::Options).GetSliderValue(name); }

void MusicFromSlider(GameApp& app) { GetOggManager().SetMusicVolume(Slider(app, "MusicVolume")); }

void StartLevelOrMap(GameApp& app) {
    // A level whose file cannot be played leaves the player on the map.
    if (!app.Game().StartLevel() && app.AppState() != APPSTATE_LEVEL_MAP) app.Game().ShowLevelMap();
}

void Go(GameApp& app, int state) { app.SetAppState(state); }

// Handlers by what they do; the table below says when.
#define GO(state) [](GameApp& app, const std::string&) { Go(app, state); }
#define URL(file) [](GameApp& app, const std::string&) { app.OpenUrlFile(file); }

const std::vector<AppCommand> kCommands = {
    // Main menu.
    {APPSTATE_MAIN_MENU, "procClassicGame", false, [](GameApp& app, const std::string&) { app.NewGameChoice(MODE_CLASSIC); }},
    {APPSTATE_MAIN_MENU, "procRelaxGame", false, [](GameApp& app, const std::string&) { app.NewGameChoice(MODE_RELAX); }},
    {APPSTATE_MAIN_MENU, "procTransformerGame", false, [](GameApp& app, const std::string&) { app.NewGameChoice(MODE_TRANSFORMER); }},
    {APPSTATE_MAIN_MENU, "procLevelSimple", false, [](GameApp& app, const std::string&) { app.Game().RaiseStartLevel(false); }},
    {APPSTATE_MAIN_MENU, "procLevelAdvanced", false, [](GameApp& app, const std::string&) { app.Game().RaiseStartLevel(true); }},
    {APPSTATE_MAIN_MENU, "procOptions", false, GO(APPSTATE_OPTIONS)},
    {APPSTATE_MAIN_MENU, "procInstructions", false, GO(APPSTATE_INSTRUCTIONS_1)},
    {APPSTATE_MAIN_MENU, "procHighScores", false, GO(APPSTATE_HIGH_SCORES)},
    {APPSTATE_MAIN_MENU, "procExit", false, [](GameApp& app, const std::string&) { app.RequestShutdown(); }},
    {APPSTATE_MAIN_MENU, "procLogo", false, URL("website.url")},
    {APPSTATE_MAIN_MENU, "procMoreGames", false, URL("moregames.url")},
    {APPSTATE_MAIN_MENU, "procTellAFriend", false, URL("tellafriend.url")},
    {APPSTATE_MAIN_MENU, "procSubscribe", false, URL("subscribe.url")},
    // Playing.
    {APPSTATE_PLAYING, "procMenu", false, GO(APPSTATE_PAUSED)},
    {APPSTATE_PLAYING, "procDiscard", false, [](GameApp& app, const std::string&) { app.Game().DiscardShape(); }},
    // Level map.
    {APPSTATE_LEVEL_MAP, "procStart", false, [](GameApp& app, const std::string&) { StartLevelOrMap(app); }},
    {APPSTATE_LEVEL_MAP, "procStage", true,
     [](GameApp& app, const std::string& action) {
         int stage = 0;
         if (ParseStageAction(action, stage)) app.Game().SelectStage(stage);
     }},
    // Paused.
    {APPSTATE_PAUSED, "procOptions", false, GO(APPSTATE_OPTIONS)},
    {APPSTATE_PAUSED, "procResume", false, GO(APPSTATE_PLAYING)},
    {APPSTATE_PAUSED, "procEnd", false,
     [](GameApp& app, const std::string&) {
         app.Game().SaveGame();
         app.EndOfGameScoring();
     }},
    // High scores.
    {APPSTATE_HIGH_SCORES, "procClear", false, GO(APPSTATE_CLEAR_CONFIRMATION)},
    {APPSTATE_HIGH_SCORES, "procClose", false, GO(APPSTATE_MAIN_MENU)},
    {APPSTATE_HIGH_SCORES, "procPrevious", false,
     [](GameApp& app, const std::string&) {
         if (app.Game().Mode() > 0) app.Game().SetMode(app.Game().Mode() - 1);
     }},
    {APPSTATE_HIGH_SCORES, "procNext", false,
     [](GameApp& app, const std::string&) {
         if (app.Game().Mode() < 1) app.Game().SetMode(app.Game().Mode() + 1);
     }},
    // Options.
    {APPSTATE_OPTIONS, "procSoundMode", false,
     [](GameApp& app, const std::string&) { GetOggManager().SetSfxVolume(Slider(app, "SfxVolume")); }},
    {APPSTATE_OPTIONS, "procMusicMode", false, [](GameApp& app, const std::string&) { MusicFromSlider(app); }},
    {APPSTATE_OPTIONS, "procFullScreenMode", false,
     [](GameApp& app, const std::string&) {
         const bool wantFull = app.Menu(MenuId::Options).IsChecked("btnFullScreen");
         if (wantFull == app.mIsWindowed) app.SetScreenMode(!app.mIsWindowed);
     }},
    {APPSTATE_OPTIONS, "proc3DHardware", false,
     [](GameApp& app, const std::string&) {
         const bool want = app.Menu(MenuId::Options).IsChecked("btn3DHardware");
         if (want != app.IsHardwareAccelerated()) app.SetHardwareAcceleration(want, true);
         SetEffectDensity(app.IsHardwareAccelerated());
     }},
    {APPSTATE_OPTIONS, "procCredits", false, GO(APPSTATE_CREDITS)},
    {APPSTATE_OPTIONS, "procClose", false,
     [](GameApp& app, const std::string&) { app.SetAppState(app.OptionsFromPause() ? APPSTATE_PAUSED : APPSTATE_MAIN_MENU); }},
    // Instructions.
    {APPSTATE_INSTRUCTIONS_1, "procNext", false, GO(APPSTATE_INSTRUCTIONS_2)},
    {APPSTATE_INSTRUCTIONS_1, "procClose", false, GO(APPSTATE_MAIN_MENU)},
    {APPSTATE_INSTRUCTIONS_2, "procPrevious", false, GO(APPSTATE_INSTRUCTIONS_1)},
    {APPSTATE_INSTRUCTIONS_2, "procNext", false, GO(APPSTATE_INSTRUCTIONS_3)},
    {APPSTATE_INSTRUCTIONS_2, "procClose", false, GO(APPSTATE_MAIN_MENU)},
    {APPSTATE_INSTRUCTIONS_3, "procPrevious", false, GO(APPSTATE_INSTRUCTIONS_2)},
    {APPSTATE_INSTRUCTIONS_3, "procClose", false, GO(APPSTATE_MAIN_MENU)},
    // Game over.
    {APPSTATE_GAME_OVER, "procContinue", false,
     [](GameApp& app, const std::string&) {
         MusicFromSlider(app);
         StartLevelOrMap(app);
     }},
    {APPSTATE_GAME_OVER, "procExit", false,
     [](GameApp& app, const std::string&) {
         MusicFromSlider(app);
         app.EndOfGameScoring();
     }},
    // Clearing the high scores.
    {APPSTATE_CLEAR_CONFIRMATION, "procYes", false,
     [](GameApp& app, const std::string&) {
         app.Game().Scores().Clear();
         Go(app, APPSTATE_HIGH_SCORES);
     }},
    {APPSTATE_CLEAR_CONFIRMATION, "procNo", false, GO(APPSTATE_HIGH_SCORES)},
    // Continuing the saved game.
    {APPSTATE_CONTINUE_CONFIRMATION, "procLoad", false,
     [](GameApp& app, const std::string&) {
         // A record that turns out unusable starts the mode afresh.
         if (!app.Game().LoadSavedGame(false)) app.Game().NewGame();
     }},
    {APPSTATE_CONTINUE_CONFIRMATION, "procNew", false, [](GameApp& app, const std::string&) { app.Game().NewGame(); }},
    {APPSTATE_CONTINUE_CONFIRMATION, "procCancel", false, GO(APPSTATE_MAIN_MENU)},
    // Game complete.
    {APPSTATE_GAME_COMPLETE, "procMenu", false,
     [](GameApp& app, const std::string&) {
         MusicFromSlider(app);
         app.EndOfGameScoring();
     }},
    // Credits: back where they were opened from.
    {APPSTATE_CREDITS, "procOk", false, [](GameApp& app, const std::string&) { app.SetAppState(app.PreviousAppState()); }},
};

#undef GO
#undef URL

const std::vector<StateMenu> kStateMenus = {
    {APPSTATE_MAIN_MENU, MenuId::Main},
    {APPSTATE_LEVEL_MAP, MenuId::Map},
    {APPSTATE_INSTRUCTIONS_1, MenuId::Instructions1},
    {APPSTATE_INSTRUCTIONS_2, MenuId::Instructions2},
    {APPSTATE_INSTRUCTIONS_3, MenuId::Instructions3},
    {APPSTATE_PLAYING, MenuId::InGame},
    {APPSTATE_PAUSED, MenuId::Pause},
    {APPSTATE_HIGH_SCORES, MenuId::HighScores},
    {APPSTATE_OPTIONS, MenuId::Options},
    {APPSTATE_GAME_COMPLETE, MenuId::GameComplete},
    {APPSTATE_GAME_OVER, MenuId::GameOver},
    {APPSTATE_CLEAR_CONFIRMATION, MenuId::ClearConfirmation},
    {APPSTATE_CONTINUE_CONFIRMATION, MenuId::ContinueConfirmation},
    {APPSTATE_CREDITS, MenuId::Credits},
};

bool Matches(const AppCommand& command, const std::string& action) {
    if (command.prefix) return action.compare(0, std::strlen(command.action), command.action) == 0;
    return action == command.action;
}

}  // namespace

const std::vector<AppCommand>& AppCommandTable() { return kCommands; }

const std::vector<StateMenu>& StateMenuTable() { return kStateMenus; }

bool MenuOfState(int state, MenuId& menu) {
    for (const StateMenu& entry : kStateMenus) {
        if (entry.state == state) {
            menu = entry.menu;
            return true;
        }
    }
    return false;
}

bool IsCommandOf(int state, const std::string& action) {
    for (const AppCommand& command : kCommands) {
        if (command.state == state && Matches(command, action)) return true;
    }
    return false;
}

bool ParseStageAction(const std::string& action, int& stage) {
    constexpr size_t kPrefix = 9;   // "procStage"
    if (action.size() <= kPrefix || action.compare(0, kPrefix, "procStage") != 0) return false;
    const char* rest = action.c_str() + kPrefix;
    while (*rest == ' ') ++rest;
    const char* digits = rest;
    if (*digits == '+' || *digits == '-') ++digits;
    if (*digits < '0' || *digits > '9') return false;
    const long value = std::strtol(rest, nullptr, 10);
    if (value < -100000 || value > 100000) return false;
    stage = static_cast<int>(value);
    return true;
}

void GameApp::HandleAppMessage(WindowMessage record) {
    const int state = AppState();
    if (record.message == Orvane::WM_KEYDOWN) {
        if (record.wParam == Orvane::VK_F1) ToggleFps();
        if (state == APPSTATE_PLAYING) {
            // Escape pauses, like the pause button; every other key is the game's.
            if (record.wParam == Orvane::VK_ESCAPE) {
                SetAppState(APPSTATE_PAUSED);
            } else {
                game_->HandleKey(record);
            }
            return;
        }
        if (state == APPSTATE_PAUSED && record.wParam == Orvane::VK_ESCAPE) {
            SetAppState(APPSTATE_PLAYING);
            return;
        }
    }
    MenuId menu{};
    if (!MenuOfState(state, menu)) return;
    if (state == APPSTATE_HIGH_SCORES) game_->Scores().HandleNameKey(record);
    const std::string action = game_->Menu(menu).ProcessInput(record);
    if (action.empty()) return;
    for (const AppCommand& command : kCommands) {
        if (command.state == state && Matches(command, action)) command.run(*this, action);
    }
}

void GameApp::NewGameChoice(int mode) {
    game_->SetMode(mode);
    if (game_->IsGameSaved() && game_->LoadSavedGame(true)) {
        SetAppState(APPSTATE_CONTINUE_CONFIRMATION);
    } else {
        game_->NewGame();
    }
}

void GameApp::EndOfGameScoring() {
    EffectList().Clear();
    CScores& scores = game_->Scores();
    scores.SelectTable(game_->Mode());
    const int score = game_->Score();
    SetAppState(scores.AddScore(static_cast<uint32_t>(score > 0 ? score : 0)) ? APPSTATE_HIGH_SCORES
                                                                                  : APPSTATE_MAIN_MENU);
}
