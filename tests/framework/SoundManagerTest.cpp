// The sound manager's rules over a recording fake output, and without any output.
#include "framework/SoundTestFiles.h"
#include "framework/platform/HeadlessPlatform.h"
#include "framework/sound/ChannelSoundManager.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <mutex>
#include <thread>

using namespace Orvane;

namespace {

struct FakeSound : DeviceSound {
    int rate;
    explicit FakeSound(int r) : rate(r) {}
    size_t Frames() const override { return 0; }
};

// Records what the manager asks of the output; channels play until a test finishes them.
class FakeDevice : public AudioDevice {
public:
    struct Channel {
        bool playing = false;
        bool looping = false;
        int plays = 0;
        double volume = -1, left = -1, right = -1;
        std::shared_ptr<DeviceSound> sound;
    };
    std::array<Channel, kChannels>* channels;
    std::vector<int>* preparedRates;
    FakeDevice(std::array<Channel, kChannels>* c, std::vector<int>* rates) : channels(c), preparedRates(rates) {}

    std::shared_ptr<DeviceSound> Prepare(const PcmSound&, int rate) override {
        std::lock_guard<std::mutex> lock(prepareMutex);   // called from the loading thread too
        preparedRates->push_back(rate);
        return std::make_shared<FakeSound>(rate);
    }
    bool Play(int channel, std::shared_ptr<DeviceSound> sound, bool looping) override {
        Channel& c = (*channels)[channel];
        c.playing = true;
        c.looping = looping;
        c.sound = std::move(sound);
        ++c.plays;
        return true;
    }
    void Stop(int channel) override { (*channels)[channel].playing = false; }
    bool IsPlaying(int channel) override { return (*channels)[channel].playing; }
    void SetChannelGains(int channel, double volume, double left, double right) override {
        Channel& c = (*channels)[channel];
        c.volume = volume;
        c.left = left;
        c.right = right;
    }
    void SetMasterGain(double gain) override { master = gain; }
    double GetMasterGain() override { return master; }
    double master = 1.0;
    std::mutex prepareMutex;
};

class SoundManagerTest : public ::testing::Test {
protected:
    SoundManagerTest() : cwd_(dir_.Path()) {
        SetPlatform(&platform_);
        std::filesystem::create_directories(dir_ / "Sound");
        TestSupport::WriteFile(dir_ / "Sound/tone.wav", SoundTestFiles::PlainWave(SoundTestFiles::Sine(100, 11025)));
        manager_ = std::make_unique<ChannelSoundManager>(std::make_unique<FakeDevice>(&channels_, &rates_));
    }
    ~SoundManagerTest() override {
        manager_.reset();
        SetPlatform(nullptr);
    }
    void FinishAll() {
        for (auto& c : channels_) c.playing = false;
    }

    HeadlessPlatform platform_;
    TestSupport::ScopedTempDir dir_;
    TestSupport::ScopedCwd cwd_;
    std::array<FakeDevice::Channel, AudioDevice::kChannels> channels_;
    std::vector<int> rates_;
    std::unique_ptr<ChannelSoundManager> manager_;
};

}  // namespace

TEST_F(SoundManagerTest, LoadsByIdAndRefusesIdsAbove255) {
    EXPECT_TRUE(manager_->IsReady());
    EXPECT_EQ(manager_->FirstFreeId(), 0);
    EXPECT_EQ(manager_->FindSoundId("Sound\\tone"), 255);   // not loaded: the highest free id
    ASSERT_TRUE(manager_->LoadSound(3, "Sound\\tone"));
    EXPECT_EQ(manager_->FindSoundId("Sound\\tone"), 3);
    EXPECT_EQ(manager_->LoadedCount(), 1);
    EXPECT_EQ(rates_, std::vector<int>{11025});

    EXPECT_FALSE(manager_->LoadSound(256, "Sound\\tone"));
    EXPECT_FALSE(manager_->LoadSound(-1, "Sound\\tone"));
    EXPECT_FALSE(manager_->SetDefaultVolume(256, 0.5));
    EXPECT_FALSE(manager_->SetDefaultPan(999, 1));
    EXPECT_EQ(manager_->CreateInstance(256), nullptr);
    EXPECT_FALSE(manager_->LoadSound(4, "Sound\\missing"));
    EXPECT_EQ(manager_->CreateInstance(4), nullptr);   // not loaded
    EXPECT_EQ(manager_->LoadedCount(), 1);

    manager_->FreeSound(3);
    EXPECT_EQ(manager_->LoadedCount(), 0);
    EXPECT_EQ(manager_->CreateInstance(3), nullptr);
}

TEST_F(SoundManagerTest, VolumeAndPanReachTheChannelAndFollowTheManagerAtOnce) {
    ASSERT_TRUE(manager_->LoadSound(0, "Sound\\tone"));
    manager_->SetDefaultVolume(0, 0.5);
    manager_->SetDefaultPan(0, 2000);
    SoundInstance* instance = manager_->CreateInstance(0);
    ASSERT_NE(instance, nullptr);
    ASSERT_TRUE(instance->Play(false, true));
    const auto& channel = channels_[0];
    EXPECT_NEAR(channel.volume, AttenuationToGain(-605), 1e-12);
    EXPECT_NEAR(channel.left, 0.1, 1e-12);
    EXPECT_EQ(channel.right, 1.0);

    instance->SetPan(-4000);   // added to the base pan: -2000, the right side 20 dB down
    EXPECT_EQ(channel.left, 1.0);
    EXPECT_NEAR(channel.right, 0.1, 1e-12);

    manager_->SetVolume(0.1);   // 0.5 x 0.1 = 0.05: -1956
    EXPECT_NEAR(channel.volume, AttenuationToGain(-1956), 1e-12);
    manager_->SetVolume(0.08);  // 0.04: below -2000, silence
    EXPECT_EQ(channel.volume, 0.0);
    manager_->SetVolume(1.0);
    instance->SetVolume(0.5);
    EXPECT_NEAR(channel.volume, AttenuationToGain(VolumeToAttenuation(0.25)), 1e-12);
    EXPECT_DOUBLE_EQ(instance->GetVolume(), 0.5);
}

TEST_F(SoundManagerTest, ThirtyTwoSlotsAndFinishedInstancesFreeTheirs) {
    ASSERT_TRUE(manager_->LoadSound(0, "Sound\\tone"));
    for (int i = 0; i < SoundManager::kMaxInstances; ++i) {
        SoundInstance* instance = manager_->CreateInstance(0);
        ASSERT_NE(instance, nullptr) << i;
        instance->Play(false, true);
    }
    EXPECT_EQ(manager_->CreateInstance(0), nullptr);   // all 32 busy

    // Finished auto-release instances give their slots back the next time one is needed.
    channels_[7].playing = false;
    SoundInstance* reused = manager_->CreateInstance(0);
    ASSERT_NE(reused, nullptr);
    EXPECT_EQ(manager_->InstanceInSlot(7), reused);

    // An instance released by hand is reused too; one that is not auto-released is kept.
    manager_->InstanceInSlot(3)->Release();
    EXPECT_NE(manager_->CreateInstance(0), nullptr);
    manager_->InstanceInSlot(9)->Play(false, false);   // playing on, no auto-release
    channels_[9].playing = false;
    EXPECT_FALSE(manager_->InstanceInSlot(9)->IsReleased());
    EXPECT_EQ(manager_->CreateInstance(0), nullptr);
}

TEST_F(SoundManagerTest, StopAllKeepsAutoReleaseUntilFoundFinished) {
    ASSERT_TRUE(manager_->LoadSound(0, "Sound\\tone"));
    SoundInstance* autoInstance = manager_->CreateInstance(0);
    autoInstance->Play(false, true);
    SoundInstance* kept = manager_->CreateInstance(0);
    kept->Play(true, false);
    EXPECT_TRUE(channels_[1].looping);

    manager_->StopAll();
    EXPECT_FALSE(autoInstance->IsPlaying());
    EXPECT_FALSE(kept->IsPlaying());
    // Not released at once: only when asked, being finished with auto-release set.
    EXPECT_EQ(manager_->InstanceInSlot(0), autoInstance);
    EXPECT_TRUE(autoInstance->IsReleased());
    EXPECT_FALSE(kept->IsReleased());

    // Stop (unlike StopAll) clears auto-release.
    SoundInstance* stopped = manager_->CreateInstance(0);   // takes slot 0 again
    EXPECT_EQ(manager_->InstanceInSlot(0), stopped);
    stopped->Play(false, true);
    stopped->Stop();
    EXPECT_FALSE(stopped->IsReleased());
}

TEST_F(SoundManagerTest, FinishedInstancesAreSweptAtMostOncePerSecond) {
    ASSERT_TRUE(manager_->LoadSound(0, "Sound\\tone"));
    for (int i = 0; i < SoundManager::kMaxInstances; ++i) manager_->CreateInstance(0)->Play(false, true);
    platform_.AdvanceTime(2000);
    FinishAll();
    // The first request sweeps all 32 finished ones at once; the slots fill up again from 0.
    ASSERT_NE(manager_->CreateInstance(0), nullptr);
    for (int i = 1; i < SoundManager::kMaxInstances; ++i) EXPECT_EQ(manager_->InstanceInSlot(i), nullptr) << i;
}

TEST_F(SoundManagerTest, PitchShiftPlaysAtTheShiftedRate) {
    ASSERT_TRUE(manager_->LoadSound(0, "Sound\\tone"));
    auto* instance = static_cast<ChannelSoundInstance*>(manager_->CreateInstance(0));
    instance->ShiftPitch(12);
    EXPECT_EQ(instance->Frequency(), 22050);
    instance->Play(false, false);
    EXPECT_EQ(static_cast<FakeSound*>(channels_[0].sound.get())->rate, 22050);
    instance->ShiftPitch(-1000);
    EXPECT_EQ(instance->Frequency(), 100);
    instance->ShiftPitch(1000);
    EXPECT_EQ(instance->Frequency(), 100000);
}

TEST_F(SoundManagerTest, LoadingThreadLoadsWhileTheMainThreadPlays) {
    ASSERT_TRUE(manager_->LoadSound(0, "Sound\\tone"));
    std::thread loader([this] {
        for (int round = 0; round < 20; ++round)
            for (int id = 1; id < 12; ++id) EXPECT_TRUE(manager_->LoadSound(id, "Sound\\tone"));
    });
    for (int i = 0; i < 2000; ++i) {
        if (SoundInstance* instance = manager_->CreateInstance(i % 12)) instance->Play(false, true);
        channels_[static_cast<size_t>(i) % channels_.size()].playing = false;
        platform_.AdvanceTime(1);
    }
    loader.join();
    EXPECT_EQ(manager_->LoadedCount(), 12);
}

TEST_F(SoundManagerTest, SystemVolumeGoesToTheOutput) {
    manager_->SetSystemVolume(0.25);
    EXPECT_DOUBLE_EQ(manager_->GetSystemVolume(), 0.25);
}

TEST(SoundManagerSilent, WithoutOutputEverythingSucceedsAndNothingPlays) {
    HeadlessPlatform platform;
    SetPlatform(&platform);
    {
        auto manager = CreateSoundManager(false);
        EXPECT_FALSE(manager->IsReady());
        EXPECT_TRUE(manager->LoadSound(0, "Sound\\no such file"));
        EXPECT_EQ(manager->LoadedCount(), 0);
        SoundInstance* instance = manager->CreateInstance(0);
        ASSERT_NE(instance, nullptr);
        instance->SetPan(100);
        instance->SetVolume(0.3);
        instance->ShiftPitch(3);
        EXPECT_FALSE(instance->Play(false, true));
        EXPECT_FALSE(instance->IsPlaying());
        EXPECT_TRUE(instance->IsReleased());   // played, finished, auto-release
        manager->SetVolume(0.5);
        manager->StopAll();
        manager->SetSystemVolume(0.5);
        EXPECT_DOUBLE_EQ(manager->GetSystemVolume(), 0.5);
        EXPECT_EQ(manager->CreateInstance(256), nullptr);
        manager->FreeAllSounds();
        manager->FreeAllInstances();
    }
    SetPlatform(nullptr);
}
