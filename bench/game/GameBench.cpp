// Measures the real game as a player runs it: the GameApp on the headless platform with the
// real clock, over a game folder, drawn by the real Board into the screen image.
//
//   bench_game [--game <folder>] [--seconds N]
//
// It prints the time from start-up to the main menu, the median and worst frame time (the
// Board's whole draw) of the main menu and of a level in play with its effects, the
// processor time a second while each runs at its own pace (60 frames a second), and the
// peak resident memory. The figures are for reading, not for checking.
#include "support/AppDriver.h"
#include "support/GameFolder.h"
#include "support/ScriptedPlayer.h"

#include "game/AppStates.h"
#include "game/BrindloGame.h"
#include "menu/CMenu.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The application with every frame's draw timed.
class BenchApp : public DrivenGameApp {
public:
    BenchApp() : DrivenGameApp(0, nullptr) {}
    bool DrawDirtyWidgets() override {
        const auto start = Clock::now();
        const bool drew = DrivenGameApp::DrawDirtyWidgets();
        if (drew && timing_) frames_.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        return drew;
    }
    void StartTiming() {
        frames_.clear();
        timing_ = true;
    }
    std::vector<double> StopTiming() {
        timing_ = false;
        return frames_;
    }

private:
    bool timing_ = false;
    std::vector<double> frames_;
};

struct Figures {
    double medianMs = 0.0;
    double worstMs = 0.0;
    int frames = 0;
    double cpuPercent = 0.0;
    double seconds = 0.0;
};

// Runs what run does, timing the app's frames and its processor time over it.
Figures Measure(BenchApp& app, const std::function<void()>& run) {
    app.StartTiming();
    const double cpu = CpuSeconds();
    const auto start = Clock::now();
    run();
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    Figures f;
    f.seconds = wall;
    f.cpuPercent = (CpuSeconds() - cpu) / wall * 100.0;
    std::vector<double> frames = app.StopTiming();
    f.frames = static_cast<int>(frames.size());
    if (!frames.empty()) {
        std::sort(frames.begin(), frames.end());
        f.medianMs = frames[frames.size() / 2];
        f.worstMs = frames.back();
    }
    return f;
}

void Print(const char* what, const Figures& f) {
    std::printf("%-28s median %6.2f ms  worst %6.2f ms  %5.1f frames/s  processor %5.1f %% of a core\n", what,
                f.medianMs, f.worstMs, f.frames / f.seconds, f.cpuPercent);
}

}  // namespace

int main(int argc, char** argv) {
    std::string game = std::getenv("NOOKVALE_GAME_DIR") ? std::getenv("NOOKVALE_GAME_DIR") : "build/game";
    double seconds = 10.0;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--game") && i + 1 < argc) game = argv[++i];
        else if (!std::strcmp(argv[i], "--seconds") && i + 1 < argc) seconds = std::atof(argv[++i]);
    }
    // A folder of its own for the run's files, the game's data linked in.
    std::string error;
    const std::string runDir = TestSupport::EnterRunFolder(game, "bench", error);
    if (runDir.empty()) {
        std::fprintf(stderr, "bench_game: %s\n", error.c_str());
        return 1;
    }
    const fs::path dir = runDir;

    Orvane::HeadlessPlatform platform(Orvane::HeadlessPlatform::ClockMode::Real, (dir / "config").string());
    Orvane::SetPlatform(&platform);
    int status = 0;
    {
        const auto start = Clock::now();
        BenchApp app;
        Orvane::SetApp(&app);
        app.SetScript([&](DrivenGameApp&) {
            AppDriver driver(platform, app);
            if (!driver.WaitForState(APPSTATE_MAIN_MENU, 60.0)) {
                std::fprintf(stderr, "bench_game: the main menu never came\n");
                status = 1;
                return;
            }
            std::printf("start to main menu           %.0f ms (%d pictures)\n",
                        std::chrono::duration<double, std::milli>(Clock::now() - start).count(), app.ImagesLoaded());
            driver.RunFor(1.0);
            Print("main menu", Measure(app, [&] { driver.RunFor(seconds); }));

            driver.Click(MenuId::Main, "btnClassicGame");
            if (app.AppState() == APPSTATE_CONTINUE_CONFIRMATION) driver.Click(MenuId::ContinueConfirmation, "btnNew");
            driver.RunFor(1.0);
            driver.Click(MenuId::Map, "btnStart");
            driver.RunFor(4.0);
            // A player at a steady pace keeps the effects going.
            ScriptedPlayer::Options pace;
            pace.placementInterval = 1.0;
            Print("level in play", Measure(app, [&] { driver.PlayLevel(pace, seconds); }));
            if (const ScriptedPlayer* player = driver.LastPlayer()) {
                std::printf("  (%d placements, %d bonuses while measured)\n", player->Placements(), player->BonusesUsed());
            }
        });
        app.Init();
        if (app.mInitialized) app.Start();
        Orvane::SetApp(nullptr);
    }
    std::printf("peak resident memory         %.1f MB\n", PeakKilobytes() / 1024.0);
    Orvane::SetPlatform(nullptr);
    TestSupport::RemoveRunFolder(runDir);
    return status;
}
