#include "map/MapCamera.h"

#include <GL/gl.h>

#include "kstdlib/kmath.h"
#include "map/PointDraw.h"
#include "map/WorldHooks.h"
#include "render/ColorScheme.h"
#include "render/RenderContext.h"

namespace {
ObjectColor schemeColor(int32_t key) {
    uint8_t rgba[4];
    Color_FillRGBA(rgba, key);
    return Color_FromBytes(rgba[0], rgba[1], rgba[2], rgba[3]);
}
} // namespace

cMapCamera::cMapCamera() : cMapObject(MapObjectKind::Camera, sizeof(CameraRecord)) {
    baseColor = Object_RandomBaseColor();
    updateRandomColor();
}

cMapCamera::~cMapCamera() {
    CameraRecord* rec = record();
    // Deleted while still linked: the world forgets it (and stops naming it current).
    if (rec->owner) World_Unlink(rec->owner, rec);
}

void cMapCamera::setEyeAndTarget(const float eye[3], const float newTarget[3]) {
    CameraRecord* rec = record();
    float delta[3];
    for (int i = 0; i < 3; ++i) {
        rec->eye[i] = eye[i];
        rec->target[i] = newTarget[i];
        target[i] = newTarget[i];
        delta[i] = newTarget[i] - eye[i];
    }
    distance = K_Sqrt(delta[0] * delta[0] + delta[1] * delta[1] + delta[2] * delta[2]);
    if (!(distance >= 0.001f)) distance = 1.0f;
}

void cMapCamera::updateRandomColor() {
    displayColor = Object_RandomDisplayColor(baseColor, schemeColor(COLOR_CAMERA_RANDOM_MIN),
                                             schemeColor(COLOR_CAMERA_RANDOM_MAX));
}

bool cMapCamera::draw(const RenderContext* context) const {
    const CameraRecord* rec = record();
    const float u = context->invZoom;
    constexpr int32_t kSides = 12;
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    if (context->pickBase) {
        PointDraw_Color(Object_PickColor(id));
        PointDraw_Disc2D(context, rec->eye, 8.0f * u, kSides);
        PointDraw_Disc2D(context, rec->target, 8.0f * u, kSides);
    } else {
        const bool selected = rec->flags & CameraFlag::Selected;
        if (selected)
            PointDraw_SchemeColor(COLOR_CAMERA_LINE);
        else
            PointDraw_Color(displayColor);
        glBegin(GL_LINES);
        PointDraw_Vertex2D(context, rec->eye[context->hAxis], rec->eye[context->vAxis]);
        PointDraw_Vertex2D(context, rec->target[context->hAxis], rec->target[context->vAxis]);
        glEnd();
        PointDraw_SchemeColor(COLOR_BULLET_BORDER);
        PointDraw_Disc2D(context, rec->eye, 5.0f * u, kSides);
        if (selected)
            PointDraw_SchemeColor(COLOR_BULLET_SELECTED);
        else
            PointDraw_Color(displayColor);
        PointDraw_Disc2D(context, rec->eye, 4.0f * u, kSides);
    }
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    return true;
}

CameraRecord* Camera_Alloc() {
    return (new cMapCamera)->record();
}

CameraRecord* Camera_Create(void* mapHandle) {
    const MapHandle map = static_cast<MapHandle>(mapHandle);
    if (!World_Hooks(map)) return nullptr;
    CameraRecord* rec = Camera_Alloc();
    World_Link(map, rec);
    rec->serial = World_NextSerial(map, SerialKind::Camera);
    return rec;
}

void Camera_Delete(CameraRecord* camera) {
    if (!camera) return;
    World_Unlink(camera->owner, camera);
    delete cMapCamera::fromRecord(camera);
}

void Camera_SetColor(CameraRecord* camera, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    cMapCamera* handle = cMapCamera::fromRecord(camera);
    if (!handle) return;
    handle->baseColor = Color_FromBytes(r, g, b, a);
    handle->updateRandomColor();
}

void Camera_SetEyeAndTarget(CameraRecord* camera, const float eye[3], const float target[3]) {
    cMapCamera* handle = cMapCamera::fromRecord(camera);
    if (!handle || !eye || !target) return;
    handle->setEyeAndTarget(eye, target);
}
