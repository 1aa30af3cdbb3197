#include "framework/ini/IniFile.h"

#include "framework/ini/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

namespace Orvane {

namespace {

std::mutex& UpdateMutex() {
    static std::mutex mutex;
    return mutex;
}

}  // namespace

IniLoadResult LoadIniFile(const std::string& path, IniDocument& out) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return errno == ENOENT ? IniLoadResult::Missing : IniLoadResult::Failed;
    struct stat st {};
    if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) {
        std::fclose(f);
        return IniLoadResult::Failed;
    }
    std::string text;
    char chunk[16384];
    size_t n;
    bool ok = true;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
        if (text.size() + n > kIniMaxFileBytes) {
            ok = false;
            break;
        }
        text.append(chunk, n);
    }
    if (std::ferror(f)) ok = false;
    std::fclose(f);
    if (!ok) return IniLoadResult::Failed;
    out = IniDocument::Parse(text);
    return IniLoadResult::Ok;
}

bool UpdateIniFile(const std::string& path, const std::function<bool(IniDocument&)>& change) {
    std::lock_guard<std::mutex> lock(UpdateMutex());
    IniDocument doc;
    if (LoadIniFile(path, doc) == IniLoadResult::Failed) return false;
    if (!change(doc)) return false;
    return AtomicWriteFile(path, doc.Serialise());
}

bool WriteIniValue(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& value) {
    return UpdateIniFile(path, [&](IniDocument& doc) { return doc.Set(section, key, value); });
}

std::optional<std::string> ReadIniValue(const std::string& path, const std::string& section,
                                        const std::string& key) {
    IniDocument doc;
    if (LoadIniFile(path, doc) != IniLoadResult::Ok) return std::nullopt;
    return doc.Find(section, key);
}

std::shared_ptr<const IniDocument> IniFileCache::Get(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        std::lock_guard<std::mutex> lock(mutex_);
        entries_.erase(path);
        return nullptr;
    }
    const int64_t mtimeNs = int64_t{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec;
    std::lock_guard<std::mutex> lock(mutex_);
    Entry& entry = entries_[path];
    if (!entry.doc || entry.device != st.st_dev || entry.inode != st.st_ino ||
        entry.size != static_cast<uint64_t>(st.st_size) || entry.mtimeNs != mtimeNs) {
        auto doc = std::make_shared<IniDocument>();
        if (LoadIniFile(path, *doc) != IniLoadResult::Ok) {
            entries_.erase(path);
            return nullptr;
        }
        entry = Entry{st.st_dev, st.st_ino, static_cast<uint64_t>(st.st_size), mtimeNs, std::move(doc)};
    }
    return entry.doc;
}

void IniFileCache::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    entries_.clear();
}

}  // namespace Orvane
