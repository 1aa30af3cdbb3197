// Wave files and the decoded-sound cache. The input is read as a wave file with and without
// its source check; a sound it yields goes through the cache writer and reads back the same.
// Then the input is the cache file, or the wave file, of a sound the loader looks up by name,
// beside its source or without one.
#include "FuzzSupport.h"

#include "framework/sound/SoundLoader.h"
#include "framework/sound/WaveFile.h"

#include <cstdlib>
#include <string>
#include <vector>

using namespace Orvane;

namespace {

// A sound read from the input survives the cache: written and read back, it is the same.
void CheckCacheRoundTrip(const PcmSound& sound, uint8_t key) {
    if (!sound.HasSupportedFormat()) return;
    constexpr uint64_t kTime = 0x01D9000000000000ull;
    const std::vector<uint8_t> cache = WriteCachedWave(sound, "Sound\\x.ogg", kTime, key);
    PcmSound back;
    const SourceTimeQuery sameTime = [](const std::string& name, uint64_t* time) {
        *time = kTime;
        return name == "Sound\\x.ogg";
    };
    FUZZ_CHECK(ReadWave(cache, &back, sameTime) == WaveReadResult::Ok);
    FUZZ_CHECK(back.channels == sound.channels && back.sampleRate == sound.sampleRate &&
          back.bitsPerSample == sound.bitsPerSample && back.samples == sound.samples);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint8_t choices = Fuzz::Choices(data, size);
    const std::vector<uint8_t> bytes(data, data + size);

    PcmSound sound;
    if (ReadWave(bytes, &sound) == WaveReadResult::Ok) CheckCacheRoundTrip(sound, choices);
    PcmSound checked;
    const SourceTimeQuery anyTime = [choices](const std::string&, uint64_t* time) {
        *time = choices;
        return (choices & 1) != 0;
    };
    ReadWave(bytes, &checked, anyTime);

    // Through the loader: the cache first, then the wave file, then the (empty) Ogg source.
    Fuzz::RemoveFile("cached/Sound/x.wav");
    Fuzz::RemoveFile("Sound/x.wav");
    Fuzz::RemoveFile("Sound/x.ogg");
    Fuzz::PutFile((choices & 2) ? "Sound/x.wav" : "cached/Sound/x.wav", data, size);
    if (choices & 4) Fuzz::PutFile("Sound/x.ogg", "");
    PcmSound loaded;
    const SoundOrigin origin = LoadSoundFile("Sound\\x", &loaded);
    FUZZ_CHECK(origin != SoundOrigin::OggVorbis);
    if (origin != SoundOrigin::None) FUZZ_CHECK(loaded.HasSupportedFormat() && loaded.FrameCount() > 0);
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    Fuzz::Initialize(argc, argv);
    return 0;
}
