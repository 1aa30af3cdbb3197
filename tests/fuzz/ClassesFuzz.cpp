// classes.xml: the input is the master table of shape classes. It is read into the table and
// looked up, and a level of the game is then started and played with those classes.
#include "FuzzGameWorld.h"
#include "FuzzSupport.h"

#include "game/ShapeClasses.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Fuzz::GameWorld& world = Fuzz::GameWorld::Shared();
    Fuzz::PutFile("classes.xml", data, size);

    ShapeClassTable table;
    if (table.Load("classes.xml")) {
        for (int i = 0; i < table.Count(); ++i) {
            table.Find(table.Class(i).name);
            table.Playable(i);
        }
        table.DistinctPlayableCount();
    }

    const uint8_t choices = Fuzz::Choices(data, size);
    world.PlayLevel(choices % 3, 1 + (choices >> 2) % Fuzz::GameWorld::kLevels);
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) { return Fuzz::GameWorld::Initialize(argc, argv); }
