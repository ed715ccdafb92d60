// The views' arithmetic without drawing: layout words, sector points, 2D mapping, zoom and scroll
// limits, and the fly camera.
#include <QApplication>
#include <cmath>

#include "ViewFixture.h"
#include "map/MapCamera.h"
#include "views/AbstractTool.h"
#include "views/ViewArcs.h"

#include <QScrollBar>

namespace {

TEST(LayoutWord, DecodeAndEncode) {
    struct Case {
        int32_t word;
        int types[4];
        int modes[4];
    } cases[] = {
        {0, {3, 2, 1, 0}, {-1, -1, -1, -1}},
        {LayoutWord::Default, {3, 2, 1, 0}, {-1, -1, -1, -1}},
        {LayoutWord::Marker | (3 << 21) | (3 << 23), {3, 0, 0, 0}, {2, -1, -1, -1}},
        // A mode field above 4 is the default mode.
        {LayoutWord::Marker | (2 << 14) | (9 << 16), {0, 2, 0, 0}, {-1, -1, -1, -1}},
    };
    for (const Case& c : cases) {
        int types[4], modes[4];
        Layout_Decode(c.word, types, modes);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(types[i], c.types[i]) << std::hex << c.word << " view " << i;
            EXPECT_EQ(modes[i], c.modes[i]) << std::hex << c.word << " view " << i;
        }
        int again[4], againModes[4];
        Layout_Decode(Layout_Encode(types, modes), again, againModes);
        EXPECT_EQ(std::vector<int>(again, again + 4), std::vector<int>(types, types + 4));
        EXPECT_EQ(std::vector<int>(againModes, againModes + 4), std::vector<int>(modes, modes + 4));
    }
}

TEST(ViewArcs, PointCounts) {
    EXPECT_EQ(View_StippledCirclePoints(50), 16);
    EXPECT_EQ(View_StippledCirclePoints(300), 30);
    EXPECT_EQ(View_StippledCirclePoints(1000), 64);
    const float deg = 3.14159265f / 180;
    float out[kArcMaxPoints];
    EXPECT_EQ(View_ArcAngles(0, 90 * deg, out), 10);
    EXPECT_FLOAT_EQ(out[0], 90 * deg);
    EXPECT_EQ(out[9], 0.0f);
    // 350 to 10 wraps once: 20 degrees.
    EXPECT_EQ(View_ArcAngles(350 * deg, 10 * deg, out), 3);
    EXPECT_NEAR(out[0] - out[2], 20 * deg, 1e-4);
    // More than a turn is one turn; huge and non-finite angles end.
    EXPECT_EQ(View_ArcAngles(0, 20.0f, out), 37);
    EXPECT_LE(View_ArcAngles(0, -1e30f, out), kArcMaxPoints);
    EXPECT_EQ(View_ArcAngles(0, NAN, out), 0);
    EXPECT_EQ(View_ArcAngles(INFINITY, 1, out), 0);
}

using CanvasMath = ViewSettingsFixture;

TEST_F(CanvasMath, MappingRoundTripsInEveryTwoDimensionalView) {
    for (int type : {ViewType::Front, ViewType::Side, ViewType::Top}) {
        auto c = bareCanvas(type);
        c->zoom = 2.0f;
        c->scrollX = 30;
        c->scrollY = -14;
        const float p[3] = {12.5f, -40.0f, 7.0f};
        float screen[3], back[3];
        ASSERT_TRUE(c->worldToScreen(p, screen));
        ASSERT_TRUE(c->screenToWorld(int(screen[0]), int(screen[1]), 0, false, back));
        EXPECT_NEAR(back[c->hAxis], p[c->hAxis], 0.5f) << type;
        EXPECT_NEAR(back[c->vAxis], p[c->vAxis], 0.5f) << type;
        EXPECT_EQ(back[c->dAxis], 0.0f);
    }
}

TEST_F(CanvasMath, SnappingAndDepthFromAnotherView) {
    auto top = bareCanvas(ViewType::Top);
    auto side = bareCanvas(ViewType::Side);
    top->zoom = 1.0f;
    settings().CurrentGridSize = 16;
    float out[3];
    top->screenToWorld(200 + 21, 150 - 9, ScreenFlag::Snap, false, out);
    EXPECT_EQ(out[0], 16.0f);
    EXPECT_EQ(out[1], 16.0f);
    top->screenToWorld(200 + 21, 150 - 9, ScreenFlag::Snap, true, out);
    EXPECT_EQ(out[0], 21.0f);
    // No other 2D view: depth 0. With the side view focused, its vertical centre gives z.
    top->screenToWorld(200, 150, ScreenFlag::DepthFromOtherView, false, out);
    EXPECT_EQ(out[2], 0.0f);
    side->scrollY = -40.0f;
    side->zoom = 2.0f;
    g_mainWindow->focusView = side.get();
    top->screenToWorld(200, 150, ScreenFlag::DepthFromOtherView, false, out);
    EXPECT_EQ(out[2], 20.0f);
    g_mainWindow->focusView = nullptr;
}

TEST_F(CanvasMath, ZoomLimits) {
    struct Case {
        int worldSize;
        float asked;
        float expected;
    } cases[] = {
        {8192, 1000.0f, 256.0f}, {8192, 0.0001f, 1.0f / 32}, {65536, 0.0001f, 1.0f / 256},
        {8192, 2.0f, 2.0f},      {8192, NAN, 0.25f}, // refused
        {0, 0.0001f, 1.0f / 32},                     // a bad world size falls back to the default
    };
    for (const Case& c : cases) {
        settings().MaxWorldSize = c.worldSize;
        auto canvas = bareCanvas(ViewType::Top);
        canvas->zoomAt(c.asked, 200, 150);
        EXPECT_FLOAT_EQ(canvas->zoom, c.expected) << c.worldSize << " " << c.asked;
    }
}

TEST_F(CanvasMath, ZoomKeepsThePointUnderThePointer) {
    auto c = bareCanvas(ViewType::Top);
    c->zoom = 1.0f;
    float before[3], after[3];
    c->screenToWorld(300, 100, 0, false, before);
    c->zoomAt(4.0f, 300, 100);
    c->screenToWorld(300, 100, 0, false, after);
    EXPECT_NEAR(after[0], before[0], 0.01f);
    EXPECT_NEAR(after[1], before[1], 0.01f);
}

TEST_F(CanvasMath, ScrollClampingAndAutoScroll) {
    auto c = bareCanvas(ViewType::Top);
    c->zoom = 0.01f; // the world is narrower than the window
    c->scrollX = 500;
    c->clampScroll();
    EXPECT_EQ(c->scrollX, 0.0f);
    c->zoom = 1.0f;
    c->scrollX = 1e9f;
    c->scrollY = -1e9f;
    c->clampScroll();
    EXPECT_EQ(c->scrollX, 0.5f * (8192 - 400));
    EXPECT_EQ(c->scrollY, -0.5f * (8192 - 300));
    c->scrollX = c->scrollY = 0;
    // A point 3 pixels inside the left edge with maxStep 4 scrolls by -4.
    float p[3];
    c->screenToWorld(3, 150, 0, false, p);
    EXPECT_TRUE(c->autoScroll(p, 4.0f));
    EXPECT_EQ(c->scrollX, -4.0f);
    EXPECT_EQ(c->scrollY, 0.0f);
    c->screenToWorld(200, 150, 0, false, p);
    EXPECT_FALSE(c->autoScroll(p, 4.0f));
}

TEST_F(CanvasMath, ScrollBarRanges) {
    auto c = bareCanvas(ViewType::Top, 400, 300);
    QWidget holder;
    QScrollBar h(Qt::Horizontal, &holder), v(Qt::Vertical, &holder);
    h.setVisible(true);
    v.setVisible(true);
    c->setScrollBars(&h, &v);
    c->zoom = 256.0f; // a huge range: the maximum stops at 2000
    c->scrollX = 100000;
    c->updateScrollBars();
    EXPECT_EQ(h.maximum(), 2000);
    EXPECT_EQ(h.value(), 1095);
    c->zoom = 0.04f; // the world fits: maximum 0
    c->updateScrollBars();
    EXPECT_EQ(h.maximum(), 0);
    EXPECT_EQ(h.value(), 0);
    // The slot at maximum 0 keeps the offset 0, not NaN.
    c->scrollX = 0;
    c->horizontalScroll(0);
    EXPECT_EQ(c->scrollX, 0.0f);
    c->setScrollBars(nullptr, nullptr);
}

TEST_F(CanvasMath, CameraStripAroundBothPoints) {
    auto c = bareCanvas(ViewType::Top, 400, 300);
    c->zoom = 1.0f;
    const float a[3] = {10, 20, 0}, b[3] = {-30, -5, 0};
    c->invalidateCameraRect(a, b);
    EXPECT_EQ(c->partialMode, 2);
    // Screen points (210, 130) and (170, 155), grown by 49 pixels.
    EXPECT_EQ(c->partialRect[0], 170 - 49);
    EXPECT_EQ(c->partialRect[1], 130 - 49);
    EXPECT_EQ(c->partialRect[2], 210 - 170 + 98);
    EXPECT_EQ(c->partialRect[3], 155 - 130 + 98);
    const float far[3] = {5000, 5000, 0};
    c->invalidateCameraRect(far, far);
    EXPECT_EQ(c->partialRect[0] + c->partialRect[2], 400);
    EXPECT_EQ(c->partialRect[1], 0);
}

TEST_F(CanvasMath, PathToolCountsAsActiveOrSecondary) {
    cAbstractTool path, other;
    path.setId(ToolId::Path);
    other.setId(ToolId::Selection);
    g_mainWindow->activeTool = &other;
    EXPECT_FALSE(Tool_IsPathToolActive());
    g_mainWindow->secondaryTool = &path;
    EXPECT_TRUE(Tool_IsPathToolActive());
    g_mainWindow->secondaryTool = nullptr;
    g_mainWindow->activeTool = &path;
    EXPECT_TRUE(Tool_IsPathToolActive());
}

// ---- Fly camera ----

class FlyCamera : public ViewSettingsFixture {
protected:
    void SetUp() override {
        ViewSettingsFixture::SetUp();
        camera = bareCanvas(ViewType::Camera);
        g_mainWindow->focusView = camera.get();
        camera->setupModelview();
    }
    void hold(uint32_t keys) { g_mainWindow->heldKeys = keys; }
    std::unique_ptr<cCanvas> camera;
};

TEST_F(FlyCamera, TimeToTopSpeedZeroMovesAndStopsAtOnce) {
    settings().TimeToTopSpeed = 0;
    hold(HeldKey::W);
    camera->flyCamera(0.1f);
    EXPECT_FLOAT_EQ(camera->velForward, 1000.0f);
    EXPECT_NEAR(camera->eye[0], -16.0f + 100.0f, 1e-3);
    hold(0);
    camera->flyCamera(0.1f);
    EXPECT_EQ(camera->velForward, 0.0f);
}

TEST_F(FlyCamera, AccelerationAndReversal) {
    settings().TimeToTopSpeed = 500; // 2000 units/s²
    hold(HeldKey::W);
    camera->flyCamera(0.1f);
    EXPECT_FLOAT_EQ(camera->velForward, 200.0f);
    camera->flyCamera(1.0f);
    EXPECT_FLOAT_EQ(camera->velForward, 1000.0f);
    hold(HeldKey::S);
    camera->flyCamera(0.1f);
    EXPECT_FLOAT_EQ(camera->velForward, -200.0f); // restarted from 0, not braked through
    hold(HeldKey::A);
    camera->flyCamera(0.1f);
    EXPECT_EQ(camera->velForward, 0.0f);
    EXPECT_FLOAT_EQ(camera->velStrafe, -150.0f);
}

TEST_F(FlyCamera, MoveKeysFollowMouselook) {
    hold(HeldKey::D | HeldKey::C | HeldKey::Left | HeldKey::Up);
    EXPECT_EQ(camera->computeMoveKeys(), MoveKey::StrafeRight | MoveKey::TurnLeft | MoveKey::PitchUp);
    settings().Mouselook = false;
    EXPECT_EQ(camera->computeMoveKeys(),
              MoveKey::Forward | MoveKey::Back | MoveKey::TurnLeft | MoveKey::PitchUp);
    auto top = bareCanvas(ViewType::Top);
    EXPECT_EQ(top->computeMoveKeys(), 0);
}

TEST_F(FlyCamera, NormalisationAndDirections) {
    struct Case {
        float pitch, yaw;
        float expectPitch, expectYaw;
        float forward[3];
    } cases[] = {
        {0, 0, 0, 0, {1, 0, 0}},
        {0, 90, 0, 90, {0, 1, 0}},
        {0, 190, 0, -170, {-0.98481f, -0.17365f, 0}},
        {100, 0, 90, 0, {0, 0, 1}},
        {30, 0, 30, 0, {0.86603f, 0, 0.5f}},
    };
    for (const Case& c : cases) {
        camera->angles[0] = c.pitch;
        camera->angles[1] = c.yaw;
        camera->setupModelview();
        EXPECT_FLOAT_EQ(camera->angles[0], c.expectPitch);
        EXPECT_FLOAT_EQ(camera->angles[1], c.expectYaw);
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(camera->forward[k], c.forward[k], 1e-4) << c.pitch << " " << c.yaw << " " << k;
    }
    camera->eye[0] = 1e6f;
    camera->normalizeCamera();
    EXPECT_EQ(camera->eye[0], 8192.0f);
}

TEST_F(FlyCamera, BackClipZeroPutsTheFarPlaneAt500) {
    settings().BackClip = 0;
    camera->setupProjection();
    // Depth 1 lies at the far distance: z_ndc = (m10 z + m14) / (-z) = 1 at z = -500.
    const float z = -500.0f;
    EXPECT_NEAR((camera->projection[10] * z + camera->projection[14]) / -z, 1.0f, 1e-5);
    EXPECT_EQ(camera->farDistance(), 500.0f);
    settings().BackClip = 5000;
    EXPECT_EQ(camera->farDistance(), 5000.0f);
}

TEST(FrameClock, SharedStepIsClampedAndAdvances) {
    MapDocument doc;
    EXPECT_EQ(Project_TickFrameClock(&doc, 1000), 0.0f); // the first tick starts the clock
    EXPECT_FLOAT_EQ(Project_TickFrameClock(&doc, 1050), 0.05f);
    EXPECT_FLOAT_EQ(Project_TickFrameClock(&doc, 3050), 0.1f); // a stall: at most 0.1 s
    EXPECT_EQ(Project_TickFrameClock(&doc, 3050), 0.0f);
    EXPECT_EQ(doc.frameClock, 3050);
}

TEST_F(FlyCamera, CurrentCameraObjectFollowsTheEye) {
    MapDocument doc;
    Test_NewDocument(&doc);
    cChildWindow window(&doc);
    auto view = std::make_unique<cCanvas>(ViewType::Camera, -1, View_CanvasFormat(), &window, nullptr);
    view->viewWidth = 400;
    view->viewHeight = 300;
    g_mainWindow->focusView = view.get();
    CameraRecord* camera = Camera_Create(Map_Handle(doc.world));
    const float eye[3] = {0, 0, 0}, target[3] = {10, 0, 0};
    camera->handle->setEyeAndTarget(eye, target);
    doc.world->currentCamera = camera;
    view->angles[1] = 90;
    view->setupModelview();
    settings().TimeToTopSpeed = 0;
    hold(HeldKey::W);
    view->flyCamera(0.1f);
    for (int k = 0; k < 3; ++k)
        EXPECT_FLOAT_EQ(camera->eye[k], view->eye[k]);
    EXPECT_NEAR(camera->target[1] - camera->eye[1], 10.0f, 1e-3);
    EXPECT_NEAR(camera->target[0] - camera->eye[0], 0.0f, 1e-3);
    g_mainWindow->focusView = nullptr;
    view.reset();
    window.document = nullptr;
    Project_Destroy(&doc);
}

TEST_F(FlyCamera, WorldToScreenOfThePointAhead) {
    camera->setupProjection();
    camera->angles[1] = 0;
    camera->setupModelview();
    const float ahead[3] = {camera->eye[0] + 100, camera->eye[1], camera->eye[2]};
    float s[3];
    ASSERT_TRUE(camera->worldToScreen(ahead, s));
    EXPECT_NEAR(s[0], 200.0f, 1e-3);
    EXPECT_NEAR(s[1], 150.0f, 1e-3);
    const float behind[3] = {camera->eye[0] - 100, camera->eye[1], camera->eye[2]};
    EXPECT_FALSE(camera->worldToScreen(behind, s));
}

} // namespace
