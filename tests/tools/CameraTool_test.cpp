// The camera tool through a real map window: creating cameras, dragging their points, cycling
// the current camera and the 3D view's mouse look.
#include <QCursor>
#include <cmath>

#include "ToolDriver.h"
#include "map/MapCamera.h"
#include "tools/CameraTool.h"

namespace {

class CameraToolTest : public ToolFixture {
public:
    void SetUp() override {
        ToolFixture::SetUp();
        g_mainWindow->toolCamera();
        cam = tool<cCameraTool>(ToolId::Camera);
    }
    static std::vector<float> point(const float* p) { return {p[0], p[1], p[2]}; }
    cCameraTool* cam = nullptr;
};

TEST_F(CameraToolTest, FirstClickMakesACameraLookingAlongX) {
    doc.modified = false;
    driver.click(driver.at(16, 32));
    CameraRecord* c = w->cameras;
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(point(c->eye), (std::vector<float>{16, 32, 0}));
    EXPECT_EQ(point(c->target), (std::vector<float>{40, 32, 0}));
    EXPECT_EQ(w->currentCamera, c);
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(c->next, nullptr);
    // Shift-click makes another even over the first.
    driver.click(driver.at(16, 32), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_NE(c->next, nullptr);
}

TEST_F(CameraToolTest, PointDragsSnapOnlyWithAltAndMarkModified) {
    driver.click(driver.at(0, 0));
    CameraRecord* c = w->cameras;
    struct Case {
        int part;
        Qt::KeyboardModifiers mods;
        float expected[2];
    } cases[] = {
        {1, Qt::NoModifier, {37, 5}},
        {1, Qt::AltModifier, {32, 0}},
        {2, Qt::NoModifier, {69, -27}},
        {2, Qt::AltModifier, {64, -32}},
    };
    for (const Case& k : cases) {
        doc.modified = false;
        cam->pressView = top;
        cam->dragCamera = c;
        cam->dragPart = k.part;
        const float* moved = k.part == 1 ? c->eye : c->target;
        driver.move(driver.at(k.expected[0] - (k.mods ? 1 : 0), k.expected[1] + (k.mods ? 1 : 0)),
                    Qt::LeftButton, k.mods);
        EXPECT_EQ(moved[0], k.expected[0]) << k.part << int(k.mods);
        EXPECT_EQ(moved[1], k.expected[1]) << k.part << int(k.mods);
        EXPECT_TRUE(doc.modified);
        driver.release(driver.at(0, 0), Qt::LeftButton);
        EXPECT_EQ(cam->dragCamera, nullptr);
    }
}

TEST_F(CameraToolTest, PageKeysCycleAndWrap) {
    CameraRecord* cams[3];
    for (auto& c : cams)
        c = Camera_Create(Map_Handle(w));
    cams[2]->flags |= CameraFlag::Selected;
    driver.key(Qt::Key_PageDown);
    EXPECT_EQ(w->currentCamera, cams[0]);
    driver.key(Qt::Key_PageUp);
    EXPECT_EQ(w->currentCamera, cams[2]);
    driver.key(Qt::Key_PageUp);
    EXPECT_EQ(w->currentCamera, cams[1]);
}

TEST_F(CameraToolTest, LookDragTurnsAndKeepsThePointerAtTheCentre) {
    cCanvas* view = viewOfType(ViewType::Camera);
    driver.setView(view);
    const float yaw = view->angles[1];
    const QPoint centre(view->centreX, view->centreY);
    driver.move(centre + QPoint(3, 0), Qt::LeftButton);
    if (QCursor::pos() != view->mapToGlobal(centre)) GTEST_SKIP() << "the display does not warp the pointer";
    EXPECT_EQ(view->cursor().shape(), Qt::BlankCursor);
    driver.move(centre + QPoint(10, 0), Qt::LeftButton);
    const float expected = yaw - 10.0f * float(settings().Sensitivity) * 0.05f;
    EXPECT_NEAR(std::remainder(view->angles[1] - expected, 360.0f), 0.0f, 1e-4f);
    EXPECT_EQ(QCursor::pos(), view->mapToGlobal(centre));
    // The warp's own motion lands on the reference and turns nothing.
    driver.move(centre, Qt::LeftButton);
    EXPECT_NEAR(std::remainder(view->angles[1] - expected, 360.0f), 0.0f, 1e-4f);
    driver.release(centre, Qt::LeftButton);
}

TEST_F(CameraToolTest, ClosedWindowDropsTheDrag) {
    driver.click(driver.at(0, 0), Qt::LeftButton, Qt::ShiftModifier);
    cam->dragCamera = w->cameras;
    cam->dragPart = 2;
    cam->pressView = top;
    window->closedByDocument = true;
    delete window;
    window = new cChildWindow(&doc);
    EXPECT_EQ(cam->liveDragCamera(), nullptr);
    EXPECT_EQ(cam->dragPart, 0);
}

} // namespace
