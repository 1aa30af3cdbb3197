// Checksummed binary blocks: exact length, hex digits and checksum, or nothing.
#include "framework/ini/HexBlock.h"

#include <gtest/gtest.h>

#include <array>

using namespace Orvane;

TEST(IniHexBlock, EncodesUpperCaseWithAChecksumByte) {
    const std::array<uint8_t, 3> bytes{0x01, 0xAB, 0xFF};
    EXPECT_EQ(EncodeHexBlock(bytes.data(), bytes.size()), "01ABFFAB");   // (1 + 171 + 255) mod 256
    EXPECT_EQ(EncodeHexBlock(nullptr, 0), "00");
    std::array<uint8_t, 3> back{};
    ASSERT_TRUE(DecodeHexBlock("01abffab", back.data(), back.size()));
    EXPECT_EQ(back, bytes);
}

TEST(IniHexBlock, RejectsEveryDamagedBlockWithoutTouchingTheBuffer) {
    for (const char* text : {"01ABFF", "01ABFFAB00", "01ABFFA", "", "01ABFFAC", "11ABFFAB", "01ABFGAB",
                             "01AB FFAB", " 01ABFFAB", "01ABFF-B", "+1ABFFAB"}) {
        std::array<uint8_t, 3> out{7, 7, 7};
        EXPECT_FALSE(DecodeHexBlock(text, out.data(), out.size())) << text;
        EXPECT_EQ(out, (std::array<uint8_t, 3>{7, 7, 7})) << text;
    }
    uint8_t none = 0;
    EXPECT_TRUE(DecodeHexBlock("00", &none, 0));
    EXPECT_FALSE(DecodeHexBlock("01", &none, 0));
}
