// Views drawn in a real GL context under the test display, checked by reading pixels back.
#include <QApplication>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>

#include "ViewFixture.h"
#include "document/MapWorld.h"
#include "views/AbstractTool.h"
#include "views/ViewSplitters.h"

namespace {

// A tool that outlines one box in the views.
class cBoxTool : public cAbstractTool {
public:
    void draw(cCanvas* view, RenderContext*, RenderCounters*) override {
        glColor4ub(255, 0, 255, 255);
        view->drawBoxLines(mins, maxs);
    }
    float mins[3] = {-64, -48, -32};
    float maxs[3] = {80, 96, 112};
};

class CanvasPaint : public ViewSettingsFixture {
protected:
    void SetUp() override {
        ViewSettingsFixture::SetUp();
        settings().CurrentGridSize = 32;
        settings().CanvasConfig = 0;
    }
    void TearDown() override {
        closeMapWindow(window, &doc);
        ViewSettingsFixture::TearDown();
    }
    // The map window over a new document, shown, each view painted once.
    void open() {
        worldspawn = Test_NewDocument(&doc);
        window = showMapWindow(&doc);
    }
    BrushRecord* box(const float lo[3], const float hi[3]) {
        return Test_Box(Map_Handle(doc.world), worldspawn, lo, hi);
    }
    static QColor rgb(const QImage& image, int x, int y) { return QColor(image.pixel(x, y)); }
    // Whether some pixel within one pixel of (x, y) has the colour.
    static bool near(const QImage& image, int x, int y, const QColor& colour) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (rgb(image, x + dx, y + dy) == colour) return true;
        return false;
    }
    QList<cCanvas*> views2D() const {
        QList<cCanvas*> list;
        for (cCanvas* v : window->views)
            if (!v->is3D()) list.append(v);
        return list;
    }

    MapDocument doc;
    EntityRecord* worldspawn = nullptr;
    cChildWindow* window = nullptr;
};

TEST_F(CanvasPaint, StoredWordZeroGivesCameraTopSideFront) {
    open();
    ASSERT_EQ(window->views.size(), 4);
    EXPECT_EQ(window->views[0]->viewType, ViewType::Camera);
    EXPECT_EQ(window->views[1]->viewType, ViewType::Top);
    EXPECT_EQ(window->views[2]->viewType, ViewType::Side);
    EXPECT_EQ(window->views[3]->viewType, ViewType::Front);
    EXPECT_EQ(window->views[0]->renderMode, 3);
    EXPECT_EQ(window->views[1]->renderMode, 0);
    EXPECT_FALSE(window->views[0]->hScroll->isVisibleTo(window));
    EXPECT_TRUE(window->views[1]->hScroll->isVisibleTo(window));
    window->storeViewLayout();
    EXPECT_EQ(settings().CanvasConfig,
              LayoutWord::Marker | 0x00608080 | (4 << 23) | (1 << 16) | (1 << 9) | (1 << 2));
}

TEST_F(CanvasPaint, GridLinesOnTheirColumnsInTheSchemeColours) {
    settings().DrawCamera = false; // the 3D eye would lie on the columns looked at
    open();
    const QColor axis(50, 100, 100), minor(50, 50, 50), major(100, 100, 100), background(0, 0, 0);
    for (cCanvas* view : views2D()) {
        const QImage image = view->grabFramebuffer();
        const int cx = view->viewWidth / 2, cy = view->viewHeight / 2;
        const int row = cy + 16; // between two horizontal lines
        const int column = cx + 16;
        EXPECT_TRUE(near(image, cx, row, axis)) << view->viewType;
        EXPECT_TRUE(near(image, cx + 32, row, minor)) << view->viewType;
        EXPECT_TRUE(near(image, cx - 32, row, minor)) << view->viewType;
        EXPECT_EQ(rgb(image, cx + 16, row), background) << view->viewType;
        EXPECT_TRUE(near(image, column, cy, axis)) << view->viewType;
        EXPECT_TRUE(near(image, column, cy - 32, minor)) << view->viewType;
    }
    // Every eighth line is a major one: at zoom 0.5, 256 units are 128 pixels.
    for (cCanvas* view : views2D()) {
        view->zoom = 0.5f;
        const QImage image = view->grabFramebuffer();
        const int cx = view->viewWidth / 2, row = view->viewHeight / 2 + 8;
        EXPECT_TRUE(near(image, cx + 128, row, major)) << view->viewType;
        EXPECT_TRUE(near(image, cx - 128, row, major)) << view->viewType;
        EXPECT_TRUE(near(image, cx + 112, row, minor)) << view->viewType;
    }
    // Grid 1 at zoom 0.25 steps 64 units, 16 pixels.
    settings().CurrentGridSize = 1;
    cCanvas* top = window->views[1];
    top->zoom = 0.25f;
    QImage image = top->grabFramebuffer();
    const int cx = top->viewWidth / 2, row = top->viewHeight / 2 + 8;
    EXPECT_TRUE(near(image, cx + 16, row, minor));
    EXPECT_EQ(rgb(image, cx + 8, row), background);
    EXPECT_EQ(rgb(image, cx + 4, row), background);
    settings().EnableGrid2D = false;
    image = top->grabFramebuffer();
    EXPECT_FALSE(near(image, cx + 16, row, minor));
    EXPECT_FALSE(near(image, cx, row, axis));
}

TEST_F(CanvasPaint, ToolBoxLandsWhereWorldToScreenSays) {
    open();
    cBoxTool tool;
    g_mainWindow->activeTool = &tool;
    const QColor magenta(255, 0, 255);
    for (cCanvas* view : views2D()) {
        const QImage image = view->grabFramebuffer();
        const int H = view->hAxis, V = view->vAxis;
        float a[3] = {0, 0, 0}, b[3] = {0, 0, 0}, sa[3], sb[3];
        a[H] = tool.mins[H];
        a[V] = (tool.mins[V] + tool.maxs[V]) / 2; // middle of the left edge
        b[H] = (tool.mins[H] + tool.maxs[H]) / 2;
        b[V] = tool.maxs[V]; // middle of the top edge
        view->worldToScreen(a, sa);
        view->worldToScreen(b, sb);
        EXPECT_TRUE(near(image, int(sa[0]), int(sa[1]), magenta)) << view->viewType;
        EXPECT_TRUE(near(image, int(sb[0]), int(sb[1]), magenta)) << view->viewType;
        EXPECT_NE(rgb(image, int(sa[0]) + 10, int(sa[1])), magenta);
    }
}

TEST_F(CanvasPaint, CaptionColourFillsTheTitleRectangle) {
    open();
    Color_Table()[COLOR_CAPTION].colour = QColor(200, 10, 20);
    for (cCanvas* view : window->views) {
        const QImage image = view->grabFramebuffer();
        EXPECT_EQ(rgb(image, view->titleRect[2] - 1, view->titleRect[1] + 1), QColor(200, 10, 20))
            << view->viewType;
        EXPECT_NE(rgb(image, view->titleRect[2] + 3, view->titleRect[3] + 3), QColor(200, 10, 20));
    }
}

TEST_F(CanvasPaint, NextPaintIsIdenticalAfterStateChangedBehindTheCache) {
    open();
    const float lo[3] = {-40, -40, -40}, hi[3] = {40, 40, 40};
    box(lo, hi);
    cBoxTool tool;
    g_mainWindow->activeTool = &tool;
    for (cCanvas* view : window->views) {
        const QImage before = view->grabFramebuffer();
        view->makeCurrent();
        static const float junk[3] = {1e9f, 1e9f, 1e9f};
        glEnable(GL_BLEND);
        glBlendFunc(GL_ZERO, GL_ONE);
        glDepthMask(GL_FALSE);
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glVertexPointer(3, GL_FLOAT, 0, junk);
        view->doneCurrent();
        const QImage after = view->grabFramebuffer();
        EXPECT_EQ(before, after) << view->viewType;
        view->makeCurrent();
        glDeleteTextures(1, &texture);
        view->doneCurrent();
    }
}

TEST_F(CanvasPaint, PickGivesTheBrushIdExactlyAtItsEdges) {
    settings().Antialiasing = true;
    open();
    const float lo[3] = {-64, -32, -16}, hi[3] = {80, 48, 112};
    BrushRecord* brush = box(lo, hi);
    const int id = brush->handle->id;
    ASSERT_GT(id, 0);
    for (cCanvas* view : views2D()) {
        const int H = view->hAxis, V = view->vAxis;
        const int x0 = view->viewWidth / 2 + int(lo[H]), x1 = view->viewWidth / 2 + int(hi[H]);
        const int ymid = view->viewHeight / 2 - int((lo[V] + hi[V]) / 2);
        EXPECT_EQ(view->renderForPick(x0, ymid, 0), id) << view->viewType;
        EXPECT_EQ(view->renderForPick(x0 - 1, ymid, 0), 0) << view->viewType;
        EXPECT_EQ(view->renderForPick(x1 - 1, ymid, 0), id) << view->viewType;
        EXPECT_EQ(view->renderForPick(x1, ymid, 0), 0) << view->viewType;
        const int ytop = view->viewHeight / 2 - int(hi[V]);
        const int xmid = view->viewWidth / 2 + int((lo[H] + hi[H]) / 2);
        EXPECT_EQ(view->renderForPick(xmid, ytop, 0), id) << view->viewType;
        EXPECT_EQ(view->renderForPick(xmid, ytop - 1, 0), 0) << view->viewType;
        EXPECT_EQ(view->renderForPick(5, 5, 0), 0);
    }
}

TEST_F(CanvasPaint, CameraViewPicksTheBoxFaceInWholeUnits) {
    open();
    const float lo[3] = {100, -64, 0}, hi[3] = {164, 64, 128};
    BrushRecord* brush = box(lo, hi);
    cCanvas* camera = window->views[0];
    camera->grabFramebuffer();
    const int cx = camera->viewWidth / 2, cy = camera->viewHeight / 2;
    float hit[3];
    ASSERT_TRUE(camera->screenToWorld(cx, cy, 0, false, hit));
    EXPECT_EQ(hit[0], 100.0f);
    EXPECT_LE(std::fabs(hit[1]), 1.0f);
    EXPECT_LE(std::fabs(hit[2] - 64.0f), 1.0f);
    for (float c : hit)
        EXPECT_EQ(c, std::floor(c));
    EXPECT_FALSE(camera->screenToWorld(2, 2, 0, false, hit));
    EXPECT_EQ(camera->renderForPick(cx, cy, 0), brush->handle->id);
}

TEST_F(CanvasPaint, MaximiseAndRowMirroring) {
    open();
    window->toggleMaximize(window->views[3]);
    EXPECT_EQ(window->maximised, window->views[3]);
    EXPECT_EQ(window->bottomRow->sizes().value(0), 0);
    EXPECT_EQ(window->topRow->sizes().value(0), 0);
    EXPECT_EQ(window->rows->sizes().value(0), 0);
    EXPECT_FALSE(window->views[1]->hScroll->isVisibleTo(window));
    EXPECT_TRUE(window->views[3]->hScroll->isVisibleTo(window));
    window->toggleMaximize(window->views[3]);
    EXPECT_EQ(window->maximised, nullptr);
    const QList<int> halves = window->bottomRow->sizes();
    EXPECT_LE(std::abs(halves.value(0) - halves.value(1)), 1);
    window->bottomRow->moveByCross(150);
    EXPECT_EQ(window->topRow->sizes(), window->bottomRow->sizes());
    EXPECT_NE(window->bottomRow->sizes(), halves);
}

TEST_F(CanvasPaint, ZoomToBoundsFitsAndCentresTheBox) {
    open();
    const float mins[3] = {-300, 100, -50}, maxs[3] = {500, 400, 250};
    window->zoomViewsToBounds(mins, maxs);
    for (cCanvas* view : views2D()) {
        const int H = view->hAxis, V = view->vAxis;
        const float w = (maxs[H] - mins[H]) * view->zoom, h = (maxs[V] - mins[V]) * view->zoom;
        EXPECT_LE(w, view->viewWidth + 0.01f) << view->viewType;
        EXPECT_LE(h, view->viewHeight + 0.01f) << view->viewType;
        EXPECT_TRUE(std::fabs(w - view->viewWidth) < 0.5f || std::fabs(h - view->viewHeight) < 0.5f);
        const float centre[3] = {100, 250, 100};
        float s[3];
        view->worldToScreen(centre, s);
        EXPECT_NEAR(s[0], view->viewWidth / 2.0f, 1.0f);
        EXPECT_NEAR(s[1], view->viewHeight / 2.0f, 1.0f);
    }
}

TEST_F(CanvasPaint, StateWordsReachGL) {
    open();
    cCanvas* view = window->views[1];
    view->makeCurrent();
    GL_ResyncStateCache(view->stateCache);
    GL_State(view->stateCache, 0x65 | 0x40000);
    GLint src = 0, dst = 0, alphaFunc = 0;
    GLboolean mask = GL_TRUE;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    glGetIntegerv(GL_ALPHA_TEST_FUNC, &alphaFunc);
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(alphaFunc, GL_GEQUAL);
    EXPECT_EQ(mask, GL_FALSE);
    GL_State(view->stateCache, 0x100);
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(mask, GL_TRUE);
    view->doneCurrent();
}

TEST_F(CanvasPaint, TitlesOfDrawnEntities) {
    open();
    const float origin[3] = {0, 0, 0};
    EntityRecord* door =
        Test_Entity(Map_Handle(doc.world), "func_door", origin, 0, {{"targetname", "door1"}});
    const float lo[3] = {0, 0, 0}, hi[3] = {128, 64, 64};
    Test_Box(Map_Handle(doc.world), door, lo, hi);
    door->handle->update(0);
    cCanvas* top = window->views[1];
    top->grabFramebuffer();
    EXPECT_EQ(top->counters.titles, 1);
    EXPECT_EQ(top->counters.brushes, 1);
    // Too small on screen: no title.
    top->zoom = 0.05f;
    top->grabFramebuffer();
    EXPECT_EQ(top->counters.titles, 0);
    top->zoom = 1.0f;
    settings().HideMask = 0x10;
    top->grabFramebuffer();
    EXPECT_EQ(top->counters.titles, 0);
}

TEST_F(CanvasPaint, CordonAtTheOriginIsDrawn) {
    open();
    settings().EnableCordon = true;
    for (int k = 0; k < 3; ++k) {
        doc.world->cordonMins[k] = 0;
        doc.world->cordonMaxs[k] = 96;
    }
    cCanvas* top = window->views[1];
    const float edge[3] = {96, 48, 0};
    float s[3];
    top->worldToScreen(edge, s);
    const QImage image = top->grabFramebuffer();
    EXPECT_TRUE(near(image, int(s[0]), int(s[1]), QColor(255, 0, 0)));
    settings().EnableCordon = false;
    EXPECT_FALSE(near(top->grabFramebuffer(), int(s[0]), int(s[1]), QColor(255, 0, 0)));
}

TEST_F(CanvasPaint, ClosingTheWindowForgetsItsFocusView) {
    open();
    window->views[2]->focusView();
    EXPECT_EQ(g_mainWindow->focusView, window->views[2]);
    window->views[1]->focusView();
    EXPECT_EQ(g_mainWindow->previousFocusView, window->views[2]);
    g_mainWindow->lastInputCanvas = window->views[3];
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    window = nullptr;
    EXPECT_EQ(g_mainWindow->focusView, nullptr);
    EXPECT_EQ(g_mainWindow->previousFocusView, nullptr);
    EXPECT_EQ(g_mainWindow->lastInputCanvas, nullptr);
    EXPECT_TRUE(doc.windows.isEmpty());
}

// A map window under a maximised one holds its redraws; uncovered, it paints what changed meanwhile.
TEST_F(CanvasPaint, CoveredWindowPaintsOnceUncovered) {
    worldspawn = Test_NewDocument(&doc);
    g_mainWindow->documents.append(&doc);
    QMdiArea area;
    area.resize(808, 608);
    auto* under = new cChildWindow(&doc);
    under->buildLayout(-1);
    auto* over = new cChildWindow(&doc);
    over->buildLayout(-1);
    QMdiSubWindow* underFrame = area.addSubWindow(under);
    underFrame->setGeometry(0, 0, 400, 300);
    area.show();
    QMdiSubWindow* overFrame = area.addSubWindow(over);
    overFrame->showMaximized();
    area.setActiveSubWindow(overFrame);
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();
    ASSERT_TRUE(under->isCovered());
    ASSERT_FALSE(over->isCovered());
    cCanvas* top = under->views[1];
    ASSERT_FALSE(top->is3D());
    const int32_t stamp = top->context.frameStamp;
    under->setZoom2D(1.0f);
    EXPECT_EQ(top->context.frameStamp, stamp);

    overFrame->showNormal();
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();
    EXPECT_FALSE(under->isCovered());
    EXPECT_NE(top->context.frameStamp, stamp);
    EXPECT_FLOAT_EQ(top->context.invZoom, 1.0f);
}

} // namespace
