#include "framework/platform/RecordingAudio.h"

#include <array>
#include <map>

namespace Orvane {

void AudioRecord::AddSound(StartedSound sound) {
    std::lock_guard<std::mutex> lock(mutex_);
    sounds_.push_back(std::move(sound));
}

void AudioRecord::AddSong(StartedSong song) {
    std::lock_guard<std::mutex> lock(mutex_);
    songs_.push_back(song);
}

std::vector<StartedSound> AudioRecord::Sounds() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return sounds_;
}

std::vector<StartedSong> AudioRecord::Songs() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return songs_;
}

std::vector<std::string> AudioRecord::SoundNames() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> names;
    names.reserve(sounds_.size());
    for (const StartedSound& s : sounds_) names.push_back(s.name);
    return names;
}

void AudioRecord::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    sounds_.clear();
    songs_.clear();
}

namespace {

class RecordedSound final : public DeviceSound {
public:
    RecordedSound(std::string name, size_t frames) : name_(std::move(name)), frames_(frames) {}
    size_t Frames() const override { return frames_; }
    const std::string& Name() const { return name_; }

private:
    std::string name_;
    size_t frames_;
};

class RecordingAudioDevice final : public AudioDevice {
public:
    explicit RecordingAudioDevice(std::shared_ptr<AudioRecord> record) : record_(std::move(record)) {}

    std::shared_ptr<DeviceSound> Prepare(const PcmSound& sound, int playbackRate) override {
        if (!sound.HasSupportedFormat() || playbackRate <= 0) return nullptr;
        const double frames = static_cast<double>(sound.FrameCount()) * kOutputRate / playbackRate;
        return std::make_shared<RecordedSound>(sound.name, static_cast<size_t>(frames));
    }
    bool Play(int channel, std::shared_ptr<DeviceSound> sound, bool looping) override {
        if (channel < 0 || channel >= kChannels || !sound) return false;
        Channel& c = channels_[static_cast<size_t>(channel)];
        c.playing = true;
        const auto* recorded = static_cast<const RecordedSound*>(sound.get());
        record_->AddSound({recorded->Name(), channel, c.volume, c.left, c.right, looping});
        return true;
    }
    void Stop(int channel) override {
        if (channel >= 0 && channel < kChannels) channels_[static_cast<size_t>(channel)].playing = false;
    }
    // Nothing is heard, so a sound is over as soon as it started.
    bool IsPlaying(int channel) override { (void)channel; return false; }
    void SetChannelGains(int channel, double volume, double left, double right) override {
        if (channel < 0 || channel >= kChannels) return;
        Channel& c = channels_[static_cast<size_t>(channel)];
        c.volume = volume;
        c.left = left;
        c.right = right;
    }
    void SetMasterGain(double gain) override { master_ = gain; }
    double GetMasterGain() override { return master_; }

private:
    struct Channel {
        bool playing = false;
        double volume = 1.0;
        double left = 1.0;
        double right = 1.0;
    };
    std::shared_ptr<AudioRecord> record_;
    std::array<Channel, kChannels> channels_{};
    double master_ = 1.0;
};

class RecordingMusicDevice final : public MusicStreamDevice {
public:
    explicit RecordingMusicDevice(std::shared_ptr<AudioRecord> record) : record_(std::move(record)) {}

    bool Load(int songId, std::vector<uint8_t> bytes) override {
        if (bytes.empty()) return false;
        songs_[songId] = false;
        return true;
    }
    void Unload(int songId) override { songs_.erase(songId); }
    bool Play(int songId, bool looping, double startSeconds) override {
        auto it = songs_.find(songId);
        if (it == songs_.end()) return false;
        for (auto& song : songs_) song.second = false;
        it->second = true;
        record_->AddSong({songId, looping, startSeconds});
        return true;
    }
    void Stop(int songId) override { if (songs_.count(songId)) songs_[songId] = false; }
    void Pause(int songId) override { (void)songId; }
    void Resume(int songId) override { (void)songId; }
    bool IsPlaying(int songId) override {
        auto it = songs_.find(songId);
        return it != songs_.end() && it->second;
    }
    void SetSongGain(int songId, double gain) override { (void)songId; (void)gain; }
    void SetGlobalGain(double gain) override { (void)gain; }

private:
    std::shared_ptr<AudioRecord> record_;
    std::map<int, bool> songs_;
};

}  // namespace

std::unique_ptr<AudioDevice> OpenRecordingAudioDevice(std::shared_ptr<AudioRecord> record) {
    return std::make_unique<RecordingAudioDevice>(std::move(record));
}

std::unique_ptr<MusicStreamDevice> OpenRecordingMusicDevice(std::shared_ptr<AudioRecord> record) {
    return std::make_unique<RecordingMusicDevice>(std::move(record));
}

}  // namespace Orvane
