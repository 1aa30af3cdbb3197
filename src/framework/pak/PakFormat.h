// The pack file format: every byte stored XOR-ed with one key byte; after decoding, a u32 magic,
// a u32 version, a directory of entries ended by a flags byte with bit 7 set, then the files'
// data back to back in directory order. All integers little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Orvane {

constexpr uint8_t kPakXorKey = 0x5B;
constexpr uint32_t kPakMagic = 0xBAC04AC0u;
constexpr uint32_t kPakVersion = 0;
constexpr uint8_t kPakEndOfDirectory = 0x80;
// Positions in the layer are longs and ints; larger packs are refused.
constexpr uint64_t kPakMaxSize = 0x7FFFFFFFu;

// One directory entry, with its data located in the decoded pack.
struct PakDirectoryEntry {
    std::string name;        // as stored, '\' separators
    uint64_t offset = 0;     // of its data from the start of the pack
    uint64_t size = 0;
    uint64_t fileTime = 0;   // 100 ns units since 1601 (the original platform's file time)
};

struct PakDirectory {
    enum class Status { Ok, TooShort, BadMagic, BadVersion, Truncated };
    Status status = Status::TooShort;
    std::vector<PakDirectoryEntry> entries;   // only entries whose data lies inside the pack
    std::vector<std::string> problems;        // one line per entry that was dropped
    uint64_t dataStart = 0;
};

// Reads the header and directory of a decoded pack. Never reads outside `size` bytes.
PakDirectory ParsePakDirectory(const uint8_t* data, size_t size);

// XOR with the key byte, in place (encoding and decoding are the same operation).
void XorPakBytes(uint8_t* data, size_t size);

// File times of the pack format <-> seconds since the Unix epoch (0 before 1970).
uint64_t PakTimeToUnix(uint64_t fileTime);
uint64_t UnixToPakTime(uint64_t unixSeconds);

const char* PakStatusText(PakDirectory::Status status);

}  // namespace Orvane
