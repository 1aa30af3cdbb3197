// Level files: the input is "Levels\level_1.xml". It is read as the level file it is, and then
// played: the controller loads it in a mode the input picks, starts it and a scripted player
// plays a little of it, with the screen drawn.
#include "FuzzGameWorld.h"
#include "FuzzSupport.h"

#include "game/LevelFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Fuzz::GameWorld& world = Fuzz::GameWorld::Shared();
    Fuzz::PutFile("Levels/level_1.xml", data, size);

    LevelFileContents contents;
    std::string reason;
    if (ReadLevelFile(LevelFileName(1), LevelSettings{}, contents, reason)) {
        ClampLevelCounts(contents.settings, 8, LevelFileName(1), false);
        SplitClassList(contents.settings.shapeClassList);
    }

    world.PlayLevel(Fuzz::Choices(data, size) % 3, 1);
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) { return Fuzz::GameWorld::Initialize(argc, argv); }
