#include <gtest/gtest.h>

#include "TestWorld.h"
#include "map/MapCamera.h"
#include "document/ObjectApi.h"
#include "render/ColorScheme.h"

namespace {

class MapCameraTest : public ::testing::Test {
protected:
    cTestWorld t;
    MapWorld* w = &t.world;
};

TEST_F(MapCameraTest, CreateLinksAtTheTailWithIdSerialAndOwner) {
    CameraRecord* a = Camera_Create(t.handle());
    CameraRecord* b = Camera_Create(t.handle());
    ASSERT_TRUE(a && b);
    EXPECT_EQ(w->cameras, a);
    EXPECT_EQ(w->camerasTail, b);
    EXPECT_EQ(a->next, b);
    EXPECT_EQ(b->prev, a);
    EXPECT_EQ(a->serial, 1);
    EXPECT_EQ(b->serial, 2);
    EXPECT_EQ(a->owner, t.handle());
    EXPECT_EQ(cMapCamera::fromRecord(a)->id, 1);
    EXPECT_EQ(cMapCamera::fromRecord(b)->id, 2);
    EXPECT_EQ(Camera_Create(nullptr), nullptr);
}

TEST_F(MapCameraTest, AllocatedCameraIsBareAndLinksLikeACreatedOne) {
    CameraRecord* cam = Camera_Alloc();
    cMapCamera* handle = cMapCamera::fromRecord(cam);
    EXPECT_EQ(handle->id, -1);
    EXPECT_EQ(cam->serial, 0);
    EXPECT_EQ(cam->owner, nullptr);
    EXPECT_FLOAT_EQ(handle->distance, 1.0f);
    uint8_t rgba[4];
    Object_GetColor(cam, rgba);
    EXPECT_EQ(rgba[3], 255);

    Map_LinkCamera(w, cam, t.handle());
    EXPECT_EQ(handle->id, 1);
    EXPECT_EQ(w->cameras, cam);
    Map_UnlinkCamera(w, cam, t.handle());
    EXPECT_EQ(handle->id, -1);
    EXPECT_EQ(w->cameras, nullptr);
    EXPECT_EQ(cam->owner, nullptr);
    Camera_Delete(cam);
}

TEST_F(MapCameraTest, EyeAndTargetSetTheDistance) {
    struct Case {
        float eye[3], target[3], distance;
    };
    const Case cases[] = {
        {{0, 0, 0}, {3, 4, 0}, 5},
        {{10, 10, 10}, {10, 10, 10}, 1}, // equal points
        {{0, 0, 0}, {0.0005f, 0, 0}, 1}, // closer than 0.001
        {{1, 2, 3}, {1, 2, -7}, 10},
    };
    CameraRecord* cam = Camera_Create(t.handle());
    for (const Case& c : cases) {
        Camera_SetEyeAndTarget(cam, c.eye, c.target);
        const cMapCamera* handle = cMapCamera::fromRecord(cam);
        EXPECT_NEAR(handle->distance, c.distance, 1e-4f);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(cam->eye[i], c.eye[i]);
            EXPECT_EQ(cam->target[i], c.target[i]);
            EXPECT_EQ(handle->target[i], c.target[i]);
        }
    }
    const float p[3] = {1, 1, 1};
    Camera_SetEyeAndTarget(nullptr, p, p);
    Camera_SetEyeAndTarget(cam, nullptr, p);
}

TEST_F(MapCameraTest, SetColorStoresTheBaseAndDerivesTheDisplayColour) {
    CameraRecord* cam = Camera_Create(t.handle());
    Camera_SetColor(cam, 255, 0, 128, 9);
    uint8_t rgba[4];
    Object_GetColor(cam, rgba);
    EXPECT_EQ(rgba[0], 255);
    EXPECT_EQ(rgba[1], 0);
    EXPECT_EQ(rgba[2], 128);
    EXPECT_EQ(rgba[3], 9);

    uint8_t lo[4], hi[4];
    Color_FillRGBA(lo, COLOR_CAMERA_RANDOM_MIN);
    Color_FillRGBA(hi, COLOR_CAMERA_RANDOM_MAX);
    const ObjectColor expected = Object_RandomDisplayColor(Color_FromBytes(255, 0, 128, 9),
                                                           Color_FromBytes(lo[0], lo[1], lo[2], lo[3]),
                                                           Color_FromBytes(hi[0], hi[1], hi[2], hi[3]));
    EXPECT_EQ(cMapCamera::fromRecord(cam)->displayColor, expected);

    Camera_SetColor(nullptr, 1, 2, 3, 4);
    Object_GetColor(cam, nullptr);
}

TEST_F(MapCameraTest, DeletingTheCurrentCameraLeavesNoCurrentCamera) {
    CameraRecord* other = Camera_Create(t.handle());
    CameraRecord* current = Camera_Create(t.handle());
    w->currentCamera = current;
    Camera_Delete(current);
    EXPECT_EQ(w->currentCamera, nullptr);
    EXPECT_EQ(w->cameras, other);
    EXPECT_EQ(w->camerasTail, other);
    EXPECT_FALSE(Map_IsIdInUse(w, 2));
    Camera_Delete(nullptr);
}

TEST_F(MapCameraTest, PickColourEncodesTheId) {
    CameraRecord* cam = Camera_Create(t.handle());
    cMapCamera::fromRecord(cam)->id = 0x012345;
    uint8_t rgba[4];
    Color_ToBytes(Object_PickColor(cMapCamera::fromRecord(cam)->id), rgba);
    EXPECT_EQ(rgba[0], 0x45);
    EXPECT_EQ(rgba[1], 0x23);
    EXPECT_EQ(rgba[2], 0x01);
    EXPECT_EQ(rgba[3], 255);
    cMapCamera::fromRecord(cam)->id = 1; // give back the id the world handed out
}

} // namespace
