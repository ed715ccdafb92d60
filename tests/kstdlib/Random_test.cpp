#include <gtest/gtest.h>

#include <limits.h>
#include <math.h>

#include <set>
#include <vector>

#include "kstdlib/kstdlib.h"

namespace {

std::vector<int> Longs(int count, int lo, int hi) {
    std::vector<int> values;
    for (int i = 0; i < count; ++i)
        values.push_back(K_RandomLong(lo, hi));
    return values;
}

} // namespace

TEST(Random, SeedOneGivesKnownBytes) {
    K_SRand(1);
    EXPECT_EQ(Longs(5, 0, 255), (std::vector<int>{153, 178, 34, 140, 147}));
}

TEST(Random, ReseedingRepeatsTheSequence) {
    K_SRand(12345);
    const std::vector<int> first = Longs(20, -1000, 1000);
    const float f = K_RandomFloat(-2.0f, 3.0f);
    K_SRand(12345);
    EXPECT_EQ(Longs(20, -1000, 1000), first);
    EXPECT_EQ(K_RandomFloat(-2.0f, 3.0f), f);
}

TEST(Random, EmptyRangesReturnLoWithoutStepping) {
    K_SRand(99);
    const int expected = K_RandomLong(0, 1000);
    K_SRand(99);
    EXPECT_EQ(K_RandomLong(7, 7), 7);
    EXPECT_EQ(K_RandomLong(10, -10), 10); // lo > hi: no overflowed range
    EXPECT_EQ(K_RandomLong(INT_MAX, INT_MIN), INT_MAX);
    EXPECT_EQ(K_RandomFloat(2.5f, 2.5f), 2.5f);
    EXPECT_EQ(K_RandomFloat(3.0f, 1.0f), 3.0f);
    EXPECT_EQ(K_RandomLong(0, 1000), expected);
}

TEST(Random, DrawsStayInRange) {
    K_SRand(4);
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        const int v = K_RandomLong(-3, 3);
        ASSERT_GE(v, -3);
        ASSERT_LE(v, 3);
        seen.insert(v);
        const float f = K_RandomFloat(-1.0f, 1.0f);
        ASSERT_GE(f, -1.0f);
        ASSERT_LE(f, 1.0f);
    }
    EXPECT_EQ(seen.size(), 7u);
    const int wide = K_RandomLong(INT_MIN + 1, INT_MAX);
    EXPECT_GE(wide, INT_MIN + 1);
}

TEST(Random, FullIntRangeIsNotStuckAtLo) {
    K_SRand(8);
    std::set<int> seen;
    for (int i = 0; i < 16; ++i)
        seen.insert(K_RandomLong(INT_MIN, INT_MAX));
    EXPECT_GT(seen.size(), 8u);
}

TEST(SharedRandom, RepeatsForEqualArgumentsAndLeavesTheGlobalStateAlone) {
    K_SRand(3);
    const float a = K_RandomFloat(0.0f, 1.0f);
    const float b = K_RandomFloat(0.0f, 1.0f);
    K_SRand(3);
    EXPECT_EQ(K_RandomFloat(0.0f, 1.0f), a);
    const float s1 = K_SharedRandomFloat(11, 0.0f, 100.0f);
    const int l1 = K_SharedRandomLong(11, 0, 100);
    EXPECT_EQ(K_SharedRandomFloat(11, 0.0f, 100.0f), s1);
    EXPECT_EQ(K_SharedRandomLong(11, 0, 100), l1);
    EXPECT_EQ(K_RandomFloat(0.0f, 1.0f), b);
    EXPECT_GE(s1, 0.0f);
    EXPECT_LE(s1, 100.0f);
    EXPECT_EQ(K_SharedRandomFloat(11, 5.0f, 5.0f), 5.0f);
    EXPECT_EQ(K_SharedRandomLong(11, 9, 2), 9);
}

TEST(SharedRandom, SeedsWithSeedPlusBounds) {
    // n = seed + lo + hi, so shifting the seed against the bounds gives the same draw.
    EXPECT_EQ(K_SharedRandomLong(10, 0, 100), K_SharedRandomLong(0, 5, 105) - 5);
    std::set<int> seen;
    for (int seed = 1; seed <= 20; ++seed)
        seen.insert(K_SharedRandomLong(seed, 0, 1000000));
    EXPECT_GT(seen.size(), 15u);
}

TEST(Gaussian, SecondCallUsesTheCachedHalfOfThePair) {
    K_SRand(21);
    const float first = K_RandomGaussianFloat(0.0f, 1.0f);
    const float second = K_RandomGaussianFloat(0.0f, 1.0f);
    const int after = K_RandomLong(0, 1 << 20);
    K_SRand(21);
    EXPECT_EQ(K_RandomGaussianFloat(0.0f, 1.0f), first);
    EXPECT_FLOAT_EQ(K_RandomGaussianFloat(10.0f, 2.0f), second * 2.0f + 10.0f);
    EXPECT_EQ(K_RandomLong(0, 1 << 20), after); // the cached half took no step
}

TEST(Gaussian, ReseedingDropsTheCachedValue) {
    K_SRand(77);
    const float first = K_RandomGaussianFloat(0.0f, 1.0f);
    K_SRand(77);
    EXPECT_EQ(K_RandomGaussianFloat(0.0f, 1.0f), first);
}

TEST(Gaussian, HasTheRequestedMeanAndDeviation) {
    K_SRand(5);
    const int n = 20000;
    double sum = 0.0, sumSq = 0.0;
    for (int i = 0; i < n; ++i) {
        const double v = K_RandomGaussianFloat(3.0f, 2.0f);
        sum += v;
        sumSq += v * v;
    }
    const double mean = sum / n;
    const double deviation = sqrt(sumSq / n - mean * mean);
    EXPECT_NEAR(mean, 3.0, 0.1);
    EXPECT_NEAR(deviation, 2.0, 0.1);
}

TEST(Noise, ZeroAtTheOriginAndKnownValues) {
    EXPECT_EQ(K_Noise2f(0.0f, 0.0f), 0.0f);
    EXPECT_EQ(K_Noise4f(0.0f, 0.0f, 0.0f, 0.0f), 0.0f);
    EXPECT_NEAR(K_Noise2f(0.3f, -1.7f), 0.204595f, 1e-6f);
    EXPECT_NEAR(K_Noise3f(0.3f, -1.7f, 2.9f), 0.0402784f, 1e-6f);
    EXPECT_NEAR(K_Noise4f(0.3f, -1.7f, 2.9f, -0.6f), -0.541394f, 1e-6f);
}

TEST(Noise, IsContinuousAndVaried) {
    float lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0};
    float maxStep = 0.0f;
    for (int i = 0; i < 400; ++i) {
        const float x = i * 0.173f - 30.0f, y = i * 0.071f + 5.0f, z = i * 0.037f, w = 2.0f - i * 0.011f;
        const float values[3] = {K_Noise2f(x, y), K_Noise3f(x, y, z), K_Noise4f(x, y, z, w)};
        const float nudged[3] = {K_Noise2f(x + 1e-4f, y), K_Noise3f(x, y + 1e-4f, z),
                                 K_Noise4f(x, y, z, w + 1e-4f)};
        for (int d = 0; d < 3; ++d) {
            ASSERT_TRUE(isfinite(values[d]));
            maxStep = fmaxf(maxStep, fabsf(values[d] - nudged[d]));
            lo[d] = fminf(lo[d], values[d]);
            hi[d] = fmaxf(hi[d], values[d]);
        }
    }
    EXPECT_LT(maxStep, 0.05f);
    for (int d = 0; d < 3; ++d) {
        EXPECT_LT(lo[d], -0.2f) << d;
        EXPECT_GT(hi[d], 0.2f) << d;
    }
    // The two- and three-dimensional forms are normalised to about [-1, 1].
    EXPECT_GE(lo[0], -1.05f);
    EXPECT_LE(hi[0], 1.05f);
    EXPECT_GE(lo[1], -1.05f);
    EXPECT_LE(hi[1], 1.05f);
}
