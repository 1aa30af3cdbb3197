// The headless platform's audio outputs: they play nothing and record what was started - which
// sound (by the file it was loaded from), on which channel, at which volume and pan - and the
// songs of the music stream, so that tests and automated play can see what a player would hear.
#pragma once

#include "framework/sound/AudioDevice.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace Orvane {

struct StartedSound {
    std::string name;     // the file the sound was loaded from ("" when unknown)
    int channel = 0;
    double volume = 1.0;  // the channel's gains as they were when it started
    double left = 1.0;
    double right = 1.0;
    bool looping = false;
};

struct StartedSong {
    int songId = 0;
    bool looping = false;
    double startSeconds = 0.0;
};

// What the recording outputs saw; shared by the platform and every device it opened.
class AudioRecord {
public:
    void AddSound(StartedSound sound);
    void AddSong(StartedSong song);
    std::vector<StartedSound> Sounds() const;
    std::vector<StartedSong> Songs() const;
    // The names of every sound started, in order.
    std::vector<std::string> SoundNames() const;
    void Clear();

private:
    mutable std::mutex mutex_;
    std::vector<StartedSound> sounds_;
    std::vector<StartedSong> songs_;
};

std::unique_ptr<AudioDevice> OpenRecordingAudioDevice(std::shared_ptr<AudioRecord> record);
std::unique_ptr<MusicStreamDevice> OpenRecordingMusicDevice(std::shared_ptr<AudioRecord> record);

}  // namespace Orvane
