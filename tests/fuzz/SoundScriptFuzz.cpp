// sound.ini: the input is the sound events script. The audio manager reads its events as at
// start-up and picks a sound for every event named in it, and for a few names it lacks.
#include "FuzzSupport.h"

#include "engine/audio/OggManager.h"
#include "framework/core/Random.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Fuzz::PutFile("sound.ini", data, size);
    Orvane::SeedRandom(Fuzz::Choices(data, size));
    COggManager audio;
    audio.LoadSoundEvents("sound.ini");
    for (int i = 0; i < audio.GetSoundEventCount(); ++i) {
        audio.PlaySoundEvent(audio.GetSoundEvent(i)->name);
    }
    for (const char* name : {"", "take_shape", "level_complete"}) audio.PlaySoundEvent(name);
    audio.GetSoundEvent(-1);
    audio.GetSoundEvent(COggManager::kMaxSoundEvents);
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    Fuzz::Initialize(argc, argv);
    return 0;
}
