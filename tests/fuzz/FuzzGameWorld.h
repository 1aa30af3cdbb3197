// A game controller in a world of its own, for the targets that read the game's files (level
// files, classes.xml, the saved game): the headless platform with a manual clock, a sprite
// registry whose pictures are made in memory, an effect list and application states of its
// own, sounds that play nowhere. Its data - classes.xml and a few levels - are files of the
// working folder, written once; a target replaces the one it reads.
#pragma once

#include "engine/effects/Effect2d.h"
#include "engine/sprites/SpriteManager.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/platform/HeadlessPlatform.h"
#include "game/AppStates.h"
#include "game/BrindloGame.h"
#include "menu/MenuEnvironment.h"

#include <memory>
#include <string>

namespace Fuzz {

class GameWorld {
public:
    // The levels written at the start: a plain one, one with every bonus and the bug, a bonus
    // level.
    static constexpr int kLevels = 3;

    GameWorld();
    ~GameWorld();
    // The one world of the process.
    static GameWorld& Shared();
    // The initialisation of a target that plays: the engine's, then the world's data.
    static int Initialize(int* argc, char*** argv);
    GameWorld(const GameWorld&) = delete;
    GameWorld& operator=(const GameWorld&) = delete;

    // The classes and levels of a plain game, written into the working folder.
    static std::string DefaultClasses();
    static std::string DefaultLevel(int level);
    void WriteDefaultData();

    // A fresh controller in a mode, its classes read from classes.xml; the states at the map.
    CBrindloGame& NewGame(int mode);
    CBrindloGame& Game() { return *game_; }
    AppStates& States() { return states_; }

    // Plays for a while: a scripted player takes and drops shapes, the round updates every
    // 10 ms while the state is playing, and the screen is drawn twice.
    void Play(double seconds);
    // A fresh controller in a mode starts a level and plays it for a second and a half; false
    // when the level does not start.
    bool PlayLevel(int mode, int level);

private:
    Orvane::HeadlessPlatform platform_;
    Orvane::MemoryImage screen_{800, 600};
    Orvane::Graphics graphics_;
    CSpriteManager sprites_;
    EngineMenuEnvironment menuEnvironment_{&sprites_};
    CEffect2d effects_{sprites_, [](const std::string&) { return true; }};
    AppStates states_;
    std::unique_ptr<CBrindloGame> game_;
};

}  // namespace Fuzz
