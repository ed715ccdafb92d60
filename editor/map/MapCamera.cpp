#include "map/MapCamera.h"

#include "document/MapWorld.h"
#include "kstdlib/kmath.h"
#include "views/ColorScheme.h"

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
    if (MapWorld* world = Map_FromHandle(rec->owner); world && world->currentCamera == rec)
        world->currentCamera = nullptr;
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

CameraRecord* Camera_Alloc() {
    return (new cMapCamera)->record();
}

CameraRecord* Camera_Create(void* mapHandle) {
    MapWorld* world = Map_FromHandle(mapHandle);
    if (!world) return nullptr;
    CameraRecord* rec = Camera_Alloc();
    Map_LinkCamera(world, rec, Map_Handle(world));
    rec->serial = Map_NextSerial(world, SerialKind::Camera);
    return rec;
}

void Camera_Delete(CameraRecord* camera) {
    if (!camera) return;
    if (MapWorld* world = Map_FromHandle(camera->owner)) Map_UnlinkCamera(world, camera, camera->owner);
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
