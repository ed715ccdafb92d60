#include "map/WorldHooks.h"

#include "map/MapBrush.h"
#include "map/MapFace.h"
#include "map/ObjectRecords.h"

MapHandle World_OfEntity(const EntityRecord* entity) {
    return entity ? entity->owner : nullptr;
}

MapHandle World_OfBrush(const BrushRecord* brush) {
    return brush ? World_OfEntity(brush->entity) : nullptr;
}

MapHandle World_OfFace(const FaceRecord* face) {
    return face ? World_OfBrush(face->brush) : nullptr;
}

int32_t World_AllocId(MapHandle map) {
    const WorldHooks* hooks = World_Hooks(map);
    return hooks ? hooks->allocId(map) : -1;
}

void World_FreeId(MapHandle map, cMapObject* object) {
    if (const WorldHooks* hooks = World_Hooks(map)) hooks->freeId(map, object);
}

int32_t World_NextSerial(MapHandle map, SerialKind kind) {
    const WorldHooks* hooks = World_Hooks(map);
    return hooks ? hooks->nextSerial(map, kind) : 0;
}

namespace {

void link(MapHandle map, MapObjectKind kind, void* record, void* parent) {
    if (const WorldHooks* hooks = World_Hooks(map)) hooks->link(map, kind, record, parent);
}

void unlink(MapHandle map, MapObjectKind kind, void* record, void* parent) {
    if (const WorldHooks* hooks = World_Hooks(map)) hooks->unlink(map, kind, record, parent);
}

void deselect(MapHandle map, MapObjectKind kind, void* record) {
    if (const WorldHooks* hooks = World_Hooks(map)) hooks->deselect(map, kind, record);
}

void cullUpdate(MapHandle map, MapObjectKind kind, void* record) {
    if (const WorldHooks* hooks = World_Hooks(map)) hooks->cullUpdate(map, kind, record);
}

void joinGroup(MapHandle map, MapObjectKind kind, void* record, GroupRecord* group) {
    if (const WorldHooks* hooks = World_Hooks(map)) hooks->joinGroup(map, kind, record, group);
}

} // namespace

void World_Link(MapHandle map, EntityRecord* entity) {
    link(map, MapObjectKind::Entity, entity, nullptr);
}
void World_Link(MapHandle map, BrushRecord* brush, EntityRecord* entity) {
    link(map, MapObjectKind::Brush, brush, entity);
}
void World_Link(MapHandle map, FaceRecord* face, BrushRecord* brush) {
    link(map, MapObjectKind::Face, face, brush);
}
void World_Link(MapHandle map, GroupRecord* group) {
    link(map, MapObjectKind::Group, group, nullptr);
}
void World_Link(MapHandle map, PathRecord* path) {
    link(map, MapObjectKind::Path, path, nullptr);
}
void World_Link(MapHandle map, CameraRecord* camera) {
    link(map, MapObjectKind::Camera, camera, nullptr);
}

void World_Unlink(MapHandle map, BrushRecord* brush, EntityRecord* entity) {
    unlink(map, MapObjectKind::Brush, brush, entity);
}
void World_Unlink(MapHandle map, GroupRecord* group) {
    unlink(map, MapObjectKind::Group, group, nullptr);
}
void World_Unlink(MapHandle map, PathRecord* path) {
    unlink(map, MapObjectKind::Path, path, nullptr);
}
void World_Unlink(MapHandle map, CameraRecord* camera) {
    unlink(map, MapObjectKind::Camera, camera, nullptr);
}

void World_Deselect(MapHandle map, BrushRecord* brush) {
    deselect(map, MapObjectKind::Brush, brush);
}
void World_Deselect(MapHandle map, FaceRecord* face) {
    deselect(map, MapObjectKind::Face, face);
}
void World_Deselect(MapHandle map, GroupRecord* group) {
    deselect(map, MapObjectKind::Group, group);
}
void World_Deselect(MapHandle map, NodeRecord* node) {
    deselect(map, MapObjectKind::Node, node);
}

void World_CullUpdate(MapHandle map, EntityRecord* entity) {
    cullUpdate(map, MapObjectKind::Entity, entity);
}
void World_CullUpdate(MapHandle map, BrushRecord* brush) {
    cullUpdate(map, MapObjectKind::Brush, brush);
}

void World_MarkModified(MapHandle map) {
    if (const WorldHooks* hooks = World_Hooks(map)) hooks->markModified(map);
}

GameConfig* World_GameConfig(MapHandle map) {
    const WorldHooks* hooks = World_Hooks(map);
    return hooks ? hooks->gameConfig(map) : nullptr;
}

EntityRecord* World_Entities(MapHandle map) {
    const WorldHooks* hooks = World_Hooks(map);
    return hooks ? hooks->entities(map) : nullptr;
}

void World_SetSky(MapHandle map, void* sky, const float axis[3], float rotation) {
    if (const WorldHooks* hooks = World_Hooks(map)) hooks->setSky(map, sky, axis, rotation);
}

void World_JoinGroup(MapHandle map, EntityRecord* entity, GroupRecord* group) {
    joinGroup(map, MapObjectKind::Entity, entity, group);
}
void World_JoinGroup(MapHandle map, BrushRecord* brush, GroupRecord* group) {
    joinGroup(map, MapObjectKind::Brush, brush, group);
}

void World_DissolveGroup(MapHandle map, GroupRecord* group) {
    if (const WorldHooks* hooks = World_Hooks(map)) hooks->dissolveGroup(map, group);
}
