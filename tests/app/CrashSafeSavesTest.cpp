// The player's files survive a crash and a full disk: a child process saves config.ini,
// scores.ini and saved.ini in a loop through the game's own writers and is killed at random
// moments, hundreds of times; every file is always one whole version with a valid checksum, and
// the next start of the game removes what the killed writes left half done. A disk that is
// full keeps every file as it was and says so in the log.
#include "support/AppDriver.h"
#include "support/TestSupport.h"

#include "engine/config/Config.h"
#include "engine/scores/CScores.h"
#include "framework/ini/AtomicFile.h"
#include "framework/platform/VirtualKeys.h"
#include "game/BrindloGame.h"
#include "game/SavedGameRecord.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr const char* kSavedSection = "Classic";

// The saved game of version n: its number in the first four bytes, every other byte from it.
std::vector<uint8_t> RecordOf(int n) {
    std::vector<uint8_t> bytes(SavedGameRecord::kBytes);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i < 4 ? n >> (8 * i) : n * 31 + i);
    return bytes;
}

// What a killed writer left: the version of each file, -1 where a file is not whole.
struct Versions {
    int config = -1;
    int scores = -1;
    int saved = -1;
};

bool operator==(const Versions& a, const Versions& b) {
    return a.config == b.config && a.scores == b.scores && a.saved == b.saved;
}

// Whether now is what a writer that began at version start over the files of before leaves
// after some number of whole writes (config.ini, scores.ini, saved.ini in turn).
bool LeftByWrites(const Versions& before, int start, const Versions& now) {
    const auto after = [&](int k) {
        Versions v = before;
        if (k >= 1) v.config = start + (k - 1) / 3;
        if (k >= 2) v.scores = start + (k - 2) / 3;
        if (k >= 3) v.saved = start + (k - 3) / 3;
        return v;
    };
    if (now == after(0)) return true;
    const int k = 3 * (now.config - start) + 1;
    return k >= 1 && (now == after(k) || now == after(k + 1) || now == after(k + 2));
}

Versions ReadVersions() {
    Versions v;
    ConfigGetIntOr("PROGRESS", "Version", &v.config, -1);
    CScores scores;
    if (scores.Load()) {
        // Each version entered one score of its number, named "v": the newest stands first.
        v.scores = static_cast<int>(scores.Entry(0, 0).score);
        for (int row = 1; row < CScores::kRows; ++row) {
            const ScoreEntry& above = scores.Entry(0, row - 1);
            const ScoreEntry& here = scores.Entry(0, row);
            if (here.score != 0 && (here.score >= above.score || here.Name() != "v")) v.scores = -1;
        }
    }
    std::vector<uint8_t> record(SavedGameRecord::kBytes);
    if (IniGetStruct(kSavedSection, "Data", record.data(), record.size(), CBrindloGame::kSavedGameFile)) {
        const int n = record[0] | (record[1] << 8) | (record[2] << 16) | (record[3] << 24);
        if (record == RecordOf(n)) v.saved = n;
    }
    return v;
}

// The writer: from version `first` on, config.ini, then the high-score table (a score entered
// and named, as the player does), then the saved game - until it is killed. It tells the parent
// through `progress` when it starts writing and each time a version is whole.
[[noreturn]] void WriteForever(int first, int progress) {
    CScores scores;
    scores.Load();
    fcntl(progress, F_SETFL, O_NONBLOCK);
    const auto tell = [progress] { [[maybe_unused]] const ssize_t n = write(progress, "v", 1); };
    tell();
    const pid_t parent = getppid();
    for (int n = first; getppid() == parent; ++n, tell()) {
        ConfigSetInt("PROGRESS", "Version", n);
        scores.AddScore(static_cast<uint32_t>(n));
        scores.HandleNameKey({0, Orvane::WM_CHAR, 'v', 0, 0, 0, 0});
        scores.HandleNameKey({0, Orvane::WM_KEYDOWN, Orvane::VK_RETURN, 0, 0, 0, 0});
        const std::vector<uint8_t> record = RecordOf(n);
        IniSetStruct(kSavedSection, "Data", record.data(), record.size(), CBrindloGame::kSavedGameFile);
    }
    _exit(0);
}

// Temporary files of the atomic writer beside the three files: ".<name>.XXXXXX".
int TemporaryFilesIn(const std::string& folder) {
    int n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        for (const std::string file : {"config.ini", "scores.ini", "saved.ini"}) {
            n += name.size() == file.size() + 8 && name.rfind("." + file + ".", 0) == 0;
        }
    }
    return n;
}

class CrashSafeSaves : public ::testing::Test {
protected:
    CrashSafeSaves() : cwd_(dir_.Path()), platform_(Orvane::HeadlessPlatform::ClockMode::Manual, dir_ / "config") {
        Orvane::SetPlatform(&platform_);
    }
    ~CrashSafeSaves() override {
        Orvane::SetAtomicWriteFault(std::nullopt);
        Orvane::SetPlatform(nullptr);
    }
    std::string File(const std::string& name) const { return TestSupport::ReadFile(dir_ / name); }

    TestSupport::ScopedTempDir dir_;
    TestSupport::ScopedCwd cwd_;
    Orvane::HeadlessPlatform platform_;
};

TEST_F(CrashSafeSaves, EveryFileIsOneWholeVersionAfterEachKillAndTheNextStartClearsWhatWasLeft) {
    // Version 0 of every file.
    ASSERT_TRUE(ConfigSetInt("PROGRESS", "Version", 0));
    ASSERT_TRUE(CScores().Save());
    ASSERT_TRUE(IniSetStruct(kSavedSection, "Data", RecordOf(0).data(), SavedGameRecord::kBytes,
                             CBrindloGame::kSavedGameFile));

    std::mt19937 random(20240611);
    Versions before{0, 0, 0};
    int kills = 0, killedWithWork = 0;
    for (int round = 0; round < 300; ++round) {
        int progress[2];
        ASSERT_EQ(pipe(progress), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        const int start = before.config + 1;
        if (child == 0) {
            close(progress[0]);
            WriteForever(start, progress[1]);
        }
        close(progress[1]);
        // After the child has begun and written no, one or two whole versions, a moment later:
        // counted from its own progress, so a busy machine moves the kills with the writes.
        const int versionsFirst = static_cast<int>(random() % 3);
        char told;
        for (int i = 0; i <= versionsFirst; ++i) ASSERT_EQ(read(progress[0], &told, 1), 1) << "round " << round;
        usleep(static_cast<useconds_t>(random() % 4000));
        ASSERT_EQ(kill(child, SIGKILL), 0);
        close(progress[0]);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "round " << round;
        ++kills;

        // Each file whole and valid: exactly what the writes done before the kill left.
        const Versions now = ReadVersions();
        ASSERT_TRUE(LeftByWrites(before, start, now)) << "round " << round << ": config " << now.config
                                                      << ", scores " << now.scores << ", saved " << now.saved;
        killedWithWork += now.config > before.config;
        before = now;
    }
    EXPECT_EQ(kills, 300);
    EXPECT_GT(killedWithWork, 30);   // the kills fell among the writes, not only before them
    std::cout << "[          ] " << kills << " kills, " << killedWithWork << " of them among the writes, "
              << before.config << " versions written, " << TemporaryFilesIn(dir_.Path())
              << " temporary files left by them\n";

    // The next start removes the temporary files of the game's own naming, and only those.
    TestSupport::WriteFile(dir_ / ".saved.ini.k1LLd9", "half a saved game");
    TestSupport::WriteFile(dir_ / ".saved.ini.keep", "not a name the writer makes");
    ASSERT_TRUE(TestSupport::LinkGameFolder(TestSupport::GameDir(), dir_.Path()));
    {
        DrivenGameApp app(0, nullptr);
        app.Init();
        ASSERT_TRUE(app.mInitialized);
        EXPECT_EQ(TemporaryFilesIn(dir_.Path()), 0);
        EXPECT_TRUE(TestSupport::FileExists(dir_ / ".saved.ini.keep"));
        EXPECT_TRUE(app.Game().Scores().Load());
        EXPECT_EQ(static_cast<int>(app.Game().Scores().Entry(0, 0).score), before.scores);
    }
    const Versions after = ReadVersions();
    EXPECT_EQ(after.config, before.config);
    EXPECT_EQ(after.saved, before.saved);
    const std::string log = File("applog.htm");
    EXPECT_NE(log.find("unfinished temporary file"), std::string::npos);
    EXPECT_NE(log.rfind("*** Session finished ***"), std::string::npos);
}

TEST_F(CrashSafeSaves, AFullDiskKeepsEveryFileAsItWasAndSaysSoInTheLog) {
    ASSERT_TRUE(TestSupport::LinkGameFolder(TestSupport::GameDir(), dir_.Path()));
    {
        DrivenGameApp app(0, nullptr);
        app.Init();
        ASSERT_TRUE(app.mInitialized);
        CBrindloGame& game = app.Game();
        ASSERT_TRUE(ConfigSetInt("PROGRESS", "LastOpenedLevel", 7));
        game.SetLevel(1);
        game.SaveGame();
        ASSERT_TRUE(game.IsGameSaved());
        const std::string config = File("config.ini"), scores = File("scores.ini"), saved = File("saved.ini");

        // The disk fills up: a write stops after a few bytes.
        Orvane::SetAtomicWriteFault(Orvane::AtomicWriteFault{Orvane::AtomicWriteFault::Stage::Write, 10});
        EXPECT_FALSE(ConfigSetInt("PROGRESS", "LastOpenedLevel", 8));
        game.Scores().AddScore(5000);
        game.Scores().HandleNameKey({0, Orvane::WM_CHAR, 'R', 0, 0, 0, 0});
        game.Scores().HandleNameKey({0, Orvane::WM_KEYDOWN, Orvane::VK_RETURN, 0, 0, 0, 0});
        game.SetLevel(2);
        game.SaveGame();
        Orvane::SetAtomicWriteFault(std::nullopt);

        EXPECT_EQ(File("config.ini"), config);
        EXPECT_EQ(File("scores.ini"), scores);
        EXPECT_EQ(File("saved.ini"), saved);
        EXPECT_EQ(TemporaryFilesIn(dir_.Path()), 0);
    }
    const std::string log = File("applog.htm");
    for (const char* file : {"config.ini", "scores.ini", "saved.ini"}) {
        EXPECT_NE(log.find(std::string(file) + "' (No space left on device); the file is unchanged"), std::string::npos)
            << file;
    }
    EXPECT_NE(log.rfind("*** Session finished ***"), std::string::npos);
}

}  // namespace
