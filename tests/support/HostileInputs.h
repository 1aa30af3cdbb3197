// Hostile inputs for the file readers: files that are huge, truncated or shaped to make a
// reader spend time or memory out of proportion to their size. The tests keep them as
// regression cases; bench_readers writes them to disk so the cost of a reader can be measured
// from outside the process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace HostileInputs {

// Ini text: "[s0]\n[s1]\n..." up to `bytes` bytes.
std::string IniSections(size_t bytes);
// Ini text of `bytes` empty lines.
std::string IniBlankLines(size_t bytes);
// One section with a name `nameBytes` long, followed by short distinct keys up to `bytes`.
std::string IniLongSectionManyKeys(size_t nameBytes, size_t bytes);

// A pack whose directory lists `count` nameless empty entries (14 bytes each).
bool WritePakOfEmptyEntries(const std::string& path, uint64_t count);
// A pack of `size` bytes holding one file that fills it; the data is a hole in the file, so
// it costs no disk space where the file system supports that.
bool WriteSparsePak(const std::string& path, uint64_t size);

// Pictures that declare side x side pixels and hold a few bytes of picture data.
std::vector<uint8_t> TruncatedPng(int side);   // a complete header, one short IDAT, IEND
std::vector<uint8_t> PngWithOverlongChunk();   // a small header, then a chunk claiming 1.9 GB
std::vector<uint8_t> TruncatedTga(int side);   // the 18-byte header alone
std::vector<uint8_t> TruncatedRleTga(int side);   // run-length header and two packets
std::vector<uint8_t> TruncatedJpeg(int side, bool progressive);   // cut after its first scan header
std::vector<uint8_t> OneRowGif(int side);      // side x side screen, the LZW data of one row
// A complete, valid picture: one white pixel at the top left of a screen x screen logical screen.
std::vector<uint8_t> OnePixelGif(int screen);

}  // namespace HostileInputs
