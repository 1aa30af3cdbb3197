// Running the game over its built game folder without writing into it: the folder's data is
// linked into a folder of the run's own, where the run's files (log, config.ini, scores, saved
// game, sound cache) then land.
#pragma once

#include <string>

namespace TestSupport {

// Links every entry of the game folder into another folder, but the player's own files.
bool LinkGameFolder(const std::string& gameDir, const std::string& into);

// For a program that plays the game over a built game folder: a folder of the run's own under
// the system's temporary folder ("nookvale-<tag>-<pid>"), the game's data linked in, made the
// working folder, with the settings store in it ($XDG_CONFIG_HOME). Empty when gameDir holds no
// game or cannot be linked; the reason is then in error.
std::string EnterRunFolder(const std::string& gameDir, const std::string& tag, std::string& error);
// Leaves the run folder and removes it with what the run wrote.
void RemoveRunFolder(const std::string& runDir);

}  // namespace TestSupport
