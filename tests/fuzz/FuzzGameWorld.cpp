#include "FuzzGameWorld.h"

#include "FuzzSupport.h"

#include "framework/core/Random.h"
#include "support/ScriptedPlayer.h"

namespace Fuzz {

GameWorld::GameWorld()
    : platform_(Orvane::HeadlessPlatform::ClockMode::Manual, EnterWorkFolder() + "/settings"), graphics_(&screen_) {
    Orvane::SetPlatform(&platform_);
    sprites_.SetImageLoader([](const std::string& name) -> std::unique_ptr<Orvane::Image> {
        // Every picture exists: a small square, its side taken from the name.
        const int side = 8 + static_cast<int>(name.size() % 5) * 8;
        auto image = std::make_unique<Orvane::MemoryImage>(side, side);
        for (int y = 0; y < side; y += 2) image->SetPixel(y, y, 0xFF808080u);
        return image;
    });
    sprites_.SetTextLookup([](const std::string& key) { return key; });
    sprites_.SetAccelerationQuery([] { return true; });
    sprites_.SetDrawContext(1, &graphics_);
}

GameWorld& GameWorld::Shared() {
    static GameWorld world;
    return world;
}

int GameWorld::Initialize(int* argc, char*** argv) {
    Fuzz::Initialize(argc, argv);
    Shared().WriteDefaultData();
    return 0;
}

GameWorld::~GameWorld() {
    game_.reset();
    Orvane::SetPlatform(nullptr);
}

std::string GameWorld::DefaultClasses() {
    std::string xml = "<?xml version=\"1.0\"?>\n<Level>\n";
    for (int c = 0; c < 8; ++c) {
        xml += "  <ShapeClass name=\"animal" + std::to_string(c) + "\" soundEvent=\"animal_" + std::to_string(c) + "\">\n";
        for (int s = 0; s < 1 + c % 3; ++s) {
            const std::string base = "Graphics\\Shapes\\a" + std::to_string(c) + "_" + std::to_string(s);
            xml += "    <Shape mainImage=\"" + base + ".png\" maskImage=\"" + base + "_mask.png\"/>\n";
        }
        xml += "  </ShapeClass>\n";
    }
    return xml + "</Level>\n";
}

std::string GameWorld::DefaultLevel(int level) {
    static const char* const kAttributes[kLevels] = {
        "newShapeTime=\"0.1\" levelTime=\"60\" shapeClassCount=\"3\" shapeClassList=\"animal1,animal2\" "
        "lineSpeed=\"0.02\" fBugAppearanceRange=\"1000\" lineShapeCount=\"4\" fBonusAnyShapeP=\"0\" "
        "fBonusBandP=\"0\" fBonusAreaP=\"0\"",
        "newShapeTime=\"0.1\" levelTime=\"90\" shapeClassCount=\"5\" shapeClassList=\"\" lineSpeed=\"0.04\" "
        "fBugAppearanceRange=\"2\" lineShapeCount=\"11\" fBonusAnyShapeP=\"0.2\" fBonusBandP=\"0.3\" "
        "fBonusAreaP=\"0.3\"",
        "newShapeTime=\"0.1\" levelTime=\"30\" shapeClassCount=\"2\" bonusLevel=\"true\" lineSpeed=\"0.03\" "
        "fBugAppearanceRange=\"15\" lineShapeCount=\"6\" fBonusAnyShapeP=\"0.05\" fBonusBandP=\"0.25\" "
        "fBonusAreaP=\"0.25\"",
    };
    const int index = level >= 1 && level <= kLevels ? level - 1 : 0;
    return std::string("<?xml version=\"1.0\"?>\n<LevelMap ") + kAttributes[index] +
           ">\n  <ShapeCell xc=\"0.3\" yc=\"0.2\"/>\n</LevelMap>\n";
}

void GameWorld::WriteDefaultData() {
    PutFile("classes.xml", DefaultClasses());
    for (int level = 1; level <= kLevels; ++level) {
        PutFile("Levels/level_" + std::to_string(level) + ".xml", DefaultLevel(level));
    }
}

CBrindloGame& GameWorld::NewGame(int mode) {
    Orvane::SeedRandom(1);
    effects_.Clear();
    GameContext context;
    context.effects = &effects_;
    context.sprites = &sprites_;
    context.states = &states_;
    context.menuEnvironment = &menuEnvironment_;
    context.playSound = [](const std::string&) { return true; };
    context.setMusicVolume = [](float) {};
    game_.reset();
    game_ = std::make_unique<CBrindloGame>(context);
    game_->SetMode(mode);
    game_->LoadShapeClasses(CBrindloGame::kClassesFile);
    states_.Set(APPSTATE_LEVEL_MAP);
    return *game_;
}

bool GameWorld::PlayLevel(int mode, int level) {
    NewGame(mode).SetLevel(level);
    if (!game_->StartLevel()) return false;
    Play(1.5);
    return true;
}

void GameWorld::Play(double seconds) {
    ScriptedPlayer::Options pace;
    pace.placementInterval = 0.3;
    pace.carryTime = 0.05;
    ScriptedPlayer player(*game_, platform_, pace);
    const int ticks = static_cast<int>(seconds * 100.0);
    for (int i = 0; i < ticks; ++i) {
        platform_.AdvanceTime(10);
        const double now = platform_.TimeMs() / 1000.0;
        if (states_.Current() == APPSTATE_PLAYING) {
            player.Update(now);
            game_->UpdateRound(0.01f);
        } else if (states_.Current() == APPSTATE_LEVEL_COMPLETE) {
            effects_.Update();
            game_->NextLevel();
        } else {
            effects_.Update();
        }
        if ((i == ticks / 2 || i == ticks - 1) && states_.Current() == APPSTATE_PLAYING) {
            game_->DrawGameScreen();
            for (int layer = 0; layer <= CBrindloGame::kTopLayer; ++layer) effects_.Draw(layer);
        }
    }
    player.Reset();
}

}  // namespace Fuzz
