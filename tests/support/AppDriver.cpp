#include "support/AppDriver.h"

#include "framework/platform/VirtualKeys.h"
#include "framework/platform/WindowMessage.h"
#include "game/AppStates.h"
#include "game/BrindloGame.h"
#include "menu/CMenu.h"

#include <chrono>
#include <cmath>
#include <thread>

DrivenGameApp::DrivenGameApp(int argc, const char* const* argv) : GameApp(argc, argv) {
    // Test processes run side by side.
    mSingleInstance = false;
}

void DrivenGameApp::MainLoop() {
    if (script_) script_(*this);
    RequestShutdown();
    // The shutdown is carried out by the loop itself.
    for (int i = 0; i < 100000 && !mShutdown; ++i) Step();
}

bool DrivenGameApp::DrawDirtyWidgets() {
    if (++drawCalls_ % drawEvery_ != 0) {
        mHasPendingDraw = false;
        return false;
    }
    ++draws_;
    return GameApp::DrawDirtyWidgets();
}

bool DrivenGameApp::Run() {
    Orvane::SetApp(this);
    Init();
    if (mInitialized) Start();
    Orvane::SetApp(nullptr);
    return mInitialized;
}

void DrivenGameApp::Step() {
    auto& platform = static_cast<Orvane::HeadlessPlatform&>(Orvane::GetPlatform());
    const uint32_t before = platform.TimeMs();
    bool updated = false;
    LoopStep(&updated);
    if (platform.TimeMs() == before) platform.AdvanceTime(1);
}

AppDriver::AppDriver(Orvane::HeadlessPlatform& platform, DrivenGameApp& app) : platform_(platform), app_(app) {}

double AppDriver::Now() const { return platform_.TimeMs() / 1000.0; }

bool AppDriver::WaitUntil(const std::function<bool()>& done, double seconds) {
    const uint32_t end = platform_.TimeMs() + static_cast<uint32_t>(seconds * 1000.0);
    const auto realEnd = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!done()) {
        if (app_.ShuttingDown()) return false;
        if (!app_.LoadingDone()) {
            // The loading thread works in real time: give it some before the clock moves on.
            if (std::chrono::steady_clock::now() > realEnd) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        } else if (static_cast<int32_t>(platform_.TimeMs() - end) >= 0) {
            return false;
        }
        if (player_ && app_.AppState() == APPSTATE_PLAYING) player_->Update(Now());
        app_.Step();
    }
    return true;
}

bool AppDriver::WaitForState(int state, double seconds) {
    return WaitUntil([&] { return app_.AppState() == state; }, seconds);
}

void AppDriver::RunFor(double seconds) {
    const uint32_t end = platform_.TimeMs() + static_cast<uint32_t>(seconds * 1000.0);
    WaitUntil([&] { return static_cast<int32_t>(platform_.TimeMs() - end) >= 0; }, seconds + 1.0);
}

void AppDriver::MoveTo(int x, int y) {
    platform_.SetCursorPosition(x, y);
    platform_.QueueMouseMove(x, y);
    RunFor(0.05);
}

bool AppDriver::Click(MenuId menu, const std::string& buttonName) {
    const CMenu& screen = app_.Menu(menu);
    int index = -1;
    for (int i = 0; i < screen.ButtonCount() && index < 0; ++i) {
        if (screen.Button(i).name == buttonName) index = i;
    }
    if (index < 0) return false;
    // A button drawn at its picture's size learns that size when it is first drawn, and a
    // screen fading in shows what was there before: look until the button is on the screen,
    // as a player would.
    const int draws = app_.Draws();
    WaitUntil([&] {
        const MenuButton& b = screen.Button(index);
        return app_.Draws() > draws + 1 && b.width > 0.0f && b.height > 0.0f;
    }, 3.0);
    const MenuButton& b = screen.Button(index);
    const int x = static_cast<int>(std::lround(b.xc * 800.0f));
    const int y = static_cast<int>(std::lround(b.yc * 600.0f));
    MoveTo(x, y);
    platform_.QueueMouseDown(Orvane::MK_LBUTTON, x, y);
    RunFor(0.08);
    platform_.QueueMouseUp(Orvane::MK_LBUTTON, x, y);
    RunFor(0.1);
    return true;
}

void AppDriver::PressKey(uint32_t virtualKey) {
    platform_.QueueKeyDown(virtualKey);
    RunFor(0.05);
    platform_.QueueKeyUp(virtualKey);
    RunFor(0.05);
}

void AppDriver::Type(const std::string& text) {
    for (char c : text) {
        platform_.QueueChar(static_cast<uint8_t>(c));
        RunFor(0.03);
    }
}

void AppDriver::Focus(bool active) {
    platform_.SetForeground(active);
    platform_.QueueActivate(active);
    RunFor(0.1);
}

int AppDriver::PlayLevel(const ScriptedPlayer::Options& options, double maxSeconds) {
    // The player discards with the space bar unless told otherwise.
    ScriptedPlayer::Options withKeys = options;
    if (!withKeys.pressDiscardKey) {
        withKeys.pressDiscardKey = [this] {
            platform_.QueueKeyDown(Orvane::VK_SPACE);
            platform_.QueueKeyUp(Orvane::VK_SPACE);
        };
    }
    player_ = std::make_unique<ScriptedPlayer>(app_.Game(), platform_, withKeys);
    WaitUntil([&] { return app_.AppState() != APPSTATE_PLAYING; }, maxSeconds);
    player_->Reset();
    const int state = app_.AppState();
    return state;
}

int AppDriver::IdleUntilLevelEnds(double maxSeconds) {
    player_.reset();
    platform_.SetButtonState(0);
    WaitUntil([&] { return app_.AppState() != APPSTATE_PLAYING; }, maxSeconds);
    return app_.AppState();
}
