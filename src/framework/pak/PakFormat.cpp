#include "framework/pak/PakFormat.h"

#include <algorithm>
#include <cstring>

namespace Orvane {

namespace {

constexpr uint64_t kFileTimeTicksPerSecond = 10'000'000;
constexpr uint64_t kSecondsFrom1601To1970 = 11'644'473'600;

// Bounds-checked little-endian reader that walks the decoded pack from its start, a block at
// a time, so a directory costs a block of memory however long the pack is.
class ByteReader {
public:
    ByteReader(const PakByteReader& read, uint64_t size) : read_(read), size_(size) {}

    bool U8(uint8_t& out) { return Take(&out, 1); }
    bool U32(uint32_t& out) {
        uint64_t v = 0;
        if (!Number(4, v)) return false;
        out = static_cast<uint32_t>(v);
        return true;
    }
    bool U64(uint64_t& out) { return Number(8, out); }
    bool Text(size_t n, std::string& out) {
        out.resize(n);
        return Take(reinterpret_cast<uint8_t*>(out.data()), n);
    }
    uint64_t Position() const { return pos_; }

private:
    static constexpr size_t kBlock = 64 * 1024;

    bool Number(size_t n, uint64_t& out) {
        uint8_t bytes[8];
        if (!Take(bytes, n)) return false;
        out = 0;
        for (size_t i = 0; i < n; ++i) out |= uint64_t{bytes[i]} << (8 * i);
        return true;
    }
    bool Take(uint8_t* out, size_t n) {
        if (size_ - pos_ < n) return false;
        for (size_t done = 0; done < n;) {
            if (next_ == block_.size() && !Refill()) return false;
            const size_t k = std::min(n - done, block_.size() - next_);
            std::memcpy(out + done, block_.data() + next_, k);
            next_ += k;
            done += k;
        }
        pos_ += n;
        return true;
    }
    bool Refill() {
        const uint64_t at = pos_ + (block_.size() - next_);
        const size_t want = static_cast<size_t>(std::min<uint64_t>(kBlock, size_ - at));
        block_.resize(want);
        const size_t got = want == 0 ? 0 : read_(at, block_.data(), want);
        block_.resize(got);
        next_ = 0;
        return got > 0;
    }

    const PakByteReader& read_;
    uint64_t size_;
    uint64_t pos_ = 0;
    std::vector<uint8_t> block_;
    size_t next_ = 0;
};

void AddProblem(PakDirectory& dir, std::string problem) {
    ++dir.droppedEntries;
    if (dir.problems.size() < kPakMaxProblemLines) dir.problems.push_back(std::move(problem));
}

}  // namespace

PakDirectory ParsePakDirectory(const PakByteReader& read, uint64_t size) {
    PakDirectory dir;
    ByteReader in(read, size);
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
        if (listed.size() == kPakMaxEntries) {
            dir.status = PakDirectory::Status::TooManyEntries;
            return dir;
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
            AddProblem(dir, "entry without a name");
        } else if (entry.offset > size || entry.size > size - entry.offset) {
            AddProblem(dir, "'" + entry.name + "' runs past the end of the pack");
        } else {
            dir.entries.push_back(std::move(entry));
        }
    }
    return dir;
}

PakDirectory ParsePakDirectory(const uint8_t* data, size_t size) {
    const PakByteReader read = [data, size](uint64_t offset, uint8_t* out, size_t n) {
        const size_t k = offset >= size ? 0 : static_cast<size_t>(std::min<uint64_t>(n, size - offset));
        if (k > 0) std::memcpy(out, data + offset, k);
        return k;
    };
    return ParsePakDirectory(read, size);
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
        case PakDirectory::Status::TooManyEntries: return "directory lists too many files";
    }
    return "unknown";
}

}  // namespace Orvane
