// Entity handles and records: construction, copies, duplication, destruction and the plain
// entity entries plugins call.
#include "map/MapEntity.h"

#include <cstring>

#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "core/System.h"
#include "map/KeptBrush.h"
#include "map/MapBrush.h"
#include "map/WorldHooks.h"

namespace {

// The 48 bytes from body through the reserved block, stored and copied whole.
constexpr size_t kModelBlockStart = offsetof(EntityRecord, body);
constexpr size_t kModelBlockSize = offsetof(EntityRecord, keyNames) - kModelBlockStart;
static_assert(kModelBlockSize == 48);
// GL state word, render colour, rendermode, renderfx.
constexpr size_t kRenderBlockStart = offsetof(EntityRecord, blendState);
constexpr size_t kRenderBlockSize = offsetof(EntityRecord, body) - kRenderBlockStart;
static_assert(kRenderBlockSize == 16);

char* dupOrNull(const char* text) {
    return text && *text ? Sys_StrDup(text) : nullptr;
}

void copyBlocks(EntityRecord* to, const EntityRecord* from) {
    std::memcpy(reinterpret_cast<char*>(to) + kRenderBlockStart,
                reinterpret_cast<const char*>(from) + kRenderBlockStart, kRenderBlockSize);
    std::memcpy(reinterpret_cast<char*>(to) + kModelBlockStart,
                reinterpret_cast<const char*>(from) + kModelBlockStart, kModelBlockSize);
}

void copyKeyNames(EntityRecord* to, const EntityRecord* from) {
    for (int i = 0; i < kEntityKeyRoles; ++i) {
        Sys_Free(to->keyNames[i]);
        to->keyNames[i] = from->keyNames[i] ? Sys_StrDup(from->keyNames[i]) : nullptr;
    }
}

void copyVec(float* to, const float* from) {
    std::memcpy(to, from, 3 * sizeof(float));
}

void assignSerial(MapHandle map, EntityRecord* e) {
    e->serial = World_NextSerial(map, SerialKind::Entity);
}

using FindTest = bool (*)(const EntityRecord*, const char*, const char*);

EntityRecord* findAfter(EntityRecord* start, const char* a, const char* b, FindTest test) {
    if (!start || !a) return nullptr;
    for (EntityRecord* e = start->next; e; e = e->next)
        if (test(e, a, b)) return e;
    return nullptr;
}

} // namespace

// ---- Handle ----------------------------------------------------------------------------------------

cMapEntity::cMapEntity()
    : cMapDrawable(MapObjectKind::Entity, sizeof(EntityRecord)),
      record(static_cast<EntityRecord*>(cMapObject::record())) {
    displayColor = kObjectColorBlack;
    resetBounds();
    record->epairs = nullptr;
}

cMapEntity::~cMapEntity() {
    for (BrushRecord* brush = record->firstBrush; brush;) {
        BrushRecord* next = brush->next;
        delete Object_FromRecord(brush);
        brush = next;
    }
    record->firstBrush = record->lastBrush = nullptr;
    KeptBrush_FreeList(record->keptBrushes);
    releaseModel();
    EPair_FreeList(&record->epairs);
    Sys_Free(record->classname);
    Sys_Free(record->targetname);
    record->classname = record->targetname = nullptr;
    freeKeyNames();
    targets.clear();
}

void cMapEntity::freeKeyNames() {
    Entity_FreeKeyNames(record);
}

void Entity_FreeKeyNames(EntityRecord* record) {
    if (!record) return;
    for (char*& name : record->keyNames) {
        Sys_Free(name);
        name = nullptr;
    }
}

void cMapEntity::resetBounds() {
    if (!record->firstBrush)
        for (int i = 0; i < 3; ++i) {
            record->mins[i] = record->origin[i] - 8.0f;
            record->maxs[i] = record->origin[i] + 8.0f;
        }
    displayColor = (record->flags & EntityFlag::World) ? kEntityWorldColor : kEntityNoClassColor;
    record->spawnflags = 0;
}

void cMapEntity::markModified() const {
    World_MarkModified(record->owner);
}

// ---- Creation and copies ---------------------------------------------------------------------------

EntityRecord* Entity_Alloc(const char* classname, const float origin[3], uint32_t flags) {
    cMapEntity* entity = new cMapEntity;
    EntityRecord* e = entity->record;
    e->serial = 0;
    if (origin) copyVec(e->origin, origin);
    copyVec(e->mins, e->origin);
    copyVec(e->maxs, e->origin);
    e->classname = dupOrNull(classname);
    e->flags = flags | EntityFlag::NeedsUpdate;
    return e;
}

EntityRecord* Entity_Create(MapHandle map, const char* classname, const float origin[3], uint32_t flags) {
    EntityRecord* e = Entity_Alloc(classname, origin, flags);
    if (!World_Hooks(map)) return e;
    World_Link(map, e); // the world entity goes first
    assignSerial(map, e);
    e->owner = map;
    return e;
}

EntityRecord* Entity_CreateFromCopy(const EntityRecord* copy) {
    if (!copy) return nullptr;
    EntityRecord* e = Entity_Alloc(copy->classname, copy->origin, copy->flags);
    e->flags = copy->flags;
    copyVec(e->angles, copy->angles);
    copyVec(e->mins, copy->mins);
    copyVec(e->maxs, copy->maxs);
    copyKeyNames(e, copy);
    e->spawnflags = copy->spawnflags;
    copyBlocks(e, copy);
    e->epairs = EPair_CopyList(copy->epairs);
    return e;
}

EntityRecord* Entity_CreateFromSnapshot(const EntitySnapshot* snapshot) {
    if (!snapshot) return nullptr;
    EntityRecord* e = Entity_Alloc(snapshot->classname, snapshot->origin, snapshot->flags);
    cMapEntity* entity = e->handle;
    e->serial = snapshot->serial;
    copyVec(e->angles, snapshot->angles);
    copyVec(e->mins, snapshot->mins);
    copyVec(e->maxs, snapshot->maxs);
    e->spawnflags = snapshot->spawnflags;
    e->epairs = EPair_CopyList(snapshot->epairs);
    e->keptBrushes = KeptBrush_CopyList(snapshot->keptBrushes);
    entity->displayColor = snapshot->color;
    entity->refreshKeyNames(false); // the class is bound when the entity is linked
    entity->updateTargets();
    return e;
}

EntityRecord* cMapEntity::copyData() const {
    EntityRecord* copy = static_cast<EntityRecord*>(Sys_Alloc(sizeof(EntityRecord)));
    // The kind goes along (a paste rebuilds the drawable from it); the drawable itself stays.
    copy->modelKind = record->modelKind;
    copy->classname = record->classname ? Sys_StrDup(record->classname) : nullptr;
    copyKeyNames(copy, record);
    copyVec(copy->origin, record->origin);
    copyVec(copy->angles, record->angles);
    copyVec(copy->mins, record->mins);
    copyVec(copy->maxs, record->maxs);
    copy->flags = record->flags & ~EntityFlag::Selected;
    copy->spawnflags = record->spawnflags;
    copyBlocks(copy, record);
    copy->epairs = EPair_CopyList(record->epairs);
    return copy;
}

void Entity_FreeCopy(EntityRecord* copy) {
    if (!copy || copy->handle) return;
    EPair_FreeList(&copy->epairs);
    Sys_Free(copy->classname);
    Sys_Free(copy->targetname);
    Entity_FreeKeyNames(copy);
    Sys_Free(copy);
}

EntityRecord* cMapEntity::duplicate() {
    // The copy is not in the selection list, so it must not carry the selected bit.
    EntityRecord* e = Entity_Alloc(record->classname, record->origin, record->flags & ~EntityFlag::Selected);
    cMapEntity* copy = e->handle;
    copyKeyNames(e, record);
    copyVec(e->angles, record->angles);
    e->spawnflags = record->spawnflags;
    e->owner = record->owner;
    if (World_Hooks(record->owner)) {
        World_Link(record->owner, e); // at the tail: the world entity is never duplicated
        assignSerial(record->owner, e);
    }
    copyBlocks(e, record);
    e->epairs = EPair_CopyList(record->epairs);
    if (Sys_Settings().KeepCloneVisGroup) copy->visGroups.addAll(visGroups);
    copy->update(EntityUpdate::ClassKeys | EntityUpdate::RebuildModel);
    return e;
}

// ---- Plain API ---------------------------------------------------------------------------------------

void Entity_Update(EntityRecord* entity, uint32_t bits) {
    if (cMapEntity* handle = cMapEntity::fromRecord(entity)) handle->update(bits);
}

void Entity_SetColor(EntityRecord* entity, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    if (cMapEntity* handle = cMapEntity::fromRecord(entity))
        handle->displayColor = Color_FromBytes(r, g, b, a);
}

void Entity_GetColor(const EntityRecord* entity, uint8_t* rgba) {
    if (cMapEntity* handle = cMapEntity::fromRecord(entity); handle && rgba)
        Color_ToBytes(handle->displayColor, rgba);
}

EntityRecord* Entity_FindByClassname(EntityRecord* start, const char* name) {
    return findAfter(start, name, nullptr, [](const EntityRecord* e, const char* n, const char*) {
        return e->classname && std::strcmp(e->classname, n) == 0;
    });
}

EntityRecord* Entity_FindByTargetname(EntityRecord* start, const char* name) {
    return findAfter(start, name, nullptr, [](const EntityRecord* e, const char* n, const char*) {
        return e->targetname && std::strcmp(e->targetname, n) == 0;
    });
}

EntityRecord* Entity_FindByKeyValue(EntityRecord* start, const char* key, const char* value) {
    if (!value) return nullptr;
    return findAfter(start, key, value, [](const EntityRecord* e, const char* k, const char* v) {
        const EPair* pair = EPair_Find(e->epairs, k);
        return pair && pair->value && std::strcmp(pair->value, v) == 0;
    });
}
