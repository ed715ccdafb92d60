#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ConsoleCapture.h"
#include "core/System.h"
#include "core/MainSettings.h"

namespace {

void transform(const float m[16], const float in[3], float out[3]) {
    for (int r = 0; r < 3; ++r)
        out[r] = m[r * 4] * in[0] + m[r * 4 + 1] * in[1] + m[r * 4 + 2] * in[2] + m[r * 4 + 3];
}

} // namespace

TEST(MathRotationMatrix, QuarterTurnsAreExact) {
    struct Case {
        float az, ay, ax;
        float in[3], expected[3];
    };
    const Case cases[] = {
        {90, 0, 0, {1, 0, 0}, {0, 1, 0}},   {0, 90, 0, {1, 0, 0}, {0, 0, -1}},
        {0, 0, 90, {0, 1, 0}, {0, 0, 1}},   {180, 0, 0, {1, 2, 3}, {-1, -2, 3}},
        {450, 0, 0, {1, 0, 0}, {0, 1, 0}},  {-270, 0, 0, {1, 0, 0}, {0, 1, 0}},
        {-90, 0, 0, {1, 0, 0}, {0, -1, 0}}, {0, 0, 0, {4, 5, 6}, {4, 5, 6}},
    };
    const float origin[3] = {0, 0, 0};
    for (const Case& c : cases) {
        float m[16], out[3];
        Math_RotationMatrix(c.az, c.ay, c.ax, origin, m);
        transform(m, c.in, out);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(out[i], c.expected[i]) << c.az << " " << c.ay << " " << c.ax << " component " << i;
        EXPECT_EQ(m[15], 1.0f);
    }
}

TEST(MathRotationMatrix, OriginIsTheTranslation) {
    const float origin[3] = {10, 20, 30};
    float m[16], out[3];
    Math_RotationMatrix(45, 30, 60, origin, m);
    const float zero[3] = {0, 0, 0};
    transform(m, zero, out);
    EXPECT_EQ(out[0], 10.0f);
    EXPECT_EQ(out[1], 20.0f);
    EXPECT_EQ(out[2], 30.0f);
    EXPECT_NEAR(m[0], 0.6123724, 1e-6); // cos45 · cos30
}

TEST(MathRotationMatrix, HugeAndInfiniteAnglesEnd) {
    cConsoleCapture console;
    const float origin[3] = {0, 0, 0};
    float m[16];
    Math_RotationMatrix(1e30f, -1e30f, 3.6e9f, origin, m);
    for (float v : m)
        EXPECT_TRUE(std::isfinite(v));
    Math_RotationMatrix(std::numeric_limits<float>::infinity(), std::nanf(""), 0, origin, m);
    EXPECT_EQ(m[0], 1.0f);
    EXPECT_EQ(m[5], 1.0f);
    EXPECT_TRUE(console.contains("Math_RotationMatrix: angle is not a finite number"));
}

TEST(MathSnapping, WholeNumbersWithinTolerance) {
    float v[3] = {3.995f, 3.98f, -2.004f};
    Math_SnapVector(v);
    EXPECT_EQ(v[0], 4.0f);
    EXPECT_EQ(v[1], 3.98f);
    EXPECT_EQ(v[2], -2.0f);

    float values[3] = {3.99995f, 3.9995f, 0.00001f};
    Math_SnapFloats(3, values);
    EXPECT_EQ(values[0], 4.0f);
    EXPECT_EQ(values[1], 3.9995f);
    EXPECT_EQ(values[2], 0.0f);
}

TEST(MathSnapping, SysSnapVectorUsesTheRoundingSetting) {
    float v[3] = {1.005f, 1.03f, 0};
    Sys_SnapVector(v); // no main window: 0.01
    EXPECT_EQ(v[0], 1.0f);
    EXPECT_EQ(v[1], 1.03f);
    cConsoleCapture console;
    console.settings().MapVertexRoundEps = 0.05f;
    Sys_SnapVector(v);
    EXPECT_EQ(v[1], 1.0f);
}

TEST(MathSnapping, GridSnapping) {
    cConsoleCapture console;
    struct Case {
        bool snap;
        int32_t grid;
        float in[3], expected[3];
    };
    const Case cases[] = {
        {true, 16, {7, 8, -9}, {0, 16, -16}},
        {true, 64, {31.9f, 32, -33}, {0, 64, -64}},
        {false, 16, {7.4f, 7.5f, -9.5f}, {7, 8, -9}},
        // A grid of 0 must not divide by zero: it acts as 1.
        {true, 0, {7.4f, 7.5f, -9.6f}, {7, 8, -10}},
    };
    for (const Case& c : cases) {
        console.settings().SnapToGrid = c.snap;
        console.settings().CurrentGridSize = c.grid;
        float p[3] = {c.in[0], c.in[1], c.in[2]};
        EXPECT_EQ(Sys_SnapToGrid(p), c.expected[2]);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(p[i], c.expected[i]) << "grid " << c.grid << " component " << i;
        float q[3] = {c.in[0], c.in[1], c.in[2]};
        EXPECT_EQ(Sys_SnapAxisToGrid(1, q), c.expected[1]);
        EXPECT_EQ(q[0], c.in[0]);
    }
    float p[3] = {1, 2, 3};
    EXPECT_EQ(Sys_SnapAxisToGrid(3, p), 0.0f);
    EXPECT_TRUE(console.contains("Sys_SnapAxisToGrid: invalid axis 3"));
}

TEST(MathPlanes, EqualWithinTolerances) {
    struct Case {
        float a[4], b[4];
        bool flip, expected;
    };
    const Case cases[] = {
        {{0, 0, 1, 64}, {0, 0, 1, 64.009f}, false, true},   {{0, 0, 1, 64}, {0, 0, 1, 64.02f}, false, false},
        {{0, 0, 1, 64}, {0.0002f, 0, 1, 64}, false, false}, {{0, 0, 1, 64}, {0, 0, -1, -64}, true, true},
        {{0, 0, 1, 64}, {0, 0, -1, -64}, false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Math_PlanesEqual(c.a, c.b, c.flip), c.expected);

    const float small[3] = {0.0009f, -0.0009f, 0};
    const float notSmall[3] = {0, 0, 0.001f};
    EXPECT_TRUE(Math_VectorIsNearZero(small));
    EXPECT_FALSE(Math_VectorIsNearZero(notSmall));
}

TEST(MathWrapTextureAxes, ParallelPlanesKeepTheAxes) {
    const float n1[3] = {0, 0, 1};
    const float n2[3] = {0, 0, 1};
    const float nearlyParallel[3] = {0, 1e-8f, 1};
    const float s[3] = {1, 0, 0}, t[3] = {0, -1, 0};
    for (const float* target : {n2, nearlyParallel}) {
        float sOut[3], tOut[3], origin[3];
        Math_WrapTextureAxes(n1, 0, s, 8, t, 4, 0.5f, 2, target, 32, sOut, tOut, origin);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(sOut[i], s[i]);
            EXPECT_EQ(tOut[i], t[i]);
            EXPECT_TRUE(std::isfinite(origin[i]));
        }
        EXPECT_EQ(origin[0], 4.0f);  // 8 · 0.5 along S
        EXPECT_EQ(origin[1], -8.0f); // 4 · 2 along T
    }
}

TEST(MathWrapTextureAxes, TextureStaysContinuousAcrossTheEdge) {
    // A floor at z = 0 and a wall x = 64 meet along the line (64, y, 0).
    const float floor[3] = {0, 0, 1};
    const float wall[3] = {1, 0, 0};
    const float s[3] = {1, 0, 0}, t[3] = {0, -1, 0};
    const float sShift = 8, tShift = -3;
    float sOut[3], tOut[3], origin[3];
    Math_WrapTextureAxes(floor, 0, s, sShift, t, tShift, 1, 1, wall, 64, sOut, tOut, origin);
    // The texture plane turns with the faces: S now runs down the wall, T is unchanged.
    EXPECT_NEAR(sOut[0], 0, 1e-6);
    EXPECT_NEAR(sOut[2], -1, 1e-6);
    EXPECT_NEAR(tOut[1], -1, 1e-6);
    const auto dot = [](const float a[3], const float b[3]) {
        return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
    };
    for (float y : {-100.0f, 0.0f, 37.0f}) {
        const float q[3] = {64, y, 0};
        EXPECT_NEAR(dot(s, q) + sShift, dot(sOut, q) + dot(sOut, origin), 1e-3) << y;
        EXPECT_NEAR(dot(t, q) + tShift, dot(tOut, q) + dot(tOut, origin), 1e-3) << y;
    }
}
