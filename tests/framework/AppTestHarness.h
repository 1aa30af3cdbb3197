// Shared pieces of the application and frame-loop tests: a headless platform with the manual
// clock, an application that records its hooks, a widget that counts what reaches it, and a
// music interface that remembers its volume.
#pragma once

#include "framework/app/OrvaneAppBase.h"
#include "framework/display/HeadlessDisplay.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/platform/HeadlessPlatform.h"
#include "framework/sound/MusicInterface.h"
#include "framework/widgets/Widget.h"
#include "framework/widgets/WidgetManager.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace AppTesting {

using namespace Orvane;

class RecordingMusic : public MusicInterface {
public:
    void SetVolume(double volume) override { volume_ = volume; }
    void Update() override { ++updates_; }
    void StopAllMusic() override { ++stops_; }
    double volume_ = -1.0;
    int updates_ = 0;
    int stops_ = 0;
};

class CountingWidget : public Widget {
public:
    void Update() override {
        Widget::Update();
        ++updates;
        if (dirtyEveryUpdate) MarkDirty();
    }
    void UpdateFraction(float fraction) override {
        fractions.push_back(fraction);
    }
    void Draw(Graphics& g) override {
        ++draws;
        g.SetColor(Color(10, 20, 30));
        g.FillRect(0, 0, mWidth, mHeight);
    }
    void KeyDown(int key) override { keys.push_back(key); }
    void KeyChar(char c) override { chars.push_back(c); }
    void MouseDown(int x, int y, int clickCount) override {
        clicks.push_back({x, y, clickCount});
    }
    void GotFocus() override { Widget::GotFocus(); ++gotFocus; }
    void LostFocus() override { Widget::LostFocus(); ++lostFocus; }

    struct Click { int x, y, count; };
    bool dirtyEveryUpdate = false;
    int updates = 0;
    int draws = 0;
    int gotFocus = 0;
    int lostFocus = 0;
    std::vector<float> fractions;
    std::vector<int> keys;
    std::vector<char> chars;
    std::vector<Click> clicks;
};

class TestApp : public OrvaneAppBase {
public:
    TestApp() {
        mWidth = 800;
        mHeight = 600;
        mSingleInstance = false;   // test processes run side by side
        mAutoStartLoadingThread = false;
        SetCommandLine(0, nullptr);
    }
    std::unique_ptr<MusicInterface> CreateMusicBackEnd() override {
        auto music = std::make_unique<RecordingMusic>();
        music_ = music.get();
        return music;
    }
    void ExitWithCode(int code) override { exitCodes.push_back(code); }
    void OnLoadingFinished() override {
        loadingFinishedThread = std::this_thread::get_id();
        ++loadingFinished;
    }

    HeadlessDisplay* Headless() { return static_cast<HeadlessDisplay*>(GetDisplay()); }
    RecordingMusic* Music() { return music_; }

    RecordingMusic* music_ = nullptr;
    std::vector<int> exitCodes;
    int loadingFinished = 0;
    std::thread::id loadingFinishedThread;
};

// A platform with the manual clock installed for the test's lifetime.
class AppFixture : public ::testing::Test {
protected:
    AppFixture() : platform_(HeadlessPlatform::ClockMode::Manual, configDir_.Path()) {
        SetPlatform(&platform_);
    }
    ~AppFixture() override { SetPlatform(nullptr); }

    // Initialised, loaded and running, with one full-screen widget holding the focus.
    void StartApp(TestApp& app, CountingWidget& widget) {
        app.Init();
        ASSERT_TRUE(app.mInitialized);
        app.mLoaded = true;
        app.mRunning = true;
        app.mLastTimeCheck = platform_.TimeMs();
        widget.Resize(0, 0, 800, 600);
        app.GetWidgetManager()->AddWidget(&widget);
        app.GetWidgetManager()->SetFocus(&widget);
    }

    // Runs loop steps until the manual clock reaches the time (or the loop ends).
    void RunFor(TestApp& app, uint32_t ms) {
        const uint32_t end = platform_.TimeMs() + ms;
        bool updated = false;
        int guard = 0;
        while (static_cast<int32_t>(platform_.TimeMs() - end) < 0 && !app.mShutdown) {
            if (!app.LoopStep(&updated)) break;
            ASSERT_LT(++guard, 10000000) << "the loop does not advance the clock";
        }
    }

    TestSupport::ScopedTempDir configDir_;
    HeadlessPlatform platform_;
};

}  // namespace AppTesting
