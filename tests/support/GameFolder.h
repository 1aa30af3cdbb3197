// Running the game over its built game folder without writing into it: the folder's data is
// linked into a folder of the run's own, where the run's files (log, config.ini, scores, saved
// game, sound cache) then land.
#pragma once

#include <string>

namespace TestSupport {

// Links every entry of the game folder into another folder, but the player's own files.
bool LinkGameFolder(const std::string& gameDir, const std::string& into);

}  // namespace TestSupport
