// How map objects reach the world they live in without knowing it. A world begins with a pointer
// to its hooks table, filled by whoever makes the world; the map handle names the world, so an
// object finds the table through its owner chain. Without a world (a null handle, or a world
// without a table) the World_* calls below do nothing and answer 0 or null, as for a detached
// object.
#pragma once

#include <cstdint>

#include "map/MapObject.h"

struct BrushRecord;
struct CameraRecord;
struct EntityRecord;
struct FaceRecord;
struct GameConfig;
struct GroupRecord;
struct NodeRecord;
struct PathRecord;

// Object ids run from 1 to this.
inline constexpr int32_t kMaxObjectId = 0x400000;

// Index of a per-kind serial counter.
enum class SerialKind : int32_t { Group, Entity, Brush, Face, Node, Path, Camera, Count };

// What a world does for its objects. Every hook takes the world's map handle; records go in
// untyped with their kind.
struct WorldHooks {
    // A free object id, or -1 when none is left.
    int32_t (*allocId)(MapHandle map);
    // Returns the object's id to the world (once) and sets it to -1.
    void (*freeId)(MapHandle map, cMapObject* object);
    // The next serial of the kind: 1 first, never 0, never negative.
    int32_t (*nextSerial)(MapHandle map, SerialKind kind);
    // Takes a new record into the world under its parent: a brush into an entity and a face into
    // a brush (each with an id), an entity bound to its class with an id (the world entity at the
    // head of the entity list, others at the tail), a group, a path or a camera (no parent).
    void (*link)(MapHandle map, MapObjectKind kind, void* record, void* parent);
    // The reverse, for a brush (under its entity), a group, a path or a camera.
    void (*unlink)(MapHandle map, MapObjectKind kind, void* record, void* parent);
    // Takes the record out of the world's selection; nothing for a record not selected.
    void (*deselect)(MapHandle map, MapObjectKind kind, void* record);
    // Files an entity or brush anew in the world's cull tree after its bounds changed.
    void (*cullUpdate)(MapHandle map, MapObjectKind kind, void* record);
    // Marks the document owning the world modified.
    void (*markModified)(MapHandle map);
    // The game configuration the world is bound to.
    GameConfig* (*gameConfig)(MapHandle map);
    // The head of the world's entity list (the world entity first).
    EntityRecord* (*entities)(MapHandle map);
    // The sky the world entity's keys name (null for none), with its axis and rotation.
    void (*setSky)(MapHandle map, void* sky, const float axis[3], float rotation);
    // The world's group chains: an entity or brush put into a group, and a group taken out of
    // the hierarchy (its members move up to its parent).
    void (*joinGroup)(MapHandle map, MapObjectKind kind, void* record, GroupRecord* group);
    void (*dissolveGroup)(MapHandle map, GroupRecord* group);
};

// The table of the world the handle names; null for a null handle or a world without one.
inline const WorldHooks* World_Hooks(MapHandle map) {
    if (!map || !*map) return nullptr;
    // The table pointer is the world's first member, so the world's address is its address.
    return *reinterpret_cast<const WorldHooks* const*>(*map);
}

// The map an object lives in, through its owner chain; null when a link is missing.
MapHandle World_OfEntity(const EntityRecord* entity);
MapHandle World_OfBrush(const BrushRecord* brush);
MapHandle World_OfFace(const FaceRecord* face);

// ---- The hooks, typed and null-safe --------------------------------------------------------
// -1 without a world.
int32_t World_AllocId(MapHandle map);
void World_FreeId(MapHandle map, cMapObject* object);
// 0 without a world.
int32_t World_NextSerial(MapHandle map, SerialKind kind);

void World_Link(MapHandle map, EntityRecord* entity);
void World_Link(MapHandle map, BrushRecord* brush, EntityRecord* entity);
void World_Link(MapHandle map, FaceRecord* face, BrushRecord* brush);
void World_Link(MapHandle map, GroupRecord* group);
void World_Link(MapHandle map, PathRecord* path);
void World_Link(MapHandle map, CameraRecord* camera);
void World_Unlink(MapHandle map, BrushRecord* brush, EntityRecord* entity);
void World_Unlink(MapHandle map, GroupRecord* group);
void World_Unlink(MapHandle map, PathRecord* path);
void World_Unlink(MapHandle map, CameraRecord* camera);

void World_Deselect(MapHandle map, BrushRecord* brush);
void World_Deselect(MapHandle map, FaceRecord* face);
void World_Deselect(MapHandle map, GroupRecord* group);
void World_Deselect(MapHandle map, NodeRecord* node);

void World_CullUpdate(MapHandle map, EntityRecord* entity);
void World_CullUpdate(MapHandle map, BrushRecord* brush);
void World_MarkModified(MapHandle map);
// Null without a world.
GameConfig* World_GameConfig(MapHandle map);
EntityRecord* World_Entities(MapHandle map);
void World_SetSky(MapHandle map, void* sky, const float axis[3], float rotation);

void World_JoinGroup(MapHandle map, EntityRecord* entity, GroupRecord* group);
void World_JoinGroup(MapHandle map, BrushRecord* brush, GroupRecord* group);
void World_DissolveGroup(MapHandle map, GroupRecord* group);
