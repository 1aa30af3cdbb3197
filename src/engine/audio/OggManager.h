// COggManager: the engine's audio manager. It registers the game's sound files with the
// application's sound manager under small ids (0..99), maps the sound events of "sound.ini"
// to them, plays them through the application and passes the user's volumes on to it.
// One process-wide instance (GetOggManager); tests build their own with their own host.
#pragma once

#include "framework/sound/AudioHost.h"

#include <array>

class COggManager {
public:
    static constexpr int kMaxSoundFiles = 100;
    static constexpr int kMaxSoundEvents = 100;
    static constexpr int kMaxFilesPerEvent = 10;
    static constexpr int kNameSize = 60;   // names hold up to 59 characters

    struct SoundFileEntry {
        char name[kNameSize] = {};
    };
    struct SoundEvent {
        char name[kNameSize] = {};
        char files[kMaxFilesPerEvent][kNameSize] = {};
        int fileCount = 0;
        float volume = 1.0f;
    };

    // host: the application side; none means the process-wide host (GetAudioHost()).
    explicit COggManager(Orvane::AudioHost* host = nullptr);
    virtual ~COggManager();

    // --- sound file registry ---
    // Registers one file under the next id (extra has no effect).
    bool LoadMusicFile(const char* fileName, float extra = 0.0f);
    // Registers every "*.ogg" and then every "*.wav" file of folder ("Sound\").
    void LoadSoundFolder(const char* folder);
    // The id of a registered name, registering it on a miss; -1 when it cannot be loaded.
    int GetSoundId(const char* fileName);
    // Plays a registered sound once; false for -1 or any id at or above the count.
    bool PlaySound(int id, int extra = 0);
    // Releases all sounds in the sound manager; the names stay registered. Returns 0.
    int FreeMusicManager();

    // --- sound events ---
    // Volumes from config.ini, then the events of "sound.ini". Returns true.
    bool InitSounds();
    void LoadSoundEvents(const char* fileName);
    // The sound id chosen for the event with the event's volume set on it, or -1 (logged).
    // Does not play: callers pass the result to PlaySound.
    int PlaySoundEvent(const char* eventName);
    bool SetMusicVolume(float volume);
    bool SetSfxVolume(float volume);

    int GetSoundFileCount() const { return soundFileCount_; }
    const char* GetSoundFileName(int id) const;
    int GetSoundEventCount() const { return soundEventCount_; }
    const SoundEvent* GetSoundEvent(int index) const;
    float GetMusicVolume() const { return musicVolume_; }
    float GetSfxVolume() const { return sfxVolume_; }

private:
    Orvane::AudioHost* Host() const;

    Orvane::AudioHost* host_;
    std::array<SoundFileEntry, kMaxSoundFiles> soundFiles_{};
    int soundFileCount_ = 0;
    std::array<SoundEvent, kMaxSoundEvents> soundEvents_{};
    int soundEventCount_ = 0;
    float musicVolume_ = 0.8f;
    float sfxVolume_ = 0.75f;
};

// The process-wide audio manager.
COggManager& GetOggManager();
