// sprite_demo: draws test screens of the presentation engine on the headless platform and
// writes them as PNG files: one screen of sprites (tinted, dimmed, additive, rotated, animated
// sheets, progress bars, digit strips) and texts in the symbol font, and three moments of a
// screen of running effects.
//
//   sprite_demo <game folder> <output prefix> [--software] [--window <seconds>] [--fullscreen]
//
// The game folder needs language.ini with the symbol-font table (section "ENGLISH") and the
// font picture it names; pictures the folder lacks are painted by the demo ("Demo\...").
// --software draws as without hardware acceleration (no rotation of stretched sprites, five
// particles per burst). --window also shows the screens live in an SDL window for the given
// seconds (the still screen, then the effects, repeated, timed by the real clock), for example
// under xvfb-run with a screenshot taken from outside; --fullscreen shows that window full
// screen (the 800 x 600 screen scaled and letterboxed).
#include "DemoPictures.h"
#include "PngFile.h"

#include "engine/config/Config.h"
#include "engine/effects/Effect2d.h"
#include "engine/log/Log.h"
#include "engine/sprites/SpriteManager.h"
#include "framework/graphics/ImageLoader.h"
#include "framework/display/Display.h"
#include "framework/platform/HeadlessPlatform.h"
#include "framework/platform/sdl/SdlPlatform.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

namespace {

using Orvane::Image;

constexpr float kLabel = 0.028f;   // height of the small captions

Image* Pic(const char* name) { return SpriteManager().GetTexture(name); }

void Label(float x, float y, const std::string& text) {
    SpriteManager().DrawText(x, y, kLabel, 0xFFD0D0FF, TEXT_CENTRE, text);
}

void Background() {
    SpriteManager().DrawSprite(Pic("Demo\\back.jpg"), 0.5f, 0.5f, 1, 1, 0, 0, 1, 1, kNoTint,
                               SPRITE_NORMAL, 0);
}

// The still screen: every drawing operation of the registry and the text layout.
void DrawStillScreen(bool accelerated) {
    CSpriteManager& s = SpriteManager();
    Background();
    s.DrawText(0.5f, 0.045f, 0.06f, kNoTint, TEXT_CENTRE, "Sprites and symbol font");
    s.DrawText(0.98f, 0.045f, 0.03f, 0xFFFFD060, TEXT_RIGHT,
               accelerated ? "acceleration on" : "acceleration off");

    // Row 1: one star per way of drawing it.
    Image* star = Pic("Demo\\star.png");
    const float y1 = 0.2f, w = 0.08f, h = 0.1067f;
    s.DrawSprite(star, 0.08f, y1, w, h, 0, 0, 1, 1, kNoTint, SPRITE_NORMAL, 0);
    Label(0.08f, 0.28f, "plain");
    s.DrawSprite(star, 0.2f, y1, w, h, 0, 0, 1, 1, 0xFF60A0FF, SPRITE_NORMAL, 0);
    Label(0.2f, 0.28f, "tinted");
    s.DrawSprite(star, 0.32f, y1, w, h, 0, 0, 1, 1, kNoTint, SPRITE_DIM, 0);
    Label(0.32f, 0.28f, "dimmed");
    s.DrawSprite(star, 0.44f, y1, w, h, 0, 0, 1, 1, kNoTint, SPRITE_NORMAL, 0);
    s.DrawSprite(Pic("Demo\\glow.png"), 0.44f, y1, w * 1.3f, h * 1.3f, 0, 0, 1, 1, kNoTint,
                 SPRITE_ADDITIVE, 0);
    Label(0.44f, 0.28f, "additive");
    s.DrawSprite(star, 0.56f, y1, 0.04f, 0.0533f, 0, 0, 1, 1, kNoTint,
                 SPRITE_NORMAL | SPRITE_NATURAL_SIZE, 0);
    Label(0.56f, 0.28f, "natural");
    Image* arrow = Pic("Demo\\arrow.png");
    s.DrawSprite(arrow, 0.7f, y1, 0.14f, 0.07f, 0, 0, 1, 1, kNoTint, SPRITE_NORMAL, 0.5f);
    Label(0.7f, 0.28f, "stretched, turned");
    s.DrawSprite(arrow, 0.88f, y1, 0, 0, 0, 0, 1, 1, kNoTint,
                 SPRITE_NORMAL | SPRITE_NATURAL_SIZE, -0.5f);
    Label(0.88f, 0.28f, "natural, turned");

    // Row 2: the eight frames of a sheet at fixed phases, and one timed by the clock.
    Image* sheet = Pic("Demo\\sheet.png");
    Image* digits = Pic("Graphics\\digits.png");
    for (int k = 0; k < 8; ++k) {
        const float x = 0.07f + 0.095f * static_cast<float>(k);
        s.DrawAnimatedSprite(sheet, x, 0.38f, 0.07f, 0.0933f, SPRITE_FIXED_PHASE | SPRITE_NORMAL,
                             4, 2, (static_cast<float>(k) + 0.5f) / 8.0f, kNoTint);
        s.DrawDigits(digits, x, 0.455f, 1.0f, kNoTint, std::to_string(k), 0.5f);
    }
    s.DrawAnimatedSprite(sheet, 0.9f, 0.38f, 0, 0, SPRITE_NATURAL_SIZE | SPRITE_NORMAL, 4, 2, 0.5f,
                         0xFFFFFFFF);
    Label(0.9f, 0.455f, "by the clock");

    // Row 3: progress bars.
    const int percents[3] = {0, 50, 100};
    for (int i = 0; i < 3; ++i) {
        const float x = 0.18f + 0.32f * static_cast<float>(i);
        s.DrawProgressBar(Pic("Demo\\bar_empty.png"), Pic("Demo\\bar_full.png"), x, 0.54f, 0, 0,
                          percents[i], BAR_FILL_RIGHT | BAR_NATURAL_SIZE);
        Label(x, 0.5f, std::to_string(percents[i]) + " %");
    }

    // Row 4: digit strips.
    s.DrawDigits(digits, 0.3f, 0.62f, 1.0f, kNoTint, "0123456789", 1.0f);
    Label(0.3f, 0.675f, "digits, spacing 1");
    s.DrawDigits(digits, 0.75f, 0.62f, 0.75f, 0xFFFFC040, "12x45", 1.0f);
    Label(0.75f, 0.675f, "\"12x45\", spacing 0.75, tinted");

    // Row 5: alignment against a marker line, natural size, a picture text.
    s.DrawSprite(Pic("Demo\\bar_full.png"), 0.5f, 0.81f, 0.0025f, 0.2f, 0, 0, 1, 1, 0xFFFF4040,
                 SPRITE_NORMAL, 0);
    s.DrawText(0.5f, 0.74f, 0.045f, kNoTint, 0, "Left end at the line");
    s.DrawText(0.5f, 0.8f, 0.045f, 0xFFFFE080, TEXT_CENTRE, "Centred, tinted");
    s.DrawText(0.5f, 0.86f, 0.045f, kNoTint, TEXT_RIGHT, "Right end at the line");
    s.DrawText(0.13f, 0.93f, 0.0f, kNoTint, TEXT_CENTRE | TEXT_NATURAL_SIZE, "Natural size");
    s.DrawText(0.5f, 0.93f, 0.035f, kNoTint, TEXT_CENTRE, "A~b {x} [y] #1 @2 !?");
    s.DrawText(0.87f, 0.93f, 0.05f, kNoTint, TEXT_CENTRE, "demoCaption");
    Label(0.87f, 0.975f, "picture text");
}

// The effects screen: one effect of every visible kind, plus the invisible kinds driving a
// bar and a figure.
struct EffectScene {
    float barValue = 0.0f;
    int32_t score = 0;
    float followX = 0.1f;
    float followY = 0.9f;
};

void AddEffects(CEffect2d& fx, EffectScene& scene) {
    fx.AddTitleText(0, 0.0f, 2.0f, 0.5f, 0.2f, "Level 7");
    fx.AddRisingText(0, 0.0f, 2.0f, 0.12f, 0.45f, "+250", true);
    fx.AddRisingText(0, 0.0f, 2.0f, 0.12f, 0.6f, "Well done", false);
    fx.AddFlyingText(0, 0.0f, 2.0f, 0.3f, 0.6f, 0.8f, 0.12f, "1500", true);
    fx.AddFadingText(0, 0.0f, 2.0f, 0.5f, 0.45f, "Fading text", false);
    fx.AddFadingText(0, 0.0f, 2.0f, 0.5f, 0.55f, "42", true);
    fx.AddSlidingText(0, 0.0f, 2.0f, 0.82f, 0.45f, "Sliding", 0.0f);
    fx.AddParticleBurst(0, 0.0f, 2.0f, 0.15f, 0.82f, 0.04f, 0.15f, Pic("Demo\\spark.png"), true);
    fx.AddParticleBurst(0, 0.0f, 2.0f, 0.38f, 0.82f, 0.05f, 0.18f, Pic("Demo\\star.png"), false);
    fx.AddGrowingImage(0, 0.0f, 2.0f, 0.6f, 0.82f, 0.12f, 0.16f, Pic("Demo\\star.png"));
    fx.AddShrinkingImage(0, 0.0f, 2.0f, 0.75f, 0.82f, 0.12f, 0.16f, Pic("Demo\\star.png"));
    fx.AddAnimatedSprite(0, 0.0f, 2.0f, 0.9f, 0.85f, Pic("Demo\\sheet.png"), 4, 2, -0.2f);
    fx.AddFollowingImage(0, 0.0f, 2.0f, &scene.followX, &scene.followY, Pic("Demo\\glow.png"));
    fx.AddFloatAnimation(0.0f, 2.0f, 0.0f, 1.0f, &scene.barValue);
    for (int i = 0; i < 4; ++i) fx.AddTimedAddition(0.4f * static_cast<float>(i), 125, &scene.score);
    // Starts late: absent from the first moment.
    fx.AddRisingText(0, 0.8f, 1.2f, 0.62f, 0.62f, "late", false);
}

void DrawEffectScreen(CEffect2d& fx, const EffectScene& scene, float seconds) {
    CSpriteManager& s = SpriteManager();
    Background();
    char heading[80];
    std::snprintf(heading, sizeof heading, "Effects at %.1f s", static_cast<double>(seconds));
    s.DrawText(0.02f, 0.04f, 0.045f, kNoTint, 0, heading);
    // The invisible kinds at work: a float animation fills the bar, timed additions the figure.
    s.DrawProgressBar(Pic("Demo\\bar_empty.png"), Pic("Demo\\bar_full.png"), 0.5f, 0.97f, 0, 0,
                      static_cast<int>(scene.barValue * 100.0f), BAR_FILL_RIGHT | BAR_NATURAL_SIZE);
    s.DrawDigits(Pic("Graphics\\digits.png"), 0.9f, 0.04f, 0.8f, kNoTint,
                 std::to_string(scene.score), 0.8f);
    Label(0.72f, 0.04f, "timed additions");
    Label(0.3f, 0.97f, "float animation");
    Label(0.15f, 0.95f, "ring burst");
    Label(0.38f, 0.95f, "scattered burst");
    fx.Draw(0);
}

// Shows the screens in a window: the still screen for a second, then two seconds of effects,
// over and over, until the time is up or the window is closed.
int RunWindow(int seconds, bool accelerated, bool fullScreen) {
    Orvane::SdlPlatform sdl;
    Orvane::SetPlatform(&sdl);
    std::string error;
    Orvane::WindowSettings settings;
    settings.title = "sprite_demo";
    settings.fullScreen = fullScreen;
    if (!sdl.InitWindowSystem(error) || !sdl.CreateMainWindow(settings, error)) {
        std::fprintf(stderr, "no window: %s\n", error.c_str());
        return 1;
    }
    std::unique_ptr<Orvane::Display> display = sdl.CreateDisplay();
    if (!display || display->Init(800, 600, !fullScreen, error) != Orvane::Display::Result::Ok) {
        std::fprintf(stderr, "no display: %s\n", error.c_str());
        return 1;
    }
    display->Set3D(accelerated);
    sdl.ShowMainWindow();
    Orvane::Graphics g(display->ScreenImage());
    SpriteManager().SetDrawContext(sdl.MainWindowId(), &g);

    CEffect2d& fx = EffectList();
    EffectScene scene;
    const uint32_t start = sdl.TimeMs();
    uint32_t cycleStart = start;
    bool effectsAdded = false;
    std::vector<Orvane::WindowMessage> messages;
    while (sdl.TimeMs() - start < static_cast<uint32_t>(seconds) * 1000u) {
        messages.clear();
        sdl.PumpMessages(messages);
        bool closed = false;
        for (const Orvane::WindowMessage& m : messages) closed |= m.message == Orvane::WM_CLOSE;
        if (closed) break;
        const uint32_t inCycle = sdl.TimeMs() - cycleStart;
        if (inCycle < 1000) {
            DrawStillScreen(accelerated);
        } else {
            if (!effectsAdded) {
                fx.Clear();
                scene = EffectScene{};
                AddEffects(fx, scene);
                effectsAdded = true;
            }
            scene.followX = 0.1f + 0.8f * static_cast<float>(inCycle - 1000) / 2000.0f;
            scene.followY = 0.68f;
            fx.Update();
            DrawEffectScreen(fx, scene, static_cast<float>(inCycle - 1000) / 1000.0f);
            if (inCycle >= 3000) {
                cycleStart = sdl.TimeMs();
                effectsAdded = false;
            }
        }
        display->Present();
        sdl.SleepMs(10);
    }
    fx.Clear();
    SpriteManager().SetDrawContext(0, nullptr);
    display.reset();
    Orvane::SetPlatform(nullptr);
    return 0;
}

}  // namespace

// Under the leak checker: the desktop-bus library keeps a buffer for the life of the process
// (the input-method connection SDL opens); it is not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: sprite_demo <game folder> <output prefix> [--software]\n");
        return 2;
    }
    const std::string prefix = std::filesystem::absolute(argv[2]).string();
    bool accelerated = true;
    int windowSeconds = 0;
    bool fullScreen = false;
    for (int i = 3; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--software") {
            accelerated = false;
        } else if (arg == "--window" && i + 1 < argc) {
            windowSeconds = std::atoi(argv[++i]);
        } else if (arg == "--fullscreen") {
            fullScreen = true;
        } else {
            std::fprintf(stderr, "unknown option %s\n", argv[i]);
            return 2;
        }
    }
    std::error_code error;
    std::filesystem::current_path(argv[1], error);
    if (error) {
        std::fprintf(stderr, "cannot enter %s\n", argv[1]);
        return 1;
    }

    Orvane::HeadlessPlatform platform(Orvane::HeadlessPlatform::ClockMode::Manual);
    Orvane::SetPlatform(&platform);
    platform.SetTime(20000);
    SetLanguageName("ENGLISH");

    Orvane::MemoryImage screen(CSpriteManager::kLogicalWidth, CSpriteManager::kLogicalHeight);
    screen.SetNoAlpha(true);
    Orvane::Graphics g(&screen);

    // Pictures painted before they are asked for (the digit strip is drawn with the font).
    std::map<std::string, std::unique_ptr<Orvane::MemoryImage>> painted;
    CSpriteManager& sprites = SpriteManager();
    sprites.SetAccelerationQuery([accelerated] { return accelerated; });
    sprites.SetImageLoader([&painted](const std::string& path) -> std::unique_ptr<Image> {
        if (auto image = DemoPictures::Paint(path)) return image;
        if (auto image = Orvane::LoadImageFile(path)) return image;
        auto it = painted.find(path);
        if (it == painted.end()) return nullptr;
        return std::move(it->second);
    });
    SetEffectDensity(accelerated);

    // Load like the loading screen: folder by folder, one file a step.
    int loaded = 0;
    for (const char* folder : {"Graphics\\", "Graphics\\Shapes\\"}) {
        if (sprites.LoadFolderStep(folder, 1)) ++loaded;
        while (sprites.LoadFolderStep(folder, 2)) ++loaded;
    }
    sprites.InitSymbolFont(LangText("English\\") + "font01.png");
    if (sprites.GetSymbolTexture() == nullptr) {
        std::fprintf(stderr, "no symbol font in %s\n", argv[1]);
        return 1;
    }
    std::printf("%d picture files loaded, font %d x %d cells\n", loaded,
                sprites.GetSymbolFont().Columns(), sprites.GetSymbolFont().Rows());

    {
        auto strip = std::make_unique<Orvane::MemoryImage>(300, 40);
        Orvane::Graphics sg(strip.get());
        sprites.SetDrawContext(0, &sg);
        for (int k = 0; k < 10; ++k) {
            sprites.DrawText((15.0f + 30.0f * static_cast<float>(k)) / 800.0f, 20.0f / 600.0f,
                             38.0f / 600.0f, kNoTint, TEXT_CENTRE, std::to_string(k));
        }
        painted["Graphics\\digits.png"] = std::move(strip);
    }
    sprites.SetDrawContext(1, &g);

    int failures = 0;
    DrawStillScreen(accelerated);
    if (!WritePngFile(screen, prefix + "-still.png")) ++failures;

    CEffect2d& fx = EffectList();
    fx.Clear();
    EffectScene scene;
    AddEffects(fx, scene);
    fx.Update();
    uint32_t elapsedMs = 0;
    for (uint32_t moment : {300u, 900u, 1500u}) {
        while (elapsedMs < moment) {
            platform.AdvanceTime(10);
            elapsedMs += 10;
            scene.followX = 0.1f + 0.8f * static_cast<float>(elapsedMs) / 2000.0f;
            scene.followY = 0.68f;
            fx.Update();
        }
        DrawEffectScreen(fx, scene, static_cast<float>(elapsedMs) / 1000.0f);
        char name[32];
        std::snprintf(name, sizeof name, "-effects-%04u.png", moment);
        if (!WritePngFile(screen, prefix + name)) ++failures;
    }
    std::printf("%d effects running at 1.5 s, score %d, bar %.2f\n", fx.Count(), scene.score,
                static_cast<double>(scene.barValue));
    sprites.SetDrawContext(0, nullptr);
    fx.Clear();
    if (windowSeconds > 0) {
        Orvane::SetPlatform(nullptr);
        if (RunWindow(windowSeconds, accelerated, fullScreen) != 0) ++failures;
    }
    sprites.DeleteAllTextures();
    Orvane::SetPlatform(nullptr);
    return failures == 0 ? 0 : 1;
}
