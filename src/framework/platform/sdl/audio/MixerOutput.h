// The one opened SDL_mixer output, shared by the sound channels and the music stream and
// closed when its last user lets go. 44100 Hz, 16-bit stereo, 32 channels; small buffers
// (512 frames, about 12 ms) so that a sound starts within a frame or two of being asked.
#pragma once

#include <cstdint>

namespace Orvane {

struct MixerFormat {
    int rate = 0;
    uint16_t format = 0;   // SDL audio format
    int channels = 0;
};

// True when the output is open (opened now or already); each true needs one ReleaseMixerOutput.
bool AcquireMixerOutput(MixerFormat* format);
void ReleaseMixerOutput();

}  // namespace Orvane
