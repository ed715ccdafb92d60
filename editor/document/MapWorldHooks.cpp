// The world's side of the hooks its objects call (map/WorldHooks.h).
#include <cstring>

#include "document/CullTree.h"
#include "document/GroupChain.h"
#include "document/MapWorld.h"
#include "document/MapWorldEntities.h"
#include "map/MapBrush.h"
#include "map/MapCamera.h"
#include "map/MapFace.h"
#include "map/WorldHooks.h"

namespace {

int32_t allocId(MapHandle map) {
    return Map_AllocId(Map_FromHandle(map));
}

void freeId(MapHandle map, cMapObject* object) {
    Map_FreeObjectId(Map_FromHandle(map), object);
}

int32_t nextSerial(MapHandle map, SerialKind kind) {
    return Map_NextSerial(Map_FromHandle(map), kind);
}

void link(MapHandle map, MapObjectKind kind, void* record, void* parent) {
    MapWorld* world = Map_FromHandle(map);
    switch (kind) {
    case MapObjectKind::Entity: {
        auto* entity = static_cast<EntityRecord*>(record);
        Map_InitEntity(world, entity);
        if (entity->flags & EntityFlag::World)
            List_Prepend(world->entities, &world->entitiesTail, entity);
        else
            List_Append(world->entities, world->entitiesTail, entity);
        break;
    }
    case MapObjectKind::Brush:
        Map_LinkBrush(world, static_cast<BrushRecord*>(record), static_cast<EntityRecord*>(parent));
        break;
    case MapObjectKind::Face:
        Map_LinkBrush(world, static_cast<FaceRecord*>(record), static_cast<BrushRecord*>(parent));
        break;
    case MapObjectKind::Group:
        Map_LinkGroup(world, static_cast<GroupRecord*>(record));
        break;
    case MapObjectKind::Path:
        Map_LinkPath(world, static_cast<PathRecord*>(record));
        break;
    case MapObjectKind::Camera:
        Map_LinkCamera(world, static_cast<CameraRecord*>(record), Map_Handle(world));
        break;
    default:
        break; // patches, overlays and nodes live in their carriers' lists
    }
}

void unlink(MapHandle map, MapObjectKind kind, void* record, void* parent) {
    MapWorld* world = Map_FromHandle(map);
    switch (kind) {
    case MapObjectKind::Brush:
        Map_UnlinkBrush(world, static_cast<BrushRecord*>(record), static_cast<EntityRecord*>(parent));
        break;
    case MapObjectKind::Group:
        Map_UnlinkGroup(world, static_cast<GroupRecord*>(record));
        break;
    case MapObjectKind::Path:
        Map_UnlinkPath(world, static_cast<PathRecord*>(record));
        break;
    case MapObjectKind::Camera:
        Map_UnlinkCamera(world, static_cast<CameraRecord*>(record), map);
        break;
    default:
        break;
    }
}

void deselect(MapHandle map, MapObjectKind kind, void* record) {
    MapWorld* world = Map_FromHandle(map);
    switch (kind) {
    case MapObjectKind::Entity:
        Map_DeselectObject(world, static_cast<EntityRecord*>(record));
        break;
    case MapObjectKind::Brush:
        Map_DeselectObject(world, static_cast<BrushRecord*>(record));
        break;
    case MapObjectKind::Face:
        Map_DeselectObject(world, static_cast<FaceRecord*>(record));
        break;
    case MapObjectKind::Group:
        Map_DeselectObject(world, static_cast<GroupRecord*>(record));
        break;
    case MapObjectKind::Node:
        Map_DeselectObject(world, static_cast<NodeRecord*>(record));
        break;
    case MapObjectKind::Camera:
        Map_DeselectObject(world, static_cast<CameraRecord*>(record));
        break;
    default:
        break;
    }
}

void cullUpdate(MapHandle map, MapObjectKind kind, void* record) {
    MapWorld* world = Map_FromHandle(map);
    if (kind == MapObjectKind::Entity)
        Map_CullUpdateEntity(world, static_cast<EntityRecord*>(record));
    else if (kind == MapObjectKind::Brush)
        Cull_UpdateWorldBrush(world, static_cast<BrushRecord*>(record));
}

void markModified(MapHandle map) {
    Map_MarkModified(map);
}

GameConfig* gameConfig(MapHandle map) {
    return Map_GameConfig(Map_FromHandle(map));
}

EntityRecord* entities(MapHandle map) {
    return Map_FromHandle(map)->entities;
}

void setSky(MapHandle map, void* sky, const float axis[3], float rotation) {
    MapWorld* world = Map_FromHandle(map);
    world->sky = sky;
    std::memcpy(world->skyAxis, axis, sizeof world->skyAxis);
    world->skyRotation = rotation;
}

void joinGroup(MapHandle, MapObjectKind kind, void* record, GroupRecord* group) {
    if (kind == MapObjectKind::Entity)
        Map_AddEntityToGroupChain(static_cast<EntityRecord*>(record), group);
    else if (kind == MapObjectKind::Brush)
        Map_AddBrushToGroupChain(static_cast<BrushRecord*>(record), group);
}

void dissolveGroup(MapHandle map, GroupRecord* group) {
    Map_DissolveGroup(Map_FromHandle(map), group, false);
}

constexpr WorldHooks kHooks = {allocId,  freeId,     nextSerial,   link,       unlink,
                               deselect, cullUpdate, markModified, gameConfig, entities,
                               setSky,   joinGroup,  dissolveGroup};

} // namespace

const WorldHooks* Map_WorldHooks() {
    return &kHooks;
}
