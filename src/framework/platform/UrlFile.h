// Internet shortcut files (".url"): the URL they hold and handing it to the desktop's opener.
#pragma once

#include <string>
#include <vector>

namespace Orvane {

// Reads the "URL=" line of the file's [InternetShortcut] section. False when the file is
// missing, too large, or has no such line.
bool ReadInternetShortcut(const std::string& path, std::string& url);

// Only web and mail addresses are handed on: a shortcut file is data, and must not be able
// to make the opener run a local program.
bool IsOpenableUrl(const std::string& url);

// Starts a program detached from this process (no shell; its output discarded).
bool LaunchDetached(const std::vector<std::string>& argv);

}  // namespace Orvane
