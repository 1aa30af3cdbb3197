#include "framework/sound/WaveFile.h"

#include <algorithm>
#include <cstring>

namespace Orvane {

namespace {

constexpr size_t kChunkHeader = 8;
constexpr size_t kMaxDepNameLength = 255;

uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t ReadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint64_t ReadU64(const uint8_t* p) {
    return static_cast<uint64_t>(ReadU32(p)) | (static_cast<uint64_t>(ReadU32(p + 4)) << 32);
}

void PutU16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void PutU64(std::vector<uint8_t>& out, uint64_t v) {
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void PutTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

bool TagIs(const uint8_t* p, const char* tag) { return std::memcmp(p, tag, 4) == 0; }

}  // namespace

WaveReadResult ReadWave(const std::vector<uint8_t>& bytes, PcmSound* sound,
                        const SourceTimeQuery& checkSource) {
    const size_t size = bytes.size();
    if (size < 12 || !TagIs(bytes.data(), "RIFF") || !TagIs(bytes.data() + 8, "WAVE"))
        return WaveReadResult::NotWave;

    PcmSound format;   // defaults before any "fmt " chunk: mono, 22050 Hz, 16 bit
    uint8_t key = 0;
    // The RIFF size is not trusted (writers get it wrong); the chunks are walked to the end.
    size_t pos = 12;
    while (pos + kChunkHeader <= size) {
        const uint8_t* chunk = bytes.data() + pos;
        const size_t chunkSize = ReadU32(chunk + 4);
        const size_t bodyStart = pos + kChunkHeader;
        const size_t available = size - bodyStart;
        const uint8_t* body = chunk + kChunkHeader;

        if (TagIs(chunk, "fmt ")) {
            if (chunkSize < 16 || chunkSize > available) return WaveReadResult::Corrupt;
            if (ReadU16(body) != 1) return WaveReadResult::BadFormat;
            format.channels = ReadU16(body + 2);
            format.sampleRate = static_cast<int>(std::min<uint32_t>(ReadU32(body + 4), 0x7FFFFFFF));
            format.bitsPerSample = ReadU16(body + 14);
            if (!format.HasSupportedFormat()) return WaveReadResult::BadFormat;
        } else if (TagIs(chunk, "dep ")) {
            if (chunkSize < 10 || chunkSize > available) return WaveReadResult::Corrupt;
            const size_t nameLength = ReadU16(body);
            if (nameLength > kMaxDepNameLength || nameLength + 10 > chunkSize)
                return WaveReadResult::Corrupt;
            const std::string source(reinterpret_cast<const char*>(body + 2), nameLength);
            const uint64_t storedTime = ReadU64(body + 2 + nameLength);
            if (checkSource) {
                uint64_t currentTime = 0;
                if (!checkSource(source, &currentTime) || currentTime != storedTime)
                    return WaveReadResult::StaleSource;
            }
        } else if (TagIs(chunk, "xor ")) {
            if (chunkSize < 1 || chunkSize > available) return WaveReadResult::Corrupt;
            key = body[0];
        } else if (TagIs(chunk, "data")) {
            // A data chunk that claims more than the file holds means a cut file.
            if (chunkSize > available) return WaveReadResult::Corrupt;
            const size_t block = static_cast<size_t>(format.BlockAlign());
            const size_t usable = chunkSize - chunkSize % block;
            if (usable == 0) return WaveReadResult::Corrupt;
            format.samples.assign(body, body + usable);
            if (key != 0)
                for (uint8_t& b : format.samples) b ^= key;
            *sound = std::move(format);
            return WaveReadResult::Ok;
        } else if (chunkSize > available) {
            return WaveReadResult::Corrupt;
        }
        pos = bodyStart + chunkSize;
        // Ordinary RIFF writers pad odd chunks with a zero byte; the cache does not pad.
        if ((chunkSize & 1) && pos < size && bytes[pos] == 0) ++pos;
    }
    return WaveReadResult::Corrupt;   // no data chunk
}

const char* WaveReadResultName(WaveReadResult result) {
    switch (result) {
        case WaveReadResult::Ok: return "ok";
        case WaveReadResult::NotWave: return "not a wave file";
        case WaveReadResult::BadFormat: return "unsupported format";
        case WaveReadResult::Corrupt: return "damaged file";
        case WaveReadResult::StaleSource: return "source changed";
    }
    return "unknown";
}

std::vector<uint8_t> WriteCachedWave(const PcmSound& sound, const std::string& sourceName,
                                     uint64_t sourceFileTime, uint8_t key) {
    const std::string name = sourceName.substr(0, kMaxDepNameLength);
    const uint32_t dataSize = static_cast<uint32_t>(sound.samples.size());
    const uint16_t blockAlign = static_cast<uint16_t>(sound.BlockAlign());

    std::vector<uint8_t> out;
    out.reserve(64 + name.size() + sound.samples.size());
    PutTag(out, "RIFF");
    PutU32(out, dataSize + 36);
    PutTag(out, "WAVE");

    PutTag(out, "fmt ");
    PutU32(out, 16);
    PutU16(out, 1);
    PutU16(out, static_cast<uint16_t>(sound.channels));
    PutU32(out, static_cast<uint32_t>(sound.sampleRate));
    PutU32(out, static_cast<uint32_t>(blockAlign) * static_cast<uint32_t>(sound.sampleRate));
    PutU16(out, blockAlign);
    PutU16(out, static_cast<uint16_t>(sound.bitsPerSample));

    PutTag(out, "dep ");
    PutU32(out, static_cast<uint32_t>(name.size() + 10));
    PutU16(out, static_cast<uint16_t>(name.size()));
    out.insert(out.end(), name.begin(), name.end());
    PutU64(out, sourceFileTime);

    PutTag(out, "xor ");
    PutU32(out, 1);
    out.push_back(key);

    PutTag(out, "data");
    PutU32(out, dataSize);
    for (uint8_t b : sound.samples) out.push_back(static_cast<uint8_t>(b ^ key));
    return out;
}

}  // namespace Orvane
