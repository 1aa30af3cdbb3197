#include "framework/platform/FileSearch.h"

#include <algorithm>
#include <cctype>
#include <dirent.h>
#include <sys/stat.h>

namespace Orvane {

namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

}  // namespace

bool WildcardMatch(const std::string& pattern, const std::string& name) {
    // Iterative matcher with back-tracking to the last '*': linear in practice, no recursion.
    size_t p = 0, n = 0, star = std::string::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (star != std::string::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::string ToSystemPath(const std::string& name) {
    std::string path = name;
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::vector<FindEntry> ListMatchingFiles(const std::string& pattern) {
    const std::string path = ToSystemPath(pattern);
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    const std::string mask = slash == std::string::npos ? path : path.substr(slash + 1);
    // "*.*" matches names without a dot too, as on the original platform.
    const bool everything = mask == "*.*" || mask == "*";

    std::vector<FindEntry> entries;
    DIR* dir = opendir(folder.empty() ? "/" : folder.c_str());
    if (!dir) return entries;
    while (dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        if (!everything && !WildcardMatch(mask, name)) continue;
        FindEntry entry;
        entry.name = name;
        struct stat st {};
        if (stat((folder + "/" + name).c_str(), &st) == 0) {
            entry.size = static_cast<uint64_t>(st.st_size);
            entry.writeTime = static_cast<uint64_t>(st.st_mtime);
            entry.isDirectory = S_ISDIR(st.st_mode);
        }
        entries.push_back(std::move(entry));
    }
    closedir(dir);
    std::sort(entries.begin(), entries.end(),
              [](const FindEntry& a, const FindEntry& b) { return a.name < b.name; });
    return entries;
}

}  // namespace Orvane
