// A view's own keys, wheel and clicks through real events: zoom keys and their Russian-layout
// codes, wheel zoom and grid steps, the camera view's wheel, repeated keys, maximising, the status
// messages, context menus, and the tool interface's calling order with recording tools.
#include <QElapsedTimer>
#include <QImage>
#include <QStatusBar>
#include <cmath>

#include "ToolDriver.h"
#include "ViewPixels.h"
#include "tools/ClipTool.h"

namespace {

// A tool that logs the slots called on it.
class cRecordingTool : public cAbstractTool {
public:
    explicit cRecordingTool(QString name, QStringList* log, bool handles = true)
        : m_name(std::move(name)), m_log(log), m_handles(handles) {}
    bool keyPress(cCanvas*, int key, int) override { return note(QStringLiteral("key %1").arg(key)); }
    bool mousePress(cCanvas*, int, int, int button, int) override {
        return note(QStringLiteral("press %1").arg(button));
    }
    bool mouseMove(cCanvas*, int, int, int buttons, int) override {
        return note(QStringLiteral("move %1").arg(buttons));
    }
    void draw(cCanvas*, RenderContext*, RenderCounters*) override { note(QStringLiteral("draw")); }
    void drawOverlay(cCanvas*, RenderContext*) override { note(QStringLiteral("overlay")); }

private:
    bool note(const QString& what) {
        m_log->append(m_name + QLatin1Char(' ') + what);
        return m_handles;
    }
    QString m_name;
    QStringList* m_log;
    bool m_handles;
};

class CanvasInputTest : public ToolFixture {
public:
    void SetUp() override {
        ToolFixture::SetUp();
        g_mainWindow->toolSelect();
    }
    QString message() const { return g_mainWindow->statusBar()->currentMessage(); }
};

TEST_F(CanvasInputTest, DigitAndLetterZoomKeysAlsoOnTheRussianLayout) {
    struct Case {
        int key;
        float zoomBefore, zoomAfter;
    } cases[] = {
        {Qt::Key_0, 1.0f, 16.0f}, {Qt::Key_2, 1.0f, 0.05f}, {Qt::Key_6, 4.0f, 1.0f}, {Qt::Key_C, 1.2f, 1.0f},
        {1057, 1.2f, 1.0f},       {Qt::Key_D, 1.0f, 1.2f},  {1042, 1.0f, 1.2f},
    };
    for (const Case& c : cases) {
        top->zoom = c.zoomBefore;
        EXPECT_TRUE(driver.key(c.key)) << c.key;
        EXPECT_NEAR(top->zoom, c.zoomAfter, 1e-5f) << c.key;
    }
    // A repeated non-arrow key does nothing.
    top->zoom = 1.0f;
    EXPECT_FALSE(driver.key(Qt::Key_D, Qt::NoModifier, true));
    EXPECT_EQ(top->zoom, 1.0f);
}

TEST_F(CanvasInputTest, RepeatedArrowScrolls) {
    const float before = top->scrollY;
    driver.key(Qt::Key_Up, Qt::NoModifier, true);
    driver.key(Qt::Key_Up, Qt::NoModifier, true);
    EXPECT_EQ(top->scrollY, before - 128.0f);
}

TEST_F(CanvasInputTest, WheelZoomKeepsThePointUnderThePointer) {
    const QPoint p(top->viewWidth / 2 + 60, top->viewHeight / 2 - 40);
    float a[3], b[3];
    top->screenToWorld(p.x(), p.y(), 0, false, a);
    driver.wheel(p, 120);
    EXPECT_NEAR(top->zoom, 1.2f, 1e-5f);
    top->screenToWorld(p.x(), p.y(), 0, false, b);
    EXPECT_NEAR(a[0], b[0], 1.0f / top->zoom);
    EXPECT_NEAR(a[1], b[1], 1.0f / top->zoom);
    driver.wheel(p, -120);
    EXPECT_NEAR(top->zoom, 1.0f, 1e-5f);
    // Half notches add up; a horizontal wheel does nothing.
    driver.wheel(p, 60);
    EXPECT_NEAR(top->zoom, 1.0f, 1e-5f);
    driver.wheel(p, 60);
    EXPECT_NEAR(top->zoom, 1.2f, 1e-5f);
    driver.wheel(p, 120, Qt::NoModifier, true);
    EXPECT_NEAR(top->zoom, 1.2f, 1e-5f);
}

TEST_F(CanvasInputTest, CtrlWheelStepsTheGrid) {
    struct Case {
        int grid, delta, expected;
    } cases[] = {{512, 120, 256}, {512, -120, 512}, {1, 120, 1}, {16, -120, 32}};
    for (const Case& c : cases) {
        settings().CurrentGridSize = c.grid;
        driver.wheel(driver.at(0, 0), c.delta, Qt::ControlModifier);
        EXPECT_EQ(settings().CurrentGridSize, c.expected) << c.grid << " " << c.delta;
    }
}

TEST_F(CanvasInputTest, WheelInTheCameraViewMovesTheEye) {
    cCanvas* view = viewOfType(ViewType::Camera);
    driver.setView(view);
    const float before[3] = {view->eye[0], view->eye[1], view->eye[2]};
    driver.wheel(QPoint(view->centreX, view->centreY), 120);
    const float d = std::hypot(view->eye[0] - before[0], view->eye[1] - before[1], view->eye[2] - before[2]);
    EXPECT_NEAR(d, 60.0f, 1e-3f);
    // Digits in the camera view only reach the tool.
    const float zoom = view->zoom;
    driver.key(Qt::Key_0);
    EXPECT_EQ(view->zoom, zoom);
}

TEST_F(CanvasInputTest, ShiftZMaximisesAndRestores) {
    driver.key(Qt::Key_Z, Qt::ShiftModifier);
    EXPECT_EQ(window->maximised, top);
    driver.key(1071, Qt::ShiftModifier);
    EXPECT_EQ(window->maximised, nullptr);
}

TEST_F(CanvasInputTest, ToggleMessages) {
    cCanvas* camera = viewOfType(ViewType::Camera);
    struct Case {
        cCanvas* view;
        int key;
        const char* first;
        const char* second;
    } cases[] = {
        {camera, Qt::Key_F, nullptr, nullptr},
        {camera, Qt::Key_Q, nullptr, nullptr},
        {top, Qt::Key_X, nullptr, nullptr},
    };
    settings().TextureFilter = 0;
    settings().SelOverlaySkipDepth = false;
    settings().SelectMouseMove = false;
    const QStringList expected[3] = {
        {"Texture filtering on", "Texture filtering off"},
        {"Depth test for selection overlay off", "Depth test for selection overlay on"},
        {"Automatic 3D-selection on", "Automatic 3D-selection off"},
    };
    for (int n = 0; n < 3; ++n) {
        driver.setView(cases[n].view);
        driver.key(cases[n].key);
        EXPECT_EQ(message(), expected[n][0]);
        driver.key(cases[n].key);
        EXPECT_EQ(message(), expected[n][1]);
    }
    EXPECT_EQ(g_mainWindow->textureFilterWord, -1);
}

TEST_F(CanvasInputTest, DeclinedRightClickOpensOperationsIn2DOnly) {
    driver.click(driver.at(100, 100), Qt::RightButton);
    driver.setView(viewOfType(ViewType::Camera));
    driver.click(QPoint(50, 50), Qt::RightButton);
    EXPECT_EQ(menus, QStringList{"Operations"});
    // A left click on the title opens the view menu.
    driver.setView(top);
    driver.click(QPoint(3, 3));
    EXPECT_EQ(menus, (QStringList{"Operations", "Canvas"}));
}

TEST_F(CanvasInputTest, TabCyclesViewTypesAndRenderModes) {
    EXPECT_TRUE(driver.key(Qt::Key_Tab));
    EXPECT_EQ(top->viewType, ViewType::Front); // top (2) -> front (0)
    driver.key(Qt::Key_Backtab);
    EXPECT_EQ(top->viewType, ViewType::Top);
    EXPECT_NE(settings().CanvasConfig & LayoutWord::Marker, 0);
    cCanvas* camera = viewOfType(ViewType::Camera);
    driver.setView(camera);
    const int mode = camera->renderMode;
    driver.key(Qt::Key_Backtab);
    EXPECT_EQ(camera->renderMode, (mode + 3) % 4);
    EXPECT_EQ(camera->viewType, ViewType::Camera);
}

TEST_F(CanvasInputTest, PositionLabel) {
    driver.move(driver.at(37, -20));
    EXPECT_EQ(g_mainWindow->positionLabelText, QStringLiteral("@32, -16"));
}

class ToolInterfaceTest : public CanvasInputTest {};

TEST_F(ToolInterfaceTest, DrawAndOverlayOrder) {
    QStringList log;
    cRecordingTool active(QStringLiteral("active"), &log), secondary(QStringLiteral("secondary"), &log);
    g_mainWindow->activeTool = &active;
    g_mainWindow->secondaryTool = &secondary;
    top->grabFramebuffer();
    EXPECT_EQ(log, (QStringList{"secondary draw", "active draw", "secondary overlay", "active overlay"}));
    g_mainWindow->activeTool = g_mainWindow->secondaryTool = nullptr;
}

TEST_F(ToolInterfaceTest, SpaceRoutesMovesToTheCameraToolAndKeepsClicksFromTheTool) {
    QStringList log;
    auto* camera = new cRecordingTool(QStringLiteral("camera"), &log, false);
    g_mainWindow->toolSet->tools[ToolId::Camera].reset(camera);
    cRecordingTool active(QStringLiteral("active"), &log, false);
    g_mainWindow->activeTool = &active;
    top->setFocus();
    // Keys count as held only at the focus widget, which a loaded machine may hand over late.
    QElapsedTimer focus;
    focus.start();
    while (QApplication::focusWidget() != top && focus.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    driver.key(Qt::Key_Space, Qt::NoModifier, false, false); // held
    ASSERT_TRUE(g_mainWindow->heldKeys & HeldKey::Space);
    const QPoint p = driver.at(0, 0);
    driver.press(p);
    driver.move(p + QPoint(4, 0), Qt::LeftButton);
    driver.release(p + QPoint(4, 0));
    driver.keyUp(Qt::Key_Space);
    EXPECT_FALSE(g_mainWindow->heldKeys & HeldKey::Space);
    driver.move(p);
    log.removeIf([](const QString& entry) { return entry.endsWith("draw") || entry.endsWith("overlay"); });
    EXPECT_EQ(log.join(", ").toStdString(), "active key 32, camera move 1, active move 1, active move 0");
    g_mainWindow->activeTool = nullptr;
}

TEST_F(ToolInterfaceTest, ClipRetriggeredThreeTimesReturnsToItsMode) {
    g_mainWindow->toolClipper();
    auto* clip = tool<cClipTool>(ToolId::Clip);
    std::vector<int> modes{clip->keepSide};
    for (int n = 0; n < 3; ++n) {
        g_mainWindow->toolClipper();
        modes.push_back(clip->keepSide);
    }
    EXPECT_EQ(modes, (std::vector<int>{0, 1, 2, 0}));
    // Switching away and back activates it without cycling.
    g_mainWindow->toolSelect();
    g_mainWindow->toolClipper();
    EXPECT_EQ(clip->keepSide, 0);
}

TEST_F(ToolInterfaceTest, RenderFlagBitsOfTheTools) {
    struct Case {
        int active, secondary;
        int32_t bits;
    } cases[] = {
        {ToolId::Vertex, -1, RenderBit::VertexTool},
        {ToolId::Selection, ToolId::Vertex, RenderBit::VertexTool},
        {ToolId::Texture, -1, RenderBit::TextureTool},
        {ToolId::Selection, ToolId::Texture, RenderBit::TextureTool},
        {ToolId::Path, -1, RenderBit::PathTool},
        {ToolId::Selection, ToolId::Path, RenderBit::PathTool},
        {ToolId::Camera, -1, RenderBit::CameraTool},
        {ToolId::Selection, ToolId::Camera, 0},
    };
    const int32_t mask =
        RenderBit::VertexTool | RenderBit::TextureTool | RenderBit::PathTool | RenderBit::CameraTool;
    for (const Case& c : cases) {
        g_mainWindow->activeTool = (*g_mainWindow->toolSet)[c.active];
        g_mainWindow->secondaryTool = (*g_mainWindow->toolSet)[c.secondary];
        top->updateRenderState();
        EXPECT_EQ(top->context.renderFlags & mask, c.bits) << c.active << " " << c.secondary;
    }
    g_mainWindow->secondaryTool = nullptr;
}

TEST_F(ToolInterfaceTest, ToolSetHoldsElevenToolsByTheirIds) {
    for (int id = 0; id < ToolId::Count; ++id)
        EXPECT_EQ(Tool_Id((*g_mainWindow->toolSet)[id]), id);
    EXPECT_EQ((*g_mainWindow->toolSet)[ToolId::Count], nullptr);
    // The base answers of a tool without its own behaviour yet.
    cAbstractTool* vertex = (*g_mainWindow->toolSet)[ToolId::Vertex];
    EXPECT_FALSE(vertex->mousePress(top, 0, 0, 1, 0));
    EXPECT_EQ(vertex->changeScale(1, 2.0), 0.0);
}

} // namespace

TEST_F(CanvasInputTest, FlyingTheCameraKeepsTheWholeGridInTheFlatViews) {
    settings().EnableGrid2D = true;
    cCanvas* camera = viewOfType(ViewType::Camera);
    ASSERT_NE(camera, nullptr);
    // A named door in a corner of the top view, away from the camera.
    const float origin[3] = {0, 0, 0};
    EntityRecord* door = Test_Entity(map(), "func_door", origin, 0, {{"targetname", "door1"}});
    const float lo[3] = {-190, 60, 0}, hi[3] = {-120, 120, 64};
    Test_Box(map(), door, lo, hi);
    door->handle->update(0);
    top->needsFullRedraw = true;
    top->update();
    View_WaitForPaint(top);
    const int before = View_GridPixels(View_ShownFrame(top));
    ASSERT_GT(before, top->viewWidth * top->viewHeight / 50);
    ASSERT_EQ(top->counters.titles, 1);

    // W held in the camera view for half a second.
    driver.setView(camera);
    driver.click({camera->viewWidth / 2, camera->viewHeight / 2});
    const float eye[3] = {camera->eye[0], camera->eye[1], camera->eye[2]};
    driver.key(Qt::Key_W, Qt::NoModifier, false, false);
    QElapsedTimer held;
    held.start();
    while (held.elapsed() < 500)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    driver.keyUp(Qt::Key_W);
    ASSERT_NE(std::vector<float>(eye, eye + 3), std::vector<float>(camera->eye, camera->eye + 3))
        << "the camera did not move";
    View_WaitForPaint(top);
    // Only the camera marker's few pixels may cover grid; the door keeps its name.
    EXPECT_GT(View_GridPixels(View_ShownFrame(top)), before * 95 / 100);
    EXPECT_EQ(top->counters.titles, 1);
    EXPECT_EQ(top->counters.brushes, 1);
}
