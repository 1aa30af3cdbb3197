// Ogg Vorbis decoding: any bytes decode to a playable sound or to nothing, within the output
// limit. Through the loader, a sound decoded from an Ogg file is cached, and the next load
// takes the same sound from the cache.
#include "FuzzSupport.h"

#include "framework/sound/OggDecoder.h"
#include "framework/sound/SoundLoader.h"

#include <cstdlib>
#include <vector>

using namespace Orvane;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// A smaller limit than the game's keeps each run short; the loader below uses the game's.
constexpr size_t kOutputLimit = size_t{1} << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    PcmSound sound;
    bool cut = false;
    if (DecodeOggVorbis(bytes, &sound, kOutputLimit, &cut)) {
        Check(sound.HasSupportedFormat() && sound.bitsPerSample == 16);
        Check(sound.samples.size() <= kOutputLimit && sound.FrameCount() > 0);
    }
    if ((Fuzz::Choices(data, size) & 7) != 0 || cut) return 0;

    Fuzz::RemoveFile("cached/Sound/x.wav");
    Fuzz::PutFile("Sound/x.ogg", data, size);
    PcmSound first;
    const SoundOrigin origin = LoadSoundFile("Sound\\x", &first);
    if (origin == SoundOrigin::None) return 0;
    Check(origin == SoundOrigin::OggVorbis);
    PcmSound again;
    Check(LoadSoundFile("Sound\\x", &again) == SoundOrigin::Cache);
    Check(again.channels == first.channels && again.sampleRate == first.sampleRate &&
          again.samples == first.samples);
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    Fuzz::Initialize(argc, argv);
    return 0;
}
