#include "framework/pak/PakName.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <unistd.h>
#include <vector>

namespace Orvane {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

// Runs of separators become one '\'; ".." drops the component before it, "." is dropped.
std::string CollapsePath(const std::string& name) {
    std::vector<std::string> parts;
    const bool rooted = !name.empty() && IsSeparator(name.front());
    size_t i = 0;
    while (i < name.size()) {
        while (i < name.size() && IsSeparator(name[i])) ++i;
        size_t end = i;
        while (end < name.size() && !IsSeparator(name[end])) ++end;
        if (end > i) {
            std::string part = name.substr(i, end - i);
            if (part == "..") {
                if (!parts.empty() && parts.back() != "..") {
                    parts.pop_back();
                } else if (!rooted) {
                    parts.push_back(part);
                }
            } else if (part != ".") {
                parts.push_back(std::move(part));
            }
        }
        i = end;
    }
    std::string out = rooted ? "\\" : "";
    for (size_t k = 0; k < parts.size(); ++k) {
        if (k) out += '\\';
        out += parts[k];
    }
    // A trailing separator names a folder; keep it so folder patterns stay folder patterns.
    if (!name.empty() && IsSeparator(name.back()) && !parts.empty()) out += '\\';
    return out;
}

std::string ToUpper(std::string s) {
    for (char& c : s) c = Upper(c);
    return s;
}

}  // namespace

std::string NormalisePakName(const std::string& name, const std::string& workingFolder) {
    std::string key = ToUpper(CollapsePath(name));
    if (!key.empty() && key.front() == '\\' && !workingFolder.empty()) {
        std::string prefix = ToUpper(CollapsePath(workingFolder));
        if (prefix.empty() || prefix.back() != '\\') prefix += '\\';
        if (key.size() > prefix.size() && key.compare(0, prefix.size(), prefix) == 0) {
            key.erase(0, prefix.size());
        }
    }
    return key;
}

std::string CurrentWorkingFolder() {
    // Called on every file look-up: a stack buffer first, the heap only for very deep folders.
    char local[PATH_MAX];
    if (getcwd(local, sizeof local)) return local;
    if (errno != ERANGE) return "";
    std::vector<char> buffer(sizeof local * 4);
    return getcwd(buffer.data(), buffer.size()) ? buffer.data() : "";
}

}  // namespace Orvane
