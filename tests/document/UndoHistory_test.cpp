#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "DocumentFixture.h"
#include "core/System.h"
#include "document/UndoSnapshot.h"
#include "map/EPair.h"
#include "map/MapGroup.h"
#include "map/MapOverlay.h"
#include "map/MapPatch.h"
#include "map/MapPath.h"
#include "document/ObjectApi.h"

namespace {

TextureInfo texture(const char* name, float shift) {
    TextureInfo info = Test_TextureInfo(name);
    info.sShift = shift;
    return info;
}

// Links in a chain of levels or of snapshots.
template <class S> int chainLength(const S* s) {
    int n = 0;
    for (; s; s = s->next)
        ++n;
    return n;
}

class UndoHistoryTest : public DocumentFixture {
public:
    // "Error", "Warning" or "Plain" for the first console line showing the message; "" for none.
    std::string severityOf(const QString& message) const {
        for (const QString& line : console.lines)
            if (line.contains(message))
                return line.contains("<b>Error:</b>")     ? "Error"
                       : line.contains("<b>Warning:</b>") ? "Warning"
                                                          : "Plain";
        return "";
    }

    // A cube from lo to hi on every axis.
    BrushRecord* box(EntityRecord* owner, float lo, float hi, const char* tex = "base/wall") {
        const float mins[3] = {lo, lo, lo};
        const float maxs[3] = {hi, hi, hi};
        return DocumentFixture::box(owner, mins, maxs, tex);
    }
    // A point entity at x on the x axis, targeting "t1". The base overload stays hidden: beside it
    // a literal 0 would be ambiguous between a coordinate and a null origin.
    EntityRecord* pointEntity(const char* classname, float x) {
        const float origin[3] = {x, 0, 0};
        return DocumentFixture::pointEntity(classname, origin, {{"target", "t1"}});
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
    // A 3 x 3 patch on a brush of the world entity, bulged in the middle.
    BrushRecord* patchBrush() {
        BrushRecord* b = Brush_Create(map(), worldspawn);
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
    BrushRecord* overlayBrush() {
        BrushRecord* b = Brush_Create(map(), worldspawn);
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
    void translate(BrushRecord* b, float dx) {
        for (FaceRecord* f = b->firstFace; f; f = f->next)
            for (int i = 0; i < f->vertexCount; ++i)
                f->vertices[i].xyz[0] += dx;
        b->flags |= BrushFlags::NeedsUpdate;
        for (FaceRecord* f = b->firstFace; f; f = f->next)
            f->flags |= FaceFlags::NeedsUpdate;
        b->entity->handle->update(FaceUpdate::Plane);
    }
};

// ---- Levels and the ring -----------------------------------------------------------------------

TEST_F(UndoHistoryTest, SixthLevelRecyclesTheOldestOfFive) {
    Undo_Reset(history);
    history->levelCount = 5;
    const std::vector<std::string> names = {"1", "2", "3", "4", "5", "6"};
    for (const std::string& name : names) {
        Undo_BeginLevel(history, name.c_str());
        Undo_EndLevel(history);
    }
    ASSERT_EQ(chainLength(history->undoChain), 5);
    EXPECT_EQ(history->freeLevels, nullptr);
    // Newest first; the head's ring names the oldest, and the ring walks newer and back round.
    EXPECT_STREQ(history->undoChain->name, "6");
    EXPECT_STREQ(history->undoChain->ring->name, "2");
    const UndoLevel* level = history->undoChain->ring;
    std::string ringOrder;
    for (int i = 0; i < 5; ++i, level = level->ring)
        ringOrder += level->name;
    EXPECT_EQ(ringOrder, "23456");
    EXPECT_EQ(level, history->undoChain->ring);

    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(Undo_StepUndo(history)) << i;
    EXPECT_FALSE(Undo_StepUndo(history));
    EXPECT_EQ(chainLength(history->redoChain), 5);
}

TEST_F(UndoHistoryTest, RingStaysWholeThroughUndoRedoAndRecycling) {
    Undo_InitHistory(history, map(), 1, true); // clamped: one level could not form a ring
    EXPECT_EQ(history->levelCount, kUndoMinLevels);
    for (const char* name : {"a", "b", "c"}) {
        Undo_BeginLevel(history, name);
        Undo_EndLevel(history);
    }
    EXPECT_TRUE(Undo_StepUndo(history));
    EXPECT_EQ(history->undoChain->ring, history->undoChain); // a lone level names itself
    EXPECT_TRUE(Undo_StepRedo(history));
    EXPECT_STREQ(history->undoChain->name, "c");
    EXPECT_STREQ(history->undoChain->ring->name, "b");
    EXPECT_STREQ(history->undoChain->ring->ring->name, "c");
    Undo_BeginLevel(history, "d");
    EXPECT_STREQ(history->undoChain->ring->name, "c");
    EXPECT_EQ(chainLength(history->undoChain), 2);
}

TEST_F(UndoHistoryTest, NewLevelDropsTheRedoChain) {
    for (const char* name : {"a", "b"}) {
        Undo_BeginLevel(history, name);
        Undo_EndLevel(history);
    }
    Undo_StepUndo(history);
    Undo_StepUndo(history);
    Undo_BeginLevel(history, "c");
    Undo_EndLevel(history);
    EXPECT_EQ(history->redoChain, nullptr);
    EXPECT_FALSE(Undo_StepRedo(history));
    EXPECT_EQ(chainLength(history->undoChain), 1);
    EXPECT_EQ(chainLength(history->freeLevels), history->levelCount - 1);
}

TEST_F(UndoHistoryTest, DisabledHistoryAndClosedLevelsRecordNothing) {
    BrushRecord* b = box(worldspawn, 0, 64);
    Undo_SaveBrush(history, b, UndoList::ChangedBrushes, true); // no level yet
    EXPECT_EQ(history->levels, nullptr);

    history->enabled = false;
    Undo_BeginLevel(history, "off");
    EXPECT_EQ(history->undoChain, nullptr);
    EXPECT_FALSE(history->recording);

    history->enabled = true;
    Undo_BeginLevel(history, "on");
    Undo_EndLevel(history);
    Undo_SaveBrush(history, b, UndoList::ChangedBrushes, true); // after the close
    EXPECT_EQ(history->undoChain->brushes[int(UndoChange::Changed)], nullptr);
}

TEST_F(UndoHistoryTest, StepNamesAreCopiedAndTableEntriesFindTheDocument) {
    char name[16] = "Plugin Step";
    Undo_BeginStep(map(), name);
    std::strcpy(name, "overwritten");
    EXPECT_TRUE(history->recording);
    EXPECT_STREQ(Undo_NewestLevel(history)->name, "Plugin Step");
    Undo_EndStep(map());
    EXPECT_FALSE(history->recording);

    Undo_BeginStep(nullptr, "none"); // a null handle does nothing
    Undo_EndStep(nullptr);
    Undo_RecordSelectedBrushesChanged(nullptr, 1);
    EXPECT_STREQ(Undo_NewestLevel(history)->name, "Plugin Step");
}

TEST_F(UndoHistoryTest, SnapshotIntoAListOfAnotherKindIsRefused) {
    BrushRecord* b = box(worldspawn, 0, 64);
    Undo_BeginLevel(history, "wrong");
    Undo_SaveBrush(history, b, UndoList::ChangedEntities, true);
    EXPECT_EQ(history->undoChain->brushes[int(UndoChange::Changed)], nullptr);
    EXPECT_TRUE(console.contains("Undo: list 0 does not hold a brush"));
}

TEST_F(UndoHistoryTest, FirstSnapshotOfAnObjectInAListWins) {
    EntityRecord* e = pointEntity("info_null", 0);
    Undo_BeginLevel(history, "Move");
    Undo_SaveEntity(history, e, UndoList::ChangedEntities);
    const std::string before = dump();
    e->origin[0] = 100;
    Undo_SaveEntity(history, e, UndoList::ChangedEntities); // the state half-way is not kept
    e->origin[0] = 200;
    Undo_EndLevel(history);
    EXPECT_EQ(chainLength(history->undoChain->entities[int(UndoChange::Changed)]), 1);
    Undo_StepUndo(history);
    EXPECT_EQ(e->origin[0], 0.0f);
    EXPECT_EQ(dump(), before);
}

// One snapshot per serial in each list of each level: another list, another level and a recycled
// level each take the object again.
TEST_F(UndoHistoryTest, OneSnapshotPerListAndLevelAlsoAfterRecycling) {
    Undo_Reset(history);
    history->levelCount = 2;
    BrushRecord* b = box(worldspawn, 0, 64);
    for (const char* name : {"1", "2", "3"}) { // "3" recycles "1"
        SCOPED_TRACE(name);
        Undo_BeginLevel(history, name);
        for (int repeat = 0; repeat < 2; ++repeat) {
            Undo_SaveBrush(history, b, UndoList::ChangedBrushes, false);
            Undo_SaveBrush(history, b, UndoList::DeletedBrushes, true);
            Undo_SaveFace(history, b->firstFace, UndoList::ChangedFaces);
        }
        Undo_EndLevel(history);
        const UndoLevel* level = Undo_NewestLevel(history);
        EXPECT_EQ(chainLength(level->brushes[int(UndoChange::Changed)]), 1);
        EXPECT_EQ(chainLength(level->brushes[int(UndoChange::Deleted)]), 1);
        EXPECT_EQ(chainLength(level->changedFaces), 1);
    }
}

TEST_F(UndoHistoryTest, ClearedLevelsReturnSnapshotsToThePools) {
    Undo_FreePools();
    BrushRecord* b = box(worldspawn, 0, 64);
    Undo_BeginLevel(history, "a");
    Undo_SaveBrush(history, b, UndoList::ChangedBrushes, true);
    Undo_EndLevel(history);
    EXPECT_EQ(UndoPool_PooledCount(), 0);
    Undo_Reset(history);
    EXPECT_EQ(UndoPool_PooledCount(), 7); // the brush and its six faces
    Undo_BeginLevel(history, "b");
    Undo_SaveBrush(history, b, UndoList::ChangedBrushes, false);
    EXPECT_EQ(UndoPool_PooledCount(), 0);
}

// ---- Create, delete and modify of every kind: undo gives the dump before, redo the dump after ----

using T = UndoHistoryTest;

// The objects a case builds before its operation and hands to it.
struct Subject {
    EntityRecord* entity = nullptr;
    BrushRecord* brush = nullptr;
    PathRecord* path = nullptr;
    GroupRecord* groups[2] = {};
};
using Step = std::function<void(T*, Subject&)>;

struct OperationCase {
    const char* name;
    const char* level; // the undo level the operation runs in
    Step prepare;      // the world before the operation; may be empty
    Step operation;    // inside the level: the snapshots and the change
};

class UndoOperationTest : public UndoHistoryTest, public ::testing::WithParamInterface<OperationCase> {};

TEST_P(UndoOperationTest, UndoRestoresBeforeAndRedoRestoresAfter) {
    const OperationCase& c = GetParam();
    Subject subject;
    if (c.prepare) c.prepare(this, subject);
    const std::string before = dump();
    Undo_BeginLevel(history, c.level);
    c.operation(this, subject);
    Undo_EndLevel(history);
    const std::string after = dump();
    ASSERT_NE(before, after) << "the operation changed nothing";

    ASSERT_NO_FATAL_FAILURE(oracle(before, after));
    ASSERT_TRUE(Undo_StepUndo(history)); // the level swapped in place twice
    EXPECT_EQ(dump(), before);
    EXPECT_FALSE(console.contains("no such"));
}

// One selected brush built by the fixture.
Step selected(BrushRecord* (*build)(T*)) {
    return [build](T* t, Subject& s) {
        s.brush = build(t);
        Map_SelectObject(t->w, s.brush);
    };
}
BrushRecord* worldBox(T* t) {
    return t->box(t->worldspawn, 0, 64);
}
BrushRecord* patch(T* t) {
    return t->patchBrush();
}
BrushRecord* overlay(T* t) {
    return t->overlayBrush();
}
// An overlay carrier as a plugin may leave it: built, never updated.
BrushRecord* bareOverlay(T* t) {
    BrushRecord* b = Brush_Create(t->map(), t->worldspawn);
    const TextureInfo info = T::texture("decals/poster");
    Overlay_Create(b, &info);
    return b;
}
Step selectedPoint(const char* classname) {
    return [classname](T* t, Subject& s) {
        s.entity = t->pointEntity(classname, 32);
        Map_SelectObject(t->w, s.entity);
    };
}
Step pathOf(int nodes) {
    return [nodes](T* t, Subject& s) { s.path = t->path(nodes); };
}
void deleteSelectedBrush(T* t, Subject& s) {
    Undo_SaveSelectedBrushesDeleted(t->history);
    Map_DeleteBrush(t->w, s.brush, false);
}
void retexture(FaceRecord* f, const char* name, float shift) {
    const TextureInfo info = texture(name, shift);
    f->handle->setTextureInfo(&info);
}

const OperationCase kOperations[] = {
    {"CreateBrush",
     "Create Brush",
     {},
     [](T* t, Subject& s) {
         selected(worldBox)(t, s);
         Undo_SaveSelectedBrushesCreated(t->history);
     }},
    {"DeleteBrush", "Delete Selection",
     [](T* t, Subject& s) {
         selected(worldBox)(t, s);
         t->box(t->worldspawn, 100, 164);
     },
     deleteSelectedBrush},
    {"MoveBrush", "Move", selected(worldBox),
     [](T* t, Subject& s) {
         Undo_SaveSelectedBrushesChanged(t->history, true);
         t->translate(s.brush, 32);
     }},
    {"RetextureBrush", "Apply Texture", selected(worldBox),
     [](T* t, Subject& s) {
         Undo_SaveSelectedBrushesChanged(t->history, false);
         for (FaceRecord* f = s.brush->firstFace; f; f = f->next)
             retexture(f, "base/floor", 8);
     }},
    {"ModifyFace", "Face Texture", [](T* t, Subject& s) { s.brush = worldBox(t); },
     [](T* t, Subject& s) {
         FaceRecord* f = s.brush->firstFace->next;
         Undo_SaveFace(t->history, f, UndoList::ChangedFaces);
         retexture(f, "base/trim", 16);
     }},
    {"CreatePointEntity",
     "Create Entity",
     {},
     [](T* t, Subject& s) {
         selectedPoint("info_player_start")(t, s);
         Undo_SaveSelectedEntitiesCreated(t->history);
     }},
    {"DeletePointEntity", "Delete Selection", selectedPoint("info_player_start"),
     [](T* t, Subject& s) {
         Undo_SaveSelectedEntitiesDeleted(t->history);
         Map_RemoveEntity(t->w, s.entity, false);
     }},
    {"ModifyEntityKeysOriginAndClass", "Entity Properties", selectedPoint("info_null"),
     [](T* t, Subject& s) {
         EntityRecord* e = s.entity;
         Undo_SaveSelectedEntitiesChanged(t->history);
         e->handle->appendKeyValue("message", "hello");
         e->handle->setKeyValue("target", "t2");
         Sys_Free(e->classname);
         e->classname = Sys_StrDup("info_notnull");
         e->origin[2] = 48;
         e->spawnflags = 3;
         T::refresh(e);
     }},
    {"CreateBrushEntity",
     "Create Entity",
     {},
     [](T* t, Subject&) {
         EntityRecord* e = t->brushEntity("func_door");
         BrushRecord* b = t->box(e, 0, 64);
         Map_SelectObject(t->w, e);
         Map_SelectObject(t->w, b);
         Undo_SaveSelectedEntitiesCreated(t->history);
         Undo_SaveSelectedBrushesCreated(t->history);
     }},
    {"DeleteBrushEntity", "Delete Selection",
     [](T* t, Subject& s) {
         s.entity = t->brushEntity("func_door");
         BrushRecord* b1 = t->box(s.entity, 0, 64);
         BrushRecord* b2 = t->box(s.entity, 64, 128);
         Map_SelectObject(t->w, s.entity);
         Map_SelectObject(t->w, b1);
         Map_SelectObject(t->w, b2);
     },
     [](T* t, Subject& s) {
         Undo_SaveSelectedEntitiesDeleted(t->history);
         Undo_SaveSelectedBrushesDeleted(t->history);
         Map_DeleteEntity(t->w, s.entity);
     }},
    {"TieBrushToEntity", "Tie to Entity",
     [](T* t, Subject& s) {
         selected(worldBox)(t, s);
         s.entity = t->brushEntity("func_door");
         t->box(s.entity, 200, 264);
     },
     [](T* t, Subject& s) {
         Undo_SaveSelectedBrushesChanged(t->history, false);
         Map_UnlinkBrush(t->w, s.brush, t->worldspawn);
         Map_LinkBrush(t->w, s.brush, s.entity);
         s.entity->handle->update(0);
         t->worldspawn->handle->update(0);
     }},
    {"CreateGroup", "Group", selected(worldBox),
     [](T* t, Subject& s) {
         Undo_SaveSelectedBrushesChanged(t->history, false);
         GroupRecord* g = Group_Create(t->map());
         EXPECT_EQ(Group_AddBrush(g, s.brush), nullptr);
         Undo_SaveGroup(t->history, g, UndoList::CreatedGroups);
     }},
    {"DeleteGroup", "Ungroup",
     [](T* t, Subject& s) {
         s.brush = worldBox(t);
         s.groups[0] = Group_Create(t->map());
         Group_AddBrush(s.groups[0], s.brush);
         Map_SelectObject(t->w, s.brush);
     },
     [](T* t, Subject& s) {
         Undo_SaveSelectedBrushesChanged(t->history, false);
         Undo_SaveGroup(t->history, s.groups[0], UndoList::DeletedGroups);
         Group_Delete(t->map(), s.groups[0]);
     }},
    {"ModifyGroupParentAndColour", "Group",
     [](T* t, Subject& s) {
         BrushRecord* b = worldBox(t);
         s.groups[0] = Group_Create(t->map());
         Group_AddBrush(s.groups[0], b);
         s.groups[1] = Group_Create(t->map());
     },
     [](T* t, Subject& s) {
         GroupRecord* inner = s.groups[0];
         GroupRecord* outer = s.groups[1];
         Undo_SaveGroup(t->history, inner, UndoList::ChangedGroups);
         Undo_SaveGroup(t->history, outer, UndoList::ChangedGroups);
         Group_SetParent(outer, inner);
         Group_SetColor(inner, 1, 2, 3, 255);
     }},
    {"CreatePath",
     "Create Path",
     {},
     [](T* t, Subject&) {
         PathRecord* p = t->path(3);
         Undo_SavePath(t->history, p, UndoList::CreatedPaths);
         for (NodeRecord* n = p->firstNode; n; n = n->next)
             Undo_SaveNode(t->history, n, UndoList::CreatedNodes);
     }},
    {"DeletePath", "Delete Path",
     [](T* t, Subject& s) {
         s.path = t->path(3);
         EPair_Append(&s.path->firstNode->epairs, "speed", "100");
     },
     [](T* t, Subject& s) {
         for (NodeRecord* n = s.path->firstNode; n; n = n->next)
             Undo_SaveNode(t->history, n, UndoList::DeletedNodes);
         Undo_SavePath(t->history, s.path, UndoList::DeletedPaths);
         Path_Delete(s.path);
     }},
    {"DeleteMiddleNode", "Delete Selection", pathOf(3),
     [](T* t, Subject& s) {
         NodeRecord* middle = s.path->firstNode->next;
         Undo_SaveNode(t->history, middle, UndoList::DeletedNodes);
         Node_Delete(middle);
     }},
    {"InsertNode", "Add Nodes", pathOf(2),
     [](T* t, Subject& s) {
         NodeRecord* n = Node_InsertBefore(t->map(), s.path->lastNode);
         n->origin[1] = 32;
         Undo_SaveNode(t->history, n, UndoList::CreatedNodes);
     }},
    {"ModifyNodeAndPath", "Node Properties", pathOf(2),
     [](T* t, Subject& s) {
         PathRecord* p = s.path;
         NodeRecord* n = p->lastNode;
         Undo_SaveNode(t->history, n, UndoList::ChangedNodes);
         Undo_SavePath(t->history, p, UndoList::ChangedPaths);
         n->origin[2] = 99;
         EPair_Append(&n->epairs, "wait", "2");
         n->name = Sys_StrDup("stop");
         Sys_Free(p->name);
         p->name = Sys_StrDup("rail");
         p->type = PathType::PingPong;
     }},
    {"ReversePath", "Reverse Path", pathOf(4),
     [](T* t, Subject& s) {
         for (NodeRecord* n = s.path->firstNode; n; n = n->next)
             Undo_SaveNode(t->history, n, UndoList::ChangedNodes);
         s.path->handle->reverse();
     }},
    {"CreatePatch",
     "Create Patch",
     {},
     [](T* t, Subject&) { Undo_SaveBrush(t->history, t->patchBrush(), UndoList::CreatedBrushes, true); }},
    {"DeletePatch", "Delete Selection", selected(patch), deleteSelectedBrush},
    {"ModifyPatchGridAndTexture", "Randomize Matrix", selected(patch),
     [](T* t, Subject& s) {
         Undo_SaveSelectedPatchesChanged(t->history, true);
         PatchRecord* p = s.brush->patch;
         p->points[1][1].xyz[2] = -40;
         p->points[2][0].xyz[0] = 80;
         const TextureInfo info = texture("curves/rust", 4);
         p->handle->setTextureInfo(&info);
         p->flags |= PatchFlags::NeedsUpdate;
         s.brush->handle->update(BrushUpdate::TessellatePatch);
     }},
    {"DeleteOverlay", "Delete Selection", selected(overlay), deleteSelectedBrush},
    {"ModifyOverlayCornersAndTexture", "Move", selected(overlay),
     [](T* t, Subject& s) {
         Undo_SaveSelectedOverlaysChanged(t->history, true);
         OverlayRecord* o = s.brush->overlay;
         for (OverlayCorner& c : o->corners)
             c.xyz[2] += 24;
         const TextureInfo info = texture("decals/sign", 2);
         o->handle->setTextureInfo(&info);
         o->handle->update(OverlayUpdate::Geometry);
     }},
};

INSTANTIATE_TEST_SUITE_P(Kinds, UndoOperationTest, ::testing::ValuesIn(kOperations),
                         [](const ::testing::TestParamInfo<OperationCase>& info) { return info.param.name; });

// ---- Appliers: missing objects, ids and selection ------------------------------------------------

// A deleted object brought back whose owner is no longer in the world is skipped with the owner's
// serial, as an error like every object an applier cannot find.
struct MissingOwnerCase {
    const char* name;
    const char* message; // with %1 for the owner's serial
    const char* severity;
    // Deletes an object in a level, then its owner outside the history; the owner's serial.
    int32_t (*deleteBoth)(T*);
};

class UndoMissingOwnerTest : public UndoHistoryTest,
                             public ::testing::WithParamInterface<MissingOwnerCase> {};

TEST_P(UndoMissingOwnerTest, RestoreIsSkippedWithTheOwnersSerial) {
    const int32_t owner = GetParam().deleteBoth(this);
    ASSERT_TRUE(Undo_StepUndo(history));
    EXPECT_EQ(severityOf(QString(GetParam().message).arg(owner)), GetParam().severity);
}

const MissingOwnerCase kMissingOwners[] = {
    {"BrushOfARemovedEntity", "Redo: no such entityId %1", "Error",
     [](T* t) {
         EntityRecord* door = t->brushEntity("func_door");
         BrushRecord* b = t->box(door, 0, 64);
         t->box(door, 64, 128);
         Undo_BeginLevel(t->history, "Delete Brush");
         Undo_SaveBrush(t->history, b, UndoList::DeletedBrushes, true);
         Map_DeleteBrush(t->w, b, false);
         Undo_EndLevel(t->history);
         const int32_t serial = door->serial;
         Map_RemoveEntity(t->w, door, false);
         return serial;
     }},
    {"NodeOfADeletedPath", "Redo: no such pathId %1", "Error",
     [](T* t) {
         PathRecord* p = t->path(3);
         Undo_BeginLevel(t->history, "Delete Selection");
         NodeRecord* middle = p->firstNode->next;
         Undo_SaveNode(t->history, middle, UndoList::DeletedNodes);
         Node_Delete(middle);
         Undo_EndLevel(t->history);
         const int32_t serial = p->serial;
         Path_Delete(p);
         return serial;
     }},
};

INSTANTIATE_TEST_SUITE_P(Kinds, UndoMissingOwnerTest, ::testing::ValuesIn(kMissingOwners),
                         [](const ::testing::TestParamInfo<MissingOwnerCase>& info) {
                             return info.param.name;
                         });

TEST_F(UndoHistoryTest, SwappingAMissingObjectLogsAndGoesOn) {
    EntityRecord* a = pointEntity("info_null", 0);
    EntityRecord* b = pointEntity("info_null", 64);
    const int32_t serialA = a->serial;
    Undo_BeginLevel(history, "Move");
    Undo_SaveEntity(history, a, UndoList::ChangedEntities);
    Undo_SaveEntity(history, b, UndoList::ChangedEntities);
    a->origin[0] = b->origin[0] = 500;
    Undo_EndLevel(history);
    Map_RemoveEntity(w, a, false);

    Undo_StepUndo(history);
    EXPECT_TRUE(console.contains(QString("Undo/Redo: no such entityId %1").arg(serialA)));
    EXPECT_EQ(b->origin[0], 64.0f);
    EXPECT_EQ(history->redoChain->name, std::string("Move"));
}

TEST_F(UndoHistoryTest, RestoredObjectsGetFreshIdsAndRemovedOnesGiveThemBack) {
    BrushRecord* b = box(worldspawn, 0, 64);
    Map_SelectObject(w, b);
    Undo_BeginLevel(history, "Delete");
    Undo_SaveSelectedBrushesDeleted(history);
    Map_DeleteBrush(w, b, false);
    Undo_EndLevel(history);

    Undo_StepUndo(history);
    BrushRecord* restored = worldspawn->firstBrush;
    ASSERT_NE(restored, nullptr);
    std::vector<int32_t> ids = {restored->handle->id};
    for (const FaceRecord* f = restored->firstFace; f; f = f->next)
        ids.push_back(f->handle->id);
    ASSERT_EQ(ids.size(), 7u);
    for (int32_t id : ids)
        EXPECT_TRUE(Map_IsIdInUse(w, id)) << id;
    EXPECT_EQ(w->selectedBrushes, restored); // it was selected when recorded
    EXPECT_EQ(w->selectedFaces, nullptr);

    Undo_StepRedo(history);
    EXPECT_EQ(worldspawn->firstBrush, nullptr);
    EXPECT_EQ(w->selectedBrushes, nullptr);
    for (int32_t id : ids)
        EXPECT_FALSE(Map_IsIdInUse(w, id)) << id;
}

TEST_F(UndoHistoryTest, GroupMemberCountsFollowTheLinks) {
    BrushRecord* b1 = box(worldspawn, 0, 64);
    BrushRecord* b2 = box(worldspawn, 64, 128);
    GroupRecord* g = Group_Create(map());
    Group_AddBrush(g, b1);
    Map_SelectObject(w, b2);
    Undo_BeginLevel(history, "Group");
    Undo_SaveSelectedBrushesChanged(history, false);
    Group_AddBrush(g, b2);
    Undo_EndLevel(history);
    EXPECT_EQ(g->memberCount, 2);
    Undo_StepUndo(history);
    EXPECT_EQ(g->memberCount, 1);
    EXPECT_EQ(b2->group, nullptr);
    Undo_StepRedo(history);
    EXPECT_EQ(g->memberCount, 2);
    EXPECT_EQ(b2->group, g);
}

TEST_F(UndoHistoryTest, SelectedEntityBringsItsBrushesIntoTheSelection) {
    EntityRecord* door = brushEntity("func_door");
    BrushRecord* b1 = box(door, 0, 64);
    BrushRecord* b2 = box(door, 64, 128);
    Map_SelectObject(w, door);
    Undo_BeginLevel(history, "Move");
    Undo_SaveSelectedEntitiesChanged(history);
    door->origin[0] = 10;
    Undo_EndLevel(history);
    Undo_StepUndo(history);
    EXPECT_TRUE(b1->flags & BrushFlags::Selected);
    EXPECT_TRUE(b2->flags & BrushFlags::Selected);
}

// The levels here leave the brush's colour alone: Undo and Redo give back the colours it showed
// after the operation, on the brush and on its faces, also for a brush recorded before its
// first update gave it a colour.
TEST_F(UndoHistoryTest, BrushColourStaysThroughUndoAndRedo) {
    struct Case {
        const char* name;
        BrushRecord* (*build)(T*); // the brush before the level, selected; may be null
        bool coloured;             // the built brush is given a colour of its own first
        // Inside the level; returns the brush it made, else null to watch the built one.
        BrushRecord* (*operation)(T*, BrushRecord*);
    };
    const Case cases[] = {
        {"overlay texture", overlay, true,
         [](T* t, BrushRecord* b) {
             Undo_SaveSelectedOverlaysChanged(t->history, false);
             const TextureInfo info = T::texture("decals/sign");
             b->overlay->handle->setTextureInfo(&info);
             return b;
         }},
        {"overlay corners", overlay, true,
         [](T* t, BrushRecord* b) {
             Undo_SaveSelectedOverlaysChanged(t->history, true);
             for (OverlayCorner& c : b->overlay->corners)
                 c.xyz[2] += 24;
             b->overlay->handle->update(OverlayUpdate::Geometry);
             return b;
         }},
        {"overlay deleted", overlay, true,
         [](T* t, BrushRecord* b) {
             Undo_SaveSelectedBrushesDeleted(t->history);
             Map_DeleteBrush(t->w, b, false);
             return static_cast<BrushRecord*>(nullptr);
         }},
        {"patch texture", patch, true,
         [](T* t, BrushRecord* b) {
             Undo_SaveSelectedPatchesChanged(t->history, false);
             const TextureInfo info = T::texture("curves/rust");
             b->patch->handle->setTextureInfo(&info);
             return b;
         }},
        {"solid moved", worldBox, true,
         [](T* t, BrushRecord* b) {
             Undo_SaveSelectedBrushesChanged(t->history, true);
             t->translate(b, 16);
             return b;
         }},
        {"overlay carrier not yet updated", bareOverlay, false,
         [](T* t, BrushRecord* b) {
             Undo_SaveSelectedOverlaysChanged(t->history, false);
             const TextureInfo info = T::texture("decals/sign");
             b->overlay->handle->setTextureInfo(&info);
             return b;
         }},
        {"created before its first update", nullptr, false,
         [](T* t, BrushRecord*) {
             // Planes without polygons, as importers build faces; recorded before the update.
             BrushRecord* b = Brush_Create(t->map(), t->worldspawn);
             const TextureInfo info = T::texture("base/wall");
             const float planes[6][4] = {{0, 0, 1, 64}, {0, 0, -1, 0}, {1, 0, 0, 64},
                                         {-1, 0, 0, 0}, {0, 1, 0, 64}, {0, -1, 0, 0}};
             for (const auto& p : planes) {
                 FaceRecord* f = Face_Create(t->map(), b, &info, 0);
                 std::memcpy(f->normal, p, sizeof f->normal);
                 f->dist = p[3];
                 f->axialType = Face_AxialType(f->normal);
             }
             Undo_SaveBrush(t->history, b, UndoList::CreatedBrushes, true);
             return b;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        BrushRecord* b = c.build ? c.build(this) : nullptr;
        if (b && c.coloured) Brush_SetColor(b, 40, 80, 120, 255);
        if (b) Map_SelectObject(w, b);
        ObjectColor base = b ? b->handle->baseColor : kObjectColorBlack;
        ObjectColor shown = b ? b->handle->displayColor : kObjectColorBlack;
        int32_t serial = b ? b->serial : 0;
        Undo_BeginLevel(history, c.name);
        if (BrushRecord* made = c.operation(this, b)) serial = made->serial;
        worldspawn->handle->update(FaceUpdate::TexCoords); // the operation's refresh
        Undo_EndLevel(history);
        auto find = [this, serial]() -> BrushRecord* {
            for (BrushRecord* now = worldspawn->firstBrush; now; now = now->next)
                if (now->serial == serial) return now;
            return nullptr;
        };
        if (const BrushRecord* after = find()) {
            base = after->handle->baseColor;
            shown = after->handle->displayColor;
        }
        EXPECT_NE(base, kObjectColorBlack);
        for (bool undo : {true, false}) {
            SCOPED_TRACE(undo ? "undo" : "redo");
            ASSERT_TRUE(undo ? Undo_StepUndo(history) : Undo_StepRedo(history));
            worldspawn->handle->update(0); // the next frame's refresh
            const BrushRecord* now = find();
            if (!now) continue; // a brush the level created or deleted, gone on this side
            EXPECT_EQ(now->handle->baseColor, base);
            EXPECT_EQ(now->handle->displayColor, shown);
            for (const FaceRecord* f = now->firstFace; f; f = f->next)
                EXPECT_EQ(f->handle->displayColor, shown);
        }
    }
}

} // namespace
