#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "ConsoleCapture.h"
#include "core/System.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/UndoHistory.h"
#include "document/UndoSnapshot.h"
#include "document/WorldDump.h"
#include "map/EPair.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapGroup.h"
#include "map/MapOverlay.h"
#include "map/MapPatch.h"
#include "map/MapPath.h"
#include "map/ObjectApi.h"
#include "map/TextureInfo.h"

namespace {

TextureInfo texture(const char* name, float shift = 0) {
    TextureInfo info{};
    info.sScale = info.tScale = 1.0f;
    info.sShift = shift;
    std::strncpy(info.name, name, sizeof(info.name) - 1);
    return info;
}

// What a load leaves: keys, render and model data read.
void refresh(EntityRecord* e) {
    e->handle->update(EntityUpdate::ClassKeys | EntityUpdate::RenderKeys | EntityUpdate::ModelKeys |
                      EntityUpdate::RebuildModel);
}

class UndoHistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        Project_Construct(&doc);
        h = doc.undo;
        w = doc.world;
        const float origin[3] = {0, 0, 0};
        world = Entity_Create(map(), "worldspawn", origin, EntityFlag::World);
    }
    void TearDown() override { Project_Destroy(&doc); }

    MapHandle map() { return Map_Handle(w); }
    std::string dump() { return Map_DumpWorld(w, WorldDumpFlag::Serials).toStdString(); }

    // An axial box in the entity, built as importers build brushes: planes, then one update.
    BrushRecord* box(EntityRecord* owner, float lo, float hi, const char* tex = "base/wall") {
        BrushRecord* b = Brush_Create(map(), owner);
        const TextureInfo info = texture(tex);
        const float planes[6][4] = {{0, 0, 1, hi},   {0, 0, -1, -lo}, {1, 0, 0, hi},
                                    {-1, 0, 0, -lo}, {0, 1, 0, hi},   {0, -1, 0, -lo}};
        for (const auto& p : planes) {
            FaceRecord* f = Face_Create(map(), b, &info, 0);
            std::memcpy(f->normal, p, sizeof(float) * 3);
            f->dist = p[3];
            f->axialType = Face_AxialType(f->normal);
            f->flags |= FaceFlags::ResetAxes;
        }
        owner->handle->update(0);
        return b;
    }
    EntityRecord* pointEntity(const char* classname, float x) {
        const float origin[3] = {x, 0, 0};
        EntityRecord* e = Entity_Create(map(), classname, origin, EntityFlag::Point);
        e->handle->appendKeyValue("classname", classname);
        e->handle->appendKeyValue("target", "t1");
        refresh(e);
        return e;
    }
    EntityRecord* brushEntity(const char* classname) {
        const float origin[3] = {0, 0, 0};
        EntityRecord* e = Entity_Create(map(), classname, origin, 0);
        e->handle->appendKeyValue("classname", classname);
        refresh(e);
        return e;
    }

    PathRecord* path(int nodes) {
        PathRecord* p = Path_Create(map());
        p->name = Sys_StrDup("track");
        p->className = Sys_StrDup("path_corner");
        for (int i = 0; i < nodes; ++i) {
            NodeRecord* n = Node_Append(map(), p);
            n->origin[0] = float(64 * i);
        }
        p->handle->update();
        return p;
    }
    int chainLength(const UndoLevel* level) {
        int n = 0;
        for (; level; level = level->next)
            ++n;
        return n;
    }
    void translate(BrushRecord* b, float dx) {
        for (FaceRecord* f = b->firstFace; f; f = f->next)
            for (int i = 0; i < f->vertexCount; ++i)
                f->vertices[i].xyz[0] += dx;
        b->flags |= BrushFlags::NeedsUpdate;
        for (FaceRecord* f = b->firstFace; f; f = f->next)
            f->flags |= FaceFlags::NeedsUpdate;
        b->entity->handle->update(FaceUpdate::Plane);
    }

    cConsoleCapture console;
    MapDocument doc;
    UndoHistory* h = nullptr;
    MapWorld* w = nullptr;
    EntityRecord* world = nullptr;
};

// ---- Levels and the ring -----------------------------------------------------------------------

TEST_F(UndoHistoryTest, SixthLevelRecyclesTheOldestOfFive) {
    Undo_Reset(h);
    h->levelCount = 5;
    const std::vector<std::string> names = {"1", "2", "3", "4", "5", "6"};
    for (const std::string& name : names) {
        Undo_BeginLevel(h, name.c_str());
        Undo_EndLevel(h);
    }
    ASSERT_EQ(chainLength(h->undoChain), 5);
    EXPECT_EQ(h->freeLevels, nullptr);
    // Newest first; the head's ring names the oldest, and the ring walks newer and back round.
    EXPECT_STREQ(h->undoChain->name, "6");
    EXPECT_STREQ(h->undoChain->ring->name, "2");
    const UndoLevel* level = h->undoChain->ring;
    std::string ringOrder;
    for (int i = 0; i < 5; ++i, level = level->ring)
        ringOrder += level->name;
    EXPECT_EQ(ringOrder, "23456");
    EXPECT_EQ(level, h->undoChain->ring);

    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(Undo_StepUndo(h)) << i;
    EXPECT_FALSE(Undo_StepUndo(h));
    EXPECT_EQ(chainLength(h->redoChain), 5);
}

TEST_F(UndoHistoryTest, RingStaysWholeThroughUndoRedoAndRecycling) {
    Undo_InitHistory(h, map(), 1, true); // clamped: one level could not form a ring
    EXPECT_EQ(h->levelCount, kUndoMinLevels);
    for (const char* name : {"a", "b", "c"}) {
        Undo_BeginLevel(h, name);
        Undo_EndLevel(h);
    }
    EXPECT_TRUE(Undo_StepUndo(h));
    EXPECT_EQ(h->undoChain->ring, h->undoChain); // a lone level names itself
    EXPECT_TRUE(Undo_StepRedo(h));
    EXPECT_STREQ(h->undoChain->name, "c");
    EXPECT_STREQ(h->undoChain->ring->name, "b");
    EXPECT_STREQ(h->undoChain->ring->ring->name, "c");
    Undo_BeginLevel(h, "d");
    EXPECT_STREQ(h->undoChain->ring->name, "c");
    EXPECT_EQ(chainLength(h->undoChain), 2);
}

TEST_F(UndoHistoryTest, NewLevelDropsTheRedoChain) {
    for (const char* name : {"a", "b"}) {
        Undo_BeginLevel(h, name);
        Undo_EndLevel(h);
    }
    Undo_StepUndo(h);
    Undo_StepUndo(h);
    Undo_BeginLevel(h, "c");
    Undo_EndLevel(h);
    EXPECT_EQ(h->redoChain, nullptr);
    EXPECT_FALSE(Undo_StepRedo(h));
    EXPECT_EQ(chainLength(h->undoChain), 1);
    EXPECT_EQ(chainLength(h->freeLevels), h->levelCount - 1);
}

TEST_F(UndoHistoryTest, DisabledHistoryAndClosedLevelsRecordNothing) {
    BrushRecord* b = box(world, 0, 64);
    Undo_SaveBrush(h, b, UndoList::ChangedBrushes, true); // no level yet
    EXPECT_EQ(h->levels, nullptr);

    h->enabled = false;
    Undo_BeginLevel(h, "off");
    EXPECT_EQ(h->undoChain, nullptr);
    EXPECT_FALSE(h->recording);

    h->enabled = true;
    Undo_BeginLevel(h, "on");
    Undo_EndLevel(h);
    Undo_SaveBrush(h, b, UndoList::ChangedBrushes, true); // after the close
    EXPECT_EQ(h->undoChain->brushes[int(UndoChange::Changed)], nullptr);
}

TEST_F(UndoHistoryTest, StepNamesAreCopiedAndTableEntriesFindTheDocument) {
    char name[16] = "Plugin Step";
    Undo_BeginStep(map(), name);
    std::strcpy(name, "overwritten");
    EXPECT_TRUE(h->recording);
    EXPECT_STREQ(Undo_NewestLevel(h)->name, "Plugin Step");
    Undo_EndStep(map());
    EXPECT_FALSE(h->recording);

    Undo_BeginStep(nullptr, "none"); // a null handle does nothing
    Undo_EndStep(nullptr);
    Undo_RecordSelectedBrushesChanged(nullptr, 1);
    EXPECT_STREQ(Undo_NewestLevel(h)->name, "Plugin Step");
}

TEST_F(UndoHistoryTest, SnapshotIntoAListOfAnotherKindIsRefused) {
    BrushRecord* b = box(world, 0, 64);
    Undo_BeginLevel(h, "wrong");
    Undo_SaveBrush(h, b, UndoList::ChangedEntities, true);
    EXPECT_EQ(h->undoChain->brushes[int(UndoChange::Changed)], nullptr);
    EXPECT_TRUE(console.contains("Undo: list 0 does not hold a brush"));
}

TEST_F(UndoHistoryTest, FirstSnapshotOfAnObjectInAListWins) {
    EntityRecord* e = pointEntity("info_null", 0);
    Undo_BeginLevel(h, "Move");
    Undo_SaveEntity(h, e, UndoList::ChangedEntities);
    const std::string before = dump();
    e->origin[0] = 100;
    Undo_SaveEntity(h, e, UndoList::ChangedEntities); // the state half-way is not kept
    e->origin[0] = 200;
    Undo_EndLevel(h);
    int count = 0;
    for (const EntitySnapshot* s = h->undoChain->entities[int(UndoChange::Changed)]; s; s = s->next)
        ++count;
    EXPECT_EQ(count, 1);
    Undo_StepUndo(h);
    EXPECT_EQ(e->origin[0], 0.0f);
    EXPECT_EQ(dump(), before);
}

// One snapshot per serial in each list of each level: another list, another level and a recycled
// level each take the object again.
TEST_F(UndoHistoryTest, OneSnapshotPerListAndLevelAlsoAfterRecycling) {
    auto count = [](const BrushSnapshotRecord* s) {
        int n = 0;
        for (; s; s = s->next)
            ++n;
        return n;
    };
    Undo_Reset(h);
    h->levelCount = 2;
    BrushRecord* b = box(world, 0, 64);
    for (const char* name : {"1", "2", "3"}) { // "3" recycles "1"
        SCOPED_TRACE(name);
        Undo_BeginLevel(h, name);
        for (int repeat = 0; repeat < 2; ++repeat) {
            Undo_SaveBrush(h, b, UndoList::ChangedBrushes, false);
            Undo_SaveBrush(h, b, UndoList::DeletedBrushes, true);
            Undo_SaveFace(h, b->firstFace, UndoList::ChangedFaces);
        }
        Undo_EndLevel(h);
        const UndoLevel* level = Undo_NewestLevel(h);
        EXPECT_EQ(count(level->brushes[int(UndoChange::Changed)]), 1);
        EXPECT_EQ(count(level->brushes[int(UndoChange::Deleted)]), 1);
        ASSERT_NE(level->changedFaces, nullptr);
        EXPECT_EQ(level->changedFaces->next, nullptr);
    }
}

TEST_F(UndoHistoryTest, ClearedLevelsReturnSnapshotsToThePools) {
    Undo_FreePools();
    BrushRecord* b = box(world, 0, 64);
    Undo_BeginLevel(h, "a");
    Undo_SaveBrush(h, b, UndoList::ChangedBrushes, true);
    Undo_EndLevel(h);
    EXPECT_EQ(UndoPool_PooledCount(), 0);
    Undo_Reset(h);
    EXPECT_EQ(UndoPool_PooledCount(), 7); // the brush and its six faces
    Undo_BeginLevel(h, "b");
    Undo_SaveBrush(h, b, UndoList::ChangedBrushes, false);
    EXPECT_EQ(UndoPool_PooledCount(), 0);
}

// ---- Create, delete and modify of every kind: undo gives the dump before, redo the dump after ----

class UndoOperationTest;

struct OperationCase {
    const char* name;
    // Prepares the world; returns the operation that opens its level, records and changes.
    std::function<std::function<void()>(UndoOperationTest*)> setup;
};

class UndoOperationTest : public UndoHistoryTest, public ::testing::WithParamInterface<OperationCase> {
public:
    // Shortcuts the cases use (the fixture's helpers are protected).
    BrushRecord* Box(EntityRecord* e, float lo, float hi) { return box(e, lo, hi); }
    EntityRecord* Point(const char* c, float x) { return pointEntity(c, x); }
    EntityRecord* BrushEntity(const char* c) { return brushEntity(c); }
    PathRecord* Path(int n) { return path(n); }
    void Translate(BrushRecord* b, float dx) { translate(b, dx); }
    UndoHistory* H() { return h; }
    MapWorld* W() { return w; }
    EntityRecord* World() { return world; }
    MapHandle Map() { return map(); }
    // A 3 x 3 patch on a brush of the world entity, bulged in the middle.
    BrushRecord* PatchBrush() {
        BrushRecord* b = Brush_Create(map(), world);
        const TextureInfo info = texture("curves/pipe");
        PatchRecord* p = Patch_Create(b, &info, 3, 3);
        for (int c = 0; c < 3; ++c)
            for (int r = 0; r < 3; ++r) {
                p->points[c][r].xyz[0] = float(32 * c);
                p->points[c][r].xyz[1] = float(32 * r);
                p->points[c][r].xyz[2] = (c == 1 && r == 1) ? 16.0f : 0.0f;
            }
        b->handle->update(BrushUpdate::TessellatePatch);
        return b;
    }
    // An overlay quad on a brush of the world entity.
    BrushRecord* OverlayBrush() {
        BrushRecord* b = Brush_Create(map(), world);
        const TextureInfo info = texture("decals/poster");
        OverlayRecord* o = Overlay_Create(b, &info);
        const float corners[4][2] = {{0, 0}, {32, 0}, {32, 32}, {0, 32}};
        for (int i = 0; i < 4; ++i) {
            o->corners[i].xyz[0] = corners[i][0];
            o->corners[i].xyz[1] = corners[i][1];
            o->corners[i].xyz[2] = 8;
        }
        o->handle->update(OverlayUpdate::Geometry);
        b->handle->update(0); // the first update gives the brush its colour
        return b;
    }
};

TEST_P(UndoOperationTest, UndoRestoresBeforeAndRedoRestoresAfter) {
    const std::function<void()> operation = GetParam().setup(this);
    const std::string before = dump();
    operation();
    EXPECT_FALSE(h->recording);
    const std::string after = dump();
    ASSERT_NE(before, after) << "the operation changed nothing";

    ASSERT_TRUE(Undo_StepUndo(h));
    EXPECT_EQ(dump(), before);
    ASSERT_TRUE(Undo_StepRedo(h));
    EXPECT_EQ(dump(), after);
    ASSERT_TRUE(Undo_StepUndo(h)); // the level swapped in place twice
    EXPECT_EQ(dump(), before);
    EXPECT_FALSE(console.contains("no such"));
}

using T = UndoOperationTest;

const OperationCase kOperations[] = {
    {"CreateBrush",
     [](T* t) {
         return [t] {
             Undo_BeginLevel(t->H(), "Create Brush");
             BrushRecord* b = t->Box(t->World(), 0, 64);
             Map_SelectObject(t->W(), b);
             Undo_SaveSelectedBrushesCreated(t->H());
             Undo_EndLevel(t->H());
         };
     }},
    {"DeleteBrush",
     [](T* t) {
         BrushRecord* b = t->Box(t->World(), 0, 64);
         t->Box(t->World(), 100, 164);
         Map_SelectObject(t->W(), b);
         return [t, b] {
             Undo_BeginLevel(t->H(), "Delete Selection");
             Undo_SaveSelectedBrushesDeleted(t->H());
             Map_DeleteBrush(t->W(), b, false);
             Undo_EndLevel(t->H());
         };
     }},
    {"MoveBrush",
     [](T* t) {
         BrushRecord* b = t->Box(t->World(), 0, 64);
         Map_SelectObject(t->W(), b);
         return [t, b] {
             Undo_BeginLevel(t->H(), "Move");
             Undo_SaveSelectedBrushesChanged(t->H(), true);
             t->Translate(b, 32);
             Undo_EndLevel(t->H());
         };
     }},
    {"RetextureBrush",
     [](T* t) {
         BrushRecord* b = t->Box(t->World(), 0, 64);
         Map_SelectObject(t->W(), b);
         return [t, b] {
             Undo_BeginLevel(t->H(), "Apply Texture");
             Undo_SaveSelectedBrushesChanged(t->H(), false);
             const TextureInfo info = texture("base/floor", 8);
             for (FaceRecord* f = b->firstFace; f; f = f->next)
                 f->handle->setTextureInfo(&info);
             Undo_EndLevel(t->H());
         };
     }},
    {"ModifyFace",
     [](T* t) {
         BrushRecord* b = t->Box(t->World(), 0, 64);
         return [t, b] {
             Undo_BeginLevel(t->H(), "Face Texture");
             FaceRecord* f = b->firstFace->next;
             Undo_SaveFace(t->H(), f, UndoList::ChangedFaces);
             const TextureInfo info = texture("base/trim", 16);
             f->handle->setTextureInfo(&info);
             Undo_EndLevel(t->H());
         };
     }},
    {"CreatePointEntity",
     [](T* t) {
         return [t] {
             Undo_BeginLevel(t->H(), "Create Entity");
             EntityRecord* e = t->Point("info_player_start", 32);
             Map_SelectObject(t->W(), e);
             Undo_SaveSelectedEntitiesCreated(t->H());
             Undo_EndLevel(t->H());
         };
     }},
    {"DeletePointEntity",
     [](T* t) {
         EntityRecord* e = t->Point("info_player_start", 32);
         Map_SelectObject(t->W(), e);
         return [t, e] {
             Undo_BeginLevel(t->H(), "Delete Selection");
             Undo_SaveSelectedEntitiesDeleted(t->H());
             Map_RemoveEntity(t->W(), e, false);
             Undo_EndLevel(t->H());
         };
     }},
    {"ModifyEntityKeysOriginAndClass",
     [](T* t) {
         EntityRecord* e = t->Point("info_null", 0);
         Map_SelectObject(t->W(), e);
         return [t, e] {
             Undo_BeginLevel(t->H(), "Entity Properties");
             Undo_SaveSelectedEntitiesChanged(t->H());
             e->handle->appendKeyValue("message", "hello");
             e->handle->setKeyValue("target", "t2");
             Sys_Free(e->classname);
             e->classname = Sys_StrDup("info_notnull");
             e->origin[2] = 48;
             e->spawnflags = 3;
             refresh(e);
             Undo_EndLevel(t->H());
         };
     }},
    {"CreateBrushEntity",
     [](T* t) {
         return [t] {
             Undo_BeginLevel(t->H(), "Create Entity");
             EntityRecord* e = t->BrushEntity("func_door");
             BrushRecord* b = t->Box(e, 0, 64);
             Map_SelectObject(t->W(), e);
             Map_SelectObject(t->W(), b);
             Undo_SaveSelectedEntitiesCreated(t->H());
             Undo_SaveSelectedBrushesCreated(t->H());
             Undo_EndLevel(t->H());
         };
     }},
    {"DeleteBrushEntity",
     [](T* t) {
         EntityRecord* e = t->BrushEntity("func_door");
         BrushRecord* b1 = t->Box(e, 0, 64);
         BrushRecord* b2 = t->Box(e, 64, 128);
         Map_SelectObject(t->W(), e);
         Map_SelectObject(t->W(), b1);
         Map_SelectObject(t->W(), b2);
         return [t, e] {
             Undo_BeginLevel(t->H(), "Delete Selection");
             Undo_SaveSelectedEntitiesDeleted(t->H());
             Undo_SaveSelectedBrushesDeleted(t->H());
             Map_DeleteEntity(t->W(), e);
             Undo_EndLevel(t->H());
         };
     }},
    {"TieBrushToEntity",
     [](T* t) {
         BrushRecord* b = t->Box(t->World(), 0, 64);
         EntityRecord* door = t->BrushEntity("func_door");
         t->Box(door, 200, 264);
         Map_SelectObject(t->W(), b);
         return [t, b, door] {
             Undo_BeginLevel(t->H(), "Tie to Entity");
             Undo_SaveSelectedBrushesChanged(t->H(), false);
             Map_UnlinkBrush(t->W(), b, t->World());
             Map_LinkBrush(t->W(), b, door);
             door->handle->update(0);
             t->World()->handle->update(0);
             Undo_EndLevel(t->H());
         };
     }},
    {"CreateGroup",
     [](T* t) {
         BrushRecord* b = t->Box(t->World(), 0, 64);
         Map_SelectObject(t->W(), b);
         return [t, b] {
             Undo_BeginLevel(t->H(), "Group");
             Undo_SaveSelectedBrushesChanged(t->H(), false);
             GroupRecord* g = Group_Create(t->Map());
             EXPECT_EQ(Group_AddBrush(g, b), nullptr);
             Undo_SaveGroup(t->H(), g, UndoList::CreatedGroups);
             Undo_EndLevel(t->H());
         };
     }},
    {"DeleteGroup",
     [](T* t) {
         BrushRecord* b = t->Box(t->World(), 0, 64);
         GroupRecord* g = Group_Create(t->Map());
         Group_AddBrush(g, b);
         Map_SelectObject(t->W(), b);
         return [t, g] {
             Undo_BeginLevel(t->H(), "Ungroup");
             Undo_SaveSelectedBrushesChanged(t->H(), false);
             Undo_SaveGroup(t->H(), g, UndoList::DeletedGroups);
             Group_Delete(t->Map(), g);
             Undo_EndLevel(t->H());
         };
     }},
    {"ModifyGroupParentAndColour",
     [](T* t) {
         BrushRecord* b = t->Box(t->World(), 0, 64);
         GroupRecord* inner = Group_Create(t->Map());
         Group_AddBrush(inner, b);
         GroupRecord* outer = Group_Create(t->Map());
         return [t, inner, outer] {
             Undo_BeginLevel(t->H(), "Group");
             Undo_SaveGroup(t->H(), inner, UndoList::ChangedGroups);
             Undo_SaveGroup(t->H(), outer, UndoList::ChangedGroups);
             Group_SetParent(outer, inner);
             Group_SetColor(inner, 1, 2, 3, 255);
             Undo_EndLevel(t->H());
         };
     }},
    {"CreatePath",
     [](T* t) {
         return [t] {
             Undo_BeginLevel(t->H(), "Create Path");
             PathRecord* p = t->Path(3);
             Undo_SavePath(t->H(), p, UndoList::CreatedPaths);
             for (NodeRecord* n = p->firstNode; n; n = n->next)
                 Undo_SaveNode(t->H(), n, UndoList::CreatedNodes);
             Undo_EndLevel(t->H());
         };
     }},
    {"DeletePath",
     [](T* t) {
         PathRecord* p = t->Path(3);
         EPair_Append(&p->firstNode->epairs, "speed", "100");
         return [t, p] {
             Undo_BeginLevel(t->H(), "Delete Path");
             for (NodeRecord* n = p->firstNode; n; n = n->next)
                 Undo_SaveNode(t->H(), n, UndoList::DeletedNodes);
             Undo_SavePath(t->H(), p, UndoList::DeletedPaths);
             Path_Delete(p);
             Undo_EndLevel(t->H());
         };
     }},
    {"DeleteMiddleNode",
     [](T* t) {
         PathRecord* p = t->Path(3);
         return [t, p] {
             Undo_BeginLevel(t->H(), "Delete Selection");
             NodeRecord* middle = p->firstNode->next;
             Undo_SaveNode(t->H(), middle, UndoList::DeletedNodes);
             Node_Delete(middle);
             Undo_EndLevel(t->H());
         };
     }},
    {"InsertNode",
     [](T* t) {
         PathRecord* p = t->Path(2);
         return [t, p] {
             Undo_BeginLevel(t->H(), "Add Nodes");
             NodeRecord* n = Node_InsertBefore(t->Map(), p->lastNode);
             n->origin[1] = 32;
             Undo_SaveNode(t->H(), n, UndoList::CreatedNodes);
             Undo_EndLevel(t->H());
         };
     }},
    {"ModifyNodeAndPath",
     [](T* t) {
         PathRecord* p = t->Path(2);
         return [t, p] {
             Undo_BeginLevel(t->H(), "Node Properties");
             NodeRecord* n = p->lastNode;
             Undo_SaveNode(t->H(), n, UndoList::ChangedNodes);
             Undo_SavePath(t->H(), p, UndoList::ChangedPaths);
             n->origin[2] = 99;
             EPair_Append(&n->epairs, "wait", "2");
             n->name = Sys_StrDup("stop");
             Sys_Free(p->name);
             p->name = Sys_StrDup("rail");
             p->type = PathType::PingPong;
             Undo_EndLevel(t->H());
         };
     }},
    {"ReversePath",
     [](T* t) {
         PathRecord* p = t->Path(4);
         return [t, p] {
             Undo_BeginLevel(t->H(), "Reverse Path");
             for (NodeRecord* n = p->firstNode; n; n = n->next)
                 Undo_SaveNode(t->H(), n, UndoList::ChangedNodes);
             Undo_EndLevel(t->H());
             p->handle->reverse();
         };
     }},
    {"CreatePatch",
     [](T* t) {
         return [t] {
             Undo_BeginLevel(t->H(), "Create Patch");
             BrushRecord* b = t->PatchBrush();
             Undo_SaveBrush(t->H(), b, UndoList::CreatedBrushes, true);
             Undo_EndLevel(t->H());
         };
     }},
    {"DeletePatch",
     [](T* t) {
         BrushRecord* b = t->PatchBrush();
         Map_SelectObject(t->W(), b);
         return [t, b] {
             Undo_BeginLevel(t->H(), "Delete Selection");
             Undo_SaveSelectedBrushesDeleted(t->H());
             Map_DeleteBrush(t->W(), b, false);
             Undo_EndLevel(t->H());
         };
     }},
    {"ModifyPatchGridAndTexture",
     [](T* t) {
         BrushRecord* b = t->PatchBrush();
         Map_SelectObject(t->W(), b);
         return [t, b] {
             Undo_BeginLevel(t->H(), "Randomize Matrix");
             Undo_SaveSelectedPatchesChanged(t->H(), true);
             PatchRecord* p = b->patch;
             p->points[1][1].xyz[2] = -40;
             p->points[2][0].xyz[0] = 80;
             const TextureInfo info = texture("curves/rust", 4);
             p->handle->setTextureInfo(&info);
             p->flags |= PatchFlags::NeedsUpdate;
             b->handle->update(BrushUpdate::TessellatePatch);
             Undo_EndLevel(t->H());
         };
     }},
    {"DeleteOverlay",
     [](T* t) {
         BrushRecord* b = t->OverlayBrush();
         Map_SelectObject(t->W(), b);
         return [t, b] {
             Undo_BeginLevel(t->H(), "Delete Selection");
             Undo_SaveSelectedBrushesDeleted(t->H());
             Map_DeleteBrush(t->W(), b, false);
             Undo_EndLevel(t->H());
         };
     }},
    {"ModifyOverlayCornersAndTexture",
     [](T* t) {
         BrushRecord* b = t->OverlayBrush();
         Map_SelectObject(t->W(), b);
         return [t, b] {
             Undo_BeginLevel(t->H(), "Move");
             Undo_SaveSelectedOverlaysChanged(t->H(), true);
             OverlayRecord* o = b->overlay;
             for (OverlayCorner& c : o->corners)
                 c.xyz[2] += 24;
             const TextureInfo info = texture("decals/sign", 2);
             o->handle->setTextureInfo(&info);
             o->handle->update(OverlayUpdate::Geometry);
             Undo_EndLevel(t->H());
         };
     }},
};

INSTANTIATE_TEST_SUITE_P(Kinds, UndoOperationTest, ::testing::ValuesIn(kOperations),
                         [](const ::testing::TestParamInfo<OperationCase>& info) { return info.param.name; });

// ---- Appliers: missing objects, ids and selection ------------------------------------------------

TEST_F(UndoHistoryTest, RestoredBrushWhoseEntityIsGoneIsSkippedWithItsSerial) {
    EntityRecord* door = brushEntity("func_door");
    BrushRecord* b = box(door, 0, 64);
    box(door, 64, 128);
    const int32_t doorSerial = door->serial;
    Undo_BeginLevel(h, "Delete Brush");
    Undo_SaveBrush(h, b, UndoList::DeletedBrushes, true);
    Map_DeleteBrush(w, b, false);
    Undo_EndLevel(h);
    Map_RemoveEntity(w, door, false); // outside the history

    Undo_StepUndo(h);
    EXPECT_TRUE(console.contains(QString("Redo: no such entityId %1").arg(doorSerial)));
}

TEST_F(UndoHistoryTest, SwappingAMissingObjectLogsAndGoesOn) {
    EntityRecord* a = pointEntity("info_null", 0);
    EntityRecord* b = pointEntity("info_null", 64);
    const int32_t serialA = a->serial;
    Undo_BeginLevel(h, "Move");
    Undo_SaveEntity(h, a, UndoList::ChangedEntities);
    Undo_SaveEntity(h, b, UndoList::ChangedEntities);
    a->origin[0] = b->origin[0] = 500;
    Undo_EndLevel(h);
    Map_RemoveEntity(w, a, false);

    Undo_StepUndo(h);
    EXPECT_TRUE(console.contains(QString("Undo/Redo: no such entityId %1").arg(serialA)));
    EXPECT_EQ(b->origin[0], 64.0f);
    EXPECT_EQ(h->redoChain->name, std::string("Move"));
}

TEST_F(UndoHistoryTest, RestoredObjectsGetFreshIdsAndRemovedOnesGiveThemBack) {
    BrushRecord* b = box(world, 0, 64);
    Map_SelectObject(w, b);
    Undo_BeginLevel(h, "Delete");
    Undo_SaveSelectedBrushesDeleted(h);
    Map_DeleteBrush(w, b, false);
    Undo_EndLevel(h);

    Undo_StepUndo(h);
    BrushRecord* restored = world->firstBrush;
    ASSERT_NE(restored, nullptr);
    std::vector<int32_t> ids = {restored->handle->id};
    for (const FaceRecord* f = restored->firstFace; f; f = f->next)
        ids.push_back(f->handle->id);
    ASSERT_EQ(ids.size(), 7u);
    for (int32_t id : ids)
        EXPECT_TRUE(Map_IsIdInUse(w, id)) << id;
    EXPECT_EQ(w->selectedBrushes, restored); // it was selected when recorded
    EXPECT_EQ(w->selectedFaces, nullptr);

    Undo_StepRedo(h);
    EXPECT_EQ(world->firstBrush, nullptr);
    EXPECT_EQ(w->selectedBrushes, nullptr);
    for (int32_t id : ids)
        EXPECT_FALSE(Map_IsIdInUse(w, id)) << id;
}

TEST_F(UndoHistoryTest, GroupMemberCountsFollowTheLinks) {
    BrushRecord* b1 = box(world, 0, 64);
    BrushRecord* b2 = box(world, 64, 128);
    GroupRecord* g = Group_Create(map());
    Group_AddBrush(g, b1);
    Map_SelectObject(w, b2);
    Undo_BeginLevel(h, "Group");
    Undo_SaveSelectedBrushesChanged(h, false);
    Group_AddBrush(g, b2);
    Undo_EndLevel(h);
    EXPECT_EQ(g->memberCount, 2);
    Undo_StepUndo(h);
    EXPECT_EQ(g->memberCount, 1);
    EXPECT_EQ(b2->group, nullptr);
    Undo_StepRedo(h);
    EXPECT_EQ(g->memberCount, 2);
    EXPECT_EQ(b2->group, g);
}

TEST_F(UndoHistoryTest, SelectedEntityBringsItsBrushesIntoTheSelection) {
    EntityRecord* door = brushEntity("func_door");
    BrushRecord* b1 = box(door, 0, 64);
    BrushRecord* b2 = box(door, 64, 128);
    Map_SelectObject(w, door);
    Undo_BeginLevel(h, "Move");
    Undo_SaveSelectedEntitiesChanged(h);
    door->origin[0] = 10;
    Undo_EndLevel(h);
    Undo_StepUndo(h);
    EXPECT_TRUE(b1->flags & BrushFlags::Selected);
    EXPECT_TRUE(b2->flags & BrushFlags::Selected);
}

} // namespace
