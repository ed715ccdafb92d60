// Decal projection: which faces take a fragment, clipping to the decal square, the fragment
// pool, lazy invalidation and unlinking.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <vector>

#include "BrushFixture.h"
#include "ConsoleCapture.h"
#include "gamedata/TextureManager.h"
#include "map/Decal.h"
#include "map/MapEntity.h"

namespace {

// A bare decal entity (as an importer leaves one) with a 64 × 64 decal texture, over a cube
// from -64 to 64.
class DecalTest : public BrushFixture {
protected:
    void SetUp() override {
        texture.width = texture.height = 64;
        model.entry = &texture;
        decal.flags = EntityFlag::Point;
        decal.modelKind = EntityModelKind::Decal;
        decal.model = &model;
        decal.owner = t.handle();
        List_Append(t.world.entities, t.world.entitiesTail, &decal);
        cube = makeCube(-64, 64);
    }
    void TearDown() override { Decal_FreeFragments(&model); }

    // Moves the decal; its bounds follow as the entity's update sets them.
    void placeDecal(float x, float y, float z) {
        const float origin[3] = {x, y, z};
        for (int i = 0; i < 3; ++i) {
            decal.origin[i] = origin[i];
            model.mins[i] = origin[i] - 32.0f;
            model.maxs[i] = origin[i] + 32.0f;
        }
    }
    std::vector<DecalFragment*> fragments() const {
        std::vector<DecalFragment*> out;
        for (auto* f = static_cast<DecalFragment*>(model.fragments); f; f = f->next)
            out.push_back(f);
        return out;
    }
    static int brushFragmentCount(const BrushRecord* b) {
        int n = 0;
        for (const DecalFragment* f = b->decalFragments; f; f = f->nextInBrush)
            ++n;
        return n;
    }

    ShaderRecord texture;
    EntityModel model{};
    EntityRecord decal{};
    BrushRecord* cube = nullptr;
};

// A face record of the given polygon, with the plane, bounds and texture axes a face update
// would give a floor (S +x, T -y).
struct TestFace {
    explicit TestFace(const std::vector<std::array<float, 3>>& points) : vertices(points.size()) {
        record.vertexCount = int32_t(points.size());
        record.vertices = vertices.data();
        for (size_t i = 0; i < points.size(); ++i)
            for (int k = 0; k < 3; ++k)
                vertices[i].xyz[k] = points[i][k];
        record.normal[2] = 1.0f;
        record.texInfo.sAxis[0] = 1.0f;
        record.texInfo.tAxis[1] = -1.0f;
        record.texInfo.sScale = record.texInfo.tScale = 1.0f;
    }
    std::vector<FaceVertex> vertices;
    FaceRecord record{};
};

std::vector<std::array<float, 3>> regularPolygon(int count, float radius) {
    std::vector<std::array<float, 3>> points;
    for (int i = 0; i < count; ++i) {
        const float a = 6.2831855f * float(i) / float(count);
        points.push_back({radius * std::cos(a), radius * std::sin(a), 0.0f});
    }
    return points;
}

} // namespace

struct DistanceCase {
    float height; // of the decal's centre above the top face
    bool projects;
};

class DecalDistanceTest : public DecalTest, public ::testing::WithParamInterface<DistanceCase> {};

TEST_P(DecalDistanceTest, FacesCloseBehindTheCentreTakeAFragment) {
    placeDecal(0, 0, 64 + GetParam().height);
    Decal_Project(&decal, &model);
    EXPECT_EQ(fragments().size(), GetParam().projects ? 1u : 0u);
    EXPECT_EQ(brushFragmentCount(cube), GetParam().projects ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Table, DecalDistanceTest,
                         ::testing::Values(DistanceCase{3.9f, true}, DistanceCase{4.0f, false},
                                           DistanceCase{-0.00005f, true}, DistanceCase{-0.001f, false},
                                           DistanceCase{0.0f, true}));

TEST_F(DecalTest, LargeFaceGivesOneQuadCoveringTheWholeTexture) {
    placeDecal(8, -8, 66);
    Decal_Project(&decal, &model);
    const std::vector<DecalFragment*> list = fragments();
    ASSERT_EQ(list.size(), 1u);
    const DecalFragment* f = list[0];
    EXPECT_EQ(f->entity, &decal);
    EXPECT_EQ(f->brush, cube);
    EXPECT_EQ(cube->decalFragments, f);
    EXPECT_EQ(f->vertexCount, 4);
    EXPECT_EQ(f->primitive, DecalPrimitive::Quads);
    EXPECT_EQ(f->normal[2], 1.0f);
    for (int i = 0; i < f->vertexCount; ++i) {
        const DecalVertex& v = f->vertices[i];
        EXPECT_TRUE(v.s == 0.0f || v.s == 1.0f) << v.s;
        EXPECT_TRUE(v.t == 0.0f || v.t == 1.0f) << v.t;
        EXPECT_FLOAT_EQ(v.xyz[2], 64.1f);
        // s runs with x from the square's left edge, t against y (T is -y).
        EXPECT_NEAR(v.xyz[0], 8 - 32 + v.s * 64, 1e-3f);
        EXPECT_NEAR(v.xyz[1], -8 + 32 - v.t * 64, 1e-3f);
    }
}

TEST_F(DecalTest, ClippingKeepsThePartInsideTheSquare) {
    // A triangle half inside: the corner beyond s = 1 is cut off, leaving a quad.
    TestFace face({{-16, 16, 0}, {64, 0, 0}, {-16, -16, 0}});
    DecalFragment fragment{};
    const float centre[3] = {0, 0, 1};
    ASSERT_EQ(Decal_ClipToFace(&model, &face.record, centre, &fragment), 4);
    EXPECT_EQ(fragment.primitive, DecalPrimitive::Quads);
    int onEdge = 0;
    for (int i = 0; i < 4; ++i) {
        const DecalVertex& v = fragment.vertices[i];
        EXPECT_GE(v.s, 0.0f);
        EXPECT_LE(v.s, 1.0f);
        if (v.s == 1.0f) {
            ++onEdge;
            EXPECT_FLOAT_EQ(v.xyz[0], 32.0f);
        }
    }
    EXPECT_EQ(onEdge, 2);
}

TEST_F(DecalTest, FaceOnTheSquaresEdgeYieldsNothing) {
    // Every vertex at x = -32, i.e. s = 0 for a decal centred on the origin: a wall face.
    TestFace face({{-32, 16, 0}, {-32, -16, 0}, {-32, -16, 32}});
    face.record.normal[2] = 0.0f;
    face.record.normal[0] = 1.0f;
    DecalFragment fragment{};
    const float centre[3] = {0, 0, 0};
    EXPECT_EQ(Decal_ClipToFace(&model, &face.record, centre, &fragment), 0);
    EXPECT_EQ(fragment.vertexCount, 0);
}

TEST_F(DecalTest, FragmentHoldsAFaceOf128VerticesCutOnAllFourSides) {
    // A 128-gon of radius 40 sticks out of the 64-unit square on every side.
    TestFace face(regularPolygon(128, 40.0f));
    auto fragment = std::make_unique<DecalFragment>();
    const float centre[3] = {0, 0, 0};
    const int n = Decal_ClipToFace(&model, &face.record, centre, fragment.get());
    EXPECT_GT(n, 4);
    EXPECT_LE(n, kDecalMaxVertices);
    EXPECT_EQ(fragment->primitive, DecalPrimitive::Polygon);
    for (int i = 0; i < n; ++i) {
        EXPECT_GE(fragment->vertices[i].s, 0.0f);
        EXPECT_LE(fragment->vertices[i].s, 1.0f);
        EXPECT_GE(fragment->vertices[i].t, 0.0f);
        EXPECT_LE(fragment->vertices[i].t, 1.0f);
    }
    // One more vertex than a fragment is built for: refused before clipping.
    TestFace tooLarge(regularPolygon(129, 40.0f));
    cConsoleCapture console;
    EXPECT_EQ(Decal_ClipToFace(&model, &tooLarge.record, centre, fragment.get()), 0);
    EXPECT_EQ(console.lines.size(), 1);
}

TEST_F(DecalTest, ExcludedTexturesTakeNoFragment) {
    ShaderRecord excluded;
    excluded.category = kTextureCategoryNoDecal;
    FaceRecord* top = nullptr;
    for (FaceRecord* f = cube->firstFace; f; f = f->next)
        if (f->normal[2] == 1.0f) top = f;
    ASSERT_NE(top, nullptr);
    ShaderRecord* own = top->texture;
    top->texture = &excluded;
    placeDecal(0, 0, 66);
    Decal_Project(&decal, &model);
    EXPECT_TRUE(fragments().empty());
    top->texture = own;
}

TEST_F(DecalTest, MovedBrushMarksTheDecalAndFragmentsWaitUntilAsked) {
    placeDecal(0, 0, 66);
    Decal_Project(&decal, &model);
    const std::vector<DecalFragment*> before = fragments();
    ASSERT_EQ(before.size(), 1u);
    EXPECT_FLOAT_EQ(before[0]->vertices[0].xyz[2], 64.1f);

    cube->handle->offsetPlanes(1.0f); // the top face rises to 65
    Decal_InvalidateAroundBrush(cube);
    EXPECT_TRUE(decal.flags & EntityFlag::ReprojectDecal);
    // Nothing is rebuilt yet.
    EXPECT_EQ(fragments(), before);
    EXPECT_FLOAT_EQ(before[0]->vertices[0].xyz[2], 64.1f);

    decal.flags &= ~EntityFlag::ReprojectDecal;
    Decal_Project(&decal, &model);
    ASSERT_EQ(fragments().size(), 1u);
    EXPECT_FLOAT_EQ(fragments()[0]->vertices[0].xyz[2], 65.1f);
    EXPECT_EQ(brushFragmentCount(cube), 1);
}

TEST_F(DecalTest, InvalidationReachesDecalsWhoseBoundsTouchTheBrush) {
    placeDecal(0, 0, 96 + 31.9f); // bounds reach down to z = 95.9, no fragment
    Decal_Project(&decal, &model);
    ASSERT_TRUE(fragments().empty());
    const float mins[3] = {-16, -16, 64}, maxs[3] = {16, 16, 96};
    BrushRecord* box = makeBox(mins, maxs);
    Decal_InvalidateAroundBrush(box);
    EXPECT_TRUE(decal.flags & EntityFlag::ReprojectDecal);
    decal.flags = 0;
    Decal_InvalidateAroundBrush(cube); // too far below
    EXPECT_FALSE(decal.flags & EntityFlag::ReprojectDecal);
    Decal_InvalidateAroundBrush(nullptr);
}

TEST_F(DecalTest, FragmentsAreRecycledThroughThePool) {
    placeDecal(0, 0, 66);
    Decal_Project(&decal, &model);
    Decal_FreeFragments(&model);
    EXPECT_EQ(model.fragments, nullptr);
    EXPECT_EQ(cube->decalFragments, nullptr);
    const int pooled = Decal_PooledCount();
    ASSERT_GE(pooled, 1);
    Decal_Project(&decal, &model);
    EXPECT_EQ(Decal_PooledCount(), pooled - 1);
    // Freeing the pool leaves the decal's own fragments alone.
    Decal_FreePool();
    EXPECT_EQ(Decal_PooledCount(), 0);
    EXPECT_FALSE(fragments().empty());
}

TEST_F(DecalTest, FragmentMissingFromItsBrushIsReportedAndStillPooled) {
    placeDecal(0, 0, 66);
    Decal_Project(&decal, &model);
    ASSERT_EQ(brushFragmentCount(cube), 1);
    cube->decalFragments = nullptr; // lost by someone else
    const int pooled = Decal_PooledCount();
    cConsoleCapture console;
    Decal_FreeFragments(&model);
    EXPECT_TRUE(console.contains("Decal_UnlinkFragment: fragment not linked"));
    EXPECT_EQ(Decal_PooledCount(), pooled + 1);
}

TEST_F(DecalTest, DestroyingABrushLeavesNoDanglingFragment) {
    placeDecal(0, 0, 66);
    Decal_Project(&decal, &model);
    ASSERT_EQ(fragments().size(), 1u);
    decal.flags = 0;
    Brush_Delete(t.handle(), cube);
    cube = nullptr;
    EXPECT_TRUE(decal.flags & EntityFlag::ReprojectDecal);
    EXPECT_EQ(fragments()[0]->brush, nullptr);
    // Re-projection returns the stale fragment without touching the freed brush.
    Decal_Project(&decal, &model);
    EXPECT_TRUE(fragments().empty());
}
