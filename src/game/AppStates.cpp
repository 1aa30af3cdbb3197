#include "game/AppStates.h"

void AppStates::Set(int state) {
    previous_ = current_;
    current_ = state;
    if (listener_) listener_(previous_, current_);
}

void AppStates::Reset() {
    current_ = APPSTATE_LOADING;
    previous_ = APPSTATE_LOADING;
    listener_ = nullptr;
}

AppStates& GetAppStates() {
    static AppStates states;
    return states;
}
