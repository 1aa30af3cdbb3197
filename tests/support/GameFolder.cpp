#include "support/GameFolder.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace TestSupport {

bool LinkGameFolder(const std::string& gameDir, const std::string& into) {
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(gameDir, ec)) {
        const std::string name = entry.path().filename().string();
        // The player's own files are the run's; everything else is the game's data.
        if (name == "applog.htm" || name == "config.ini" || name == "scores.ini" ||
            name == "saved.ini" || name == "cached" || name == "main.pak") {
            continue;
        }
        fs::create_symlink(entry.path(), fs::path(into) / name, ec);
        if (ec) return false;
    }
    return !ec;
}

std::string EnterRunFolder(const std::string& gameDir, const std::string& tag, std::string& error) {
    const fs::path game = fs::absolute(gameDir);
    if (!fs::exists(game / "classes.xml")) {
        error = "no game folder at " + game.string() + " (give --game <folder>)";
        return "";
    }
    const fs::path dir = fs::temp_directory_path() / ("nookvale-" + tag + "-" + std::to_string(::getpid()));
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec || !LinkGameFolder(game.string(), dir.string())) {
        error = "cannot link the game folder " + game.string() + " into " + dir.string();
        return "";
    }
    fs::current_path(dir, ec);
    if (ec) {
        error = "cannot enter " + dir.string();
        return "";
    }
    setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    return dir.string();
}

void RemoveRunFolder(const std::string& runDir) {
    std::error_code ec;
    fs::current_path(fs::temp_directory_path(), ec);
    fs::remove_all(runDir, ec);
}

}  // namespace TestSupport
