// Overlays: placement on faces, plane and update, texture rotation, face mapping and flips.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "BrushFixture.h"
#include "ConsoleCapture.h"
#include "document/MapWorld.h"
#include "document/UndoSnapshot.h"
#include "gamedata/TextureManager.h"
#include "map/Decal.h"
#include "map/MapOverlay.h"
#include "core/Vector.h"

namespace {

constexpr const char* kMissedFace = "overlay didn't hit a valid face!";

class OverlayTest : public BrushFixture {
protected:
    void SetUp() override {
        texture.width = 64;
        texture.height = 32;
        carrier = Brush_Create(t.handle(), &t.worldspawn);
        const TextureInfo info = Test_TextureInfo("decals/poster");
        overlay = Overlay_Create(carrier, &info);
        // A 64 × 32 texture of the test's own in place of the placeholder.
        overlay->handle->releaseTexture();
        overlay->texture = &texture;
        ++texture.refCount;
    }
    // The texture is the fixture's: let go of it before the world takes the overlay down.
    void TearDown() override {
        if (carrier->overlay) carrier->overlay->handle->releaseTexture();
    }

    // Places the overlay at point, looking from straight above it.
    bool placeFromAbove(float x, float y, float z) {
        const float point[3] = {x, y, z};
        const float eye[3] = {x, y, z + 100.0f};
        return overlay->handle->placeOnFace(point, eye);
    }

    ShaderRecord texture;
    BrushRecord* carrier = nullptr;
    OverlayRecord* overlay = nullptr;
};

void expectVec(const float v[3], float x, float y, float z) {
    EXPECT_NEAR(v[0], x, 1e-4f);
    EXPECT_NEAR(v[1], y, 1e-4f);
    EXPECT_NEAR(v[2], z, 1e-4f);
}

} // namespace

TEST_F(OverlayTest, CreateAndDeleteTieTheOverlayToItsBrush) {
    EXPECT_EQ(carrier->kind, BrushKind::Overlay);
    EXPECT_EQ(carrier->overlay, overlay);
    EXPECT_EQ(overlay->brush, carrier);
    EXPECT_TRUE(overlay->flags & OverlayFlags::NeedsUpdate);
    EXPECT_EQ(overlay->handle->shade, 1.0f);
    Overlay_Delete(overlay);
    EXPECT_EQ(carrier->kind, BrushKind::Solid);
    EXPECT_EQ(carrier->overlay, nullptr);
    EXPECT_EQ(texture.refCount, 0);
    // Without a brush nothing would own the overlay.
    EXPECT_EQ(Overlay_Create(nullptr, nullptr), nullptr);
}

struct PlacementCase {
    float height; // above the top face of the cube
    bool hits;
};

class OverlayPlacementTest : public OverlayTest, public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(OverlayPlacementTest, PointMustLieWithinHalfAUnitOfTheFace) {
    const PlacementCase& c = GetParam();
    makeCube(-64, 64);
    cConsoleCapture console;
    EXPECT_EQ(placeFromAbove(0, 0, 64 + c.height), c.hits);
    EXPECT_EQ(console.contains(kMissedFace), !c.hits);
    expectVec(overlay->normal, 0, 0, 1);
    // On the face the foot point is on the plane; without a face the overlay lies at the point.
    const float z = c.hits ? 64.0f : 64.0f + c.height;
    EXPECT_NEAR(overlay->dist, z, 1e-4f);
    EXPECT_EQ(overlay->planeType, 2);
    for (const OverlayCorner& corner : overlay->corners)
        EXPECT_NEAR(corner.xyz[2], z, 1e-4f);
}

INSTANTIATE_TEST_SUITE_P(Table, OverlayPlacementTest,
                         ::testing::Values(PlacementCase{0.0f, true}, PlacementCase{0.5f, true},
                                           PlacementCase{-0.49f, true}, PlacementCase{0.51f, false},
                                           PlacementCase{-0.5f, false}));

TEST_F(OverlayTest, PlacementMakesATextureSizedQuadAroundTheFootPoint) {
    makeCube(-64, 64);
    overlay->texInfo.sShift = 7.0f;
    overlay->texInfo.rotation = 30.0f;
    overlay->texInfo.sScale = 3.0f;
    ASSERT_TRUE(placeFromAbove(8, 4, 64.25f));
    // The floor's axes S (1, 0, 0), T (0, -1, 0) face away from the normal: S turns to -x.
    const OverlayCorner* c = overlay->corners;
    expectVec(c[0].xyz, 8 + 32, 4 + 16, 64);
    expectVec(c[1].xyz, 8 - 32, 4 + 16, 64);
    expectVec(c[2].xyz, 8 - 32, 4 - 16, 64);
    expectVec(c[3].xyz, 8 + 32, 4 - 16, 64);
    const float st[4][2] = {{1, 0}, {0, 0}, {0, 1}, {1, 1}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(c[i].s, st[i][0]);
        EXPECT_EQ(c[i].t, st[i][1]);
    }
    EXPECT_EQ(overlay->texInfo.sShift, 0.0f);
    EXPECT_EQ(overlay->texInfo.rotation, 0.0f);
    EXPECT_EQ(overlay->texInfo.sScale, 1.0f);
}

TEST_F(OverlayTest, FacesLookingAwayOrExcludedAreSkipped) {
    BrushRecord* cube = makeCube(-64, 64);
    cConsoleCapture console;
    // The top face, seen from below, looks away.
    const float point[3] = {0, 0, 64.25f};
    const float below[3] = {0, 0, -500};
    EXPECT_FALSE(overlay->handle->placeOnFace(point, below));
    EXPECT_TRUE(console.contains(kMissedFace));

    // A texture that keeps decals and overlays off.
    ShaderRecord excluded;
    excluded.category = kTextureCategoryNoDecal;
    std::vector<ShaderRecord*> saved;
    for (FaceRecord* f = cube->firstFace; f; f = f->next) {
        saved.push_back(f->texture);
        f->texture = &excluded;
    }
    EXPECT_FALSE(placeFromAbove(0, 0, 64.25f));
    int i = 0;
    for (FaceRecord* f = cube->firstFace; f; f = f->next)
        f->texture = saved[i++];
    EXPECT_TRUE(placeFromAbove(0, 0, 64.25f));
}

TEST_F(OverlayTest, AmongFacesAtTheSameDistanceTheFirstIsKept) {
    const float firstMins[3] = {-64, -64, -64}, firstMaxs[3] = {64, 64, 64};
    const float secondMins[3] = {64, -64, -64}, secondMaxs[3] = {192, 64, 64};
    makeBox(firstMins, firstMaxs);
    BrushRecord* second = makeBox(secondMins, secondMaxs);
    // Tell the two top faces apart by their texture axes.
    for (FaceRecord* f = second->firstFace; f; f = f->next) {
        if (f->normal[2] != 1.0f) continue;
        Vec_Set(f->texInfo.sAxis, 0, 1, 0);
        Vec_Set(f->texInfo.tAxis, 1, 0, 0);
    }
    ASSERT_TRUE(placeFromAbove(60, 0, 64.5f));
    // The first cube's floor axes: S turned to -x, so corner 1 lies at -x from corner 0.
    EXPECT_NEAR(overlay->corners[1].xyz[0] - overlay->corners[0].xyz[0], -64.0f, 1e-4f);
    EXPECT_NEAR(overlay->corners[1].xyz[1] - overlay->corners[0].xyz[1], 0.0f, 1e-4f);
}

TEST_F(OverlayTest, UpdateComputesPlaneBoundsShadeAndCentre) {
    makeCube(-64, 64);
    ASSERT_TRUE(placeFromAbove(0, 0, 64));
    Vec_Set(overlay->normal, 0, 0, 0);
    overlay->dist = 0;
    overlay->handle->update(OverlayUpdate::Geometry);
    expectVec(overlay->normal, 0, 0, 1);
    EXPECT_FLOAT_EQ(overlay->dist, 64.0f);
    expectVec(overlay->mins, -32, -16, 64);
    expectVec(overlay->maxs, 32, 16, 64);
    expectVec(overlay->handle->centre, 0, 0, 64);
    EXPECT_FLOAT_EQ(overlay->handle->shade, 1.0f); // 0.8 + 0.40089184, capped
    EXPECT_FALSE(overlay->flags & OverlayFlags::NeedsUpdate);
}

TEST_F(OverlayTest, BrushUpdateRunsTheOverlayUpdateAndEnclosesItsCorners) {
    makeCube(-64, 64);
    ASSERT_TRUE(placeFromAbove(0, 0, 64));
    Vec_Set(overlay->normal, 0, 0, 0);
    carrier->handle->update(FaceUpdate::Plane);
    expectVec(overlay->normal, 0, 0, 1);
    EXPECT_FALSE(overlay->flags & OverlayFlags::NeedsUpdate);
    // A flat quad: z is widened to one unit.
    expectVec(carrier->mins, -32, -16, 63.5f);
    expectVec(carrier->maxs, 32, 16, 64.5f);
    expectVec(carrier->handle->centre, 0, 0, 64);
}

class OverlayCarryTest;

// Each way of duplicating a brush, giving an updated brush linked to the world entity.
struct CarryCase {
    const char* name;
    BrushRecord* (*duplicate)(OverlayCarryTest* test, BrushRecord* brush);
};
void PrintTo(const CarryCase& c, std::ostream* os) {
    *os << c.name;
}

class OverlayCarryTest : public OverlayTest, public ::testing::WithParamInterface<CarryCase> {
public:
    BrushRecord* linked(BrushRecord* b, uint32_t updateFlags) {
        Map_LinkBrush(&t.world, b, &t.worldspawn);
        b->handle->update(updateFlags);
        return b;
    }
};

TEST_P(OverlayCarryTest, DuplicatesCarryTheOverlay) {
    makeCube(-64, 64);
    ASSERT_TRUE(placeFromAbove(8, 4, 64));
    overlay->corners[0].s = 0.25f;
    overlay->corners[2].reserved = 3.0f;
    carrier->handle->update(0);

    BrushRecord* made = GetParam().duplicate(this, carrier);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->kind, BrushKind::Overlay);
    const OverlayRecord* o = made->overlay;
    ASSERT_NE(o, nullptr);
    EXPECT_NE(o, overlay);
    EXPECT_EQ(o->brush, made);
    EXPECT_EQ(std::memcmp(o->corners, overlay->corners, sizeof o->corners), 0);
    expectVec(o->normal, 0, 0, 1);
    EXPECT_FLOAT_EQ(o->dist, overlay->dist);
    EXPECT_STREQ(o->texInfo.name, "decals/poster");
    EXPECT_NE(o->texture, nullptr);
    EXPECT_FALSE(o->flags & OverlayFlags::NeedsUpdate);
    expectVec(made->mins, carrier->mins[0], carrier->mins[1], carrier->mins[2]);
    expectVec(made->maxs, carrier->maxs[0], carrier->maxs[1], carrier->maxs[2]);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, OverlayCarryTest,
    ::testing::Values(
        CarryCase{"Clone", [](OverlayCarryTest*, BrushRecord* b) { return b->handle->cloneInto(b->entity); }},
        CarryCase{"CopyAndRebuild",
                  [](OverlayCarryTest* test, BrushRecord* b) {
                      BrushRecord* copy = b->handle->copyData();
                      EXPECT_EQ(copy->overlay->brush, copy);
                      BrushRecord* rebuilt = Brush_CreateFromCopy(copy);
                      Brush_FreeCopy(copy);
                      return test->linked(rebuilt, 0);
                  }},
        CarryCase{"Snapshot",
                  [](OverlayCarryTest* test, BrushRecord* b) {
                      OverlaySnapshot os{};
                      os.flags = b->overlay->flags;
                      os.texInfo = b->overlay->texInfo;
                      os.withGeometry = true;
                      std::memcpy(os.corners, b->overlay->corners, sizeof os.corners);
                      const BrushSnapshot snap = {
                          77, BrushKind::Overlay, 0, Color_FromBytes(1, 2, 3, 255), 0, nullptr, nullptr, &os};
                      BrushRecord* restored = Brush_CreateFromSnapshot(&snap);
                      EXPECT_EQ(restored->serial, 77);
                      return test->linked(restored, FaceUpdate::Plane);
                  }}),
    [](const ::testing::TestParamInfo<CarryCase>& info) { return std::string(info.param.name); });

TEST_F(OverlayTest, DegenerateCornersLeaveAZeroPlane) {
    for (OverlayCorner& c : overlay->corners)
        Vec_Set(c.xyz, 5, 5, 5);
    overlay->handle->computePlane();
    expectVec(overlay->normal, 0, 0, 0);
    EXPECT_EQ(overlay->dist, 0.0f);
    EXPECT_EQ(overlay->planeType, 3);
}

struct RotationCase {
    float sShift, tShift, sScale, degrees;
    float s0, t0; // corner 0 afterwards (it starts at (1, 0))
};

class OverlayRotationTest : public OverlayTest, public ::testing::WithParamInterface<RotationCase> {};

TEST_P(OverlayRotationTest, RotationTurnsCornersOrRestoresTheShiftedSquare) {
    const RotationCase& c = GetParam();
    makeCube(-64, 64);
    ASSERT_TRUE(placeFromAbove(0, 0, 64));
    overlay->texInfo.sShift = c.sShift;
    overlay->texInfo.tShift = c.tShift;
    overlay->texInfo.sScale = c.sScale;
    overlay->handle->setTextureRotation(c.degrees);
    EXPECT_NEAR(overlay->corners[0].s, c.s0, 1e-5f);
    EXPECT_NEAR(overlay->corners[0].t, c.t0, 1e-5f);
    EXPECT_EQ(overlay->texInfo.rotation, c.degrees);
    for (const OverlayCorner& corner : overlay->corners) {
        EXPECT_TRUE(std::isfinite(corner.s));
        EXPECT_TRUE(std::isfinite(corner.t));
    }
}

INSTANTIATE_TEST_SUITE_P(Table, OverlayRotationTest,
                         ::testing::Values(RotationCase{0, 0, 1, 90, 1,
                                                        1}, // (1, 0) turns about the centre to (1, 1)
                                           RotationCase{0, 0, 1, 180, 0, 1},    //
                                           RotationCase{16, 0, 1, 0, 1.25f, 0}, // 16 of 64 texels: s + 0.25
                                           RotationCase{0, 8, 1, 0, 1, 0.25f},  // 8 of 32 texels: t + 0.25
                                           RotationCase{0, 0, 2, 0, 0.5f, 0},   // scale 2 halves s
                                           RotationCase{16, 0, 0, 0, 1.25f, 0}  // a zero scale counts as 1
                                           ));

TEST_F(OverlayTest, FlipExchangesCornersOneAndThree) {
    makeCube(-64, 64);
    ASSERT_TRUE(placeFromAbove(0, 0, 64));
    overlay->corners[1].reserved = 7.0f;
    const OverlayCorner one = overlay->corners[1];
    const OverlayCorner three = overlay->corners[3];
    overlay->handle->flipCorners();
    EXPECT_EQ(std::memcmp(&overlay->corners[1], &three, sizeof three), 0);
    EXPECT_EQ(std::memcmp(&overlay->corners[3], &one, sizeof one), 0);
}

TEST_F(OverlayTest, FaceMappingKeepsTheOverlaysOwnTextureInfo) {
    makeCube(-64, 64);
    cConsoleCapture console;
    ASSERT_FALSE(placeFromAbove(640, 0, 64)); // no face there: a flat overlay at z = 64
    overlay->texInfo.sScale = 4.0f;
    overlay->flags = 0;
    FaceRecord face{};
    face.normal[2] = 1.0f;
    face.dist = 64.0f;
    face.texInfo.sAxis[0] = 1.0f;
    face.texInfo.tAxis[1] = -1.0f;
    face.texInfo.sScale = 1.0f;
    face.texInfo.tScale = 1.0f;
    overlay->handle->applyFaceTexture(&face);
    // x from 608 to 672 on a 64-texel texture: s from 9.5 to 10.5, less the 10 whole repeats.
    float sMin = 1e9f, sMax = -1e9f;
    for (const OverlayCorner& c : overlay->corners) {
        sMin = std::min(sMin, c.s);
        sMax = std::max(sMax, c.s);
    }
    EXPECT_NEAR(sMin, -0.5f, 1e-4f);
    EXPECT_NEAR(sMax, 0.5f, 1e-4f);
    EXPECT_EQ(overlay->texInfo.sScale, 4.0f);
    EXPECT_TRUE(overlay->flags & OverlayFlags::NeedsUpdate);
}
