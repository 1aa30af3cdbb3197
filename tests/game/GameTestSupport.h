// The game tests' world: a manual clock and scripted cursor and buttons on the headless
// platform, a temporary working folder holding small data files written by the test, a sprite
// registry whose pictures come from memory, an effect list and application states of the
// test's own, and every sound event recorded by name.
#pragma once

#include "engine/effects/Effect2d.h"
#include "engine/sprites/SpriteManager.h"
#include "framework/core/Random.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/platform/HeadlessPlatform.h"
#include "game/BrindloGame.h"
#include "menu/CMenu.h"
#include "menu/MenuEnvironment.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace GameTest {

// classes.xml with classes "animal0".. of shapes pictures "Graphics\Shapes\a<c>_<s>.png".
inline std::string ClassesXml(int classes, int shapes) {
    std::string xml = "<?xml version=\"1.0\"?>\n<Level>\n";
    for (int c = 0; c < classes; ++c) {
        xml += "  <ShapeClass name=\"animal" + std::to_string(c) + "\" soundEvent=\"animal_" +
               std::to_string(c) + "\">\n";
        for (int s = 0; s < shapes; ++s) {
            const std::string base = "Graphics\\Shapes\\a" + std::to_string(c) + "_" + std::to_string(s);
            xml += "    <Shape mainImage=\"" + base + ".png\" maskImage=\"" + base + "_mask.png\"/>\n";
        }
        xml += "  </ShapeClass>\n";
    }
    return xml + "</Level>\n";
}

// A level file: the LevelMap element with the given attributes (and a few ShapeCells).
inline std::string LevelXml(const std::string& attributes) {
    return "<?xml version=\"1.0\"?>\n<LevelMap " + attributes +
           ">\n  <ShapeCell xc=\"0.3\" yc=\"0.2\"/>\n  <ShapeCell xc=\"0.4\" yc=\"0.2\"/>\n</LevelMap>\n";
}

// A plain playable level: two classes, two cells per line, a minute, no bonuses, no bug.
inline constexpr const char* kSmallLevel =
    "newShapeTime=\"0.1\" levelTime=\"60\" shapeClassCount=\"2\" shapeClassList=\"\" "
    "lineSpeed=\"0.02\" fBugAppearanceRange=\"1000\" lineShapeCount=\"2\" "
    "fBonusAnyShapeP=\"0\" fBonusBandP=\"0\" fBonusAreaP=\"0\"";

class GameFixture : public ::testing::Test {
protected:
    GameFixture()
        : cwd_(dir_.Path()),
          platform_(Orvane::HeadlessPlatform::ClockMode::Manual, (dir_ / "config")),
          installed_(&platform_),
          graphics_(&screen_) {
        Orvane::SeedRandom(12345);
        sprites_.SetImageLoader([this](const std::string& name) -> std::unique_ptr<Orvane::Image> {
            ++loads_[name];
            if (missingPictures_) return nullptr;
            Picture picture{71, 71, defaultPicture_};
            if (auto it = pictures_.find(name); it != pictures_.end()) picture = it->second;
            auto image = std::make_unique<Orvane::MemoryImage>(picture.width, picture.height);
            const int bottom = picture.bandBottom < 0 ? picture.height : picture.bandBottom;
            for (int y = picture.bandTop; y < bottom; ++y) {
                for (int x = 0; x < picture.width; ++x) image->SetPixel(x, y, picture.argb);
            }
            return image;
        });
        sprites_.SetTextLookup([](const std::string&) { return std::string(); });
        sprites_.SetAccelerationQuery([] { return false; });
        sprites_.SetDrawContext(1, &graphics_);
        std::filesystem::create_directories(dir_ / "Levels");
        WriteClasses(6, 3);
    }
    ~GameFixture() override {
        game_.reset();
        Orvane::SetPlatform(nullptr);
    }

    void WriteClasses(int classes, int shapes) {
        TestSupport::WriteFile(dir_ / "classes.xml", ClassesXml(classes, shapes));
    }
    // The level map: the start button, then stage buttons 1..7 along the bottom.
    void WriteMapMenu() {
        std::string xml = "<Screen xc=\"0.5\" yc=\"0.5\" width=\"1\" height=\"1\">\n"
                          "<Button name=\"btnStart\" xc=\"0.5\" yc=\"0.1\" width=\"0.1\" height=\"0.05\" action=\"procStart\"/>\n";
        for (int k = 1; k <= 7; ++k) {
            xml += "<Button name=\"btnStage" + std::to_string(k) + "\" xc=\"" + std::to_string(0.1 * k) +
                   "\" yc=\"0.8\" width=\"0.06\" height=\"0.08\" action=\"procStage" + std::to_string(k) + "\"/>\n";
        }
        std::filesystem::create_directories(dir_ / "Menu");
        TestSupport::WriteFile(dir_ / "Menu/menu-map.xml", xml + "</Screen>\n");
        TestSupport::WriteFile(dir_ / "Menu/menu-ingame.xml",
                               "<Screen xc=\"0.5\" yc=\"0.5\" width=\"1\" height=\"1\">"
                               "<Text name=\"txtLevelNum\" xc=\"0.11\" yc=\"0.25\" size=\"0.05\"/>"
                               "<Text name=\"txtScoreNum\" xc=\"0.11\" yc=\"0.4\" size=\"0.05\"/>"
                               "<Text name=\"txtTimeNum\" xc=\"0.11\" yc=\"0.55\" size=\"0.05\"/>"
                               "<Text name=\"txtMeterBar\" xc=\"0.11\" yc=\"0.69\" size=\"0.05\"/></Screen>");
    }
    void WriteLevel(int level, const std::string& attributes) {
        TestSupport::WriteFile(dir_ / ("Levels/level_" + std::to_string(level) + ".xml"), LevelXml(attributes));
    }

    // The controller over this world, its classes loaded.
    CBrindloGame& MakeGame(int mode = MODE_CLASSIC) {
        GameContext context;
        context.effects = &effects_;
        context.sprites = &sprites_;
        context.states = &states_;
        context.menuEnvironment = &menuEnvironment_;
        context.playSound = [this](const std::string& name) {
            sounds_.push_back(name);
            return true;
        };
        context.setMusicVolume = [this](float v) { musicVolume_ = v; };
        game_ = std::make_unique<CBrindloGame>(context);
        game_->SetMode(mode);
        game_->LoadShapeClasses("classes.xml");
        return *game_;
    }

    // Starts a level from the map and runs it until play begins (the intro over).
    void StartAndPlay(int level) {
        states_.Set(APPSTATE_LEVEL_MAP);
        game_->SetLevel(level);
        ASSERT_TRUE(game_->StartLevel());
        for (int i = 0; i < 2000 && game_->RoundState() != CBrindloGame::ROUND_PLAYING; ++i) Tick();
        ASSERT_EQ(game_->RoundState(), CBrindloGame::ROUND_PLAYING);
    }

    double Now() { return platform_.TimeMs() / 1000.0; }
    // One update of 10 ms: the clock moves, the player acts, the round updates while playing.
    void Tick(uint32_t ms = 10) {
        platform_.AdvanceTime(ms);
        if (player_) player_(Now());
        if (states_.Current() == APPSTATE_PLAYING) game_->UpdateRound(static_cast<float>(ms) / 1000.0f);
    }
    void RunFor(double seconds) {
        const int ticks = static_cast<int>(seconds * 100.0 + 0.5);
        for (int i = 0; i < ticks; ++i) Tick();
    }
    // Runs until the state leaves playing (or the time is up); true when it did.
    bool RunUntilNotPlaying(double seconds) {
        const int ticks = static_cast<int>(seconds * 100.0);
        for (int i = 0; i < ticks && states_.Current() == APPSTATE_PLAYING; ++i) Tick();
        return states_.Current() != APPSTATE_PLAYING;
    }
    // Runs the effect list until it is empty (at most the given time).
    void DrainEffects(double seconds = 10.0) {
        for (int i = 0; i < static_cast<int>(seconds * 100.0) && !effects_.IsEmpty(); ++i) {
            platform_.AdvanceTime(10);
            effects_.Update();
        }
    }

    void PointAt(float x, float y) {
        platform_.SetCursorPosition(static_cast<int>(x * 800.0f + 0.5f), static_cast<int>(y * 600.0f + 0.5f));
    }
    void Buttons(uint32_t buttons) { platform_.SetButtonState(buttons); }

    int Played(const std::string& name) const {
        return static_cast<int>(std::count(sounds_.begin(), sounds_.end(), name));
    }
    std::string Log() const { return TestSupport::ReadFile(dir_ / "applog.htm"); }

    struct PlatformInstaller {
        explicit PlatformInstaller(Orvane::Platform* p) { Orvane::SetPlatform(p); }
    };

    TestSupport::ScopedTempDir dir_;
    TestSupport::ScopedCwd cwd_;
    Orvane::HeadlessPlatform platform_;
    PlatformInstaller installed_;
    Orvane::MemoryImage screen_{800, 600};
    Orvane::Graphics graphics_;
    CSpriteManager sprites_;
    EngineMenuEnvironment menuEnvironment_{&sprites_};
    std::vector<std::string> sounds_;
    CEffect2d effects_{sprites_, [this](const std::string& name) {
                           sounds_.push_back(name);
                           return true;
                       }};
    AppStates states_;
    std::unique_ptr<CBrindloGame> game_;
    std::function<void(double)> player_;
    std::map<std::string, int> loads_;
    struct Picture {
        int width;
        int height;
        uint32_t argb;
        int bandTop = 0;       // only these rows are painted (the rest transparent)
        int bandBottom = -1;   // -1: to the bottom
    };
    std::map<std::string, Picture> pictures_;   // pictures by name; the rest are default
    uint32_t defaultPicture_ = 0xFF808080u;
    bool missingPictures_ = false;
    float musicVolume_ = -1.0f;
};

}  // namespace GameTest
