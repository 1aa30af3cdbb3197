// Where a game's data lies and where the files it writes go. Two ways of running:
//  - from a game folder that holds the data and can be written (a build, a portable copy):
//    that folder is the working folder, as it always was;
//  - installed (the data beside the executable under ../share/games/<name>, or a game folder
//    the player cannot write): the data is read from there, and every file the game writes
//    lives in the player's own folder, $XDG_DATA_HOME/<name> (~/.local/share/<name>).
#pragma once

#include <string>
#include <vector>

namespace Orvane {

// What the program knows about itself.
struct GameFolderRules {
    // Files whose presence marks a folder that holds the data ("classes.xml", "main.pak").
    // None: no search, the working folder is used as it is.
    std::vector<std::string> markers;
    // The installed data folder relative to the executable's folder
    // ("../share/games/nookvale"); empty when there is none.
    std::string installedData;
    // The player's folder's name under the XDG data home ("nookvale").
    std::string playerFolderName;
};

// What the process finds around it.
struct FolderFacts {
    std::string changeDir;          // the folder the command line names; empty when none
    std::string currentFolder;      // absolute
    std::string executableFolder;   // absolute; empty when unknown
    std::string xdgDataHome;        // $XDG_DATA_HOME as set (may be empty or relative)
    std::string home;               // the player's home folder
};

struct GameFolders {
    std::string working;   // absolute: every file the game writes goes here
    std::string data;      // absolute read-only data folder; empty when working holds the data
    bool Installed() const { return !data.empty(); }
};

// The player's folder: $XDG_DATA_HOME/<name> when that is an absolute path, else
// <home>/.local/share/<name>; empty when neither is known.
std::string PlayerDataFolder(const std::string& xdgDataHome, const std::string& home,
                             const std::string& name);

// Decides the two folders; looks at the file system (markers, write access) but changes
// nothing. The folder the command line names comes first, then the current folder, then the
// executable's, then the installed data folder; a folder without the data leaves the working
// folder where the command line or the current folder put it.
GameFolders LocateGameFolders(const GameFolderRules& rules, const FolderFacts& facts);

// The folder of the running executable (from /proc/self/exe); empty when unknown.
std::string ExecutableFolder();

// The facts of this process: current folder, executable, environment, home.
FolderFacts ProcessFolderFacts(const std::string& changeDir);

}  // namespace Orvane
