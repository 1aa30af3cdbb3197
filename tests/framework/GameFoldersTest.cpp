// Finding the game's data and the player's folder: a portable or build folder keeps everything
// together, an installed tree is read from beside the executable and the player's files go to
// the XDG data home.
#include "framework/app/GameFolders.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace Orvane;
using TestSupport::ScopedTempDir;

namespace {

TEST(GameFolders, PlayerFolderFollowsTheXdgRules) {
    EXPECT_EQ(PlayerDataFolder("/x/data", "/home/p", "nookvale"), "/x/data/nookvale");
    EXPECT_EQ(PlayerDataFolder("/x/data/", "/home/p", "nookvale"), "/x/data/nookvale");
    EXPECT_EQ(PlayerDataFolder("", "/home/p", "nookvale"), "/home/p/.local/share/nookvale");
    EXPECT_EQ(PlayerDataFolder("relative/data", "/home/p", "nookvale"), "/home/p/.local/share/nookvale");
    EXPECT_EQ(PlayerDataFolder("", "", "nookvale"), "");
}

class GameFolderLayouts : public ::testing::Test {
protected:
    GameFolderLayouts() {
        namespace fs = std::filesystem;
        for (const char* d : {"prefix/bin", "prefix/share/games/nookvale", "portable", "elsewhere", "empty",
                              "home"}) {
            fs::create_directories(root_ / d);
        }
        TestSupport::WriteFile(root_ / "prefix/share/games/nookvale/classes.xml", "<x/>");
        TestSupport::WriteFile(root_ / "portable/main.pak", "pack");
        rules_ = {{"classes.xml", "main.pak"}, "../share/games/nookvale", "nookvale"};
    }

    FolderFacts Facts(const std::string& cwd, const std::string& exe, const std::string& changeDir = "") const {
        FolderFacts f;
        f.currentFolder = root_ / cwd;
        f.executableFolder = exe.empty() ? "" : root_ / exe;
        f.changeDir = changeDir;
        f.home = root_ / "home";
        return f;
    }

    ScopedTempDir root_;
    GameFolderRules rules_;
};

TEST_F(GameFolderLayouts, EachWayOfRunningFindsItsFolders) {
    const std::string player = root_ / "home/.local/share/nookvale";
    const std::string installed = root_ / "prefix/share/games/nookvale";
    struct Case {
        const char* what;
        FolderFacts facts;
        std::string working, data;
    };
    const std::vector<Case> cases = {
        {"installed, started from anywhere", Facts("elsewhere", "prefix/bin"), player, installed},
        {"a portable copy started from anywhere", Facts("elsewhere", "portable"), root_ / "portable", ""},
        {"a game folder as the current folder wins over the installed data",
         Facts("portable", "prefix/bin"), root_ / "portable", ""},
        {"the command line names the game folder", Facts("elsewhere", "prefix/bin", "../portable"),
         root_ / "portable", ""},
        {"the command line names a folder without data: it stays the working folder",
         Facts("elsewhere", "prefix/bin", root_ / "empty"), root_ / "empty", ""},
        {"no data anywhere: the current folder", Facts("elsewhere", "empty"), root_ / "elsewhere", ""},
        {"the executable unknown", Facts("elsewhere", ""), root_ / "elsewhere", ""},
    };
    for (const Case& c : cases) {
        const GameFolders folders = LocateGameFolders(rules_, c.facts);
        EXPECT_EQ(folders.working, c.working) << c.what;
        EXPECT_EQ(folders.data, c.data) << c.what;
        EXPECT_EQ(folders.Installed(), !c.data.empty()) << c.what;
    }

    FolderFacts xdg = Facts("elsewhere", "prefix/bin");
    xdg.xdgDataHome = root_ / "xdg";
    EXPECT_EQ(LocateGameFolders(rules_, xdg).working, root_ / "xdg/nookvale");
    // Without rules nothing is searched: the command line's folder or the current one.
    EXPECT_EQ(LocateGameFolders({}, Facts("elsewhere", "prefix/bin")).working, root_ / "elsewhere");
    EXPECT_EQ(LocateGameFolders({}, Facts("elsewhere", "prefix/bin", "/srv/x")).working, "/srv/x");
    // Without a home there is no player's folder: an installed tree is not taken for one.
    FolderFacts homeless = Facts("elsewhere", "prefix/bin");
    homeless.home.clear();
    EXPECT_EQ(LocateGameFolders(rules_, homeless).working, root_ / "elsewhere");
}

TEST_F(GameFolderLayouts, AGameFolderThePlayerCannotWriteIsReadAsData) {
    if (geteuid() == 0) GTEST_SKIP() << "root may write every folder";
    ASSERT_EQ(chmod((root_ / "portable").c_str(), 0555), 0);
    const GameFolders folders = LocateGameFolders(rules_, Facts("elsewhere", "portable"));
    chmod((root_ / "portable").c_str(), 0755);
    EXPECT_EQ(folders.working, root_ / "home/.local/share/nookvale");
    EXPECT_EQ(folders.data, root_ / "portable");
}

}  // namespace
