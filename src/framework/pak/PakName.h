// Lookup keys of packed files: one '\' between components, ".." and "." resolved, upper case,
// and absolute names inside the working folder made relative to it, so that "graphics/a.png",
// "Graphics\\A.PNG" and "<working folder>/Graphics/a.png" all find the same packed file.
#pragma once

#include <string>

namespace Orvane {

// workingFolder: the current working folder in operating-system form ("/home/x/game").
std::string NormalisePakName(const std::string& name, const std::string& workingFolder);

// The process's current working folder ("" when it cannot be read).
std::string CurrentWorkingFolder();

}  // namespace Orvane
