// The volume arithmetic, the wave and cache format, Ogg Vorbis decoding and the loader's
// order with its cache, including damaged files of every kind.
#include "framework/SoundTestFiles.h"
#include "framework/core/Diagnostics.h"
#include "framework/sound/OggDecoder.h"
#include "framework/sound/SoundLoader.h"
#include "framework/sound/SoundManager.h"
#include "framework/sound/WaveFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <random>

using namespace Orvane;
using TestSupport::ScopedCwd;
using TestSupport::ScopedTempDir;

TEST(SoundVolume, AttenuationOfVolumes) {
    struct Case { double volume; int attenuation; };
    const Case cases[] = {
        {1.0, 0}, {0.5, -605}, {0.05, -1956}, {0.04, -10000}, {0.0, -10000},
        // -2000.09 and -2000.22 are -2000 once truncated, which is not below the floor.
        {0.04322, -2000}, {0.0432, -2000}, {0.043, -10000},
        {-1.0, -10000}, {2.0, 0}, {std::nan(""), -10000}, {INFINITY, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(VolumeToAttenuation(c.volume), c.attenuation) << c.volume;
}

TEST(SoundVolume, GainsOfAttenuationsAndPans) {
    EXPECT_DOUBLE_EQ(AttenuationToGain(0), 1.0);
    EXPECT_NEAR(AttenuationToGain(-2000), 0.1, 1e-12);        // -20 dB
    EXPECT_NEAR(AttenuationToGain(-605), 0.4984, 1e-3);
    EXPECT_EQ(AttenuationToGain(-10000), 0.0);
    double left = 0, right = 0;
    PanToGains(0, &left, &right);
    EXPECT_EQ(left, 1.0);
    EXPECT_EQ(right, 1.0);
    PanToGains(2000, &left, &right);                            // right: left side 20 dB down
    EXPECT_NEAR(left, 0.1, 1e-12);
    EXPECT_EQ(right, 1.0);
    PanToGains(-10000, &left, &right);
    EXPECT_EQ(left, 1.0);
    EXPECT_EQ(right, 0.0);
    PanToGains(-70000, &left, &right);                          // beyond full: clamped
    EXPECT_EQ(right, 0.0);
}

// ---------------------------------------------------------------- wave and cache format

TEST(SoundWave, CacheRoundTripInEveryFormat) {
    for (int bits : {8, 16})
        for (int channels : {1, 2}) {
            const PcmSound pcm = SoundTestFiles::Sine(300, 11025, channels, bits);
            const auto bytes = WriteCachedWave(pcm, "Sound\\beep.ogg", 0x0123456789ABCDEFull);
            // The samples are stored XOR-ed with the key, not in the clear.
            ASSERT_GT(bytes.size(), pcm.samples.size());
            EXPECT_FALSE(std::equal(pcm.samples.begin(), pcm.samples.end(), bytes.end() - pcm.samples.size()));

            std::string askedName;
            PcmSound back;
            const auto result = ReadWave(bytes, &back, [&](const std::string& name, uint64_t* t) {
                askedName = name;
                *t = 0x0123456789ABCDEFull;
                return true;
            });
            ASSERT_EQ(result, WaveReadResult::Ok) << bits << " bits " << channels << " channels";
            EXPECT_EQ(askedName, "Sound\\beep.ogg");
            EXPECT_EQ(back.channels, channels);
            EXPECT_EQ(back.bitsPerSample, bits);
            EXPECT_EQ(back.sampleRate, 11025);
            EXPECT_EQ(back.samples, pcm.samples);
        }
}

TEST(SoundWave, CacheWithChangedOrMissingSourceIsStale) {
    const auto bytes = WriteCachedWave(SoundTestFiles::Sine(100), "Sound\\a.ogg", 42);
    PcmSound out;
    EXPECT_EQ(ReadWave(bytes, &out, [](const std::string&, uint64_t* t) { *t = 43; return true; }),
              WaveReadResult::StaleSource);
    EXPECT_EQ(ReadWave(bytes, &out, [](const std::string&, uint64_t*) { return false; }),
              WaveReadResult::StaleSource);
}

TEST(SoundWave, PlainWaveFilesAndTheirDefaults) {
    const PcmSound pcm = SoundTestFiles::Sine(200, 8000, 2, 16);
    PcmSound out;
    ASSERT_EQ(ReadWave(SoundTestFiles::PlainWave(pcm), &out), WaveReadResult::Ok);
    EXPECT_EQ(out.samples, pcm.samples);
    EXPECT_EQ(out.sampleRate, 8000);

    // A data chunk without a "fmt " chunk is mono 16-bit at 22050 Hz; an odd byte is dropped.
    std::vector<uint8_t> bare;
    SoundTestFiles::PutTag(bare, "RIFF");
    SoundTestFiles::PutU32(bare, 0);   // a wrong RIFF size is not trusted
    SoundTestFiles::PutTag(bare, "WAVE");
    SoundTestFiles::PutTag(bare, "LIST");   // an odd unknown chunk with its pad byte
    SoundTestFiles::PutU32(bare, 3);
    bare.insert(bare.end(), {'a', 'b', 'c', 0});
    SoundTestFiles::PutTag(bare, "data");
    SoundTestFiles::PutU32(bare, 5);
    bare.insert(bare.end(), {1, 2, 3, 4, 5});
    ASSERT_EQ(ReadWave(bare, &out), WaveReadResult::Ok);
    EXPECT_EQ(out.channels, 1);
    EXPECT_EQ(out.sampleRate, 22050);
    EXPECT_EQ(out.bitsPerSample, 16);
    EXPECT_EQ(out.samples, (std::vector<uint8_t>{1, 2, 3, 4}));
}

TEST(SoundWave, DamagedAndUnknownFilesAreRefused) {
    const PcmSound pcm = SoundTestFiles::Sine(64, 22050, 1, 16);
    const auto good = SoundTestFiles::PlainWave(pcm);
    auto patched = [&](size_t offset, uint32_t value, int bytes) {
        auto copy = good;
        for (int i = 0; i < bytes; ++i) copy[offset + i] = static_cast<uint8_t>(value >> (8 * i));
        return copy;
    };
    struct Case { const char* what; std::vector<uint8_t> bytes; WaveReadResult expected; };
    const Case cases[] = {
        {"empty", {}, WaveReadResult::NotWave},
        {"not RIFF", patched(0, 0x46464952 + 1, 4), WaveReadResult::NotWave},
        {"not WAVE", patched(8, 0, 4), WaveReadResult::NotWave},
        {"compressed format", SoundTestFiles::PlainWave(pcm, 2), WaveReadResult::BadFormat},
        {"six channels", patched(22, 6, 2), WaveReadResult::BadFormat},
        {"24 bits", patched(34, 24, 2), WaveReadResult::BadFormat},
        {"rate 0", patched(24, 0, 4), WaveReadResult::BadFormat},
        {"fmt size past the end", patched(16, 0x7FFFFFF0, 4), WaveReadResult::Corrupt},
        {"data size past the end", patched(40, static_cast<uint32_t>(pcm.samples.size() + 1), 4),
         WaveReadResult::Corrupt},
        {"data size 4 GB", patched(40, 0xFFFFFFFF, 4), WaveReadResult::Corrupt},
        {"no data chunk", std::vector<uint8_t>(good.begin(), good.begin() + 36), WaveReadResult::Corrupt},
    };
    for (const Case& c : cases) {
        PcmSound out;
        EXPECT_EQ(ReadWave(c.bytes, &out), c.expected) << c.what;
    }
    // A cache whose "dep " name length runs past its chunk.
    auto cache = WriteCachedWave(pcm, "x.ogg", 1);
    cache[44] = 0xFF;   // u16 name length inside "dep " (after RIFF header 12 + fmt 24 + tag/size 8)
    PcmSound out;
    EXPECT_EQ(ReadWave(cache, &out), WaveReadResult::Corrupt);
}

TEST(SoundWave, EveryCutAndRandomDamageIsSafe) {
    const auto cache = WriteCachedWave(SoundTestFiles::Sine(50, 22050, 2, 16), "Sound\\a.ogg", 7);
    const auto accept = [](const std::string&, uint64_t* t) { *t = 7; return true; };
    for (size_t length = 0; length < cache.size(); ++length) {
        std::vector<uint8_t> cut(cache.begin(), cache.begin() + static_cast<long>(length));
        PcmSound out;
        EXPECT_NE(ReadWave(cut, &out, accept), WaveReadResult::Ok) << length;
    }
    std::mt19937 random(5);
    for (int round = 0; round < 3000; ++round) {
        auto damaged = cache;
        for (int flips = 1 + round % 4; flips > 0; --flips)
            damaged[random() % damaged.size()] = static_cast<uint8_t>(random());
        PcmSound out;
        if (ReadWave(damaged, &out, accept) == WaveReadResult::Ok) {
            EXPECT_TRUE(out.HasSupportedFormat());
            EXPECT_EQ(out.samples.size() % static_cast<size_t>(out.BlockAlign()), 0u);
        }
    }
}

// ---------------------------------------------------------------- Ogg Vorbis

TEST(SoundOgg, DecodesMonoAndStereo) {
    for (int channels : {1, 2}) {
        const PcmSound pcm = SoundTestFiles::Sine(4000, 22050, channels, 16);
        PcmSound out;
        ASSERT_TRUE(DecodeOggVorbis(SoundTestFiles::EncodeOgg(pcm), &out));
        EXPECT_EQ(out.channels, channels);
        EXPECT_EQ(out.sampleRate, 22050);
        EXPECT_EQ(out.bitsPerSample, 16);
        EXPECT_EQ(out.FrameCount(), 4000u);
        // The tone survives: the decoded peak is near the encoded amplitude (0.5).
        int peak = 0;
        for (size_t i = 0; i + 1 < out.samples.size(); i += 2)
            peak = std::max(peak, std::abs(static_cast<int16_t>(out.samples[i] | (out.samples[i + 1] << 8))));
        EXPECT_NEAR(peak / 32767.0, 0.5, 0.1);
    }
}

TEST(SoundOgg, DamagedStreamsNeverCrash) {
    const auto ogg = SoundTestFiles::EncodeOgg(SoundTestFiles::Sine(3000));
    PcmSound out;
    EXPECT_FALSE(DecodeOggVorbis({}, &out));
    EXPECT_FALSE(DecodeOggVorbis(SoundTestFiles::PlainWave(SoundTestFiles::Sine(100)), &out));
    for (size_t length = 0; length < ogg.size(); length += 37) {
        std::vector<uint8_t> cut(ogg.begin(), ogg.begin() + static_cast<long>(length));
        if (DecodeOggVorbis(cut, &out)) {
            EXPECT_LE(out.FrameCount(), 3000u);
        }
    }
    std::mt19937 random(9);
    for (int round = 0; round < 300; ++round) {
        auto damaged = ogg;
        for (int flips = 0; flips < 8; ++flips) damaged[random() % damaged.size()] ^= static_cast<uint8_t>(1 + random() % 255);
        if (DecodeOggVorbis(damaged, &out)) {
            EXPECT_GT(out.samples.size(), 0u);
        }
    }
    // The output limit cuts long sounds, and says so.
    bool cut = true;
    ASSERT_TRUE(DecodeOggVorbis(ogg, &out, 100000, &cut));
    EXPECT_FALSE(cut);
    ASSERT_TRUE(DecodeOggVorbis(ogg, &out, 1000, &cut));
    EXPECT_LE(out.samples.size(), 1000u);
    EXPECT_TRUE(cut);
    // Two streams whose first page is damaged: the Vorbis file library lost memory when it
    // refused this file (the sanitizer's leak check holds that). The one intact stream in it,
    // 220 frames long, is what decodes.
    const std::string damaged =
        TestSupport::ReadFile(TestSupport::SourceDir() + "/tests/framework/fixtures/sounds/damaged-headers.ogg");
    ASSERT_FALSE(damaged.empty());
    ASSERT_TRUE(DecodeOggVorbis(std::vector<uint8_t>(damaged.begin(), damaged.end()), &out));
    EXPECT_EQ(out.FrameCount(), 220u);
}

// ---------------------------------------------------------------- loader and cache

namespace {

void SetFileTime(const std::string& path, time_t seconds, long nanoseconds) {
    struct timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

class SoundLoaderTest : public ::testing::Test {
protected:
    SoundLoaderTest() : cwd_(dir_.Path()) {
        std::filesystem::create_directories(dir_ / "Sound");
        tone_ = SoundTestFiles::Sine(2000, 22050, 1, 16);
    }
    ScopedTempDir dir_;
    ScopedCwd cwd_;
    PcmSound tone_;
};

}  // namespace

TEST_F(SoundLoaderTest, CacheNames) {
    EXPECT_EQ(SoundCacheName("Sound\\beep"), "cached\\Sound\\beep.wav");
    EXPECT_EQ(SoundCacheName("ab"), "");
    EXPECT_EQ(SoundCacheName("\\abs"), "");
    EXPECT_EQ(SoundCacheName("/abs"), "");
    EXPECT_EQ(SoundCacheName("C:beep"), "");
}

TEST_F(SoundLoaderTest, OggIsCachedAndTheCacheIsUsedUntilTheSourceChanges) {
    ASSERT_TRUE(TestSupport::WriteFile(dir_ / "Sound/beep.ogg", SoundTestFiles::EncodeOgg(tone_)));
    SetFileTime(dir_ / "Sound/beep.ogg", 1600000000, 100);

    PcmSound first;
    ASSERT_EQ(LoadSoundFile("Sound\\beep", &first), SoundOrigin::OggVorbis);
    const std::string cachePath = dir_ / "cached/Sound/beep.wav";
    ASSERT_TRUE(TestSupport::FileExists(cachePath));

    PcmSound second;
    ASSERT_EQ(LoadSoundFile("Sound\\beep", &second), SoundOrigin::Cache);
    EXPECT_EQ(second.samples, first.samples);
    EXPECT_EQ(second.sampleRate, first.sampleRate);

    // Touching the source (a change of 10 microseconds is enough) makes the cache stale.
    SetFileTime(dir_ / "Sound/beep.ogg", 1600000000, 10100);
    EXPECT_EQ(LoadSoundFile("Sound\\beep", &second), SoundOrigin::OggVorbis);
    EXPECT_EQ(LoadSoundFile("Sound\\beep", &second), SoundOrigin::Cache);
}

TEST_F(SoundLoaderTest, DamagedCacheIsRebuilt) {
    ASSERT_TRUE(TestSupport::WriteFile(dir_ / "Sound/beep.ogg", SoundTestFiles::EncodeOgg(tone_)));
    PcmSound sound;
    ASSERT_EQ(LoadSoundFile("Sound\\beep", &sound), SoundOrigin::OggVorbis);
    const std::string cachePath = dir_ / "cached/Sound/beep.wav";
    const std::string cache = TestSupport::ReadFile(cachePath);
    for (const std::string& damaged : {cache.substr(0, cache.size() / 2), std::string("RIFF"), std::string()}) {
        ASSERT_TRUE(TestSupport::WriteFile(cachePath, damaged));
        EXPECT_EQ(LoadSoundFile("Sound\\beep", &sound), SoundOrigin::OggVorbis);
        EXPECT_EQ(TestSupport::ReadFile(cachePath), cache);
    }
}

TEST_F(SoundLoaderTest, UnreadableAndUnwritableCacheStillLoadsTheSource) {
    ASSERT_TRUE(TestSupport::WriteFile(dir_ / "Sound/beep.ogg", SoundTestFiles::EncodeOgg(tone_)));
    // A folder where the cache file belongs: it can be neither read nor replaced.
    std::filesystem::create_directories(dir_ / "cached/Sound/beep.wav/inside");
    PcmSound sound;
    EXPECT_EQ(LoadSoundFile("Sound\\beep", &sound), SoundOrigin::OggVorbis);
    EXPECT_EQ(LoadSoundFile("Sound\\beep", &sound), SoundOrigin::OggVorbis);
    EXPECT_EQ(sound.FrameCount(), 2000u);
    EXPECT_FALSE(TestSupport::FileExists(dir_ / "cached/Sound/beep.wav.tmp"));
}

TEST_F(SoundLoaderTest, WaveBeforeOggAndNoCacheForWaves) {
    ASSERT_TRUE(TestSupport::WriteFile(dir_ / "Sound/both.ogg", SoundTestFiles::EncodeOgg(tone_)));
    ASSERT_TRUE(TestSupport::WriteFile(dir_ / "Sound/both.wav", SoundTestFiles::PlainWave(SoundTestFiles::Sine(10))));
    PcmSound sound;
    EXPECT_EQ(LoadSoundFile("Sound\\both", &sound), SoundOrigin::Wave);
    EXPECT_EQ(sound.FrameCount(), 10u);
    EXPECT_FALSE(TestSupport::FileExists(dir_ / "cached/Sound/both.wav"));

    // A damaged wave file falls back to the Ogg file of the same name.
    ASSERT_TRUE(TestSupport::WriteFile(dir_ / "Sound/both.wav", std::string("RIFF\x10\0\0\0WAVEdata", 16)));
    EXPECT_EQ(LoadSoundFile("Sound\\both", &sound), SoundOrigin::OggVorbis);
}

TEST_F(SoundLoaderTest, MissingAndDamagedSourcesFail) {
    PcmSound sound;
    EXPECT_EQ(LoadSoundFile("Sound\\none", &sound), SoundOrigin::None);
    auto ogg = SoundTestFiles::EncodeOgg(tone_);
    ogg.resize(ogg.size() / 10);   // headers cut
    ASSERT_TRUE(TestSupport::WriteFile(dir_ / "Sound/cut.ogg", ogg));
    EXPECT_EQ(LoadSoundFile("Sound\\cut", &sound), SoundOrigin::None);
    ASSERT_TRUE(TestSupport::WriteFile(dir_ / "Sound/text.ogg", std::string("just text")));
    EXPECT_EQ(LoadSoundFile("Sound\\text", &sound), SoundOrigin::None);
    EXPECT_FALSE(TestSupport::FileExists(dir_ / "cached/Sound/text.wav"));
}

TEST_F(SoundLoaderTest, SoundFilesOverTheLimitAreRefusedUnreadWithAWarning) {
    // A wave file 1 MB over the limit (a hole after its header), with an Ogg file to fall back on.
    const std::string path = dir_ / "Sound/long.wav";
    ASSERT_TRUE(TestSupport::WriteFile(path, SoundTestFiles::PlainWave(SoundTestFiles::Sine(10))));
    ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(kMaxDecodedSoundBytes + (1 << 20))), 0);
    ASSERT_TRUE(TestSupport::WriteFile(dir_ / "Sound/long.ogg", SoundTestFiles::EncodeOgg(tone_)));
    std::vector<std::string> warnings;
    Orvane::SetDiagnosticHandler([&](const std::string& line) {
        if (line.find("WARNING") != std::string::npos) warnings.push_back(line);
    });
    PcmSound sound;
    const TestSupport::WorkCost cost =
        TestSupport::MeasureCost([&] { EXPECT_EQ(LoadSoundFile("Sound\\long", &sound), SoundOrigin::OggVorbis); });
    Orvane::SetDiagnosticHandler(nullptr);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("'Sound\\long.wav' is larger than 32 MB"), std::string::npos);
    EXPECT_LT(cost.peakMegabytes, 16.0);
}
