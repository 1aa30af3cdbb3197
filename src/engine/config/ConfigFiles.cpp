#include "engine/config/ConfigFiles.h"

#include "engine/log/Log.h"
#include "framework/ini/AtomicFile.h"
#include "framework/ini/IniFile.h"
#include "framework/pak/PakInterface.h"
#include "framework/pak/PakName.h"
#include "framework/platform/FileSearch.h"

#include <map>
#include <mutex>

namespace ConfigFiles {

namespace {

Orvane::IniFileCache& DiskCache() {
    static Orvane::IniFileCache cache;
    return cache;
}

// Packed files never change while a pack is registered; a new pack may shadow them.
struct PackedDocument {
    uint64_t generation = 0;
    std::shared_ptr<const Orvane::IniDocument> doc;   // null: the file was refused
};

std::mutex gPackedMutex;
std::map<std::string, PackedDocument> gPacked;

}  // namespace

std::string InWorkingFolder(const std::string& name) {
    const std::string folder = Orvane::CurrentWorkingFolder();
    const std::string file = Orvane::ToSystemPath(name);
    return folder.empty() ? file : folder + "/" + file;
}

std::shared_ptr<const Orvane::IniDocument> LoadUserFile(const std::string& name) {
    return DiskCache().Get(InWorkingFolder(name));
}

void RemoveStaleTemporaryFiles(const std::string& name) { Orvane::RemoveStaleTemporaryFiles(InWorkingFolder(name)); }

std::shared_ptr<const Orvane::IniDocument> LoadDataFile(const std::string& name) {
    const std::string path = InWorkingFolder(name);
    Orvane::PakInterface& pak = Orvane::GetPak();
    if (!pak.IsPacked(path)) {
        // On disk: the working folder's file, else the installed data folder's.
        const std::string found = pak.ReadPath(name);
        return DiskCache().Get(!found.empty() && found.front() == '/' ? found : InWorkingFolder(found));
    }

    const uint64_t generation = pak.Generation();
    const std::string key = Orvane::NormalisePakName(path, "");
    {
        std::lock_guard<std::mutex> lock(gPackedMutex);
        auto it = gPacked.find(key);
        if (it != gPacked.end() && it->second.generation == generation) return it->second.doc;
    }
    std::vector<uint8_t> bytes;
    std::shared_ptr<const Orvane::IniDocument> doc;
    switch (Orvane::ReadWholeFileChecked(path, bytes, Orvane::kIniMaxFileBytes)) {
        case Orvane::FileReadResult::Ok:
            doc = std::make_shared<const Orvane::IniDocument>(Orvane::IniDocument::Parse(
                std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())));
            break;
        case Orvane::FileReadResult::TooLarge:
            LogWrite("WARNING: packed file '" + name + "' is larger than " +
                         std::to_string(Orvane::kIniMaxFileBytes >> 20) + " MB and is not read",
                     0);
            break;
        default: break;
    }
    // A refusal is remembered as well, so the file is neither read nor reported again.
    std::lock_guard<std::mutex> lock(gPackedMutex);
    gPacked[key] = PackedDocument{generation, doc};
    return doc;
}

}  // namespace ConfigFiles
