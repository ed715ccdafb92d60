#include "document/MapTransform.h"
#include "document/PatchMatrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>

#include "DocumentFixture.h"
#include "core/Prompt.h"
#include "dialogs/application/RandomPatchDialog.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/SelectionSummary.h"
#include "document/UndoHistory.h"
#include "document/WorldDump.h"
#include "mainwindow/MainWindow.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapPatch.h"
#include "map/TextureInfo.h"
#include "views/ChildWindow.h"

namespace {

// The faces bind the shared "notexture": shifts wrap at its size.
constexpr float kTextureSize = 32.0f;

class cRedrawWindow : public cChildWindow {
public:
    void redrawViews(int32_t mask) override { masks.append(mask); }
    QList<int32_t> masks;
};

// Texel coordinates the face's mapping gives a point.
void texelAt(const TextureInfo& ti, const float p[3], float out[2]) {
    out[0] = (ti.sAxis[0] * p[0] + ti.sAxis[1] * p[1] + ti.sAxis[2] * p[2]) / ti.sScale + ti.sShift;
    out[1] = (ti.tAxis[0] * p[0] + ti.tAxis[1] * p[1] + ti.tAxis[2] * p[2]) / ti.tScale + ti.tShift;
}

void Vec3Set(float v[3], float x, float y, float z) {
    v[0] = x;
    v[1] = y;
    v[2] = z;
}

// Equal up to whole texture repeats (shifts wrap at the texture size).
::testing::AssertionResult sameTexel(float a, float b) {
    float d = std::fmod(a - b, kTextureSize);
    if (d < 0) d += kTextureSize;
    if (d < 0.01f || d > kTextureSize - 0.01f) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << a << " and " << b << " differ by " << d << " texels";
}

class MapTransformTest : public DocumentFixture {
protected:
    using DocumentFixture::brushEntity;
    EntityRecord* pointEntity(float x, float y, float z) {
        const float origin[3] = {x, y, z};
        return DocumentFixture::pointEntity("info_player_start", origin);
    }
    EntityRecord* brushEntity() { return brushEntity("func_door"); }
    BrushRecord* patchBrush(int columns, int rows) {
        BrushRecord* b = Brush_Create(map(), worldspawn);
        const TextureInfo info = texture("curves/pipe");
        PatchRecord* p = Patch_Create(b, &info, columns, rows);
        for (int c = 0; c < columns; ++c)
            for (int r = 0; r < rows; ++r) {
                p->points[c][r].xyz[0] = float(32 * c);
                p->points[c][r].xyz[1] = float(32 * r);
                p->points[c][r].xyz[2] = float((c + r) % 2 * 8);
            }
        b->handle->update(BrushUpdate::TessellatePatch);
        return b;
    }
    void select(BrushRecord* b) { Map_SelectObject(w, b); }
    void select(EntityRecord* e) { Map_SelectObject(w, e); }

    static FaceRecord* faceFacing(BrushRecord* b, float x, float y, float z) {
        for (FaceRecord* f = b->firstFace; f; f = f->next)
            if (f->normal[0] * x + f->normal[1] * y + f->normal[2] * z > 0.999f) return f;
        return nullptr;
    }
    static void setMapping(FaceRecord* f) {
        f->texInfo.sShift = 5;
        f->texInfo.tShift = 3;
        f->texInfo.sScale = 0.5f;
        f->texInfo.tScale = 2.0f;
    }

    // Runs a command and checks it is one undo level of that name that undoes to the world
    // before and redoes to the world after.
    void expectUndoable(const std::function<bool()>& command, const char* levelName) {
        const std::string before = dump();
        ASSERT_TRUE(command());
        EXPECT_FALSE(history->recording);
        expectUndoRedo(levelName, before);
    }
};

// ---- Rotate and flip with texture lock on and off ----------------------------------------------

class TransformLockTest : public MapTransformTest, public ::testing::WithParamInterface<bool> {};
INSTANTIATE_TEST_SUITE_P(TextureLock, TransformLockTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "LockOn" : "LockOff"; });

TEST_P(TransformLockTest, RotateSelectionQuarterTurn) {
    const bool lock = GetParam();
    settings().TextureLock = lock;
    const float mins[3] = {0, 0, 0}, maxs[3] = {64, 32, 16};
    BrushRecord* b = box(mins, maxs);
    FaceRecord* east = faceFacing(b, 1, 0, 0);
    ASSERT_NE(east, nullptr);
    setMapping(east);
    // Turned 30 degrees in the face's plane, so a reset shows.
    const float c30 = std::cos(0.5235988f), s30 = std::sin(0.5235988f);
    Vec3Set(east->texInfo.sAxis, 0, c30, s30);
    Vec3Set(east->texInfo.tAxis, 0, s30, -c30);
    const TextureInfo eastBefore = east->texInfo;
    float eastCorners[4][3];
    ASSERT_EQ(east->vertexCount, 4);
    for (int i = 0; i < 4; ++i)
        std::memcpy(eastCorners[i], east->vertices[i].xyz, sizeof eastCorners[i]);
    EntityRecord* e = pointEntity(16, 16, 0);
    select(b);
    select(e);
    cRedrawWindow window;
    Project_AddWindow(&doc, &window);

    // Selection box x 0..64, y 0..32, z -8..16 (the entity's box is its origin +- 8): centre
    // (32, 16, 4); a quarter turn takes (x, y) to (48 - y, x - 16).
    expectUndoable([&] { return Map_RotateSelectionCommand(w, 2, 90); }, "Rotate Selection");
    EXPECT_EQ(window.masks, QList<int32_t>({3}));
    Project_RemoveWindow(&doc, &window);

    const float wantMins[3] = {16, -16, 0}, wantMaxs[3] = {48, 48, 16};
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_NEAR(b->mins[axis], wantMins[axis], 0.01f);
        EXPECT_NEAR(b->maxs[axis], wantMaxs[axis], 0.01f);
    }
    EXPECT_NEAR(e->origin[0], 32, 0.01f);
    EXPECT_NEAR(e->origin[1], 0, 0.01f);
    EXPECT_NEAR(e->angles[1], 90, 0.01f); // TransformAngles

    // The east face now faces north.
    FaceRecord* north = faceFacing(b, 0, 1, 0);
    ASSERT_NE(north, nullptr);
    const TextureInfo& ti = north->texInfo;
    EXPECT_EQ(ti.sScale, eastBefore.sScale);
    EXPECT_EQ(ti.tScale, eastBefore.tScale);
    if (lock) {
        // The axes turned with the face and the texture stayed on the same spots.
        const float s[3] = {-c30, 0, s30}, t[3] = {-s30, 0, -c30};
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(ti.sAxis[i], s[i], 1e-5f);
            EXPECT_NEAR(ti.tAxis[i], t[i], 1e-5f);
        }
        for (const auto& p : eastCorners) {
            float before[2], after[2];
            texelAt(eastBefore, p, before);
            const float moved[3] = {48 - p[1], p[0] - 16, p[2]};
            texelAt(ti, moved, after);
            EXPECT_TRUE(sameTexel(before[0], after[0]));
            EXPECT_TRUE(sameTexel(before[1], after[1]));
        }
    } else {
        // Axes derived anew from the new facing (the turn in the plane is gone); shifts left alone.
        const float s[3] = {-1, 0, 0}, t[3] = {0, 0, -1};
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(ti.sAxis[i], s[i], 1e-5f);
            EXPECT_NEAR(ti.tAxis[i], t[i], 1e-5f);
        }
        EXPECT_EQ(ti.sShift, eastBefore.sShift);
        EXPECT_EQ(ti.tShift, eastBefore.tShift);
    }
}

TEST_P(TransformLockTest, FlipSelectionMirrorsInsideItsExtent) {
    const bool lock = GetParam();
    settings().TextureLock = lock;
    const float aMins[3] = {0, 0, 0}, aMaxs[3] = {16, 32, 32};
    const float bMins[3] = {32, 0, 0}, bMaxs[3] = {64, 32, 32};
    BrushRecord* a = box(aMins, aMaxs);
    BrushRecord* b = box(bMins, bMaxs);
    FaceRecord* north = faceFacing(a, 0, 1, 0);
    setMapping(north);
    const TextureInfo northBefore = north->texInfo;
    EntityRecord* e = pointEntity(10, 40, 8);
    select(a);
    select(b);
    select(e);

    expectUndoable([&] { return Map_FlipSelectionCommand(w, 0); }, "Flip Selection");

    // Extent 0..64: x goes to 64 - x.
    EXPECT_FLOAT_EQ(a->mins[0], 48);
    EXPECT_FLOAT_EQ(a->maxs[0], 64);
    EXPECT_FLOAT_EQ(b->mins[0], 0);
    EXPECT_FLOAT_EQ(b->maxs[0], 32);
    EXPECT_FLOAT_EQ(e->origin[0], 54);
    EXPECT_FLOAT_EQ(e->mins[0], 46);
    EXPECT_FLOAT_EQ(e->maxs[0], 62);
    for (BrushRecord* brush : {a, b}) {
        int faces = 0;
        for (FaceRecord* f = brush->firstFace; f; f = f->next, ++faces) {
            // Outward: the face's centre lies on the positive side of the brush centre.
            const float toFace = (f->mins[0] + f->maxs[0] - brush->mins[0] - brush->maxs[0]) * f->normal[0] +
                                 (f->mins[1] + f->maxs[1] - brush->mins[1] - brush->maxs[1]) * f->normal[1] +
                                 (f->mins[2] + f->maxs[2] - brush->mins[2] - brush->maxs[2]) * f->normal[2];
            EXPECT_GT(toFace, 0);
        }
        EXPECT_EQ(faces, 6);
    }

    north = faceFacing(a, 0, 1, 0);
    ASSERT_NE(north, nullptr);
    const TextureInfo& ti = north->texInfo;
    if (lock) {
        EXPECT_EQ(ti.sAxis[0], -northBefore.sAxis[0]);
        EXPECT_EQ(ti.tAxis[0], -northBefore.tAxis[0]);
        for (int i = 0; i < north->vertexCount; ++i) {
            const float* p = north->vertices[i].xyz;
            const float mirrored[3] = {64 - p[0], p[1], p[2]};
            float before[2], after[2];
            texelAt(northBefore, mirrored, before);
            texelAt(ti, p, after);
            EXPECT_TRUE(sameTexel(before[0], after[0]));
            EXPECT_TRUE(sameTexel(before[1], after[1]));
        }
    } else {
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(ti.sAxis[i], northBefore.sAxis[i]);
            EXPECT_EQ(ti.tAxis[i], northBefore.tAxis[i]);
        }
        EXPECT_EQ(ti.sShift, northBefore.sShift);
        EXPECT_EQ(ti.tShift, northBefore.tShift);
    }
}

// ---- Transform keep rule -------------------------------------------------------------------------

TEST_F(MapTransformTest, KeptSideStaysAndItsFacesKeepTheirTexture) {
    settings().TextureLockScale = true;
    const float mins[3] = {0, 0, 0}, maxs[3] = {64, 64, 64};
    BrushRecord* b = box(mins, maxs);
    select(b);
    const float centre[3] = {-32, 0, 0};
    // Twice as wide along x about x = -32, and 8 up along y.
    const float m[12] = {2, 0, 0, 0, 0, 1, 0, 8, 0, 0, 1, 0};
    const TransformParams params{centre, m, 0, TransformKeep::PlusX, 0, -1, -1, 0};
    Map_TransformSelection(w, nullptr, nullptr, &params);

    EXPECT_FLOAT_EQ(b->mins[0], 32);
    EXPECT_FLOAT_EQ(b->maxs[0], 64);
    EXPECT_FLOAT_EQ(b->mins[1], 8);
    EXPECT_FLOAT_EQ(b->maxs[1], 72);
    // The east face kept its x: its mapping is left alone. The west face moved whole: its
    // texture followed the 8 units along y.
    EXPECT_EQ(faceFacing(b, 1, 0, 0)->texInfo.sShift, 0);
    EXPECT_TRUE(sameTexel(faceFacing(b, -1, 0, 0)->texInfo.sShift, -8));
}

TEST_F(MapTransformTest, NoTextureLockLeavesMappingOnTheWorld) {
    const float mins[3] = {0, 0, 0}, maxs[3] = {32, 32, 32};
    BrushRecord* b = box(mins, maxs);
    select(b);
    const float m[12] = {1, 0, 0, 0, 0, 1, 0, 8, 0, 0, 1, 0};
    const TransformParams params{nullptr, m, 0, 0, 1, -1, -1, 0};
    Map_TransformSelection(w, nullptr, nullptr, &params);
    EXPECT_FLOAT_EQ(b->mins[1], 8);
    for (FaceRecord* f = b->firstFace; f; f = f->next) {
        EXPECT_EQ(f->texInfo.sShift, 0);
        EXPECT_EQ(f->texInfo.tShift, 0);
    }
}

// ---- Snap to grid ---------------------------------------------------------------------------------

TEST(MapSnapAxisOffset, RoundsToNearestLineWithHalvesBySide) {
    struct Case {
        float p, grid;
        bool maxSide;
        float offset;
    } cases[] = {
        {8, 16, true, 8},    {8, 16, false, -8}, // an exact half: up on a max side, down on a min side
        {-8, 16, true, 8},   {-8, 16, false, -8}, {20, 16, true, -4}, {20, 16, false, -4},
        {23, 16, false, -7}, {25, 16, false, 7},  {32, 16, true, 0},  {5, 0, true, 0}, // no grid: no move
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(Map_SnapAxisOffset(c.p, c.grid, c.maxSide), c.offset)
            << c.p << " on grid " << c.grid << (c.maxSide ? " max" : " min");
}

TEST_F(MapTransformTest, SnapCornerCyclesThroughTheEightCorners) {
    settings().CurrentGridSize = 16;
    const float mins[3] = {8, 8, 8}, maxs[3] = {28, 28, 28}; // 20 wide: never whole on the grid
    BrushRecord* b = box(mins, maxs);
    FaceRecord* top = faceFacing(b, 0, 0, 1);
    const float topCorner[3] = {top->vertices[0].xyz[0], top->vertices[0].xyz[1], top->vertices[0].xyz[2]};
    float topTexel[2];
    texelAt(top->texInfo, topCorner, topTexel);
    select(b);
    ASSERT_EQ(w->snapCorner, 0);

    // The box's mins after each snap; the corner advances 0, 1, ... 7, 0.
    const float want[9][3] = {{0, 0, 0},   {-4, 0, 0},   {-4, -4, 0}, {0, -4, 0}, {0, 0, -4},
                              {-4, 0, -4}, {-4, -4, -4}, {0, -4, -4}, {0, 0, 0}};
    for (int step = 0; step < 9; ++step) {
        SCOPED_TRACE(step);
        ASSERT_TRUE(Map_SnapToGridCommand(w, false));
        EXPECT_EQ(w->snapCorner, (step + 1) % 8);
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_FLOAT_EQ(b->mins[axis], want[step][axis]);
            EXPECT_FLOAT_EQ(b->maxs[axis], want[step][axis] + 20);
        }
    }
    // Texture lock: the top face's texture moved with it.
    top = faceFacing(b, 0, 0, 1);
    const float moved[3] = {topCorner[0] - 8, topCorner[1] - 8, topCorner[2] - 8};
    float texel[2];
    texelAt(top->texInfo, moved, texel);
    EXPECT_TRUE(sameTexel(texel[0], topTexel[0]));
    EXPECT_TRUE(sameTexel(texel[1], topTexel[1]));

    // Corner 1 moves the box by -4 on x.
    expectUndoable([&] { return Map_SnapToGridCommand(w, false); }, "Snap to Grid");
    EXPECT_FLOAT_EQ(b->mins[0], -4);

    // A selection change starts the cycle again.
    w->snapCorner = 5;
    Map_UpdateSelectionSummary(w);
    EXPECT_EQ(w->snapCorner, 0);
}

TEST_F(MapTransformTest, SnapEachObjectMovesEntitiesAsOne) {
    const float wMins[3] = {8, 8, 8}, wMaxs[3] = {28, 28, 28};
    BrushRecord* lone = box(wMins, wMaxs);
    EntityRecord* door = brushEntity();
    const float d1Mins[3] = {40, 0, 0}, d1Maxs[3] = {60, 16, 16};
    const float d2Mins[3] = {70, 0, 0}, d2Maxs[3] = {90, 16, 16};
    BrushRecord* d1 = box(door, d1Mins, d1Maxs);
    BrushRecord* d2 = box(door, d2Mins, d2Maxs);
    EntityRecord* player = pointEntity(5, 5, 5);
    for (BrushRecord* b : {lone, d1, d2})
        select(b);
    select(door);
    select(player);

    Map_SnapSelectionToGrid(w, 16, true);
    EXPECT_EQ(w->snapCorner, 1); // once per call

    EXPECT_FLOAT_EQ(lone->mins[0], 0); // by its own box
    EXPECT_FLOAT_EQ(d1->mins[0], 32);  // both by the door's box 40..90
    EXPECT_FLOAT_EQ(d2->mins[0], 62);
    EXPECT_FLOAT_EQ(door->mins[0], 32);
    EXPECT_FLOAT_EQ(door->maxs[0], 82);
    EXPECT_FLOAT_EQ(player->origin[0], 0); // by its origin
    EXPECT_FLOAT_EQ(player->origin[2], 0);
}

// ---- Align ---------------------------------------------------------------------------------------

TEST_F(MapTransformTest, AlignToMaximumMovesEntityBrushesTogether) {
    const float m1[3] = {0, 0, 0}, x1[3] = {16, 16, 16};
    const float m2[3] = {32, 0, 0}, x2[3] = {48, 16, 16};
    const float m3[3] = {150, 0, 0}, x3[3] = {160, 16, 16};
    BrushRecord* w1 = box(m1, x1);
    BrushRecord* w2 = box(m2, x2);
    BrushRecord* w3 = box(m3, x3);
    EntityRecord* door = brushEntity();
    const float dm1[3] = {64, 0, 0}, dx1[3] = {80, 16, 16};
    const float dm2[3] = {100, 0, 0}, dx2[3] = {128, 16, 16};
    BrushRecord* d1 = box(door, dm1, dx1);
    BrushRecord* d2 = box(door, dm2, dx2);
    EntityRecord* player = pointEntity(0, 0, 0);
    for (BrushRecord* b : {w1, w2, w3, d1, d2})
        select(b);
    select(door);
    select(player);

    expectUndoable([&] { return Map_AlignSelectionCommand(w, 0, 1); }, "Align Selection");

    EXPECT_FLOAT_EQ(w1->maxs[0], 160);
    EXPECT_FLOAT_EQ(w2->maxs[0], 160);
    EXPECT_FLOAT_EQ(w3->maxs[0], 160);
    EXPECT_FLOAT_EQ(d1->mins[0], 96); // the door moved 32 as one: the gap stays
    EXPECT_FLOAT_EQ(d2->maxs[0], 160);
    EXPECT_FLOAT_EQ(player->maxs[0], 160);
    EXPECT_FLOAT_EQ(player->origin[0], 152);
}

// ---- Commands without a selection and degenerate mappings -----------------------------------------

TEST_F(MapTransformTest, CommandsWithoutSelectionOpenNoLevel) {
    const float mins[3] = {0, 0, 0}, maxs[3] = {32, 32, 32};
    box(mins, maxs);
    EXPECT_FALSE(Map_RotateSelectionCommand(w, 2, 90));
    EXPECT_FALSE(Map_AlignSelectionCommand(w, 0, 0));
    EXPECT_FALSE(Map_FlipSelectionCommand(w, 1));
    EXPECT_FALSE(Map_SnapToGridCommand(w, true));
    EXPECT_EQ(Undo_NewestLevel(doc.undo), nullptr);
    EXPECT_FALSE(doc.modified);
}

TEST_F(MapTransformTest, ZeroTextureScaleKeepsShiftsFinite) {
    settings().CurrentGridSize = 16;
    const float mins[3] = {3, 3, 3}, maxs[3] = {35, 35, 35};
    BrushRecord* b = box(mins, maxs);
    for (FaceRecord* f = b->firstFace; f; f = f->next)
        f->texInfo.sScale = f->texInfo.tScale = 0; // as a damaged file may carry
    select(b);
    ASSERT_TRUE(Map_SnapToGridCommand(w, false));
    ASSERT_TRUE(Map_AlignSelectionCommand(w, 0, 0));
    ASSERT_TRUE(Map_FlipSelectionCommand(w, 2));
    ASSERT_TRUE(Map_RotateSelectionCommand(w, 2, 45));
    for (FaceRecord* f = b->firstFace; f; f = f->next) {
        EXPECT_TRUE(std::isfinite(f->texInfo.sShift));
        EXPECT_TRUE(std::isfinite(f->texInfo.tShift));
    }
}

// ---- Patch matrix commands ------------------------------------------------------------------------

struct MatrixCase {
    int32_t command;
    const char* name;
    int columns, rows; // after, from 5 x 5
};

class PatchMatrixTest : public MapTransformTest, public ::testing::WithParamInterface<MatrixCase> {};

TEST_P(PatchMatrixTest, OneNamedUndoableLevel) {
    const MatrixCase& c = GetParam();
    BrushRecord* b = patchBrush(5, 5);
    select(b);
    const PatchRandomParams random{8.0f, PatchRandomFlags::AlongZ};
    expectUndoable([&] { return Map_PatchMatrixMenuCommand(w, c.command, &random); }, c.name);
    EXPECT_EQ(b->patch->columns, c.columns);
    EXPECT_EQ(b->patch->rows, c.rows);
    EXPECT_EQ(b->patch->flags & PatchFlags::NeedsUpdate, 0u); // tessellated again
}

INSTANTIATE_TEST_SUITE_P(
    Commands, PatchMatrixTest,
    ::testing::Values(
        MatrixCase{0, "Invert Matrix", 5, 5}, MatrixCase{1, "Transpose Matrix", 5, 5},
        MatrixCase{2, "Append Matrix Rows", 5, 7}, MatrixCase{3, "Append Matrix Columns", 7, 5},
        MatrixCase{4, "Prepend Matrix Rows", 5, 7}, MatrixCase{5, "Prepend Matrix Columns", 7, 5},
        MatrixCase{6, "Remove First Matrix Rows", 5, 3}, MatrixCase{7, "Remove First Matrix Columns", 3, 5},
        MatrixCase{8, "Remove Last Matrix Rows", 5, 3}, MatrixCase{9, "Remove Last Matrix Columns", 3, 5},
        MatrixCase{10, "Redisperse Matrix Rows", 5, 5}, MatrixCase{11, "Redisperse Matrix Columns", 5, 5},
        MatrixCase{12, "Randomize Matrix", 5, 5}),
    [](const auto& info) { return std::to_string(info.param.command); });

TEST_F(MapTransformTest, RemoveLinesKeepsTheRightPointsAndStopsAtThree) {
    BrushRecord* small = patchBrush(5, 3);
    BrushRecord* tall = patchBrush(5, 7);
    BrushRecord* solid = nullptr;
    {
        const float mins[3] = {0, 0, 0}, maxs[3] = {16, 16, 16};
        solid = box(mins, maxs);
    }
    select(small);
    select(tall);
    select(solid);
    const std::string smallBefore = std::to_string(small->patch->points[1][1].xyz[1]);

    ASSERT_TRUE(Map_PatchMatrixMenuCommand(w, PatchMatrix::RemoveFirstRows, nullptr));
    EXPECT_TRUE(console.contains(QStringLiteral("can't remove rows from the patch (minimum is 3)")));
    EXPECT_EQ(small->patch->rows, 3);
    EXPECT_EQ(std::to_string(small->patch->points[1][1].xyz[1]), smallBefore);
    EXPECT_EQ(tall->patch->rows, 5);
    EXPECT_FLOAT_EQ(tall->patch->points[2][0].xyz[1], 64); // (c, r) took (c, r + 2)

    ASSERT_TRUE(Map_PatchMatrixMenuCommand(w, PatchMatrix::RemoveLastRows, nullptr));
    EXPECT_EQ(tall->patch->rows, 3);
    EXPECT_FLOAT_EQ(tall->patch->points[2][0].xyz[1], 64);
    EXPECT_FLOAT_EQ(tall->patch->points[2][2].xyz[1], 128);
}

TEST_F(MapTransformTest, PatchCommandsNeedASelectedPatch) {
    const float mins[3] = {0, 0, 0}, maxs[3] = {16, 16, 16};
    select(box(mins, maxs));
    cPromptScript prompts;
    EXPECT_FALSE(Map_PatchMatrixMenuCommand(w, PatchMatrix::Invert, nullptr));
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(prompts.asked[0].text, QStringLiteral("There are no eligible selected patches."));
    EXPECT_EQ(Undo_NewestLevel(doc.undo), nullptr);

    BrushRecord* b = patchBrush(3, 3);
    select(b);
    Map_PatchMatrixCommand(w, 13, nullptr);
    EXPECT_TRUE(console.contains(QStringLiteral("bad curve command 13")));
    EXPECT_EQ(Map_PatchMatrixName(13), nullptr);
    EXPECT_FALSE(Map_PatchMatrixMenuCommand(w, -1, nullptr));
}

} // namespace
