// The magnify tool through a real map window: clicks zoom a 2D view about the clicked point, with
// Ctrl every 2D view; the camera view declines.
#include "ToolDriver.h"
#include "tools/MagnifyTool.h"

namespace {

class MagnifyToolTest : public ToolFixture {
public:
    void SetUp() override {
        ToolFixture::SetUp();
        g_mainWindow->activeTool = tool<cMagnifyTool>(ToolId::Magnify);
    }
    // The world point (on the view's two axes) under a window point.
    static QPointF worldAt(cCanvas* view, QPoint p) {
        float out[2];
        view->screenToWorld2D(p.x(), p.y(), 0, false, out);
        return {out[0], out[1]};
    }
};

TEST_F(MagnifyToolTest, ClicksZoomAboutThePointAndCtrlZoomsEveryView) {
    struct Case {
        Qt::MouseButton button;
        Qt::KeyboardModifiers mods;
        float zoom;
        bool others;
    } cases[] = {
        {Qt::LeftButton, Qt::NoModifier, 2.0f, false},
        {Qt::RightButton, Qt::NoModifier, 0.5f, false},
        {Qt::LeftButton, Qt::ControlModifier, 2.0f, true},
    };
    for (const Case& k : cases) {
        for (cCanvas* v : window->views)
            if (!v->is3D()) {
                v->zoom = 1.0f;
                v->scrollX = v->scrollY = 0;
            }
        const QPoint p = driver.at(48, -32);
        const QPointF before = worldAt(top, p);
        driver.click(p, k.button, k.mods);
        EXPECT_FLOAT_EQ(top->zoom, k.zoom) << int(k.button);
        if (!k.others) {
            // The clicked world point stays under the pointer (to a pixel of the new zoom).
            const QPointF after = worldAt(top, p);
            EXPECT_NEAR(after.x(), before.x(), 1.0 / k.zoom);
            EXPECT_NEAR(after.y(), before.y(), 1.0 / k.zoom);
        }
        for (cCanvas* v : window->views)
            if (!v->is3D() && v != top) EXPECT_FLOAT_EQ(v->zoom, k.others ? k.zoom : 1.0f) << v->viewType;
    }
}

TEST_F(MagnifyToolTest, CursorIn2DOnlyAndTheCameraViewDeclines) {
    top->setCursorForTool();
    EXPECT_EQ(top->cursor().hotSpot(), QPoint(9, 9));
    EXPECT_FALSE(top->cursor().pixmap().isNull());
    cCanvas* camera = viewOfType(ViewType::Camera);
    camera->setCursorForTool();
    EXPECT_TRUE(camera->cursor().pixmap().isNull());
    cMagnifyTool* magnify = tool<cMagnifyTool>(ToolId::Magnify);
    EXPECT_FALSE(magnify->mousePress(camera, 10, 10, Qt::LeftButton, 0));
    EXPECT_FALSE(magnify->mousePress(top, 10, 10, Qt::MiddleButton, 0));
    EXPECT_FLOAT_EQ(top->zoom, 1.0f);
}

} // namespace
