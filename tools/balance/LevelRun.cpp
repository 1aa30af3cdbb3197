// The world of one balance run - platform, sprite registry, effect list, application states and
// the controller - and the level played in it, tick by tick as the game's widget would drive it.
#include "LevelRun.h"

#include "engine/effects/Effect2d.h"
#include "engine/sprites/SpriteManager.h"
#include "framework/core/Random.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/platform/HeadlessPlatform.h"
#include "framework/platform/VirtualKeys.h"
#include "framework/platform/WindowMessage.h"
#include "game/AppStates.h"
#include "game/BrindloGame.h"
#include "menu/MenuEnvironment.h"
#include "support/ScriptedPlayer.h"

#include <memory>
#include <string>

namespace {

constexpr uint32_t kTickMs = 10;            // one update of the frame loop
constexpr uint32_t kStartMs = 100000;       // the clock's reading when a run begins
constexpr double kBonusLevelLimit = 900.0;  // seconds a level without a clock may take
constexpr double kIntroLimit = 30.0;        // seconds the fade and intro may take

struct PlatformInstaller {
    explicit PlatformInstaller(Orvane::Platform* platform) { Orvane::SetPlatform(platform); }
    ~PlatformInstaller() { Orvane::SetPlatform(nullptr); }
    PlatformInstaller(const PlatformInstaller&) = delete;
    PlatformInstaller& operator=(const PlatformInstaller&) = delete;
};

class World {
public:
    World()
        : platform_(Orvane::HeadlessPlatform::ClockMode::Manual, "settings"),
          installed_(&platform_),
          effects_(sprites_, [this](const std::string& name) { return Heard(name); }) {
        platform_.SetTime(kStartMs);
        // Every picture is a plain square of the shapes' size: nothing is drawn.
        sprites_.SetImageLoader([](const std::string&) -> std::unique_ptr<Orvane::Image> {
            return std::make_unique<Orvane::MemoryImage>(71, 71);
        });
        sprites_.SetTextLookup([](const std::string&) { return std::string(); });
        sprites_.SetAccelerationQuery([] { return false; });
        GameContext context;
        context.effects = &effects_;
        context.sprites = &sprites_;
        context.states = &states_;
        context.menuEnvironment = &menuEnvironment_;
        context.playSound = [this](const std::string& name) { return Heard(name); };
        context.setMusicVolume = [](float) {};
        game_ = std::make_unique<CBrindloGame>(context);
    }
    ~World() { game_.reset(); }
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    CBrindloGame& Game() { return *game_; }
    AppStates& States() { return states_; }
    Orvane::HeadlessPlatform& Platform() { return platform_; }
    double Now() { return static_cast<double>(platform_.TimeMs()) / 1000.0; }
    int Thefts() const { return thefts_; }

    // One update: the clock moves, the player acts, the round runs while the level is played.
    void Tick(ScriptedPlayer* player) {
        platform_.AdvanceTime(kTickMs);
        if (player) player->Update(Now());
        if (states_.Current() == APPSTATE_PLAYING) game_->UpdateRound(static_cast<float>(kTickMs) / 1000.0f);
    }
    // The space bar as the game's key handling receives it while playing.
    void PressSpace() {
        Orvane::WindowMessage key;
        key.message = Orvane::WM_KEYDOWN;
        key.wParam = Orvane::VK_SPACE;
        if (states_.Current() == APPSTATE_PLAYING) game_->HandleKey(key);
    }

private:
    bool Heard(const std::string& name) {
        if (name == "shape_clear") ++thefts_;
        return true;
    }

    Orvane::HeadlessPlatform platform_;
    PlatformInstaller installed_;
    CSpriteManager sprites_;
    EngineMenuEnvironment menuEnvironment_{&sprites_};
    CEffect2d effects_;
    AppStates states_;
    std::unique_ptr<CBrindloGame> game_;
    int thefts_ = 0;
};

}  // namespace

LevelOutcome PlayLevel(int level, const Pace& pace, uint32_t seed) {
    LevelOutcome out;
    Orvane::SeedRandom(seed);
    World world;
    CBrindloGame& game = world.Game();
    game.SetMode(MODE_CLASSIC);
    if (!game.LoadShapeClasses(CBrindloGame::kClassesFile)) return out;
    game.LoadMenus();

    // As from the level map.
    world.States().Set(APPSTATE_LEVEL_MAP);
    game.SetLevel(level);
    if (!game.StartLevel()) return out;
    out.loaded = true;
    out.bonusLevel = game.Settings().IsBonusLevel();
    out.levelTime = game.Settings().levelTime;
    out.cells = game.Field().cellCount;

    ScriptedPlayer::Options options;
    options.placementInterval = pace.placementInterval;
    options.carryTime = pace.reaction;
    options.pressDiscardKey = [&world] { world.PressSpace(); };
    ScriptedPlayer player(game, world.Platform(), options);

    // The fade and the intro (the player may already take shapes from level 2 on), then play.
    const double start = world.Now();
    while (game.RoundState() != CBrindloGame::ROUND_PLAYING && world.States().Current() == APPSTATE_PLAYING &&
           world.Now() - start < kIntroLimit) {
        world.Tick(&player);
    }
    const double playStart = world.Now();
    const double limit = out.bonusLevel ? kBonusLevelLimit : static_cast<double>(out.levelTime) + 60.0;
    while (world.States().Current() == APPSTATE_PLAYING && world.Now() - playStart < limit) world.Tick(&player);

    out.finished = world.States().Current() == APPSTATE_LEVEL_COMPLETE &&
                   Field::PlacedCount(game.Field()) == game.Field().cellCount;
    out.timeLeft = world.States().Current() == APPSTATE_GAME_OVER ? 0.0f : game.TimeLeft();
    out.progress = game.Field().cellCount > 0 ? static_cast<float>(Field::PlacedCount(game.Field())) /
                                                    static_cast<float>(game.Field().cellCount)
                                              : 0.0f;
    out.placements = player.Placements();
    out.bonuses = player.BonusesUsed();
    out.discards = player.Discards();
    out.thefts = world.Thefts();
    return out;
}
