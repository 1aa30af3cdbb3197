// The music stream over SDL_mixer's music channel: songs are decoded from memory as they
// play. SDL_mixer plays one song at a time, so starting a song stops the one playing.
#include "framework/platform/sdl/audio/MixerOutput.h"
#include "framework/sound/AudioDevice.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace Orvane {

namespace {

class MixerMusicDevice final : public MusicStreamDevice {
public:
    MixerMusicDevice() = default;
    ~MixerMusicDevice() override {
        Mix_HaltMusic();
        for (auto& entry : songs_) Mix_FreeMusic(entry.second.music);
        songs_.clear();
        ReleaseMixerOutput();
    }

    bool Load(int songId, std::vector<uint8_t> bytes) override {
        Unload(songId);
        if (bytes.empty()) return false;
        Song song;
        song.bytes = std::move(bytes);   // SDL_mixer reads from this memory while playing
        SDL_RWops* stream = SDL_RWFromConstMem(song.bytes.data(), static_cast<int>(song.bytes.size()));
        if (!stream) return false;
        song.music = Mix_LoadMUS_RW(stream, /*freesrc=*/1);
        if (!song.music) return false;
        songs_.emplace(songId, std::move(song));
        return true;
    }

    void Unload(int songId) override {
        auto it = songs_.find(songId);
        if (it == songs_.end()) return;
        if (current_ == songId) {
            Mix_HaltMusic();
            current_ = -1;
        }
        Mix_FreeMusic(it->second.music);
        songs_.erase(it);
    }

    bool Play(int songId, bool looping, double startSeconds) override {
        auto it = songs_.find(songId);
        if (it == songs_.end()) return false;
        current_ = songId;
        ApplyVolume();
        if (Mix_PlayMusic(it->second.music, looping ? -1 : 1) != 0) return false;
        if (startSeconds > 0.0) Mix_SetMusicPosition(startSeconds);
        return true;
    }

    void Stop(int songId) override {
        if (songId == current_) Mix_HaltMusic();
    }
    void Pause(int songId) override {
        if (songId == current_) Mix_PauseMusic();
    }
    void Resume(int songId) override {
        if (songId == current_) Mix_ResumeMusic();
    }
    bool IsPlaying(int songId) override {
        return songId == current_ && Mix_PlayingMusic() != 0 && Mix_PausedMusic() == 0;
    }

    void SetSongGain(int songId, double gain) override {
        auto it = songs_.find(songId);
        if (it == songs_.end()) return;
        it->second.gain = Clamp(gain);
        if (songId == current_) ApplyVolume();
    }
    void SetGlobalGain(double gain) override {
        global_ = Clamp(gain);
        ApplyVolume();
    }

private:
    struct Song {
        std::vector<uint8_t> bytes;
        Mix_Music* music = nullptr;
        double gain = 0.0;
    };
    static double Clamp(double v) { return std::isfinite(v) ? std::clamp(v, 0.0, 1.0) : 0.0; }

    void ApplyVolume() {
        auto it = songs_.find(current_);
        const double gain = it == songs_.end() ? 0.0 : it->second.gain * global_;
        Mix_VolumeMusic(static_cast<int>(std::lround(gain * MIX_MAX_VOLUME)));
    }

    std::map<int, Song> songs_;
    int current_ = -1;
    double global_ = 1.0;
};

}  // namespace

std::unique_ptr<MusicStreamDevice> OpenMixerMusicDevice() {
    MixerFormat format;
    if (!AcquireMixerOutput(&format)) return nullptr;
    return std::make_unique<MixerMusicDevice>();
}

}  // namespace Orvane
