// The saved game: the input is the record of one mode (10 588 bytes when well formed) and a
// last byte of choices: the mode, and whether "saved.ini" gets a valid checksum or a damaged
// digit. The record goes through the checks of a peek and of a full restore, exactly as the
// game continues a saved game. A record that restores is played on, and the game saved from it
// passes the same checks again.
//
// With NOOKVALE_FUZZ_WRITE_SEEDS=<folder> in the environment the target instead plays every
// mode on every level of its world, saves, and writes those records there as seeds.
#include "FuzzGameWorld.h"
#include "FuzzSupport.h"

#include "engine/config/Config.h"
#include "framework/ini/HexBlock.h"

#include <cstdlib>
#include <fstream>
#include <vector>

namespace {

void WriteSeeds(const std::string& folder) {
    Fuzz::GameWorld& world = Fuzz::GameWorld::Shared();
    for (int mode = 0; mode < 3; ++mode) {
        for (int level = 1; level <= Fuzz::GameWorld::kLevels; ++level) {
            if (!world.PlayLevel(mode, level)) continue;
            world.Play(2.0 * level);
            world.States().Set(APPSTATE_PAUSED);
            CBrindloGame& game = world.Game();
            game.SaveGame();
            std::vector<uint8_t> record(SavedGameRecord::kBytes);
            if (!IniGetStruct(game.Rules().savedSection, "Data", record.data(), record.size(), "saved.ini")) continue;
            record.push_back(static_cast<uint8_t>(mode));
            std::ofstream(folder + "/" + game.Rules().name + "-level" + std::to_string(level) + ".rec", std::ios::binary)
                .write(reinterpret_cast<const char*>(record.data()), static_cast<std::streamsize>(record.size()));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Fuzz::GameWorld& world = Fuzz::GameWorld::Shared();
    const uint8_t choices = Fuzz::Choices(data, size);
    CBrindloGame& game = world.NewGame(choices % 3);

    std::string hex = Orvane::EncodeHexBlock(data, size > 0 ? size - 1 : 0);
    if ((choices & 0x1C) == 0x1C) hex[choices % hex.size()] ^= 1;   // a damaged digit
    Fuzz::PutFile("saved.ini", "[" + std::string(game.Rules().savedSection) + "]\nIsGameSaved=0100000001\nData=" +
                                   hex + "\n");

    world.States().Set(APPSTATE_MAIN_MENU);
    if (!game.IsGameSaved() || !game.LoadSavedGame(true)) return 0;
    world.States().Set(APPSTATE_CONTINUE_CONFIRMATION);
    if (!game.LoadSavedGame(false)) return 0;

    world.Play(1.5);
    if (world.States().Current() != APPSTATE_PLAYING) return 0;
    world.States().Set(APPSTATE_PAUSED);
    game.SaveGame();
    // What the game saves, it takes back.
    FUZZ_CHECK(game.LoadSavedGame(true));
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    const char* seeds = std::getenv("NOOKVALE_FUZZ_WRITE_SEEDS");
    const std::string folder = seeds ? std::string(seeds) : "";
    Fuzz::GameWorld::Initialize(argc, argv);
    if (!folder.empty()) {
        WriteSeeds(folder);
        std::exit(0);
    }
    return 0;
}
