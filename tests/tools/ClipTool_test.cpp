// The clip tool through a real map window: placing the two points by dragging, the keep modes,
// the cut through the clip command, coincident points, the drawn line and a closed window.
#include <QImage>

#include "ToolDriver.h"
#include "tools/ClipTool.h"

namespace {

class ClipToolTest : public ToolFixture {
public:
    void SetUp() override {
        ToolFixture::SetUp();
        g_mainWindow->toolClipper();
        clip = tool<cClipTool>(ToolId::Clip);
        const float lo[3] = {-64, -64, -64}, hi[3] = {64, 64, 64};
        cube = box(lo, hi);
        Map_SelectObject(w, cube);
        g_mainWindow->notifySelectionChanged(top);
    }
    void placeLine() { driver.drag(driver.at(0, -128), driver.at(0, 128)); }
    std::vector<std::vector<float>> brushBounds() const {
        std::vector<std::vector<float>> list;
        for (BrushRecord* b = worldspawn->firstBrush; b; b = b->next)
            list.push_back({b->mins[0], b->mins[1], b->mins[2], b->maxs[0], b->maxs[1], b->maxs[2]});
        std::sort(list.begin(), list.end());
        return list;
    }
    cClipTool* clip = nullptr;
    BrushRecord* cube = nullptr;
};

TEST_F(ClipToolTest, KeepModesCutTheCube) {
    struct Case {
        int retriggers;
        Qt::KeyboardModifiers mods;
        std::vector<std::vector<float>> result;
    } cases[] = {
        {0, Qt::NoModifier, {{0, -64, -64, 64, 64, 64}}},
        {1, Qt::NoModifier, {{-64, -64, -64, 0, 64, 64}}},
        {0, Qt::ShiftModifier, {{-64, -64, -64, 0, 64, 64}, {0, -64, -64, 64, 64, 64}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.retriggers * 10 + int(c.mods != 0));
        clip->keepSide = 0;
        for (int n = 0; n < c.retriggers; ++n)
            g_mainWindow->toolClipper();
        const std::string before = dump();
        placeLine();
        ASSERT_EQ(clip->pointCount, 2);
        EXPECT_TRUE(clip->planeValid);
        driver.key(Qt::Key_Return, c.mods);
        EXPECT_EQ(brushBounds(), c.result);
        EXPECT_EQ(clip->pointCount, 0);
        expectUndoRedo("Clip Objects", before);
        ASSERT_TRUE(Undo_StepUndo(history));
        // Back to the whole cube, selected, for the next case.
        Map_SelectNone(w);
        Map_SelectObject(w, worldspawn->firstBrush);
        g_mainWindow->notifySelectionChanged(top);
    }
}

TEST_F(ClipToolTest, CoincidentPointsCutNothing) {
    const std::string before = dump();
    driver.drag(driver.at(0, 0), driver.at(0, 0) + QPoint(3, -3));
    ASSERT_EQ(clip->pointCount, 2);
    EXPECT_FALSE(clip->planeValid);
    EXPECT_TRUE(clip->frontPieces.empty() && clip->backPieces.empty());
    driver.key(Qt::Key_Return);
    driver.key(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(dump(), before);
    EXPECT_EQ(clip->pointCount, 2);
}

TEST_F(ClipToolTest, CtrlDragMovesBothPointsAndEscapeClears) {
    placeLine();
    const QPoint p0 = driver.at(0, -128);
    driver.move(p0);
    EXPECT_EQ(clip->dragPoint, 0);
    driver.drag(p0, driver.at(32, -128), Qt::ControlModifier);
    EXPECT_EQ(clip->points[0][0], 32.0f);
    EXPECT_EQ(clip->points[1][0], 32.0f);
    EXPECT_EQ(clip->points[1][1], 128.0f);
    driver.key(Qt::Key_Escape);
    EXPECT_EQ(clip->pointCount, 0);
}

TEST_F(ClipToolTest, LineDrawnInTheValidOrInvalidColour) {
    placeLine();
    QImage image = top->grabFramebuffer();
    const QPoint on = driver.at(0, 100);
    EXPECT_EQ(QColor(image.pixel(on)), Color_GetQColor(COLOR_CLIP_LINE));
    // Keeping the back of nothing: deselecting leaves no pieces, the result is invalid.
    Map_SelectNone(w);
    clip->refresh(top);
    image = top->grabFramebuffer();
    EXPECT_EQ(QColor(image.pixel(on)), Color_GetQColor(COLOR_CLIP_LINE_INVALID));
}

TEST_F(ClipToolTest, ClosingTheWindowDropsThePoints) {
    placeLine();
    window->closedByDocument = true;
    delete window;
    window = new cChildWindow(&doc);
    window->buildLayout(-1);
    cCanvas* other = window->views[1];
    clip->refresh(other);
    EXPECT_EQ(clip->pointCount, 0);
    EXPECT_EQ(clip->clipView, nullptr);
}

TEST_F(ClipToolTest, OKeyTogglesSizingLabelsAndIsDeclined) {
    const bool before = settings().ClipSizingInfo;
    const bool accepted = driver.key(Qt::Key_O);
    EXPECT_EQ(settings().ClipSizingInfo, !before);
    EXPECT_FALSE(accepted);
    EXPECT_FALSE(top->showStatistics); // the view's own O is not taken under the clip tool
    driver.key(1065);                  // the same key on a Russian layout
    EXPECT_EQ(settings().ClipSizingInfo, before);
}

} // namespace
