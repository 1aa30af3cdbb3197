#include "framework/core/Random.h"

#include <gtest/gtest.h>

using Orvane::Random15;

TEST(Random15, KnownSequenceAndRange) {
    // The sequence from seed 1 is fixed: replays and tests depend on it.
    Random15 r(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int e : expected) EXPECT_EQ(r.Next(), e);

    Random15 wide(0xDEADBEEF);
    int lo = Random15::kMax, hi = 0;
    for (int i = 0; i < 100000; ++i) {
        int v = wide.Next();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, Random15::kMax);
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    EXPECT_LT(lo, 10);
    EXPECT_GT(hi, Random15::kMax - 10);
}

TEST(Random15, ReseedingRepeats) {
    Random15 a(77), b(12);
    b.Seed(77);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(a.Next(), b.Next());
}
