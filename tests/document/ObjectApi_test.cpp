#include <gtest/gtest.h>

#include "TestWorld.h"
#include "document/VisGroup.h"
#include "map/MapBrush.h"
#include "map/MapCamera.h"
#include "map/MapFace.h"
#include "document/ObjectApi.h"
#include "map/VisGroupList.h"

namespace {

class ObjectApiTest : public ::testing::Test {
protected:
    cTestWorld t;
    MapWorld* w = &t.world;
    VisGroup* a = Map_CreateVisGroup(w, "a");
    VisGroup* b = Map_CreateVisGroup(w, nullptr);
    BrushRecord* brush = Brush_Create(t.handle(), &t.worldspawn);
};

TEST_F(ObjectApiTest, BrushJoinsAndLeavesSetsByIdAndCountsStayTrue) {
    Object_AddToVisGroup(t.handle(), brush, a->id);
    Object_AddToVisGroup(t.handle(), brush, a->id); // once only
    Object_AddToVisGroup(t.handle(), brush, b->id);
    EXPECT_EQ(Object_GetVisGroupCount(brush), 2);
    EXPECT_EQ(Object_GetVisGroupId(brush, 0), a->id);
    EXPECT_EQ(Object_GetVisGroupId(brush, 1), b->id);
    EXPECT_EQ(a->memberCount, 1);

    Object_RemoveFromVisGroup(t.handle(), brush, a->id);
    EXPECT_EQ(a->memberCount, 0);
    EXPECT_EQ(Object_GetVisGroupCount(brush), 1);
    EXPECT_EQ(Object_GetVisGroupId(brush, 0), b->id);
    Brush_Delete(t.handle(), brush);
}

TEST_F(ObjectApiTest, VisGroupEntriesIgnoreWhatTheyCannotServe) {
    CameraRecord* camera = Camera_Create(t.handle());
    FaceRecord* face = Face_Create(t.handle(), brush, nullptr, 0);
    MapWorld otherWorld{};
    Map_InitWorld(&otherWorld, nullptr);
    VisGroup* foreign = Map_CreateVisGroup(&otherWorld, "other map");

    struct Case {
        const char* what;
        void* handle;
        void* record;
        int32_t id;
    };
    const Case cases[] = {
        {"null handle", nullptr, brush, a->id},
        {"null record", t.handle(), nullptr, a->id},
        {"id naming no set", t.handle(), brush, 999},
        {"face record", t.handle(), face, a->id},
        {"camera record", t.handle(), camera, a->id},
        {"set of another map", Map_Handle(&otherWorld), brush, foreign->id},
    };
    for (const Case& c : cases) {
        Object_AddToVisGroup(c.handle, c.record, c.id);
        EXPECT_EQ(Object_GetVisGroupCount(brush), 0) << c.what;
        EXPECT_EQ(a->memberCount, 0) << c.what;
        EXPECT_EQ(foreign->memberCount, 0) << c.what;
    }
    Object_AddToVisGroup(t.handle(), brush, a->id);
    for (const Case& c : cases) {
        Object_RemoveFromVisGroup(c.handle, c.record, c.id);
        EXPECT_EQ(a->memberCount, 1) << c.what;
    }
    EXPECT_EQ(Object_GetVisGroupCount(face), 0);
    EXPECT_EQ(Object_GetVisGroupCount(nullptr), 0);
    EXPECT_EQ(Object_GetVisGroupId(face, 0), 0);
    for (int32_t index : {-1, 1, 100})
        EXPECT_EQ(Object_GetVisGroupId(brush, index), 0) << index;

    Object_RemoveFromVisGroup(t.handle(), brush, a->id);
    Map_DestroyWorld(&otherWorld);
}

TEST_F(ObjectApiTest, GetColorCopiesTheBaseColour) {
    uint8_t rgba[4] = {1, 1, 1, 1};
    Object_GetColor(brush, rgba); // never coloured yet
    EXPECT_EQ(rgba[0], 0);
    EXPECT_EQ(rgba[1], 0);
    EXPECT_EQ(rgba[2], 0);
    EXPECT_EQ(rgba[3], 255);
    Brush_SetColor(brush, 10, 20, 30, 40);
    Object_GetColor(brush, rgba);
    EXPECT_EQ(rgba[0], 10);
    EXPECT_EQ(rgba[3], 40);
    BrushRecord detached{};
    rgba[0] = 77;
    Object_GetColor(&detached, rgba);
    Object_GetColor(nullptr, rgba);
    EXPECT_EQ(rgba[0], 77);
}

TEST_F(ObjectApiTest, UndoRecordingToleratesBrokenChains) {
    FaceRecord* face = Face_Create(t.handle(), brush, nullptr, 0);
    BrushRecord detached{};
    Brush_RecordUndoCreated(nullptr);
    Brush_RecordUndoModified(&detached, 1);
    Face_RecordUndoModified(face); // a world without a document records nothing
    Entity_RecordUndoModified(&t.worldspawn);
    Node_RecordUndoCreated(nullptr);
    SUCCEED();
}

TEST(VisGroupList, MembershipKeepsCountsEqualToTheLists) {
    VisGroup x{}, y{};
    x.id = 3;
    y.id = 8;
    cVisGroupList one, two;
    EXPECT_TRUE(one.add(&x));
    EXPECT_FALSE(one.add(&x));
    EXPECT_FALSE(one.add(nullptr));
    one.add(&y);
    two.addAll(one);
    two.addAll(two);
    EXPECT_EQ(x.memberCount, 2);
    EXPECT_EQ(y.memberCount, 2);
    int32_t first = 0;
    EXPECT_TRUE(two.firstId(&first));
    EXPECT_EQ(first, 3);
    EXPECT_EQ(one.remove(&x), 1);
    EXPECT_EQ(one.remove(&x), 0);
    EXPECT_EQ(x.memberCount, 1);
    two.clear();
    one.clear();
    EXPECT_EQ(x.memberCount, 0);
    EXPECT_EQ(y.memberCount, 0);
    EXPECT_FALSE(one.firstId(&first));
}

} // namespace
