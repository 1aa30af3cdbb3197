// A decoded sound: interleaved PCM samples as the files hold them (8-bit unsigned or 16-bit
// signed little-endian, mono or stereo, any rate). The output converts it to its own format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Orvane {

struct PcmSound {
    int channels = 1;
    int sampleRate = 22050;
    int bitsPerSample = 16;
    std::vector<uint8_t> samples;
    std::string name;   // the file it was loaded from, for diagnostics and recording outputs

    int BlockAlign() const { return channels * bitsPerSample / 8; }
    size_t FrameCount() const {
        const int block = BlockAlign();
        return block > 0 ? samples.size() / static_cast<size_t>(block) : 0;
    }
    // The formats the reader accepts and the output converts.
    bool HasSupportedFormat() const {
        return (channels == 1 || channels == 2) && (bitsPerSample == 8 || bitsPerSample == 16) &&
               sampleRate >= kMinRate && sampleRate <= kMaxRate;
    }

    static constexpr int kMinRate = 100;
    static constexpr int kMaxRate = 384000;
};

}  // namespace Orvane
