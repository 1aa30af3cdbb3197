// Sound effects: the sound manager holds up to 256 decoded sounds by id and up to 32 playing
// instances of them. The application owns one manager (CreateSoundManager); the engine's audio
// manager loads its files into it by id and plays them through the application.
//
// Without an audio device the manager still answers: loading succeeds, instances exist and
// play nothing, so the game runs silently.
#pragma once

#include <memory>
#include <string>

namespace Orvane {

class SoundManager;

// One playing (or playable) copy of a loaded sound. Owned by its manager.
class SoundInstance {
public:
    virtual ~SoundInstance() = default;

    // Stops and marks the instance released; the manager deletes it when it needs its slot.
    virtual void Release() = 0;
    virtual void SetDefaultVolume(double volume) = 0;
    virtual void SetDefaultPan(int pan) = 0;
    // Playback rate := the sound's own rate x 2^(steps / 12), limited to 100..100000 Hz.
    // Takes effect from the next Play.
    virtual void ShiftPitch(double steps) = 0;
    // Effective volume = volume x base volume x the manager's volume.
    virtual void SetVolume(double volume) = 0;
    // Pan in hundredths of a decibel: -10000 full left .. 10000 full right (added to the base pan).
    virtual void SetPan(int pan) = 0;
    // Starts from the current position; false without a buffer or when the device refuses.
    virtual bool Play(bool looping, bool autoRelease) = 0;
    // Stops, rewinds and clears auto-release.
    virtual void Stop() = 0;
    virtual bool IsPlaying() = 0;
    // An auto-release instance that has played and finished releases itself here.
    virtual bool IsReleased() = 0;
    virtual double GetVolume() = 0;
};

class SoundManager {
public:
    static constexpr int kMaxSounds = 256;     // sound ids 0..255
    static constexpr int kMaxInstances = 32;   // playing slots

    virtual ~SoundManager() = default;

    // True when an audio device is open.
    virtual bool IsReady() = 0;
    // The id whose source file name equals fileName, else the highest free id, else -1.
    virtual int FindSoundId(const std::string& fileName) = 0;
    // Loads fileName (given without extension) into slot id: the decoded-sound cache
    // "cached\<name>.wav", then "<name>.wav", then "<name>.ogg" (which refreshes the cache).
    // True without loading anything when there is no device.
    virtual bool LoadSound(int id, const std::string& fileName) = 0;
    virtual void FreeSound(int id) = 0;
    // Volume of every instance; re-applied at once to the playing ones.
    virtual void SetVolume(double volume) = 0;
    virtual bool SetDefaultVolume(int id, double volume) = 0;
    virtual bool SetDefaultPan(int id, int pan) = 0;
    // A new instance of a loaded sound, or none (unloaded sound, bad id, all slots busy).
    // The manager keeps ownership; the pointer stays valid until the instance is released
    // and its slot reused, or the instances are freed.
    virtual SoundInstance* CreateInstance(int id) = 0;
    virtual void FreeAllSounds() = 0;
    virtual void FreeAllInstances() = 0;
    // The output's master level 0..1 (applied after every instance's own volume).
    virtual double GetSystemVolume() = 0;
    virtual void SetSystemVolume(double volume) = 0;
    virtual void Flush() = 0;
    // Re-attaches the output to a (new) main window; nothing to do on this platform.
    virtual void SetCooperativeWindow(void* window, bool windowed) = 0;
    // Stops every playing instance; auto-release instances are released later, when found finished.
    virtual void StopAll() = 0;
    virtual int FirstFreeId() = 0;
    virtual int LoadedCount() = 0;
};

// Device attenuation in hundredths of a decibel for an effective volume:
// (int)((log10(v x 9 + 1) - 1) x 2333), and -10000 (silence) below -2000.
int VolumeToAttenuation(double volume);
// Linear gain 0..1 of an attenuation in hundredths of a decibel (-10000 and below: 0).
double AttenuationToGain(int attenuation);
// Left and right gains 0..1 for a pan in hundredths of a decibel (-10000 .. 10000): the far
// side is attenuated by |pan| / 100 dB.
void PanToGains(int pan, double* left, double* right);

// The application's sound manager: over the platform's mixer when wantDevice is true and an
// output device opens; otherwise a silent manager (IsReady() false) that keeps every rule.
std::unique_ptr<SoundManager> CreateSoundManager(bool wantDevice);

}  // namespace Orvane
