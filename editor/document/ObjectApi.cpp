#include "document/ObjectApi.h"

#include "document/MapWorld.h"
#include "document/UndoHistory.h"
#include "document/VisGroup.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/ObjectRecords.h"
#include "map/VisGroupList.h"

namespace {

// The world a linked entity or brush lives in; null for other kinds and detached records.
MapWorld* worldOfMember(const void* record) {
    const cMapObject* handle = Object_FromRecord(record);
    if (!handle) return nullptr;
    switch (handle->kind()) {
    case MapObjectKind::Entity:
        return Map_WorldOfEntity(static_cast<const EntityRecord*>(record));
    case MapObjectKind::Brush:
        return Map_WorldOfBrush(static_cast<const BrushRecord*>(record));
    default:
        return nullptr;
    }
}

// The set named by the id in the handle's map, for an object of that same map (or one not yet
// linked): a set of another map would dangle once that map is closed.
VisGroup* findSetFor(void* mapHandle, const void* record, int32_t visGroupId) {
    MapWorld* world = Map_FromHandle(mapHandle);
    if (!world || !record) return nullptr;
    const MapWorld* objectWorld = worldOfMember(record);
    if (objectWorld && objectWorld != world) return nullptr;
    return Map_FindVisGroup(world, visGroupId);
}

// Where recordings go: the undo history of the document owning the world. The history ignores
// them while no level is being recorded.
void recordUndo(MapWorld* world, UndoList list, const void* record, bool withGeometry) {
    if (!world || !world->owner || !record) return;
    UndoHistory* history = Undo_HistoryOf(Map_Handle(world));
    const cMapObject* handle = Object_FromRecord(record);
    if (!history || !handle) return;
    void* rec = const_cast<void*>(record);
    switch (handle->kind()) {
    case MapObjectKind::Entity:
        Undo_SaveEntity(history, static_cast<EntityRecord*>(rec), list);
        break;
    case MapObjectKind::Brush:
        Undo_SaveBrush(history, static_cast<BrushRecord*>(rec), list, withGeometry);
        break;
    case MapObjectKind::Face:
        Undo_SaveFace(history, static_cast<FaceRecord*>(rec), list);
        break;
    case MapObjectKind::Group:
        Undo_SaveGroup(history, static_cast<GroupRecord*>(rec), list);
        break;
    case MapObjectKind::Path:
        Undo_SavePath(history, static_cast<PathRecord*>(rec), list);
        break;
    case MapObjectKind::Node:
        Undo_SaveNode(history, static_cast<NodeRecord*>(rec), list);
        break;
    default:
        break; // patches, overlays and cameras are recorded with their carriers or not at all
    }
}

} // namespace

void Object_GetColor(const void* record, uint8_t* rgba) {
    const cMapObject* handle = Object_FromRecord(record);
    if (!handle || !rgba) return;
    Color_ToBytes(handle->baseColor, rgba);
}

cVisGroupList* Object_GetVisGroupList(const void* record) {
    cMapObject* handle = Object_FromRecord(record);
    if (!handle) return nullptr;
    switch (handle->kind()) {
    case MapObjectKind::Entity:
        return &static_cast<cMapEntity*>(handle)->visGroups;
    case MapObjectKind::Brush:
        return &static_cast<cMapBrush*>(handle)->visGroups;
    default:
        return nullptr; // no other kind has memberships
    }
}

void Object_AddToVisGroup(void* mapHandle, void* record, int32_t visGroupId) {
    cVisGroupList* sets = Object_GetVisGroupList(record);
    if (!sets) return;
    if (VisGroup* set = findSetFor(mapHandle, record, visGroupId)) sets->add(set);
}

void Object_RemoveFromVisGroup(void* mapHandle, void* record, int32_t visGroupId) {
    cVisGroupList* sets = Object_GetVisGroupList(record);
    if (!sets) return;
    if (VisGroup* set = findSetFor(mapHandle, record, visGroupId)) sets->remove(set);
}

int32_t Object_GetVisGroupCount(const void* record) {
    const cVisGroupList* sets = Object_GetVisGroupList(record);
    return sets ? sets->count() : 0;
}

int32_t Object_GetVisGroupId(const void* record, int32_t index) {
    const cVisGroupList* sets = Object_GetVisGroupList(record);
    return sets ? sets->idAt(index) : 0;
}

// ---- Undo recording ----------------------------------------------------------------------------

namespace {
MapWorld* worldOf(const EntityRecord* r) {
    return Map_WorldOfEntity(r);
}
MapWorld* worldOf(const BrushRecord* r) {
    return Map_WorldOfBrush(r);
}
MapWorld* worldOf(const FaceRecord* r) {
    return Map_WorldOfFace(r);
}
MapWorld* worldOf(const GroupRecord* r) {
    return r ? Map_FromHandle(r->owner) : nullptr;
}
MapWorld* worldOf(const PathRecord* r) {
    return r ? Map_FromHandle(r->owner) : nullptr;
}
MapWorld* worldOf(const NodeRecord* r) {
    return r ? worldOf(r->path) : nullptr;
}
template <class R> void record(R* rec, UndoList list, bool withGeometry = true) {
    if (rec) recordUndo(worldOf(rec), list, rec, withGeometry);
}
} // namespace

void Entity_RecordUndoCreated(EntityRecord* e) {
    record(e, UndoList::CreatedEntities);
}
void Entity_RecordUndoDeleted(EntityRecord* e) {
    record(e, UndoList::DeletedEntities);
}
void Entity_RecordUndoModified(EntityRecord* e) {
    record(e, UndoList::ChangedEntities);
}
void Brush_RecordUndoCreated(BrushRecord* b) {
    record(b, UndoList::CreatedBrushes);
}
void Brush_RecordUndoDeleted(BrushRecord* b) {
    record(b, UndoList::DeletedBrushes);
}
void Brush_RecordUndoModified(BrushRecord* b, int32_t withGeometry) {
    record(b, UndoList::ChangedBrushes, withGeometry != 0);
}
void Face_RecordUndoModified(FaceRecord* f) {
    record(f, UndoList::ChangedFaces, false);
}
void Group_RecordUndoCreated(GroupRecord* g) {
    record(g, UndoList::CreatedGroups);
}
void Group_RecordUndoDeleted(GroupRecord* g) {
    record(g, UndoList::DeletedGroups);
}
void Path_RecordUndoCreated(PathRecord* p) {
    record(p, UndoList::CreatedPaths);
}
void Path_RecordUndoDeleted(PathRecord* p) {
    record(p, UndoList::DeletedPaths);
}
void Path_RecordUndoModified(PathRecord* p) {
    record(p, UndoList::ChangedPaths);
}
void Node_RecordUndoCreated(NodeRecord* n) {
    record(n, UndoList::CreatedNodes);
}
void Node_RecordUndoDeleted(NodeRecord* n) {
    record(n, UndoList::DeletedNodes);
}
void Node_RecordUndoModified(NodeRecord* n) {
    record(n, UndoList::ChangedNodes);
}
