// Building packs (used by the makepak tool and by tests): files are stored in the order of
// their names, so the same folder always gives the same pack.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Orvane {

struct PakSource {
    std::string name;            // relative, '\' separators, at most 255 bytes
    std::vector<uint8_t> data;
    uint64_t fileTime = 0;       // pack file time (100 ns units since 1601)
};

// Encodes the sources as a pack (XOR-ed). False with a reason when a name or size cannot be
// stored, two sources share a name, or the pack would exceed the layer's 2 GB limit.
bool BuildPakImage(std::vector<PakSource> sources, std::vector<uint8_t>& out, std::string& error);

// Every regular file below folder, named relative to it with '\' separators. Files whose
// modification time is later than clampTime (seconds since the epoch) get clampTime, which
// makes packs reproducible (SOURCE_DATE_EPOCH). excludePath (e.g. the pack being written)
// is skipped.
bool CollectPakFolder(const std::string& folder, std::vector<PakSource>& out, std::string& error,
                      const std::string& excludePath = "",
                      std::optional<uint64_t> clampTime = std::nullopt);

// Writes bytes to path through a temporary file in the same folder, renamed over the target.
bool WritePakImage(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);

}  // namespace Orvane
