// The application's audio side as the engine sees it: the volume setters, sound-effect
// playing and the two managers. The application implements it and registers itself, so the
// engine's audio manager reaches the application without depending on its classes.
#pragma once

namespace Orvane {

class SoundManager;
class MusicInterface;

class AudioHost {
public:
    virtual ~AudioHost() = default;

    // Volumes 0..1; the application applies 0 while muted.
    virtual void SetMusicVolume(double volume) = 0;
    virtual void SetSfxVolume(double volume) = 0;
    // Plays a loaded sound once (auto-released), panned when pan is not 0. An unknown id does nothing.
    virtual void PlaySoundEffect(int soundId, int pan) = 0;
    // Either may be none before the application's Init or after shut-down.
    virtual SoundManager* GetSoundManager() = 0;
    virtual MusicInterface* GetMusicInterface() = 0;
};

// The process-wide host (none until the application registers itself; tests set their own).
AudioHost* GetAudioHost();
void SetAudioHost(AudioHost* host);

}  // namespace Orvane
