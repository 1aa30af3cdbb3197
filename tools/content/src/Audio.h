// Sound files of the pipeline: Ogg Vorbis writing with a fixed stream serial (so the same
// samples give the same bytes), Ogg Vorbis and 16-bit WAV reading.
#pragma once

#include <string>
#include <vector>

namespace content {

struct Pcm {
  int channels = 1;
  int rate = 44100;
  std::vector<float> samples;  // interleaved, -1..1
  size_t Frames() const { return channels ? samples.size() / channels : 0; }
};

bool WriteOgg(const std::string& path, const Pcm& pcm, float quality, int serial);
bool ReadOgg(const std::string& path, Pcm& out);
bool ReadWav(const std::string& path, Pcm& out);

}  // namespace content
