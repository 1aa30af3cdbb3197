// The file layer: packed files are decoded into memory once and served from there; every
// other file is an ordinary stdio stream. Records are only added (at start-up), never removed,
// so a handle may keep a pointer into its pack's data for as long as the layer lives.
#include "framework/pak/PakInterface.h"

#include "framework/core/Diagnostics.h"
#include "framework/pak/PakFormat.h"
#include "framework/pak/PakName.h"
#include "framework/platform/FileSearch.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <shared_mutex>
#include <sys/stat.h>

namespace Orvane {

struct PakFile {
    // Packed file: its decoded bytes inside the pack's buffer.
    const uint8_t* data = nullptr;
    long size = 0;
    long pos = 0;
    // File-system file.
    std::FILE* stream = nullptr;
    bool textMode = false;   // opened with "r"/"rt": line reads drop carriage returns
};

struct PakFind {
    std::vector<FindEntry> entries;
    size_t next = 0;
};

namespace {

struct PakCollection {
    std::string fileName;
    std::vector<uint8_t> data;   // the whole pack, decoded
};

struct PakRecord {
    const PakCollection* collection = nullptr;
    std::string name;            // as stored in the directory
    uint64_t offset = 0;
    uint64_t size = 0;
    uint64_t fileTime = 0;
};

bool IsReadMode(const char* mode) {
    std::string m;
    for (const char* p = mode; *p; ++p) m += static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
    return m == "r" || m == "rb" || m == "rt";
}

// The C library knows no 't' and no upper-case modes.
std::string SystemMode(const char* mode) {
    std::string m;
    for (const char* p = mode; *p; ++p) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
        if (c != 't') m += c;
    }
    return m;
}

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& out, std::string& error) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        error = std::strerror(errno);
        return false;
    }
    struct stat st {};
    bool ok = fstat(fileno(f), &st) == 0 && S_ISREG(st.st_mode);
    if (!ok) {
        error = "not a regular file";
    } else if (static_cast<uint64_t>(st.st_size) > kPakMaxSize) {
        error = "larger than 2 GB";
        ok = false;
    } else {
        out.resize(static_cast<size_t>(st.st_size));
        const size_t got = out.empty() ? 0 : std::fread(out.data(), 1, out.size(), f);
        if (got != out.size()) {
            error = "short read";
            ok = false;
        }
    }
    std::fclose(f);
    return ok;
}

// Pack-side wildcard rule: the part before the first '*' must start the name; the rest of the
// pattern must match the rest of the name, which has to lie in the same folder.
bool PackedNameMatches(const std::string& key, const std::string& prefix, const std::string& rest) {
    if (key.size() < prefix.size() || key.compare(0, prefix.size(), prefix) != 0) return false;
    const std::string tail = key.substr(prefix.size());
    if (tail.find('\\') != std::string::npos) return false;
    if (rest.empty() || rest == ".*") return true;
    return WildcardMatch("*" + rest, tail);
}

FindEntry EntryOf(const PakRecord& record) {
    FindEntry entry;
    const size_t slash = record.name.find_last_of('\\');
    entry.name = slash == std::string::npos ? record.name : record.name.substr(slash + 1);
    entry.size = record.size;
    entry.writeTime = PakTimeToUnix(record.fileTime);
    return entry;
}

}  // namespace

struct PakInterface::Impl {
    mutable std::shared_mutex mutex;   // guards the two containers below
    std::vector<std::unique_ptr<PakCollection>> collections;
    std::map<std::string, PakRecord> records;   // by normalised upper-case name
    std::atomic<uint64_t> generation{0};

    const PakRecord* Find(const std::string& key) const {
        auto it = records.find(key);
        return it == records.end() ? nullptr : &it->second;
    }
};

PakInterface::PakInterface() : impl_(std::make_unique<Impl>()) {}
PakInterface::~PakInterface() = default;

bool PakInterface::AddPakFile(const std::string& fileName) {
    auto collection = std::make_unique<PakCollection>();
    collection->fileName = fileName;
    std::string error;
    if (!ReadFileBytes(ToSystemPath(fileName), collection->data, error)) {
        // A missing pack is normal: the game then runs from its folders.
        if (error != std::strerror(ENOENT)) {
            Diagnose("Loading pack: '" + fileName + "' ... FAILED (" + error + ")");
        }
        return false;
    }
    XorPakBytes(collection->data.data(), collection->data.size());
    const PakDirectory dir = ParsePakDirectory(collection->data.data(), collection->data.size());

    std::unique_lock lock(impl_->mutex);
    PakCollection* pack = collection.get();
    impl_->collections.push_back(std::move(collection));
    // The pack itself stays readable through the layer, decoded, from its first byte.
    impl_->records[NormalisePakName(fileName, CurrentWorkingFolder())] =
        PakRecord{pack, fileName, 0, pack->data.size(), 0};
    ++impl_->generation;

    if (dir.status != PakDirectory::Status::Ok) {
        lock.unlock();
        Diagnose("Loading pack: '" + fileName + "' ... FAILED (" + PakStatusText(dir.status) + ")");
        return false;
    }
    for (const PakDirectoryEntry& entry : dir.entries) {
        impl_->records[NormalisePakName(entry.name, "")] =
            PakRecord{pack, entry.name, entry.offset, entry.size, entry.fileTime};
    }
    lock.unlock();
    for (const std::string& problem : dir.problems) {
        Diagnose("WARNING: pack '" + fileName + "': " + problem + ", entry ignored");
    }
    Diagnose("Loading pack: '" + fileName + "' ... OK (" + std::to_string(dir.entries.size()) +
             " files)");
    return true;
}

bool PakInterface::IsPacked(const std::string& name) const {
    if (impl_->generation.load() == 0) return false;   // no pack registered: nothing to normalise
    const std::string key = NormalisePakName(name, CurrentWorkingFolder());
    std::shared_lock lock(impl_->mutex);
    return impl_->Find(key) != nullptr;
}

uint64_t PakInterface::Generation() const { return impl_->generation.load(); }

PakFile* PakInterface::FOpen(const char* name, const char* mode) {
    if (!name || !mode) return nullptr;
    const bool readMode = IsReadMode(mode);
    if (readMode) {
        const std::string key = NormalisePakName(name, CurrentWorkingFolder());
        std::shared_lock lock(impl_->mutex);
        if (const PakRecord* record = impl_->Find(key)) {
            auto file = std::make_unique<PakFile>();
            file->data = record->collection->data.data() + record->offset;
            file->size = static_cast<long>(record->size);
            return file.release();
        }
    }
    const std::string path = ToSystemPath(name);
    std::FILE* stream = std::fopen(path.c_str(), readMode ? "rb" : SystemMode(mode).c_str());
    if (!stream) return nullptr;
    struct stat st {};
    if (fstat(fileno(stream), &st) == 0 && S_ISDIR(st.st_mode)) {
        std::fclose(stream);
        return nullptr;
    }
    auto file = std::make_unique<PakFile>();
    file->stream = stream;
    file->textMode = readMode && std::strchr(mode, 'b') == nullptr && std::strchr(mode, 'B') == nullptr;
    return file.release();
}

int PakInterface::FClose(PakFile* file) {
    if (!file) return EOF;
    std::unique_ptr<PakFile> owned(file);
    return owned->stream ? std::fclose(owned->stream) : 0;
}

int PakInterface::FSeek(PakFile* file, long offset, int origin) {
    if (!file) return -1;
    if (file->stream) return std::fseek(file->stream, offset, origin);
    int64_t target = file->pos;
    switch (origin) {
        case SEEK_SET: target = offset; break;
        case SEEK_CUR: target = int64_t{file->pos} + offset; break;
        case SEEK_END: target = int64_t{file->size} + offset; break;
        default: return -1;
    }
    file->pos = static_cast<long>(std::clamp<int64_t>(target, 0, file->size));
    return 0;
}

long PakInterface::FTell(PakFile* file) {
    if (!file) return -1;
    return file->stream ? std::ftell(file->stream) : file->pos;
}

size_t PakInterface::FRead(void* buffer, size_t size, size_t count, PakFile* file) {
    if (!file || !buffer || size == 0 || count == 0) return 0;
    if (file->stream) return std::fread(buffer, size, count, file->stream);
    const size_t wanted = count > SIZE_MAX / size ? SIZE_MAX : size * count;
    const size_t n = std::min(wanted, static_cast<size_t>(file->size - file->pos));
    if (n > 0) std::memcpy(buffer, file->data + file->pos, n);
    file->pos += static_cast<long>(n);
    return n / size;
}

int PakInterface::FGetC(PakFile* file) {
    if (!file) return EOF;
    if (file->stream) {
        int c = std::fgetc(file->stream);
        while (file->textMode && c == '\r') c = std::fgetc(file->stream);
        return c;
    }
    // Packed files always read as text through this operation.
    while (file->pos < file->size) {
        const uint8_t c = file->data[file->pos++];
        if (c != '\r') return c;
    }
    return EOF;
}

int PakInterface::UnGetC(int c, PakFile* file) {
    if (!file) return EOF;
    if (file->stream) return std::ungetc(c, file->stream);
    file->pos = std::max(file->pos - 1, 0L);
    return c;
}

char* PakInterface::FGetS(char* buffer, int size, PakFile* file) {
    if (!file || !buffer || size <= 0) return nullptr;
    int stored = 0;
    bool atEnd = false;
    while (stored < size - 1) {
        int c;
        if (file->stream) {
            c = std::fgetc(file->stream);
            if (c == '\r' && file->textMode) continue;
        } else {
            c = file->pos < file->size ? file->data[file->pos++] : EOF;
            if (c == '\r') continue;
        }
        if (c == EOF) {
            atEnd = true;
            break;
        }
        buffer[stored++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    buffer[stored] = '\0';
    return stored == 0 && atEnd ? nullptr : buffer;
}

bool PakInterface::FEof(PakFile* file) {
    if (!file) return true;
    return file->stream ? std::feof(file->stream) != 0 : file->pos >= file->size;
}

bool PakInterface::FError(PakFile* file) {
    if (!file) return true;
    return file->stream ? std::ferror(file->stream) != 0 : false;
}

PakFind* PakInterface::FindFirstFile(const char* pattern, FindEntry* entry) {
    if (!pattern) return nullptr;
    auto find = std::make_unique<PakFind>();
    const std::string key = NormalisePakName(pattern, CurrentWorkingFolder());
    const size_t star = key.find('*');
    if (star != std::string::npos) {
        const std::string prefix = key.substr(0, star);
        const std::string rest = key.substr(star + 1);
        std::shared_lock lock(impl_->mutex);
        for (auto it = impl_->records.lower_bound(prefix); it != impl_->records.end(); ++it) {
            if (it->first.compare(0, prefix.size(), prefix) != 0) break;
            if (PackedNameMatches(it->first, prefix, rest)) find->entries.push_back(EntryOf(it->second));
        }
    }
    if (find->entries.empty()) find->entries = GetPlatform().FindFiles(pattern);
    if (find->entries.empty()) return nullptr;
    if (entry) *entry = find->entries[0];
    find->next = 1;
    return find.release();
}

bool PakInterface::FindNextFile(PakFind* find, FindEntry* entry) {
    if (!find || find->next >= find->entries.size()) return false;
    if (entry) *entry = find->entries[find->next];
    ++find->next;
    return true;
}

void PakInterface::FindClose(PakFind* find) { delete find; }

PakInterface& GetPak() {
    static PakInterface pak;
    return pak;
}

}  // namespace Orvane
