// Music: the framework's song player. The base class is silent (it loads nothing and reports
// nothing playing); CreateMusicBackEnd gives the streaming back-end over the platform's mixer.
// Songs are kept by id; volumes are 0..1; fade speeds are volume steps per logic step (10 ms),
// advanced by Update().
#pragma once

#include <memory>
#include <string>

namespace Orvane {

class MusicInterface {
public:
    virtual ~MusicInterface() = default;

    // Reads the file through the file layer; ".ogg", ".wav" and ".mp3" play as a stream from
    // memory (what the mixer can decode); module songs are not played.
    virtual bool LoadMusic(int /*songId*/, const std::string& /*fileName*/) { return false; }
    // Starts at full (maximum) volume; offset is a byte offset into the stream when positive.
    virtual void PlayMusic(int /*songId*/, int /*offset*/ = 0, bool /*noLoop*/ = false) {}
    virtual void StopMusic(int /*songId*/) {}
    virtual void PauseMusic(int /*songId*/) {}
    virtual void ResumeMusic(int /*songId*/) {}
    // Every song's volume := 0 and its playing stops.
    virtual void StopAllMusic() {}
    virtual void UnloadMusic(int /*songId*/) {}
    virtual void UnloadAllMusic() {}
    virtual void PauseAllMusic() {}
    virtual void ResumeAllMusic() {}
    // Restarts the song (looping unless noLoop) at its current volume and raises the volume by
    // speed every Update until the song's maximum volume.
    virtual void FadeIn(int /*songId*/, int /*offset*/ = 0, double /*speed*/ = 0.002,
                        bool /*noLoop*/ = false) {}
    // Lowers the volume by speed every Update down to 0; then stops when stopWhenFaded.
    virtual void FadeOut(int /*songId*/, bool /*stopWhenFaded*/ = true, double /*speed*/ = 0.004) {}
    virtual void FadeOutAll(bool /*stopWhenFaded*/ = true, double /*speed*/ = 0.004) {}
    virtual void SetSongVolume(int /*songId*/, double /*volume*/) {}
    virtual void SetSongMaxVolume(int /*songId*/, double /*volume*/) {}
    virtual bool IsPlaying(int /*songId*/) { return false; }
    // The global music volume 0..1 (the application's music volume, 0 while muted).
    virtual void SetVolume(double /*volume*/) {}
    // Upper limit of the global volume (1.0 by default); SetVolume(v) applies v x this.
    virtual void SetMusicAmplify(double /*amplify*/) {}
    // One logic step of the fades.
    virtual void Update() {}
};

// The silent base.
std::unique_ptr<MusicInterface> CreateSilentMusicInterface();
// The default back-end: an Ogg Vorbis stream over the platform's mixer. With wantSound false,
// or when no output can be opened, the silent base.
std::unique_ptr<MusicInterface> CreateMusicBackEnd(bool wantSound = true);

}  // namespace Orvane
