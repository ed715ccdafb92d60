#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

#include "BrushFixture.h"
#include "ConsoleCapture.h"
#include "document/CullTree.h"
#include "document/MapWorld.h"
#include "document/UndoSnapshot.h"
#include "map/MapPatch.h"

namespace {

using MapBrushTest = BrushFixture;

std::vector<std::vector<float>> faceNormals(const BrushRecord* brush) {
    std::vector<std::vector<float>> out;
    for (const FaceRecord* f = brush->firstFace; f; f = f->next)
        out.push_back({f->normal[0], f->normal[1], f->normal[2]});
    return out;
}

// What an importer does: worldspawn, Brush_Create, six Face_Create with no vertices and
// planes written in, one update.
TEST_F(MapBrushTest, ImporterReplayBuildsSixExactQuadsInFaceOrder) {
    BrushRecord* brush = makeCube(0, 64);

    EXPECT_EQ(faceCount(brush), 6);
    EXPECT_FALSE(brush->flags & BrushFlags::NeedsUpdate);
    std::set<int32_t> ids;
    for (const FaceRecord* f = brush->firstFace; f; f = f->next) {
        ASSERT_EQ(f->vertexCount, 4);
        EXPECT_EQ(f->handle->glPrimitive, FacePrimitive::Quads);
        EXPECT_FALSE(f->flags & FaceFlags::NeedsUpdate);
        ids.insert(f->handle->id);
        for (int i = 0; i < 4; ++i) {
            const float* p = f->vertices[i].xyz;
            for (int a = 0; a < 3; ++a)
                EXPECT_TRUE(p[a] == 0.0f || p[a] == 64.0f) << p[a];
            EXPECT_EQ(f->normal[0] * p[0] + f->normal[1] * p[1] + f->normal[2] * p[2], f->dist);
        }
    }
    EXPECT_EQ(ids.size(), 6u);
    for (int a = 0; a < 3; ++a) {
        EXPECT_EQ(brush->mins[a], 0.0f);
        EXPECT_EQ(brush->maxs[a], 64.0f);
        EXPECT_EQ(brush->handle->centre[a], 32.0f);
    }
    // Axial type first; equal keys take the later half first in the merge.
    const std::vector<std::vector<float>> expected = {{-1, 0, 0}, {1, 0, 0},  {0, -1, 0},
                                                      {0, 1, 0},  {0, 0, -1}, {0, 0, 1}};
    EXPECT_EQ(faceNormals(brush), expected);
    EXPECT_EQ(brush->lastFace->normal[2], 1.0f);
    EXPECT_EQ(brush->firstFace->prev, nullptr);
    EXPECT_EQ(brush->lastFace->next, nullptr);
    EXPECT_EQ(brush->serial, 1);
    EXPECT_EQ(brush->entity, &t.worldspawn);
}

TEST_F(MapBrushTest, SplitTable) {
    struct Case {
        float x; // split plane x = this, normal +x
        bool front, back;
    } cases[] = {{32, true, true}, {100, false, true}, {-10, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        BrushRecord* brush = makeCube(0, 64);
        const BrushPlane plane = {{1, 0, 0}, c.x, 0};
        BrushRecord* front = nullptr;
        BrushRecord* back = nullptr;
        brush->handle->split(&plane, &front, &back);
        EXPECT_EQ(front != nullptr, c.front);
        EXPECT_EQ(back != nullptr, c.back);
        EXPECT_EQ(faceCount(brush), 6); // the split brush is untouched
        if (front && back) {
            EXPECT_EQ(faceCount(front), 6);
            EXPECT_EQ(faceCount(back), 6);
            EXPECT_EQ(front->mins[0], 32.0f);
            EXPECT_EQ(front->maxs[0], 64.0f);
            EXPECT_EQ(back->mins[0], 0.0f);
            EXPECT_EQ(back->maxs[0], 32.0f);
            // Each cap faces away from its half: the front's against the plane normal.
            bool frontCap = false, backCap = false;
            for (FaceRecord* f = front->firstFace; f; f = f->next)
                frontCap |= f->normal[0] == -1.0f && f->dist == -32.0f;
            for (FaceRecord* f = back->firstFace; f; f = f->next)
                backCap |= f->normal[0] == 1.0f && f->dist == 32.0f;
            EXPECT_TRUE(frontCap);
            EXPECT_TRUE(backCap);
        }
        for (BrushRecord* b : {front, back, brush})
            if (b) Brush_Delete(t.handle(), b);
    }
}

TEST_F(MapBrushTest, SplitWithOneOutputBuildsOnlyThatSide) {
    BrushRecord* brush = makeCube(0, 64);
    const BrushPlane plane = {{0, 0, 1}, 16, 2};
    BrushRecord* back = nullptr;
    brush->handle->split(&plane, nullptr, &back);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->maxs[2], 16.0f);
    EXPECT_EQ(t.worldspawn.lastBrush, back);
}

TEST_F(MapBrushTest, CheckValidMessages) {
    struct Case {
        const char* name;
        void (*spoil)(BrushRecord*, BrushFixture*);
        const char* message;
    } cases[] = {
        {"valid", [](BrushRecord*, BrushFixture*) {}, nullptr},
        {"not planar", [](BrushRecord* b, BrushFixture*) { b->firstFace->vertices[0].xyz[0] -= 20; },
         "face is not planar"},
        {"off plane", [](BrushRecord* b, BrushFixture*) { b->firstFace->dist += 1; },
         "point off the face plane"},
        {"coplanar",
         [](BrushRecord* b, BrushFixture* fx) {
             const TestPlane p = {{0, 0, 1}, 64};
             FaceRecord* dup = Face_Create(fx->t.handle(), b, nullptr, 0);
             dup->normal[2] = p.normal[2];
             dup->dist = p.dist;
         },
         "brush has coplanar planes"},
        {"not convex",
         [](BrushRecord* b, BrushFixture*) {
             for (FaceRecord* f = b->firstFace; f; f = f->next)
                 if (f->normal[0] == -1.0f) {
                     for (int i = 0; i < f->vertexCount; ++i)
                         f->vertices[i].xyz[0] = 80;
                     f->dist = -80;
                 }
         },
         "brush is not convex"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BrushRecord* brush = makeCube(0, 64);
        c.spoil(brush, this);
        const char* message = "unchanged";
        const bool valid = brush->handle->checkValid(false, false, &message);
        EXPECT_EQ(valid, c.message == nullptr);
        EXPECT_STREQ(message, c.message ? c.message : "unchanged");
    }
}

TEST_F(MapBrushTest, OverlapQueries) {
    BrushRecord* a = makeCube(0, 64);
    BrushRecord* touching = makeCube(64, 128); // shares only the corner edge region
    const float lo[3] = {64, 0, 0}, hi[3] = {128, 64, 64};
    BrushRecord* neighbour = makeBox(lo, hi); // shares the face x = 64
    BrushRecord* overlapping = makeCube(32, 96);

    EXPECT_FALSE(a->handle->intersectsBrush(neighbour));
    EXPECT_FALSE(a->handle->intersectsBrush(touching));
    EXPECT_TRUE(a->handle->intersectsBrush(overlapping));
    EXPECT_TRUE(overlapping->handle->intersectsBrush(a));

    const float n[3] = {1, 0, 0};
    EXPECT_EQ(a->handle->planeSide(n, -1), 1);
    EXPECT_EQ(a->handle->planeSide(n, 32), 0);
    EXPECT_EQ(a->handle->planeSide(n, 64), -1); // on or behind

    const float boxLo[3] = {63.995f, 0, 0}, boxHi[3] = {100, 10, 10};
    EXPECT_FALSE(a->handle->touchesBox(boxLo, boxHi));
    const float boxLo2[3] = {63.9f, 0, 0};
    EXPECT_TRUE(a->handle->touchesBox(boxLo2, boxHi));
}

TEST_F(MapBrushTest, DuplicatePlanes) {
    BrushRecord* brush = makeCube(0, 64);
    FaceRecord* dup = addPlane(brush, {{0, 0, 1}, 64}, Test_TextureInfo());
    EXPECT_EQ(brush->handle->removeDuplicatePlanes(), 1);
    EXPECT_EQ(faceCount(brush), 6);
    EXPECT_TRUE(brush->flags & BrushFlags::NeedsUpdate);
    (void)dup;

    // Rebuilding with the same plane twice keeps only the later face.
    BrushRecord* other = makeCube(0, 64);
    FaceRecord* later = addPlane(other, {{0, 0, 1}, 64}, Test_TextureInfo());
    for (FaceRecord* f = other->firstFace; f; f = f->next)
        f->flags |= FaceFlags::NeedsUpdate;
    other->handle->update(FaceUpdate::Polygon);
    EXPECT_EQ(faceCount(other), 6);
    bool laterKept = false;
    for (FaceRecord* f = other->firstFace; f; f = f->next)
        laterKept |= f == later;
    EXPECT_TRUE(laterKept);
}

TEST_F(MapBrushTest, OffsetPlanesRebuildsEveryPolygon) {
    BrushRecord* brush = makeCube(0, 64);
    brush->handle->offsetPlanes(8);
    EXPECT_EQ(faceCount(brush), 6);
    for (const FaceRecord* f = brush->firstFace; f; f = f->next)
        EXPECT_EQ(f->vertexCount, 4);
    EXPECT_EQ(brush->mins[0], -8.0f);
    EXPECT_EQ(brush->maxs[2], 72.0f);
}

// Faces whose keys tie (axial type and vertex count) keep their order at every later update, so
// a brush's face order does not depend on how often it was updated (a twin loaded from the same
// file, a brush given back by undo).
TEST_F(MapBrushTest, LaterUpdatesKeepTheFaceOrder) {
    std::vector<TestPlane> prism = {{{0, 0, 1}, 64}, {{0, 0, -1}, 0}}; // six general sides tie
    for (int k = 0; k < 6; ++k) {
        const float a = float((15.0 + 60.0 * k) * M_PI / 180.0);
        prism.push_back({{std::cos(a), std::sin(a), 0}, 32});
    }
    const std::vector<TestPlane> box = {{{0, 0, 1}, 64}, {{0, 0, -1}, 0}, {{1, 0, 0}, 64},
                                        {{-1, 0, 0}, 0}, {{0, 1, 0}, 64}, {{0, -1, 0}, 0}};
    struct Case {
        const char* name;
        const std::vector<TestPlane>& planes;
        uint32_t updateFlags; // of the later updates
        bool marked;          // faces marked for update first
    } cases[] = {
        {"box, plain update", box, 0, false},
        {"box, polygons rebuilt", box, FaceUpdate::Polygon, true},
        {"prism, plain update", prism, 0, false},
        {"prism, polygons rebuilt", prism, FaceUpdate::Polygon, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BrushRecord* brush = makeBrush(c.planes.data(), int(c.planes.size()));
        std::vector<const FaceRecord*> order;
        for (const FaceRecord* f = brush->firstFace; f; f = f->next)
            order.push_back(f);
        for (int update = 1; update <= 3; ++update) {
            for (FaceRecord* f = brush->firstFace; c.marked && f; f = f->next)
                f->flags |= FaceFlags::NeedsUpdate;
            brush->handle->update(c.updateFlags);
            std::vector<const FaceRecord*> now;
            for (const FaceRecord* f = brush->firstFace; f; f = f->next)
                now.push_back(f);
            EXPECT_EQ(now, order) << "after update " << update;
            EXPECT_EQ(brush->lastFace, order.back());
        }
    }
}

// A brush whose faces come in an order a sort gave (a map file the editor wrote) keeps it at its
// first update when the update says so; without, the first sort takes tying faces in turn.
TEST_F(MapBrushTest, FacesReadInSortedOrderKeepItWhenAsked) {
    const std::vector<TestPlane> sorted = {{{1, 0, 0}, 64}, {{-1, 0, 0}, 0}, {{0, 1, 0}, 64},
                                           {{0, -1, 0}, 0}, {{0, 0, 1}, 64}, {{0, 0, -1}, 0}};
    for (const bool keep : {true, false}) {
        SCOPED_TRACE(keep ? "kept" : "sorted");
        BrushRecord* brush = Brush_Create(t.handle(), &t.worldspawn);
        for (const TestPlane& p : sorted)
            addPlane(brush, p, Test_TextureInfo());
        brush->handle->update(keep ? BrushUpdate::KeepOrderedFaces : 0);
        std::vector<std::vector<float>> expected;
        for (const TestPlane& p : sorted)
            expected.push_back({p.normal[0], p.normal[1], p.normal[2]});
        if (!keep)
            for (size_t i = 0; i < expected.size(); i += 2)
                std::swap(expected[i], expected[i + 1]);
        EXPECT_EQ(faceNormals(brush), expected);
    }
}

bool filedInCullTree(const CullNode* node, const void* object) {
    if (!node) return false;
    if (node->isLeaf()) return Cull_FindItem(node, object) != nullptr;
    for (const CullNode* child : node->children)
        if (filedInCullTree(child, object)) return true;
    return false;
}

// A patch carrier has no faces to sort, but its update still files it in the cull tree.
TEST_F(MapBrushTest, UpdateFilesFacelessCarrierInCullTree) {
    makeCube(0, 64);
    Map_CreateCullTree(&t.world);
    ASSERT_NE(Cull_TreeOf(&t.world)->root, nullptr);
    BrushRecord* carrier = Brush_Create(t.handle(), &t.worldspawn);
    const TextureInfo info = Test_TextureInfo();
    ASSERT_NE(Patch_Create(carrier, &info, 3, 3), nullptr);
    carrier->handle->update(BrushUpdate::TessellatePatch);
    EXPECT_TRUE(filedInCullTree(Cull_TreeOf(&t.world)->root, carrier));
    carrier->handle->update(BrushUpdate::NoSortNoCull | BrushUpdate::TessellatePatch);
    EXPECT_TRUE(filedInCullTree(Cull_TreeOf(&t.world)->root, carrier));
}

TEST_F(MapBrushTest, CopyAndCreateFromCopyKeepFaceOrder) {
    BrushRecord* brush = makeCube(0, 64);
    BrushRecord* copy = brush->handle->copyData();
    EXPECT_EQ(copy->handle, nullptr);
    EXPECT_EQ(copy->serial, 0);
    // The copy holds the faces in reverse order ...
    std::vector<std::vector<float>> reversed = faceNormals(brush);
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(faceNormals(copy), reversed);
    // ... and rebuilding restores the original order.
    BrushRecord* rebuilt = Brush_CreateFromCopy(copy);
    EXPECT_EQ(faceNormals(rebuilt), faceNormals(brush));
    EXPECT_EQ(rebuilt->handle->id, -1);
    Map_LinkBrush(&t.world, rebuilt, &t.worldspawn);
    rebuilt->handle->update(0);
    EXPECT_EQ(rebuilt->maxs[1], 64.0f);
    Brush_FreeCopy(copy);

    // A clone is updated at once, so it holds the order the original takes at its next update.
    BrushRecord* clone = brush->handle->cloneInto(&t.worldspawn);
    brush->handle->update(0);
    EXPECT_EQ(faceNormals(clone), faceNormals(brush));
    EXPECT_EQ(faceNormals(rebuilt), faceNormals(brush));
    EXPECT_NE(clone->serial, brush->serial);
    EXPECT_NE(clone->firstFace->handle->id, brush->firstFace->handle->id);
}

TEST_F(MapBrushTest, DeleteLeavesNoDanglingSelection) {
    BrushRecord* brush = makeCube(0, 64);
    BrushRecord* other = makeCube(100, 164);
    Map_SelectObject(&t.world, brush);
    Map_SelectObject(&t.world, brush->firstFace->next);
    Map_SelectObject(&t.world, other->firstFace);
    const int32_t faceId = brush->firstFace->handle->id;
    Brush_Delete(t.handle(), brush);
    EXPECT_EQ(t.world.selectedBrushes, nullptr);
    EXPECT_EQ(t.world.selectedFaces, other->firstFace);
    EXPECT_EQ(other->firstFace->selNext, nullptr);
    EXPECT_FALSE(Map_IsIdInUse(&t.world, faceId));
    EXPECT_EQ(t.worldspawn.firstBrush, other);
}

TEST_F(MapBrushTest, ColorsAndSnapshots) {
    BrushRecord* brush = makeCube(0, 64);
    EXPECT_NE(brush->handle->baseColor, kObjectColorBlack); // the first update colours it
    Brush_SetColor(brush, 10, 20, 30, 255);
    for (FaceRecord* f = brush->firstFace; f; f = f->next)
        EXPECT_EQ(f->handle->displayColor, brush->handle->displayColor);

    const float square[4][3] = {{0, 0, 0}, {64, 0, 0}, {64, 64, 0}, {0, 64, 0}};
    const TextureInfo info = Test_TextureInfo();
    const FaceSnapshot faces[2] = {{7, 0, 4, square, &info}, {8, 0, 4, square, &info}};
    const BrushSnapshot snap = {42, 0, 0, Color_FromBytes(1, 2, 3, 255), 2, faces};
    BrushRecord* restored = Brush_CreateFromSnapshot(&snap);
    EXPECT_EQ(restored->serial, 42);
    EXPECT_EQ(restored->firstFace->serial, 7);
    EXPECT_EQ(restored->lastFace->serial, 8);
    EXPECT_TRUE(restored->firstFace->flags & FaceFlags::NeedsUpdate);
    EXPECT_EQ(restored->firstFace->normal[2], 1.0f);
    delete restored->handle;
}

TEST_F(MapBrushTest, TooManyVerticesAreRefused) {
    cConsoleCapture console;
    BrushRecord* brush = Brush_Create(t.handle(), &t.worldspawn);
    FaceRecord* face = Face_Create(t.handle(), brush, nullptr, 200);
    EXPECT_EQ(face->vertexCount, 0);
    EXPECT_TRUE(console.contains("at most 128"));

    console.clear();
    FaceRecord* full = Face_Create(t.handle(), brush, nullptr, kFaceMaxVertices);
    const float p[3] = {1, 2, 3};
    EXPECT_FALSE(full->handle->insertVertex(0, p));
    EXPECT_EQ(full->vertexCount, kFaceMaxVertices);
    EXPECT_TRUE(console.contains("at most 128"));
}

} // namespace
