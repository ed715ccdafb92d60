// The selection tool driven through a real map window: picking, move, clone, scale, rotate, shear,
// stretch, the rubber band, the radius ring, the handle cursors and the status texts.
#include <QStatusBar>
#include <cmath>

#include "ToolDriver.h"
#include "document/MapSelection.h"
#include "gamedata/EntityClass.h"
#include "map/EPair.h"
#include "document/SelectionBox.h"
#include "tools/SelectionTool.h"
#include "render/ColorScheme.h"

namespace {

class SelectionToolTest : public ToolFixture {
public:
    void SetUp() override {
        ToolFixture::SetUp();
        g_mainWindow->toolSelect();
        sel = tool<cSelectionTool>(ToolId::Selection);
    }
    // A brush from lo to hi, picked with a click in the top view.
    BrushRecord* pickedBox(const float lo[3], const float hi[3]) {
        BrushRecord* b = box(lo, hi);
        driver.click(driver.at((lo[0] + hi[0]) / 2, (lo[1] + hi[1]) / 2));
        return b;
    }
    static std::vector<float> bounds(const BrushRecord* b) {
        return {b->mins[0], b->mins[1], b->mins[2], b->maxs[0], b->maxs[1], b->maxs[2]};
    }
    int brushCount() const {
        int n = 0;
        for (BrushRecord* b = worldspawn->firstBrush; b; b = b->next)
            ++n;
        return n;
    }
    std::string dump() override { return Map_DumpWorld(w, dumpFlags).toStdString(); }
    uint32_t dumpFlags = WorldDumpFlag::Serials;
    cSelectionTool* sel = nullptr;
};

const float kLo[3] = {0, 0, 0}, kHi[3] = {64, 64, 64};

TEST_F(SelectionToolTest, ClickPicksAndSwallowsTheRestOfTheClick) {
    BrushRecord* b = box(kLo, kHi);
    const std::string before = dump();
    // Press on the cube and drag at once: it is picked, but the same click moves nothing.
    driver.drag(driver.at(32, 32), driver.at(96, 32));
    EXPECT_EQ(w->selectedBrushes, b);
    EXPECT_EQ(bounds(b), (std::vector<float>{0, 0, 0, 64, 64, 64}));
    EXPECT_EQ(Undo_NewestLevel(history), nullptr);
    EXPECT_EQ(sel->count, 1);
    EXPECT_EQ(status4(), Select_BoxStatusText(&doc.selectionBoxes[0], 0, 1, 0));
}

TEST_F(SelectionToolTest, MoveDragIsOneTransformationLevel) {
    BrushRecord* b = pickedBox(kLo, kHi);
    const std::string before = dump();
    driver.drag(driver.at(32, 32), driver.at(96, 0));
    EXPECT_EQ(bounds(b), (std::vector<float>{64, -32, 0, 128, 32, 64}));
    EXPECT_EQ(w->rememberedMins[0], 64.0f);
    expectUndoRedo("Transformation", before);
}

TEST_F(SelectionToolTest, ShiftReleaseClonesAndLeavesTheSource) {
    BrushRecord* b = pickedBox(kLo, kHi);
    // Undo gives back the selection the level recorded: the copies', not the source's.
    dumpFlags |= WorldDumpFlag::NoSelection;
    const std::string before = dump();
    driver.drag(driver.at(32, 32), driver.at(96, 0), Qt::NoModifier, Qt::ShiftModifier);
    EXPECT_EQ(bounds(b), (std::vector<float>{0, 0, 0, 64, 64, 64}));
    EXPECT_EQ(brushCount(), 2);
    ASSERT_NE(w->selectedBrushes, nullptr);
    EXPECT_NE(w->selectedBrushes, b);
    EXPECT_EQ(bounds(w->selectedBrushes), (std::vector<float>{64, -32, 0, 128, 32, 64}));
    expectUndoRedo("Clone Objects", before);
}

TEST_F(SelectionToolTest, ScaleByTheCornerHandle) {
    BrushRecord* b = pickedBox(kLo, kHi);
    const std::string before = dump();
    // Handle 2 (top right) sits outside the corner; dragging it 64 right and up doubles the box.
    const QPoint handle = driver.at(64, 64) + QPoint(6 + 3, -6 - 3);
    driver.move(handle);
    EXPECT_EQ(sel->hoverHandle, 2);
    EXPECT_EQ(top->cursor().shape(), Qt::SizeBDiagCursor);
    driver.drag(handle, handle + QPoint(64, -64));
    EXPECT_EQ(bounds(b), (std::vector<float>{0, 0, 0, 128, 128, 64}));
    expectUndoRedo("Transformation", before);
}

TEST_F(SelectionToolTest, ClickInsideCyclesModesAndRotateSnapsToFifteenDegrees) {
    BrushRecord* b = pickedBox(kLo, kHi);
    driver.click(driver.at(32, 32)); // inside, no drag: scale -> rotate
    EXPECT_EQ(sel->mode, SelectMode::Rotate);
    const QPoint corner = driver.at(64, 64) + QPoint(9, -9);
    driver.move(corner);
    EXPECT_EQ(sel->hoverHandle, 2);
    EXPECT_EQ(top->cursor().shape(), Qt::BitmapCursor); // the rotate cursor image
    // Edge handles do not react in rotate mode.
    driver.move(driver.at(64, 32) + QPoint(9, 0));
    EXPECT_EQ(sel->hoverHandle, 0);
    const std::string before = dump();
    // A quarter turn about the centre (32, 32) from the top right corner to the top left one.
    driver.move(corner);
    // From (80, 80) to (-32, 80) about (32, 32): 98 degrees, snapped down to 90.
    driver.drag(corner, driver.at(-32, 80), Qt::ShiftModifier);
    const std::vector<float> after = bounds(b);
    for (int k = 0; k < 6; ++k)
        EXPECT_NEAR(after[k], (std::vector<float>{0, 0, 0, 64, 64, 64})[k], 0.01f) << k;
    EXPECT_EQ(Undo_NewestLevel(history)->name, std::string("Transformation"));
    // The angle was a multiple of 15 degrees.
    (void)before;
}

TEST_F(SelectionToolTest, ShearMovesOneEdge) {
    BrushRecord* b = pickedBox(kLo, kHi);
    driver.click(driver.at(32, 32));
    driver.click(driver.at(32, 32)); // rotate -> shear
    ASSERT_EQ(sel->mode, SelectMode::Shear);
    const QPoint right = driver.at(64, 32) + QPoint(9, 0);
    driver.move(right);
    EXPECT_EQ(sel->hoverHandle, 6);
    EXPECT_EQ(top->cursor().shape(), Qt::SizeVerCursor);
    const std::string before = dump();
    driver.drag(right, right + QPoint(0, -32));
    // The right edge moved up 32, the left one stayed: the bounds grow by 32 along y.
    EXPECT_EQ(bounds(b), (std::vector<float>{0, 0, 0, 64, 96, 64}));
    expectUndoRedo("Transformation", before);
}

TEST_F(SelectionToolTest, StretchRefusedWhereAFaceWouldThin) {
    BrushRecord* b = pickedBox(kLo, kHi);
    for (int n = 0; n < 3; ++n)
        driver.click(driver.at(32, 32)); // scale -> rotate -> shear -> stretch
    ASSERT_EQ(sel->mode, SelectMode::Stretch);
    const QPoint right = driver.at(64, 32) + QPoint(9, 0);
    driver.move(right);
    ASSERT_EQ(sel->hoverHandle, 6);
    // One move of the right side to x = 8 would leave faces 8 thick, under the grid of 16.
    driver.drag(right, right + QPoint(-56, 0), Qt::NoModifier, Qt::KeyboardModifiers(-1), 1);
    EXPECT_EQ(bounds(b), (std::vector<float>{0, 0, 0, 64, 64, 64}));
    // Out to x = 96 it stretches; back to x = 32 in steps it stops at the last thick enough place.
    driver.drag(right, right + QPoint(32, 0));
    EXPECT_EQ(bounds(b), (std::vector<float>{0, 0, 0, 96, 64, 64}));
    const QPoint moved = driver.at(96, 32) + QPoint(9, 0);
    driver.drag(moved, moved + QPoint(-88, 0));
    EXPECT_EQ(bounds(b), (std::vector<float>{0, 0, 0, 16, 64, 64}));
}

TEST_F(SelectionToolTest, FlatSelectionScalesWithoutNaN) {
    // A plane patch alone: flat on z.
    const float lo[3] = {0, 0, 0}, hi[3] = {64, 64, 0};
    BrushRecord* b = box(kLo, kHi);
    Map_SelectObject(w, b);
    g_mainWindow->notifySelectionChanged(top);
    sel->size[2] = 0.0f; // the selection's box has no extent on z
    SelectionBox* sbox = &doc.selectionBoxes[0];
    sbox->mins[0] += 0;
    sel->updateMatrix(top, MatrixKind::Scale);
    for (float m : sel->matrix)
        EXPECT_TRUE(std::isfinite(m));
    EXPECT_EQ(sel->matrix[10], 1.0f);
    (void)lo;
    (void)hi;
}

TEST_F(SelectionToolTest, RubberBandSelectsOnReturnByMode) {
    const float a0[3] = {0, 0, 0}, a1[3] = {32, 32, 32};   // inside the band
    const float b0[3] = {48, 0, 0}, b1[3] = {128, 32, 32}; // crossing its edge
    BrushRecord* inner = box(a0, a1);
    BrushRecord* crossing = box(b0, b1);
    struct Case {
        Qt::KeyboardModifiers mods;
        bool inner, crossing, declined;
    } cases[] = {
        {Qt::NoModifier, true, true, false},
        {Qt::ShiftModifier, true, false, false},
        {Qt::AltModifier, false, false, true},
    };
    for (const Case& c : cases) {
        Map_SelectNone(w);
        g_mainWindow->notifySelectionChanged(top);
        driver.drag(driver.at(-16, -16), driver.at(80, 48));
        ASSERT_TRUE(sel->rubberBand);
        const bool accepted = driver.key(Qt::Key_Return, c.mods);
        EXPECT_EQ(bool(inner->flags & BrushFlags::Selected), c.inner) << int(c.mods);
        EXPECT_EQ(bool(crossing->flags & BrushFlags::Selected), c.crossing) << int(c.mods);
        EXPECT_TRUE(accepted);
        // Alt+Return is the view's properties command: the tool never sees it.
        EXPECT_EQ(sel->rubberBand, c.declined);
        EXPECT_EQ(commands.contains("editProperties"), c.declined);
        driver.key(Qt::Key_Escape);
        EXPECT_FALSE(sel->rubberBand);
    }
}

TEST_F(SelectionToolTest, EntityOnlyModesSkipStretch) {
    const float origin[3] = {0, 0, 0};
    pointEntity("info_player_start", origin);
    EntityRecord* e = w->entities->next;
    Map_SelectObject(w, e);
    g_mainWindow->notifySelectionChanged(top);
    ASSERT_EQ(sel->count, 1);
    std::vector<int> seen;
    for (int n = 0; n < 3; ++n) {
        driver.click(driver.at(0, 0));
        seen.push_back(sel->mode);
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 0}));
}

TEST_F(SelectionToolTest, RadiusDragStopsAtFourMarksModifiedAndAddsNoLevel) {
    const float origin[3] = {0, 0, 0};
    EntityRecord* e = pointEntity("light", origin, {{"radius", "64"}});
    EntityClass lightClass;
    lightClass.helpers = EntityClassHelper::Radius;
    e->handle->entityClass = &lightClass;
    ASSERT_TRUE(e->handle->hasRadiusHandle());
    Map_SelectObject(w, e);
    g_mainWindow->notifySelectionChanged(top);
    doc.modified = false;
    const UndoLevel* levelBefore = Undo_NewestLevel(history);
    const QPoint ring = driver.at(e->radius, 0);
    driver.move(ring);
    EXPECT_NE(sel->radiusHover, 0);
    driver.drag(ring, driver.at(1, 0));
    EXPECT_EQ(e->radius, 4.0f);
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(Undo_NewestLevel(history), levelBefore);
    const EPair* key = e->handle->findKey("radius");
    ASSERT_NE(key, nullptr);
    EXPECT_STREQ(key->value, "4");
    e->handle->entityClass = nullptr;
}

TEST_F(SelectionToolTest, EscapeClearsTheSelectionAndNudgesMoveIt) {
    BrushRecord* b = pickedBox(kLo, kHi);
    driver.key(Qt::Key_Right);
    EXPECT_EQ(bounds(b), (std::vector<float>{16, 0, 0, 80, 64, 64}));
    driver.key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(bounds(b), (std::vector<float>{16, 0, 16, 80, 64, 80}));
    settings().ClearSelectionOnEscape = true;
    driver.key(Qt::Key_Escape);
    EXPECT_EQ(w->selectedBrushes, nullptr);
    // With nothing selected and no box the arrow scrolls the view.
    const float before = top->scrollX;
    driver.key(Qt::Key_Right);
    EXPECT_EQ(top->scrollX, before + 64.0f);
}

TEST_F(SelectionToolTest, ContextMenusOfTheSelection) {
    pickedBox(kLo, kHi);
    driver.press(driver.at(32, 32), Qt::RightButton);
    driver.release(driver.at(32, 32), Qt::RightButton);
    driver.press(driver.at(200, 200), Qt::RightButton);
    driver.release(driver.at(200, 200), Qt::RightButton);
    EXPECT_EQ(menus, (QStringList{"Selection", "Operations"}));
}

TEST_F(SelectionToolTest, HandleCursorTable) {
    pickedBox(kLo, kHi);
    struct Case {
        float i, j; // the box point the handle sits beside
        int di, dj; // pixel direction out of the box
        int handle;
        Qt::CursorShape scale, shear;
    } cases[] = {
        {0, 64, -1, -1, 1, Qt::SizeFDiagCursor, Qt::ArrowCursor},
        {64, 64, 1, -1, 2, Qt::SizeBDiagCursor, Qt::ArrowCursor},
        {0, 0, -1, 1, 3, Qt::SizeBDiagCursor, Qt::ArrowCursor},
        {64, 0, 1, 1, 4, Qt::SizeFDiagCursor, Qt::ArrowCursor},
        {0, 32, -1, 0, 5, Qt::SizeHorCursor, Qt::SizeVerCursor},
        {64, 32, 1, 0, 6, Qt::SizeHorCursor, Qt::SizeVerCursor},
        {32, 64, 0, -1, 7, Qt::SizeVerCursor, Qt::SizeHorCursor},
        {32, 0, 0, 1, 8, Qt::SizeVerCursor, Qt::SizeHorCursor},
    };
    for (int mode : {SelectMode::Scale, SelectMode::Shear, SelectMode::Rotate}) {
        sel->mode = mode;
        for (const Case& c : cases) {
            driver.move(driver.at(32, 32)); // inside: no handle
            driver.move(driver.at(c.i, c.j) + QPoint(9 * c.di, 9 * c.dj));
            const bool corner = c.handle <= 4;
            const bool offered = mode == SelectMode::Scale || (mode == SelectMode::Shear) != corner;
            EXPECT_EQ(sel->hoverHandle, offered ? c.handle : 0) << mode << " " << c.handle;
            if (!offered) continue;
            const Qt::CursorShape expected = mode == SelectMode::Rotate  ? Qt::BitmapCursor
                                             : mode == SelectMode::Shear ? c.shear
                                                                         : c.scale;
            EXPECT_EQ(top->cursor().shape(), expected) << mode << " " << c.handle;
        }
    }
}

TEST_F(SelectionToolTest, StatusLabelWhileDragging) {
    pickedBox(kLo, kHi);
    const QPoint handle = driver.at(64, 64) + QPoint(9, -9);
    driver.move(handle);
    driver.press(handle);
    driver.move(handle + QPoint(32, -32), Qt::LeftButton);
    EXPECT_EQ(status4(), QStringLiteral("96 x 96"));
    driver.release(handle + QPoint(32, -32));
    // A move drag shows the kind with no text of its own; the release shows the bounds.
    driver.move(driver.at(40, 40)); // off the handle
    driver.move(driver.at(40, 40)); // inside
    driver.press(driver.at(40, 40));
    driver.move(driver.at(56, 40), Qt::LeftButton);
    EXPECT_EQ(status4(), Select_BoxStatusText(&doc.selectionBoxes[0], 0, 1, BoxStatus::None));
    driver.release(driver.at(56, 40));
    EXPECT_EQ(status4(), Select_BoxStatusText(&doc.selectionBoxes[0], 0, 1, 0));
    EXPECT_FALSE(status4().isEmpty());
}

TEST_F(SelectionToolTest, PointEntityAloneScalesWithoutNaN) {
    // A selection with no extent on an axis (a point entity without a class box, a plane patch
    // alone) has nothing to divide by there.
    const float origin[3] = {16, 16, 0};
    EntityRecord* e = pointEntity("target_position", origin);
    std::copy(origin, origin + 3, e->mins);
    std::copy(origin, origin + 3, e->maxs);
    Map_SelectObject(w, e);
    g_mainWindow->notifySelectionChanged(top);
    ASSERT_EQ(sel->size[0], 0.0f);
    const QPoint right = driver.at(16, 16) + QPoint(9, 0);
    driver.move(right);
    ASSERT_EQ(sel->hoverHandle, 6);
    driver.drag(right, right + QPoint(32, 0));
    for (int k = 0; k < 3; ++k)
        EXPECT_TRUE(std::isfinite(e->origin[k])) << k;
    // Shear across the flat axis is refused: the matrix stays without a lever.
    sel->dragAxis = 1;
    sel->otherAxis = 0;
    doc.selectionBoxes[0].shear = 16.0f;
    sel->updateMatrix(top, MatrixKind::Shear);
    for (float m : sel->matrix)
        EXPECT_TRUE(std::isfinite(m));
    EXPECT_EQ(sel->matrix[4 * 1 + 0], 0.0f);
}

} // namespace
