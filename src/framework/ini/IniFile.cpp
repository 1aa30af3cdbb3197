#include "framework/ini/IniFile.h"

#include "framework/core/Diagnostics.h"
#include "framework/ini/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace Orvane {

namespace {

constexpr int kMaxAsideNames = 100;

std::mutex& UpdateMutex() {
    static std::mutex mutex;
    return mutex;
}

int64_t Nanoseconds(const timespec& t) { return int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec; }

void ReportTooLarge(const std::string& path) {
    Diagnose("WARNING: ini file '" + path + "' is larger than " + std::to_string(kIniMaxFileBytes >> 20) +
             " MB and is not read");
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
    // The size is checked before anything is read, and again while reading (the file may grow).
    IniLoadResult result = static_cast<uint64_t>(st.st_size) > kIniMaxFileBytes ? IniLoadResult::TooLarge
                                                                                 : IniLoadResult::Ok;
    std::string text;
    if (result == IniLoadResult::Ok) {
        text.reserve(static_cast<size_t>(st.st_size));
        char chunk[16384];
        size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
            if (text.size() + n > kIniMaxFileBytes) {
                result = IniLoadResult::TooLarge;
                break;
            }
            text.append(chunk, n);
        }
        if (result == IniLoadResult::Ok && std::ferror(f)) result = IniLoadResult::Failed;
    }
    std::fclose(f);
    if (result == IniLoadResult::TooLarge) ReportTooLarge(path);
    if (result != IniLoadResult::Ok) return result;
    out = IniDocument::Parse(text);
    return IniLoadResult::Ok;
}

std::string IniAsideName(const std::string& path) {
    for (int n = 1; n <= kMaxAsideNames; ++n) {
        const std::string name = path + ".too-large" + (n == 1 ? "" : "." + std::to_string(n));
        struct stat st {};
        if (lstat(name.c_str(), &st) != 0 && errno == ENOENT) return name;
    }
    return "";
}

bool UpdateIniFile(const std::string& path, const std::function<bool(IniDocument&)>& change) {
    std::lock_guard<std::mutex> lock(UpdateMutex());
    IniDocument doc;
    switch (LoadIniFile(path, doc)) {
        case IniLoadResult::Ok:
        case IniLoadResult::Missing: break;
        case IniLoadResult::Failed: return false;
        case IniLoadResult::TooLarge: {
            // Kept under another name rather than replaced; the new file starts empty.
            const std::string aside = IniAsideName(path);
            if (aside.empty() || std::rename(path.c_str(), aside.c_str()) != 0) {
                Diagnose("WARNING: ini file '" + path + "' could not be moved aside; it is not replaced");
                return false;
            }
            Diagnose("WARNING: ini file '" + path + "' kept as '" + aside + "'; a new one is written");
            break;
        }
    }
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
    const Entry seen{st.st_dev, st.st_ino, static_cast<uint64_t>(st.st_size), Nanoseconds(st.st_mtim),
                     Nanoseconds(st.st_ctim), nullptr};
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = entries_.find(path);
    if (it != entries_.end() && it->second.device == seen.device && it->second.inode == seen.inode &&
        it->second.size == seen.size && it->second.mtimeNs == seen.mtimeNs && it->second.ctimeNs == seen.ctimeNs) {
        return it->second.doc;
    }
    auto doc = std::make_shared<IniDocument>();
    Entry entry = seen;
    if (LoadIniFile(path, *doc) == IniLoadResult::Ok) entry.doc = std::move(doc);
    entries_[path] = entry;
    return entry.doc;
}

void IniFileCache::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    entries_.clear();
}

}  // namespace Orvane
