// Sound files made on the spot for the audio tests: sine tones as PCM, plain wave files and
// Ogg Vorbis files encoded with libvorbisenc.
#pragma once

#include "framework/sound/PcmSound.h"

#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace SoundTestFiles {

inline Orvane::PcmSound Sine(int frames, int rate = 22050, int channels = 1, int bits = 16,
                             double hz = 440.0, double amplitude = 0.5) {
    Orvane::PcmSound pcm;
    pcm.channels = channels;
    pcm.sampleRate = rate;
    pcm.bitsPerSample = bits;
    for (int i = 0; i < frames; ++i) {
        const double s = amplitude * std::sin(2.0 * M_PI * hz * i / rate);
        for (int c = 0; c < channels; ++c) {
            if (bits == 8) {
                pcm.samples.push_back(static_cast<uint8_t>(128 + std::lround(s * 127)));
            } else {
                const auto v = static_cast<int16_t>(std::lround(s * 32767));
                pcm.samples.push_back(static_cast<uint8_t>(v & 0xFF));
                pcm.samples.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
            }
        }
    }
    return pcm;
}

inline void PutU16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
inline void PutTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

// An ordinary PCM wave file: RIFF, "fmt " (16 bytes), optional extra chunks, "data".
inline std::vector<uint8_t> PlainWave(const Orvane::PcmSound& pcm, uint16_t formatTag = 1) {
    std::vector<uint8_t> out;
    PutTag(out, "RIFF");
    PutU32(out, static_cast<uint32_t>(36 + pcm.samples.size()));
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutU32(out, 16);
    PutU16(out, formatTag);
    PutU16(out, static_cast<uint32_t>(pcm.channels));
    PutU32(out, static_cast<uint32_t>(pcm.sampleRate));
    PutU32(out, static_cast<uint32_t>(pcm.sampleRate * pcm.BlockAlign()));
    PutU16(out, static_cast<uint32_t>(pcm.BlockAlign()));
    PutU16(out, static_cast<uint32_t>(pcm.bitsPerSample));
    PutTag(out, "data");
    PutU32(out, static_cast<uint32_t>(pcm.samples.size()));
    out.insert(out.end(), pcm.samples.begin(), pcm.samples.end());
    return out;
}

// Ogg Vorbis (VBR quality 0.4) of a 16-bit PCM sound.
inline std::vector<uint8_t> EncodeOgg(const Orvane::PcmSound& pcm) {
    std::vector<uint8_t> out;
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, pcm.channels, pcm.sampleRate, 0.4f) != 0) std::abort();
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1234);

    ogg_page page;
    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    auto takePage = [&out](const ogg_page& p) {
        out.insert(out.end(), p.header, p.header + p.header_len);
        out.insert(out.end(), p.body, p.body + p.body_len);
    };
    while (ogg_stream_flush(&stream, &page) != 0) takePage(page);

    const size_t frames = pcm.FrameCount();
    size_t done = 0;
    bool finished = false;
    while (!finished) {
        const size_t chunk = std::min<size_t>(1024, frames - done);
        if (chunk == 0) {
            vorbis_analysis_wrote(&dsp, 0);
        } else {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(chunk));
            for (size_t i = 0; i < chunk; ++i)
                for (int c = 0; c < pcm.channels; ++c) {
                    const size_t at = ((done + i) * pcm.channels + c) * 2;
                    const auto v = static_cast<int16_t>(pcm.samples[at] | (pcm.samples[at + 1] << 8));
                    buffer[c][i] = v / 32768.0f;
                }
            vorbis_analysis_wrote(&dsp, static_cast<int>(chunk));
            done += chunk;
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    takePage(page);
                    if (ogg_page_eos(&page)) finished = true;
                }
            }
        }
        if (chunk == 0) finished = true;
    }
    while (ogg_stream_flush(&stream, &page) != 0) takePage(page);
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

}  // namespace SoundTestFiles
