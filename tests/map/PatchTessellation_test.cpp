// Patch mesh: piece layout, Bezier evaluation, control-point normals, shades and bounds.
#include <gtest/gtest.h>

#include "map/MapPatch.h"

namespace {

// A flat patch in z = 0: columns advance along +x by 16, rows along +y by 8.
cMapPatch* makeFlatPatch(int columns, int rows) {
    cMapPatch* patch = Patch_Alloc(columns, rows)->handle;
    PatchRecord* r = patch->record;
    for (int c = 0; c < r->columns; ++c)
        for (int row = 0; row < r->rows; ++row) {
            r->points[c][row].xyz[0] = float(c * 16);
            r->points[c][row].xyz[1] = float(row * 8);
        }
    return patch;
}

} // namespace

struct PieceCase {
    int columns, rows;
    int pieces;
};

class PatchPieceTest : public ::testing::TestWithParam<PieceCase> {};

TEST_P(PatchPieceTest, MeshHas36VerticesAnd100IndicesPerPiece) {
    const PieceCase& c = GetParam();
    cMapPatch* patch = makeFlatPatch(c.columns, c.rows);
    patch->tessellate();
    const PatchRecord* r = patch->record;
    EXPECT_EQ(r->vertexCount, c.pieces * 36);
    EXPECT_EQ(r->indexCount, c.pieces * 100);
    ASSERT_NE(r->vertices, nullptr);
    ASSERT_NE(r->indices, nullptr);
    ASSERT_NE(r->shades, nullptr);
    ASSERT_NE(r->colors, nullptr);
    // Every index names a vertex of the mesh.
    for (int i = 0; i < r->indexCount; ++i)
        ASSERT_LT(r->indices[i], r->vertexCount);
    delete patch;
}

INSTANTIATE_TEST_SUITE_P(Table, PatchPieceTest,
                         ::testing::Values(PieceCase{3, 3, 1}, PieceCase{5, 3, 2}, PieceCase{3, 5, 2},
                                           PieceCase{9, 9, 16}, PieceCase{31, 31, 225}));

TEST(PatchTessellationTest, QuadsAndPiecesFollowTheFixedOrder) {
    cMapPatch* patch = makeFlatPatch(5, 3);
    patch->tessellate();
    const PatchRecord* r = patch->record;
    const uint16_t firstQuad[4] = {0, 6, 7, 1};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(r->indices[i], firstQuad[i]);
    // Second quad of the first piece: m = 1.
    EXPECT_EQ(r->indices[4], 1);
    // The second piece starts at vertex 36 and lies along the columns (x from 32 to 64).
    EXPECT_EQ(r->indices[100], 36);
    EXPECT_FLOAT_EQ(r->vertices[36].xyz[0], 32.0f);
    EXPECT_FLOAT_EQ(r->vertices[36 + 35].xyz[0], 64.0f);
    EXPECT_FLOAT_EQ(r->vertices[36 + 35].xyz[1], 16.0f);
    // Inner steps go along the rows (w), outer steps along the columns (u).
    EXPECT_FLOAT_EQ(r->vertices[1].xyz[1], 16.0f / 5.0f);
    EXPECT_FLOAT_EQ(r->vertices[6].xyz[0], 32.0f / 5.0f);
    delete patch;
}

TEST(PatchTessellationTest, PiecesAreQuadraticBezier) {
    PatchPoint points[3][3] = {};
    // A bump: the middle control point lifted by 4.
    for (int c = 0; c < 3; ++c)
        for (int k = 0; k < 3; ++k) {
            points[c][k].xyz[0] = float(c);
            points[c][k].xyz[1] = float(k);
            points[c][k].s = float(c) * 2.0f;
        }
    points[1][1].xyz[2] = 4.0f;
    PatchMeshVertex v;
    Patch_EvaluatePiece(&v, 0.5f, 0.5f, points);
    EXPECT_FLOAT_EQ(v.xyz[0], 1.0f);
    EXPECT_FLOAT_EQ(v.xyz[1], 1.0f);
    EXPECT_FLOAT_EQ(v.xyz[2], 1.0f); // 4 × 0.5 × 0.5
    EXPECT_FLOAT_EQ(v.s, 2.0f);
    Patch_EvaluatePiece(&v, 1.0f, 0.0f, points);
    EXPECT_FLOAT_EQ(v.xyz[0], 2.0f);
    EXPECT_FLOAT_EQ(v.xyz[2], 0.0f);
}

TEST(PatchTessellationTest, FlatPatchFacesUpWithFullShade) {
    cMapPatch* patch = makeFlatPatch(3, 3);
    patch->record->points[1][1].flags = 0x40; // other point flags are carried
    patch->update(BrushUpdate::TessellatePatch);
    const PatchRecord* r = patch->record;
    for (int c = 0; c < 3; ++c)
        for (int row = 0; row < 3; ++row) {
            const PatchPoint& p = r->points[c][row];
            EXPECT_FLOAT_EQ(p.normal[0], 0.0f);
            EXPECT_FLOAT_EQ(p.normal[1], 0.0f);
            EXPECT_FLOAT_EQ(p.normal[2], 1.0f);
            EXPECT_FALSE(p.flags & PatchPointFlags::NormalPending);
        }
    EXPECT_EQ(r->points[1][1].flags, 0x40);
    for (int v = 0; v < r->vertexCount; ++v)
        ASSERT_EQ(r->shades[v], 255);
    // Bounds and centre from the mesh; the update clears the needs-update flag.
    EXPECT_FLOAT_EQ(r->mins[0], 0.0f);
    EXPECT_FLOAT_EQ(r->maxs[0], 32.0f);
    EXPECT_FLOAT_EQ(r->maxs[1], 16.0f);
    EXPECT_FLOAT_EQ(patch->centre[0], 16.0f);
    EXPECT_FLOAT_EQ(patch->centre[1], 8.0f);
    EXPECT_FALSE(r->flags & PatchFlags::NeedsUpdate);
    delete patch;
}

TEST(PatchTessellationTest, DegeneratePatchGetsTheZeroTotal) {
    cMapPatch* patch = Patch_Alloc(3, 3)->handle;
    for (auto& column : patch->record->points)
        for (PatchPoint& p : column)
            p.normal[0] = 5.0f;
    patch->computeNormals();
    for (int c = 0; c < 3; ++c)
        for (int row = 0; row < 3; ++row) {
            const PatchPoint& p = patch->record->points[c][row];
            EXPECT_EQ(p.normal[0], 0.0f);
            EXPECT_EQ(p.normal[2], 0.0f);
            EXPECT_EQ(p.flags, 0);
        }
    delete patch;
}

TEST(PatchTessellationTest, PointWithoutAdjacentDirectionsBorrowsThePatchNormal) {
    // Corner (0, 0) and the far corner collapse onto the centre: the corner's diagonal finds
    // nothing, so no two adjacent directions pair up there and it takes the patch-wide normal.
    cMapPatch* patch = makeFlatPatch(3, 3);
    PatchRecord* r = patch->record;
    r->points[0][0] = r->points[1][1];
    r->points[2][2] = r->points[1][1];
    patch->computeNormals();
    const PatchPoint& corner = r->points[0][0];
    EXPECT_FALSE(corner.flags & PatchPointFlags::NormalPending);
    EXPECT_FLOAT_EQ(corner.normal[0], 0.0f);
    EXPECT_FLOAT_EQ(corner.normal[1], 0.0f);
    EXPECT_FLOAT_EQ(corner.normal[2], 1.0f);
    delete patch;
}

TEST(PatchTessellationTest, ClosedCylinderNormalsPointOutwardAcrossTheSeam) {
    // A square tube around the z axis: 5 columns going round (the last repeats the first),
    // 3 rows going up.
    const float ring[5][2] = {{64, 0}, {0, 64}, {-64, 0}, {0, -64}, {64, 0}};
    cMapPatch* patch = Patch_Alloc(5, 3)->handle;
    PatchRecord* r = patch->record;
    for (int c = 0; c < 5; ++c)
        for (int row = 0; row < 3; ++row) {
            r->points[c][row].xyz[0] = ring[c][0];
            r->points[c][row].xyz[1] = ring[c][1];
            r->points[c][row].xyz[2] = float(row * 32);
        }
    patch->computeNormals();
    // Columns turning counter-clockwise with rows going up face outward; on the seam, where the
    // neighbours wrap past the repeated line, both ends agree.
    for (int row = 0; row < 3; ++row) {
        EXPECT_NEAR(r->points[0][row].normal[0], 1.0f, 1e-6f);
        EXPECT_FLOAT_EQ(r->points[0][row].normal[0], r->points[4][row].normal[0]);
        EXPECT_NEAR(r->points[0][row].normal[1], r->points[4][row].normal[1], 1e-6f);
    }
    delete patch;
}

TEST(PatchTessellationTest, MeshArraysAreReusedWhileThePieceCountHolds) {
    cMapPatch* patch = makeFlatPatch(5, 5);
    patch->tessellate();
    const PatchMeshVertex* vertices = patch->record->vertices;
    patch->record->points[2][2].xyz[2] = 10.0f;
    patch->tessellate();
    EXPECT_EQ(patch->record->vertices, vertices);
    ASSERT_TRUE(patch->addLines(true, true));
    patch->tessellate();
    EXPECT_EQ(patch->record->vertexCount, 6 * 36);
    patch->freeMesh();
    EXPECT_EQ(patch->record->vertices, nullptr);
    delete patch;
}
