#include "framework/app/GameFolders.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Orvane {

namespace {

namespace fs = std::filesystem;

// An absolute, lexically clean form of path, taken from base when relative.
std::string Absolute(const std::string& path, const std::string& base) {
    fs::path p(path);
    if (p.is_relative()) p = fs::path(base) / p;
    std::string out = p.lexically_normal().string();
    while (out.size() > 1 && out.back() == '/') out.pop_back();
    return out;
}

bool IsFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool HoldsData(const std::string& folder, const std::vector<std::string>& markers) {
    if (folder.empty()) return false;
    for (const std::string& marker : markers) {
        if (IsFile(folder + "/" + marker)) return true;
    }
    return false;
}

bool Writable(const std::string& folder) { return access(folder.c_str(), W_OK | X_OK) == 0; }

// A folder that holds the data: its own working folder when the player may write there,
// else read-only data with the player's folder as the working folder.
GameFolders FromDataFolder(const std::string& folder, const std::string& player) {
    if (Writable(folder) || player.empty()) return {folder, ""};
    return {player, folder};
}

}  // namespace

std::string PlayerDataFolder(const std::string& xdgDataHome, const std::string& home,
                             const std::string& name) {
    // Relative values are invalid by the XDG rules and are ignored.
    if (!xdgDataHome.empty() && xdgDataHome.front() == '/') return Absolute(name, xdgDataHome);
    if (!home.empty() && home.front() == '/') return Absolute(".local/share/" + name, home);
    return "";
}

GameFolders LocateGameFolders(const GameFolderRules& rules, const FolderFacts& facts) {
    const std::string current = Absolute(facts.currentFolder.empty() ? "/" : facts.currentFolder, "/");
    const std::string start = facts.changeDir.empty() ? current : Absolute(facts.changeDir, current);
    if (rules.markers.empty()) return {start, ""};

    const std::string player = PlayerDataFolder(facts.xdgDataHome, facts.home, rules.playerFolderName);
    if (HoldsData(start, rules.markers)) return FromDataFolder(start, player);
    if (facts.changeDir.empty() && !facts.executableFolder.empty()) {
        const std::string exe = Absolute(facts.executableFolder, current);
        if (HoldsData(exe, rules.markers)) return FromDataFolder(exe, player);
        if (!rules.installedData.empty()) {
            const std::string installed = Absolute(rules.installedData, exe);
            // An installed tree is never written, whoever may write it.
            if (HoldsData(installed, rules.markers) && !player.empty()) return {player, installed};
        }
    }
    return {start, ""};
}

std::string ExecutableFolder() {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return "";
    const std::string path(buffer, static_cast<size_t>(n));
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return "";
    return slash == 0 ? "/" : path.substr(0, slash);
}

FolderFacts ProcessFolderFacts(const std::string& changeDir) {
    FolderFacts facts;
    facts.changeDir = changeDir;
    std::error_code ec;
    facts.currentFolder = fs::current_path(ec).string();
    facts.executableFolder = ExecutableFolder();
    if (const char* data = std::getenv("XDG_DATA_HOME")) facts.xdgDataHome = data;
    if (const char* home = std::getenv("HOME"); home && *home) {
        facts.home = home;
    } else if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) {
        facts.home = entry->pw_dir;
    }
    return facts;
}

}  // namespace Orvane
