// Start-up, CPU information, the function table and the table/fast approximations.
#include <bit>
#include <cmath>
#include <cstdint>

#include <gtest/gtest.h>

#include "kstdlib/kmath.h"

namespace {

constexpr float kPi = 3.14159265358979323846f;

uint32_t Bits(float f) {
    return std::bit_cast<uint32_t>(f);
}

// Taken while the test program starts, before any test could call K_MathLib_Initialize.
struct BeforeInitialize {
    float sqrt4 = K_Sqrt(4.0f);
    float rsqrtFast4 = K_RSqrtFast(4.0f);
    float tableSqrt4 = K_TableSqrt(4.0f);
    float tableSinQuarter = K_TableSin(kPi / 2);
    float normalizedLength;
    float normalized[3] = {3.0f, 0.0f, 4.0f};
    float sine = 0.0f, cosine = 0.0f;
    BeforeInitialize() {
        normalizedLength = K_VectorNormalize(normalized);
        K_SinCos(0.0f, &sine, &cosine);
    }
};
const BeforeInitialize s_beforeInitialize;

} // namespace

TEST(MathLibStartup, ForwardingExportsAndTablesWorkBeforeInitialize) {
    EXPECT_EQ(s_beforeInitialize.sqrt4, 2.0f);
    EXPECT_EQ(Bits(s_beforeInitialize.rsqrtFast4), 0x3EFF910Fu);
    EXPECT_EQ(s_beforeInitialize.tableSqrt4, 2.0f);
    EXPECT_EQ(s_beforeInitialize.tableSinQuarter, 1.0f);
    EXPECT_EQ(s_beforeInitialize.normalizedLength, 5.0f);
    EXPECT_FLOAT_EQ(s_beforeInitialize.normalized[0], 0.6f);
    EXPECT_FLOAT_EQ(s_beforeInitialize.normalized[2], 0.8f);
    EXPECT_EQ(s_beforeInitialize.sine, 0.0f);
    EXPECT_EQ(s_beforeInitialize.cosine, 1.0f);
}

TEST(MathLibStartup, FeatureSwitchesFollowFlagsAndCpu) {
    K_MathLib_Initialize(0);
    for (int request : {1, 2, 4, 8})
        EXPECT_FALSE(K_MathLib_FeatureEnabled(request)) << request;

    K_MathLib_Initialize(K_MATHLIB_SSE | K_MATHLIB_SSE2 | K_MATHLIB_SSE3 | K_MATHLIB_SSE41);
    const uint32_t features = K_GetCPUInformation()->features;
    EXPECT_EQ(K_MathLib_FeatureEnabled(K_MATHLIB_SSE), (features & K_CPU_SSE) != 0);
    EXPECT_EQ(K_MathLib_FeatureEnabled(K_MATHLIB_SSE2), (features & K_CPU_SSE2) != 0);
    EXPECT_EQ(K_MathLib_FeatureEnabled(K_MATHLIB_SSE3), (features & K_CPU_SSE3) != 0);
    EXPECT_EQ(K_MathLib_FeatureEnabled(K_MATHLIB_SSE41), (features & K_CPU_SSE41) != 0);
    for (int other : {0, 3, 16, -1})
        EXPECT_FALSE(K_MathLib_FeatureEnabled(other)) << other;

    K_MathLib_Initialize(0);
    EXPECT_FALSE(K_MathLib_FeatureEnabled(K_MATHLIB_SSE));
}

TEST(MathLibTables, SineLookupsWrap) {
    EXPECT_EQ(K_TableSinLookup(1280), K_TableSinLookup(256));
    EXPECT_EQ(K_TableSinLookup(256), 1.0f);
    EXPECT_EQ(K_TableSinLookup(0), 0.0f);
    EXPECT_EQ(K_TableSinLookup(768), -1.0f);
    EXPECT_EQ(K_TableCosLookup(0), 1.0f);
    EXPECT_EQ(K_TableCosLookup(512), -1.0f);
    EXPECT_EQ(K_TableCosLookup(0xFFFFFFFFu), K_TableSinLookup(255));
}

TEST(MathLibTables, TableSineAndCosineGoldenValues) {
    struct Case {
        float angle;
        uint32_t sinBits;
        float cosine;
    };
    // Expected entries: index 163, 861, 16, 937 of the 1024-step table.
    const Case cases[] = {
        {1.0f, 0x3F577026u, 0.5401714444160461f},
        {-1.0f, 0xBF577026u, 0.5401714444160461f},
        {0.1f, 0x3DC8BD36u, 0.9951847195625305f},
        {100.0f, 0xBF0242B1u, 0.8608669638633728f},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Bits(K_TableSin(c.angle)), c.sinBits) << c.angle;
        EXPECT_EQ(K_TableCos(c.angle), c.cosine) << c.angle;
    }
    EXPECT_EQ(K_TableSin(-kPi / 2), -1.0f);
    EXPECT_EQ(K_TableCos(0.0f), 1.0f);
    EXPECT_EQ(K_TableCos(kPi), -1.0f);
}

TEST(MathLibTables, TableSineStaysWithinOneStep) {
    const float step = 2.0f * kPi / 1024.0f;
    for (float a = -50.0f; a < 50.0f; a += 0.0371f) {
        ASSERT_NEAR(K_TableSin(a), std::sin(a), step) << a;
        ASSERT_NEAR(K_TableCos(a), std::cos(a), step) << a;
    }
}

TEST(MathLibTables, TableSqrtGoldenValues) {
    struct Case {
        float x;
        uint32_t bits;
    };
    const Case cases[] = {
        {0.0f, 0x00000000u},       {4.0f, 0x40000000u},   {0.25f, 0x3F000000u},
        {2.0f, 0x3FB504F3u},       {3.0f, 0x3FDDB3D7u},   {10.0f, 0x404A62C2u},
        {12345.678f, 0x42DE387Au}, {1e-10f, 0x3727C54Bu}, {1.0f, 0x3F800000u},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Bits(K_TableSqrt(c.x)), c.bits) << c.x;
    EXPECT_EQ(K_TableSqrt(4.0f), 2.0f);
}

TEST(MathLibTables, TableSqrtRelativeErrorIsSmall) {
    for (float x = 1e-20f; x < 1e20f; x *= 1.37f)
        ASSERT_NEAR(K_TableSqrt(x) / std::sqrt(x), 1.0f, 1.0f / 32768) << x;
}

TEST(MathLibFunctions, FastSquareRootsMatchTheirBitRecipes) {
    struct Case {
        float x;
        uint32_t rsqrtBits, sqrtBits;
    };
    const Case cases[] = {
        {4.0f, 0x3EFF910Fu, 0x3FFFFFB7u},  {2.0f, 0x3F34F95Eu, 0x3FB504F1u},
        {0.5f, 0x3FB4F95Eu, 0x3F3504F1u},  {100.0f, 0x3DCC7B79u, 0x411FFFDAu},
        {1e-6f, 0x4479CD78u, 0x3A831267u},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Bits(K_RSqrtFast(c.x)), c.rsqrtBits) << c.x;
        EXPECT_EQ(Bits(K_SqrtFast(c.x)), c.sqrtBits) << c.x;
    }
}

TEST(MathLibFunctions, PlainScalarRoutines) {
    EXPECT_EQ(K_Sqrt(2.0f), std::sqrt(2.0f));
    EXPECT_EQ(K_RSqrt(4.0f), 0.5f);
    EXPECT_EQ(K_Cos(0.0f), 1.0f);

    float s = 0, c = 0;
    EXPECT_EQ(K_SinCos(1.0f, &s, &c), std::cos(1.0f));
    EXPECT_EQ(s, std::sin(1.0f));
    EXPECT_EQ(c, std::cos(1.0f));
    s = c = 0;
    EXPECT_EQ(K_SinCosPrecise(-2.0f, &s, &c), std::cos(-2.0f));
    EXPECT_EQ(s, std::sin(-2.0f));
}

TEST(MathLibFunctions, InvRSquaredIsOneInsideTheUnitSphere) {
    const float half[3] = {0.5f, 0, 0}, two[3] = {2, 0, 0}, one[3] = {0, 1, 0}, zero[3] = {0, 0, 0};
    EXPECT_EQ(K_InvRSquared(half), 1.0f);
    EXPECT_EQ(K_InvRSquared(zero), 1.0f);
    EXPECT_EQ(K_InvRSquared(one), 1.0f);
    EXPECT_EQ(K_InvRSquared(two), 0.25f);
}

TEST(MathLibFunctions, AcosPassesNaNAndKeepsRange) {
    EXPECT_TRUE(std::isnan(K_Acos(2.0f)));
    EXPECT_TRUE(std::isnan(K_Acos(-1.5f)));
    EXPECT_EQ(K_Acos(1.0f), 0.0f);
    EXPECT_EQ(K_Acos(-1.0f), 3.1415927f);
    EXPECT_FLOAT_EQ(K_Acos(0.0f), kPi / 2);
}
