// makepak <folder> [<pack>]: packs every file below folder into a resource pack (default
// "main.pak" in the working folder). Names are stored relative to the folder with '\'
// separators, in name order; with SOURCE_DATE_EPOCH set, no stored time is later than it.
#include "framework/pak/PakWriter.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: makepak <folder> [<pack file>]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const std::string pack = argc == 3 ? argv[2] : "main.pak";

    std::optional<uint64_t> clampTime;
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch && *epoch) {
        char* end = nullptr;
        const unsigned long long value = std::strtoull(epoch, &end, 10);
        if (*end == '\0') clampTime = value;
    }

    std::string error;
    std::vector<Orvane::PakSource> sources;
    std::vector<uint8_t> image;
    if (!Orvane::CollectPakFolder(folder, sources, error, pack, clampTime) ||
        !Orvane::BuildPakImage(std::move(sources), image, error) ||
        !Orvane::WritePakImage(pack, image, error)) {
        std::fprintf(stderr, "makepak: %s\n", error.c_str());
        return 1;
    }
    std::printf("makepak: wrote '%s' (%zu bytes)\n", pack.c_str(), image.size());
    return 0;
}
