// The snapshot records of the undo history and their process-wide pools. Each record begins with
// its `next` link (in a level's list, or in its pool). Serials name objects; 0 means no group.
//
// Entity, path and node snapshots are declared with their kinds (EntitySnapshot in MapEntity.h,
// PathSnapshot and NodeSnapshot in MapPath.h) because the create-from-snapshot functions read
// them. Brushes and faces are created from the lighter BrushSnapshot/FaceSnapshot views below,
// which the records here are turned into.
#pragma once

#include <cstdint>

#include "map/MapFace.h"
#include "map/MapObject.h"
#include "map/OverlayRecord.h"
#include "map/FaceSource.h"
#include "map/PatchRecord.h"
#include "map/TextureInfo.h"

struct BrushRecord;
struct EntitySnapshot;
struct NodeSnapshot;
struct PathSnapshot;

struct FaceSnapshotRecord {
    FaceSnapshotRecord* next;
    uint32_t flags;
    int32_t serial;
    int32_t brushSerial;
    int32_t entitySerial;
    TextureInfo texInfo;
    float plane[4]; // normal and distance, as the face had them
    int32_t axialType;
    int32_t fileOrder; // FaceRecord::fileOrder
    bool hasSource;    // source holds the face's FaceSource
    FaceSource source;
    int32_t vertexCount; // -1 when no geometry was taken
    float positions[kFaceMaxVertices][3];
};

struct PatchSnapshot {
    PatchSnapshot* next; // pool link only
    uint32_t flags;
    int32_t columns;
    int32_t rows;
    TextureInfo texInfo;
    // The whole control block (0x9000 bytes) when geometry was taken, else null.
    PatchPoint (*points)[kPatchGridLines];
    bool withGeometry;
};

struct OverlaySnapshot {
    OverlaySnapshot* next; // pool link only
    uint32_t flags;
    TextureInfo texInfo;
    bool withGeometry;
    OverlayCorner corners[kOverlayCorners];
    float plane[4]; // normal and distance, with the corners
    int32_t planeType;
};

struct BrushSnapshotRecord {
    BrushSnapshotRecord* next;
    int32_t serial;
    int16_t kind; // BrushKind
    uint32_t flags;
    int32_t entitySerial;
    int32_t groupSerial;
    int32_t outerGroupSerial;
    ObjectColor baseColor;
    bool withGeometry;
    FaceSnapshotRecord* faces;     // reverse face-list order
    FaceSnapshotRecord* keptFaces; // the faces that bound nothing (BrushRecord::keptFaces), reversed
    PatchSnapshot* patch;
    OverlaySnapshot* overlay;
    int32_t* visGroupIds; // the sets the brush belonged to (own copy, Sys_Alloc), may be null
    int32_t visGroupCount;
};

// Undo snapshot of one face, as Brush_CreateFromSnapshot reads it.
struct FaceSnapshot {
    int32_t serial;
    uint32_t flags;
    int32_t vertexCount; // at most kFaceMaxVertices
    const float (*positions)[3];
    const TextureInfo* texInfo;
};

// Undo snapshot of a brush, as Brush_CreateFromSnapshot reads it. The patch and overlay parts
// are the records above; either may be null.
struct BrushSnapshot {
    int32_t serial;
    int32_t kind;
    uint32_t flags;
    ObjectColor baseColor;
    int32_t faceCount;
    const FaceSnapshot* faces; // in face order
    const PatchSnapshot* patch = nullptr;
    const OverlaySnapshot* overlay = nullptr;
};

// A detached brush (no id, not linked) with the snapshot's faces, patch or overlay; null for null.
BrushRecord* Brush_CreateFromSnapshot(const BrushSnapshot* snapshot);

struct GroupSnapshot {
    GroupSnapshot* next;
    uint32_t flags;
    int32_t serial;
    int32_t parentSerial;
    int32_t memberCount; // as recorded; applying moves counts link by link
    ObjectColor baseColor;
};

// ---- Pools -------------------------------------------------------------------------------------
// Take: a zero-filled record from the kind's pool, else a new one; null (with an error in the
// console) when memory ran out. Give: back to the pool, freeing what the record owns (strings,
// key/value copies, face chains, patch and overlay parts).
EntitySnapshot* UndoPool_TakeEntity();
BrushSnapshotRecord* UndoPool_TakeBrush();
FaceSnapshotRecord* UndoPool_TakeFace();
PatchSnapshot* UndoPool_TakePatch();
OverlaySnapshot* UndoPool_TakeOverlay();
GroupSnapshot* UndoPool_TakeGroup();
PathSnapshot* UndoPool_TakePath();
NodeSnapshot* UndoPool_TakeNode();

void UndoPool_Give(EntitySnapshot* s);
void UndoPool_Give(BrushSnapshotRecord* s);
void UndoPool_Give(FaceSnapshotRecord* s);
void UndoPool_Give(PatchSnapshot* s);
void UndoPool_Give(OverlaySnapshot* s);
void UndoPool_Give(GroupSnapshot* s);
void UndoPool_Give(PathSnapshot* s);
void UndoPool_Give(NodeSnapshot* s);

// Gives back a whole chain.
template <class S> void UndoPool_GiveChain(S*& head) {
    while (S* s = head) {
        head = s->next;
        UndoPool_Give(s);
    }
}

// Records currently pooled, of all kinds (tests, statistics).
int64_t UndoPool_PooledCount();

// ---- Capture: a live object's state into a fresh record ----------------------------------------------
struct EntityRecord;
struct FaceRecord;
struct GroupRecord;
struct MapWorld;
struct NodeRecord;
struct PathRecord;

void Undo_CaptureEntity(EntitySnapshot* s, const EntityRecord* entity);
// The faces are pushed at the head of the chain in list order; a failed allocation ends the
// chain there. A patch control block that cannot be allocated is reported and left out.
void Undo_CaptureBrush(BrushSnapshotRecord* s, const BrushRecord* brush, bool withGeometry);
void Undo_CaptureFace(FaceSnapshotRecord* s, const FaceRecord* face, bool withGeometry);
void Undo_CaptureGroup(GroupSnapshot* s, const GroupRecord* group);
void Undo_CapturePath(PathSnapshot* s, const PathRecord* path);
void Undo_CaptureNode(NodeSnapshot* s, const NodeRecord* node);

// Makes the object a member again of each recorded set the world still has (a re-created object
// comes back into the sets it left).
class cVisGroupList;
void Undo_RestoreVisGroups(MapWorld* world, cVisGroupList& list, const int32_t* ids, int32_t count);
