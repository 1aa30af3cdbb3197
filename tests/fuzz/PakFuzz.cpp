// Packs: the input is a pack file as it lies on disk. Its directory is parsed in memory and by
// the file layer; every file the layer lists reads back exactly the bytes the directory gives
// it, through whole reads, seeks, single characters and lines.
#include "FuzzSupport.h"

#include "framework/pak/PakFormat.h"
#include "framework/pak/PakInterface.h"
#include "framework/pak/PakName.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

using namespace Orvane;

namespace {

// Reads a packed file four ways and checks each against the bytes it should hold.
void ReadBack(PakInterface& pak, const std::string& name, const uint8_t* expected, size_t size) {
    PakFile* f = pak.FOpen(name.c_str(), "rb");
    FUZZ_CHECK(f != nullptr);
    std::vector<uint8_t> whole(size + 1);
    FUZZ_CHECK(pak.FRead(whole.data(), 1, whole.size(), f) == size);
    FUZZ_CHECK(std::equal(expected, expected + size, whole.begin()));
    FUZZ_CHECK(pak.FEof(f));
    if (size > 0) {
        FUZZ_CHECK(pak.FSeek(f, -1, SEEK_END) == 0);
        // Single characters read as text: a carriage return is skipped.
        FUZZ_CHECK(pak.FGetC(f) == (expected[size - 1] == '\r' ? EOF : expected[size - 1]));
        FUZZ_CHECK(pak.FSeek(f, 0, SEEK_SET) == 0);
        char line[64];
        if (pak.FGetS(line, sizeof line, f)) FUZZ_CHECK(pak.FTell(f) > 0);
    }
    pak.FClose(f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Fuzz::PutFile("main.pak", data, size);
    std::vector<uint8_t> decoded(data, data + size);
    XorPakBytes(decoded.data(), decoded.size());
    const PakDirectory directory = ParsePakDirectory(decoded.data(), decoded.size());

    PakInterface pak;
    const bool added = pak.AddPakFile("main.pak");
    FUZZ_CHECK(added == (directory.status == PakDirectory::Status::Ok));
    if (!added) return 0;

    // The last entry of a name is the one the layer keeps.
    std::map<std::string, const PakDirectoryEntry*> byKey;
    for (const PakDirectoryEntry& entry : directory.entries) {
        FUZZ_CHECK(entry.offset + entry.size <= decoded.size());
        byKey[NormalisePakName(entry.name, "")] = &entry;
    }
    for (const auto& [key, entry] : byKey) {
        // The layer takes names as C strings: a name with a zero byte cannot be asked for.
        if (key.empty() || entry->name.find('\0') != std::string::npos) continue;
        FUZZ_CHECK(pak.IsPacked(entry->name));
        ReadBack(pak, entry->name, decoded.data() + entry->offset, size_t(entry->size));
    }
    FindEntry found;
    if (PakFind* find = pak.FindFirstFile("*", &found)) {
        int listed = 1;
        while (pak.FindNextFile(find, &found) && listed < 100000) ++listed;
        pak.FindClose(find);
    }
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    Fuzz::Initialize(argc, argv);
    return 0;
}
