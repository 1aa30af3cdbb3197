// Ogg Vorbis through libogg and libvorbis directly: the file is fed to the page reader a block
// at a time, the first logical stream's three headers are checked, and its audio packets are
// decoded until the stream ends, the data ends or the output reaches its limit. Every state is
// cleared on every path, whatever the data holds.
#include "framework/sound/OggDecoder.h"

#include <ogg/ogg.h>
#include <vorbis/codec.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Orvane {

namespace {

constexpr size_t kFeedBytes = 16 * 1024;
constexpr int kMaxHoles = 64;   // gaps in the data after which the rest is given up

// The decoder's libogg and libvorbis states, each cleared only if it was set up.
class VorbisStream {
public:
    VorbisStream() {
        ogg_sync_init(&sync_);
        vorbis_info_init(&info_);
        vorbis_comment_init(&comment_);
    }
    ~VorbisStream() {
        if (blockReady_) vorbis_block_clear(&block_);
        if (dspReady_) vorbis_dsp_clear(&dsp_);
        if (streamReady_) ogg_stream_clear(&stream_);
        vorbis_comment_clear(&comment_);
        vorbis_info_clear(&info_);
        ogg_sync_clear(&sync_);
    }
    VorbisStream(const VorbisStream&) = delete;
    VorbisStream& operator=(const VorbisStream&) = delete;

    // The next packet of the first logical stream: 1, or 0 when the data is used up, -1 for a
    // gap in the data (the caller may go on).
    int NextPacket(const std::vector<uint8_t>& bytes, ogg_packet& packet) {
        for (;;) {
            if (streamReady_) {
                const int got = ogg_stream_packetout(&stream_, &packet);
                if (got != 0) return got;
                if (ended_) return 0;
            }
            ogg_page page;
            const int paged = ogg_sync_pageout(&sync_, &page);
            if (paged < 0) continue;   // bytes skipped to the next page
            if (paged == 0) {
                if (fed_ >= bytes.size()) return 0;
                const size_t n = std::min(kFeedBytes, bytes.size() - fed_);
                char* buffer = ogg_sync_buffer(&sync_, static_cast<long>(n));
                if (!buffer) return 0;
                std::memcpy(buffer, bytes.data() + fed_, n);
                ogg_sync_wrote(&sync_, static_cast<long>(n));
                fed_ += n;
                continue;
            }
            if (!streamReady_) {
                if (!ogg_page_bos(&page)) continue;   // data before the first stream starts
                ogg_stream_init(&stream_, ogg_page_serialno(&page));
                streamReady_ = true;
            }
            if (ogg_page_serialno(&page) != stream_.serialno) continue;   // another stream
            ogg_stream_pagein(&stream_, &page);
            if (ogg_page_eos(&page)) ended_ = true;
        }
    }

    // Reads the identification, comment and setup headers; false when any is missing or bad.
    bool ReadHeaders(const std::vector<uint8_t>& bytes) {
        for (int header = 0; header < 3; ++header) {
            ogg_packet packet;
            if (NextPacket(bytes, packet) != 1) return false;
            if (vorbis_synthesis_headerin(&info_, &comment_, &packet) != 0) return false;
        }
        if (vorbis_synthesis_init(&dsp_, &info_) != 0) return false;
        dspReady_ = true;
        if (vorbis_block_init(&dsp_, &block_) != 0) return false;
        blockReady_ = true;
        return true;
    }

    const vorbis_info& Info() const { return info_; }
    vorbis_dsp_state& Dsp() { return dsp_; }
    vorbis_block& Block() { return block_; }

private:
    ogg_sync_state sync_{};
    ogg_stream_state stream_{};
    vorbis_info info_{};
    vorbis_comment comment_{};
    vorbis_dsp_state dsp_{};
    vorbis_block block_{};
    bool streamReady_ = false, dspReady_ = false, blockReady_ = false, ended_ = false;
    size_t fed_ = 0;
};

// Appends decoded frames as 16-bit little-endian samples, channels interleaved, rounded to the
// nearest value and clipped; stops at the output limit. Returns the frames taken.
int TakeFrames(float** pcm, int frames, int channels, size_t maxOutputBytes, std::vector<uint8_t>& out) {
    const size_t frameBytes = size_t(channels) * 2;
    const size_t room = (maxOutputBytes - std::min(maxOutputBytes, out.size())) / frameBytes;
    const int take = static_cast<int>(std::min<size_t>(size_t(frames), room));
    for (int i = 0; i < take; ++i) {
        for (int c = 0; c < channels; ++c) {
            const long v = std::clamp(std::lrint(pcm[c][i] * 32768.0f), -32768L, 32767L);
            out.push_back(static_cast<uint8_t>(v & 0xFF));
            out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
        }
    }
    return take;
}

}  // namespace

bool DecodeOggVorbis(const std::vector<uint8_t>& bytes, PcmSound* sound, size_t maxOutputBytes, bool* cut) {
    if (cut) *cut = false;
    VorbisStream stream;
    if (!stream.ReadHeaders(bytes)) return false;
    const vorbis_info& info = stream.Info();
    if (info.channels < 1 || info.channels > 2 || info.rate < PcmSound::kMinRate || info.rate > PcmSound::kMaxRate)
        return false;

    PcmSound decoded;
    decoded.channels = info.channels;
    decoded.sampleRate = static_cast<int>(info.rate);
    decoded.bitsPerSample = 16;
    int holes = 0;
    bool full = false;
    ogg_packet packet;
    while (!full) {
        const int got = stream.NextPacket(bytes, packet);
        if (got == 0) break;
        if (got < 0) {
            if (++holes >= kMaxHoles) break;   // damaged beyond repair: keep what decoded
            continue;
        }
        // A packet that is not audio, or damaged, is passed over.
        if (vorbis_synthesis(&stream.Block(), &packet) != 0) continue;
        vorbis_synthesis_blockin(&stream.Dsp(), &stream.Block());
        float** pcm = nullptr;
        int frames;
        while ((frames = vorbis_synthesis_pcmout(&stream.Dsp(), &pcm)) > 0) {
            const int taken = TakeFrames(pcm, frames, decoded.channels, maxOutputBytes, decoded.samples);
            vorbis_synthesis_read(&stream.Dsp(), taken);
            if (taken < frames) {
                full = true;
                break;
            }
        }
    }
    if (decoded.samples.empty()) return false;
    if (cut) *cut = full;
    *sound = std::move(decoded);
    return true;
}

}  // namespace Orvane
