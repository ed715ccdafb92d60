// GL-order matrices: product, inverse and window-to-world unprojection.
#include "core/Matrix.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>

#include "kstdlib/kmath.h"

namespace {

using Mat = std::array<float, 16>;

constexpr Mat kIdentity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// Column order: translation in 12..14.
Mat translation(float x, float y, float z) {
    Mat m = kIdentity;
    m[12] = x;
    m[13] = y;
    m[14] = z;
    return m;
}

// The usual OpenGL perspective frustum.
Mat perspective(float fovYDegrees, float aspect, float zNear, float zFar) {
    const float f = 1.0f / std::tan(fovYDegrees * 3.14159265f / 360.0f);
    Mat m{};
    m[0] = f / aspect;
    m[5] = f;
    m[10] = (zFar + zNear) / (zNear - zFar);
    m[11] = -1.0f;
    m[14] = 2.0f * zFar * zNear / (zNear - zFar);
    return m;
}

// Where a world point lands in the window: (x, y, depth), as the GL pipeline computes it.
std::array<float, 3> project(const float p[3], const Mat& modelview, const Mat& projection, int w, int h) {
    Mat combined;
    Math_MatrixMultiply(combined.data(), projection.data(), modelview.data());
    float clip[4];
    for (int r = 0; r < 4; ++r)
        clip[r] = combined[r] * p[0] + combined[4 + r] * p[1] + combined[8 + r] * p[2] + combined[12 + r];
    return {(clip[0] / clip[3] + 1.0f) * 0.5f * w, (clip[1] / clip[3] + 1.0f) * 0.5f * h,
            (clip[2] / clip[3] + 1.0f) * 0.5f};
}

TEST(MatrixTest, MultiplyUsesColumnOrder) {
    // Translating then scaling: the product's translation column must be scaled.
    Mat scale = kIdentity;
    scale[0] = scale[5] = scale[10] = 2.0f;
    const Mat move = translation(1, 2, 3);
    Mat out;
    Math_MatrixMultiply(out.data(), scale.data(), move.data());
    EXPECT_FLOAT_EQ(out[12], 2.0f);
    EXPECT_FLOAT_EQ(out[13], 4.0f);
    EXPECT_FLOAT_EQ(out[14], 6.0f);
    EXPECT_FLOAT_EQ(out[0], 2.0f);
    EXPECT_FLOAT_EQ(out[15], 1.0f);
}

TEST(MatrixTest, InverseTimesMatrixIsIdentity) {
    const Mat cases[] = {
        translation(5, -7, 11),
        perspective(90.0f, 4.0f / 3.0f, 4.0f, 8192.0f),
        // Needs row exchanges: zero on the diagonal.
        {0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 2, 0, 0, 3, 0},
        {2, 1, 0, 0, 1, 3, 1, 0, 0, 1, 4, 0, 7, 8, 9, 1},
    };
    for (const Mat& m : cases) {
        Mat inv;
        ASSERT_TRUE(Math_MatrixInverse(m.data(), inv.data()));
        Mat product;
        Math_MatrixMultiply(product.data(), m.data(), inv.data());
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(product[i], kIdentity[i], 1e-4f) << "element " << i;
    }
}

TEST(MatrixTest, InverseTakesTheStepsOfTheLibraryInverse) {
    // Written row by row as the library takes them; the same elimination steps give the same bits
    // (this matrix tells the order of the back substitution apart).
    const Mat rowMajorCases[] = {
        {-7.30f, -4.68f, -7.00f, -9.97f, 5.18f, 5.61f, 2.63f, 3.99f, 8.52f, 5.64f, -4.47f, 6.27f, -8.38f,
         7.35f, -4.41f, -1.81f},
    };
    for (const Mat& rowMajor : rowMajorCases) {
        Mat m, libraryInverse, inverse;
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                m[4 * c + r] = rowMajor[4 * r + c];
        ASSERT_TRUE(K_InverseMatrixFull(rowMajor.data(), libraryInverse.data()));
        ASSERT_TRUE(Math_MatrixInverse(m.data(), inverse.data()));
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                EXPECT_EQ(inverse[4 * c + r], libraryInverse[4 * r + c]) << "row " << r << " column " << c;
    }
}

TEST(MatrixTest, SingularMatrixIsRefusedAndOutputUntouched) {
    Mat zeroRow = kIdentity;
    zeroRow[1] = zeroRow[5] = zeroRow[9] = zeroRow[13] = 0.0f; // row 1
    Mat twoEqualColumns = {1, 2, 3, 4, 1, 2, 3, 4, 0, 0, 1, 0, 0, 0, 0, 1};
    for (const Mat& m : {zeroRow, twoEqualColumns, Mat{}}) {
        Mat out;
        out.fill(42.0f);
        EXPECT_FALSE(Math_MatrixInverse(m.data(), out.data()));
        for (float v : out)
            EXPECT_EQ(v, 42.0f);
    }
}

struct UnProjectCase {
    const char* what;
    float winX, winY, winZ;
    Mat modelview;
    float expected[3];
};

TEST(MatrixTest, UnProjectTable) {
    const int w = 640, h = 480;
    const UnProjectCase cases[] = {
        {"centre of the window at mid depth", 320, 240, 0.5f, kIdentity, {0, 0, 0}},
        {"left edge maps to device -1", 0, 240, 0.5f, kIdentity, {-1, 0, 0}},
        {"right edge maps to device +1", 640, 240, 0.5f, kIdentity, {1, 0, 0}},
        {"bottom edge, near plane", 320, 0, 0.0f, kIdentity, {0, -1, -1}},
        {"top right, far plane", 640, 480, 1.0f, kIdentity, {1, 1, 1}},
        {"the view's translation is undone", 320, 240, 0.5f, translation(10, -20, 30), {-10, 20, -30}},
    };
    for (const UnProjectCase& c : cases) {
        float out[3] = {};
        ASSERT_TRUE(Math_UnProject(c.winX, c.winY, c.winZ, c.modelview.data(), kIdentity.data(), w, h, out))
            << c.what;
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(out[i], c.expected[i], 1e-5f) << c.what << ", axis " << i;
    }
}

TEST(MatrixTest, UnProjectInvertsPerspectiveProjection) {
    const int w = 800, h = 600;
    const Mat projection = perspective(90.0f, float(w) / float(h), 4.0f, 8192.0f);
    const Mat modelview = translation(-100.0f, 50.0f, -300.0f);
    const float points[][3] = {{0, 0, 0}, {120, -40, 64}, {-256, 128, -512}};
    for (const auto& p : points) {
        const auto win = project(p, modelview, projection, w, h);
        float out[3];
        ASSERT_TRUE(Math_UnProject(win[0], win[1], win[2], modelview.data(), projection.data(), w, h, out));
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(out[i], p[i], 0.05f) << "axis " << i;
    }
}

TEST(MatrixTest, UnProjectFailuresLeaveOutputUntouched) {
    Mat zeroRowProjection = kIdentity;
    zeroRowProjection[2] = zeroRowProjection[6] = zeroRowProjection[10] = zeroRowProjection[14] = 0.0f;
    // Swapping z and w: device depth 0 (window depth 0.5) comes back with w = 0, a point at infinity.
    Mat flatW = kIdentity;
    flatW[10] = flatW[15] = 0.0f;
    flatW[11] = flatW[14] = 1.0f;
    struct Case {
        const char* what;
        Mat projection;
        int w, h;
        float winZ;
    } cases[] = {
        {"projection with a zero row", zeroRowProjection, 640, 480, 0.5f},
        {"empty viewport", kIdentity, 0, 480, 0.5f},
        {"point at infinity", flatW, 640, 480, 0.5f},
    };
    for (const Case& c : cases) {
        float out[3] = {7, 8, 9};
        EXPECT_FALSE(Math_UnProject(320, 240, c.winZ, kIdentity.data(), c.projection.data(), c.w, c.h, out))
            << c.what;
        EXPECT_EQ(out[0], 7.0f) << c.what;
        EXPECT_EQ(out[1], 8.0f) << c.what;
        EXPECT_EQ(out[2], 9.0f) << c.what;
    }
}

} // namespace
