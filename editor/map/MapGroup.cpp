#include "map/MapGroup.h"

#include "core/System.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/WorldHooks.h"
#include "render/ColorScheme.h"

namespace {

ObjectColor schemeColor(int32_t key) {
    const uint8_t* c = Color_GetRGBA(key);
    return Color_FromBytes(c[0], c[1], c[2], c[3]);
}

} // namespace

cMapGroup::cMapGroup()
    : cMapObject(MapObjectKind::Group, sizeof(GroupRecord)),
      record(static_cast<GroupRecord*>(cMapObject::record())) {
    baseColor = Object_RandomBaseColor();
    updateRandomColor();
}

void cMapGroup::updateRandomColor() {
    displayColor = Object_RandomDisplayColor(baseColor, schemeColor(COLOR_GROUP_RANDOM_MIN),
                                             schemeColor(COLOR_GROUP_RANDOM_MAX));
}

GroupRecord* Group_Alloc() {
    return (new cMapGroup)->record;
}

GroupRecord* Group_Outermost(GroupRecord* group) {
    // Bounded walk: a corrupt chain from a file or plugin must not hang the editor.
    GroupRecord* top = group;
    for (int32_t steps = 0; top && top->parent && steps < kMaxObjectId; ++steps)
        top = top->parent;
    return top;
}

GroupRecord* Group_Create(MapHandle map) {
    GroupRecord* group = Group_Alloc();
    if (!World_Hooks(map)) return group;
    World_Link(map, group);
    group->serial = World_NextSerial(map, SerialKind::Group);
    group->owner = map;
    return group;
}

void Group_Delete(MapHandle map, GroupRecord* group) {
    if (!World_Hooks(map) || !group) return;
    World_Deselect(map, group);
    World_DissolveGroup(map, group);
    // The group itself no longer counts as a member of its parent, or the parent could never
    // reach zero members and be removed.
    if (group->parent) {
        --group->parent->memberCount;
        group->parent = nullptr;
    }
    World_Unlink(map, group);
    delete cMapGroup::fromRecord(group);
}

void Group_SetParent(GroupRecord* parent, GroupRecord* child) {
    if (!parent || !child || !parent->owner || parent->owner != child->owner) return;
    // Walking up from the new parent must not reach the child: that would close a cycle (the
    // child its own ancestor), and every walk to the outermost group would never end.
    for (GroupRecord* g = parent; g; g = g->parent)
        if (g == child) {
            Sys_Warning("duplicate group for another group");
            return;
        }
    if (child->parent) {
        for (GroupRecord* g = child->parent; g; g = g->parent)
            if (g == parent) {
                Sys_Warning("duplicate group for another group");
                return;
            }
        --child->parent->memberCount;
    }
    child->parent = parent;
    ++parent->memberCount;
}

BrushRecord* Group_AddBrush(GroupRecord* group, BrushRecord* brush) {
    if (!group || !brush) return brush;
    const EntityRecord* worldEntity = World_Entities(group->owner);
    if (!worldEntity || brush->entity != worldEntity) return brush;
    World_JoinGroup(group->owner, brush, group);
    return nullptr;
}

EntityRecord* Group_AddEntity(GroupRecord* group, EntityRecord* entity) {
    if (!group || !entity) return entity;
    if (!group->owner || entity->owner != group->owner || (entity->flags & EntityFlag::World) ||
        entity == World_Entities(group->owner))
        return entity;
    World_JoinGroup(group->owner, entity, group);
    return nullptr;
}

void Group_SetColor(GroupRecord* group, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    if (cMapGroup* handle = cMapGroup::fromRecord(group)) {
        handle->baseColor = Color_FromBytes(r, g, b, a);
        handle->updateRandomColor();
    }
}
