#include "framework/core/Random.h"

namespace Orvane {

Random15& GlobalRandom() {
    static Random15 generator;
    return generator;
}

void SeedRandom(uint32_t seed) { GlobalRandom().Seed(seed); }

int Rand15() { return GlobalRandom().Next(); }

}  // namespace Orvane
