// The audio output as the sound manager and the music back-end see it. The platform layer
// implements it over its mixer (32 sound channels plus one music stream); the managers above
// keep all the rules, so they work the same with a fake device in tests.
#pragma once

#include "framework/sound/PcmSound.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Orvane {

// A sound converted to the output's format; shared by every channel playing it.
class DeviceSound {
public:
    virtual ~DeviceSound() = default;
    // Length in output frames (at the output's rate).
    virtual size_t Frames() const = 0;
};

class AudioDevice {
public:
    static constexpr int kChannels = 32;
    // The format asked of the output.
    static constexpr int kOutputRate = 44100;
    static constexpr int kOutputChannels = 2;

    virtual ~AudioDevice() = default;

    // Converts a sound to the output format, taking its samples to be playbackRate Hz (the
    // sound's own rate plays it at its pitch). None when the conversion fails.
    virtual std::shared_ptr<DeviceSound> Prepare(const PcmSound& sound, int playbackRate) = 0;
    // Starts sound from its beginning on channel (0..kChannels-1); the channel keeps the sound
    // alive while it holds it.
    virtual bool Play(int channel, std::shared_ptr<DeviceSound> sound, bool looping) = 0;
    virtual void Stop(int channel) = 0;
    virtual bool IsPlaying(int channel) = 0;
    // Channel volume and the two sides' gains, each 0..1.
    virtual void SetChannelGains(int channel, double volume, double left, double right) = 0;
    // Level of the whole output, 0..1.
    virtual void SetMasterGain(double gain) = 0;
    virtual double GetMasterGain() = 0;
};

// The music stream of the output: one song plays at a time.
class MusicStreamDevice {
public:
    virtual ~MusicStreamDevice() = default;

    // Prepares a song from a whole file in memory (the device keeps the bytes).
    virtual bool Load(int songId, std::vector<uint8_t> bytes) = 0;
    virtual void Unload(int songId) = 0;
    // Starts the song (replacing whatever plays), at a position in seconds.
    virtual bool Play(int songId, bool looping, double startSeconds) = 0;
    virtual void Stop(int songId) = 0;
    virtual void Pause(int songId) = 0;
    virtual void Resume(int songId) = 0;
    virtual bool IsPlaying(int songId) = 0;
    // The song's own volume 0..1 (applied while it plays) and the global music level 0..1.
    virtual void SetSongGain(int songId, double gain) = 0;
    virtual void SetGlobalGain(double gain) = 0;
};

// The platform mixer's output, or none when no output device can be opened.
// Both share one opened output, closed when the last of them is destroyed.
std::unique_ptr<AudioDevice> OpenMixerAudioDevice();
std::unique_ptr<MusicStreamDevice> OpenMixerMusicDevice();

}  // namespace Orvane
