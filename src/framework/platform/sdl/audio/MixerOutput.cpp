#include "framework/platform/sdl/audio/MixerOutput.h"

#include "framework/core/Diagnostics.h"
#include "framework/sound/AudioDevice.h"
#include "framework/sound/OutputTap.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdlib>
#include <mutex>
#include <string>

namespace Orvane {

namespace {

constexpr int kChunkFrames = 512;

std::mutex g_mutex;
int g_users = 0;
MixerFormat g_format;

std::mutex g_tapMutex;
OutputTap g_tap;

// Runs on the mixer's thread after every mix.
void CallTap(void*, Uint8* stream, int length) {
    std::lock_guard<std::mutex> lock(g_tapMutex);
    if (!g_tap || g_format.format != AUDIO_S16SYS || g_format.channels <= 0) return;
    const size_t frames = static_cast<size_t>(length) / (2 * static_cast<size_t>(g_format.channels));
    g_tap(reinterpret_cast<const int16_t*>(stream), frames, g_format.channels, g_format.rate);
}

}  // namespace

void SetOutputTap(OutputTap tap) {
    std::lock_guard<std::mutex> lock(g_tapMutex);
    g_tap = std::move(tap);
}

bool AcquireMixerOutput(MixerFormat* format) {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_users == 0) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            Diagnose(std::string("Audio output not available: ") + SDL_GetError());
            return false;
        }
        // The mix is 16-bit; its rate may follow the device (sounds are converted to it when
        // they are loaded), which spares a second resampling in SDL.
        if (Mix_OpenAudioDevice(AudioDevice::kOutputRate, AUDIO_S16SYS, AudioDevice::kOutputChannels,
                                kChunkFrames, nullptr, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE) != 0) {
            Diagnose(std::string("Audio output not available: ") + Mix_GetError());
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return false;
        }
        int rate = 0;
        Uint16 sdlFormat = 0;
        int channels = 0;
        Mix_QuerySpec(&rate, &sdlFormat, &channels);
        g_format = MixerFormat{rate, sdlFormat, channels};
        Mix_AllocateChannels(AudioDevice::kChannels);
        Mix_ReserveChannels(AudioDevice::kChannels);   // channels are chosen by the manager only
        Mix_SetPostMix(CallTap, nullptr);
        Diagnose("Audio output opened: " + std::string(SDL_GetCurrentAudioDriver() ? SDL_GetCurrentAudioDriver() : "?") +
                 ", " + std::to_string(rate) + " Hz, " + std::to_string(channels) + " channels");
    }
    ++g_users;
    *format = g_format;
    return true;
}

void ReleaseMixerOutput() {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_users == 0 || --g_users > 0) return;
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    Mix_SetPostMix(nullptr, nullptr);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace Orvane
