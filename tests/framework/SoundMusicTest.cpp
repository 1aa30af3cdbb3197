// The music back-end's fades, volumes and song handling over a recording fake stream.
#include "framework/SoundTestFiles.h"
#include "framework/sound/StreamMusicInterface.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>

using namespace Orvane;

namespace {

class FakeStream : public MusicStreamDevice {
public:
    struct Song {
        bool playing = false, paused = false, looping = false;
        double gain = -1, start = -1;
        int starts = 0;
    };
    std::map<int, Song>* songs;
    double* global;
    FakeStream(std::map<int, Song>* s, double* g) : songs(s), global(g) {}

    bool Load(int id, std::vector<uint8_t> bytes) override {
        if (bytes.size() < 4) return false;
        (*songs)[id] = Song{};
        return true;
    }
    void Unload(int id) override { songs->erase(id); }
    bool Play(int id, bool looping, double start) override {
        for (auto& entry : *songs) entry.second.playing = false;   // one song at a time
        Song& s = (*songs)[id];
        s.playing = true;
        s.looping = looping;
        s.start = start;
        ++s.starts;
        return true;
    }
    void Stop(int id) override { (*songs)[id].playing = false; }
    void Pause(int id) override { (*songs)[id].paused = true; }
    void Resume(int id) override { (*songs)[id].paused = false; }
    bool IsPlaying(int id) override { return (*songs)[id].playing && !(*songs)[id].paused; }
    void SetSongGain(int id, double gain) override { (*songs)[id].gain = gain; }
    void SetGlobalGain(double gain) override { *global = gain; }
};

class SoundMusicTest : public ::testing::Test {
protected:
    SoundMusicTest() : cwd_(dir_.Path()), music_(std::make_unique<FakeStream>(&songs_, &global_)) {
        TestSupport::WriteFile(dir_ / "theme1.ogg", SoundTestFiles::EncodeOgg(SoundTestFiles::Sine(500)));
    }
    TestSupport::ScopedTempDir dir_;
    TestSupport::ScopedCwd cwd_;
    std::map<int, FakeStream::Song> songs_;
    double global_ = -1;
    StreamMusicInterface music_;
};

}  // namespace

TEST_F(SoundMusicTest, ThemeFadedInAtTwoThousandthsPerStepIsFullAfterFiveSeconds) {
    ASSERT_TRUE(music_.LoadMusic(0, "theme1.ogg"));
    EXPECT_DOUBLE_EQ(music_.GetSongVolume(0), 0.0);
    music_.FadeIn(0, 0, 0.002, false);
    EXPECT_TRUE(music_.IsPlaying(0));
    EXPECT_TRUE(songs_[0].looping);
    EXPECT_EQ(songs_[0].gain, 0.0);

    int steps = 0;
    while (music_.GetSongVolume(0) < 1.0 && steps < 1000) {
        music_.Update();
        ++steps;
    }
    // 500 steps of 10 ms; the float sum may need one more step to land on the maximum.
    EXPECT_GE(steps, 500);
    EXPECT_LE(steps, 501);
    EXPECT_EQ(songs_[0].gain, 1.0);
    music_.Update();
    EXPECT_EQ(music_.GetSongVolume(0), 1.0);   // the fade stopped at the maximum

    // Half way the channel gets whole percents.
    music_.SetSongVolume(0, 0.0);
    music_.FadeIn(0, 0, 0.00333, false);
    for (int i = 0; i < 100; ++i) music_.Update();
    EXPECT_DOUBLE_EQ(songs_[0].gain, 0.33);
}

TEST_F(SoundMusicTest, FadeOutStopsWhenAskedAndMaximumLimitsFadeIn) {
    ASSERT_TRUE(music_.LoadMusic(0, "theme1.ogg"));
    music_.SetSongMaxVolume(0, 0.5);
    music_.FadeIn(0, 0, 0.1, false);
    for (int i = 0; i < 20; ++i) music_.Update();
    EXPECT_DOUBLE_EQ(music_.GetSongVolume(0), 0.5);

    music_.FadeOut(0, true, 0.2);
    music_.Update();
    EXPECT_TRUE(music_.IsPlaying(0));
    music_.Update();
    music_.Update();
    EXPECT_EQ(music_.GetSongVolume(0), 0.0);
    EXPECT_FALSE(music_.IsPlaying(0));

    music_.FadeIn(0, 0, 0.5, true);   // no loop
    EXPECT_FALSE(songs_[0].looping);
    music_.Update();
    music_.FadeOut(0, false, 1.0);
    music_.Update();
    EXPECT_EQ(music_.GetSongVolume(0), 0.0);
    EXPECT_TRUE(music_.IsPlaying(0));   // faded to silence, still running
}

TEST_F(SoundMusicTest, StopAllPauseResumeVolumeAndUnload) {
    ASSERT_TRUE(music_.LoadMusic(1, "theme1.ogg"));
    music_.PlayMusic(1, 44100 * 4 * 2, false);   // a byte offset of two seconds of output
    EXPECT_DOUBLE_EQ(songs_[1].start, 2.0);
    EXPECT_EQ(music_.GetSongVolume(1), 1.0);
    music_.PauseAllMusic();
    EXPECT_FALSE(music_.IsPlaying(1));
    music_.ResumeAllMusic();
    EXPECT_TRUE(music_.IsPlaying(1));

    music_.SetVolume(0.6);
    EXPECT_DOUBLE_EQ(global_, 0.6);
    music_.SetMusicAmplify(0.5);
    music_.SetVolume(0.6);
    EXPECT_DOUBLE_EQ(global_, 0.3);
    music_.SetVolume(7.0);   // out of range: clamped
    EXPECT_DOUBLE_EQ(global_, 0.5);

    music_.StopAllMusic();
    EXPECT_FALSE(music_.IsPlaying(1));
    EXPECT_EQ(music_.GetSongVolume(1), 0.0);
    music_.UnloadMusic(1);
    EXPECT_EQ(music_.GetSongVolume(1), -1.0);
    EXPECT_EQ(songs_.count(1), 0u);
}

TEST_F(SoundMusicTest, UnknownSongsAndBadFilesAreHarmless) {
    EXPECT_FALSE(music_.LoadMusic(0, "missing.ogg"));
    EXPECT_FALSE(music_.LoadMusic(0, "theme1.mod"));   // module songs are not played here
    TestSupport::WriteFile(dir_ / "tiny.ogg", std::string("ab"));
    EXPECT_FALSE(music_.LoadMusic(0, "tiny.ogg"));
    music_.FadeIn(5);
    music_.FadeOut(5);
    music_.PlayMusic(5);
    music_.SetSongVolume(5, 1.0);
    music_.Update();
    EXPECT_FALSE(music_.IsPlaying(5));
    EXPECT_TRUE(songs_.empty());
}

TEST(SoundMusicSilent, BaseInterfacePlaysNothing) {
    auto music = CreateMusicBackEnd(false);
    EXPECT_FALSE(music->LoadMusic(0, "Music\\theme1.ogg"));
    music->FadeIn(0, 0, 0.002, false);
    music->Update();
    music->SetVolume(1.0);
    EXPECT_FALSE(music->IsPlaying(0));
    music->StopAllMusic();
}
