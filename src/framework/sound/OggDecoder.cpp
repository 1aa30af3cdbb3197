#include "framework/sound/OggDecoder.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace Orvane {

namespace {

// vorbisfile reads through these callbacks from a memory block.
struct MemoryStream {
    const std::vector<uint8_t>* bytes;
    size_t position;
};

size_t ReadMemory(void* out, size_t size, size_t count, void* source) {
    auto* stream = static_cast<MemoryStream*>(source);
    if (size == 0) return 0;
    const size_t left = stream->bytes->size() - stream->position;
    const size_t items = std::min(count, left / size);
    if (items > 0) std::memcpy(out, stream->bytes->data() + stream->position, items * size);
    stream->position += items * size;
    return items;
}

int SeekMemory(void* source, ogg_int64_t offset, int origin) {
    auto* stream = static_cast<MemoryStream*>(source);
    const auto size = static_cast<ogg_int64_t>(stream->bytes->size());
    ogg_int64_t base = 0;
    if (origin == SEEK_CUR) base = static_cast<ogg_int64_t>(stream->position);
    else if (origin == SEEK_END) base = size;
    else if (origin != SEEK_SET) return -1;
    const ogg_int64_t target = base + offset;
    if (target < 0 || target > size) return -1;
    stream->position = static_cast<size_t>(target);
    return 0;
}

long TellMemory(void* source) { return static_cast<long>(static_cast<MemoryStream*>(source)->position); }

class VorbisFile {
public:
    VorbisFile() = default;
    ~VorbisFile() { if (open_) ov_clear(&file_); }
    VorbisFile(const VorbisFile&) = delete;
    VorbisFile& operator=(const VorbisFile&) = delete;

    bool Open(MemoryStream* stream) {
        const ov_callbacks callbacks = {ReadMemory, SeekMemory, nullptr, TellMemory};
        open_ = ov_open_callbacks(stream, &file_, nullptr, 0, callbacks) == 0;
        return open_;
    }
    OggVorbis_File* Get() { return &file_; }

private:
    OggVorbis_File file_{};
    bool open_ = false;
};

}  // namespace

bool DecodeOggVorbis(const std::vector<uint8_t>& bytes, PcmSound* sound, size_t maxOutputBytes) {
    MemoryStream stream{&bytes, 0};
    VorbisFile file;
    if (!file.Open(&stream)) return false;

    const vorbis_info* info = ov_info(file.Get(), -1);
    if (info == nullptr || info->channels < 1 || info->channels > 2 ||
        info->rate < PcmSound::kMinRate || info->rate > PcmSound::kMaxRate)
        return false;

    PcmSound decoded;
    decoded.channels = info->channels;
    decoded.sampleRate = static_cast<int>(info->rate);
    decoded.bitsPerSample = 16;
    const size_t block = static_cast<size_t>(decoded.BlockAlign());

    char buffer[16384];
    int section = 0;
    int holes = 0;
    while (decoded.samples.size() < maxOutputBytes) {
        const long got = ov_read(file.Get(), buffer, sizeof buffer, /*bigendian=*/0,
                                 /*word=*/2, /*signed=*/1, &section);
        if (got == 0) break;                       // end of stream
        if (got == OV_HOLE && ++holes < 64) continue;   // a gap in the data: go on after it
        if (got < 0) break;                        // damaged beyond repair: keep what we have
        // Chained streams may change format; only the first format is taken.
        const vorbis_info* now = ov_info(file.Get(), section);
        if (now == nullptr || now->channels != decoded.channels || now->rate != info->rate) break;
        const size_t take = std::min(static_cast<size_t>(got), maxOutputBytes - decoded.samples.size());
        decoded.samples.insert(decoded.samples.end(), buffer, buffer + take);
    }
    decoded.samples.resize(decoded.samples.size() - decoded.samples.size() % block);
    if (decoded.samples.empty()) return false;
    *sound = std::move(decoded);
    return true;
}

}  // namespace Orvane
