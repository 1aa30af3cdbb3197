#include "engine/audio/SoundEvents.h"

#include "engine/audio/OggManager.h"

bool PlaySoundEventOnce(const std::string& eventName) {
    COggManager& manager = GetOggManager();
    return manager.PlaySound(manager.PlaySoundEvent(eventName.c_str()), 0);
}

bool PlaySoundFileOnce(const std::string& fileName) {
    if (fileName.empty()) return false;
    COggManager& manager = GetOggManager();
    return manager.PlaySound(manager.GetSoundId(fileName.c_str()), 0);
}
