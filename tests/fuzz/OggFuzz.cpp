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

// A smaller limit than the game's keeps each run short; the loader below uses the game's.
constexpr size_t kOutputLimit = size_t{1} << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    PcmSound sound;
    bool cut = false;
    if (DecodeOggVorbis(bytes, &sound, kOutputLimit, &cut)) {
        FUZZ_CHECK(sound.HasSupportedFormat() && sound.bitsPerSample == 16);
        FUZZ_CHECK(sound.samples.size() <= kOutputLimit && sound.FrameCount() > 0);
    }
    if ((Fuzz::Choices(data, size) & 7) != 0 || cut) return 0;

    Fuzz::RemoveFile("cached/Sound/x.wav");
    Fuzz::PutFile("Sound/x.ogg", data, size);
    PcmSound first;
    const SoundOrigin origin = LoadSoundFile("Sound\\x", &first);
    if (origin == SoundOrigin::None) return 0;
    FUZZ_CHECK(origin == SoundOrigin::OggVorbis);
    PcmSound again;
    FUZZ_CHECK(LoadSoundFile("Sound\\x", &again) == SoundOrigin::Cache);
    FUZZ_CHECK(again.channels == first.channels && again.sampleRate == first.sampleRate &&
          again.samples == first.samples);
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    Fuzz::Initialize(argc, argv);
    return 0;
}
