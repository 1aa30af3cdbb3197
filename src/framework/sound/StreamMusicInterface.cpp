#include "framework/sound/StreamMusicInterface.h"

#include "framework/core/Diagnostics.h"
#include "framework/pak/PakInterface.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace Orvane {

namespace {

constexpr size_t kMaxSongBytes = size_t{128} << 20;
// A stream offset is a byte position in the decoded output (16-bit stereo at 44100 Hz).
constexpr double kStreamBytesPerSecond = 44100.0 * 4.0;

std::string LowerExtension(const std::string& fileName) {
    const size_t dot = fileName.rfind('.');
    if (dot == std::string::npos) return {};
    std::string extension = fileName.substr(dot + 1);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

double Clamp01(double v) { return std::isfinite(v) ? std::clamp(v, 0.0, 1.0) : 0.0; }

}  // namespace

StreamMusicInterface::StreamMusicInterface(std::unique_ptr<MusicStreamDevice> device)
    : device_(std::move(device)) {}

StreamMusicInterface::~StreamMusicInterface() { UnloadAllMusic(); }

StreamMusicInterface::Song* StreamMusicInterface::Find(int songId) {
    auto it = songs_.find(songId);
    return it == songs_.end() ? nullptr : &it->second;
}

double StreamMusicInterface::GetSongVolume(int songId) const {
    auto it = songs_.find(songId);
    return it == songs_.end() ? -1.0 : it->second.volume;
}

bool StreamMusicInterface::LoadMusic(int songId, const std::string& fileName) {
    const std::string extension = LowerExtension(fileName);
    if (extension != "ogg" && extension != "wav" && extension != "mp3") {
        // Module songs are not played on this platform.
        Diagnose("Music '" + fileName + "' FAILED: only streams (.ogg, .wav, .mp3) are played");
        return false;
    }
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(fileName, bytes, kMaxSongBytes)) {
        Diagnose("Music '" + fileName + "' FAILED: file not found or unreadable");
        return false;
    }
    UnloadMusic(songId);
    if (!device_->Load(songId, std::move(bytes))) {
        Diagnose("Music '" + fileName + "' FAILED: not a playable stream");
        return false;
    }
    songs_[songId] = Song{};
    return true;
}

void StreamMusicInterface::ApplySongVolume(int songId, const Song& song) {
    // Whole percent steps, as the song channels take them.
    device_->SetSongGain(songId, static_cast<int>(song.volume * 100.0) / 100.0);
}

void StreamMusicInterface::Start(int songId, int offset, bool noLoop) {
    const double seconds = offset > 0 ? offset / kStreamBytesPerSecond : 0.0;
    device_->Play(songId, !noLoop, seconds);
}

void StreamMusicInterface::PlayMusic(int songId, int offset, bool noLoop) {
    Song* song = Find(songId);
    if (!song) return;
    song->fadeSpeed = 0.0;
    song->volume = song->maxVolume;
    device_->Stop(songId);
    ApplySongVolume(songId, *song);
    Start(songId, offset, noLoop);
}

void StreamMusicInterface::StopMusic(int songId) {
    if (Find(songId)) device_->Stop(songId);
}

void StreamMusicInterface::PauseMusic(int songId) {
    if (Find(songId)) device_->Pause(songId);
}

void StreamMusicInterface::ResumeMusic(int songId) {
    if (Find(songId)) device_->Resume(songId);
}

void StreamMusicInterface::StopAllMusic() {
    for (auto& [id, song] : songs_) {
        song.volume = 0.0;
        song.fadeSpeed = 0.0;
        device_->Stop(id);
    }
}

void StreamMusicInterface::UnloadMusic(int songId) {
    if (!Find(songId)) return;
    device_->Stop(songId);
    device_->Unload(songId);
    songs_.erase(songId);
}

void StreamMusicInterface::UnloadAllMusic() {
    while (!songs_.empty()) UnloadMusic(songs_.begin()->first);
}

void StreamMusicInterface::PauseAllMusic() {
    for (auto& entry : songs_) device_->Pause(entry.first);
}

void StreamMusicInterface::ResumeAllMusic() {
    for (auto& entry : songs_) device_->Resume(entry.first);
}

void StreamMusicInterface::FadeIn(int songId, int offset, double speed, bool noLoop) {
    Song* song = Find(songId);
    if (!song) return;
    song->fadeSpeed = std::isfinite(speed) ? std::fabs(speed) : 0.0;
    song->stopWhenFaded = noLoop;
    device_->Stop(songId);
    ApplySongVolume(songId, *song);
    Start(songId, offset, noLoop);
}

void StreamMusicInterface::FadeOut(int songId, bool stopWhenFaded, double speed) {
    Song* song = Find(songId);
    if (!song) return;
    song->fadeSpeed = std::isfinite(speed) ? -std::fabs(speed) : 0.0;
    song->stopWhenFaded = stopWhenFaded;
}

void StreamMusicInterface::FadeOutAll(bool stopWhenFaded, double speed) {
    for (auto& entry : songs_) FadeOut(entry.first, stopWhenFaded, speed);
}

void StreamMusicInterface::SetSongVolume(int songId, double volume) {
    Song* song = Find(songId);
    if (!song) return;
    song->volume = Clamp01(volume);
    ApplySongVolume(songId, *song);
}

void StreamMusicInterface::SetSongMaxVolume(int songId, double volume) {
    Song* song = Find(songId);
    if (!song) return;
    song->maxVolume = Clamp01(volume);
}

bool StreamMusicInterface::IsPlaying(int songId) {
    return Find(songId) != nullptr && device_->IsPlaying(songId);
}

void StreamMusicInterface::SetVolume(double volume) {
    device_->SetGlobalGain(Clamp01(Clamp01(volume) * amplify_));
}

void StreamMusicInterface::SetMusicAmplify(double amplify) { amplify_ = Clamp01(amplify); }

void StreamMusicInterface::Update() {
    for (auto& [id, song] : songs_) {
        if (song.fadeSpeed == 0.0) continue;
        song.volume += song.fadeSpeed;
        if (song.volume >= song.maxVolume) {
            song.volume = song.maxVolume;
            song.fadeSpeed = 0.0;
        } else if (song.volume <= 0.0) {
            song.volume = 0.0;
            song.fadeSpeed = 0.0;
            if (song.stopWhenFaded) device_->Stop(id);
        }
        ApplySongVolume(id, song);
    }
}

}  // namespace Orvane
