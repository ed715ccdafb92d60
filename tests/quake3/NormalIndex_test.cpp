// The distinct-normal index against the plain scan: the same first match for every query, on
// clusters of nearly equal normals where several stored ones match at once.
#include <gtest/gtest.h>
#include <random>
#include <vector>

#include "quake3/NormalIndex.h"

TEST(NormalIndex, FindsTheFirstMatchOfTheLinearScan) {
    std::mt19937 random(21);
    std::uniform_int_distribution<int> cluster(0, 7);
    std::uniform_real_distribution<float> jitter(-1.6e-4f, 1.6e-4f);
    const float centres[8][3] = {{0, 0, 1},        {1, 0, 0},
                                 {0, -1, 0},       {0.6f, 0.8f, 0},
                                 {-0.0001f, 0, 1}, {0.57735f, 0.57735f, 0.57735f},
                                 {0, 0, -1},       {1e-4f, 2e-4f, 0.99999f}};
    for (int round = 0; round < 20; ++round) {
        cNormalIndex index;
        std::vector<float> stored; // what the linear scan sees, appended the same way
        for (int i = 0; i < 2000; ++i) {
            const float* c = centres[cluster(random)];
            const float n[3] = {c[0] + jitter(random), c[1] + jitter(random), c[2] + jitter(random)};
            const int32_t linear = cNormalIndex::linearFind(stored.data(), int32_t(stored.size() / 3), n);
            ASSERT_EQ(index.find(n), linear) << round << " " << i;
            const int32_t added = index.findOrAdd(n, 8192);
            if (linear < 0) {
                ASSERT_EQ(added, int32_t(stored.size() / 3));
                stored.insert(stored.end(), n, n + 3);
            } else {
                ASSERT_EQ(added, linear);
            }
        }
        EXPECT_EQ(index.size(), int32_t(stored.size() / 3));
    }
}

TEST(NormalIndex, FullTableAnswersMinusOneAndBoundaryIsInclusive) {
    cNormalIndex index;
    const float a[3] = {0, 0, 1}, b[3] = {0.5f, 0, 0}, near[3] = {0, 0.0001f, 1};
    EXPECT_EQ(index.findOrAdd(a, 1), 0);
    EXPECT_EQ(index.findOrAdd(b, 1), -1);
    EXPECT_EQ(index.find(near), cNormalIndex::linearFind(index.data(), index.size(), near));
}
