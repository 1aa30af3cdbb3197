// A long session of the real game, played by the scripted player on the headless platform,
// to show that memory stays flat and nothing fails over hours of play.
//
//   bench_soak [--game <folder>] [--minutes N] [--quick] [--seed N] [--growth-limit MB]
//
// The GameApp runs over a copy-free link of the game folder with the manual clock, drawing
// every frame into the screen image, so an hour of play takes minutes. The player goes round
// the three modes: it continues the saved game or starts a new one, plays levels (winning most,
// letting the clock run out on some), pauses, visits the options, ends games from the pause
// menu (which saves them), enters its name in the high scores, and now and then reads the
// instructions or loses the window's focus. Every minute of game time it prints the resident
// memory, the heap in use, what it has played and the log's FAILED and WARNING lines.
//
// The figures: resident memory from the baseline (minute 5, or a sixth of a short run) to the
// end must grow by less than 1 MB, the log must have no FAILED line and must end with the
// session's last line. The exit code is 1 when one of them does not hold or the player got
// stuck. Under the sanitizers resident memory says nothing of the game (their quarantine and
// shadow grow by themselves), so the tests' short run gives a growth limit that only catches
// runaway growth.
#include "support/AppDriver.h"
#include "support/GameFolder.h"
#include "support/ProcessStatus.h"
#include "support/ScriptedPlayer.h"

#include "engine/scores/CScores.h"
#include "framework/platform/VirtualKeys.h"
#include "game/AppStates.h"
#include "game/BrindloGame.h"
#include "game/GameModes.h"
#include "menu/CMenu.h"

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

double HeapMegabytes() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

int CountOf(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
    return n;
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// What the player has done so far.
struct Tally {
    int games = 0;
    int levelsWon = 0;
    int levelsLost = 0;
    int saves = 0;
    int restores = 0;
    int highScores = 0;
    int pauses = 0;
    int gamesCompleted = 0;
};

struct Sample {
    int minute = 0;
    double rssMb = 0.0;
    double heapMb = 0.0;
    int failed = 0;
    int warnings = 0;
};

// The application with its memory sampled once a minute of game time.
class SoakApp : public DrivenGameApp {
public:
    using Sampler = std::function<void(int minute)>;
    SoakApp() : DrivenGameApp(0, nullptr) {}
    void SetSampler(Sampler sampler) { sampler_ = std::move(sampler); }
    bool DrawDirtyWidgets() override {
        const bool drew = DrivenGameApp::DrawDirtyWidgets();
        const uint32_t now = Orvane::GetPlatform().TimeMs();
        if (startMs_ == 0) startMs_ = now;
        const int minute = static_cast<int>((now - startMs_) / 60000u);
        if (minute > lastMinute_ && sampler_) {
            lastMinute_ = minute;
            sampler_(minute);
        }
        return drew;
    }
    int Minute() const { return lastMinute_; }

private:
    Sampler sampler_;
    uint32_t startMs_ = 0;
    int lastMinute_ = 0;
};

// The player's side of the session: one decision for the screen the game shows, from a table
// of the application's states.
class SoakPlayer {
public:
    SoakPlayer(Orvane::HeadlessPlatform& platform, SoakApp& app, unsigned seed, int minutes)
        : platform_(platform), app_(app), driver_(platform, app), random_(seed), minutes_(minutes) {}

    // Plays until the time is up, then goes back to the main menu and exits. False when the
    // player found itself stuck on a screen.
    bool Play() {
        if (!driver_.WaitForState(APPSTATE_MAIN_MENU, 60.0)) return Stuck("the main menu never came");
        int lastState = -1;
        int sameStateActs = 0;
        while (app_.Minute() < minutes_ || app_.AppState() != APPSTATE_MAIN_MENU) {
            if (app_.ShuttingDown()) return Stuck("the game shut down by itself");
            const int state = app_.AppState();
            sameStateActs = state == lastState ? sameStateActs + 1 : 0;
            lastState = state;
            if (sameStateActs > 200) return Stuck("no way out of state " + std::to_string(state));
            if (!Act(state)) return problem_.empty() ? Stuck("could not act in state " + std::to_string(state)) : false;
        }
        return driver_.Click(MenuId::Main, "btnExit");
    }

    const Tally& Played() const { return tally_; }
    const std::string& Problem() const { return problem_; }

private:
    struct Step {
        int state;
        bool (SoakPlayer::*act)();
    };

    bool Act(int state) {
        static const Step kSteps[] = {
            {APPSTATE_MAIN_MENU, &SoakPlayer::OnMainMenu},
            {APPSTATE_CONTINUE_CONFIRMATION, &SoakPlayer::OnContinueQuestion},
            {APPSTATE_LEVEL_MAP, &SoakPlayer::OnMap},
            {APPSTATE_PLAYING, &SoakPlayer::OnPlaying},
            {APPSTATE_PAUSED, &SoakPlayer::OnPaused},
            {APPSTATE_OPTIONS, &SoakPlayer::OnOptions},
            {APPSTATE_LEVEL_COMPLETE, &SoakPlayer::OnLevelComplete},
            {APPSTATE_GAME_OVER, &SoakPlayer::OnGameOver},
            {APPSTATE_HIGH_SCORES, &SoakPlayer::OnHighScores},
            {APPSTATE_GAME_COMPLETE, &SoakPlayer::OnGameComplete},
            {APPSTATE_CLEAR_CONFIRMATION, &SoakPlayer::OnClearQuestion},
            {APPSTATE_CREDITS, &SoakPlayer::OnCredits},
            {APPSTATE_INSTRUCTIONS_1, &SoakPlayer::OnInstructions},
            {APPSTATE_INSTRUCTIONS_2, &SoakPlayer::OnInstructions},
            {APPSTATE_INSTRUCTIONS_3, &SoakPlayer::OnInstructions},
        };
        for (const Step& step : kSteps)
            if (step.state == state) return (this->*step.act)();
        // Loading and the screens between: let the game go on.
        driver_.RunFor(0.5);
        return true;
    }

    bool Chance(int percent) { return static_cast<int>(random_() % 100) < percent; }
    int Between(int low, int high) { return low + static_cast<int>(random_() % static_cast<unsigned>(high - low + 1)); }

    // The main menu: once the time is up, nothing (Play exits); else a new game of the next
    // mode, and now and then a look at another screen first.
    bool OnMainMenu() {
        if (app_.Minute() >= minutes_) return true;
        if (Chance(15)) return driver_.Click(MenuId::Main, "btnInstructions");
        if (Chance(10)) return driver_.Click(MenuId::Main, "btnHighScores");
        if (Chance(10)) return driver_.Click(MenuId::Main, "btnOptions");
        static const char* const kModeButtons[] = {"btnClassicGame", "btnRelaxGame", "btnTransformerGame"};
        const int mode = tally_.games % 3;
        ++tally_.games;
        levelsThisGame_ = 0;
        levelsToPlay_ = Between(1, 4);
        loseOne_ = mode != 1 && Chance(40);   // "Relax" has no clock to lose to
        return driver_.Click(MenuId::Main, kModeButtons[mode]);
    }

    bool OnContinueQuestion() {
        driver_.RunFor(0.2);
        if (Chance(70)) {
            ++tally_.restores;
            return driver_.Click(MenuId::ContinueConfirmation, "btnLoad");
        }
        return driver_.Click(MenuId::ContinueConfirmation, "btnNew");
    }

    bool OnMap() {
        driver_.RunFor(Between(1, 3));
        return driver_.Click(MenuId::Map, "btnStart");
    }

    bool OnPlaying() {
        // Time is up: this game ends with the level in play, so the session can go home.
        if (app_.Minute() >= minutes_) levelsThisGame_ = levelsToPlay_;
        if (levelsThisGame_ >= levelsToPlay_) {
            // Enough of this game: pause and end it there.
            wantEnd_ = true;
            return driver_.Click(MenuId::InGame, "btnMenu");
        }
        if (Chance(10)) {
            driver_.Focus(false);
            driver_.Focus(true);
            return true;   // the game paused itself; the pause screen resumes
        }
        if (Chance(15)) {
            driver_.PlayLevel(pace_, Between(3, 20));
            if (app_.AppState() == APPSTATE_PLAYING) driver_.PressKey(Orvane::VK_ESCAPE);
            return true;
        }
        // The first level's tutorial holds the clock until the player places the shape it
        // shows, so a level is lost by idling only from the second on.
        const bool lose = loseOne_ && levelsThisGame_ == levelsToPlay_ - 1 && app_.Game().Level() != 1;
        const int after = lose ? driver_.IdleUntilLevelEnds(600.0) : driver_.PlayLevel(pace_, 600.0);
        if (after == APPSTATE_PLAYING) {
            const CBrindloGame& game = app_.Game();
            char what[200];
            std::snprintf(what, sizeof what, "level %d of mode %d still in play after 600 s (%s; round state %d, "
                          "%.1f s left, %.0f %% placed, tutorial %s)", game.Level(), game.Mode(),
                          lose ? "idling" : "playing", game.RoundState(), game.TimeLeft(), 100.0 * game.Progress(),
                          game.TutorialOn() ? "on" : "off");
            return Stuck(what);
        }
        if (after == APPSTATE_LEVEL_COMPLETE) {
            ++tally_.levelsWon;
            ++levelsThisGame_;
        } else if (after == APPSTATE_GAME_OVER) {
            ++tally_.levelsLost;
            levelsThisGame_ = levelsToPlay_;
        }
        return true;
    }

    bool OnPaused() {
        ++tally_.pauses;
        driver_.RunFor(Between(1, 5));
        if (wantEnd_) {
            wantEnd_ = false;
            ++tally_.saves;
            return driver_.Click(MenuId::Pause, "btnEnd");
        }
        if (Chance(20)) return driver_.Click(MenuId::Pause, "btnOptions");
        return driver_.Click(MenuId::Pause, "btnResume");
    }

    bool OnOptions() {
        driver_.RunFor(1.0);
        if (Chance(20)) return driver_.Click(MenuId::Options, "btnCredits");
        return driver_.Click(MenuId::Options, "btnClose");
    }

    bool OnLevelComplete() {
        driver_.RunFor(1.0);
        return true;
    }

    bool OnGameOver() {
        driver_.RunFor(2.0);
        if (Chance(50)) {
            // Try the level again, then end the game a level later.
            levelsThisGame_ = levelsToPlay_ - 1;
            loseOne_ = false;
            return driver_.Click(MenuId::GameOver, "btnContinue");
        }
        return driver_.Click(MenuId::GameOver, "btnExit");
    }

    bool OnHighScores() {
        if (app_.Game().Scores().NameEntryOn()) {
            ++tally_.highScores;
            driver_.Type(std::string("Soak") + static_cast<char>('A' + tally_.highScores % 26));
            driver_.PressKey(Orvane::VK_RETURN);
            return true;
        }
        driver_.RunFor(1.0);
        if (Chance(10)) return driver_.Click(MenuId::HighScores, "btnClear");
        return driver_.Click(MenuId::HighScores, "btnClose");
    }

    bool OnGameComplete() {
        ++tally_.gamesCompleted;
        driver_.RunFor(10.0);
        return driver_.Click(MenuId::GameComplete, "btnMenu");
    }

    bool OnClearQuestion() { return driver_.Click(MenuId::ClearConfirmation, "btnNo"); }
    bool OnCredits() { return driver_.Click(MenuId::Credits, "btnOk"); }

    bool OnInstructions() {
        static const MenuId kPages[] = {MenuId::Instructions1, MenuId::Instructions2, MenuId::Instructions3};
        const MenuId page = kPages[app_.AppState() - APPSTATE_INSTRUCTIONS_1];
        driver_.RunFor(2.0);
        if (app_.AppState() != APPSTATE_INSTRUCTIONS_3 && Chance(60)) return driver_.Click(page, "btnNext");
        return driver_.Click(page, "btnClose");
    }

    bool Stuck(const std::string& why) {
        problem_ = why;
        return false;
    }

    Orvane::HeadlessPlatform& platform_;
    SoakApp& app_;
    AppDriver driver_;
    std::mt19937 random_;
    int minutes_;
    ScriptedPlayer::Options pace_{};
    Tally tally_;
    int levelsThisGame_ = 0;
    int levelsToPlay_ = 0;
    bool loseOne_ = false;
    bool wantEnd_ = false;
    std::string problem_;
};

}  // namespace

int main(int argc, char** argv) {
    std::string game = std::getenv("NOOKVALE_GAME_DIR") ? std::getenv("NOOKVALE_GAME_DIR") : "build/game";
    int minutes = 60;
    unsigned seed = 1;
    double growthLimit = 1.0;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--game") && i + 1 < argc) game = argv[++i];
        else if (!std::strcmp(argv[i], "--minutes") && i + 1 < argc) minutes = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--quick")) minutes = 5;
        else if (!std::strcmp(argv[i], "--seed") && i + 1 < argc) seed = static_cast<unsigned>(std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--growth-limit") && i + 1 < argc) growthLimit = std::atof(argv[++i]);
        else {
            std::fprintf(stderr, "usage: bench_soak [--game <folder>] [--minutes N] [--quick] [--seed N] "
                                 "[--growth-limit MB]\n");
            return 2;
        }
    }
    // A folder of its own for the session's files, the game's data linked in.
    std::string error;
    const std::string runDir = TestSupport::EnterRunFolder(game, "soak", error);
    if (runDir.empty()) {
        std::fprintf(stderr, "bench_soak: %s\n", error.c_str());
        return 1;
    }
    const fs::path dir = runDir;
    const std::string logPath = (dir / "applog.htm").string();

    const int baselineMinute = minutes >= 30 ? 5 : std::max(1, minutes / 6);
    std::vector<Sample> samples;
    Tally played;
    std::string problem;
    bool playedThrough = false;
    const auto realStart = std::chrono::steady_clock::now();

    Orvane::HeadlessPlatform platform(Orvane::HeadlessPlatform::ClockMode::Manual, (dir / "config").string());
    Orvane::SetPlatform(&platform);
    {
        SoakApp app;
        SoakPlayer player(platform, app, seed, minutes);
        std::printf("minute   resident MB   heap MB   games  won  lost  saves  restores  scores  FAILED  WARNING"
                    "  state  mode  level\n");
        app.SetSampler([&](int minute) {
            // What the headless audio records is the test platform's, not the game's.
            platform.Audio().Clear();
            const std::string log = ReadWhole(logPath);
            Sample s{minute, TestSupport::StatusKilobytes("VmRSS") / 1024.0, HeapMegabytes(), CountOf(log, "FAILED"),
                     CountOf(log, "WARNING")};
            samples.push_back(s);
            const Tally& t = player.Played();
            std::printf("%6d %13.1f %9.1f %7d %4d %5d %6d %9d %7d %7d %8d %6d %5d %6d\n", s.minute, s.rssMb, s.heapMb,
                        t.games, t.levelsWon, t.levelsLost, t.saves, t.restores, t.highScores, s.failed, s.warnings,
                        app.AppState(), app.Game().Mode(), app.Game().Level());
            std::fflush(stdout);
        });
        app.SetScript([&](DrivenGameApp&) { playedThrough = player.Play(); });
        if (!app.Run()) problem = "the game did not start";
        played = player.Played();
        if (problem.empty()) problem = player.Problem();
    }
    Orvane::SetPlatform(nullptr);

    const std::string log = ReadWhole(logPath);
    const int failed = CountOf(log, "FAILED");
    const int warnings = CountOf(log, "WARNING");
    const bool finished = log.rfind("*** Session finished ***") != std::string::npos;
    double baseline = 0.0, last = 0.0, peak = 0.0;
    for (const Sample& s : samples) {
        if (s.minute == baselineMinute) baseline = s.rssMb;
        peak = std::max(peak, s.rssMb);
    }
    if (!samples.empty()) last = samples.back().rssMb;
    const double growth = last - baseline;
    const double realMinutes =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - realStart).count() / 60.0;

    std::printf("\n%d minutes of play in %.1f minutes: %d games, %d levels won, %d lost, %d games ended and saved, "
                "%d continued, %d high scores, %d pauses, %d games completed\n",
                static_cast<int>(samples.size()), realMinutes, played.games, played.levelsWon, played.levelsLost,
                played.saves, played.restores, played.highScores, played.pauses, played.gamesCompleted);
    std::printf("resident memory: %.1f MB at minute %d, %.1f MB at the end (growth %+.2f MB), peak %.1f MB\n",
                baseline, baselineMinute, last, growth, peak);
    std::printf("log: %d FAILED, %d WARNING, session finished: %s\n", failed, warnings, finished ? "yes" : "no");

    bool ok = true;
    if (!problem.empty() || !playedThrough) {
        std::printf("STUCK: %s\n", problem.empty() ? "the session did not end at the main menu" : problem.c_str());
        ok = false;
    }
    if (static_cast<int>(samples.size()) <= baselineMinute) {
        std::printf("too short for a baseline\n");
        ok = false;
    } else if (growth >= growthLimit) {
        std::printf("NOT FLAT: resident memory grew %.2f MB after minute %d\n", growth, baselineMinute);
        ok = false;
    }
    if (failed > 0 || !finished) ok = false;
    if (ok) {
        TestSupport::RemoveRunFolder(runDir);
    } else {
        std::printf("the session's files are kept in %s\n", dir.c_str());
    }
    return ok ? 0 : 1;
}
