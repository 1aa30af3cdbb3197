// Whole-file conveniences over the process-wide file layer.
#include "framework/pak/PakInterface.h"

#include "framework/platform/FileSearch.h"

#include <algorithm>
#include <sys/stat.h>

namespace Orvane {

namespace {

// Reads an open handle to its end (at most maxBytes) and closes it.
FileReadResult ReadAndClose(PakInterface& pak, PakFile* file, std::vector<uint8_t>& out, size_t maxBytes) {
    out.clear();
    if (!file) return FileReadResult::Missing;
    // A size over the limit is refused without reading; a smaller one is only a hint, as the
    // file may change while it is read.
    if (pak.FSeek(file, 0, SEEK_END) == 0) {
        const long size = pak.FTell(file);
        pak.FSeek(file, 0, SEEK_SET);
        if (size > 0 && static_cast<uint64_t>(size) > maxBytes) {
            pak.FClose(file);
            return FileReadResult::TooLarge;
        }
        // One byte more, for the read that finds the end.
        if (size > 0) out.reserve(static_cast<size_t>(size) + 1);
    }
    constexpr size_t kChunk = 64 * 1024;
    FileReadResult result = FileReadResult::Ok;
    for (;;) {
        const size_t before = out.size();
        // One byte beyond the limit tells a file of exactly maxBytes from a larger one.
        const size_t remaining = maxBytes - before;
        size_t room = remaining >= kChunk ? kChunk : remaining + 1;
        if (out.capacity() > before) room = std::min(room, out.capacity() - before);
        out.resize(before + room);
        const size_t got = pak.FRead(out.data() + before, 1, room, file);
        out.resize(before + got);
        if (out.size() > maxBytes) {
            result = FileReadResult::TooLarge;
            break;
        }
        if (got < room) {
            if (pak.FError(file)) result = FileReadResult::Failed;
            break;
        }
    }
    pak.FClose(file);
    if (result != FileReadResult::Ok) out.clear();
    return result;
}

}  // namespace

FileReadResult ReadWholeFileChecked(const std::string& name, std::vector<uint8_t>& out, size_t maxBytes) {
    PakInterface& pak = GetPak();
    return ReadAndClose(pak, pak.FOpen(name.c_str(), "rb"), out, maxBytes);
}

FileReadResult ReadUserFileChecked(const std::string& name, std::vector<uint8_t>& out, size_t maxBytes) {
    PakInterface& pak = GetPak();
    return ReadAndClose(pak, pak.FOpenUserFile(name.c_str()), out, maxBytes);
}

bool ReadWholeFile(const std::string& name, std::vector<uint8_t>& out, size_t maxBytes) {
    return ReadWholeFileChecked(name, out, maxBytes) == FileReadResult::Ok;
}

bool FileExists(const std::string& name) {
    if (GetPak().IsPacked(name)) return true;
    struct stat st {};
    return stat(GetPak().ReadPath(name).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
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
