// The wave file reader and the writer of the decoded-sound cache. The reader takes ordinary
// PCM ".wav" files and the cache files; the cache adds two chunks of the program's own:
//   "dep " - u16 name length, the source file name, u64 the source's last-write time (file time),
//   "xor " - one key byte that every sample byte is XOR-ed with.
// Chunks follow each other without padding (the "xor " chunk has size 1); a zero pad byte after
// an odd-sized chunk of an ordinary RIFF file is tolerated.
#pragma once

#include "framework/sound/PcmSound.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace Orvane {

enum class WaveReadResult {
    Ok,
    NotWave,        // no RIFF/WAVE header, or too short
    BadFormat,      // not PCM, or channels/bits/rate the output cannot take
    Corrupt,        // a chunk runs past the end of the file, no data chunk, no samples
    StaleSource,    // a "dep " chunk whose source time does not match
};

// Answers the current last-write time (file time) of a source file named in a "dep " chunk;
// false when the source cannot be found.
using SourceTimeQuery = std::function<bool(const std::string& sourceName, uint64_t* fileTime)>;

// Reads a wave file from memory. checkSource may be empty (then "dep " chunks are not checked).
WaveReadResult ReadWave(const std::vector<uint8_t>& bytes, PcmSound* sound,
                        const SourceTimeQuery& checkSource = {});
const char* WaveReadResultName(WaveReadResult result);

// The key byte the cache is written with (the pack format's key); readers take it from the file.
inline constexpr uint8_t kCacheXorKey = 0x5B;

// The cache file of a decoded sound, samples XOR-ed with key.
std::vector<uint8_t> WriteCachedWave(const PcmSound& sound, const std::string& sourceName,
                                     uint64_t sourceFileTime, uint8_t key = kCacheXorKey);

}  // namespace Orvane
