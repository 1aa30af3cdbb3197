// Ogg Vorbis decoding from memory into 16-bit PCM (libogg and libvorbis).
#pragma once

#include "framework/sound/PcmSound.h"

#include <cstdint>
#include <vector>

namespace Orvane {

// Decoded sounds are cut at this size: over three minutes of 44.1 kHz stereo, where the game's
// sound effects last a few seconds.
constexpr size_t kMaxDecodedSoundBytes = size_t{32} << 20;

// Decodes the first logical Vorbis stream of an Ogg file. False for anything that is not a
// readable mono or stereo Vorbis stream, or that decodes to nothing. A damaged stream keeps
// what decodes around the damage. Output is limited to maxOutputBytes; *cut (when given)
// tells whether the sound went on beyond it. The cost grows with the input and the output.
bool DecodeOggVorbis(const std::vector<uint8_t>& bytes, PcmSound* sound,
                     size_t maxOutputBytes = kMaxDecodedSoundBytes, bool* cut = nullptr);

}  // namespace Orvane
