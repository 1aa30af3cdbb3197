#include "support/GameFolder.h"

#include <filesystem>

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

}  // namespace TestSupport
