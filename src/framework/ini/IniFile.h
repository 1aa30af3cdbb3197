// Initialisation files on disk: loading (any bytes, bounded size), read-modify-write updates
// that replace the file atomically, and a cache that re-reads a file only when it changed.
#pragma once

#include "framework/ini/IniDocument.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace Orvane {

// Larger files are refused with a WARNING line rather than read: the game's own are a few
// kilobytes, and a document costs its size plus a few bytes a line.
constexpr size_t kIniMaxFileBytes = size_t{4} << 20;

enum class IniLoadResult { Ok, Missing, Failed, TooLarge };

IniLoadResult LoadIniFile(const std::string& path, IniDocument& out);

// Loads the file (a missing file is an empty document), lets change edit it, and writes it
// back atomically when change returns true. False when the file exists but cannot be read,
// when change refuses, or when the write fails; the file on disk is then untouched.
// A file over the size limit is not replaced: it is renamed aside (IniAsideName, with a
// WARNING line) and the change starts from an empty document.
// Updates of the process are serialised, so two threads never lose each other's writes.
bool UpdateIniFile(const std::string& path, const std::function<bool(IniDocument&)>& change);
// The name an oversized file is kept under: "<path>.too-large", or with ".2", ".3" ...
// appended when that exists already; "" when every candidate is taken.
std::string IniAsideName(const std::string& path);

// Shorthands over UpdateIniFile and LoadIniFile.
bool WriteIniValue(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& value);
std::optional<std::string> ReadIniValue(const std::string& path, const std::string& section,
                                        const std::string& key);

// Parsed documents by path, reloaded when the file's identity, size or times change. A file
// that could not be read is remembered too, so it is not read (nor reported) again until it
// changes.
class IniFileCache {
public:
    // Null when the file is missing, unreadable or too large.
    std::shared_ptr<const IniDocument> Get(const std::string& path);
    void Clear();

private:
    struct Entry {
        uint64_t device = 0, inode = 0, size = 0;
        int64_t mtimeNs = 0, ctimeNs = 0;
        std::shared_ptr<const IniDocument> doc;   // null: the file was refused
    };
    std::mutex mutex_;
    std::unordered_map<std::string, Entry> entries_;
};

}  // namespace Orvane
