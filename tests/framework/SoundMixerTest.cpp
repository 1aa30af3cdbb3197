// The real SDL_mixer output, run with SDL's dummy audio driver (the test environment sets
// SDL_AUDIODRIVER=dummy): sounds and music really play, finish, loop and stop in time.
#include "framework/SoundTestFiles.h"
#include "framework/platform/HeadlessPlatform.h"
#include "framework/sound/AudioDevice.h"
#include "framework/sound/MusicInterface.h"
#include "framework/sound/SoundManager.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>

using namespace Orvane;

namespace {

bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return condition();
}

// A headless platform whose audio outputs are the real mixer's (on SDL's dummy driver).
class MixerPlatform : public HeadlessPlatform {
public:
    std::unique_ptr<AudioDevice> OpenAudioDevice() override { return OpenMixerAudioDevice(); }
    std::unique_ptr<MusicStreamDevice> OpenMusicDevice() override { return OpenMixerMusicDevice(); }
};

class SoundMixerTest : public ::testing::Test {
protected:
    SoundMixerTest() : cwd_(dir_.Path()) {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        SetPlatform(&platform_);
        std::filesystem::create_directories(dir_ / "Sound");
        // 0.1 s of an 8-bit mono tone at 11025 Hz and 0.1 s of a 16-bit stereo Ogg at 22050 Hz.
        TestSupport::WriteFile(dir_ / "Sound/short.wav",
                               SoundTestFiles::PlainWave(SoundTestFiles::Sine(1102, 11025, 1, 8)));
        TestSupport::WriteFile(dir_ / "Sound/short.ogg",
                               SoundTestFiles::EncodeOgg(SoundTestFiles::Sine(2205, 22050, 2, 16)));
    }
    ~SoundMixerTest() override { SetPlatform(nullptr); }

    MixerPlatform platform_;
    TestSupport::ScopedTempDir dir_;
    TestSupport::ScopedCwd cwd_;
};

}  // namespace

TEST_F(SoundMixerTest, SoundsPlayFinishLoopAndStop) {
    auto manager = CreateSoundManager(true);
    if (!manager->IsReady()) GTEST_SKIP() << "no audio output, not even the dummy driver";
    ASSERT_TRUE(manager->LoadSound(0, "Sound\\short"));      // the wave file
    EXPECT_FALSE(manager->LoadSound(1, "Sound\\short.x"));   // no such file
    EXPECT_EQ(manager->LoadedCount(), 1);

    SoundInstance* once = manager->CreateInstance(0);
    ASSERT_NE(once, nullptr);
    once->SetPan(-3000);
    ASSERT_TRUE(once->Play(false, true));
    EXPECT_TRUE(once->IsPlaying());
    EXPECT_TRUE(WaitFor([&] { return !once->IsPlaying(); }, 2000));
    EXPECT_TRUE(once->IsReleased());

    SoundInstance* looping = manager->CreateInstance(0);
    ASSERT_NE(looping, nullptr);
    ASSERT_TRUE(looping->Play(true, false));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));   // three times its length
    EXPECT_TRUE(looping->IsPlaying());
    manager->SetVolume(0.5);
    manager->StopAll();
    EXPECT_FALSE(looping->IsPlaying());
    EXPECT_FALSE(looping->IsReleased());   // no auto-release: kept
}

TEST_F(SoundMixerTest, OggIsCachedAndEveryFormatIsConvertedToTheOutput) {
    auto manager = CreateSoundManager(true);
    if (!manager->IsReady()) GTEST_SKIP() << "no audio output";
    std::filesystem::remove(dir_ / "Sound/short.wav");
    ASSERT_TRUE(manager->LoadSound(0, "Sound\\short"));   // the Ogg file
    EXPECT_TRUE(TestSupport::FileExists(dir_ / "cached/Sound/short.wav"));
    SoundInstance* instance = manager->CreateInstance(0);
    ASSERT_NE(instance, nullptr);
    EXPECT_TRUE(instance->Play(false, true));

    // 0.1 s in any format lasts 0.1 s at the output's rate; a pitch two octaves up, a quarter.
    auto device = OpenMixerAudioDevice();
    ASSERT_TRUE(device);
    for (int bits : {8, 16})
        for (int channels : {1, 2})
            for (int rate : {8000, 11025, 22050, 44100, 48000}) {
                const PcmSound pcm = SoundTestFiles::Sine(rate / 10, rate, channels, bits);
                auto sound = device->Prepare(pcm, rate);
                ASSERT_TRUE(sound) << bits << " " << channels << " " << rate;
                EXPECT_NEAR(static_cast<double>(sound->Frames()), 4410.0, 8.0) << bits << " " << channels << " " << rate;
                auto shifted = device->Prepare(pcm, rate * 4);
                ASSERT_TRUE(shifted);
                EXPECT_NEAR(static_cast<double>(shifted->Frames()), 1102.5, 8.0);
            }
    PcmSound odd = SoundTestFiles::Sine(10);
    odd.bitsPerSample = 24;
    EXPECT_FALSE(device->Prepare(odd, 22050));
}

TEST_F(SoundMixerTest, MusicLoopsAndFades) {
    auto music = CreateMusicBackEnd(true);
    ASSERT_TRUE(music);
    if (!music->LoadMusic(0, "Sound\\short.ogg")) GTEST_SKIP() << "no audio output";
    music->SetVolume(1.0);
    music->FadeIn(0, 0, 0.25, false);
    EXPECT_TRUE(music->IsPlaying(0));
    for (int i = 0; i < 4; ++i) music->Update();
    std::this_thread::sleep_for(std::chrono::milliseconds(350));   // more than three times its length
    EXPECT_TRUE(music->IsPlaying(0));                              // looping
    music->FadeOut(0, true, 0.5);
    music->Update();
    music->Update();
    EXPECT_FALSE(music->IsPlaying(0));

    TestSupport::WriteFile(dir_ / "Sound/bad.ogg", std::string(5000, 'x'));
    EXPECT_FALSE(music->LoadMusic(1, "Sound\\bad.ogg"));
    music->StopAllMusic();
}

TEST_F(SoundMixerTest, SoundsAndMusicShareOneOutput) {
    auto manager = CreateSoundManager(true);
    auto music = CreateMusicBackEnd(true);
    if (!manager->IsReady() || !music->LoadMusic(0, "Sound\\short.ogg")) GTEST_SKIP() << "no audio output";
    music->PlayMusic(0);
    manager.reset();   // the output stays open for the music
    EXPECT_TRUE(music->IsPlaying(0));
    auto again = CreateSoundManager(true);
    EXPECT_TRUE(again->IsReady());
}

// The headless platform's own outputs play nothing and record what a player would have heard.
TEST(RecordingAudio, HeadlessOutputsRecordSoundsWithVolumeAndPanAndSongs) {
    TestSupport::ScopedTempDir dir;
    TestSupport::ScopedCwd cwd(dir.Path());
    std::filesystem::create_directories(dir / "Sound");
    std::filesystem::create_directories(dir / "Music");
    TestSupport::WriteFile(dir / "Sound/short.wav",
                           SoundTestFiles::PlainWave(SoundTestFiles::Sine(1102, 11025, 1, 8)));
    TestSupport::WriteFile(dir / "Music/x.ogg", std::string("not empty"));
    HeadlessPlatform platform;
    SetPlatform(&platform);
    {
        auto manager = CreateSoundManager(true);
        ASSERT_TRUE(manager->IsReady());
        ASSERT_TRUE(manager->LoadSound(3, "Sound\\short"));
        SoundInstance* sound = manager->CreateInstance(3);
        ASSERT_NE(sound, nullptr);
        sound->SetVolume(0.5);
        sound->SetPan(-3000);
        ASSERT_TRUE(sound->Play(false, true));

        const auto started = platform.Audio().Sounds();
        ASSERT_EQ(started.size(), 1u);
        EXPECT_EQ(started[0].name, "Sound\\short");
        EXPECT_FALSE(started[0].looping);
        EXPECT_LT(started[0].volume, 1.0);
        EXPECT_GT(started[0].left, started[0].right);   // panned to the left

        auto music = CreateMusicBackEnd(true);
        ASSERT_TRUE(music->LoadMusic(0, "Music\\x.ogg"));
        music->FadeIn(0, 0, 0.01, false);
        ASSERT_EQ(platform.Audio().Songs().size(), 1u);
        EXPECT_TRUE(platform.Audio().Songs()[0].looping);
    }
    SetPlatform(nullptr);
}
