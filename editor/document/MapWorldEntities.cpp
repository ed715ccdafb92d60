#include "document/MapWorldEntities.h"

#include <cmath>

#include "document/CullTree.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/WorldRefresh.h"
#include "gamedata/EntityClass.h"
#include "gamedata/GameData.h"
#include "gamedata/GameConfig.h"
#include "gamedata/TextureManager.h"
#include "core/MainSettings.h"
#include "core/Platform.h"
#include "core/SysHost.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapPath.h"

GameConfig* Map_GameConfig(const MapWorld*) {
    return GameCfg_Current();
}

EntityClass* Map_FindEntityClass(const MapWorld* world, EntityRecord* entity) {
    if (!world || !entity || !entity->classname) return nullptr;
    const GameConfig* config = Map_GameConfig(world);
    if (entity->flags & EntityFlag::World)
        return Fgd_FindClassInConfig(config, entity->classname, ClassSelector::World);
    if (entity->flags & EntityFlag::Point) {
        if (EntityClass* eclass = Fgd_FindClassInConfig(config, entity->classname, ClassSelector::Point))
            return eclass;
        EntityClass* eclass = Fgd_FindClassInConfig(config, entity->classname, ClassSelector::Solid);
        if (eclass) entity->flags &= ~EntityFlag::Point;
        return eclass;
    }
    return Fgd_FindClassInConfig(config, entity->classname, ClassSelector::Solid);
}

void Map_InitEntity(MapWorld* world, EntityRecord* entity) {
    cMapEntity* handle = cMapEntity::fromRecord(entity);
    if (!world || !handle) return;
    EntityClass* eclass = Map_FindEntityClass(world, entity);
    handle->entityClass = eclass;
    handle->id = Map_AllocId(world);
    handle->setClass(eclass);
}

void Map_LinkEntity(MapWorld* world, EntityRecord* entity) {
    if (!world || !entity) return;
    Map_InitEntity(world, entity);
    List_Append(world->entities, world->entitiesTail, entity);
    entity->owner = Map_Handle(world);
}

void Map_UnlinkEntity(MapWorld* world, EntityRecord* entity) {
    if (!world || !entity) return;
    Map_DeselectObject(world, entity);
    Cull_RemoveFromWorld(world, entity);
    Map_FreeObjectId(world, Object_FromRecord(entity));
    List_Remove(world->entities, &world->entitiesTail, entity);
    entity->owner = nullptr;
}

void Map_LinkPath(MapWorld* world, PathRecord* path) {
    if (!world || !path) return;
    List_Append(world->paths, world->pathsTail, path);
    path->serial = Map_NextSerial(world, SerialKind::Path);
    path->owner = Map_Handle(world);
}

void Map_UnlinkPath(MapWorld* world, PathRecord* path) {
    if (!world || !path) return;
    for (NodeRecord* node = path->firstNode; node; node = node->next)
        Map_DeselectObject(world, node);
    List_Remove(world->paths, &world->pathsTail, path);
}

void Map_RefreshAfterLoad(MapWorld* world) {
    if (!world) return;
    const bool entityBlend = Sys_Settings().EntityTransparency;
    const bool textureBlend = Sys_Settings().TextureTransparency;
    // One look-up pass for every entity's model and sprite: a map names the same few for
    // thousands of entities (lights), and a name found nowhere is searched for once.
    Plat_BeginLookupPass();
    for (EntityRecord* e = world->entities; e; e = e->next) {
        if ((e->flags & EntityFlag::RefreshAfterLoad) && e->handle) {
            e->flags &= ~EntityFlag::RefreshAfterLoad;
            e->handle->update(EntityUpdate::RebuildModel);
        }
        Map_UpdateEntityBlend(e, entityBlend);
        for (BrushRecord* b = e->firstBrush; b; b = b->next)
            for (FaceRecord* f = b->firstFace; f; f = f->next) {
                const ShaderRecord* tex = f->texture;
                if (!tex) continue;
                // Shifts are kept within one texture size so they stay small in files.
                if (tex->width > 0 && tex->height > 0 && !(tex->flags & SHADER_NO_SHIFT_WRAP)) {
                    f->texInfo.sShift = std::fmod(f->texInfo.sShift, float(tex->width));
                    f->texInfo.tShift = std::fmod(f->texInfo.tShift, float(tex->height));
                }
                if (textureBlend && (tex->flags & SHADER_TRANSPARENT))
                    f->flags |= FaceFlags::Blended;
                else
                    f->flags &= ~FaceFlags::Blended;
            }
    }
    Plat_EndLookupPass();
}

void Map_MarkModified(MapHandle map) {
    if (map) Project_SetModified(map);
}

void Map_CullUpdateEntity(MapWorld* world, EntityRecord* entity) {
    if (world && entity && !(entity->flags & EntityFlag::World)) Cull_UpdateWorldEntity(world, entity);
}
