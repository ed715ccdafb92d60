// The plain object API every kind shares: colours, visgroup membership and undo recording.
// Plugins reach these through the engine-function table; records go in, never handles.
#pragma once

#include <cstdint>

#include "map/MapObject.h"

class cVisGroupList;
struct BrushRecord;
struct EntityRecord;
struct FaceRecord;
struct GroupRecord;
struct MapWorld;
struct NodeRecord;
struct PathRecord;

// Copies the handle's base colour bytes (red, green, blue, alpha); nothing for a null output or
// a record without a handle.
void Object_GetColor(const void* record, uint8_t* rgba);

// The visgroup entries take an entity or a brush record. The kind is read from the record's
// handle, so any other record (or a detached copy) is left alone.
// Looks the set up by id in the map and joins it once (member count raised).
void Object_AddToVisGroup(void* mapHandle, void* record, int32_t visGroupId);
// Leaves every occurrence of the set (member count lowered by the number removed).
void Object_RemoveFromVisGroup(void* mapHandle, void* record, int32_t visGroupId);
// Number of sets of the object; 0 for null or a kind without memberships.
int32_t Object_GetVisGroupCount(const void* record);
// Id of the object's set at the index; 0 for null or an index outside 0..count-1.
int32_t Object_GetVisGroupId(const void* record, int32_t index);
// The membership list of an entity or brush record; null for any other kind.
cVisGroupList* Object_GetVisGroupList(const void* record);

// The sixteen snapshot lists of an undo level, in the level's order.
enum class UndoList : int32_t {
    ChangedEntities,
    CreatedEntities,
    DeletedEntities,
    ChangedBrushes,
    CreatedBrushes,
    DeletedBrushes,
    ChangedFaces,
    ChangedGroups,
    CreatedGroups,
    DeletedGroups,
    ChangedPaths,
    CreatedPaths,
    DeletedPaths,
    ChangedNodes,
    CreatedNodes,
    DeletedNodes,
};

// Undo recording: hands the record to the undo history of the document owning its map,
// reached through the owner chain; nothing when the record or a link of the chain is missing.
void Entity_RecordUndoCreated(EntityRecord* entity);
void Entity_RecordUndoDeleted(EntityRecord* entity);
void Entity_RecordUndoModified(EntityRecord* entity);
void Brush_RecordUndoCreated(BrushRecord* brush);
void Brush_RecordUndoDeleted(BrushRecord* brush);
void Brush_RecordUndoModified(BrushRecord* brush, int32_t withGeometry);
void Face_RecordUndoModified(FaceRecord* face);
void Group_RecordUndoCreated(GroupRecord* group);
void Group_RecordUndoDeleted(GroupRecord* group);
void Path_RecordUndoCreated(PathRecord* path);
void Path_RecordUndoDeleted(PathRecord* path);
void Path_RecordUndoModified(PathRecord* path);
void Node_RecordUndoCreated(NodeRecord* node);
void Node_RecordUndoDeleted(NodeRecord* node);
void Node_RecordUndoModified(NodeRecord* node);
