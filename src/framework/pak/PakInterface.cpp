// The file layer: a pack's directory is read once when it is registered; a packed file's bytes
// are read from the pack on demand (positioned reads, decoded as they arrive), through a small
// window per open handle. So a pack costs its directory, not its size, and a pack that shrinks
// or fails under the layer gives short reads rather than a fault. Every other file is an
// ordinary stdio stream, looked up in the working folder and then in the data folder of an
// installed game. Records are only added (at start-up), never removed, so a handle may keep a
// pointer to its pack for as long as the layer lives.
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
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Orvane {

namespace {

// One registered pack: its open file, read with positioned reads from any thread.
class PakCollection {
public:
    PakCollection(int fd, uint64_t size) : fd_(fd), size_(size) {}
    ~PakCollection() { ::close(fd_); }
    PakCollection(const PakCollection&) = delete;
    PakCollection& operator=(const PakCollection&) = delete;

    uint64_t Size() const { return size_; }
    // Up to n decoded bytes from offset; fewer when the file ends early or a read fails.
    size_t Read(uint64_t offset, uint8_t* out, size_t n) const {
        size_t done = 0;
        while (done < n) {
            const ssize_t got = ::pread(fd_, out + done, n - done, static_cast<off_t>(offset + done));
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            done += static_cast<size_t>(got);
        }
        XorPakBytes(out, done);
        return done;
    }

private:
    int fd_;
    uint64_t size_;
};

}  // namespace

struct PakFile {
    // Packed file: where its bytes lie in the pack, and a window of them already read.
    const PakCollection* pack = nullptr;
    uint64_t offset = 0;
    long size = 0;
    long pos = 0;
    std::vector<uint8_t> window;
    long windowStart = 0;   // file position of window[0]
    bool failed = false;    // the pack gave fewer bytes than its directory promised
    // File-system file.
    std::FILE* stream = nullptr;
    bool textMode = false;   // opened with "r"/"rt": line reads drop carriage returns
};

struct PakFind {
    std::vector<FindEntry> entries;
    size_t next = 0;
};

namespace {

// Bytes a handle reads ahead: small files come in one read, large ones a window at a time.
constexpr size_t kWindowBytes = 64 * 1024;

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

// A file of the file system as a handle; none when it cannot be opened or is a folder.
PakFile* OpenStream(const std::string& path, const char* systemMode, bool textMode) {
    std::FILE* stream = std::fopen(path.c_str(), systemMode);
    if (!stream) return nullptr;
    struct stat st {};
    if (fstat(fileno(stream), &st) == 0 && S_ISDIR(st.st_mode)) {
        std::fclose(stream);
        return nullptr;
    }
    auto file = std::make_unique<PakFile>();
    file->stream = stream;
    file->textMode = textMode;
    return file.release();
}

bool IsFileOnDisk(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

// Opens a pack for positioned reads; none with a reason when it cannot serve as one.
std::unique_ptr<PakCollection> OpenPack(const std::string& fileName, std::string& error) {
    const int fd = ::open(ToSystemPath(fileName).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return nullptr;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error = "not a regular file";
    } else if (static_cast<uint64_t>(st.st_size) > kPakMaxSize) {
        error = "larger than 2 GB";
    } else {
        return std::make_unique<PakCollection>(fd, static_cast<uint64_t>(st.st_size));
    }
    ::close(fd);
    return nullptr;
}

// Whether the window holds the byte at the handle's position.
bool InWindow(const PakFile* file) {
    const long at = file->pos - file->windowStart;
    return at >= 0 && at < static_cast<long>(file->window.size());
}

// Makes sure the window holds the byte at the handle's position; false at the end or when the
// pack fails to give it.
bool FillWindow(PakFile* file) {
    if (file->pos >= file->size) return false;
    if (InWindow(file)) return true;
    const size_t want = static_cast<size_t>(std::min<long>(static_cast<long>(kWindowBytes), file->size - file->pos));
    file->window.resize(want);
    const size_t got = file->pack->Read(file->offset + static_cast<uint64_t>(file->pos), file->window.data(), want);
    file->window.resize(got);
    file->windowStart = file->pos;
    if (got < want) file->failed = true;
    return got > 0;
}

// The next decoded byte of a packed handle, or EOF.
int NextPackedByte(PakFile* file) {
    if (!FillWindow(file)) return EOF;
    return file->window[static_cast<size_t>(file->pos++ - file->windowStart)];
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
    std::string dataFolder;   // absolute, without a trailing '/'; guarded by mutex

    const PakRecord* Find(const std::string& key) const {
        auto it = records.find(key);
        return it == records.end() ? nullptr : &it->second;
    }
};

PakInterface::PakInterface() : impl_(std::make_unique<Impl>()) {}
PakInterface::~PakInterface() = default;

bool PakInterface::AddPakFile(const std::string& fileName) {
    std::string error;
    std::unique_ptr<PakCollection> collection = OpenPack(fileName, error);
    if (!collection) {
        // A missing pack is normal: the game then runs from its folders.
        if (error != std::strerror(ENOENT)) {
            Diagnose("Loading pack: '" + fileName + "' ... FAILED (" + error + ")");
        }
        return false;
    }
    const PakCollection* pack = collection.get();
    const PakDirectory dir = ParsePakDirectory(
        [pack](uint64_t offset, uint8_t* out, size_t n) { return pack->Read(offset, out, n); }, pack->Size());

    std::unique_lock lock(impl_->mutex);
    impl_->collections.push_back(std::move(collection));
    // The pack itself stays readable through the layer, decoded, from its first byte.
    impl_->records[NormalisePakName(fileName, CurrentWorkingFolder())] =
        PakRecord{pack, fileName, 0, pack->Size(), 0};
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
    if (dir.droppedEntries > dir.problems.size()) {
        Diagnose("WARNING: pack '" + fileName + "': " + std::to_string(dir.droppedEntries - dir.problems.size()) +
                 " more entries ignored");
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

void PakInterface::SetDataFolder(const std::string& folder) {
    std::string path = ToSystemPath(folder);
    if (!path.empty() && path.front() != '/') {
        const std::string cwd = CurrentWorkingFolder();
        if (!cwd.empty()) path = cwd + "/" + path;
    }
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    std::unique_lock lock(impl_->mutex);
    impl_->dataFolder = path;
}

std::string PakInterface::DataFolder() const {
    std::shared_lock lock(impl_->mutex);
    return impl_->dataFolder;
}

std::string PakInterface::ReadPath(const std::string& name) const {
    const std::string path = ToSystemPath(name);
    if (path.empty() || path.front() == '/') return path;
    const std::string data = DataFolder();
    if (data.empty() || IsFileOnDisk(path)) return path;
    const std::string installed = data + "/" + path;
    return IsFileOnDisk(installed) ? installed : path;
}

PakFile* PakInterface::FOpenUserFile(const char* name) {
    if (!name) return nullptr;
    return OpenStream(ToSystemPath(name), "rb", false);
}

PakFile* PakInterface::FOpen(const char* name, const char* mode) {
    if (!name || !mode) return nullptr;
    const bool readMode = IsReadMode(mode);
    if (readMode) {
        const std::string key = NormalisePakName(name, CurrentWorkingFolder());
        std::shared_lock lock(impl_->mutex);
        if (const PakRecord* record = impl_->Find(key)) {
            auto file = std::make_unique<PakFile>();
            file->pack = record->collection;
            file->offset = record->offset;
            file->size = static_cast<long>(record->size);
            return file.release();
        }
    }
    // Writes always go to the working folder; reads fall back to the data folder.
    if (!readMode) return OpenStream(ToSystemPath(name), SystemMode(mode).c_str(), false);
    const bool textMode = std::strchr(mode, 'b') == nullptr && std::strchr(mode, 'B') == nullptr;
    return OpenStream(ReadPath(name), "rb", textMode);
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
    auto* out = static_cast<uint8_t*>(buffer);
    size_t done = 0;
    while (done < n) {
        if (n - done >= kWindowBytes && !InWindow(file)) {
            // Large reads go straight into the caller's buffer.
            const size_t want = n - done;
            const size_t got = file->pack->Read(file->offset + static_cast<uint64_t>(file->pos), out + done, want);
            file->pos += static_cast<long>(got);
            done += got;
            if (got < want) file->failed = true;
            break;
        }
        if (!FillWindow(file)) break;
        const size_t at = static_cast<size_t>(file->pos - file->windowStart);
        const size_t k = std::min(n - done, file->window.size() - at);
        std::memcpy(out + done, file->window.data() + at, k);
        file->pos += static_cast<long>(k);
        done += k;
    }
    return done / size;
}

int PakInterface::FGetC(PakFile* file) {
    if (!file) return EOF;
    if (file->stream) {
        int c = std::fgetc(file->stream);
        while (file->textMode && c == '\r') c = std::fgetc(file->stream);
        return c;
    }
    // Packed files always read as text through this operation.
    int c;
    while ((c = NextPackedByte(file)) == '\r') {
    }
    return c;
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
            c = NextPackedByte(file);
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
    return file->stream ? std::ferror(file->stream) != 0 : file->failed;
}

// The matches of the working folder and, for a relative pattern, those of the data folder
// that the working folder does not have under the same name, in name order.
std::vector<FindEntry> PakInterface::FindOnDisk(const std::string& pattern) const {
    std::vector<FindEntry> entries = GetPlatform().FindFiles(pattern);
    const std::string path = ToSystemPath(pattern);
    const std::string data = DataFolder();
    if (data.empty() || path.empty() || path.front() == '/') return entries;
    const size_t own = entries.size();
    for (FindEntry& entry : GetPlatform().FindFiles(data + "/" + path)) {
        const auto mine = entries.begin() + static_cast<std::ptrdiff_t>(own);
        if (std::none_of(entries.begin(), mine, [&](const FindEntry& e) { return e.name == entry.name; })) {
            entries.push_back(std::move(entry));
        }
    }
    if (entries.size() > own) {
        std::sort(entries.begin(), entries.end(),
                  [](const FindEntry& a, const FindEntry& b) { return a.name < b.name; });
    }
    return entries;
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
    if (find->entries.empty()) find->entries = FindOnDisk(pattern);
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
