#include "framework/platform/sdl/audio/MixerOutput.h"

#include "framework/core/Diagnostics.h"
#include "framework/sound/AudioDevice.h"

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

}  // namespace

bool AcquireMixerOutput(MixerFormat* format) {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_users == 0) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            Diagnose(std::string("Audio output not available: ") + SDL_GetError());
            return false;
        }
        // Frequency and format changes are allowed: SDL_mixer mixes in whatever the device
        // takes and sounds are converted to it when they are loaded.
        if (Mix_OpenAudioDevice(AudioDevice::kOutputRate, AUDIO_S16SYS, AudioDevice::kOutputChannels,
                                kChunkFrames, nullptr,
                                SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_FORMAT_CHANGE) != 0) {
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
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace Orvane
