// Cameras: saved viewpoints (an eye and a target point) kept in the world's camera list.
#pragma once

#include <cstddef>
#include <cstdint>

#include "map/MapObject.h"

class cMapCamera;
struct RenderContext;

// Bits of CameraRecord::flags; cameras have no selection list, the bit alone selects.
namespace CameraFlag {
constexpr uint32_t Selected = RecordFlag::Selected;
} // namespace CameraFlag

struct CameraRecord {
    cMapCamera* handle;
    CameraRecord* next;
    CameraRecord* prev;
    MapHandle owner; // the world's map handle; null while not linked
    uint32_t flags;  // CameraFlag
    int32_t serial;
    float eye[3];
    float target[3];
};
static_assert(sizeof(CameraRecord) == 64);
static_assert(Record_HasOwnerLinks<CameraRecord>());
static_assert(offsetof(CameraRecord, owner) == 24);
static_assert(offsetof(CameraRecord, flags) == 32);
static_assert(offsetof(CameraRecord, serial) == 36);
static_assert(offsetof(CameraRecord, eye) == 40);
static_assert(offsetof(CameraRecord, target) == 52);

class cMapCamera : public cMapObject {
public:
    // Zero-filled record, random base colour, distance 1.
    cMapCamera();
    // Clears the world's current camera when it is this one.
    ~cMapCamera() override;

    CameraRecord* record() const { return static_cast<CameraRecord*>(cMapObject::record()); }
    static cMapCamera* fromRecord(const CameraRecord* rec) { return rec ? rec->handle : nullptr; }

    // Stores both points in the record and the target copy and distance here.
    void setEyeAndTarget(const float eye[3], const float target[3]);
    // Display colour between COLOR_CAMERA_RANDOM_MIN and COLOR_CAMERA_RANDOM_MAX.
    void updateRandomColor();
    // 2D views: the eye-to-target line and the eye's discs (5 and 4 pixels across in radius), or
    // in a pick pass two discs of 8 pixels around eye and target in the camera's pick colour.
    bool draw(const RenderContext* context) const;

    float distance = 1.0f; // |target - eye|, 1 when they are closer than 0.001
    float target[3] = {0, 0, 0};
};

// ---- Plugin API (engine-function table signatures) ----
// A new camera with a new id at the tail of the world's camera list; null for a null handle.
CameraRecord* Camera_Create(void* mapHandle);
// Unlinks a linked camera (id freed) and destroys it.
void Camera_Delete(CameraRecord* camera);
void Camera_SetColor(CameraRecord* camera, uint8_t r, uint8_t g, uint8_t b, uint8_t a);
void Camera_SetEyeAndTarget(CameraRecord* camera, const float eye[3], const float target[3]);

// ---- Editor side ----
// A bare camera: not linked, no id, serial 0 (project reader).
CameraRecord* Camera_Alloc();
