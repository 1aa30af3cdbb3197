#include "game/GameRandom.h"

#include "framework/core/Random.h"

#include <cmath>

int RandomInt(int lo, int hi) {
    if (hi < lo) return lo;
    const double span = static_cast<double>(hi) + 1.0;
    for (;;) {
        const double r = static_cast<double>(Orvane::Rand15()) / Orvane::Random15::kMax;
        const double v = std::floor(r * span) + lo;
        if (v >= lo && v <= hi) return static_cast<int>(v);
    }
}

float RandomFraction() {
    return static_cast<float>(Orvane::Rand15()) / static_cast<float>(Orvane::Random15::kMax);
}
