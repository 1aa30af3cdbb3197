// Wildcard matching and folder listing shared by the platform back-ends.
#pragma once

#include "framework/platform/Platform.h"

#include <string>
#include <vector>

namespace Orvane {

// '*' matches any run of characters, '?' one character; letters match without regard to case.
bool WildcardMatch(const std::string& pattern, const std::string& name);

// Turns a program file name ("Graphics\back.jpg") into an operating-system path.
std::string ToSystemPath(const std::string& name);

// Lists the entries of the pattern's folder whose names match its last component,
// sorted by name.
std::vector<FindEntry> ListMatchingFiles(const std::string& pattern);

}  // namespace Orvane
