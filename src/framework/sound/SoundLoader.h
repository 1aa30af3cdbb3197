// Finding and decoding a sound file by its name without extension, in the order the sound
// manager tries them: the decoded-sound cache "cached\<name>.wav" (for relative names), then
// "<name>.wav", then "<name>.ogg". A sound decoded from ".ogg" is written to the cache so the
// next start loads plain PCM. Every read goes through the file layer.
#pragma once

#include "framework/sound/PcmSound.h"

#include <cstdint>
#include <string>

namespace Orvane {

enum class SoundOrigin { None, Cache, Wave, OggVorbis };

// The cache file name for a sound name, or "" when the name is not cached (2 characters or
// fewer, or absolute: starting with '\' or '/', or a drive letter).
std::string SoundCacheName(const std::string& name);

// The last-write time of a source file as a 64-bit file time (100 ns units since 1601);
// false when it does not exist.
bool SourceFileTime(const std::string& fileName, uint64_t* fileTime);

// Loads name (without extension). Returns where the sound came from, None when no file loads.
SoundOrigin LoadSoundFile(const std::string& name, PcmSound* sound);

}  // namespace Orvane
