#include <gtest/gtest.h>

#include <limits.h>
#include <math.h>

#include "kstdlib/kstdlib.h"

TEST(PowerOf2, IsBestAndNext) {
    const struct {
        int n;
        bool power;
    } cases[] = {{0, false},      {1, true},   {2, true},        {3, false},      {1024, true},
                 {1 << 30, true}, {-4, false}, {INT_MIN, false}, {INT_MAX, false}};
    for (const auto& c : cases)
        EXPECT_EQ(K_IsPowerOf2(c.n), c.power) << c.n;

    EXPECT_EQ(K_BestPowerOf2(5, 100), 4u);
    EXPECT_EQ(K_BestPowerOf2(256, 512), 256u);
    EXPECT_EQ(K_BestPowerOf2(0, 9), 1u);
    EXPECT_EQ(K_BestPowerOf2(1, 1), 1u);
    EXPECT_EQ(K_BestPowerOf2(UINT_MAX, UINT_MAX), 0x80000000u);

    EXPECT_EQ(K_NextPowerOf2(5), 8u);
    EXPECT_EQ(K_NextPowerOf2(8), 8u);
    EXPECT_EQ(K_NextPowerOf2(1), 1u);
    EXPECT_EQ(K_NextPowerOf2(0), 0u);
    EXPECT_EQ(K_NextPowerOf2(0x80000000u), 0x80000000u);
}

TEST(PackBytes, ClampsEachValueToAByte) {
    EXPECT_EQ(K_PackBytes4(300, -5, 128, 255), 0xFF8000FFu);
    EXPECT_EQ(K_PackBytes4(1, 2, 3, 4), 0x04030201u);
    EXPECT_EQ(K_PackBytes2(0x12, 0x34), 0x3412);
    EXPECT_EQ(K_PackBytes2(-1, 999), 0xFF00);
}

TEST(BBox, EncodesClampedFieldsAndDecodesThem) {
    const float mins[3] = {-600.0f, 0.0f, -16.0f};
    const float maxs[3] = {16.0f, 16.0f, 3000.0f};
    int32_t word1 = 0, word2 = 0;
    K_EncodeBBox(mins, maxs, &word1, &word2);
    EXPECT_EQ((static_cast<uint32_t>(word1) >> 12) & 0x3FF, 0u); // mins.x clamped
    EXPECT_EQ(static_cast<uint32_t>(word2) & 0xFFF, 4095u);      // maxs.z clamped
    float outMins[3], outMaxs[3];
    K_DecodeBBox(word1, word2, outMins, outMaxs);
    EXPECT_EQ(outMins[0], -511.0f);
    EXPECT_EQ(outMins[1], 0.0f);
    EXPECT_EQ(outMins[2], -16.0f);
    EXPECT_EQ(outMaxs[0], 16.0f);
    EXPECT_EQ(outMaxs[1], 16.0f);
    EXPECT_EQ(outMaxs[2], 2048.0f);
    float half[3];
    K_DecodeBBoxCenter(word1, word2, half);
    EXPECT_EQ(half[0], 263.0f); // (16 + 511) >> 1
    EXPECT_EQ(half[1], 8.0f);
    EXPECT_EQ(half[2], 1032.0f);
}

TEST(BBox, TruncatesTowardZeroAndToleratesOddInput) {
    const float mins[3] = {-1.9f, NAN, -1e30f};
    const float maxs[3] = {1.9f, INFINITY, 2.5f};
    int32_t word1 = 0, word2 = 0;
    K_EncodeBBox(mins, maxs, &word1, nullptr);
    K_EncodeBBox(mins, maxs, nullptr, &word2);
    float outMins[3], outMaxs[3];
    K_DecodeBBox(word1, word2, outMins, outMaxs);
    EXPECT_EQ(outMins[0], -1.0f);
    EXPECT_EQ(outMaxs[0], 1.0f);
    EXPECT_EQ(outMins[1], -511.0f);
    EXPECT_EQ(outMaxs[1], 512.0f);
    EXPECT_EQ(outMins[2], -2047.0f);
    EXPECT_EQ(outMaxs[2], 2.0f);
    K_DecodeBBox(word1, word2, nullptr, nullptr);
    K_DecodeBBoxCenter(word1, word2, nullptr);
}

TEST(Rint, RoundsHalvesAwayFromZero) {
    const struct {
        float in, out;
    } cases[] = {{2.5f, 3.0f}, {-2.5f, -3.0f}, {2.4f, 2.0f}, {-2.4f, -2.0f}, {0.0f, 0.0f}, {NAN, 0.0f}};
    for (const auto& c : cases)
        EXPECT_EQ(K_Rint(c.in), c.out) << c.in;
    float v[3] = {0.5f, -0.5f, 7.49f};
    K_SnapVector(v);
    EXPECT_EQ(v[0], 1.0f);
    EXPECT_EQ(v[1], -1.0f);
    EXPECT_EQ(v[2], 7.0f);
}

TEST(Sort, SortsWithTheGivenComparison) {
    int values[] = {5, -1, 3, 3, 0};
    K_Sort(values, 5, sizeof(int), [](const void* a, const void* b) {
        return *static_cast<const int*>(a) - *static_cast<const int*>(b);
    });
    EXPECT_EQ(values[0], -1);
    EXPECT_EQ(values[4], 5);
    K_Sort(values, 1, sizeof(int), nullptr);
    K_Sort(nullptr, 5, sizeof(int), nullptr);
}
