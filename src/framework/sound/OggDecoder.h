// Ogg Vorbis decoding from memory into 16-bit PCM (vorbisfile).
#pragma once

#include "framework/sound/PcmSound.h"

#include <cstdint>
#include <vector>

namespace Orvane {

// Decodes a whole Ogg Vorbis file. False for anything that is not a readable mono or stereo
// Vorbis stream, or that decodes to nothing. A damaged stream keeps what decoded before the
// damage. Output is limited to maxOutputBytes (longer files are cut there).
bool DecodeOggVorbis(const std::vector<uint8_t>& bytes, PcmSound* sound,
                     size_t maxOutputBytes = size_t{256} << 20);

}  // namespace Orvane
