#include "framework/pak/PakFormat.h"

namespace Orvane {

namespace {

constexpr uint64_t kFileTimeTicksPerSecond = 10'000'000;
constexpr uint64_t kSecondsFrom1601To1970 = 11'644'473'600;

// Bounds-checked little-endian reader over the decoded pack.
class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool U8(uint8_t& out) {
        if (size_ - pos_ < 1) return false;
        out = data_[pos_++];
        return true;
    }
    bool U32(uint32_t& out) {
        uint64_t v = 0;
        if (!Bytes(4, v)) return false;
        out = static_cast<uint32_t>(v);
        return true;
    }
    bool U64(uint64_t& out) { return Bytes(8, out); }
    bool Text(size_t n, std::string& out) {
        if (size_ - pos_ < n) return false;
        out.assign(reinterpret_cast<const char*>(data_ + pos_), n);
        pos_ += n;
        return true;
    }
    size_t Position() const { return pos_; }

private:
    bool Bytes(size_t n, uint64_t& out) {
        if (size_ - pos_ < n) return false;
        out = 0;
        for (size_t i = 0; i < n; ++i) out |= uint64_t{data_[pos_ + i]} << (8 * i);
        pos_ += n;
        return true;
    }

    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

}  // namespace

PakDirectory ParsePakDirectory(const uint8_t* data, size_t size) {
    PakDirectory dir;
    ByteReader in(data, size);
    uint32_t magic = 0, version = 0;
    if (!in.U32(magic) || !in.U32(version)) {
        dir.status = PakDirectory::Status::TooShort;
        return dir;
    }
    if (magic != kPakMagic) {
        dir.status = PakDirectory::Status::BadMagic;
        return dir;
    }
    if (version != kPakVersion) {
        dir.status = PakDirectory::Status::BadVersion;
        return dir;
    }

    // Offsets are relative to the data start until the end of the directory is known.
    std::vector<PakDirectoryEntry> listed;
    uint64_t running = 0;
    uint8_t flags = 0;
    bool ended = false;
    while (in.U8(flags)) {
        if (flags & kPakEndOfDirectory) {
            ended = true;
            break;
        }
        uint8_t nameLength = 0;
        PakDirectoryEntry entry;
        uint32_t entrySize = 0;
        if (!in.U8(nameLength) || !in.Text(nameLength, entry.name) || !in.U32(entrySize) ||
            !in.U64(entry.fileTime)) {
            break;
        }
        entry.offset = running;
        entry.size = entrySize;
        running += entrySize;
        listed.push_back(std::move(entry));
    }
    if (!ended) {
        dir.status = PakDirectory::Status::Truncated;
        return dir;
    }

    dir.status = PakDirectory::Status::Ok;
    dir.dataStart = in.Position();
    for (PakDirectoryEntry& entry : listed) {
        entry.offset += dir.dataStart;
        if (entry.name.empty()) {
            dir.problems.push_back("entry without a name");
        } else if (entry.offset > size || entry.size > size - entry.offset) {
            dir.problems.push_back("'" + entry.name + "' runs past the end of the pack");
        } else {
            dir.entries.push_back(std::move(entry));
        }
    }
    return dir;
}

void XorPakBytes(uint8_t* data, size_t size) {
    for (size_t i = 0; i < size; ++i) data[i] ^= kPakXorKey;
}

uint64_t PakTimeToUnix(uint64_t fileTime) {
    const uint64_t seconds = fileTime / kFileTimeTicksPerSecond;
    return seconds > kSecondsFrom1601To1970 ? seconds - kSecondsFrom1601To1970 : 0;
}

uint64_t UnixToPakTime(uint64_t unixSeconds) {
    return (unixSeconds + kSecondsFrom1601To1970) * kFileTimeTicksPerSecond;
}

const char* PakStatusText(PakDirectory::Status status) {
    switch (status) {
        case PakDirectory::Status::Ok: return "OK";
        case PakDirectory::Status::TooShort: return "too short for a header";
        case PakDirectory::Status::BadMagic: return "not a pack (wrong magic number)";
        case PakDirectory::Status::BadVersion: return "unsupported pack version";
        case PakDirectory::Status::Truncated: return "directory runs past the end of the file";
    }
    return "unknown";
}

}  // namespace Orvane
