#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "mainwindow/MainWindow.h"
#include "document/SelectionBox.h"

namespace {

constexpr int X = 0, Y = 1, Z = 2;

class SelectionBoxTest : public ::testing::Test {
protected:
    SelectionBoxTest() {
        window.settings.MaxWorldSize = 16384;
        window.settings.CurrentGridSize = 16;
        window.settings.SnapToGrid = true;
        window.settings.FixedDegreeRotation = 15;
    }

    static SelectionBox box(float x0, float y0, float z0, float x1, float y1, float z1) {
        SelectionBox b{};
        const float a[3] = {x0, y0, z0}, c[3] = {x1, y1, z1};
        Select_BoxFromPoints(&b, a, c);
        return b;
    }
    static float degrees(const SelectionBox& b) { return b.angle * 180.0f / float(M_PI); }

    cMainWindow window;
};

// ---- Building and containment ------------------------------------------------------------------

TEST_F(SelectionBoxTest, BuildingClampsIntoTheWorld) {
    const SelectionBox b = box(-100000, 0, 0, 10, 20, 30);
    EXPECT_TRUE(b.valid);
    EXPECT_FLOAT_EQ(b.mins[X], -8192);
    EXPECT_FLOAT_EQ(b.mins[Y], 0);
    EXPECT_FLOAT_EQ(b.mins[Z], 0);
    EXPECT_FLOAT_EQ(b.maxs[X], 10);
    EXPECT_FLOAT_EQ(b.maxs[Y], 20);
    EXPECT_FLOAT_EQ(b.maxs[Z], 30);

    SelectionBox p{};
    p.angle = 1.0f;
    p.shear = 2.0f;
    const float far[3] = {5, 9000, -9000};
    Select_BoxFromPoint(&p, far);
    EXPECT_TRUE(p.valid);
    EXPECT_EQ(p.angle, 0.0f);
    EXPECT_EQ(p.shear, 0.0f);
    EXPECT_FLOAT_EQ(p.mins[Y], 8192);
    EXPECT_FLOAT_EQ(p.maxs[Z], -8192);
    EXPECT_FLOAT_EQ(p.maxs[X], 5);
}

TEST_F(SelectionBoxTest, BuildingOrdersTheCorners) {
    const SelectionBox b = box(10, -5, 3, -10, 5, -3);
    EXPECT_FLOAT_EQ(b.mins[X], -10);
    EXPECT_FLOAT_EQ(b.maxs[X], 10);
    EXPECT_FLOAT_EQ(b.mins[Z], -3);
    EXPECT_FLOAT_EQ(b.maxs[Z], 3);
}

TEST_F(SelectionBoxTest, ContainsPointAllowsHalfAUnit) {
    SelectionBox b = box(0, 0, 0, 10, 10, 10);
    const struct {
        float p[3];
        bool inside;
    } cases[] = {
        {{10.5f, 5, 5}, true},   {{-0.5f, 5, 5}, true}, {{10.51f, 5, 5}, false},
        {{5, -0.51f, 5}, false}, {{5, 5, 10.5f}, true}, {{5, 5, 11}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Select_BoxContainsPoint(&b, c.p), c.inside) << c.p[0] << " " << c.p[1] << " " << c.p[2];
    b.valid = 0; // the flag is not consulted
    const float centre[3] = {5, 5, 5};
    EXPECT_TRUE(Select_BoxContainsPoint(&b, centre));
}

// ---- Handles -----------------------------------------------------------------------------------

TEST_F(SelectionBoxTest, HitHandleFindsEachHandleJustOutsideTheBox) {
    // Box 0..100 on x and y, handles 8 units wide, margins 4 (2 from each edge).
    const SelectionBox b = box(0, 0, 0, 100, 100, 0);
    const struct {
        float x, y;
        int32_t handle;
    } cases[] = {
        {-6, 106, BoxHandle::MinIMaxJ}, {106, 106, BoxHandle::MaxIMaxJ}, {-6, -6, BoxHandle::MinIMinJ},
        {106, -6, BoxHandle::MaxIMinJ}, {-6, 50, BoxHandle::MinI},       {106, 50, BoxHandle::MaxI},
        {50, 106, BoxHandle::MaxJ},     {50, -6, BoxHandle::MinJ},       {50, 50, BoxHandle::None},
        {-1, 50, BoxHandle::None},      {-6, 30, BoxHandle::None},       {-20, 50, BoxHandle::None},
        {-2, 50, BoxHandle::None},      {50, 102, BoxHandle::None}, // band edges are excluded
    };
    for (const auto& c : cases) {
        const float p[3] = {c.x, c.y, 0};
        EXPECT_EQ(Select_BoxHitHandle(&b, X, Y, 8, 4, 4, p), c.handle) << c.x << ", " << c.y;
    }
    SelectionBox invalid = b;
    invalid.valid = 0;
    const float corner[3] = {-6, -6, 0};
    EXPECT_EQ(Select_BoxHitHandle(&invalid, X, Y, 8, 4, 4, corner), BoxHandle::None);
}

TEST_F(SelectionBoxTest, HandlePointsUseTheirOwnNumbering) {
    const SelectionBox b = box(0, 0, 0, 10, 20, 40);
    const struct {
        int32_t handle;
        float i, j;
    } cases[] = {{1, 0, 0},  {2, 10, 0},  {3, 0, 40}, {4, 10, 40},
                 {5, 0, 20}, {6, 10, 20}, {7, 5, 0},  {8, 5, 40}};
    for (const auto& c : cases) {
        float out[3] = {9, 9, 9};
        Select_BoxHandlePoint(&b, out, X, Z, c.handle);
        EXPECT_EQ(out[X], c.i) << c.handle;
        EXPECT_EQ(out[Z], c.j) << c.handle;
        EXPECT_EQ(out[Y], 0) << c.handle;
    }
    for (int32_t handle : {0, 9, -1}) {
        float out[3] = {9, 9, 9};
        Select_BoxHandlePoint(&b, out, X, Z, handle);
        EXPECT_EQ(out[X] + out[Y] + out[Z], 0) << handle;
    }
}

TEST_F(SelectionBoxTest, NearestCornerTakesTheMaxSideOnATie) {
    const SelectionBox b = box(0, 0, 0, 10, 10, 10);
    float out[3];
    const float near[3] = {2, 9, 7};
    Select_BoxNearestCorner(&b, out, X, Y, near);
    EXPECT_EQ(out[X], 0);
    EXPECT_EQ(out[Y], 10);
    EXPECT_EQ(out[Z], 0);
    const float middle[3] = {5, 5, 5};
    Select_BoxNearestCorner(&b, out, X, Y, middle);
    EXPECT_EQ(out[X], 10);
    EXPECT_EQ(out[Y], 10);
}

// ---- Handle drag -------------------------------------------------------------------------------

TEST_F(SelectionBoxTest, DragPastTheOppositeEdgeStopsOneUnitShort) {
    SelectionBox b = box(0, 0, 0, 64, 64, 64);
    const float delta[3] = {100, 0, 0};
    float applied[3] = {0, 0, 0};
    Select_BoxDragHandle(&b, delta, X, Y, BoxHandle::MinI, false, applied);
    EXPECT_FLOAT_EQ(b.mins[X], 63);
    EXPECT_FLOAT_EQ(applied[X], 67); // snapped to 96, pulled back by 33; the snap is not counted
    EXPECT_FLOAT_EQ(applied[Y], 0);
}

TEST_F(SelectionBoxTest, DragTable) {
    const struct {
        const char* name;
        int32_t handle;
        float di, dj;
        bool noSnap;
        float minI, minJ, maxI, maxJ, appliedI, appliedJ;
    } cases[] = {
        {"corner 2 snapped", BoxHandle::MaxIMaxJ, 20, 37, false, 0, 0, 80, 96, 20, 37},
        {"corner 3 no snap", BoxHandle::MinIMinJ, 5, -7, true, 5, -7, 64, 64, 5, -7},
        {"edge 7 only moves max j", BoxHandle::MaxJ, 0, 30, true, 0, 0, 64, 94, 0, 30},
        {"max edge below min", BoxHandle::MaxI, -100, 0, true, 0, 0, 1, 64, -63, 0},
        {"clamped at the world edge", BoxHandle::MaxIMinJ, 9000, -9000, true, 0, -8192, 8192, 64, 8128,
         -8192},
    };
    for (const auto& c : cases) {
        SelectionBox b = box(0, 0, 0, 64, 64, 64);
        const float delta[3] = {c.di, c.dj, 0};
        float applied[3] = {0, 0, 0};
        Select_BoxDragHandle(&b, delta, X, Y, c.handle, c.noSnap, applied);
        EXPECT_FLOAT_EQ(b.mins[X], c.minI) << c.name;
        EXPECT_FLOAT_EQ(b.mins[Y], c.minJ) << c.name;
        EXPECT_FLOAT_EQ(b.maxs[X], c.maxI) << c.name;
        EXPECT_FLOAT_EQ(b.maxs[Y], c.maxJ) << c.name;
        EXPECT_FLOAT_EQ(applied[X], c.appliedI) << c.name;
        EXPECT_FLOAT_EQ(applied[Y], c.appliedJ) << c.name;
    }
}

TEST_F(SelectionBoxTest, DragDoesNothingWithoutMovementOrOnAnInvalidBox) {
    SelectionBox b = box(0, 0, 0, 64, 64, 64);
    const SelectionBox before = b;
    const float none[3] = {0, 0, 50}; // the third axis is not read
    float applied[3] = {0, 0, 0};
    Select_BoxDragHandle(&b, none, X, Y, BoxHandle::MinI, false, applied);
    b.valid = 0;
    const float delta[3] = {10, 10, 0};
    Select_BoxDragHandle(&b, delta, X, Y, BoxHandle::MinI, false, applied);
    EXPECT_EQ(0, std::memcmp(b.mins, before.mins, sizeof b.mins));
    EXPECT_EQ(0, std::memcmp(b.maxs, before.maxs, sizeof b.maxs));
    EXPECT_EQ(applied[X] + applied[Y] + applied[Z], 0);
}

TEST_F(SelectionBoxTest, FloorToGridFollowsTheSnapSetting) {
    EXPECT_FLOAT_EQ(Select_FloorToGrid(31), 16);
    EXPECT_FLOAT_EQ(Select_FloorToGrid(-1), -16);
    window.settings.SnapToGrid = false;
    EXPECT_FLOAT_EQ(Select_FloorToGrid(31), 31);
}

// ---- Snapped move ------------------------------------------------------------------------------

TEST_F(SelectionBoxTest, SnapMovePassesTheReferenceOntoTheNextGridLine) {
    const float reference[3] = {10, 10, 0};
    const struct {
        float di, dj;
        float shiftI, shiftJ;
        uint32_t flagsLeft;
    } cases[] = {
        {5, -5, 6, -10, 0},
        {-1, 3, -10, 6, 0},
        {0, 3, 0, 6, BoxPending::I}, // a zero component leaves its axis and flag alone
    };
    for (const auto& c : cases) {
        SelectionBox b = box(0, 0, 0, 64, 64, 64);
        const float pending[3] = {c.di, c.dj, 0};
        uint32_t flags = BoxPending::I | BoxPending::J;
        Select_BoxSnapMove(&b, pending, X, Y, reference, false, &flags);
        EXPECT_FLOAT_EQ(b.mins[X], c.shiftI) << c.di;
        EXPECT_FLOAT_EQ(b.maxs[X], 64 + c.shiftI) << c.di;
        EXPECT_FLOAT_EQ(b.mins[Y], c.shiftJ) << c.dj;
        EXPECT_EQ(flags, c.flagsLeft) << c.di << " " << c.dj;
    }
}

TEST_F(SelectionBoxTest, SnapMoveStepsOneUnitWithoutSnapAndOnlyOnPendingAxes) {
    SelectionBox b = box(0, 0, 0, 64, 64, 64);
    const float reference[3] = {10.25f, 10, 0};
    const float pending[3] = {1, 1, 0};
    uint32_t flags = BoxPending::I;
    Select_BoxSnapMove(&b, pending, X, Y, reference, true, &flags);
    EXPECT_FLOAT_EQ(b.mins[X], 0.75f);
    EXPECT_FLOAT_EQ(b.mins[Y], 0);
    EXPECT_EQ(flags, 0u);
}

// ---- Rotation ----------------------------------------------------------------------------------

TEST_F(SelectionBoxTest, RotationSnapsTowardsZeroAndWrapsNegativeAngles) {
    const struct {
        float dragDegrees;
        bool snap;
        float expectDegrees;
    } cases[] = {{7.3f, false, 7.0f}, {-7.3f, false, 353.0f}, {20.0f, true, 15.0f}, {-20.0f, true, 345.0f}};
    for (const auto& c : cases) {
        SelectionBox b = box(-10, -10, 0, 10, 10, 0);
        // Start on the -x side of the centre; turn the current point by the drag angle.
        const float start[3] = {-100, 0, 0};
        const float r = c.dragDegrees * float(M_PI) / 180.0f;
        const float current[3] = {-100 * std::cos(r), -100 * std::sin(r), 0};
        Select_BoxRotationAngle(&b, current, start, X, Y, c.snap);
        EXPECT_NEAR(degrees(b), c.expectDegrees, 1e-3) << c.dragDegrees;
        EXPECT_GE(b.angle, 0.0f);
    }
}

TEST_F(SelectionBoxTest, ZeroFixedRotationFallsBackToHalfDegrees) {
    window.settings.FixedDegreeRotation = 0;
    SelectionBox b = box(-10, -10, 0, 10, 10, 0);
    const float start[3] = {-100, 0, 0};
    const float r = 7.3f * float(M_PI) / 180.0f;
    const float current[3] = {-100 * std::cos(r), -100 * std::sin(r), 0};
    Select_BoxRotationAngle(&b, current, start, X, Y, true);
    EXPECT_NEAR(degrees(b), 7.0f, 1e-3);
}

// ---- Status text -------------------------------------------------------------------------------

TEST_F(SelectionBoxTest, StatusTextTable) {
    SelectionBox b = box(0, 0, 0, 10, 10, 10);
    SelectionBox odd = box(-1.005f, 0, 0, 2.5f, 3.333f, 7);
    SelectionBox turned = b;
    turned.angle = 7.0f * float(M_PI) / 180.0f;
    SelectionBox wrapped = b;
    wrapped.angle = 353.0f * float(M_PI) / 180.0f;
    SelectionBox sheared = b;
    sheared.shear = 0.123456f;
    SelectionBox invalid = b;
    invalid.valid = 0;
    const struct {
        const SelectionBox* box;
        int32_t i, j, mode;
        QString text;
    } cases[] = {
        {&b, X, Y, BoxStatus::Centre, "5x 5y 5z"},
        {&odd, X, Y, BoxStatus::Centre, QString("0.74x 1.66y 3.5z")},
        {&odd, X, Z, BoxStatus::Size, "3.5 x 7"},
        {&odd, -1, Z, BoxStatus::Size, ""},
        {&b, X, Y, BoxStatus::None, ""},
        {&turned, X, Y, BoxStatus::Angle, QString("7.0") + QChar(0x00B0)},
        {&wrapped, X, Y, BoxStatus::Angle, QString("353.0") + QChar(0x00B0)},
        {&sheared, X, Y, BoxStatus::Shear, "shear: 0.123456"},
        {&odd, X, Y, 0, "3.5w 3.33l 7h @(0.74 1.66 3.5)"},
        {&invalid, X, Y, BoxStatus::Centre, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Select_BoxStatusText(c.box, c.i, c.j, c.mode), c.text) << c.mode;
}

} // namespace
