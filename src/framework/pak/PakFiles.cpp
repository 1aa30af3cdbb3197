// Whole-file conveniences over the process-wide file layer.
#include "framework/pak/PakInterface.h"

#include "framework/platform/FileSearch.h"

#include <algorithm>
#include <sys/stat.h>

namespace Orvane {

bool ReadWholeFile(const std::string& name, std::vector<uint8_t>& out, size_t maxBytes) {
    out.clear();
    PakInterface& pak = GetPak();
    PakFile* file = pak.FOpen(name.c_str(), "rb");
    if (!file) return false;
    // Read in chunks rather than trusting a size: the file may change while it is read.
    constexpr size_t kChunk = 64 * 1024;
    bool ok = true;
    for (;;) {
        const size_t before = out.size();
        // One byte beyond the limit tells a file of exactly maxBytes from a larger one.
        const size_t remaining = maxBytes - before;
        const size_t room = remaining >= kChunk ? kChunk : remaining + 1;
        out.resize(before + room);
        const size_t got = pak.FRead(out.data() + before, 1, room, file);
        out.resize(before + got);
        if (out.size() > maxBytes) {
            ok = false;
            break;
        }
        if (got < room) {
            ok = !pak.FError(file);
            break;
        }
    }
    pak.FClose(file);
    if (!ok) out.clear();
    return ok;
}

bool FileExists(const std::string& name) {
    if (GetPak().IsPacked(name)) return true;
    struct stat st {};
    return stat(ToSystemPath(name).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::vector<FindEntry> FindAllFiles(const std::string& pattern) {
    std::vector<FindEntry> entries;
    PakInterface& pak = GetPak();
    FindEntry entry;
    PakFind* find = pak.FindFirstFile(pattern.c_str(), &entry);
    if (!find) return entries;
    do {
        entries.push_back(entry);
    } while (pak.FindNextFile(find, &entry));
    pak.FindClose(find);
    std::sort(entries.begin(), entries.end(),
              [](const FindEntry& a, const FindEntry& b) { return a.name < b.name; });
    return entries;
}

}  // namespace Orvane
