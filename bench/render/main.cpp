// bench_render [frames] [--parts] [--png file]: renders the scene `frames` times (default 600)
// into the 800 x 600 screen of the headless display with linear filtering on (as with
// hardware acceleration), and prints the median milliseconds per frame and frames per second.
// Frames are timed in batches, since the platform clock counts whole milliseconds.
#include "Scene.h"

#include "framework/display/HeadlessDisplay.h"
#include "framework/graphics/blit/Kernels.h"
#include "framework/platform/HeadlessPlatform.h"
#include "framework/platform/Platform.h"

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace Orvane;

namespace {

constexpr int kBatch = 20;

// Processor time of this thread in ms: on a machine shared with other work, it shows what the
// frame costs when the thread is not waiting for a core. The frame figure itself is the
// platform clock's.
double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

struct Timing {
    double wallMs = 0;   // median per frame, platform clock
    double cpuMs = 0;    // median per frame, thread processor time
    double bestMs = 0;   // fastest batch, platform clock
};

double Median(std::vector<double> v) {
    if (v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Medians of per-frame times over batches of kBatch calls of draw.
template <typename Draw>
Timing Measure(int frames, Draw draw) {
    Platform& platform = GetPlatform();
    std::vector<double> wall, cpu;
    for (int done = 0; done < frames; done += kBatch) {
        const uint32_t start = platform.TimeMs();
        const double cpuStart = ThreadCpuMs();
        for (int i = 0; i < kBatch; ++i) draw();
        cpu.push_back((ThreadCpuMs() - cpuStart) / kBatch);
        wall.push_back(double(platform.TimeMs() - start) / kBatch);
    }
    const double best = wall.empty() ? 0.0 : *std::min_element(wall.begin(), wall.end());
    return Timing{Median(wall), Median(cpu), best};
}

bool WritePpm(const MemoryImage& image, const char* path) {
    FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    std::fprintf(f, "P6\n%d %d\n255\n", image.GetWidth(), image.GetHeight());
    for (uint32_t p : image.Pixels()) {
        const unsigned char rgb[3] = {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)};
        std::fwrite(rgb, 1, 3, f);
    }
    return std::fclose(f) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    int frames = 600;
    bool parts = false;
    const char* picture = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--parts") == 0) parts = true;
        else if (std::strcmp(argv[i], "--ppm") == 0 && i + 1 < argc) picture = argv[++i];
        else frames = std::max(kBatch, std::atoi(argv[i]));
    }

    HeadlessPlatform platform(HeadlessPlatform::ClockMode::Real);
    SetPlatform(&platform);
    HeadlessDisplay display;
    std::string error;
    if (display.Init(800, 600, true, error) != Display::Result::Ok || !display.ScreenImage()) {
        std::fprintf(stderr, "display: %s\n", error.c_str());
        return 1;
    }
    MemoryImage& screen = *display.ScreenImage();
    const RenderBench::Scene scene;
    Graphics g(&screen);
    g.SetLinearBlend(true);
    g.SetFastStretch(false);

    // Warm up (scratch buffers, caches), then measure.
    for (int i = 0; i < 20; ++i) scene.DrawFrame(g);
    const Timing t = Measure(frames, [&] { scene.DrawFrame(g); });
    std::printf("kernels: %s\n", Blit::ActiveKernels().name);
    std::printf("frames: %d, median %.3f ms per frame, %.1f frames per second\n", frames,
                t.wallMs, t.wallMs > 0 ? 1000.0 / t.wallMs : 0.0);
    std::printf("processor time: median %.3f ms per frame; fastest batch %.3f ms per frame\n",
                t.cpuMs, t.bestMs);

    if (parts) {
        std::printf("parts (median ms per frame, platform clock / processor time):\n");
        for (const auto& part : scene.Parts()) {
            const Timing p = Measure(frames, [&] { part.draw(g); });
            std::printf("  %-42s %.3f / %.3f\n", part.name.c_str(), p.wallMs, p.cpuMs);
        }
    }
    if (picture) {
        scene.DrawFrame(g);
        if (!WritePpm(screen, picture)) std::fprintf(stderr, "cannot write %s\n", picture);
    }
    SetPlatform(nullptr);
    return 0;
}
