// Ini files on disk: atomic replacement, failed writes that keep the old file, the cache.
#include "framework/core/Diagnostics.h"
#include "framework/ini/AtomicFile.h"
#include "framework/ini/IniFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <thread>

using namespace Orvane;
using TestSupport::ReadFile;

namespace {

size_t FilesIn(const std::string& folder) {
    size_t n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) n += entry.is_regular_file();
    return n;
}

struct FaultGuard {
    explicit FaultGuard(AtomicWriteFault fault) { SetAtomicWriteFault(fault); }
    ~FaultGuard() { SetAtomicWriteFault(std::nullopt); }
};

TEST(IniFile, WritesCreateAndUpdateTheFile) {
    TestSupport::ScopedTempDir dir;
    const std::string path = dir / "config.ini";
    ASSERT_TRUE(WriteIniValue(path, "OPTIONS", "btnFullScreen", "1"));
    ASSERT_TRUE(WriteIniValue(path, "options", "BTNFULLSCREEN", "0"));
    EXPECT_EQ(ReadFile(path), "[OPTIONS]\nbtnFullScreen=0\n");
    EXPECT_EQ(ReadIniValue(path, "Options", "btnfullscreen"), "0");
    EXPECT_EQ(ReadIniValue(dir / "missing.ini", "A", "b"), std::nullopt);
    EXPECT_EQ(FilesIn(dir.Path()), 1u);   // no temporary file left behind

    chmod(path.c_str(), 0640);
    ASSERT_TRUE(WriteIniValue(path, "A", "b", "c"));
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);   // permissions of the replaced file are kept
}

TEST(IniFile, AFailedWriteKeepsThePreviousFile) {
    TestSupport::ScopedTempDir dir;
    const std::string path = dir / "saved.ini";
    const std::string before = "[Classic]\r\nGame=00\r\n; kept\r\n";
    ASSERT_TRUE(TestSupport::WriteFile(path, before));
    std::vector<std::string> lines;
    SetDiagnosticHandler([&](const std::string& line) { lines.push_back(line); });
    using Stage = AtomicWriteFault::Stage;
    for (const AtomicWriteFault fault : {AtomicWriteFault{Stage::Write, 0}, AtomicWriteFault{Stage::Write, 5},
                                         AtomicWriteFault{Stage::Sync, 0}, AtomicWriteFault{Stage::Rename, 0}}) {
        FaultGuard guard(fault);
        EXPECT_FALSE(WriteIniValue(path, "Classic", "Game", std::string(5000, 'F')));
        EXPECT_EQ(ReadFile(path), before);
        EXPECT_EQ(FilesIn(dir.Path()), 1u);
    }
    // Each failure is reported once, with the file and the reason (a short write: a full disk).
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], "WARNING: could not write '" + path + "' (No space left on device); the file is unchanged");
    // Nothing can be written into a folder that does not exist; a folder is no file.
    EXPECT_FALSE(WriteIniValue(dir / "gone/config.ini", "A", "b", "c"));
    SetDiagnosticHandler(nullptr);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_NE(lines[4].find("(No such file or directory)"), std::string::npos) << lines[4];
    std::filesystem::create_directory(dir / "folder.ini");
    EXPECT_FALSE(WriteIniValue(dir / "folder.ini", "A", "b", "c"));
    EXPECT_FALSE(UpdateIniFile(path, [](IniDocument&) { return false; }));
    EXPECT_EQ(ReadFile(path), before);
}

TEST(IniFile, UpdatesFromTwoThreadsLoseNothing) {
    TestSupport::ScopedTempDir dir;
    const std::string path = dir / "config.ini";
    auto writer = [&](const std::string& prefix) {
        for (int i = 0; i < 40; ++i) WriteIniValue(path, "S", prefix + std::to_string(i), "v");
    };
    std::thread a(writer, "a"), b(writer, "b");
    a.join();
    b.join();
    IniDocument doc;
    ASSERT_EQ(LoadIniFile(path, doc), IniLoadResult::Ok);
    EXPECT_EQ(doc.Entries("S").size(), 80u);
}

TEST(IniFile, CacheReloadsAChangedFile) {
    TestSupport::ScopedTempDir dir;
    const std::string path = dir / "language.ini";
    IniFileCache cache;
    EXPECT_EQ(cache.Get(path), nullptr);
    ASSERT_TRUE(WriteIniValue(path, "ENGLISH", "FPS", "FPS"));
    const auto first = cache.Get(path);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(cache.Get(path), first);   // unchanged file: same parse
    ASSERT_TRUE(WriteIniValue(path, "ENGLISH", "FPS", "Frames"));
    EXPECT_EQ(cache.Get(path)->GetString("english", "fps"), "Frames");
    std::filesystem::remove(path);
    EXPECT_EQ(cache.Get(path), nullptr);
}

}  // namespace
