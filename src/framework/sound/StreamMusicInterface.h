// The default music back-end: songs read whole through the file layer and played as streams
// from memory by the output's music stream. The fades are this class's own arithmetic, one
// step per Update (every 10 ms logic step), so they follow game time, not the mixer's clock.
#pragma once

#include "framework/sound/AudioDevice.h"
#include "framework/sound/MusicInterface.h"

#include <map>
#include <memory>

namespace Orvane {

class StreamMusicInterface final : public MusicInterface {
public:
    explicit StreamMusicInterface(std::unique_ptr<MusicStreamDevice> device);
    ~StreamMusicInterface() override;

    bool LoadMusic(int songId, const std::string& fileName) override;
    void PlayMusic(int songId, int offset = 0, bool noLoop = false) override;
    void StopMusic(int songId) override;
    void PauseMusic(int songId) override;
    void ResumeMusic(int songId) override;
    void StopAllMusic() override;
    void UnloadMusic(int songId) override;
    void UnloadAllMusic() override;
    void PauseAllMusic() override;
    void ResumeAllMusic() override;
    void FadeIn(int songId, int offset = 0, double speed = 0.002, bool noLoop = false) override;
    void FadeOut(int songId, bool stopWhenFaded = true, double speed = 0.004) override;
    void FadeOutAll(bool stopWhenFaded = true, double speed = 0.004) override;
    void SetSongVolume(int songId, double volume) override;
    void SetSongMaxVolume(int songId, double volume) override;
    bool IsPlaying(int songId) override;
    void SetVolume(double volume) override;
    void SetMusicAmplify(double amplify) override;
    void Update() override;

    // The song's current volume 0..1 (-1 for an unknown id): what the fades have reached.
    double GetSongVolume(int songId) const;

private:
    struct Song {
        double volume = 0.0;
        double fadeSpeed = 0.0;
        double maxVolume = 1.0;
        bool stopWhenFaded = false;
    };
    Song* Find(int songId);
    void ApplySongVolume(int songId, const Song& song);
    void Start(int songId, int offset, bool noLoop);

    std::unique_ptr<MusicStreamDevice> device_;
    std::map<int, Song> songs_;
    double amplify_ = 1.0;
};

}  // namespace Orvane
