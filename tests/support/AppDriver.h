// Driving the real game application in a test, a benchmark or the soak run: the GameApp on the
// headless platform over a game folder, its frame loop stepped by the caller on the manual
// clock, and a player who acts only as a person would - the cursor, the mouse buttons and the
// keys of the platform - reading the screen's state to decide where to click.
#pragma once

#include "app/GameApp.h"
#include "framework/platform/HeadlessPlatform.h"
#include "support/ScriptedPlayer.h"

#include <functional>
#include <memory>
#include <string>

enum class MenuId : int;

// The game application with its frame loop in the caller's hands.
class DrivenGameApp : public GameApp {
public:
    using Script = std::function<void(DrivenGameApp&)>;

    DrivenGameApp(int argc, const char* const* argv);

    // What Start runs instead of looping by itself: the caller's script steps the loop.
    void SetScript(Script script) { script_ = std::move(script); }
    void MainLoop() override;
    // Draws one frame in every drawEvery (1: every frame); the rest are skipped.
    void SetDrawEvery(int n) { drawEvery_ = n < 1 ? 1 : n; }
    bool DrawDirtyWidgets() override;
    void ExitWithCode(int code) override { exitCodes_.push_back(code); }

    // The whole life of the run: the application installed as the process's one, Init, then
    // Start (which runs the script), then uninstalled. False when Init did not succeed.
    bool Run();
    // One step of the loop; the manual clock moves on by at least a millisecond.
    void Step();
    bool LoadingDone() const { return mLoadingThreadCompleted; }
    bool ShuttingDown() const { return mShutdown; }
    int Draws() const { return draws_; }
    const std::vector<int>& ExitCodes() const { return exitCodes_; }

private:
    Script script_;
    int drawEvery_ = 1;
    int drawCalls_ = 0;
    int draws_ = 0;
    std::vector<int> exitCodes_;
};

class AppDriver {
public:
    AppDriver(Orvane::HeadlessPlatform& platform, DrivenGameApp& app);

    double Now() const;
    // Steps the loop until done() holds or seconds of game time have passed; true when it held.
    // Until the loading thread has finished, the wait is in real time as well.
    bool WaitUntil(const std::function<bool()>& done, double seconds);
    bool WaitForState(int state, double seconds);
    void RunFor(double seconds);

    // Moves the pointer over a button of a menu screen and clicks it (press and release a
    // little later). False when the screen has no such button.
    bool Click(MenuId menu, const std::string& buttonName);
    // Moves the pointer to (x, y) in screen pixels, as the player's hand would.
    void MoveTo(int x, int y);
    void PressKey(uint32_t virtualKey);
    void Type(const std::string& text);
    void Focus(bool active);

    // Plays the level in progress with the scripted player until the state leaves playing;
    // the state reached (or playing when the time given ran out). The player discards with
    // the space bar unless the options give it another key.
    int PlayLevel(const ScriptedPlayer::Options& options, double maxSeconds);
    // Lets the level run without playing until its clock ends it.
    int IdleUntilLevelEnds(double maxSeconds);

    const ScriptedPlayer* LastPlayer() const { return player_.get(); }

private:
    Orvane::HeadlessPlatform& platform_;
    DrivenGameApp& app_;
    std::unique_ptr<ScriptedPlayer> player_;
};
