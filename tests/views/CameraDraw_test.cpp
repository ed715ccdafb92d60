// Cameras in the 2D views: the eye-to-target line and the eye's discs in their colours, pick
// discs around eye and target, and the camera view's own eye.
#include "ObjectViewFixture.h"
#include "map/MapCamera.h"

namespace {

class CameraDraw : public ObjectViewFixture {
protected:
    CameraRecord* camera(const float eye[3], const float target[3]) {
        CameraRecord* c = Camera_Create(map());
        Camera_SetEyeAndTarget(c, eye, target);
        Camera_SetColor(c, 0, 0, 0, 255);
        return c;
    }
};

TEST_F(CameraDraw, EyeDiscsAndLineInTheirColours) {
    open();
    Color_Table()[COLOR_BULLET_BORDER].colour = QColor(250, 250, 0);
    Color_Table()[COLOR_BULLET_SELECTED].colour = QColor(0, 250, 250);
    Color_Table()[COLOR_CAMERA_LINE].colour = QColor(250, 0, 250);
    const float eye[3] = {-100, -60, 0}, target[3] = {100, -60, 0};
    CameraRecord* c = camera(eye, target);
    const QColor own = color(cMapCamera::fromRecord(c)->displayColor);
    const float onLine[3] = {0, -60, 0};
    const float rim[3] = {-100 + 4.5f, -60, 0}; // between the 4- and 5-pixel discs at zoom 1
    cIdTool cameraTool(ToolId::Camera);
    // Cameras show only with the camera tool.
    QImage image = top()->grabFramebuffer();
    EXPECT_FALSE(near(image, screen(top(), onLine), own));
    g_mainWindow->activeTool = &cameraTool;
    image = top()->grabFramebuffer();
    EXPECT_TRUE(near(image, screen(top(), onLine), own));
    EXPECT_EQ(rgb(image, screen(top(), eye)), own);
    EXPECT_TRUE(near(image, screen(top(), rim), QColor(250, 250, 0)));
    // At zoom 0.25 the discs keep their size in pixels.
    top()->zoom = 0.25f;
    top()->needsFullRedraw = true;
    const float rimFar[3] = {-100 + 4.5f * 4, -60, 0};
    image = top()->grabFramebuffer();
    EXPECT_TRUE(near(image, screen(top(), rimFar), QColor(250, 250, 0)));
    top()->zoom = 1.0f;
    top()->needsFullRedraw = true;

    Map_SelectObject(doc.world, c);
    image = top()->grabFramebuffer();
    EXPECT_TRUE(near(image, screen(top(), onLine), QColor(250, 0, 250)));
    EXPECT_EQ(rgb(image, screen(top(), eye)), QColor(0, 250, 250));
}

TEST_F(CameraDraw, PickDiscsAroundEyeAndTarget) {
    open();
    const float eye[3] = {-100, -60, 0}, target[3] = {100, -60, 0};
    CameraRecord* c = camera(eye, target);
    cMapCamera* handle = cMapCamera::fromRecord(c);
    cCanvas* view = top();
    pick(view, eye); // leaves the world matrices of a pick pass
    view->makeCurrent();
    RenderContext context = view->context;
    context.pickBase = 2;
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    handle->draw(&context);
    glFinish();
    auto idAt = [&](const float p[3]) {
        const QPoint s = screen(view, p);
        GLubyte pixel[4] = {};
        glReadPixels(s.x(), view->viewHeight - 1 - s.y(), 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        return pixel[0] | pixel[1] << 8 | pixel[2] << 16;
    };
    const float nearEye[3] = {-100 + 7, -60, 0}, nearTarget[3] = {100, -60 - 7, 0};
    const float outside[3] = {-100 + 10, -60, 0}, between[3] = {0, -60, 0};
    EXPECT_EQ(idAt(eye), handle->id);
    EXPECT_EQ(idAt(nearEye), handle->id);
    EXPECT_EQ(idAt(target), handle->id);
    EXPECT_EQ(idAt(nearTarget), handle->id);
    EXPECT_EQ(idAt(outside), 0);
    EXPECT_EQ(idAt(between), 0); // no line in the pick pass
    GL_ResyncStateCache(view->stateCache);
    view->doneCurrent();
}

TEST_F(CameraDraw, CameraViewsEyeInTheCameraColourWithDrawCamera) {
    open();
    Color_Table()[COLOR_2D_CAMERA].colour = QColor(255, 128, 0);
    const float* eye = ObjectViewFixture::camera()->eye;
    const float ahead[3] = {eye[0] + 12, eye[1], eye[2]}; // on the diamond's long diagonal
    EXPECT_FALSE(near(top()->grabFramebuffer(), screen(top(), ahead), QColor(255, 128, 0)));
    settings().DrawCamera = true;
    for (cCanvas* view : views2D()) {
        const QImage image = view->grabFramebuffer();
        // The side views show the diagonal along their own horizontal axis.
        float p[3] = {eye[0], eye[1], eye[2]};
        p[view->hAxis] += 12;
        EXPECT_TRUE(near(image, screen(view, p), QColor(255, 128, 0))) << view->viewType;
    }
}

} // namespace
