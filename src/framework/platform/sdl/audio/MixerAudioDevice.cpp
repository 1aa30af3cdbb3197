// Sound channels over SDL_mixer: a sound is converted once to the output format (SDL's audio
// converter resamples any rate, 8 or 16 bits, mono or stereo) and shared by every channel
// playing it.
#include "framework/platform/sdl/audio/MixerOutput.h"
#include "framework/sound/AudioDevice.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>

namespace Orvane {

namespace {

class MixerSound final : public DeviceSound {
public:
    MixerSound(std::vector<uint8_t> samples, size_t frameBytes)
        : samples_(std::move(samples)), frameBytes_(frameBytes) {
        chunk_ = Mix_QuickLoad_RAW(samples_.data(), static_cast<Uint32>(samples_.size()));
    }
    ~MixerSound() override {
        if (chunk_) Mix_FreeChunk(chunk_);   // does not free samples_ (quick-loaded)
    }
    MixerSound(const MixerSound&) = delete;
    MixerSound& operator=(const MixerSound&) = delete;
    Mix_Chunk* Chunk() const { return chunk_; }
    size_t Frames() const override { return frameBytes_ ? samples_.size() / frameBytes_ : 0; }

private:
    std::vector<uint8_t> samples_;
    size_t frameBytes_;
    Mix_Chunk* chunk_ = nullptr;
};

int ToMixerLevel(double gain, int full) {
    if (!std::isfinite(gain)) return 0;
    return static_cast<int>(std::lround(std::clamp(gain, 0.0, 1.0) * full));
}

class MixerAudioDevice final : public AudioDevice {
public:
    explicit MixerAudioDevice(const MixerFormat& format) : format_(format) {}
    ~MixerAudioDevice() override {
        for (int channel = 0; channel < kChannels; ++channel) Mix_HaltChannel(channel);
        for (auto& sound : playing_) sound.reset();
        ReleaseMixerOutput();
    }

    std::shared_ptr<DeviceSound> Prepare(const PcmSound& sound, int playbackRate) override {
        if (!sound.HasSupportedFormat() || playbackRate <= 0 || sound.samples.empty()) return nullptr;
        const SDL_AudioFormat source = sound.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
        SDL_AudioCVT cvt;
        if (SDL_BuildAudioCVT(&cvt, source, static_cast<Uint8>(sound.channels), playbackRate,
                              format_.format, static_cast<Uint8>(format_.channels), format_.rate) < 0)
            return nullptr;
        const size_t frames = sound.FrameCount();
        const size_t length = frames * static_cast<size_t>(sound.BlockAlign());
        if (cvt.len_mult <= 0 ||
            length > static_cast<size_t>(std::numeric_limits<int>::max() / cvt.len_mult / 2))
            return nullptr;
        std::vector<uint8_t> buffer(length * static_cast<size_t>(cvt.len_mult));
        std::memcpy(buffer.data(), sound.samples.data(), length);
        cvt.buf = buffer.data();
        cvt.len = static_cast<int>(length);
        if (cvt.needed && SDL_ConvertAudio(&cvt) != 0) return nullptr;
        buffer.resize(cvt.needed ? static_cast<size_t>(cvt.len_cvt) : length);
        if (buffer.empty()) return nullptr;
        const size_t frameBytes = SDL_AUDIO_BITSIZE(format_.format) / 8 * static_cast<size_t>(format_.channels);
        auto prepared = std::make_shared<MixerSound>(std::move(buffer), frameBytes);
        if (!prepared->Chunk()) return nullptr;
        return prepared;
    }

    bool Play(int channel, std::shared_ptr<DeviceSound> sound, bool looping) override {
        if (!ValidChannel(channel) || !sound) return false;
        auto* mixerSound = dynamic_cast<MixerSound*>(sound.get());
        if (!mixerSound) return false;
        // Halting first keeps the channel's effects (the pan) in place for the new start.
        Mix_HaltChannel(channel);
        playing_[channel] = std::move(sound);
        ApplyGains(channel);
        return Mix_PlayChannel(channel, mixerSound->Chunk(), looping ? -1 : 0) == channel;
    }

    void Stop(int channel) override {
        if (ValidChannel(channel)) Mix_HaltChannel(channel);
    }

    bool IsPlaying(int channel) override {
        return ValidChannel(channel) && Mix_Playing(channel) != 0;
    }

    void SetChannelGains(int channel, double volume, double left, double right) override {
        if (!ValidChannel(channel)) return;
        gains_[channel] = Gains{volume, left, right};
        ApplyGains(channel);
    }

    void SetMasterGain(double gain) override {
        master_ = std::isfinite(gain) ? std::clamp(gain, 0.0, 1.0) : 0.0;
        Mix_MasterVolume(ToMixerLevel(master_, MIX_MAX_VOLUME));
    }
    double GetMasterGain() override { return master_; }

private:
    struct Gains {
        double volume = 1.0;
        double left = 1.0;
        double right = 1.0;
    };
    static bool ValidChannel(int channel) { return channel >= 0 && channel < kChannels; }

    void ApplyGains(int channel) {
        const Gains& g = gains_[channel];
        Mix_Volume(channel, ToMixerLevel(g.volume, MIX_MAX_VOLUME));
        Mix_SetPanning(channel, static_cast<Uint8>(ToMixerLevel(g.left, 255)),
                       static_cast<Uint8>(ToMixerLevel(g.right, 255)));
    }

    MixerFormat format_;
    std::array<std::shared_ptr<DeviceSound>, kChannels> playing_;
    std::array<Gains, kChannels> gains_;
    double master_ = 1.0;
};

}  // namespace

std::unique_ptr<AudioDevice> OpenMixerAudioDevice() {
    MixerFormat format;
    if (!AcquireMixerOutput(&format)) return nullptr;
    return std::make_unique<MixerAudioDevice>(format);
}

}  // namespace Orvane
