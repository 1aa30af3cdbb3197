// Audio check: runs the game's audio path (audio manager -> application host -> sound manager
// -> mixer) on the real output and measures it through the output tap:
//   1. start latency: the time from PlaySound until the sound's first sample is mixed, plus one
//      output buffer (the mixed buffer the device still has to play);
//   2. a music track faded in at 0.002 per 10 ms step and looping, with a sound event played on
//      top at 6 s: the level every half second.
// Run with SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=out.raw to keep what was heard in a file
// (44100 Hz, 16-bit stereo), or with a real output to listen.
#include "engine/audio/OggManager.h"
#include "framework/SoundTestFiles.h"
#include "framework/sound/AudioHost.h"
#include "framework/sound/MusicInterface.h"
#include "framework/sound/OutputTap.h"
#include "framework/sound/SoundManager.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The application side, as the game's application provides it.
class Host : public Orvane::AudioHost {
public:
    Host() : sounds_(Orvane::CreateSoundManager(true)), music_(Orvane::CreateMusicBackEnd(true)) {}
    void SetMusicVolume(double v) override { music_->SetVolume(v); }
    void SetSfxVolume(double v) override { sounds_->SetVolume(v); }
    void PlaySoundEffect(int id, int pan) override {
        if (Orvane::SoundInstance* instance = sounds_->CreateInstance(id)) {
            if (pan != 0) instance->SetPan(pan);
            instance->Play(false, true);
        }
    }
    Orvane::SoundManager* GetSoundManager() override { return sounds_.get(); }
    Orvane::MusicInterface* GetMusicInterface() override { return music_.get(); }

private:
    std::unique_ptr<Orvane::SoundManager> sounds_;
    std::unique_ptr<Orvane::MusicInterface> music_;
};

// What the tap saw: per mixed buffer, when it was mixed and its first loud frame.
struct Buffer {
    Clock::time_point mixedAt;
    size_t frames;
    int rate;
    long firstLoudFrame;   // -1 when the buffer is quiet
    double sumSquares;     // of the left channel, normalised to full scale
};

std::mutex g_mutex;
std::vector<Buffer> g_buffers;
int g_loudThreshold = 32767;

void Tap(const int16_t* samples, size_t frames, int channels, int rate) {
    Buffer b{Clock::now(), frames, rate, -1, 0.0};
    for (size_t i = 0; i < frames; ++i) {
        const int16_t left = samples[i * static_cast<size_t>(channels)];
        if (b.firstLoudFrame < 0 && std::abs(left) >= g_loudThreshold) b.firstLoudFrame = static_cast<long>(i);
        b.sumSquares += (left / 32768.0) * (left / 32768.0);
    }
    std::lock_guard<std::mutex> lock(g_mutex);
    g_buffers.push_back(b);
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const int musicSeconds = argc > 1 ? std::max(7, std::atoi(argv[1])) : 9;
    const auto dir = std::filesystem::temp_directory_path() / ("bench_audio_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    // A short 880 Hz beep as the event's sound, a 1.5 s 220 Hz tone as the music track.
    WriteBytes("Sound/beep.ogg", SoundTestFiles::EncodeOgg(SoundTestFiles::Sine(6615, 44100, 1, 16, 880.0, 0.9)));
    WriteBytes("Music/theme.ogg", SoundTestFiles::EncodeOgg(SoundTestFiles::Sine(33075, 22050, 2, 16, 220.0, 0.3)));
    std::ofstream("sound.ini") << "[beep]\nfile0=Sound\\beep.ogg\nvolume=1.0\n";

    Host host;
    if (!host.GetSoundManager()->IsReady()) {
        std::printf("no audio output could be opened\n");
        return 1;
    }
    Orvane::SetOutputTap(Tap);
    COggManager audio(&host);
    audio.LoadSoundEvents("sound.ini");
    audio.LoadSoundFolder("Sound\\");
    audio.SetSfxVolume(1.0f);
    audio.SetMusicVolume(1.0f);

    // 1. Latency of 40 plays at irregular moments, on a silent output.
    g_loudThreshold = 3000;
    std::vector<double> latencies;
    double bufferMs = 0;
    for (int i = 0; i < 40; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(220 + (i * 37) % 50));
        { std::lock_guard<std::mutex> lock(g_mutex); g_buffers.clear(); }
        const auto asked = Clock::now();
        audio.PlaySound(audio.PlaySoundEvent("beep"), 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(120));
        std::lock_guard<std::mutex> lock(g_mutex);
        for (const Buffer& b : g_buffers) {
            if (b.firstLoudFrame < 0 || b.mixedAt < asked) continue;
            bufferMs = 1000.0 * b.frames / b.rate;
            const double mixedMs = std::chrono::duration<double, std::milli>(b.mixedAt - asked).count();
            latencies.push_back(mixedMs + 1000.0 * b.firstLoudFrame / b.rate + bufferMs);
            break;
        }
    }
    std::sort(latencies.begin(), latencies.end());
    if (latencies.empty()) {
        std::printf("latency: the sound was never heard\n");
        return 1;
    }
    double mean = 0;
    for (double l : latencies) mean += l;
    mean /= static_cast<double>(latencies.size());
    const auto within30 = std::count_if(latencies.begin(), latencies.end(), [](double l) { return l <= 30.0; });
    std::printf("start latency over %zu plays (ms, incl. one %.1f ms output buffer): min %.1f  median %.1f  "
                "mean %.1f  90%% %.1f  max %.1f; within 30 ms: %ld of %zu\n",
                latencies.size(), bufferMs, latencies.front(), latencies[latencies.size() / 2], mean,
                latencies[latencies.size() * 9 / 10], latencies.back(), static_cast<long>(within30), latencies.size());

    // 2. The music faded in and looping, a sound event at 6 s.
    Orvane::MusicInterface* music = host.GetMusicInterface();
    if (!music->LoadMusic(0, "Music\\theme.ogg")) {
        std::printf("music: could not load the track\n");
        return 1;
    }
    g_loudThreshold = 32767;
    std::this_thread::sleep_for(std::chrono::milliseconds(400));   // the last beep dies away
    { std::lock_guard<std::mutex> lock(g_mutex); g_buffers.clear(); }
    const auto start = Clock::now();
    music->FadeIn(0, 0, 0.002, false);
    bool eventPlayed = false;
    for (int step = 1; step <= musicSeconds * 100; ++step) {
        std::this_thread::sleep_until(start + std::chrono::milliseconds(10 * step));
        music->Update();
        if (!eventPlayed && step >= 600) {
            audio.PlaySound(audio.PlaySoundEvent("beep"), 0);
            eventPlayed = true;
        }
    }
    const bool stillPlaying = music->IsPlaying(0);
    music->StopAllMusic();
    Orvane::SetOutputTap({});

    std::printf("music level (RMS of the left channel per half second; the sine at full volume: %.3f):\n",
                0.3 / std::sqrt(2.0));
    std::lock_guard<std::mutex> lock(g_mutex);
    for (int half = 0; half < musicSeconds * 2; ++half) {
        double sum = 0;
        size_t frames = 0;
        for (const Buffer& b : g_buffers) {
            const double t = std::chrono::duration<double>(b.mixedAt - start).count();
            if (t >= half * 0.5 && t < half * 0.5 + 0.5) {
                sum += b.sumSquares;
                frames += b.frames;
            }
        }
        const double rms = frames ? std::sqrt(sum / static_cast<double>(frames)) : 0.0;
        std::printf("  %4.1f-%4.1f s  %.3f %s\n", half * 0.5, half * 0.5 + 0.5, rms,
                    half == 12 ? "<- sound event 'beep' at 6.0 s" : "");
    }
    std::printf("music still playing after %d s (looping a 1.5 s track): %s\n", musicSeconds,
                stillPlaying ? "yes" : "no");
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::remove_all(dir);
    return 0;
}
