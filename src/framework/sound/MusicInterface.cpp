// Choosing the music back-end: the stream player when sound is wanted and an output opens,
// otherwise the silent base.
#include "framework/sound/MusicInterface.h"

#include "framework/platform/Platform.h"
#include "framework/sound/AudioDevice.h"
#include "framework/sound/StreamMusicInterface.h"

namespace Orvane {

std::unique_ptr<MusicInterface> CreateSilentMusicInterface() {
    return std::make_unique<MusicInterface>();
}

std::unique_ptr<MusicInterface> CreateMusicBackEnd(bool wantSound) {
    if (!wantSound) return CreateSilentMusicInterface();
    auto device = GetPlatform().OpenMusicDevice();
    if (!device) return CreateSilentMusicInterface();
    return std::make_unique<StreamMusicInterface>(std::move(device));
}

}  // namespace Orvane
