// The object store of one open map: object lists, selection lists, the object-id bitmap and
// the per-kind serial counters. Plugins read the fields from `handle` through the cordon box
// directly, through the map handle (the address of `handle`), so their order is fixed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>

#include "map/MapObject.h"
#include "map/ObjectRecords.h"
#include "map/WorldHooks.h"

class MapDocument;
class cMapObject;
struct BrushRecord;
struct CameraRecord;
struct FaceRecord;
struct OverlayRecord;
struct PatchRecord;
struct VisGroup;

// Bits of MapWorld::flags.
namespace WorldFlag {
constexpr uint32_t ExportVisibleOnly = 0x100000; // an export leaves hidden objects out
constexpr uint32_t ExportCordon = 0x200000;      // an export is limited to the cordon box
constexpr uint32_t Clearing = 0x400000;          // set while the world is being cleared
} // namespace WorldFlag

// MapWorld::selectionMode.
namespace SelectionMode {
constexpr uint32_t WholeGroups = 1;
constexpr uint32_t IgnoreGroups = 2;
constexpr uint32_t Faces = 3;
} // namespace SelectionMode

inline constexpr uint32_t kIdBitmapBytes = kMaxObjectId / 8;

struct MapWorld {
    const WorldHooks* hooks; // first, where the objects look for it (World_Hooks)
    MapDocument* owner;
    MapWorld* handle;       // points to this world; its address is the map handle
    GroupRecord* groups;    // newest first
    EntityRecord* entities; // worldspawn first, then creation order
    EntityRecord* entitiesTail;
    PathRecord* paths;
    PathRecord* pathsTail;
    CameraRecord* cameras;
    CameraRecord* camerasTail;
    CameraRecord* currentCamera;
    GroupRecord* selectedGroups;
    EntityRecord* selectedEntities;
    BrushRecord* selectedBrushes;
    FaceRecord* selectedFaces;
    NodeRecord* selectedNodes;
    void* blendedList; // per-frame draw lists of the renderer
    void* skyList;
    uint32_t flags; // WorldFlag
    float cordonMins[3];
    float cordonMaxs[3];
    void* sky; // null when the world entity names no known sky
    float skyAxis[3];
    float skyRotation;
    uint8_t* idBitmap; // bit (id - 1) set while id is in use
    int32_t highestId;
    int32_t lowestFreeId;
    uint32_t selectionMode; // SelectionMode
    int32_t serials[int(SerialKind::Count)];
    int32_t snapCorner;
    int32_t visGroupIdCounter;
    int32_t pointfileCount;
    float* pointfilePoints;
    void* portalWindings;
    void* hullWindings;
    void* blendedNodePool;
    void* skyNodePool;
    std::map<int32_t, VisGroup*>* visGroups; // by id, ascending
    // The last texture-package list handed to a plugin: the only string the next call may free.
    char* pluginPackageList;
    // The bounds of the last selection or created object; new blocks take their depth from it.
    float rememberedMins[3];
    float rememberedMaxs[3];
    void* drawQueue; // the renderer's per-frame face queue, its storage kept between frames
    void* cullTree;  // null until first built
};

#define ZARV_WORLD_OFFSET(field) (offsetof(MapWorld, field) - offsetof(MapWorld, handle))
static_assert(std::is_standard_layout_v<MapWorld>);
static_assert(offsetof(MapWorld, hooks) == 0);
static_assert(offsetof(MapWorld, handle) == 16);
static_assert(ZARV_WORLD_OFFSET(groups) == 8);
static_assert(ZARV_WORLD_OFFSET(entities) == 16);
static_assert(ZARV_WORLD_OFFSET(entitiesTail) == 24);
static_assert(ZARV_WORLD_OFFSET(paths) == 32);
static_assert(ZARV_WORLD_OFFSET(pathsTail) == 40);
static_assert(ZARV_WORLD_OFFSET(cameras) == 48);
static_assert(ZARV_WORLD_OFFSET(camerasTail) == 56);
static_assert(ZARV_WORLD_OFFSET(currentCamera) == 64);
static_assert(ZARV_WORLD_OFFSET(selectedGroups) == 72);
static_assert(ZARV_WORLD_OFFSET(selectedEntities) == 80);
static_assert(ZARV_WORLD_OFFSET(selectedBrushes) == 88);
static_assert(ZARV_WORLD_OFFSET(selectedFaces) == 96);
static_assert(ZARV_WORLD_OFFSET(selectedNodes) == 104);
static_assert(ZARV_WORLD_OFFSET(blendedList) == 112);
static_assert(ZARV_WORLD_OFFSET(skyList) == 120);
static_assert(ZARV_WORLD_OFFSET(flags) == 128);
static_assert(ZARV_WORLD_OFFSET(cordonMins) == 132);
static_assert(ZARV_WORLD_OFFSET(cordonMaxs) == 144);
#undef ZARV_WORLD_OFFSET

// The cordon is set when its box has extent on every axis (a corner at the origin is a cordon).
bool Map_CordonSet(const MapWorld* world);

// ---- Map handle ------------------------------------------------------------------------------
inline MapHandle Map_Handle(MapWorld* world) {
    return world ? &world->handle : nullptr;
}
// The world a map handle names; null for a null handle. Plugins pass the handle untyped.
inline MapWorld* Map_FromHandle(const void* handle) {
    return handle ? *static_cast<MapWorld* const*>(handle) : nullptr;
}

// ---- Life cycle ------------------------------------------------------------------------------
// The hooks every world gives its objects (MapWorldHooks.cpp).
const WorldHooks* Map_WorldHooks();
// Builds an empty world owned by the document (which may be null in headless use).
void Map_InitWorld(MapWorld* world, MapDocument* document);
// Clears the world and frees its id bitmap and visgroup map.
void Map_DestroyWorld(MapWorld* world);
// Empties the world so a new map can be loaded into the same document.
void Map_ClearWorld(MapWorld* world);
// Destroys every entity with its brushes (visgroup memberships dropped first) and every group;
// empties those lists and the group, entity, brush and face selection lists.
void Map_DeleteAllObjects(MapWorld* world);

// ---- Ids and serials -------------------------------------------------------------------------
// A free id, lowest-first below the top, or -1 after the warning "too many objects".
int32_t Map_AllocId(MapWorld* world);
// Returns an id to the bitmap; -1, ids outside 1..0x400000 and ids not in use are ignored.
void Map_FreeId(MapWorld* world, int32_t id);
bool Map_IsIdInUse(const MapWorld* world, int32_t id);
// Frees the handle's id (once) and sets it to -1.
void Map_FreeObjectId(MapWorld* world, cMapObject* handle);
// The next serial of the kind: 1 first, never 0, never negative.
int32_t Map_NextSerial(MapWorld* world, SerialKind kind);

// ---- Linking ---------------------------------------------------------------------------------
// New id and appended at the tail of the entity's brush list; owner set.
void Map_LinkBrush(MapWorld* world, BrushRecord* brush, EntityRecord* entity);
// The same for a face into a brush's face list (project reader).
void Map_LinkBrush(MapWorld* world, FaceRecord* face, BrushRecord* brush);
// Removes the brush from the cull tree, frees its id and unlinks it from its entity's list.
void Map_UnlinkBrush(MapWorld* world, BrushRecord* brush, EntityRecord* entity);
// New id, appended at the tail of the camera list, owner = the map handle.
void Map_LinkCamera(MapWorld* world, CameraRecord* camera, MapHandle handle);
// Frees the id and unlinks the record; the owner is cleared, and so is the world's current
// camera when it is this one.
void Map_UnlinkCamera(MapWorld* world, CameraRecord* camera, MapHandle handle);
// New id, inserted at the head of the group list, owner = the world's map handle.
void Map_LinkGroup(MapWorld* world, GroupRecord* group);
// Frees the id and unlinks the group from the group list (and the group selection).
void Map_UnlinkGroup(MapWorld* world, GroupRecord* group);

// ---- Selection -------------------------------------------------------------------------------
// Sets the selected bit and pushes the record on its kind's selection list (cameras: the bit
// alone). Nothing for a record already selected.
void Map_SelectObject(MapWorld* world, EntityRecord* rec);
void Map_SelectObject(MapWorld* world, BrushRecord* rec);
void Map_SelectObject(MapWorld* world, FaceRecord* rec);
void Map_SelectObject(MapWorld* world, GroupRecord* rec);
void Map_SelectObject(MapWorld* world, NodeRecord* rec);
void Map_SelectObject(MapWorld* world, CameraRecord* rec);
// The reverse; nothing for a record not selected.
void Map_DeselectObject(MapWorld* world, EntityRecord* rec);
void Map_DeselectObject(MapWorld* world, BrushRecord* rec);
void Map_DeselectObject(MapWorld* world, FaceRecord* rec);
void Map_DeselectObject(MapWorld* world, GroupRecord* rec);
void Map_DeselectObject(MapWorld* world, NodeRecord* rec);
void Map_DeselectObject(MapWorld* world, CameraRecord* rec);
// Clears the selected bit of every record in the five selection lists and empties them.
void Map_SelectNone(MapWorld* world);

// ---- Look-ups and deletion -------------------------------------------------------------------
// Linear search over entities, brushes and faces; null when nothing has the id.
FaceRecord* Map_FindFaceById(MapWorld* world, int32_t id);
// Searches by the id of the carrying brush; null when no brush has the id or it carries none.
PatchRecord* Map_FindPatchById(MapWorld* world, int32_t brushId);
OverlayRecord* Map_FindOverlayById(MapWorld* world, int32_t brushId);

// Records the entity as deleted (with snapshot), deselects it, releases its groups, drops its
// visgroup memberships, unlinks and destroys it. Brushes it still holds leave with it.
void Map_RemoveEntity(MapWorld* world, EntityRecord* entity, bool snapshot);
// Deletes the entity with all its brushes, recorded for undo. Never the world entity.
void Map_DeleteEntity(MapWorld* world, EntityRecord* entity);
// Deselects, releases the groups of and destroys one brush after recording it as deleted when
// snapshot is set; the brush is unlinked from its entity and its faces lose their ids.
void Map_DeleteBrush(MapWorld* world, BrushRecord* brush, bool snapshot);
// Deletes every selected camera (id freed, unlinked, destroyed) and marks the map modified.
void Map_DeleteSelectedCameras(MapWorld* world);

// ---- Selection mode --------------------------------------------------------------------------
// Tool id of the texture-application tool, which selects faces.
inline constexpr int32_t kTextureToolId = 5;
// 3 for the texture tool, else 2 with ignoreGroups, else 1. toolId -1: no active tool.
uint32_t Map_SelectionModeFor(int32_t toolId, bool ignoreGroups);
// Recomputes the world's selection mode from the active tool and the IgnoreGroups setting.
uint32_t Map_UpdateSelectionMode(MapWorld* world);

// ---- Engine-function table -------------------------------------------------------------------
// Slot 536: the configuration's package files (".wad") joined by separator, optionally without
// drive letters, as a new heap string in *out. *out must be null or the previous result of this
// call, which is freed first; anything else is refused. 1 on success, else 0.
int32_t Map_ApiGetTexturePackageList(void* handle, char** out, int32_t separator, int32_t strip);

// ---- Owner chains ----------------------------------------------------------------------------
// The world an object lives in, through its owner chain; null when a link is missing.
MapWorld* Map_WorldOfEntity(const EntityRecord* entity);
MapWorld* Map_WorldOfBrush(const BrushRecord* brush);
MapWorld* Map_WorldOfFace(const FaceRecord* face);
