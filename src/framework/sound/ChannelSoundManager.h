// The sound manager over an AudioDevice's channels: playing slot i plays on channel i.
// Without a device every rule holds and nothing plays.
#pragma once

#include "framework/sound/AudioDevice.h"
#include "framework/sound/SoundManager.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

namespace Orvane {

class ChannelSoundManager;

class ChannelSoundInstance final : public SoundInstance {
public:
    // source and buffer are none without a device.
    ChannelSoundInstance(ChannelSoundManager& manager, AudioDevice* device, int channel,
                         std::shared_ptr<const PcmSound> source, std::shared_ptr<DeviceSound> buffer);
    ~ChannelSoundInstance() override;

    void Release() override;
    void SetDefaultVolume(double volume) override;
    void SetDefaultPan(int pan) override;
    void ShiftPitch(double steps) override;
    void SetVolume(double volume) override;
    void SetPan(int pan) override;
    bool Play(bool looping, bool autoRelease) override;
    void Stop() override;
    bool IsPlaying() override;
    bool IsReleased() override;
    double GetVolume() override { return volume_; }

    // Re-sends volume and pan to the channel (after a change of the manager's volume).
    void ApplyGains();
    int Frequency() const { return frequency_; }
    bool AutoRelease() const { return autoRelease_; }

private:
    ChannelSoundManager& manager_;
    AudioDevice* device_;
    int channel_;
    std::shared_ptr<const PcmSound> source_;
    std::shared_ptr<DeviceSound> buffer_;
    int bufferRate_ = 0;        // the playback rate buffer_ was prepared for
    int basePan_ = 0;
    double baseVolume_ = 1.0;
    int pan_ = 0;
    double volume_ = 1.0;
    int defaultFrequency_ = 0;
    int frequency_ = 0;
    bool looping_ = false;
    bool autoRelease_ = false;
    bool hasPlayed_ = false;
    bool released_ = false;
};

class ChannelSoundManager final : public SoundManager {
public:
    // device may be none: the silent manager.
    explicit ChannelSoundManager(std::unique_ptr<AudioDevice> device);
    ~ChannelSoundManager() override;

    bool IsReady() override { return device_ != nullptr; }
    int FindSoundId(const std::string& fileName) override;
    bool LoadSound(int id, const std::string& fileName) override;
    void FreeSound(int id) override;
    void SetVolume(double volume) override;
    bool SetDefaultVolume(int id, double volume) override;
    bool SetDefaultPan(int id, int pan) override;
    SoundInstance* CreateInstance(int id) override;
    void FreeAllSounds() override;
    void FreeAllInstances() override;
    double GetSystemVolume() override;
    void SetSystemVolume(double volume) override;
    void Flush() override {}
    void SetCooperativeWindow(void*, bool) override {}
    void StopAll() override;
    int FirstFreeId() override;
    int LoadedCount() override;

    double Volume() const { return volume_.load(); }
    // The playing slot's instance (tests and diagnostics); none when the slot is empty.
    SoundInstance* InstanceInSlot(int slot);

private:
    struct SoundSlot {
        std::string fileName;
        std::shared_ptr<const PcmSound> source;
        std::shared_ptr<DeviceSound> buffer;
        double baseVolume = 1.0;
        int basePan = 0;
    };
    static bool ValidId(int id) { return id >= 0 && id < kMaxSounds; }
    void ReleaseFinishedInstances();   // with mutex_ held

    std::unique_ptr<AudioDevice> device_;
    std::mutex mutex_;   // the loading thread loads while the main thread plays
    std::array<SoundSlot, kMaxSounds> sounds_;
    std::array<std::unique_ptr<ChannelSoundInstance>, kMaxInstances> instances_;
    std::atomic<double> volume_{1.0};
    double systemVolume_ = 1.0;
    bool sweptOnce_ = false;
    uint32_t lastSweepMs_ = 0;
};

}  // namespace Orvane
