// The application's screens as one process-wide number, and its previous value. The game sets
// some of them itself (playing, level complete, game over, the map, game complete); the
// application decides what happens on each change through its listener.
#pragma once

#include <functional>

enum AppState : int {
    APPSTATE_LOADING = 0,
    APPSTATE_MAIN_MENU = 1,
    APPSTATE_LEVEL_MAP = 2,
    APPSTATE_INSTRUCTIONS_1 = 3,
    APPSTATE_INSTRUCTIONS_2 = 4,
    APPSTATE_INSTRUCTIONS_3 = 5,
    APPSTATE_PLAYING = 6,
    APPSTATE_PAUSED = 7,
    APPSTATE_HIGH_SCORES = 8,
    APPSTATE_OPTIONS = 9,
    APPSTATE_LEVEL_COMPLETE = 11,
    APPSTATE_GAME_COMPLETE = 12,
    APPSTATE_GAME_OVER = 13,
    APPSTATE_CLEAR_CONFIRMATION = 14,
    APPSTATE_CONTINUE_CONFIRMATION = 15,
    APPSTATE_CREDITS = 16,
};

class AppStates {
public:
    // Called after every change with the state left and the state entered.
    using Listener = std::function<void(int previous, int current)>;

    int Current() const { return current_; }
    int Previous() const { return previous_; }
    // previous := current; current := state; then the listener.
    void Set(int state);
    void SetListener(Listener listener) { listener_ = std::move(listener); }
    // Back to the start (both 0, no listener): for tests.
    void Reset();

private:
    int current_ = APPSTATE_LOADING;
    int previous_ = APPSTATE_LOADING;
    Listener listener_;
};

// The process-wide states.
AppStates& GetAppStates();
