#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "BrushFixture.h"

namespace {

using MapFaceTest = BrushFixture;

void setPolygon(FaceRecord* face, std::initializer_list<std::array<float, 3>> points) {
    ASSERT_TRUE(face->handle->setVertexCount(int32_t(points.size())));
    int i = 0;
    for (const auto& p : points) {
        for (int a = 0; a < 3; ++a)
            face->vertices[i].xyz[a] = p[a];
        ++i;
    }
}

TEST_F(MapFaceTest, PrimitiveFollowsVertexCount) {
    struct Case {
        int count, primitive;
    } cases[] = {{3, FacePrimitive::Triangles}, {4, FacePrimitive::Quads}, {5, FacePrimitive::Polygon}};
    for (const Case& c : cases) {
        cMapFace face(c.count);
        EXPECT_EQ(face.glPrimitive, c.primitive) << c.count;
    }
}

// Faces add the light terms one by one onto 0.8; adding their sum instead (0.8 + n . L) ends
// one bit higher for this normal.
TEST(FaceShade, TermsAddLeftToRightAndCapAtOne) {
    const float slope[3] = {0, -0.6f, 0.8f};
    EXPECT_EQ(Face_ShadeForNormal(slope), 0x1.ebb3ep-1f);
    const float up[3] = {0, 0, 1};
    EXPECT_EQ(Face_ShadeForNormal(up), 1.0f);
}

TEST_F(MapFaceTest, ComputePlaneKeepsADirectlySetPlaneWithoutPolygon) {
    FaceRecord* face = Face_Alloc(0);
    face->normal[1] = 1;
    face->dist = 32;
    face->handle->computePlane();
    EXPECT_EQ(face->normal[1], 1.0f);
    EXPECT_EQ(face->dist, 32.0f);

    // Counter-clockwise seen from above: normal up.
    setPolygon(face, {{0, 0, 16}, {64, 0, 16}, {64, 64, 16}});
    face->handle->computePlane();
    EXPECT_FLOAT_EQ(face->normal[2], 1.0f);
    EXPECT_FLOAT_EQ(face->dist, 16.0f);
    EXPECT_EQ(face->axialType, 2);
    delete face->handle;
}

// A polygon squeezed onto a line or a point (a weld in progress) has no plane: the last one stays,
// never a zero or NaN normal.
TEST_F(MapFaceTest, ComputePlaneKeepsTheLastPlaneOfACollapsedPolygon) {
    FaceRecord* face = Face_Alloc(0);
    face->normal[0] = 1;
    face->dist = 64;
    setPolygon(face, {{8, 8, 0}, {8, 8, 0}, {8, 8, 64}, {8, 8, 64}});
    face->handle->computePlane();
    EXPECT_EQ(face->normal[0], 1.0f);
    EXPECT_EQ(face->dist, 64.0f);
    setPolygon(face, {{5, 5, 5}, {5, 5, 5}, {5, 5, 5}});
    face->handle->computePlane();
    EXPECT_EQ(face->normal[0], 1.0f);
    EXPECT_EQ(face->dist, 64.0f);
    delete face->handle;
}

TEST_F(MapFaceTest, PolygonVerticesSnapToIntegers) {
    const float mins[3] = {0, 0, 0}, maxs[3] = {64.004f, 64, 63.995f};
    BrushRecord* brush = makeBox(mins, maxs);
    for (const FaceRecord* f = brush->firstFace; f; f = f->next)
        for (int i = 0; i < f->vertexCount; ++i)
            for (int a = 0; a < 3; ++a)
                EXPECT_EQ(f->vertices[i].xyz[a], std::round(f->vertices[i].xyz[a]));
    EXPECT_EQ(brush->maxs[0], 64.0f);
    EXPECT_EQ(brush->maxs[2], 64.0f);
}

TEST_F(MapFaceTest, ClippedAwayFaceDeletesItself) {
    BrushRecord* brush = makeCube(0, 64);
    // A plane wholly outside the box: its polygon is clipped away at the update.
    FaceRecord* outside = addPlane(brush, {{1, 0, 0}, 200}, Test_TextureInfo());
    const int32_t id = outside->handle->id;
    brush->handle->update(0);
    EXPECT_EQ(faceCount(brush), 6);
    EXPECT_FALSE(Map_IsIdInUse(&t.world, id));
}

// A face narrower than the clip tolerance between two sides that nearly meet still bounds its
// brush: it stays, and the brush ends there. A plane that cuts nothing off, or only a corner
// lower than a tenth of a unit, goes.
TEST_F(MapFaceTest, ThinFaceStaysWhereItBoundsTheBrush) {
    // Sides y >= 0 and y <= 0.009 + 0.0013 (x - 64) meet at x = 57.08; the end x <= 64 is 0.009
    // units wide.
    const float slope = 0.0013f, width = 0.009f;
    const float length = std::sqrt(1 + slope * slope);
    const TestPlane wedge[5] = {{{0, 0, 1}, 8},
                                {{0, 0, -1}, 0},
                                {{0, -1, 0}, 0},
                                {{-slope / length, 1 / length, 0}, (width - slope * 64) / length},
                                {{1, 0, 0}, 64}};
    BrushRecord* brush = makeBrush(wedge, 5);
    EXPECT_EQ(faceCount(brush), 5);
    EXPECT_EQ(brush->maxs[0], 64.0f);
    EXPECT_GT(brush->mins[0], 57.0f);
    EXPECT_LT(brush->maxs[1], 1.0f);

    const float s = float(M_SQRT1_2);
    struct Case {
        const char* name;
        float dist; // of a plane across a box's +x +y edge, n . corner = 90.5097
    } cases[] = {{"corner 0.003 deep", 128 * s - 0.003f}, {"plane just outside", 128 * s + 0.005f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BrushRecord* box = makeCube(0, 64);
        addPlane(box, {{s, s, 0}, c.dist}, Test_TextureInfo());
        box->handle->update(0);
        EXPECT_EQ(faceCount(box), 6);
        EXPECT_EQ(box->maxs[0], 64.0f);
        Brush_Delete(t.handle(), box);
    }
}

TEST_F(MapFaceTest, Planarity) {
    FaceRecord* face = Face_Alloc(0);
    const char* message = nullptr;
    setPolygon(face, {{0, 0, 0}, {64, 0, 0}, {64, 64, 0}, {0, 64, 0}});
    EXPECT_TRUE(face->handle->isPlanar(&message));
    setPolygon(face, {{0, 0, 0}, {64, 0, 0}, {64, 64, 0}, {0, 64, 8}});
    EXPECT_FALSE(face->handle->isPlanar(&message));
    EXPECT_STREQ(message, "face is not planar");
    delete face->handle;
}

TEST_F(MapFaceTest, InsertAndReverseVertices) {
    FaceRecord* face = Face_Alloc(0);
    setPolygon(face, {{0, 0, 0}, {64, 0, 0}, {64, 64, 0}});
    face->flags = 0;
    const float mid[3] = {32, 0, 0};
    ASSERT_TRUE(face->handle->insertVertex(0, mid));
    EXPECT_EQ(face->vertexCount, 4);
    EXPECT_EQ(face->vertices[1].xyz[0], 32.0f);
    EXPECT_EQ(face->vertices[1].flags, FaceVertexFlags::Inserted);
    EXPECT_EQ(face->vertices[2].xyz[0], 64.0f);
    EXPECT_EQ(face->handle->glPrimitive, FacePrimitive::Quads);
    EXPECT_TRUE(face->flags & FaceFlags::NeedsUpdate);
    const float bad[3] = {0, 0, 0};
    EXPECT_FALSE(face->handle->insertVertex(4, bad));

    face->handle->reverseVertices();
    EXPECT_EQ(face->vertices[0].xyz[1], 64.0f);
    EXPECT_EQ(face->vertices[2].flags, FaceVertexFlags::Inserted);

    // Small polygons keep their vertices in the handle; a fifth vertex moves them to a block of
    // their own and a smaller count brings them back, with nothing lost on the way.
    EXPECT_EQ(face->handle->separateVertexBytes(), 0u);
    const float last[3] = {0, 32, 0};
    ASSERT_TRUE(face->handle->insertVertex(3, last));
    ASSERT_EQ(face->vertexCount, 5);
    const float xs[5] = {64, 64, 32, 0, 0}, ys[5] = {64, 0, 0, 0, 32};
    for (int32_t i = 0; i < 5; ++i) {
        EXPECT_EQ(face->vertices[i].xyz[0], xs[i]) << i;
        EXPECT_EQ(face->vertices[i].xyz[1], ys[i]) << i;
    }
    EXPECT_EQ(face->vertices[4].flags, FaceVertexFlags::Inserted);
    EXPECT_EQ(face->handle->separateVertexBytes(), 5 * sizeof(FaceVertex));
    ASSERT_TRUE(face->handle->setVertexCount(4));
    EXPECT_EQ(face->handle->separateVertexBytes(), 0u);
    EXPECT_EQ(face->vertices[3].xyz[0], 0.0f);
    EXPECT_EQ(face->vertices[0].flags, 0);
    delete face->handle;
}

} // namespace
