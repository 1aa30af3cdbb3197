// The preview application over the built game folder on the headless platform: it loads every
// picture behind the loading screen, shows the menu, reacts to the menu's buttons and Escape,
// and leaves a log without failures.
#include "support/TestSupport.h"

#include "app/PreviewApp.h"
#include "app/PreviewScreen.h"
#include "engine/effects/Effect2d.h"
#include "framework/platform/HeadlessPlatform.h"
#include "framework/platform/VirtualKeys.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace TestSupport;
using Orvane::HeadlessPlatform;

// The game folder seen through links, so that the run's own files (log, config.ini) land in a
// fresh folder and not in the build's game folder.
bool LinkGameFolder(const std::string& gameDir, const std::string& into) {
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(gameDir, ec)) {
        const std::string name = entry.path().filename().string();
        if (name == "applog.htm" || name == "config.ini" || name == "scores.ini") continue;
        fs::create_symlink(entry.path(), fs::path(into) / name, ec);
        if (ec) return false;
    }
    return !ec;
}

// Drives the preview from its own update steps: once loaded it clicks the buttons, opens and
// closes the options, and finally quits with Escape. Points are the menu's button centres.
class ScriptedPreview : public PreviewApp {
public:
    explicit ScriptedPreview(HeadlessPlatform& platform) : platform_(platform) {
        mSingleInstance = false;
        mIsWindowed = true;
    }

    // The manual clock moves on by a millisecond every loop step, so the loop's pacing runs
    // whether or not it chooses to sleep; a guard ends a run that never gets going.
    bool LoopStep(bool* updated) override {
        platform_.AdvanceTime(1);
        if (++loopSteps > 5'000'000) {
            timedOut = true;
            RequestShutdown();
        }
        return PreviewApp::LoopStep(updated);
    }

    void RunOneUpdate() override {
        PreviewApp::RunOneUpdate();
        if (!mLoaded) return;
        ++shownUpdates;
        switch (shownUpdates) {
        case 50:  // "Play": a title appears
            effectsBeforePlay = EffectList().Count();
            platform_.QueueMouseMove(160, 252);
            platform_.QueueMouseDown(1, 160, 252);
            platform_.QueueMouseUp(1, 160, 252);
            break;
        case 60:
            titleShown = HasTitleText();
            platform_.QueueMouseMove(160, 324);   // "Options"
            platform_.QueueMouseDown(1, 160, 324);
            platform_.QueueMouseUp(1, 160, 324);
            break;
        case 70:
            optionsOpened = OptionsShown();
            platform_.QueueKeyDown(Orvane::VK_ESCAPE);   // closes the options only
            platform_.QueueKeyUp(Orvane::VK_ESCAPE);
            break;
        case 80:
            optionsClosedByEscape = !OptionsShown() && !mShutdown;
            break;
        case 200:
            platform_.QueueKeyDown(Orvane::VK_ESCAPE);   // quits
            platform_.QueueKeyUp(Orvane::VK_ESCAPE);
            break;
        case 600:
            timedOut = true;   // Escape did not quit: end anyway
            RequestShutdown();
            break;
        default:
            break;
        }
    }

    bool HasTitleText() const {
        for (int i = 0; i < EffectList().Count(); ++i) {
            if (EffectList().Effect(i).kind == EFFECT_TITLE_TEXT) return true;
        }
        return false;
    }

    long loopSteps = 0;
    int shownUpdates = 0;
    int effectsBeforePlay = -1;
    bool titleShown = false;
    bool optionsOpened = false;
    bool optionsClosedByEscape = false;
    bool timedOut = false;

private:
    HeadlessPlatform& platform_;
};

TEST(PreviewApp, LoadsTheGameFolderShowsTheMenuAndQuitsOnEscape) {
    const std::string gameDir = GameDir();
    if (gameDir.empty() || !FileExists(gameDir + "/Graphics/back_menu.jpg") ||
        !FileExists(gameDir + "/language.ini")) {
        GTEST_SKIP() << "the game folder has no content";
    }
    ScopedTempDir dir;
    ASSERT_TRUE(LinkGameFolder(gameDir, dir.Path()));
    ScopedCwd cwd(dir.Path());

    HeadlessPlatform platform(HeadlessPlatform::ClockMode::Manual, dir / "settings");
    Orvane::SetPlatform(&platform);
    int imagesToLoad = 0, imagesLoaded = 0, percent = 0;
    size_t paradeLength = 0;
    bool ready = false, menusLoaded = false;
    std::string title;
    {
        ScriptedPreview app(platform);
        Orvane::SetApp(&app);
        const char* argv[] = {"nookvale"};
        app.SetCommandLine(1, argv);
        app.Init();
        app.Start();

        imagesToLoad = app.ImagesToLoad();
        imagesLoaded = app.ImagesLoaded();
        percent = app.LoadingPercent();
        ready = app.ResourcesReady();
        menusLoaded = app.MenusLoaded();
        title = app.mTitle;
        paradeLength = app.Screen() ? app.Screen()->ParadeAnimals().size() : 0;
        EXPECT_FALSE(app.timedOut);
        EXPECT_TRUE(app.titleShown) << "Play shows the title text";
        EXPECT_TRUE(app.optionsOpened);
        EXPECT_TRUE(app.optionsClosedByEscape);
        EXPECT_GE(app.shownUpdates, 200) << "about two seconds of the shown menu";
        Orvane::SetApp(nullptr);
    }
    Orvane::SetPlatform(nullptr);

    EXPECT_TRUE(ready);
    EXPECT_TRUE(menusLoaded);
    EXPECT_EQ(title, "Nookvale");
    EXPECT_GT(imagesToLoad, 0);
    EXPECT_EQ(imagesLoaded, imagesToLoad);
    EXPECT_EQ(percent, 100);
    EXPECT_GT(paradeLength, 0u);

    const std::string log = ReadFile(dir / "applog.htm");
    EXPECT_NE(log.find("*** SESSION STARTED ***"), std::string::npos);
    EXPECT_NE(log.find("*** Session finished ***"), std::string::npos);
    EXPECT_NE(log.find("Loading XML menu:  'Menu\\menu-preview.xml' ... OK"), std::string::npos);
    EXPECT_EQ(log.find("FAILED"), std::string::npos) << log.substr(0, 4000);
    // The symbol font was read.
    EXPECT_NE(log.find("English\\font01.png"), std::string::npos);
}

}  // namespace
