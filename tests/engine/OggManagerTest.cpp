// The audio manager: its file registry, the sound events of sound.ini, the volumes passed to
// the application and the play-by-name helpers, over a recording application and sound manager.
#include "engine/audio/OggManager.h"
#include "engine/audio/SoundEvents.h"
#include "framework/core/Random.h"
#include "framework/sound/MusicInterface.h"
#include "framework/sound/SoundManager.h"
#include "support/HostileInputs.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <vector>

using TestSupport::ScopedCwd;
using TestSupport::ScopedTempDir;

namespace {

// A sound manager that loads the names it is told exist.
class RecordingSoundManager : public Orvane::SoundManager {
public:
    std::set<std::string> existing;                 // base names that load
    std::vector<std::pair<int, std::string>> loads;  // every LoadSound call
    std::map<int, double> baseVolumes;
    int freeAllCalls = 0;

    bool IsReady() override { return true; }
    int FindSoundId(const std::string&) override { return -1; }
    bool LoadSound(int id, const std::string& name) override {
        loads.emplace_back(id, name);
        return existing.count(name) > 0;
    }
    void FreeSound(int) override {}
    void SetVolume(double) override {}
    bool SetDefaultVolume(int id, double v) override {
        baseVolumes[id] = v;
        return true;
    }
    bool SetDefaultPan(int, int) override { return true; }
    Orvane::SoundInstance* CreateInstance(int) override { return nullptr; }
    void FreeAllSounds() override { ++freeAllCalls; }
    void FreeAllInstances() override {}
    double GetSystemVolume() override { return 1.0; }
    void SetSystemVolume(double) override {}
    void Flush() override {}
    void SetCooperativeWindow(void*, bool) override {}
    void StopAll() override {}
    int FirstFreeId() override { return 0; }
    int LoadedCount() override { return static_cast<int>(loads.size()); }
};

class RecordingHost : public Orvane::AudioHost {
public:
    RecordingSoundManager sounds;
    Orvane::MusicInterface music;
    std::vector<int> played;
    double musicVolume = -1, sfxVolume = -1;

    void SetMusicVolume(double v) override { musicVolume = v; }
    void SetSfxVolume(double v) override { sfxVolume = v; }
    void PlaySoundEffect(int id, int) override { played.push_back(id); }
    Orvane::SoundManager* GetSoundManager() override { return &sounds; }
    Orvane::MusicInterface* GetMusicInterface() override { return &music; }
};

class OggManagerTest : public ::testing::Test {
protected:
    OggManagerTest() : cwd_(dir_.Path()), manager_(&host_) {
        std::filesystem::create_directories(dir_ / "Sound");
    }
    std::string Log() const { return TestSupport::ReadFile(dir_ / "applog.htm"); }
    void Script(const std::string& text) { TestSupport::WriteFile(dir_ / "sound.ini", text); }

    ScopedTempDir dir_;
    ScopedCwd cwd_;
    RecordingHost host_;
    COggManager manager_;
};

}  // namespace

// ---------------------------------------------------------------- registry

TEST_F(OggManagerTest, RegistersNamesByteForByteAndLoadsTheirBaseName) {
    host_.sounds.existing = {"Sound\\click", "sound\\click"};
    EXPECT_TRUE(manager_.LoadMusicFile("Sound\\click.ogg"));
    EXPECT_EQ(host_.sounds.loads.back(), std::make_pair(0, std::string("Sound\\click")));
    EXPECT_EQ(manager_.GetSoundId("Sound\\click.ogg"), 0);
    EXPECT_EQ(manager_.GetSoundId("sound\\click.ogg"), 1);   // another name: a second entry
    EXPECT_EQ(manager_.GetSoundFileCount(), 2);
    EXPECT_NE(Log().find("Loading sound: 'Sound\\click.ogg' ... OK"), std::string::npos);

    // No 4-character extension, or a file that does not load: FAILED, nothing registered.
    for (const char* bad : {"Sound\\click", "ab.c", "Sound\\click.flac", "Sound\\none.ogg", ""}) {
        EXPECT_EQ(manager_.GetSoundId(bad), -1) << bad;
        EXPECT_NE(Log().find(std::string("Loading sound: '") + bad + "' ... FAILED"), std::string::npos) << bad;
    }
    // A name that does not fit an entry is refused rather than registered under a cut name.
    const std::string longName = "Sound\\" + std::string(60, 'x') + ".ogg";
    host_.sounds.existing.insert(longName.substr(0, longName.size() - 4));
    EXPECT_EQ(manager_.GetSoundId(longName.c_str()), -1);
    EXPECT_EQ(manager_.GetSoundFileCount(), 2);
    EXPECT_EQ(manager_.GetSoundId(nullptr), -1);
}

TEST_F(OggManagerTest, TheHundredAndFirstFileIsRefusedEveryTime) {
    for (int i = 0; i < 100; ++i) {
        const std::string name = "Sound\\s" + std::to_string(i);
        host_.sounds.existing.insert(name);
        ASSERT_TRUE(manager_.LoadMusicFile((name + ".wav").c_str())) << i;
    }
    host_.sounds.existing.insert("Sound\\extra");
    const size_t loadsBefore = host_.sounds.loads.size();
    EXPECT_EQ(manager_.GetSoundId("Sound\\extra.ogg"), -1);
    EXPECT_EQ(manager_.GetSoundId("Sound\\extra.ogg"), -1);
    EXPECT_EQ(host_.sounds.loads.size(), loadsBefore);   // refused before loading
    EXPECT_EQ(manager_.GetSoundFileCount(), 100);
    const std::string log = Log();
    const std::string warning = "WARNING: COggManager::LoadMusicFile(): too many sound files";
    const size_t first = log.find(warning);
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(log.find(warning, first + 1), std::string::npos);   // repeated on every look-up
    EXPECT_EQ(manager_.GetSoundId("Sound\\s99.wav"), 99);
}

TEST_F(OggManagerTest, FolderScanTakesOggFilesFirstThenWaves) {
    for (const char* f : {"b.wav", "a.ogg", "a.wav", "c.ogg", "notes.txt"})
        TestSupport::WriteFile(dir_ / (std::string("Sound/") + f), std::string("x"));
    host_.sounds.existing = {"Sound\\a", "Sound\\b", "Sound\\c"};
    manager_.LoadSoundFolder("Sound\\");
    ASSERT_EQ(manager_.GetSoundFileCount(), 4);
    EXPECT_STREQ(manager_.GetSoundFileName(0), "Sound\\a.ogg");
    EXPECT_STREQ(manager_.GetSoundFileName(1), "Sound\\c.ogg");
    EXPECT_STREQ(manager_.GetSoundFileName(2), "Sound\\a.wav");
    EXPECT_STREQ(manager_.GetSoundFileName(3), "Sound\\b.wav");
    EXPECT_EQ(host_.sounds.loads[0].second, "Sound\\a");
    EXPECT_EQ(host_.sounds.loads[2].second, "Sound\\a");   // both from the same base name
}

TEST_F(OggManagerTest, PlayingOnlyRegisteredIdsAndFreeing) {
    host_.sounds.existing = {"Sound\\a"};
    ASSERT_TRUE(manager_.LoadMusicFile("Sound\\a.ogg"));
    EXPECT_TRUE(manager_.PlaySound(0));
    for (int bad : {-1, 1, 100, 1 << 30}) EXPECT_FALSE(manager_.PlaySound(bad)) << bad;
    EXPECT_EQ(host_.played, std::vector<int>{0});

    EXPECT_EQ(manager_.FreeMusicManager(), 0);
    EXPECT_EQ(host_.sounds.freeAllCalls, 1);
    EXPECT_NE(Log().find("COggManager::FreeMusicManager()"), std::string::npos);
    EXPECT_EQ(manager_.GetSoundId("Sound\\a.ogg"), 0);   // names stay registered
}

// ---------------------------------------------------------------- sound events

TEST_F(OggManagerTest, EventsReadFilesUpToTheFirstGapAndTheirVolume) {
    Script("[take_shape]\nfile0=Sound\\t0.ogg\nfile1=Sound\\t1.ogg\nfile3=Sound\\t3.ogg\nvolume=0.5\n"
           "[no_files]\nvolume=0.3\n"
           "[Quiet]\nFILE0 = Sound\\q.ogg \nVolume=\n"
           "[ten]\nfile0=a.ogg\nfile1=b.ogg\nfile2=c.ogg\nfile3=d.ogg\nfile4=e.ogg\nfile5=f.ogg\n"
           "file6=g.ogg\nfile7=h.ogg\nfile8=i.ogg\nfile9=j.ogg\nfile10=k.ogg\n");
    manager_.LoadSoundEvents("sound.ini");
    ASSERT_EQ(manager_.GetSoundEventCount(), 4);
    const auto* take = manager_.GetSoundEvent(0);
    EXPECT_STREQ(take->name, "take_shape");
    EXPECT_EQ(take->fileCount, 2);
    EXPECT_STREQ(take->files[1], "Sound\\t1.ogg");
    EXPECT_FLOAT_EQ(take->volume, 0.5f);
    EXPECT_EQ(manager_.GetSoundEvent(1)->fileCount, 0);
    EXPECT_STREQ(manager_.GetSoundEvent(2)->files[0], "Sound\\q.ogg");
    EXPECT_FLOAT_EQ(manager_.GetSoundEvent(2)->volume, 1.0f);
    EXPECT_EQ(manager_.GetSoundEvent(3)->fileCount, 10);
    EXPECT_NE(Log().find("Loading sound events script: 4 events parsed"), std::string::npos);
}

TEST_F(OggManagerTest, AtMostAHundredEventsAndAMissingScriptHasNone) {
    std::string text;
    for (int i = 0; i < 120; ++i) text += "[event" + std::to_string(i) + "]\nfile0=Sound\\x.ogg\n";
    Script(text);
    manager_.LoadSoundEvents("sound.ini");
    EXPECT_EQ(manager_.GetSoundEventCount(), 100);
    EXPECT_STREQ(manager_.GetSoundEvent(99)->name, "event99");

    manager_.LoadSoundEvents("missing.ini");
    EXPECT_EQ(manager_.GetSoundEventCount(), 0);
    EXPECT_NE(Log().find("Loading sound events script: 0 events parsed"), std::string::npos);
}

TEST_F(OggManagerTest, AMegabyteOfSectionsIsReadInLinearTime) {
    // Listing the sections and reading each event's keys once took minutes on this input.
    Script(HostileInputs::IniSections(1 << 20));
    const TestSupport::WorkCost cost = TestSupport::MeasureCost([&] { manager_.LoadSoundEvents("sound.ini"); });
    EXPECT_EQ(manager_.GetSoundEventCount(), 100);
    EXPECT_STREQ(manager_.GetSoundEvent(99)->name, "s99");
    EXPECT_LT(cost.seconds, 10.0);
    EXPECT_LT(cost.peakMegabytes, 128.0);
}

TEST_F(OggManagerTest, PlayingAnEventSetsItsVolumeOnTheChosenFile) {
    Script("[loud]\nfile0=Sound\\shared.ogg\n[soft]\nfile0=Sound\\shared.ogg\nvolume=0.25\n"
           "[broken]\nfile0=Sound\\missing.ogg\n[empty]\n");
    host_.sounds.existing = {"Sound\\shared"};
    manager_.LoadSoundEvents("sound.ini");

    // Two events sharing a file share its id: the event played last sets the volume.
    const int soft = manager_.PlaySoundEvent("soft");
    ASSERT_EQ(soft, 0);
    EXPECT_DOUBLE_EQ(host_.sounds.baseVolumes[0], 0.25);
    EXPECT_EQ(manager_.PlaySoundEvent("loud"), 0);
    EXPECT_DOUBLE_EQ(host_.sounds.baseVolumes[0], 1.0);
    EXPECT_EQ(manager_.GetSoundFileCount(), 1);
    EXPECT_TRUE(host_.played.empty());   // choosing does not play

    const std::string before = Log();
    EXPECT_EQ(manager_.PlaySoundEvent("broken"), -1);   // the FAILED line only, no warning
    EXPECT_EQ(Log().find("couldn't find sound event - broken"), std::string::npos);
    for (const char* unknown : {"empty", "LOUD", "nothing"}) {
        EXPECT_EQ(manager_.PlaySoundEvent(unknown), -1);
        EXPECT_NE(Log().find(std::string("Warning: couldn't find sound event - ") + unknown), std::string::npos);
    }
    EXPECT_FALSE(manager_.PlaySound(manager_.PlaySoundEvent("nothing")));
}

TEST_F(OggManagerTest, ThreeFilesAreChosenUniformly) {
    Script("[bonus]\nfile0=Sound\\a.ogg\nfile1=Sound\\b.ogg\nfile2=Sound\\c.ogg\n[one]\nfile0=Sound\\c.ogg\n");
    host_.sounds.existing = {"Sound\\a", "Sound\\b", "Sound\\c"};
    manager_.LoadSoundEvents("sound.ini");
    Orvane::SeedRandom(12345);
    std::map<std::string, int> counts;
    const int draws = 3000;
    for (int i = 0; i < draws; ++i) counts[manager_.GetSoundFileName(manager_.PlaySoundEvent("bonus"))]++;
    ASSERT_EQ(counts.size(), 3u);
    // Chi-square with 2 degrees of freedom; 13.8 is the 0.1 % level.
    double chi = 0;
    for (const auto& entry : counts) chi += (entry.second - draws / 3.0) * (entry.second - draws / 3.0) / (draws / 3.0);
    EXPECT_LT(chi, 13.8);
    for (int i = 0; i < 20; ++i) EXPECT_STREQ(manager_.GetSoundFileName(manager_.PlaySoundEvent("one")), "Sound\\c.ogg");
}

TEST_F(OggManagerTest, VolumesGoToTheApplicationAndStartFromConfig) {
    EXPECT_TRUE(manager_.SetMusicVolume(0.3f));
    EXPECT_TRUE(manager_.SetSfxVolume(0.6f));
    EXPECT_NEAR(host_.musicVolume, 0.3, 1e-6);
    EXPECT_NEAR(host_.sfxVolume, 0.6, 1e-6);
    EXPECT_FLOAT_EQ(manager_.GetMusicVolume(), 0.3f);

    TestSupport::WriteFile(dir_ / "config.ini", std::string("[OPTIONS]\nSfxVolume=0.125000\n"));
    Script("[a]\nfile0=Sound\\a.ogg\n");
    host_.sounds.existing = {"Sound\\a"};
    ASSERT_TRUE(manager_.LoadMusicFile("Sound\\a.ogg"));
    EXPECT_TRUE(manager_.InitSounds());
    EXPECT_FLOAT_EQ(manager_.GetMusicVolume(), 0.8f);    // default
    EXPECT_FLOAT_EQ(manager_.GetSfxVolume(), 0.125f);    // from config.ini
    EXPECT_EQ(manager_.GetSoundFileCount(), 0);
    EXPECT_EQ(manager_.GetSoundEventCount(), 1);
}

TEST_F(OggManagerTest, PlayByNameHelpersUseTheProcessWideManagerAndHost) {
    Orvane::SetAudioHost(&host_);
    Script("[click_event]\nfile0=Sound\\click.ogg\n");
    host_.sounds.existing = {"Sound\\click", "Sound\\hover"};
    GetOggManager().LoadSoundEvents("sound.ini");
    EXPECT_TRUE(PlaySoundEventOnce("click_event"));
    EXPECT_TRUE(PlaySoundFileOnce("Sound\\hover.ogg"));
    EXPECT_TRUE(PlaySoundFileOnce("Sound\\hover.ogg"));
    EXPECT_FALSE(PlaySoundEventOnce("nope"));
    EXPECT_FALSE(PlaySoundFileOnce(""));
    const int click = GetOggManager().GetSoundId("Sound\\click.ogg");
    const int hover = GetOggManager().GetSoundId("Sound\\hover.ogg");
    EXPECT_EQ(host_.played, (std::vector<int>{click, hover, hover}));
    GetOggManager().LoadSoundEvents("missing.ini");
    Orvane::SetAudioHost(nullptr);
    EXPECT_FALSE(PlaySoundEventOnce("click_event"));
}

TEST_F(OggManagerTest, DamagedOrOversizedScriptsAreReadSafely) {
    std::string junk;
    for (int i = 0; i < 5000; ++i) junk += static_cast<char>((i * 7919) % 256);
    const std::string longName(80, 'n');
    Script(junk + "\n[" + longName + "]\nfile0=" + std::string(300, 'f') + "\nfile1=Sound\\ok.ogg\nvolume=nan\n"
           "[unclosed\nfile0=Sound\\u.ogg\n=\nfile1\n");
    manager_.LoadSoundEvents("sound.ini");
    ASSERT_GE(manager_.GetSoundEventCount(), 1);
    const auto* cut = manager_.GetSoundEvent(manager_.GetSoundEventCount() - 1);
    EXPECT_EQ(std::string(cut->name), longName.substr(0, 59));   // cut to the field
    ASSERT_EQ(cut->fileCount, 1);                                 // the too-long file name is refused
    EXPECT_STREQ(cut->files[0], "Sound\\ok.ogg");
    EXPECT_NE(Log().find("file name too long"), std::string::npos);
}
