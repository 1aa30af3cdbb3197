// Diagnostics of the audio output: a tap that sees every buffer the mixer hands to the device,
// for measuring latency and levels (tools, not the game). It runs on the mixer's thread and
// must be quick. Only 16-bit outputs are tapped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace Orvane {

// frames: interleaved 16-bit samples, frameCount frames of channels samples at rate Hz.
using OutputTap = std::function<void(const int16_t* frames, size_t frameCount, int channels, int rate)>;

// Installs the tap (an empty function removes it). Takes effect while an output is open.
void SetOutputTap(OutputTap tap);

}  // namespace Orvane
