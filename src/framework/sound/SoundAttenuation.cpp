// Conversions between the program's volume scale and the output's gains. Volumes and pans are
// kept in the device units of the original output (hundredths of a decibel), so the figures
// that sound designers tuned against stay meaningful.
#include "framework/sound/SoundManager.h"

#include <algorithm>
#include <cmath>

namespace Orvane {

namespace {
constexpr int kSilence = -10000;
constexpr int kAudibleFloor = -2000;
}  // namespace

int VolumeToAttenuation(double volume) {
    // log10 of a non-positive argument would be -inf or NaN: clamp below at 0 (silence).
    if (!(volume > 0.0)) return kSilence;
    // Loud volumes (above 1) give positive values, which the output cannot amplify.
    const double value = std::min((std::log10(volume * 9.0 + 1.0) - 1.0) * 2333.0, 0.0);
    // Whole hundredths of a decibel first, then the floor: -2000.5 is -2000, still audible.
    const int attenuation = static_cast<int>(value);
    return attenuation < kAudibleFloor ? kSilence : attenuation;
}

double AttenuationToGain(int attenuation) {
    if (attenuation <= kSilence) return 0.0;
    if (attenuation >= 0) return 1.0;
    return std::pow(10.0, attenuation / 2000.0);
}

void PanToGains(int pan, double* left, double* right) {
    pan = std::clamp(pan, kSilence, -kSilence);
    *left = pan > 0 ? AttenuationToGain(-pan) : 1.0;
    *right = pan < 0 ? AttenuationToGain(pan) : 1.0;
}

}  // namespace Orvane
