// The undo history of one document: a ring of levels, each holding the snapshots an editing
// operation took before it changed, created or deleted objects. Undo and redo exchange the
// snapshots with the live objects, so a level applied again reverses itself. Objects are found
// again by serial, never by pointer: undo may have destroyed and re-created them in between.
#pragma once

#include <cstdint>

#include "map/MapObject.h"
#include "document/ObjectApi.h"

struct BrushRecord;
struct BrushSnapshotRecord;
struct EntityRecord;
struct EntitySnapshot;
struct FaceRecord;
struct FaceSnapshotRecord;
struct GroupRecord;
struct GroupSnapshot;
struct NodeRecord;
struct NodeSnapshot;
struct PathRecord;
struct PathSnapshot;
struct UndoSerialIndex;

// Which of a kind's lists a snapshot goes into.
enum class UndoChange : int32_t { Changed = 0, Created = 1, Deleted = 2 };

// One undo step. The lists are singly linked through each snapshot's `next`, newest first.
struct UndoLevel {
    UndoLevel* next;                  // older neighbour in the undo chain, or the next level of its chain
    UndoLevel* ring;                  // newer neighbour; the newest names the oldest; a lone level itself
    char* name;                       // own copy: plugin names may be temporary
    EntitySnapshot* entities[3];      // by UndoChange
    BrushSnapshotRecord* brushes[3];  // by UndoChange
    FaceSnapshotRecord* changedFaces; // texture data only
    GroupSnapshot* groups[3];
    PathSnapshot* paths[3];
    NodeSnapshot* nodes[3];
    // The (list, serial) pairs the lists hold, so that "one snapshot per serial and list" needs no
    // list walk (a walk per snapshot is quadratic in large selections). Null until the level's
    // first snapshot; freed when the level is cleared.
    UndoSerialIndex* serials;
};

struct UndoHistory {
    MapHandle world;    // the document's map handle
    bool enabled;       // accepts new levels (setting UndoEnabled)
    bool recording;     // set by a successful begin, cleared when the step is closed
    int32_t levelCount; // setting UndoLevels, at least kUndoMinLevels
    UndoLevel* levels;  // levelCount zero-filled levels, allocated on first use
    UndoLevel* freeLevels;
    UndoLevel* undoChain; // newest first
    UndoLevel* redoChain; // most recently undone first
    // Told after Undo_StepUndo undid a level: the clipboard forgets a pending cut whose objects
    // that level put back. Null when nobody listens.
    void (*levelUndone)(void* context, const UndoLevel* level);
    void* levelUndoneContext;
};

// The ring of levels needs two: with one the recycled level would name itself as its neighbour.
inline constexpr int32_t kUndoMinLevels = 2;

// ---- Levels --------------------------------------------------------------------------------------
// A history of the world, not recording, no levels allocated. levelCount is raised to
// kUndoMinLevels.
void Undo_InitHistory(UndoHistory* history, MapHandle world, int32_t levelCount, bool enabled);
// Allocates the levels when there are none; "Failed to allocate %i undo levels" on failure.
void Undo_AllocLevels(UndoHistory* history);
// Clears and frees every level, empties the chains and stops recording.
void Undo_Reset(UndoHistory* history);
// Opens a level of that name at the head of the undo chain; drops the redo chain; recycles the
// oldest level when none is free. Nothing while the history is disabled.
void Undo_BeginLevel(UndoHistory* history, const char* name);
// Closes the open level: recording cleared; the Undo/Redo actions follow.
void Undo_EndLevel(UndoHistory* history);
// Returns every snapshot of the level to its pool and forgets its serials; name, next and ring
// are left alone.
void Undo_ClearLevel(UndoLevel* level);
// The level the next undo / redo applies, or null.
inline const UndoLevel* Undo_NewestLevel(const UndoHistory* h) {
    return h ? h->undoChain : nullptr;
}
inline const UndoLevel* Undo_NextRedoLevel(const UndoHistory* h) {
    return h ? h->redoChain : nullptr;
}

// ---- Snapshots (nothing while not recording; one snapshot per serial and list) ---------------------
// The list must belong to the object's kind; any other list is refused with an error.
void Undo_SaveEntity(UndoHistory* history, EntityRecord* entity, UndoList list);
void Undo_SaveBrush(UndoHistory* history, BrushRecord* brush, UndoList list, bool withGeometry);
void Undo_SaveFace(UndoHistory* history, FaceRecord* face, UndoList list);
void Undo_SaveGroup(UndoHistory* history, GroupRecord* group, UndoList list);
void Undo_SavePath(UndoHistory* history, PathRecord* path, UndoList list);
void Undo_SaveNode(UndoHistory* history, NodeRecord* node, UndoList list);

void Undo_SaveSelectedEntitiesCreated(UndoHistory* history);
// Only entities whose brushes are all selected (point entities always).
void Undo_SaveSelectedEntitiesDeleted(UndoHistory* history);
void Undo_SaveSelectedEntitiesChanged(UndoHistory* history);
void Undo_SaveSelectedBrushesCreated(UndoHistory* history);
void Undo_SaveSelectedBrushesDeleted(UndoHistory* history);
void Undo_SaveSelectedBrushesChanged(UndoHistory* history, bool withGeometry);
void Undo_SaveSelectedPatchesChanged(UndoHistory* history, bool withGeometry);
void Undo_SaveSelectedOverlaysChanged(UndoHistory* history, bool withGeometry);
void Undo_SaveSelectedGroupsChanged(UndoHistory* history);
void Undo_SaveSelectedFacesChanged(UndoHistory* history);
void Undo_SaveSelectedNodesCreated(UndoHistory* history);
void Undo_SaveSelectedNodesDeleted(UndoHistory* history);
void Undo_SaveSelectedNodesChanged(UndoHistory* history);

// ---- Applying --------------------------------------------------------------------------------------
// Apply one level in the undo / redo order (the level stays where it is).
void Undo_Undo(UndoHistory* history, UndoLevel* level);
void Undo_Redo(UndoHistory* history, UndoLevel* level);
// The Edit menu's steps: move the newest level to the redo chain and undo it, or the reverse.
// The document is marked modified. False when there was nothing to do.
bool Undo_StepUndo(UndoHistory* history);
bool Undo_StepRedo(UndoHistory* history);

// Frees every pooled snapshot of all kinds (program exit, after undo is switched off or the
// level count lowered; every history must have been reset first).
void Undo_FreePools();

// ---- Node helpers ------------------------------------------------------------------------------------
// Clears the node's selected bit and takes it out of the selected-nodes chain.
void Undo_UnlinkSelectedNode(NodeRecord* node, NodeRecord** selectedHead);
// Frees the node's id (handle id -1) and unlinks it from the path's node chain.
void Undo_UnlinkNode(MapWorld* world, NodeRecord* node, PathRecord* path);

// ---- Engine-function table (map handle first; nothing for a null handle or no document) -------------
// The history of the document owning the map; null without one.
UndoHistory* Undo_HistoryOf(MapHandle map);

void Undo_BeginStep(MapHandle map, const char* name);                    // slot 1048
void Undo_EndStep(MapHandle map);                                        // slot 1056
void Undo_RecordSelectedBrushesCreated(MapHandle map);                   // slot 1184
void Undo_RecordSelectedEntitiesCreated(MapHandle map);                  // slot 1192
void Undo_RecordSelectedNodesCreated(MapHandle map);                     // slot 1200
void Undo_RecordSelectedBrushesDeleted(MapHandle map);                   // slot 1208
void Undo_RecordSelectedEntitiesDeleted(MapHandle map);                  // slot 1216
void Undo_RecordSelectedNodesDeleted(MapHandle map);                     // slot 1224
void Undo_RecordSelectedBrushesChanged(MapHandle map, int32_t geometry); // slot 1232
void Undo_RecordSelectedEntitiesChanged(MapHandle map);                  // slot 1240
void Undo_RecordSelectedFacesChanged(MapHandle map);                     // slot 1248
void Undo_RecordSelectedNodesChanged(MapHandle map);                     // slot 1256
