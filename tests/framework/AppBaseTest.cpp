// The application object: defaults, start-up, settings, command line, volumes and the end
// of a run.
#include "AppTestHarness.h"

#include <atomic>
#include <climits>
#include <cstdlib>
#include <unistd.h>

namespace AppTesting {
namespace {

using AppBase = AppFixture;

std::string CurrentFolder() {
    char buffer[PATH_MAX];
    return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}

TEST_F(AppBase, ConstructionDefaults) {
    OrvaneAppBase app;
    EXPECT_EQ(app.mProductName, "Product");
    EXPECT_EQ(app.mTitle, "OrvaneApp");
    EXPECT_TRUE(app.mRegistryKey.empty());
    EXPECT_EQ(app.mWidth, 640);
    EXPECT_EQ(app.mHeight, 480);
    EXPECT_TRUE(app.mIsWindowed);
    EXPECT_EQ(app.mPreferredX, -1);
    EXPECT_EQ(app.mFrameTime, 10);
    EXPECT_DOUBLE_EQ(app.mUpdateMultiplier, 1.0);
    EXPECT_DOUBLE_EQ(app.GetMusicVolume(), 0.85);
    EXPECT_DOUBLE_EQ(app.GetSfxVolume(), 0.85);
    EXPECT_TRUE(app.mMuteOnLostFocus);
    EXPECT_TRUE(app.mAutoStartLoadingThread);
    EXPECT_FALSE(app.IsMuted());
    EXPECT_EQ(app.GetString("DIALOG_BUTTON_OK", ""), "OK");
}

TEST_F(AppBase, CommandLineSwitches) {
    struct Case {
        std::string line;
        std::string changeDir;
        bool refused;
    };
    const std::vector<Case> cases = {
        {"", "", false},
        {"-changedir=/srv/game", "/srv/game", false},
        {"-changedir=\"/srv/my game\"", "/srv/my game", false},
        {"\"-changedir=/a b\" -screensaver", "/a b", false},
        {"-crash -play -playnum=3 -recnum=2 -record -demofile=x.dmo", "", false},
        {"-changedir=/x=y", "/x=y", false},
        {"-bogus", "", true},
        {"-screensaver -Changedir=/x", "", true},   // names are exact
    };
    for (const Case& c : cases) {
        TestApp app;
        app.SplitCommandLine(c.line);
        EXPECT_EQ(app.mChangeDirTo, c.changeDir) << c.line;
        EXPECT_EQ(!app.exitCodes.empty(), c.refused) << c.line;
        if (c.refused) {
            EXPECT_EQ(app.exitCodes.front(), 0);
            ASSERT_FALSE(platform_.MessageBoxes().empty());
            EXPECT_NE(platform_.MessageBoxes().back().find("Invalid command line parameter: -"),
                      std::string::npos);
        }
    }
}

TEST_F(AppBase, HelpAndVersionPrintAndEndWithCodeZero) {
    for (const char* which : {"--help", "--version"}) {
        TestApp app;
        app.mProductName = "Nookvale";
        app.mProductVersion = "2.1";
        ::testing::internal::CaptureStdout();
        app.SplitCommandLine(std::string("-crash ") + which + " -changedir=/later");
        const std::string out = ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(app.exitCodes, std::vector<int>{0}) << which;
        EXPECT_TRUE(platform_.MessageBoxes().empty()) << which;
        EXPECT_TRUE(app.mChangeDirTo.empty()) << which;   // nothing after it is applied
        if (std::string(which) == "--version") {
            EXPECT_EQ(out, "Nookvale 2.1\n");
        } else {
            EXPECT_EQ(out.rfind("Usage: nookvale [-changedir=FOLDER]\n", 0), 0u) << out;
            EXPECT_NE(out.find("--version"), std::string::npos);
        }
    }
}

TEST_F(AppBase, ProcessArgumentsKeepWordsWithBlanksTogether) {
    TestApp app;
    const char* argv[] = {"nookvale", "-changedir=/tmp/with blank", "-crash"};
    app.SetCommandLine(3, argv);
    app.ReadCommandLine();
    EXPECT_EQ(app.mChangeDirTo, "/tmp/with blank");
    EXPECT_TRUE(app.exitCodes.empty());
}

// Start-up paths that end the process: run in a child by the death tests.
void InitWithArguments(int argc, const char* const* argv, const char* windowFailure) {
    HeadlessPlatform platform;
    SetPlatform(&platform);
    if (windowFailure) platform.FailNextWindow(windowFailure);
    OrvaneAppBase app;
    app.mSingleInstance = false;
    app.SetCommandLine(argc, argv);
    app.Init();
    std::exit(99);
}

TEST(AppBaseDeath, UnknownSwitchEndsTheProgramWithItsMessage) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const char* argv[] = {"nookvale", "-nonsense=1"};
    EXPECT_EXIT(InitWithArguments(2, argv, nullptr), ::testing::ExitedWithCode(0),
                "Invalid command line parameter: -nonsense");
}

TEST(AppBaseDeath, DisplayFailureEndsWithCodeOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const char* argv[] = {"nookvale"};
    EXPECT_EXIT(InitWithArguments(1, argv, "no screen here"), ::testing::ExitedWithCode(1),
                "Failed to initialize DirectDraw: no screen here");
}

// A fatal exit while the cursor thread runs: the display is freed only once the thread that
// moves the software cursor through it has ended.
void ExitWhileTheCursorThreadRuns() {
    struct WatchedDisplay : HeadlessDisplay {
        const std::atomic<bool>* cursorThreadRunning = nullptr;
        ~WatchedDisplay() override {
            if (cursorThreadRunning && *cursorThreadRunning) std::_Exit(99);
        }
    };
    struct WatchingPlatform : HeadlessPlatform {
        const std::atomic<bool>* watched = nullptr;
        std::unique_ptr<Display> CreateDisplay() override {
            auto display = std::make_unique<WatchedDisplay>();
            display->cursorThreadRunning = watched;
            return display;
        }
    };
    struct CursorApp : OrvaneAppBase {
        CursorApp() {
            mSingleInstance = false;
            SetCommandLine(0, nullptr);
        }
        const std::atomic<bool>& CursorThreadRunning() const { return mCursorThreadRunning; }
        using OrvaneAppBase::StartCursorThread;
    };
    WatchingPlatform platform;
    SetPlatform(&platform);
    CursorApp app;
    platform.watched = &app.CursorThreadRunning();
    app.Init();
    app.StartCursorThread();
    app.ExitWithCode(7);
}

TEST(AppBaseDeath, AFatalExitStopsTheCursorThreadBeforeFreeingTheDisplay) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(ExitWhileTheCursorThreadRuns(), ::testing::ExitedWithCode(7), "");
}

TEST_F(AppBase, InitChangesTheFolderBeforeOpeningThePackAndBringsUpWindowAndDisplay) {
    TestSupport::ScopedTempDir dataDir;
    TestSupport::ScopedCwd keep(CurrentFolder());
    TestApp app;
    app.mTitle = "Nookvale";
    const std::string arg = "-changedir=" + dataDir.Path();
    const char* argv[] = {"nookvale", arg.c_str()};
    app.SetCommandLine(2, argv);
    app.Init();

    ASSERT_TRUE(app.mInitialized);
    char resolved[PATH_MAX];
    ASSERT_NE(realpath(dataDir.Path().c_str(), resolved), nullptr);
    EXPECT_EQ(CurrentFolder(), resolved);
    EXPECT_TRUE(platform_.WindowCreated());
    EXPECT_EQ(platform_.LastWindowSettings().title, "Nookvale");
    EXPECT_EQ(platform_.LastWindowSettings().width, 800);
    ASSERT_NE(app.GetDisplay(), nullptr);
    ASSERT_NE(app.GetDisplay()->ScreenImage(), nullptr);
    EXPECT_EQ(app.GetWidgetManager()->GetScreenImage(),
              static_cast<Image*>(app.GetDisplay()->ScreenImage()));
    EXPECT_DOUBLE_EQ(app.Music()->volume_, 0.85);
    EXPECT_TRUE(app.exitCodes.empty());
}

TEST_F(AppBase, AWindowThatDoesNotFitRunsFullScreen) {
    platform_.SetFullScreenClientSize(1024, 560);
    TestApp app;
    app.Init();
    EXPECT_FALSE(app.mIsWindowed);
    EXPECT_TRUE(app.mForceFullScreen);
    EXPECT_TRUE(platform_.LastWindowSettings().fullScreen);
    // Forced full screen: a windowed request stays full screen.
    app.SetScreenMode(true);
    EXPECT_FALSE(app.mIsWindowed);
}

TEST_F(AppBase, UnavailableFullScreenFallsBackToAWindow) {
    TestApp app;
    app.Init();
    ASSERT_TRUE(app.mInitialized);
    app.Headless()->FailNextInit(Display::Result::ModeUnavailable);
    app.SetScreenMode(false);
    EXPECT_TRUE(app.mIsWindowed);
    EXPECT_FALSE(platform_.LastWindowSettings().fullScreen);
    EXPECT_TRUE(app.exitCodes.empty());
    EXPECT_EQ(app.Headless()->InitCount(), 3);   // start, full screen refused, window again
}

TEST_F(AppBase, SettingsAreReadAndWrittenUnderTheRegistryKey) {
    {
        TestApp app;
        app.mRegistryKey = "NookvaleTest";
        ASSERT_TRUE(app.WriteSettingInt("MusicVolume", 40));
        int probe = 0;
        if (!app.ReadSettingInt("MusicVolume", probe)) {
            GTEST_SKIP() << "the settings store keeps nothing yet";
        }
        app.WriteSettingInt("SfxVolume", 70);
        app.WriteSettingInt("Muted", 1);
        app.WriteSettingInt("ScreenMode", 1);
        app.WriteSettingInt("PreferredX", 120);
        app.WriteSettingInt("PreferredY", 80);
        app.WriteSettingInt("InProgress", 1);   // the last run did not end cleanly
        app.LoadSettings();
        EXPECT_DOUBLE_EQ(app.GetMusicVolume(), 0.40);
        EXPECT_DOUBLE_EQ(app.GetSfxVolume(), 0.70);
        EXPECT_TRUE(app.IsMuted());
        EXPECT_FALSE(app.mIsWindowed);
        EXPECT_EQ(app.mPreferredX, 120);
        EXPECT_FALSE(app.mLastShutdownWasGraceful);

        // The automatic focus mute is not remembered; the user's mute is.
        app.Unmute(false);
        app.Mute(true);
        app.SetMusicVolume(0.555);
        app.mIsWindowed = true;
        app.SaveSettings();
    }
    TestApp app;
    app.mRegistryKey = "NookvaleTest";
    int value = -1;
    ASSERT_TRUE(app.ReadSettingInt("Muted", value));
    EXPECT_EQ(value, 0);
    ASSERT_TRUE(app.ReadSettingInt("MusicVolume", value));
    EXPECT_EQ(value, 55);
    ASSERT_TRUE(app.ReadSettingInt("ScreenMode", value));
    EXPECT_EQ(value, 0);
    ASSERT_TRUE(app.ReadSettingInt("InProgress", value));
    EXPECT_EQ(value, 0);
}

TEST_F(AppBase, VolumesAreSilencedWhileMutedAndMuteCountsStack) {
    TestApp app;
    app.Init();
    app.SetMusicVolume(0.5);
    EXPECT_DOUBLE_EQ(app.Music()->volume_, 0.5);
    app.Mute(false);
    app.Mute(true);
    app.SetMusicVolume(0.6);
    EXPECT_DOUBLE_EQ(app.Music()->volume_, 0.0);
    EXPECT_DOUBLE_EQ(app.GetMusicVolume(), 0.6);
    app.Unmute(true);
    EXPECT_TRUE(app.IsMuted());
    app.Unmute(false);
    app.Unmute(false);   // never below zero
    EXPECT_FALSE(app.IsMuted());
    EXPECT_DOUBLE_EQ(app.Music()->volume_, 0.6);
    app.Mute(false);
    EXPECT_TRUE(app.IsMuted());
}

TEST_F(AppBase, StartRunsLoadingOffTheMainThreadAndReportsStatistics) {
    struct LoadingApp : TestApp {
        std::thread::id loadThread;
        void LoadResources() override {
            loadThread = std::this_thread::get_id();
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
        }
        void RunOneUpdate() override {
            TestApp::RunOneUpdate();
            if (mLoaded && mUpdateCount > 50) RequestShutdown();
        }
    };
    LoadingApp app;
    app.mAutoStartLoadingThread = true;
    app.Init();
    testing::internal::CaptureStderr();
    app.Start();
    const std::string err = testing::internal::GetCapturedStderr();

    EXPECT_EQ(app.loadingFinished, 1);
    EXPECT_EQ(app.loadingFinishedThread, std::this_thread::get_id());
    EXPECT_NE(app.loadThread, std::this_thread::get_id());
    EXPECT_FALSE(app.mYieldMainThread);
    EXPECT_FALSE(app.mRunning);
    EXPECT_TRUE(platform_.WindowShown() == false);   // hidden at shutdown
    for (const char* line : {"Resource Loading Time: ", "Seconds       = ", "Sleep Count   = ",
                             "Update Count  = ", "Draw Count    = ", "Draw Time     = ",
                             "Screen Blt    = "}) {
        EXPECT_NE(err.find(line), std::string::npos) << line;
    }
}

// Hardware acceleration on and off: the display comes up again in the other mode, images are
// restored, everything is redrawn in that mode, the choice is stored; a 3D mode that does not
// come up falls back to 2D, and a display that does not come up at all ends the program.
TEST_F(AppBase, HardwareAccelerationSwitchesTheDisplayAndFallsBackWhenItFails) {
    struct RestoringApp : TestApp {
        int restores = 0;
        void RestoreImages() override { ++restores; }
    };
    struct ModeWidget : CountingWidget {
        bool drewAccelerated = false;
        void Draw(Graphics& g) override {
            CountingWidget::Draw(g);
            drewAccelerated = g.IsAccelerated();
        }
    };
    RestoringApp app;
    app.mRegistryKey = "NookvaleTest";
    ModeWidget widget;
    StartApp(app, widget);
    RunFor(app, 100);
    ASSERT_FALSE(app.IsHardwareAccelerated());
    EXPECT_FALSE(widget.drewAccelerated);
    const int inits = app.Headless()->InitCount();
    const int restores = app.restores;
    const int draws = widget.draws;
    bool stored = false;

    app.SetHardwareAcceleration(true, true);
    EXPECT_TRUE(app.IsHardwareAccelerated());
    EXPECT_EQ(app.Headless()->InitCount(), inits + 1);
    EXPECT_EQ(app.restores, restores + 1);
    EXPECT_TRUE(widget.IsDirty());
    RunFor(app, 50);
    EXPECT_GT(widget.draws, draws);
    EXPECT_TRUE(widget.drewAccelerated);
    EXPECT_TRUE(app.ReadSettingBool("Is3D", stored) && stored);

    app.SetHardwareAcceleration(true, true);   // no change: nothing is done
    EXPECT_EQ(app.Headless()->InitCount(), inits + 1);
    app.SetHardwareAcceleration(false, false);   // stored, the display left as it is
    EXPECT_FALSE(app.IsHardwareAccelerated());
    EXPECT_EQ(app.Headless()->InitCount(), inits + 1);

    app.Headless()->FailNextInit(Display::Result::Failed);
    app.SetHardwareAcceleration(true, true);
    EXPECT_FALSE(app.IsHardwareAccelerated());
    EXPECT_EQ(app.Headless()->InitCount(), inits + 3);
    ASSERT_NE(app.GetDisplay()->ScreenImage(), nullptr);
    EXPECT_EQ(app.GetWidgetManager()->GetScreenImage(),
              static_cast<Image*>(app.GetDisplay()->ScreenImage()));
    EXPECT_TRUE(app.ReadSettingBool("Is3D", stored) && !stored);
    EXPECT_TRUE(app.exitCodes.empty());
    RunFor(app, 50);
    EXPECT_FALSE(widget.drewAccelerated);

    app.SetHardwareAcceleration(true, true);
    ASSERT_TRUE(app.IsHardwareAccelerated());
    app.Headless()->FailNextInit(Display::Result::Failed);
    app.SetHardwareAcceleration(false, true);
    EXPECT_EQ(app.exitCodes, std::vector<int>{1});
    ASSERT_FALSE(platform_.MessageBoxes().empty());
    EXPECT_NE(platform_.MessageBoxes().back().find("Failed to initialize DirectDraw: "),
              std::string::npos);
}

// The loading thread adds the loading screen and marks it dirty after every picture, as the
// game does, while the main thread runs the loop and draws it: the marks reach the screen
// through the tree's own thread (a thread sanitizer run of this test stays quiet).
TEST_F(AppBase, TheLoadingThreadsProgressMarksRedrawTheLoadingScreen) {
    struct ProgressApp : TestApp {
        CountingWidget screen;
        std::atomic<int> marks{0};
        int drawsWhileLoading = 0;
        void LoadResources() override {
            screen.Resize(0, 0, 800, 600);
            GetWidgetManager()->AddWidget(&screen);
            GetWidgetManager()->SetFocus(&screen);
            for (int i = 0; i < 100; ++i) {
                screen.MarkDirty();
                ++marks;
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        }
        void OnLoadingFinished() override {
            TestApp::OnLoadingFinished();
            drawsWhileLoading = screen.draws;
        }
        void RunOneUpdate() override {
            TestApp::RunOneUpdate();
            if (mLoaded && mUpdateCount > 30) RequestShutdown();
        }
    };
    ProgressApp app;
    app.mAutoStartLoadingThread = true;
    app.Init();
    app.Start();   // its statistics stay on standard error, beside any sanitizer report

    EXPECT_EQ(app.marks, 100);
    EXPECT_EQ(app.loadingFinished, 1);
    EXPECT_TRUE(app.GetWidgetManager()->HasWidget(&app.screen));
    EXPECT_EQ(app.GetWidgetManager()->GetFocusWidget(), &app.screen);
    EXPECT_GE(app.drawsWhileLoading, 2);
    app.GetWidgetManager()->RemoveWidget(&app.screen);
}

TEST_F(AppBase, WindowIconComesFromAPictureAndDamagedFilesAreRefused) {
    TestSupport::ScopedTempDir dir;
    TestSupport::ScopedCwd cwd(dir.Path());
    // A 2 x 2 uncompressed 32-bit TGA, and one cut short.
    std::vector<uint8_t> tga = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 32, 8};
    for (int i = 0; i < 4; ++i) tga.insert(tga.end(), {0x20, 0x40, 0x80, 0xFF});
    ASSERT_TRUE(TestSupport::WriteFile(dir / "icon.tga", tga));
    tga.resize(20);
    ASSERT_TRUE(TestSupport::WriteFile(dir / "broken.tga", tga));

    TestApp app;
    EXPECT_FALSE(app.SetWindowIconFromFile("broken.tga"));
    EXPECT_FALSE(app.SetWindowIconFromFile("missing.png"));
    EXPECT_EQ(platform_.IconWidth(), 0);
    EXPECT_TRUE(app.SetWindowIconFromFile("icon.tga"));
    EXPECT_EQ(platform_.IconWidth(), 2);
}

TEST_F(AppBase, UrlFilesOpenOnlyWebAndMailAddresses) {
    TestSupport::ScopedTempDir dir;
    struct Case {
        const char* content;
        bool opens;
    };
    const std::vector<Case> cases = {
        {"[InternetShortcut]\r\nURL=https://example.org/play\r\n", true},
        {"[internetshortcut]\nurl = http://example.org\n", true},
        {"[Other]\nURL=https://example.org\n", false},
        {"[InternetShortcut]\nURL=file:///usr/bin/xterm\n", false},
        {"[InternetShortcut]\nURL=\n", false},
        {"garbage\x01\x02", false},
    };
    int i = 0;
    for (const Case& c : cases) {
        const std::string path = dir / ("f" + std::to_string(i++) + ".url");
        TestSupport::WriteFile(path, std::string(c.content));
        EXPECT_EQ(platform_.OpenUrlFile(path), c.opens) << c.content;
    }
    EXPECT_FALSE(platform_.OpenUrlFile(dir / "missing.url"));
    EXPECT_EQ(platform_.OpenedUrls().size(), 2u);
}

}  // namespace
}  // namespace AppTesting
