// Euler angles, direction vectors, angle wrapping, quaternions and compressed directions.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "kstdlib/kmath.h"

namespace {

constexpr float kPi = 3.14159265358979323846f;

void ExpectVecNear(const float* actual, const float* expected, int n, float tolerance) {
    for (int i = 0; i < n; ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "component " << i;
}

// Quaternions q and -q are the same rotation.
void ExpectSameRotation(const float* q, const float* expected) {
    const float dot = q[0] * expected[0] + q[1] * expected[1] + q[2] * expected[2] + q[3] * expected[3];
    EXPECT_NEAR(std::fabs(dot), 1.0f, 1e-5f);
}

} // namespace

TEST(AngleVectors, YawOfNinetyDegrees) {
    const float angles[3] = {0, 90, 0};
    float forward[3], right[3], up[3];
    K_AngleVectors(angles, forward, right, up);
    const float f[3] = {0, 1, 0}, r[3] = {1, 0, 0}, u[3] = {0, 0, 1};
    ExpectVecNear(forward, f, 3, 1e-6f);
    ExpectVecNear(right, r, 3, 1e-6f);
    ExpectVecNear(up, u, 3, 1e-6f);

    // Every output is optional.
    K_AngleVectors(angles, nullptr, right, nullptr);
    ExpectVecNear(right, r, 3, 1e-6f);
    K_AngleVectors(angles, nullptr, nullptr, nullptr);
}

TEST(AngleVectors, ForwardIsFirstColumnOfTheTransformRotation) {
    const float angles[3] = {-30, 125, 15}, origin[3] = {0, 0, 0}, x[3] = {1, 0, 0};
    float forward[3], m[12], column[3];
    K_AngleVectors(angles, forward, nullptr, nullptr);
    K_BuildTransformStudioMatrix(angles[1], angles[0], angles[2], origin, 1, m);
    K_VectorRotate(x, m, column);
    ExpectVecNear(forward, column, 3, 1e-6f);
}

TEST(AngleVectors, ExtendedFormComposesTwoOrientations) {
    const float zero[3] = {0, 0, 0}, yaw90[3] = {0, 90, 0};
    float forward[3], right[3], up[3];
    // M1 (zero angles) has rows forward, -right, up = identity; the result is angles2's axes.
    K_AngleVectorsEx(zero, yaw90, forward, right, up);
    const float f[3] = {0, 1, 0}, r[3] = {1, 0, 0}, u[3] = {0, 0, 1};
    ExpectVecNear(forward, f, 3, 1e-6f);
    ExpectVecNear(right, r, 3, 1e-6f);
    ExpectVecNear(up, u, 3, 1e-6f);
    K_AngleVectorsEx(yaw90, zero, nullptr, right, nullptr);
    // Row 1 of M2 (zero angles) is (0, -1, 0): it picks the negated row 1 of M1, which is right1.
    const float r2[3] = {1, 0, 0};
    ExpectVecNear(right, r2, 3, 1e-6f);
}

TEST(VectorToAngles, GoldenDirections) {
    struct Case {
        float vec[3];
        float angles[3];
    };
    const Case cases[] = {
        {{0, 0, 1}, {-90, 0, 0}}, {{0, 0, -1}, {-270, 0, 0}}, {{1, 1, 0}, {0, 45, 0}},
        {{0, 3, 0}, {0, 90, 0}},  {{0, -3, 0}, {0, 270, 0}},  {{-1, 0, 0}, {0, 180, 0}},
        {{1, 0, 1}, {-45, 0, 0}}, {{1, 0, -1}, {-315, 0, 0}}, {{0, 0, 0}, {-270, 0, 0}},
    };
    for (const Case& c : cases) {
        float angles[3];
        K_VectorToAngles(c.vec, angles);
        ExpectVecNear(angles, c.angles, 3, 1e-4f);
    }
}

TEST(VectorToAngles, YawOnly) {
    struct Case {
        float vec[3];
        float yaw;
    };
    const Case cases[] = {
        {{0, -5, 0}, 270}, {{0, 5, 9}, 90}, {{0, 0, 9}, 0}, {{-1, -1, 0}, 225}, {{2, 0, 0}, 0}};
    for (const Case& c : cases)
        EXPECT_NEAR(K_VectorToYaw(c.vec), c.yaw, 1e-4f) << c.vec[0] << " " << c.vec[1];
}

TEST(AxesToAngles, RoundTripsAngleVectors) {
    const float cases[][3] = {{0, 0, 0}, {-30, 45, 10}, {60, -120, -45}, {10, 170, 80}};
    for (const auto& angles : cases) {
        float f[3], r[3], u[3], back[3];
        K_AngleVectors(angles, f, r, u);
        K_AxesToAngles(f, r, u, back);
        ExpectVecNear(back, angles, 3, 1e-3f);
    }
}

TEST(AxesToAngles, StraightUpOrDown) {
    const float up[3] = {0, 0, 1}, down[3] = {0, 0, -1}, right[3] = {0, -1, 0}, top[3] = {-1, 0, 0};
    float angles[3];
    K_AxesToAngles(up, right, top, angles);
    const float expectUp[3] = {-90, 0, 180};
    ExpectVecNear(angles, expectUp, 3, 1e-4f);
    K_AxesToAngles(down, right, top, angles);
    const float expectDown[3] = {90, 0, 180};
    ExpectVecNear(angles, expectDown, 3, 1e-4f);
}

TEST(AngleWrapping, LerpTakesTheShortWay) {
    EXPECT_EQ(K_LerpAngle(350, 10, 0.5f), 360.0f);
    EXPECT_EQ(K_LerpAngle(10, 350, 0.5f), 0.0f);
    EXPECT_EQ(K_LerpAngle(0, 90, 0.25f), 22.5f);
    EXPECT_EQ(K_LerpAngle(0, 180, 1.0f), 180.0f);
    float out[3];
    const float from[3] = {350, 0, -170}, to[3] = {10, 90, 170};
    K_LerpAngles(out, from, to, 0.5f);
    const float expected[3] = {360, 45, -180};
    ExpectVecNear(out, expected, 3, 0);
}

TEST(AngleWrapping, NormalizeMatchesRepeatedSubtraction) {
    struct Case {
        float in, out;
    };
    const Case cases[] = {
        {540, 180},     {-540, -180},        {180, 180},        {-180, -180},
        {181, -179},    {-181, 179},         {720, 0},          {0, 0},
        {90.5f, 90.5f}, {1000.25f, -79.75f}, {-3600.5f, -0.5f}, {180.00002f, 180.00002f - 360.0f}};
    for (const Case& c : cases)
        EXPECT_EQ(K_NormalizeAngle(c.in), c.out) << c.in;

    // Ordinary angles give exactly what stepping by 360 gives.
    for (float a = -5000.0f; a < 5000.0f; a += 7.3f) {
        float stepped = a;
        while (stepped > 180)
            stepped -= 360;
        while (stepped < -180)
            stepped += 360;
        ASSERT_EQ(K_NormalizeAngle(a), stepped) << a;
    }
}

TEST(AngleWrapping, NormalizeEndsForHugeAndInfiniteAngles) {
    const float huge[] = {1e30f, -1e30f, 3.4e38f, 1e9f, 67108864.0f};
    for (float a : huge) {
        const float n = K_NormalizeAngle(a);
        EXPECT_GE(n, -180.0f) << a;
        EXPECT_LE(n, 180.0f) << a;
    }
    EXPECT_TRUE(std::isnan(K_NormalizeAngle(std::numeric_limits<float>::infinity())));
    EXPECT_TRUE(std::isnan(K_NormalizeAngle(-std::numeric_limits<float>::infinity())));
    EXPECT_TRUE(std::isnan(K_NormalizeAngle(std::numeric_limits<float>::quiet_NaN())));

    float angles[3] = {540, std::numeric_limits<float>::infinity(), -200};
    K_NormalizeAngles(angles);
    EXPECT_EQ(angles[0], 180.0f);
    EXPECT_TRUE(std::isnan(angles[1]));
    EXPECT_EQ(angles[2], 160.0f);
}

TEST(Quaternion, MatrixKeepsTranslationAndRoundTrips) {
    // 90 degrees about z: (0, 0, sin 45, cos 45).
    const float h = std::sqrt(0.5f);
    const float q[4] = {0, 0, h, h};
    float m[12];
    for (float& f : m)
        f = 7.0f;
    K_QuaternionMatrix(q, m);
    EXPECT_EQ(m[3], 7.0f);
    EXPECT_EQ(m[7], 7.0f);
    EXPECT_EQ(m[11], 7.0f);
    const float expected[12] = {0, -1, 0, 7, 1, 0, 0, 7, 0, 0, 1, 7};
    ExpectVecNear(m, expected, 12, 1e-6f);

    float back[4];
    K_MatrixQuaternion(m, back);
    ExpectVecNear(back, q, 4, 1e-6f);
}

TEST(Quaternion, MatrixQuaternionCoversEveryBranch) {
    // Half turns have trace -1, so each takes the branch of its largest diagonal element; the
    // identity takes the positive-trace branch.
    const float quats[][4] = {{1, 0, 0, 0},
                              {0, 1, 0, 0},
                              {0, 0, 1, 0},
                              {0, 0, 0, 1},
                              {0.5f, 0.5f, 0.5f, 0.5f},
                              {0.1825742f, 0.3651484f, 0.5477226f, 0.7302967f}};
    for (const auto& q : quats) {
        float m[12] = {}, back[4];
        K_QuaternionMatrix(q, m);
        K_MatrixQuaternion(m, back);
        ExpectSameRotation(back, q);
    }
}

TEST(Quaternion, AnglesMatchTheAngleMatrix) {
    const float radians[][3] = {{0.3f, -0.2f, 1.1f}, {-1.0f, 0.5f, 2.5f}, {0, 0, 0}, {0.1f, 1.2f, -3.0f}};
    for (const auto& a : radians) {
        float q[4], fromQuat[12] = {}, fromAngles[12];
        K_AngleQuaternion(a, q);
        K_QuaternionMatrix(q, fromQuat);
        const float degrees[3] = {a[0] * 180 / kPi, a[1] * 180 / kPi, a[2] * 180 / kPi};
        K_AngleMatrix(degrees, fromAngles);
        ExpectVecNear(fromQuat, fromAngles, 12, 1e-5f);

        float back[3];
        K_QuaternionAngle(q, back);
        ExpectVecNear(back, a, 3, 1e-4f);
    }
}

TEST(Quaternion, AngleOfGimbalLockedQuaternion) {
    // Pitch of +90 degrees: the roll/yaw split is folded into yaw.
    const float a[3] = {0, kPi / 2, 0.7f};
    float q[4], back[3], m1[12] = {}, m2[12] = {};
    K_AngleQuaternion(a, q);
    K_QuaternionAngle(q, back);
    EXPECT_EQ(back[0], 0.0f);
    EXPECT_NEAR(back[1], kPi / 2, 1e-3f);
    float q2[4];
    K_AngleQuaternion(back, q2);
    K_QuaternionMatrix(q, m1);
    K_QuaternionMatrix(q2, m2);
    ExpectVecNear(m1, m2, 12, 2e-3f);
}

TEST(Quaternion, InverseAndProduct) {
    const float zero[4] = {0, 0, 0, 0};
    float out[4] = {9, 9, 9, 9};
    K_QuaternionInverse(zero, out);
    ExpectVecNear(out, zero, 4, 0);

    // Scalar first: q * q^-1 = (1, 0, 0, 0) also for non-unit q.
    const float q[4] = {1, 2, -3, 0.5f};
    float inv[4], product[4];
    K_QuaternionInverse(q, inv);
    K_QuaternionProduct(q, inv, product);
    const float one[4] = {1, 0, 0, 0};
    ExpectVecNear(product, one, 4, 1e-6f);

    // i * j = k
    const float i[4] = {0, 1, 0, 0}, j[4] = {0, 0, 1, 0};
    K_QuaternionProduct(i, j, product);
    const float k[4] = {0, 0, 0, 1};
    ExpectVecNear(product, k, 4, 0);
    K_QuaternionProduct(j, i, product);
    const float minusK[4] = {0, 0, 0, -1};
    ExpectVecNear(product, minusK, 4, 0);
}

TEST(Quaternion, SlerpEndpointsMidpointAndShortWay) {
    const float identity[4] = {0, 0, 0, 1};
    const float h = std::sqrt(0.5f);
    const float quarterZ[4] = {0, 0, h, h};
    float out[4];
    K_QuaternionSlerp(identity, quarterZ, 0, out);
    ExpectVecNear(out, identity, 4, 1e-6f);
    K_QuaternionSlerp(identity, quarterZ, 1, out);
    ExpectVecNear(out, quarterZ, 4, 1e-6f);
    K_QuaternionSlerp(identity, quarterZ, 0.5f, out);
    const float eighthZ[4] = {0, 0, std::sin(kPi / 8), std::cos(kPi / 8)};
    ExpectVecNear(out, eighthZ, 4, 2e-6f);

    // -quarterZ is the same rotation; the result stays on identity's side.
    const float negated[4] = {0, 0, -h, -h};
    K_QuaternionSlerp(identity, negated, 0.5f, out);
    ExpectVecNear(out, eighthZ, 4, 2e-6f);

    // Nearly equal quaternions fall back to a straight blend.
    K_QuaternionSlerp(identity, identity, 0.3f, out);
    ExpectVecNear(out, identity, 4, 1e-6f);
}

TEST(CompressedVector, GoldenWordsAndRoundTrip) {
    struct Case {
        float dir[3];
        uint16_t words[2];
    };
    const Case cases[] = {
        {{0, 0, 1}, {0, 0}},          {{0, 0, -1}, {0, 0x7FFF}},   {{0.0005f, -0.0005f, -1}, {0, 0x7FFF}},
        {{1, 0, 0}, {0, 16383}},      {{0, 1, 0}, {16383, 16383}}, {{0, -1, 0}, {49151, 16383}},
        {{1, 0, 1.0000001f}, {0, 0}}, // z just past 1 from rounding is not NaN
    };
    for (const Case& c : cases) {
        uint16_t words[2];
        K_CompressVector(c.dir, words);
        EXPECT_EQ(words[0], c.words[0]) << c.dir[0] << " " << c.dir[1] << " " << c.dir[2];
        EXPECT_EQ(words[1], c.words[1]) << c.dir[0] << " " << c.dir[1] << " " << c.dir[2];
    }

    const uint16_t zero[2] = {0, 0};
    float dir[3];
    K_DecompressVector(zero, dir);
    const float up[3] = {0, 0, 1};
    ExpectVecNear(dir, up, 3, 0);

    const float samples[][3] = {{0.6f, 0.8f, 0}, {-0.48f, 0.36f, 0.8f}, {0, -0.6f, -0.8f}};
    for (const auto& s : samples) {
        uint16_t words[2];
        K_CompressVector(s, words);
        K_DecompressVector(words, dir);
        ExpectVecNear(dir, s, 3, 2e-4f);
    }
}
