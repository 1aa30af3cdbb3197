// Measures the processor time an idle application uses: the frame loop runs its 100 logic
// steps a second over one full-screen widget that never becomes dirty, so the screen is only
// presented once a second. The figure must stay under 1 % of one core.
//
//   bench_idle [--seconds N] [--sdl] [--vsync]
//     --sdl    run on the SDL back-end (with SDL_VIDEODRIVER=dummy it needs no display)
//     --vsync  vertical-sync updates on, as the game runs: update cycles of one display
//              frame with fractional updates
#include "framework/app/OrvaneAppBase.h"
#include "framework/graphics/Graphics.h"
#include "framework/platform/HeadlessPlatform.h"
#include "framework/platform/sdl/SdlPlatform.h"
#include "framework/widgets/Widget.h"
#include "framework/widgets/WidgetManager.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <sys/resource.h>

namespace {

using namespace Orvane;

class StillWidget : public Widget {
public:
    void Draw(Graphics& g) override {
        g.SetColor(Color(30, 60, 90));
        g.FillRect(0, 0, mWidth, mHeight);
    }
};

class IdleApp : public OrvaneAppBase {
public:
    IdleApp(uint32_t runMs, bool vsyncUpdates) : runMs_(runMs) {
        mWidth = 800;
        mHeight = 600;
        mTitle = "Idle benchmark";
        mSingleInstance = false;
        mNoSoundNeeded = true;
        mAutoStartLoadingThread = false;
        mLoaded = true;
        mVSyncUpdates = vsyncUpdates;
        SetCommandLine(0, nullptr);
    }
    void RunOneUpdate() override {
        OrvaneAppBase::RunOneUpdate();
        const uint32_t now = GetPlatform().TimeMs();
        if (!measuring_ && now - mRunStartTick >= kWarmUpMs) {
            // Start measuring once the first frames (which draw the widget) are over.
            measuring_ = true;
            startCpu_ = CpuSeconds();
            startMs_ = now;
            startUpdates_ = mUpdateCount;
            startDraws_ = mDrawCount;
            startSleeps_ = mSleepCount;
        }
        if (measuring_ && now - startMs_ >= runMs_) {
            wallSeconds_ = (now - startMs_) / 1000.0;
            cpuSeconds_ = CpuSeconds() - startCpu_;
            updates_ = mUpdateCount - startUpdates_;
            presents_ = mDrawCount - startDraws_;
            sleeps_ = mSleepCount - startSleeps_;
            RequestShutdown();
        }
    }

    static double CpuSeconds() {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);   // every thread of the process
        return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
               (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }

    static constexpr uint32_t kWarmUpMs = 1500;
    uint32_t runMs_;
    bool measuring_ = false;
    double startCpu_ = 0.0;
    uint32_t startMs_ = 0;
    int startUpdates_ = 0;
    int startDraws_ = 0;
    int startSleeps_ = 0;
    double wallSeconds_ = 0.0;
    double cpuSeconds_ = 0.0;
    int updates_ = 0;
    int presents_ = 0;
    int sleeps_ = 0;
};

constexpr double kLimitPercent = 1.0;

}  // namespace

int main(int argc, char** argv) {
    int seconds = 10;
    bool sdl = false;
    bool vsync = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
            seconds = std::max(1, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--sdl") == 0) {
            sdl = true;
        } else if (std::strcmp(argv[i], "--vsync") == 0) {
            vsync = true;
        } else {
            std::fprintf(stderr, "usage: bench_idle [--seconds N] [--sdl] [--vsync]\n");
            return 2;
        }
    }

    std::unique_ptr<Platform> platform;
    if (sdl) {
        platform = std::make_unique<SdlPlatform>();
    } else {
        platform = std::make_unique<HeadlessPlatform>(HeadlessPlatform::ClockMode::Real);
    }
    SetPlatform(platform.get());

    double cpuPercent = 0.0;
    {
        IdleApp app(static_cast<uint32_t>(seconds) * 1000, vsync);
        app.Init();
        StillWidget widget;
        widget.Resize(0, 0, 800, 600);
        app.GetWidgetManager()->AddWidget(&widget);
        app.Start();
        app.GetWidgetManager()->RemoveWidget(&widget);

        cpuPercent = app.wallSeconds_ > 0 ? 100.0 * app.cpuSeconds_ / app.wallSeconds_ : 0.0;
        std::printf("idle application on the %s platform%s, %.1f s measured\n",
                    sdl ? "SDL" : "headless", vsync ? " with vertical-sync updates" : "",
                    app.wallSeconds_);
        std::printf("  logic updates: %d (%.1f per second)\n", app.updates_,
                    app.updates_ / std::max(app.wallSeconds_, 0.001));
        std::printf("  presents:      %d\n", app.presents_);
        std::printf("  CPU time:      %.3f s\n", app.cpuSeconds_);
        std::printf("  loop sleeps:   %d\n", app.sleeps_);
        std::printf("IDLE CPU: %.2f %% of one core (limit %.0f %%)\n", cpuPercent, kLimitPercent);
    }
    SetPlatform(nullptr);
    return cpuPercent < kLimitPercent ? 0 : 1;
}
