// Vector normalisation and transforms, planes and side tests, bounds.
#include <cmath>
#include <cstddef>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "kstdlib/kmath.h"

// Plugins and the editor's records hold planes by this layout.
static_assert(sizeof(KPlane) == 20);
static_assert(offsetof(KPlane, dist) == 12 && offsetof(KPlane, type) == 16 &&
              offsetof(KPlane, signbits) == 17);

namespace {

float Dot(const float* a, const float* b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

void ExpectVecNear(const float* actual, float x, float y, float z, float tolerance = 1e-5f) {
    EXPECT_NEAR(actual[0], x, tolerance);
    EXPECT_NEAR(actual[1], y, tolerance);
    EXPECT_NEAR(actual[2], z, tolerance);
}

KPlane MakePlane(float nx, float ny, float nz, float dist, uint8_t type) {
    KPlane p{};
    p.normal[0] = nx, p.normal[1] = ny, p.normal[2] = nz;
    p.dist = dist;
    p.type = type;
    K_SetPlaneSignbits(&p);
    return p;
}

// Rotation of 90 degrees about z, then a move by (10, 20, 30).
const float kTurnAndMove[12] = {0, -1, 0, 10, 1, 0, 0, 20, 0, 0, 1, 30};

} // namespace

TEST(VectorNormalize, ScalesToUnitAndReturnsLength) {
    float v[3] = {0, 3, -4};
    EXPECT_EQ(K_VectorNormalize(v), 5.0f);
    ExpectVecNear(v, 0, 0.6f, -0.8f);

    float zero[3] = {0, 0, 0};
    EXPECT_EQ(K_VectorNormalize(zero), 0.0f);
    ExpectVecNear(zero, 0, 0, 0, 0);
}

TEST(VectorNormalize, FastVariantAddsEpsilonAndNeverTestsForZero) {
    float zero[3] = {0, 0, 0};
    EXPECT_EQ(K_VectorNormalizeFast(zero), 1.1920929e-7f);
    ExpectVecNear(zero, 0, 0, 0, 0);

    float v[3] = {0.5f, 0, 0};
    EXPECT_EQ(K_VectorNormalizeFast(v), 0.5f + 1.1920929e-7f);
    EXPECT_LT(v[0], 1.0f);
    EXPECT_NEAR(v[0], 1.0f, 1e-6f);
}

TEST(VectorTransform, PointsUseTranslationDirectionsDoNot) {
    const float p[3] = {1, 2, 3};
    float out[3];
    K_VectorTransform(p, kTurnAndMove, out);
    ExpectVecNear(out, 8, 21, 33, 0);
    K_VectorRotate(p, kTurnAndMove, out);
    ExpectVecNear(out, -2, 1, 3, 0);

    float inPlace[3] = {1, 2, 3};
    K_VectorTransform(inPlace, kTurnAndMove, inPlace);
    ExpectVecNear(inPlace, 8, 21, 33, 0);
}

TEST(VectorTransform, FourDimensionalForms) {
    float m[16];
    for (int i = 0; i < 16; ++i)
        m[i] = float(i + 1);
    const float v4[4] = {1, 0, -1, 2};
    float out[4];
    K_Vector4DTransform(v4, m, out);
    // Row r: (4r+1) - (4r+3) + 2 (4r+4) = 8r + 6
    EXPECT_EQ(out[0], 6.0f);
    EXPECT_EQ(out[3], 30.0f);
    K_Vector4DRotate(v4, m, out);
    // Row r: (4r+1) - (4r+3) = -2, fourth component of the input ignored
    for (float f : out)
        EXPECT_EQ(f, -2.0f);
}

TEST(VectorTransform, MultiMatchesSingleForEveryRemainder) {
    for (int count = 0; count <= 9; ++count) {
        std::vector<vec3> in(count + 1), moved(count + 1), turned(count + 1);
        for (int i = 0; i < count; ++i)
            in[i][0] = 0.5f * i, in[i][1] = -1.25f * i, in[i][2] = 3.0f + i;
        // The element after the range must stay as it was.
        moved[count][0] = turned[count][0] = 42.0f;
        K_VectorTransformMulti(count, in.data(), kTurnAndMove, moved.data());
        K_VectorRotateMulti(count, in.data(), kTurnAndMove, turned.data());
        for (int i = 0; i < count; ++i) {
            float single[3];
            K_VectorTransform(in[i], kTurnAndMove, single);
            EXPECT_EQ(std::memcmp(single, moved[i], sizeof(single)), 0) << count << " " << i;
            K_VectorRotate(in[i], kTurnAndMove, single);
            EXPECT_EQ(std::memcmp(single, turned[i], sizeof(single)), 0) << count << " " << i;
        }
        EXPECT_EQ(moved[count][0], 42.0f);
        EXPECT_EQ(turned[count][0], 42.0f);
    }
}

TEST(PlaneSide, SignbitsFollowNegativeComponents) {
    const float n[3] = {-1, 0.5f, -0.0f};
    EXPECT_EQ(K_SignbitsForNormal(n), 1);
    KPlane p = MakePlane(0.2f, -0.3f, -0.9f, 0, K_PLANE_ANY);
    EXPECT_EQ(p.signbits, 6);
}

TEST(PlaneSide, PointAgainstAxialAndGeneralPlanes) {
    const KPlane axialZ = MakePlane(0, 0, 1, 8, K_PLANE_Z);
    const KPlane general = MakePlane(0.5f, -0.25f, 1, 2, K_PLANE_ANY);
    struct Case {
        const KPlane* plane;
        float point[3];
        float epsilon;
        int side;
    };
    const Case cases[] = {
        {&axialZ, {100, -100, 8}, 0, K_SIDE_ON},   {&axialZ, {0, 0, 8.5f}, 0, K_SIDE_FRONT},
        {&axialZ, {0, 0, 8.5f}, 1, K_SIDE_ON},     {&axialZ, {0, 0, 7}, 0.5f, K_SIDE_BACK},
        {&general, {4, 0, 0}, 0, K_SIDE_ON},       {&general, {0, 0, 3}, 0, K_SIDE_FRONT},
        {&general, {0, 4, 2}, 0, K_SIDE_BACK},     {&general, {0, 4, 2}, 1.5f, K_SIDE_ON},
        {&general, {2, 0, 1.5f}, 0.5f, K_SIDE_ON},
    };
    for (const Case& c : cases)
        EXPECT_EQ(K_PointOnPlaneSide(c.point, c.epsilon, c.plane), c.side)
            << c.point[0] << " " << c.point[1] << " " << c.point[2];
}

TEST(PlaneSide, BoxAgainstAxialPlanes) {
    // normal (-1, 0, 0), dist -10: the plane x = 10 facing -x.
    const KPlane flipped = MakePlane(-1, 0, 0, -10, K_PLANE_X);
    const KPlane plain = MakePlane(0, 1, 0, 5, K_PLANE_Y);
    struct Case {
        const KPlane* plane;
        float mins[3], maxs[3];
        int side;
    };
    const Case cases[] = {
        {&flipped, {20, 0, 0}, {30, 1, 1}, K_SIDE_BACK}, {&flipped, {-5, 0, 0}, {10, 1, 1}, K_SIDE_FRONT},
        {&flipped, {5, 0, 0}, {15, 1, 1}, K_SIDE_CROSS}, {&plain, {0, 5, 0}, {1, 9, 1}, K_SIDE_FRONT},
        {&plain, {0, -9, 0}, {1, 5, 1}, K_SIDE_BACK},    {&plain, {0, 4, 0}, {1, 6, 1}, K_SIDE_CROSS},
    };
    for (const Case& c : cases)
        EXPECT_EQ(K_BoxOnPlaneSide(c.mins, c.maxs, c.plane), c.side) << c.mins[0] << " " << c.mins[1];
}

TEST(PlaneSide, BoxAgainstGeneralPlanesAgreesWithPlainForm) {
    KPlane plane = MakePlane(0.5f, -0.75f, 0, 2, K_PLANE_ANY);
    const float asArray[4] = {0.5f, -0.75f, 0, 2};
    struct Case {
        float mins[3], maxs[3];
        int side;
    };
    const Case cases[] = {
        {{10, -10, 0}, {20, 0, 1}, K_SIDE_FRONT},
        {{-20, 10, 0}, {-10, 20, 1}, K_SIDE_BACK},
        {{-10, -10, -1}, {10, 10, 1}, K_SIDE_CROSS},
        // Touching from the front (nearest corner on the plane) is front only...
        {{4, -10, 0}, {20, 0, 1}, K_SIDE_FRONT},
        // ...touching from behind counts as crossing.
        {{-10, 0, 0}, {4, 10, 1}, K_SIDE_CROSS},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(K_BoxOnPlaneSide(c.mins, c.maxs, &plane), c.side) << c.mins[0];
        EXPECT_EQ(K_BoxOnPlaneSide2(c.mins, c.maxs, asArray), c.side) << c.mins[0];
    }
    // Sign bits above 7 zero both sums: dist 2 > 0 reads as "behind".
    plane.signbits = 8;
    EXPECT_EQ(K_BoxOnPlaneSide(cases[0].mins, cases[0].maxs, &plane), K_SIDE_BACK);
}

TEST(PlaneTransform, MovesAndTurnsThePlane) {
    const KPlane in = MakePlane(1, 0, 0, 5, K_PLANE_X);
    KPlane out{};
    EXPECT_EQ(K_PlaneTransform(&in, kTurnAndMove, &out), 0);
    // x = 5 turned to y = 5, then moved by 20 along y.
    ExpectVecNear(out.normal, 0, 1, 0, 0);
    EXPECT_EQ(out.dist, 25.0f);
    EXPECT_EQ(out.type, K_PLANE_ANY);

    const KPlane down = MakePlane(0, 0, -1, 3, K_PLANE_Z);
    EXPECT_EQ(K_PlaneTransform(&down, kTurnAndMove, &out), 4);
    EXPECT_EQ(out.dist, -27.0f);
}

TEST(Projection, OntoPlaneWorksForNonUnitNormals) {
    const float p[3] = {3, 4, 5};
    struct Case {
        float normal[3];
        float expected[3];
    };
    const Case cases[] = {
        {{0, 0, 1}, {3, 4, 0}},        {{0, 0, 2}, {3, 4, 0}}, {{0, 10, 0}, {3, 0, 5}},
        {{1, 1, 0}, {-0.5f, 0.5f, 5}}, {{0, 0, 0}, {3, 4, 5}}, // degenerate: the point stays
    };
    for (const Case& c : cases) {
        float dst[3];
        K_ProjectPointOnPlane(dst, p, c.normal);
        ExpectVecNear(dst, c.expected[0], c.expected[1], c.expected[2]);
    }
}

TEST(Projection, OntoVector) {
    const float start[3] = {1, 1, 1}, end[3] = {1, 1, 5}, point[3] = {7, -3, 4};
    float dst[3];
    K_ProjectPointOnVector(dst, point, start, end);
    ExpectVecNear(dst, 1, 1, 4);
    // A zero-length segment gives its start instead of NaN.
    K_ProjectPointOnVector(dst, point, start, start);
    ExpectVecNear(dst, 1, 1, 1, 0);
}

TEST(Projection, PerpendicularVectorIsUnitAndPerpendicular) {
    const float sources[][3] = {{0, 0, 1},         {1, 0, 0}, {0, 5, 0},          {3, -4, 12},
                                {100, 0.5f, 0.5f}, {1, 1, 1}, {0.1f, 0.2f, 0.3f}, {-7, 2, 0}};
    for (const auto& src : sources) {
        float dst[3];
        K_PerpendicularVector(dst, src);
        EXPECT_NEAR(Dot(dst, src), 0.0f, 1e-4f * std::sqrt(Dot(src, src))) << src[0] << " " << src[1];
        EXPECT_NEAR(Dot(dst, dst), 1.0f, 1e-5f) << src[0] << " " << src[1];
    }
    // Ties go to the later axis: y (not x) for the z axis.
    float dst[3];
    const float up[3] = {0, 0, 1};
    K_PerpendicularVector(dst, up);
    ExpectVecNear(dst, 0, 1, 0);
}

TEST(Projection, RotatePointAroundVectorIsRightHanded) {
    const float z[3] = {0, 0, 1}, x[3] = {1, 0, 0}, p[3] = {1, 0, 0}, q[3] = {0, 2, 3};
    float dst[3];
    K_RotatePointAroundVector(dst, z, p, 90);
    ExpectVecNear(dst, 0, 1, 0);
    K_RotatePointAroundVector(dst, x, q, 90);
    ExpectVecNear(dst, 0, -3, 2);
    K_RotatePointAroundVector(dst, z, p, -180);
    ExpectVecNear(dst, -1, 0, 0);
    K_RotatePointAroundVectorHR(dst, z, p, 3.14159265f / 4);
    ExpectVecNear(dst, 0, 1, 0);
}

TEST(Bounds, ClearAddAndValidate) {
    float mins[3], maxs[3];
    K_ClearBounds(mins, maxs);
    ExpectVecNear(mins, 999999, 999999, 999999, 0);
    ExpectVecNear(maxs, -999999, -999999, -999999, 0);

    const float p[3] = {1, -2, 3};
    K_AddPointToBounds(p, mins, maxs);
    ExpectVecNear(mins, 1, -2, 3, 0);
    ExpectVecNear(maxs, 1, -2, 3, 0);

    const float boxMins[3] = {0, -1, 3}, boxMaxs[3] = {5, 0, 3};
    K_AddBoxToBounds(boxMins, boxMaxs, mins, maxs);
    ExpectVecNear(mins, 0, -2, 3, 0);
    ExpectVecNear(maxs, 5, 0, 3, 0);

    K_ValidateBounds(mins, maxs);
    ExpectVecNear(mins, 0, -2, 3 - 0.001f, 0);
    ExpectVecNear(maxs, 5, 0, 3 + 0.001f, 0);
}

TEST(Bounds, RadiusUsesFarthestExtentPerAxis) {
    const float mins[3] = {-3, 1, -12}, maxs[3] = {2, 4, 0};
    EXPECT_EQ(K_RadiusFromBounds(mins, maxs), 13.0f);
}

TEST(Bounds, TransformAndRotateBoxes) {
    const float mins[3] = {0, 0, 0}, maxs[3] = {2, 4, 6};
    float outMins[3], outMaxs[3];
    K_TransformAABB(mins, maxs, kTurnAndMove, outMins, outMaxs);
    ExpectVecNear(outMins, 6, 20, 30, 0);
    ExpectVecNear(outMaxs, 10, 22, 36, 0);

    K_RotateAABB(mins, maxs, kTurnAndMove, outMins, outMaxs);
    ExpectVecNear(outMins, -4, 0, 0, 0);
    ExpectVecNear(outMaxs, 0, 2, 6, 0);

    float onlyMaxs[3] = {7, 7, 7};
    K_TransformAABB(mins, maxs, kTurnAndMove, nullptr, onlyMaxs);
    ExpectVecNear(onlyMaxs, 10, 22, 36, 0);
    K_TransformAABB(mins, maxs, kTurnAndMove, nullptr, nullptr);
}
