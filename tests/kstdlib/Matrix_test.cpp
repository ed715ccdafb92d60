// Rigid, orientation, view and general matrices.
#include <cmath>
#include <cstring>

#include <gtest/gtest.h>

#include "kstdlib/kmath.h"

namespace {

struct AngleTriple {
    float yaw, pitch, roll;
};
const AngleTriple kAngles[] = {{0, 0, 0}, {90, 0, 0}, {30, -45, 10}, {-120, 80, 200}, {359, 1, -1}};

void ExpectNear(const float* actual, const float* expected, int n, float tolerance) {
    for (int i = 0; i < n; ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "element " << i;
}

void Identity4x4(float* m) {
    std::memset(m, 0, 16 * sizeof(float));
    m[0] = m[5] = m[10] = m[15] = 1;
}

} // namespace

TEST(MatrixRotation, AxesTurnTheDocumentedWay) {
    const float origin[3] = {0, 0, 0}, x[3] = {1, 0, 0}, y[3] = {0, 1, 0};
    float m[12], out[3];
    K_BuildTransformStudioMatrix(90, 0, 0, origin, 1, m);
    K_VectorRotate(x, m, out);
    ExpectNear(out, y, 3, 1e-6f); // yaw turns x towards y
    K_BuildTransformStudioMatrix(0, 90, 0, origin, 1, m);
    K_VectorRotate(x, m, out);
    const float down[3] = {0, 0, -1};
    ExpectNear(out, down, 3, 1e-6f); // pitch turns x down
    K_BuildTransformStudioMatrix(0, 0, 90, origin, 1, m);
    K_VectorRotate(y, m, out);
    const float up[3] = {0, 0, 1};
    ExpectNear(out, up, 3, 1e-6f); // roll turns y up
}

TEST(MatrixRotation, BuildersShareOneRotation) {
    const float origin[3] = {5, -6, 7};
    for (const AngleTriple& a : kAngles) {
        float full[16], studio[12], scaled[12], angle[12], inverse[12];
        const float modelAngles[3] = {a.roll, a.pitch, a.yaw};
        K_BuildTransformMatrix(a.yaw, a.pitch, a.roll, origin, full);
        K_BuildTransformStudioMatrix(a.yaw, a.pitch, a.roll, origin, 1, studio);
        K_BuildTransformStudioMatrix(a.yaw, a.pitch, a.roll, origin, 2.5f, scaled);
        K_AngleMatrix(modelAngles, angle);
        K_AngleIMatrix(modelAngles, inverse);
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) {
                EXPECT_EQ(full[4 * r + c], angle[4 * r + c]);
                EXPECT_EQ(studio[4 * r + c], angle[4 * r + c]);
                EXPECT_EQ(scaled[4 * r + c], 2.5f * angle[4 * r + c]);
                EXPECT_EQ(inverse[4 * r + c], angle[4 * c + r]);
            }
            EXPECT_EQ(full[4 * r + 3], origin[r]);
            EXPECT_EQ(scaled[4 * r + 3], origin[r]);
            EXPECT_EQ(angle[4 * r + 3], 0.0f);
            EXPECT_EQ(inverse[4 * r + 3], 0.0f);
        }
        const float lastRow[4] = {0, 0, 0, 1};
        EXPECT_EQ(std::memcmp(full + 12, lastRow, sizeof(lastRow)), 0);

        // Orthonormal with determinant +1.
        float rrt[9];
        const float r3[9] = {angle[0], angle[1], angle[2], angle[4], angle[5],
                             angle[6], angle[8], angle[9], angle[10]};
        const float r3t[9] = {r3[0], r3[3], r3[6], r3[1], r3[4], r3[7], r3[2], r3[5], r3[8]};
        K_MatrixMultiply3x3(r3, r3t, rrt);
        const float identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
        ExpectNear(rrt, identity, 9, 1e-5f);
        const float det = r3[0] * (r3[4] * r3[8] - r3[5] * r3[7]) - r3[1] * (r3[3] * r3[8] - r3[5] * r3[6]) +
                          r3[2] * (r3[3] * r3[7] - r3[4] * r3[6]);
        EXPECT_NEAR(det, 1.0f, 1e-5f);
    }
}

TEST(MatrixOrientation, RowsAndColumnsFromAxes) {
    const float f[3] = {1, 2, 3}, r[3] = {4, 5, 6}, u[3] = {7, 8, 9}, o[3] = {10, 11, 12};
    float m16[16], m12[12];
    K_BuildOrientationMatrix(f, r, u, o, m16);
    const float rows[16] = {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0, 10, 11, 12, 1};
    ExpectNear(m16, rows, 16, 0);
    K_BuildOrientationStudioMatrix(f, r, u, o, 2, m12);
    const float columns[12] = {2, 8, 14, 10, 4, 10, 16, 11, 6, 12, 18, 12};
    ExpectNear(m12, columns, 12, 0);
}

TEST(MatrixView, ZeroAnglesGoldenAndExtendedFormAgrees) {
    const float origin[3] = {1, 2, 3};
    float view[16], viewEx[16];
    K_BuildViewMatrix(0, 0, 0, origin, view);
    const float expected[16] = {0, 0, -1, 0, -1, 0, 0, 0, 0, 1, 0, 0, -2, 3, -1, 1};
    ExpectNear(view, expected, 16, 0);
    K_BuildViewMatrixEx(0, 0, 0, 0, 0, 0, origin, viewEx);
    ExpectNear(viewEx, expected, 16, 0);
}

TEST(MatrixView, ExtendedFormIsRigid) {
    const float origin[3] = {-4, 8, 0.5f};
    float m[16];
    K_BuildViewMatrixEx(10, 20, 30, 40, 50, 60, origin, m);
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(m[4 * r + 3], 0.0f);
        const float* row = m + 4 * r;
        EXPECT_NEAR(row[0] * row[0] + row[1] * row[1] + row[2] * row[2], 1.0f, 1e-5f);
    }
    EXPECT_EQ(m[15], 1.0f);
}

TEST(MatrixProducts, GoldenProducts) {
    const float a3[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9}, b3[9] = {0, 1, 0, 0, 0, 1, 1, 0, 0};
    float out3[9];
    K_MatrixMultiply3x3(a3, b3, out3);
    const float expected3[9] = {3, 1, 2, 6, 4, 5, 9, 7, 8};
    ExpectNear(out3, expected3, 9, 0);

    float a4[16], b4[16], out4[16];
    for (int i = 0; i < 16; ++i)
        a4[i] = float(i), b4[i] = float(i % 5) - 2;
    K_MatrixMultiply4x4(a4, b4, out4);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            float sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += a4[4 * r + k] * b4[4 * k + c];
            EXPECT_EQ(out4[4 * r + c], sum);
        }
}

TEST(MatrixProducts, ConcatAppliesRightThenLeft) {
    const float origin[3] = {1, 2, 3}, other[3] = {-7, 0, 4}, p[3] = {0.5f, -2, 9};
    float a[12], b[12], ab[12], viaB[3], twice[3], once[3];
    K_BuildTransformStudioMatrix(30, 10, -5, origin, 1, a);
    K_BuildTransformStudioMatrix(-60, 45, 90, other, 2, b);
    K_ConcatTransforms(a, b, ab);
    K_VectorTransform(p, b, viaB);
    K_VectorTransform(viaB, a, twice);
    K_VectorTransform(p, ab, once);
    ExpectNear(once, twice, 3, 1e-4f);
}

TEST(MatrixTranspose, SwapsRowsAndColumnsInPlaceToo) {
    float m[16];
    for (int i = 0; i < 16; ++i)
        m[i] = float(i);
    K_TransposeMatrix(m, m);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(m[4 * r + c], float(4 * c + r));
}

TEST(MatrixInverse, RigidInversesUndoTheTransform) {
    const float origin[3] = {10, -20, 30}, p[3] = {1, 2, 3};
    float m[12], inv16[16], inv12[12], moved[3], back[3];
    K_BuildTransformStudioMatrix(33, -12, 71, origin, 1, m);
    K_InverseMatrix(m, inv16);
    K_InverseStudioMatrix(m, inv12);
    EXPECT_EQ(std::memcmp(inv16, inv12, sizeof(inv12)), 0);
    const float lastRow[4] = {0, 0, 0, 1};
    EXPECT_EQ(std::memcmp(inv16 + 12, lastRow, sizeof(lastRow)), 0);

    K_VectorTransform(p, m, moved);
    K_VectorTransform(moved, inv12, back);
    ExpectNear(back, p, 3, 1e-4f);

    K_InverseStudioMatrix(m, m); // in place
    EXPECT_EQ(std::memcmp(m, inv12, sizeof(inv12)), 0);
}

TEST(MatrixInverse, FullInverseOfGeneralAndPivotingMatrices) {
    const float general[16] = {2, 0, 1, 3, 1, 4, 0, -1, 0, 2, 5, 1, 3, -1, 0, 2};
    // Zero diagonal: needs row exchanges.
    const float permutation[16] = {0, 1, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 1, 0};
    for (const float* src : {general, permutation}) {
        float inv[16], product[16], identity[16];
        ASSERT_TRUE(K_InverseMatrixFull(src, inv));
        K_MatrixMultiply4x4(src, inv, product);
        Identity4x4(identity);
        ExpectNear(product, identity, 16, 1e-5f);
    }
    float inv[16];
    ASSERT_TRUE(K_InverseMatrixFull(permutation, inv));
    float transposed[16];
    K_TransposeMatrix(permutation, transposed);
    ExpectNear(inv, transposed, 16, 0);
}

TEST(MatrixInverse, SingularMatricesLeaveDestinationAlone) {
    const float zeroRow[16] = {1, 2, 3, 4, 0, 0, 0, 0, 5, 6, 7, 8, 9, 1, 2, 3};
    const float dependent[16] = {1, 2, 3, 4, 2, 4, 6, 8, 0, 1, 0, 0, 0, 0, 1, 0};
    for (const float* src : {zeroRow, dependent}) {
        float dst[16];
        for (float& f : dst)
            f = 123.0f;
        EXPECT_FALSE(K_InverseMatrixFull(src, dst));
        for (float f : dst)
            EXPECT_EQ(f, 123.0f);
    }
}
