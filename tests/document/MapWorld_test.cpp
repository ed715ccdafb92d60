#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "ConsoleCapture.h"
#include "TestWorld.h"
#include "core/System.h"
#include "document/MapWorld.h"
#include "document/VisGroup.h"
#include "gamedata/GameConfig.h"
#include "mainwindow/MainWindow.h"
#include "map/MapBrush.h"
#include "map/MapCamera.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "document/ObjectApi.h"

namespace {

class MapWorldTest : public ::testing::Test {
protected:
    cTestWorld t;
    MapWorld* w = &t.world;

    std::vector<int32_t> alloc(int n) {
        std::vector<int32_t> ids;
        for (int i = 0; i < n; ++i)
            ids.push_back(Map_AllocId(w));
        return ids;
    }
};

TEST_F(MapWorldTest, FreshWorldLayout) {
    EXPECT_EQ(w->handle, w);
    EXPECT_EQ(Map_FromHandle(Map_Handle(w)), w);
    EXPECT_EQ(Map_FromHandle(nullptr), nullptr);
    EXPECT_EQ(w->highestId, 1);
    EXPECT_EQ(w->lowestFreeId, 1);
    EXPECT_EQ(w->selectionMode, SelectionMode::WholeGroups);
    for (int32_t s : w->serials)
        EXPECT_EQ(s, 0);
}

// ---- Ids ---------------------------------------------------------------------------------------

TEST_F(MapWorldTest, IdsAreHandedOutLowestFirstAndReused) {
    EXPECT_EQ(alloc(3), (std::vector<int32_t>{1, 2, 3}));
    Map_FreeId(w, 2);
    EXPECT_FALSE(Map_IsIdInUse(w, 2));
    EXPECT_EQ(Map_AllocId(w), 2);
    EXPECT_EQ(Map_AllocId(w), 4);
}

TEST_F(MapWorldTest, FreeingTheHighestIdLowersTheMarkByOneOnly) {
    alloc(5);
    Map_FreeId(w, 4);
    Map_FreeId(w, 5);
    EXPECT_EQ(w->highestId, 4);
    EXPECT_EQ(w->lowestFreeId, 4);
    EXPECT_EQ(alloc(3), (std::vector<int32_t>{4, 5, 6}));
}

TEST_F(MapWorldTest, FreeingTheOnlyIdLeavesBothMarksAtOne) {
    EXPECT_EQ(Map_AllocId(w), 1);
    Map_FreeId(w, 1);
    EXPECT_EQ(w->highestId, 1);
    EXPECT_EQ(w->lowestFreeId, 1);
    EXPECT_EQ(Map_AllocId(w), 1);
}

TEST_F(MapWorldTest, LowFreeIdsAreFilledBeforeTheTopGrows) {
    alloc(6);
    Map_FreeId(w, 2);
    Map_FreeId(w, 4);
    EXPECT_EQ(alloc(3), (std::vector<int32_t>{2, 4, 7}));
}

TEST_F(MapWorldTest, BadFreesChangeNothing) {
    alloc(3);
    for (int32_t id : {-1, 0, 4, kMaxObjectId + 1, INT_MIN}) {
        Map_FreeId(w, id);
        EXPECT_EQ(w->highestId, 3) << id;
        EXPECT_EQ(w->lowestFreeId, 3) << id;
    }
    Map_FreeId(w, 3);
    Map_FreeId(w, 3); // a second free of the same id must not lower the mark again
    EXPECT_EQ(w->highestId, 2);
    EXPECT_EQ(Map_AllocId(w), 3);
    Map_FreeId(nullptr, 1);
    EXPECT_EQ(Map_AllocId(nullptr), -1);
}

TEST_F(MapWorldTest, ExhaustedIdSpaceWarnsAndAnswersMinusOne) {
    cConsoleCapture console;
    for (int32_t i = 1; i <= kMaxObjectId; ++i)
        ASSERT_EQ(Map_AllocId(w), i);
    EXPECT_EQ(Map_AllocId(w), -1);
    EXPECT_TRUE(console.contains("too many objects"));
    EXPECT_EQ(w->highestId, kMaxObjectId);
    Map_FreeId(w, 0x100001);
    EXPECT_EQ(Map_AllocId(w), 0x100001);
}

TEST_F(MapWorldTest, ClearedWorldStartsFromTheLowestFreeId) {
    alloc(0x100002);
    Map_FreeId(w, 7);
    Map_ClearWorld(w);
    EXPECT_EQ(w->handle, w);
    EXPECT_FALSE(Map_IsIdInUse(w, 0x100001));
    EXPECT_EQ(Map_AllocId(w), 7);
    // The whole bitmap is clear, high ids included.
    EXPECT_EQ(Map_AllocId(w), 8);
    EXPECT_FALSE(Map_IsIdInUse(w, 0x100001));
}

TEST_F(MapWorldTest, IdAllocatorTable) {
    // Allocate `count` ids, free `freed` in that order, then the next allocations must come out
    // as `next`, with the marks at `high` and `low` before they are made.
    struct Case {
        const char* name;
        int count;
        std::vector<int32_t> freed;
        int32_t high, low;
        std::vector<int32_t> next;
    };
    const Case cases[] = {
        {"fresh", 0, {}, 1, 1, {1, 2, 3}},
        {"reuse lowest first", 5, {4, 2}, 5, 2, {2, 4, 6}},
        {"top shrinks by one", 5, {5}, 4, 4, {5, 6}},
        {"top shrinks per free", 5, {5, 4, 3}, 2, 2, {3, 4, 5}},
        {"top freed below a hole", 5, {2, 5}, 4, 2, {2, 5}},
        {"only id", 1, {1}, 1, 1, {1, 2}},
        // The low mark skips used ids 64 at a time: holes on both sides of word edges.
        {"word edges", 200, {129, 65, 64, 128}, 200, 64, {64, 65, 128, 129, 201}},
        {"hole words apart", 300, {3, 193}, 300, 3, {3, 193, 301}},
        {"hole just below the top", 130, {129}, 130, 129, {129, 131}},
        {"scan runs up to the top", 129, {1, 129}, 128, 1, {1, 129, 130}},
    };
    for (const Case& c : cases) {
        Map_ClearWorld(w);
        w->highestId = w->lowestFreeId = 1;
        alloc(c.count);
        for (int32_t id : c.freed)
            Map_FreeId(w, id);
        EXPECT_EQ(w->highestId, c.high) << c.name;
        EXPECT_EQ(w->lowestFreeId, c.low) << c.name;
        EXPECT_EQ(alloc(int(c.next.size())), c.next) << c.name;
    }
}

// ---- Serials -----------------------------------------------------------------------------------

TEST_F(MapWorldTest, SerialsStartAtOneAndNeverIssueZero) {
    struct Case {
        int32_t counter, expected;
    };
    for (const Case& c : {Case{0, 1}, Case{5, 6}, Case{-1, 1}, Case{INT_MAX, 1}, Case{-7, 1}}) {
        w->serials[int(SerialKind::Brush)] = c.counter;
        EXPECT_EQ(Map_NextSerial(w, SerialKind::Brush), c.expected) << c.counter;
    }
    // Each kind counts on its own.
    EXPECT_EQ(Map_NextSerial(w, SerialKind::Camera), 1);
    EXPECT_EQ(Map_NextSerial(w, SerialKind::Camera), 2);
    EXPECT_EQ(Map_NextSerial(w, SerialKind::Face), 1);
}

// ---- Lists and selection -----------------------------------------------------------------------

TEST_F(MapWorldTest, UnlinkingCamerasMendsHeadAndTail) {
    CameraRecord* c[3];
    for (auto& cam : c)
        cam = Camera_Create(t.handle());
    Camera_Delete(c[1]);
    EXPECT_EQ(w->cameras, c[0]);
    EXPECT_EQ(c[0]->next, c[2]);
    EXPECT_EQ(c[2]->prev, c[0]);
    Camera_Delete(c[0]);
    EXPECT_EQ(w->cameras, c[2]);
    EXPECT_EQ(w->camerasTail, c[2]);
    EXPECT_EQ(c[2]->prev, nullptr);
    Camera_Delete(c[2]);
    EXPECT_EQ(w->cameras, nullptr);
    EXPECT_EQ(w->camerasTail, nullptr);
    for (int32_t id = 1; id <= 3; ++id)
        EXPECT_FALSE(Map_IsIdInUse(w, id));
}

TEST_F(MapWorldTest, SelectNoneClearsEveryListAndBit) {
    BrushRecord* brush = Brush_Create(t.handle(), &t.worldspawn);
    FaceRecord* face = Face_Create(t.handle(), brush, nullptr, 0);
    Map_SelectObject(w, brush);
    Map_SelectObject(w, face);
    Map_SelectObject(w, &t.worldspawn);
    Map_SelectObject(w, brush); // selecting twice links once
    EXPECT_EQ(w->selectedBrushes, brush);
    EXPECT_EQ(brush->selNext, nullptr);
    Map_SelectNone(w);
    EXPECT_EQ(w->selectedBrushes, nullptr);
    EXPECT_EQ(w->selectedFaces, nullptr);
    EXPECT_EQ(w->selectedEntities, nullptr);
    EXPECT_EQ(brush->flags & RecordFlag::Selected, 0u);
    EXPECT_EQ(face->flags & RecordFlag::Selected, 0u);
    EXPECT_EQ(t.worldspawn.flags & RecordFlag::Selected, 0u);
}

TEST_F(MapWorldTest, DeselectingTheMiddleOfASelectionKeepsTheRestLinked) {
    BrushRecord* b[3];
    for (auto& brush : b) {
        brush = Brush_Create(t.handle(), &t.worldspawn);
        Map_SelectObject(w, brush);
    }
    Map_DeselectObject(w, b[1]);
    int count = 0;
    for (BrushRecord* r = w->selectedBrushes; r; r = r->selNext) {
        EXPECT_NE(r, b[1]);
        ++count;
    }
    EXPECT_EQ(count, 2);
    EXPECT_EQ(b[1]->selNext, nullptr);
    EXPECT_EQ(b[1]->selPrev, nullptr);
}

TEST_F(MapWorldTest, FindFaceById) {
    BrushRecord* brush = Brush_Create(t.handle(), &t.worldspawn);
    FaceRecord* a = Face_Create(t.handle(), brush, nullptr, 0);
    FaceRecord* b = Face_Create(t.handle(), brush, nullptr, 0);
    EXPECT_EQ(Map_FindFaceById(w, cMapFace::fromRecord(b)->id), b);
    EXPECT_EQ(Map_FindFaceById(w, cMapFace::fromRecord(a)->id), a);
    EXPECT_EQ(Map_FindFaceById(w, 999), nullptr);
    EXPECT_EQ(Map_FindFaceById(w, -1), nullptr);
}

TEST_F(MapWorldTest, DeleteSelectedCamerasKeepsTheOthers) {
    CameraRecord* keep = Camera_Create(t.handle());
    CameraRecord* gone = Camera_Create(t.handle());
    w->currentCamera = gone;
    Map_SelectObject(w, gone);
    Map_DeleteSelectedCameras(w);
    EXPECT_EQ(w->cameras, keep);
    EXPECT_EQ(w->camerasTail, keep);
    EXPECT_EQ(w->currentCamera, nullptr);
}

// ---- Clearing ----------------------------------------------------------------------------------

TEST_F(MapWorldTest, ClearWorldDestroysEverythingAndDropsMemberships) {
    VisGroup* set = Map_CreateVisGroup(w, "walls");
    BrushRecord* brush = Brush_Create(t.handle(), &t.worldspawn);
    for (int i = 0; i < 6; ++i)
        Map_SelectObject(w, Face_Create(t.handle(), brush, nullptr, 0));
    Map_SelectObject(w, brush);
    Object_AddToVisGroup(t.handle(), brush, set->id);
    ASSERT_EQ(set->memberCount, 1);
    w->currentCamera = Camera_Create(t.handle());

    Map_DeleteAllObjects(w);
    EXPECT_EQ(set->memberCount, 0);
    EXPECT_EQ(w->entities, nullptr);
    EXPECT_EQ(w->selectedBrushes, nullptr);
    EXPECT_EQ(w->selectedFaces, nullptr);
    EXPECT_EQ(t.worldspawn.firstBrush, nullptr);

    Map_ClearWorld(w);
    EXPECT_EQ(w->cameras, nullptr);
    EXPECT_EQ(w->currentCamera, nullptr);
    EXPECT_EQ(w->visGroups->size(), 0u);
    EXPECT_EQ(w->visGroupIdCounter, 0);
    EXPECT_EQ(w->flags, 0u);
    EXPECT_EQ(w->handle, w);
    for (int32_t id = 1; id <= 10; ++id)
        EXPECT_FALSE(Map_IsIdInUse(w, id));
}

TEST_F(MapWorldTest, OwnerChainsReachTheWorld) {
    BrushRecord* brush = Brush_Create(t.handle(), &t.worldspawn);
    FaceRecord* face = Face_Create(t.handle(), brush, nullptr, 0);
    EXPECT_EQ(Map_WorldOfFace(face), w);
    EXPECT_EQ(Map_WorldOfBrush(brush), w);
    EXPECT_EQ(Map_WorldOfEntity(&t.worldspawn), w);
    EntityRecord detached{};
    EXPECT_EQ(Map_WorldOfEntity(&detached), nullptr);
    EXPECT_EQ(Map_WorldOfFace(nullptr), nullptr);
}

// ---- Deleting entities --------------------------------------------------------------------------

TEST_F(MapWorldTest, DeletingAnEntityFreesItsBrushesFacesAndSelection) {
    const float origin[3] = {0, 0, 0};
    EntityRecord* door = Entity_Create(t.handle(), "func_door", origin, 0);
    BrushRecord* brush = Brush_Create(t.handle(), door);
    FaceRecord* face = Face_Create(t.handle(), brush, nullptr, 0);
    Map_SelectObject(w, door);
    Map_SelectObject(w, brush);
    Map_SelectObject(w, face);
    const int32_t ids[3] = {cMapEntity::fromRecord(door)->id, cMapBrush::fromRecord(brush)->id,
                            cMapFace::fromRecord(face)->id};

    Map_DeleteEntity(w, &t.worldspawn); // never the world entity
    EXPECT_EQ(w->entities, &t.worldspawn);

    Map_DeleteEntity(w, door);
    EXPECT_EQ(w->entities, &t.worldspawn);
    EXPECT_EQ(w->entitiesTail, &t.worldspawn);
    EXPECT_EQ(w->selectedEntities, nullptr);
    EXPECT_EQ(w->selectedBrushes, nullptr);
    EXPECT_EQ(w->selectedFaces, nullptr);
    for (int32_t id : ids)
        EXPECT_FALSE(Map_IsIdInUse(w, id)) << id;
}

TEST_F(MapWorldTest, RemovingAnEntityThatStillHasBrushesLeavesNoSelectedBrushBehind) {
    const float origin[3] = {0, 0, 0};
    EntityRecord* door = Entity_Create(t.handle(), "func_door", origin, 0);
    BrushRecord* brush = Brush_Create(t.handle(), door);
    const int32_t brushId = cMapBrush::fromRecord(brush)->id;
    Map_SelectObject(w, brush);
    Map_RemoveEntity(w, door, false);
    EXPECT_EQ(w->selectedBrushes, nullptr);
    EXPECT_FALSE(Map_IsIdInUse(w, brushId));
}

// ---- Texture-package list for plugins ----------------------------------------------------------

TEST_F(MapWorldTest, TexturePackageListTable) {
    cMainWindow window;
    GameConfig config;
    config.Parcel = {"C:/games/base/walls.wad", "/data/textures", "/data/sky.WAD", "/data/fx.shader"};
    window.gameConfigs.makeCurrent(&config);
    struct Case {
        int32_t separator, strip;
        const char* expected;
    };
    char* out = nullptr;
    for (const Case& c : {Case{';', 0, "C:/games/base/walls.wad;/data/sky.WAD"},
                          Case{'|', 1, "/games/base/walls.wad|/data/sky.WAD"}}) {
        // Each call frees the previous result (the sanitizer sees a leak or double free).
        ASSERT_EQ(Map_ApiGetTexturePackageList(Map_Handle(w), &out, c.separator, c.strip), 1);
        EXPECT_STREQ(out, c.expected);
    }
    Sys_Free(out);
    out = nullptr;

    config.Parcel.clear();
    ASSERT_EQ(Map_ApiGetTexturePackageList(Map_Handle(w), &out, ';', 0), 1);
    EXPECT_STREQ(out, "");
    Sys_Free(out);
    window.gameConfigs.makeCurrent(nullptr);
}

TEST_F(MapWorldTest, TexturePackageListRefusesForeignPointersAndMissingArguments) {
    cConsoleCapture console;
    GameConfig config;
    g_mainWindow->gameConfigs.makeCurrent(&config);
    char foreign[] = "not ours";
    char* out = foreign;
    EXPECT_EQ(Map_ApiGetTexturePackageList(Map_Handle(w), &out, ';', 0), 0);
    EXPECT_EQ(out, foreign);
    EXPECT_TRUE(
        console.contains("Map_ApiGetTexturePackageList: *out holds a string this function did not return"));
    out = nullptr;
    EXPECT_EQ(Map_ApiGetTexturePackageList(nullptr, &out, ';', 0), 0);
    EXPECT_EQ(Map_ApiGetTexturePackageList(Map_Handle(w), nullptr, ';', 0), 0);
    g_mainWindow->gameConfigs.makeCurrent(nullptr);
    EXPECT_EQ(Map_ApiGetTexturePackageList(Map_Handle(w), &out, ';', 0), 0);
    EXPECT_EQ(out, nullptr);
}

} // namespace
