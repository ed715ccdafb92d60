#include <gtest/gtest.h>

#include <math.h>

#include "kstdlib/kstdlib.h"

TEST(Float2Half, TruncatesIntoTheHalfRanges) {
    const struct {
        float value;
        uint16_t half;
    } cases[] = {
        {1.0f, 0x3C00},
        {-0.0f, 0x8000},
        {0.0f, 0x0000},
        {65536.0f, 0x7C00},
        {65520.0f, 0x7BFF},
        {65504.0f, 0x7BFF},
        {-2.0f, 0xC000},
        {0.5f, 0x3800},
        {1.0009765625f, 0x3C01},
        {1.00146484375f, 0x3C01}, // truncated, not rounded
        {ldexpf(1.0f, -24), 0x0001},
        {ldexpf(1.0f, -25), 0x0000},
        {ldexpf(1.0f, -14), 0x0400},
        {ldexpf(1.0f, -15), 0x0200},
        {ldexpf(3.0f, -16), 0x0300},
        {1e30f, 0x7C00},
        {-INFINITY, 0xFC00},
        {NAN, 0x7C01},
    };
    for (const auto& c : cases)
        EXPECT_EQ(K_Float2Half(c.value), c.half) << c.value;
}

TEST(Half2Float, ExpandsAllClasses) {
    const struct {
        uint16_t half;
        float value;
    } cases[] = {{0x3C00, 1.0f},     {0xC000, -2.0f},    {0x0001, ldexpf(1.0f, -24)},
                 {0x8000, -0.0f},    {0x7BFF, 65504.0f}, {0x03FF, ldexpf(1023.0f, -24)},
                 {0x7C00, INFINITY}, {0xFC00, -INFINITY}};
    for (const auto& c : cases)
        EXPECT_EQ(K_Half2Float(c.half), c.value) << c.half;
    EXPECT_TRUE(signbit(K_Half2Float(0x8000)));
    EXPECT_TRUE(isnan(K_Half2Float(0x7E00)));
}

TEST(HalfFloat, EveryFiniteHalfRoundTrips) {
    for (uint32_t h = 0; h < 0x10000; ++h) {
        if ((h & 0x7C00) == 0x7C00) continue;
        ASSERT_EQ(K_Float2Half(K_Half2Float(static_cast<uint16_t>(h))), h) << h;
    }
}
