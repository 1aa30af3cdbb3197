// The SDL back-end: event translation, the letterbox mapping, and a whole start and stop of
// the application on SDL's dummy video and audio drivers.
#include "AppTestHarness.h"

#include "framework/platform/VirtualKeys.h"
#include "framework/platform/sdl/SdlPlatform.h"

#include <SDL2/SDL.h>   // the tests do not get the library's own include path

#include <cstring>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace AppTesting {
namespace {

class SdlBackEnd : public ::testing::Test {
protected:
    SdlBackEnd() : platform_(configDir_.Path()) { SetPlatform(&platform_); }
    ~SdlBackEnd() override { SetPlatform(nullptr); }

    void OpenWindow(bool fullScreen) {
        std::string error;
        ASSERT_TRUE(platform_.InitWindowSystem(error)) << error;
        WindowSettings settings;
        settings.title = "test";
        settings.fullScreen = fullScreen;
        ASSERT_TRUE(platform_.CreateMainWindow(settings, error)) << error;
    }

    std::vector<WindowMessage> Translate(const SDL_Event& event) {
        std::vector<WindowMessage> out;
        platform_.TranslateEvent(event, out);
        return out;
    }

    static SDL_Event Key(uint32_t type, SDL_Keycode sym, SDL_Scancode scancode, uint16_t mod = 0) {
        SDL_Event e;
        std::memset(&e, 0, sizeof e);
        e.type = type;
        e.key.keysym.sym = sym;
        e.key.keysym.scancode = scancode;
        e.key.keysym.mod = mod;
        return e;
    }

    TestSupport::ScopedTempDir configDir_;
    SdlPlatform platform_;
};

// Milliseconds since this process started, from the kernel's own records.
double ProcessAgeMs() {
    std::ifstream statFile("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(statFile)), {});
    // The fields after the command name (which may hold blanks) start at the last ')'.
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) {}
    const double startTicks = std::stod(field);   // field 22: start time in clock ticks
    double uptime = 0.0;
    std::ifstream("/proc/uptime") >> uptime;
    return (uptime - startTicks / static_cast<double>(sysconf(_SC_CLK_TCK))) * 1000.0;
}

// The real clocks count from the start of the program, not from the machine's boot, so game
// time (seconds in a float) keeps its millisecond resolution however long the machine has been
// up; the headless manual clock still reads whatever a test sets.
TEST(PlatformClock, RealClocksCountFromTheProgramStartAndTheManualClockIsSet) {
    TestSupport::ScopedTempDir dir;
    SdlPlatform sdl(dir.Path());
    HeadlessPlatform real(HeadlessPlatform::ClockMode::Real, dir.Path());
    const double age = ProcessAgeMs();
    for (Platform* platform : {static_cast<Platform*>(&sdl), static_cast<Platform*>(&real)}) {
        const uint32_t first = platform->TimeMs();
        EXPECT_LE(first, age + 1000.0);
        platform->SleepMs(20);
        const uint32_t second = platform->TimeMs();
        EXPECT_GE(second - first, 20u);
        EXPECT_LE(second - first, 2000u);
        EXPECT_LE(platform->TickCount() - second, 2000u);
    }

    HeadlessPlatform manual(HeadlessPlatform::ClockMode::Manual, dir.Path());
    manual.SetTime(2200000000u);
    EXPECT_EQ(manual.TimeMs(), 2200000000u);
    manual.SleepMs(15);
    EXPECT_EQ(manual.TimeMs(), 2200000015u);
}

TEST(SdlLetterbox, FitsTheLogicalScreenWithItsAspect) {
    struct Case {
        int ww, wh;
        LetterboxRect expected;
    };
    const std::vector<Case> cases = {
        {800, 600, {0, 0, 800, 600}},
        {1920, 1080, {240, 0, 1440, 1080}},
        {1024, 1280, {0, 256, 1024, 768}},
        {0, 0, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const LetterboxRect r = FitLetterbox(c.ww, c.wh, 800, 600);
        EXPECT_EQ(r.x, c.expected.x) << c.ww;
        EXPECT_EQ(r.y, c.expected.y) << c.ww;
        EXPECT_EQ(r.width, c.expected.width) << c.ww;
        EXPECT_EQ(r.height, c.expected.height) << c.ww;
    }
}

TEST_F(SdlBackEnd, KeysBecomeVirtualKeyRecords) {
    OpenWindow(false);
    auto down = Translate(Key(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A));
    ASSERT_EQ(down.size(), 1u);
    EXPECT_EQ(down[0].message, WM_KEYDOWN);
    EXPECT_EQ(down[0].wParam, 'A');
    EXPECT_EQ(down[0].window, platform_.MainWindowId());

    auto altEnter = Translate(Key(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT));
    ASSERT_EQ(altEnter.size(), 1u);   // no character while Alt is held
    EXPECT_EQ(altEnter[0].message, WM_SYSKEYDOWN);
    EXPECT_EQ(altEnter[0].wParam, VK_RETURN);

    auto backspace = Translate(Key(SDL_KEYDOWN, SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE));
    ASSERT_EQ(backspace.size(), 2u);
    EXPECT_EQ(backspace[1].message, WM_CHAR);
    EXPECT_EQ(backspace[1].wParam, 8u);

    auto up = Translate(Key(SDL_KEYUP, SDLK_F1, SDL_SCANCODE_F1));
    ASSERT_EQ(up.size(), 1u);
    EXPECT_EQ(up[0].message, WM_KEYUP);
    EXPECT_EQ(up[0].wParam, VK_F1);
}

TEST_F(SdlBackEnd, TextBecomesOneByteCharactersAndNonLatin1IsDropped) {
    OpenWindow(false);
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_TEXTINPUT;
    std::strcpy(e.text.text, "a\xC3\xA9\xE2\x82\xAC!");   // a, e-acute, euro sign, !
    const auto chars = Translate(e);
    std::vector<uint32_t> bytes;
    for (const WindowMessage& m : chars) {
        EXPECT_EQ(m.message, WM_CHAR);
        bytes.push_back(m.wParam);
    }
    EXPECT_EQ(bytes, (std::vector<uint32_t>{'a', 0xE9, '!'}));
}

TEST_F(SdlBackEnd, MouseAndWindowEventsBecomeRecords) {
    OpenWindow(false);
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.clicks = 2;
    e.button.x = 300;
    e.button.y = 200;
    auto click = Translate(e);
    ASSERT_EQ(click.size(), 1u);
    EXPECT_EQ(click[0].message, WM_LBUTTONDBLCLK);
    EXPECT_EQ(PointParamX(click[0].lParam), 300);
    EXPECT_EQ(PointParamY(click[0].lParam), 200);

    std::memset(&e, 0, sizeof e);
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = platform_.MainWindowId();
    e.window.event = SDL_WINDOWEVENT_MINIMIZED;
    auto minimised = Translate(e);
    ASSERT_EQ(minimised.size(), 1u);
    EXPECT_EQ(minimised[0].message, WM_SIZE);
    EXPECT_EQ(minimised[0].wParam, SIZE_MINIMIZED);

    e.window.event = SDL_WINDOWEVENT_CLOSE;
    auto close = Translate(e);
    ASSERT_EQ(close.size(), 1u);
    EXPECT_EQ(close[0].message, WM_CLOSE);
}

TEST(SdlWindowSize, TheStoredSizeOrTheLargestWholeMultipleThatFits) {
    struct Case {
        int areaW, areaH, storedW, storedH;
        int width, height;
    };
    const Case cases[] = {
        {2560, 1440 - 32, 0, 0, 1600, 1200},    // a large screen: twice the size
        {3840, 2160 - 32, 0, 0, 2400, 1800},
        {1920, 1080 - 32, 0, 0, 800, 600},      // twice would not fit its height
        {1024, 768 - 32, 0, 0, 800, 600},
        {640, 480, 0, 0, 800, 600},             // never below the logical size
        {1920, 1048, 1000, 700, 1000, 700},     // the player's size
        {1920, 1048, 400, 300, 400, 300},       // half the size is allowed
        {1920, 1048, 399, 300, 800, 600},       // smaller: not a usable window
        {1920, 1048, 2000, 700, 800, 600},      // larger than this desktop
        {2560, 1408, -5, 900, 1600, 1200},      // damaged store
    };
    for (const Case& c : cases) {
        int w = 0, h = 0;
        ChooseWindowSize(800, 600, c.areaW, c.areaH, c.storedW, c.storedH, w, h);
        EXPECT_EQ(w, c.width) << c.areaW << "x" << c.areaH << " stored " << c.storedW << "x" << c.storedH;
        EXPECT_EQ(h, c.height) << c.areaW << "x" << c.areaH << " stored " << c.storedW << "x" << c.storedH;
    }
}

// The player resizes the window: the size is kept for the next window and the store, and the
// pointer is mapped through the letterbox to the logical screen.
TEST_F(SdlBackEnd, AResizedWindowIsRememberedAndThePointerMapsThroughTheLetterbox) {
    OpenWindow(false);
    int w = 0, h = 0;
    ASSERT_TRUE(platform_.GetWindowedClientSize(w, h));
    EXPECT_EQ(w, 800);   // the dummy desktop (1024 x 768) fits only one multiple
    EXPECT_EQ(h, 600);
    EXPECT_TRUE(SDL_GetWindowFlags(platform_.Window()) & SDL_WINDOW_RESIZABLE);

    SDL_SetWindowSize(platform_.Window(), 1000, 500);
    std::vector<WindowMessage> records;
    platform_.PumpMessages(records);
    ASSERT_TRUE(platform_.GetWindowedClientSize(w, h));
    EXPECT_EQ(w, 1000);
    EXPECT_EQ(h, 500);

    // 1000 x 500 shows the screen at 666 x 500 between bars of 167 pixels.
    struct Point {
        int wx, wy, lx, ly;
    };
    for (const Point& p : {Point{500, 250, 400, 300}, Point{167, 0, 0, 0}, Point{832, 499, 798, 598},
                           Point{0, 100, -200, 120}}) {
        SDL_Event e;
        std::memset(&e, 0, sizeof e);
        e.type = SDL_MOUSEMOTION;
        e.motion.x = p.wx;
        e.motion.y = p.wy;
        const auto moved = Translate(e);
        ASSERT_EQ(moved.size(), 1u);
        EXPECT_EQ(moved[0].x, p.lx) << p.wx << "," << p.wy;
        EXPECT_EQ(moved[0].y, p.ly) << p.wx << "," << p.wy;
    }

    // Full screen and back: the window comes back at the player's size.
    WindowSettings settings;
    settings.title = "test";
    settings.fullScreen = true;
    std::string error;
    ASSERT_TRUE(platform_.CreateMainWindow(settings, error)) << error;
    settings.fullScreen = false;
    ASSERT_TRUE(platform_.CreateMainWindow(settings, error)) << error;
    SDL_GetWindowSize(platform_.Window(), &w, &h);
    EXPECT_EQ(w, 1000);
    EXPECT_EQ(h, 500);
}

TEST(SdlWindowStore, TheWindowSizeIsKeptInTheSettingsStore) {
    TestSupport::ScopedTempDir config;
    struct StoredApp : OrvaneAppBase {
        StoredApp() {
            mWidth = 800;
            mHeight = 600;
            mSingleInstance = false;
            mRegistryKey = "WindowStoreTest";
            SetCommandLine(0, nullptr);
        }
    };
    {
        SdlPlatform platform(config.Path());
        SetPlatform(&platform);
        StoredApp app;
        app.Init();
        ASSERT_TRUE(app.mInitialized);
        SDL_SetWindowSize(platform.Window(), 700, 450);
        std::vector<WindowMessage> records;
        platform.PumpMessages(records);
        app.SaveSettings();
        int stored = 0;
        EXPECT_TRUE(app.ReadSettingInt("WindowWidth", stored));
        EXPECT_EQ(stored, 700);
    }
    {
        SdlPlatform platform(config.Path());
        SetPlatform(&platform);
        StoredApp app;
        app.Init();
        ASSERT_TRUE(app.mInitialized);
        int w = 0, h = 0;
        SDL_GetWindowSize(platform.Window(), &w, &h);
        EXPECT_EQ(w, 700);
        EXPECT_EQ(h, 450);
    }
    SetPlatform(nullptr);
}

// A record carries the buttons held once its own event has happened, not the state SDL has
// reached by the time the events are translated.
TEST_F(SdlBackEnd, MouseRecordsCarryTheButtonsOfTheirEvent) {
    OpenWindow(false);
    auto event = [](uint32_t type, uint8_t button, uint32_t motionState = 0) {
        SDL_Event e;
        std::memset(&e, 0, sizeof e);
        e.type = type;
        if (type == SDL_MOUSEMOTION) {
            e.motion.state = motionState;
        } else {
            e.button.button = button;
            e.button.clicks = 1;
        }
        return e;
    };
    struct Step {
        SDL_Event event;
        uint32_t message;
        uint32_t buttons;
    };
    const Step steps[] = {
        {event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT), WM_LBUTTONDOWN, MK_LBUTTON},
        {event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT), WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON},
        {event(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT), WM_LBUTTONUP, MK_RBUTTON},
        {event(SDL_MOUSEMOTION, 0, SDL_BUTTON_MMASK), WM_MOUSEMOVE, MK_MBUTTON},
        {event(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE), WM_MBUTTONUP, 0},
    };
    for (const Step& step : steps) {
        const auto records = Translate(step.event);
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].message, step.message);
        EXPECT_EQ(records[0].wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON), step.buttons)
            << std::hex << step.message;
    }
}

// A stored position is kept on the desktop, 4 pixels inside its work area, however far off it
// lies; without one the window is centred.
TEST_F(SdlBackEnd, AStoredWindowPositionIsKeptInsideTheWorkArea) {
    std::string error;
    ASSERT_TRUE(platform_.InitWindowSystem(error)) << error;
    SDL_Rect usable{0, 0, 0, 0};
    ASSERT_EQ(SDL_GetDisplayUsableBounds(0, &usable), 0);
    const int right = usable.x + usable.w - 800 - 4;
    const int bottom = usable.y + usable.h - 600 - 4;
    struct Case {
        int x, y;
        int expectedX, expectedY;
    };
    const Case cases[] = {
        {-300, -50, usable.x + 4, usable.y + 4},
        {-300, 100, usable.x + 4, 100},
        {100, usable.y + usable.h - 100, 100, bottom},
        {usable.x + usable.w + 500, 80, right, 80},
        {120, 90, 120, 90},
        {-1, -1, usable.x + (usable.w - 800) / 2, usable.y + (usable.h - 600) / 2},
    };
    for (const Case& c : cases) {
        WindowSettings settings;
        settings.title = "test";
        settings.x = c.x;
        settings.y = c.y;
        ASSERT_TRUE(platform_.CreateMainWindow(settings, error)) << error;
        int x = 0, y = 0;
        SDL_GetWindowPosition(platform_.Window(), &x, &y);
        EXPECT_EQ(x, c.expectedX) << c.x << ", " << c.y;
        EXPECT_EQ(y, c.expectedY) << c.x << ", " << c.y;
    }
}

TEST_F(SdlBackEnd, StartsAndStopsTheApplicationOnDummyDrivers) {
    struct FrameCountingApp : OrvaneAppBase {
        FrameCountingApp() {
            mWidth = 800;
            mHeight = 600;
            mSingleInstance = false;
            SetCommandLine(0, nullptr);
        }
        void RunOneUpdate() override {
            OrvaneAppBase::RunOneUpdate();
            if (mUpdateCount == 30) GetWidgetManager()->MarkAllDirty();
            if (mUpdateCount >= 60) RequestShutdown();
        }
    };
    CountingWidget widget;
    widget.Resize(0, 0, 800, 600);
    {
        FrameCountingApp app;
        app.Init();
        ASSERT_TRUE(app.mInitialized);
        ASSERT_NE(app.GetDisplay(), nullptr);
        EXPECT_NE(app.GetDisplay()->ScreenImage(), nullptr);
        app.GetWidgetManager()->AddWidget(&widget);
        testing::internal::CaptureStderr();
        app.Start();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_GE(app.mUpdateCount, 60);
        EXPECT_GE(app.mDrawCount, 1);
        EXPECT_NE(err.find("Update Count  = "), std::string::npos);

        // Full screen and back on the same window.
        app.SetScreenMode(false);
        EXPECT_TRUE(platform_.IsFullScreen());
        app.SetScreenMode(true);
        EXPECT_FALSE(platform_.IsFullScreen());
        app.GetWidgetManager()->RemoveWidget(&widget);
    }
    EXPECT_GE(widget.draws, 1);
    EXPECT_EQ(platform_.Window(), nullptr);
}

}  // namespace
}  // namespace AppTesting
