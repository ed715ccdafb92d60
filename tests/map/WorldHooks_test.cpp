// Map objects made against a world of the test's own: every call the objects make on their world
// goes through the hooks table, so a table filled here sees all of them.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "map/MapBrush.h"
#include "map/MapCamera.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapGroup.h"
#include "map/MapPath.h"
#include "map/WorldHooks.h"

namespace {

const char* kindName(MapObjectKind kind) {
    static const char* const names[] = {"entity", "brush", "face", "patch", "overlay",
                                        "group",  "path",  "node", "camera"};
    return names[int(kind)];
}

// A world as the objects see it: the hooks table first, then what the handle points to. It keeps
// the lists the objects need (entities, an entity's brushes, a brush's faces) and a log of calls.
struct FakeWorld {
    const WorldHooks* hooks;
    FakeWorld* self = this; // the map handle is the address of this member
    std::vector<std::string> calls;
    EntityRecord* entities = nullptr;
    EntityRecord* entitiesTail = nullptr;
    int32_t nextId = 1;

    MapHandle handle() { return reinterpret_cast<MapHandle>(&self); }
    static FakeWorld* of(MapHandle map) { return *reinterpret_cast<FakeWorld**>(map); }
    void log(std::string call) { calls.push_back(std::move(call)); }
};

const WorldHooks kFakeHooks = {
    [](MapHandle map) {
        FakeWorld::of(map)->log("allocId");
        return FakeWorld::of(map)->nextId++;
    },
    [](MapHandle map, cMapObject* object) {
        FakeWorld::of(map)->log("freeId");
        object->id = -1;
    },
    [](MapHandle map, SerialKind kind) {
        FakeWorld::of(map)->log("serial " + std::to_string(int(kind)));
        return 7;
    },
    [](MapHandle map, MapObjectKind kind, void* record, void* parent) {
        FakeWorld* w = FakeWorld::of(map);
        w->log(std::string("link ") + kindName(kind));
        if (kind == MapObjectKind::Entity)
            List_Append(w->entities, w->entitiesTail, static_cast<EntityRecord*>(record));
        if (kind == MapObjectKind::Brush) {
            auto* entity = static_cast<EntityRecord*>(parent);
            List_Append(entity->firstBrush, entity->lastBrush, static_cast<BrushRecord*>(record));
        }
        if (kind == MapObjectKind::Face) {
            auto* brush = static_cast<BrushRecord*>(parent);
            List_Append(brush->firstFace, brush->lastFace, static_cast<FaceRecord*>(record));
        }
        if (kind == MapObjectKind::Path) static_cast<PathRecord*>(record)->owner = map;
        if (kind == MapObjectKind::Camera) static_cast<CameraRecord*>(record)->owner = map;
    },
    [](MapHandle map, MapObjectKind kind, void* record, void* parent) {
        FakeWorld::of(map)->log(std::string("unlink ") + kindName(kind));
        if (kind == MapObjectKind::Brush) {
            auto* entity = static_cast<EntityRecord*>(parent);
            List_Remove(entity->firstBrush, &entity->lastBrush, static_cast<BrushRecord*>(record));
        }
        if (kind == MapObjectKind::Camera) static_cast<CameraRecord*>(record)->owner = nullptr;
    },
    [](MapHandle map, MapObjectKind kind, void*) {
        FakeWorld::of(map)->log(std::string("deselect ") + kindName(kind));
    },
    [](MapHandle map, MapObjectKind kind, void*) {
        FakeWorld::of(map)->log(std::string("cull ") + kindName(kind));
    },
    [](MapHandle map) { FakeWorld::of(map)->log("modified"); },
    [](MapHandle map) -> GameConfig* {
        FakeWorld::of(map)->log("gameConfig");
        return nullptr;
    },
    [](MapHandle map) { return FakeWorld::of(map)->entities; },
    [](MapHandle map, void*, const float*, float) { FakeWorld::of(map)->log("sky"); },
    [](MapHandle map, MapObjectKind kind, void*, GroupRecord*) {
        FakeWorld::of(map)->log(std::string("join ") + kindName(kind));
    },
    [](MapHandle map, GroupRecord*) { FakeWorld::of(map)->log("dissolve"); },
};

using Calls = std::vector<std::string>;

class WorldHooksTest : public ::testing::Test {
protected:
    void SetUp() override {
        const float origin[3] = {0, 0, 0};
        worldEntity = Entity_Create(world.handle(), "worldspawn", origin, EntityFlag::World);
        world.calls.clear();
    }
    void TearDown() override {
        for (EntityRecord* e = world.entities; e;) {
            EntityRecord* next = e->next;
            delete e->handle;
            e = next;
        }
    }

    FakeWorld world{&kFakeHooks};
    EntityRecord* worldEntity = nullptr;
};

// Each object kind's life: what it asks of its world when it is made and when it goes.
TEST_F(WorldHooksTest, ObjectsLinkAndUnlinkThroughTheirWorld) {
    const std::string entitySerial = "serial " + std::to_string(int(SerialKind::Entity));
    const std::string brushSerial = "serial " + std::to_string(int(SerialKind::Brush));
    const std::string faceSerial = "serial " + std::to_string(int(SerialKind::Face));
    const std::string groupSerial = "serial " + std::to_string(int(SerialKind::Group));
    const std::string nodeSerial = "serial " + std::to_string(int(SerialKind::Node));
    const std::string cameraSerial = "serial " + std::to_string(int(SerialKind::Camera));
    struct Case {
        const char* what;
        std::function<void(MapHandle)> run;
        Calls expected;
    };
    const Case cases[] = {
        {"entity",
         [](MapHandle map) {
             const float origin[3] = {8, 8, 8};
             EntityRecord* e = Entity_Create(map, "info_null", origin, 0);
             EXPECT_EQ(e->owner, map);
             EXPECT_EQ(e->serial, 7);
         },
         {"link entity", entitySerial}},
        {"brush with a face, deleted",
         [this](MapHandle map) {
             BrushRecord* b = Brush_Create(map, worldEntity);
             EXPECT_EQ(worldEntity->firstBrush, b);
             Face_Create(map, b, nullptr, 4);
             Brush_Delete(map, b);
             EXPECT_EQ(worldEntity->firstBrush, nullptr);
         },
         {"link brush", brushSerial, "link face", faceSerial, "deselect brush", "deselect face", "freeId",
          "unlink brush"}},
        {"face deleted alone",
         [this](MapHandle map) {
             BrushRecord* b = Brush_Create(map, worldEntity);
             FaceRecord* f = Face_Create(map, b, nullptr, 4);
             world.calls.clear();
             Face_Delete(map, f);
             EXPECT_EQ(b->firstFace, nullptr);
         },
         {"deselect face", "freeId"}},
        {"group with a world brush, deleted",
         [this](MapHandle map) {
             GroupRecord* g = Group_Create(map);
             EXPECT_EQ(g->owner, map);
             BrushRecord* b = Brush_Create(map, worldEntity);
             world.calls.clear();
             EXPECT_EQ(Group_AddBrush(g, b), nullptr);
             Group_Delete(map, g);
         },
         {"join brush", "deselect group", "dissolve", "unlink group"}},
        {"path with a node, deleted",
         [](MapHandle map) {
             PathRecord* p = Path_Create(map);
             NodeRecord* n = Node_Append(map, p);
             EXPECT_EQ(n->path, p);
             Node_Delete(n);
             Path_Delete(p);
         },
         {"link path", "allocId", nodeSerial, "deselect node", "freeId", "unlink path"}},
        {"camera, deleted and destroyed while linked",
         [](MapHandle map) {
             Camera_Delete(Camera_Create(map));
             delete cMapCamera::fromRecord(Camera_Create(map));
         },
         {"link camera", cameraSerial, "unlink camera", "link camera", cameraSerial, "unlink camera"}},
    };
    for (const Case& c : cases) {
        world.calls.clear();
        c.run(world.handle());
        EXPECT_EQ(world.calls, c.expected) << c.what;
    }
}

TEST_F(WorldHooksTest, EditsReachTheWorld) {
    const float origin[3] = {0, 0, 0};
    EntityRecord* e = Entity_Create(world.handle(), "info_null", origin, 0);
    world.calls.clear();
    e->handle->markModified();
    e->handle->update(0);
    worldEntity->handle->update(EntityUpdate::SkyKeys);
    EXPECT_EQ(world.calls, (Calls{"modified", "cull entity", "sky"}));
}

// An object made with no world (a null handle, or a world without a table) stays detached and
// calls nothing.
TEST_F(WorldHooksTest, NoWorldNoCalls) {
    FakeWorld bare{nullptr};
    for (MapHandle map : {MapHandle(nullptr), bare.handle()}) {
        const float origin[3] = {0, 0, 0};
        EntityRecord* e = Entity_Create(map, "info_null", origin, 0);
        EXPECT_EQ(e->serial, 0);
        EXPECT_EQ(e->owner, nullptr);
        BrushRecord* b = Brush_Create(map, e);
        EXPECT_EQ(e->firstBrush, b); // kept in its entity's list all the same
        EXPECT_EQ(b->serial, 0);
        Brush_Delete(map, b);
        EXPECT_EQ(e->firstBrush, nullptr);
        GroupRecord* g = Group_Create(map);
        EXPECT_EQ(g->owner, nullptr);
        Group_Delete(map, g); // refused without a world
        delete cMapGroup::fromRecord(g);
        EXPECT_EQ(Camera_Create(map), nullptr);
        delete e->handle;
    }
    EXPECT_TRUE(bare.calls.empty());
    EXPECT_TRUE(world.calls.empty());
}

} // namespace
