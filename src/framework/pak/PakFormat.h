// The pack file format: every byte stored XOR-ed with one key byte; after decoding, a u32 magic,
// a u32 version, a directory of entries ended by a flags byte with bit 7 set, then the files'
// data back to back in directory order. All integers little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace Orvane {

constexpr uint8_t kPakXorKey = 0x5B;
constexpr uint32_t kPakMagic = 0xBAC04AC0u;
constexpr uint32_t kPakVersion = 0;
constexpr uint8_t kPakEndOfDirectory = 0x80;
// Positions in the layer are longs and ints; larger packs are refused.
constexpr uint64_t kPakMaxSize = 0x7FFFFFFFu;
// A directory that lists more files than this is refused: the game ships a few thousand, and
// each record costs memory whatever the file holds.
constexpr size_t kPakMaxEntries = 65536;
// Problems beyond this many are counted, not listed one by one.
constexpr size_t kPakMaxProblemLines = 20;

// One directory entry, with its data located in the decoded pack.
struct PakDirectoryEntry {
    std::string name;        // as stored, '\' separators
    uint64_t offset = 0;     // of its data from the start of the pack
    uint64_t size = 0;
    uint64_t fileTime = 0;   // 100 ns units since 1601 (the original platform's file time)
};

struct PakDirectory {
    enum class Status { Ok, TooShort, BadMagic, BadVersion, Truncated, TooManyEntries };
    Status status = Status::TooShort;
    std::vector<PakDirectoryEntry> entries;   // only entries whose data lies inside the pack
    std::vector<std::string> problems;        // a line per dropped entry (the first few)
    size_t droppedEntries = 0;                // all dropped entries, listed or not
    uint64_t dataStart = 0;
};

// Reads up to n decoded bytes of a pack from offset into out; returns how many it read.
using PakByteReader = std::function<size_t(uint64_t offset, uint8_t* out, size_t n)>;

// Reads the header and directory of a pack of `size` bytes, front to back, a block at a time;
// the data is never touched. Never reads outside `size` bytes.
PakDirectory ParsePakDirectory(const PakByteReader& read, uint64_t size);
// The same over a decoded pack in memory.
PakDirectory ParsePakDirectory(const uint8_t* data, size_t size);

// XOR with the key byte, in place (encoding and decoding are the same operation).
void XorPakBytes(uint8_t* data, size_t size);

// File times of the pack format <-> seconds since the Unix epoch (0 before 1970).
uint64_t PakTimeToUnix(uint64_t fileTime);
uint64_t UnixToPakTime(uint64_t unixSeconds);

const char* PakStatusText(PakDirectory::Status status);

}  // namespace Orvane
