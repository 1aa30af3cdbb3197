// The program's own random generator: 15-bit results (0..32767) from a linear congruential
// sequence, so that every platform draws the same numbers from the same seed.
#pragma once

#include <cstdint>

namespace Orvane {

class Random15 {
public:
    static constexpr int kMax = 32767;

    explicit Random15(uint32_t seed = 1) : state_(seed) {}
    void Seed(uint32_t seed) { state_ = seed; }
    // Next value in 0..32767.
    int Next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }

private:
    uint32_t state_;
};

// The process-wide generator that gameplay and effects draw from (seeded at start-up).
Random15& GlobalRandom();
// Shorthands on the process-wide generator.
void SeedRandom(uint32_t seed);
int Rand15();

}  // namespace Orvane
