// Patch texture coordinates: shift, scale, rotation, natural mapping, fitting, face mapping.
#include <gtest/gtest.h>

#include <cmath>

#include "gamedata/TextureManager.h"
#include "map/MapFace.h"
#include "map/MapPatch.h"

namespace {

// A flat 3 × 3 patch (columns 64 apart along +x, rows 32 apart along +y) with a 64 × 32
// texture of its own and scales 1.
class PatchTextureTest : public ::testing::Test {
protected:
    void SetUp() override {
        texture.width = 64;
        texture.height = 32;
        patch = Patch_Alloc(3, 3)->handle;
        r = patch->record;
        r->texture = &texture;
        ++texture.refCount;
        r->texInfo.sScale = r->texInfo.tScale = 1.0f;
        for (int c = 0; c < 3; ++c)
            for (int row = 0; row < 3; ++row) {
                r->points[c][row].xyz[0] = float(c * 64);
                r->points[c][row].xyz[1] = float(row * 32);
                r->points[c][row].normal[2] = 1.0f;
            }
    }
    void TearDown() override {
        delete patch;
        EXPECT_EQ(texture.refCount, 0);
    }
    bool allFinite() const {
        for (int c = 0; c < 3; ++c)
            for (int row = 0; row < 3; ++row)
                if (!std::isfinite(r->points[c][row].s) || !std::isfinite(r->points[c][row].t)) return false;
        return std::isfinite(r->texInfo.sScale) && std::isfinite(r->texInfo.tScale);
    }

    ShaderRecord texture;
    cMapPatch* patch = nullptr;
    PatchRecord* r = nullptr;
};

} // namespace

struct NaturalCase {
    float rotation;
    float expectRotation;
    // s and t of points (2, 0) and (0, 2): one step of 64 along the columns is 1 repeat of s or
    // 2 of t; one step of 32 along the rows is 0.5 of s or 1 of t.
    float s20, t20, s02, t02;
};

class PatchNaturalTest : public PatchTextureTest, public ::testing::WithParamInterface<NaturalCase> {};

TEST_P(PatchNaturalTest, QuadrantDecidesWhichCoordinateFollowsTheColumns) {
    const NaturalCase& c = GetParam();
    r->texInfo.rotation = c.rotation;
    r->flags = 0;
    patch->naturalizeTexture();
    EXPECT_FLOAT_EQ(r->texInfo.rotation, c.expectRotation);
    EXPECT_TRUE(r->flags & PatchFlags::NeedsUpdate);
    EXPECT_FLOAT_EQ(r->points[0][0].s, 0.0f);
    EXPECT_FLOAT_EQ(r->points[0][0].t, 0.0f);
    EXPECT_FLOAT_EQ(r->points[2][0].s, c.s20);
    EXPECT_FLOAT_EQ(r->points[2][0].t, c.t20);
    EXPECT_FLOAT_EQ(r->points[0][2].s, c.s02);
    EXPECT_FLOAT_EQ(r->points[0][2].t, c.t02);
}

INSTANTIATE_TEST_SUITE_P(Quadrants, PatchNaturalTest,
                         ::testing::Values(NaturalCase{0, 0, 2, 0, 0, -2}, NaturalCase{400, 0, 2, 0, 0, -2},
                                           NaturalCase{44.999996f, 0, 2, 0, 0, -2},
                                           NaturalCase{90, 90, 0, 4, 1, 0},
                                           NaturalCase{180, 180, -2, 0, 0, 2},
                                           NaturalCase{270, 270, 0, -4, -1, 0},
                                           NaturalCase{-50, 270, 0, -4, -1, 0}));

TEST_F(PatchTextureTest, NaturalMappingAddsTheShifts) {
    r->texInfo.sShift = 16.0f; // a quarter of the width
    r->texInfo.tShift = 16.0f; // half the height
    patch->naturalizeTexture();
    EXPECT_FLOAT_EQ(r->points[0][0].s, 0.25f);
    EXPECT_FLOAT_EQ(r->points[0][0].t, 0.5f);
    EXPECT_FLOAT_EQ(r->points[1][1].s, 1.25f);
    EXPECT_FLOAT_EQ(r->points[1][1].t, -0.5f);
}

struct FitCase {
    float rotation;
    // s and t at the first and last column (row 0) and at the last row (column 0).
    float sFirst, tFirst, sLastColumn, tLastColumn, sLastRow, tLastRow;
};

class PatchFitTest : public PatchTextureTest, public ::testing::WithParamInterface<FitCase> {};

// Fit 2 repeats along s and 1 along t: s spans 2 and t spans 1 in every quadrant.
TEST_P(PatchFitTest, TwoRepeatsAlongSOneAlongT) {
    const FitCase& c = GetParam();
    r->texInfo.rotation = c.rotation;
    patch->fitTexture(2.0f, 1.0f);
    EXPECT_FLOAT_EQ(r->points[0][0].s, c.sFirst);
    EXPECT_FLOAT_EQ(r->points[0][0].t, c.tFirst);
    EXPECT_FLOAT_EQ(r->points[2][0].s, c.sLastColumn);
    EXPECT_FLOAT_EQ(r->points[2][0].t, c.tLastColumn);
    EXPECT_FLOAT_EQ(r->points[0][2].s, c.sLastRow);
    EXPECT_FLOAT_EQ(r->points[0][2].t, c.tLastRow);
    EXPECT_FLOAT_EQ(r->texInfo.sScale, 0.5f);
    EXPECT_FLOAT_EQ(r->texInfo.tScale, 1.0f);
    EXPECT_FLOAT_EQ(r->texInfo.rotation, c.rotation);
    EXPECT_TRUE(r->flags & PatchFlags::NeedsUpdate);
}

INSTANTIATE_TEST_SUITE_P(Quadrants, PatchFitTest,
                         ::testing::Values(FitCase{0, 0, 1, 2, 1, 0, 0}, FitCase{90, 0, 0, 0, 1, 2, 0},
                                           FitCase{180, 2, 0, 0, 0, 2, 1}, FitCase{270, 2, 1, 2, 0, 0, 1}));

TEST_F(PatchTextureTest, FitFollowsTheSpacingOfTheControlLines) {
    // Column 1 moves to x = 32: the first column gap is a quarter of the width (32 of 128).
    r->points[1][0].xyz[0] = r->points[1][1].xyz[0] = r->points[1][2].xyz[0] = 32.0f;
    patch->fitTexture(2.0f, 1.0f);
    EXPECT_FLOAT_EQ(r->points[1][1].s, 0.5f);
}

TEST_F(PatchTextureTest, ZeroRepeatsScalesAndSizesGiveFiniteResults) {
    patch->fitTexture(0.0f, NAN);
    EXPECT_TRUE(allFinite());
    r->texInfo.sScale = 0.0f;
    r->texInfo.tScale = 0.0f;
    patch->naturalizeTexture();
    EXPECT_TRUE(allFinite());
    patch->setTextureScale(0, 0.0f);
    patch->setTextureShift(1, 8.0f);
    texture.width = 0;
    patch->setTextureShift(0, 8.0f);
    EXPECT_TRUE(allFinite());
}

TEST_F(PatchTextureTest, ShiftScaleAndRotationMoveControlPointsAndMeshTogether) {
    patch->tessellate();
    const float meshS = r->vertices[7].s;
    patch->setTextureShift(0, 16.0f); // 16 of 64 texels
    EXPECT_FLOAT_EQ(r->points[1][1].s, 0.25f);
    EXPECT_FLOAT_EQ(r->vertices[7].s, meshS + 0.25f);
    EXPECT_FLOAT_EQ(r->texInfo.sShift, 16.0f);

    patch->setTextureScale(0, 0.5f); // coordinates double
    EXPECT_FLOAT_EQ(r->points[1][1].s, 0.5f);
    EXPECT_FLOAT_EQ(r->texInfo.sScale, 0.5f);

    r->points[1][1].s = 1.0f;
    r->points[1][1].t = 0.5f;
    patch->setTextureRotation(90.0f);
    EXPECT_NEAR(r->points[1][1].s, 0.5f, 1e-6f);
    EXPECT_NEAR(r->points[1][1].t, 1.0f, 1e-6f);
    EXPECT_FLOAT_EQ(r->texInfo.rotation, 90.0f);
}

TEST_F(PatchTextureTest, ShiftNeedsABoundTexture) {
    patch->releaseTexture();
    patch->setTextureShift(0, 16.0f);
    EXPECT_EQ(r->texInfo.sShift, 0.0f);
    EXPECT_EQ(r->points[1][1].s, 0.0f);
}

TEST_F(PatchTextureTest, FaceMappingShiftsByWholeRepeats) {
    // Points at x = 652.8, 704 and 755.2 under a floor face with S = +x, scale 1, on a 64-texel
    // texture: s spans 10.2 .. 11.8 and comes back as -0.8 .. 0.8.
    for (int row = 0; row < 3; ++row) {
        r->points[0][row].xyz[0] = 652.8f;
        r->points[1][row].xyz[0] = 704.0f;
        r->points[2][row].xyz[0] = 755.2f;
    }
    r->texInfo.sShift = 5.0f;
    r->texInfo.rotation = 30.0f;
    FaceRecord face{};
    face.normal[2] = 1.0f;
    face.texInfo.sAxis[0] = 1.0f;
    face.texInfo.tAxis[1] = -1.0f;
    face.texInfo.sScale = 1.0f;
    face.texInfo.tScale = 2.0f;
    patch->applyFaceTexture(&face);
    EXPECT_NEAR(r->points[0][0].s, -0.8f, 1e-4f);
    EXPECT_NEAR(r->points[1][0].s, 0.0f, 1e-4f);
    EXPECT_NEAR(r->points[2][0].s, 0.8f, 1e-4f);
    // t = -y / (2 × 32): 0, -0.5, -1 less floor(-0.5) come back as 1, 0.5, 0.
    EXPECT_NEAR(r->points[0][0].t, 1.0f, 1e-6f);
    EXPECT_NEAR(r->points[0][2].t, 0.0f, 1e-6f);
    EXPECT_EQ(r->texInfo.sShift, 0.0f);
    EXPECT_EQ(r->texInfo.rotation, 0.0f);
    EXPECT_EQ(r->texInfo.tScale, 2.0f);
    EXPECT_TRUE(r->flags & PatchFlags::NeedsUpdate);

    r->flags = 0;
    patch->applyFaceTexture(nullptr);
    EXPECT_EQ(r->flags, 0u);
}
