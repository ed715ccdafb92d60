#include "document/GroupChain.h"

#include <type_traits>

#include "core/System.h"
#include "document/MapWorld.h"
#include "document/UndoHistory.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapGroup.h"
#include "document/ObjectApi.h"

namespace {

// The highest ancestor of group that lies below stop (null for a null group).
GroupRecord* outermostBelow(GroupRecord* group, const GroupRecord* stop) {
    GroupRecord* top = group;
    while (top && top->parent && top->parent != stop)
        top = top->parent;
    return top;
}

template <class R> void addToChain(R* object, GroupRecord* group, const char* what, const char* name) {
    if (!object || !group) return;
    for (GroupRecord* g = object->group; g; g = g->parent) {
        if (g != group) continue;
        if (g->parent) {
            if (name)
                Sys_Warning("duplicate group for %s %s", what, name);
            else
                Sys_Warning("duplicate group for %s", what);
            return;
        }
        object->outerGroup = g;
        return;
    }
    if (!object->group) {
        ++group->memberCount;
        object->group = group;
    } else {
        GroupRecord* top = Group_Outermost(object->group);
        if (top->parent != group) {
            top->parent = group;
            ++group->memberCount;
        }
    }
    object->outerGroup = Group_Outermost(group);
}

void removeGroup(MapWorld* world, GroupRecord* group, bool snapshot) {
    if (snapshot) Undo_SaveGroup(Undo_HistoryOf(Map_Handle(world)), group, UndoList::DeletedGroups);
    Map_DeselectObject(world, group);
    if (group->parent) --group->parent->memberCount;
    Map_UnlinkGroup(world, group);
    delete cMapGroup::fromRecord(group);
}

// name is the entity's class name; null for a brush.
template <class R> void releaseChain(MapWorld* world, R* object, bool snapshot, const char* name) {
    if (!object) return;
    GroupRecord* g = object->group;
    object->group = object->outerGroup = nullptr;
    if (!g) return;
    --g->memberCount;
    while (g) {
        GroupRecord* parent = g->parent;
        if (g->memberCount != 0) break;
        if (std::is_same_v<R, EntityRecord>)
            Sys_PrintfNoRedraw("removing the whole group: last entity deleted (%s)\n", name ? name : "");
        else
            Sys_PrintfNoRedraw("removing the whole group: last brush deleted\n");
        removeGroup(world, g, snapshot);
        g = parent;
    }
}

// Records the object's links before they change (with snapshot) and, as a direct member, selects
// it. An entity brings its brushes into the selection: a selected entity's brushes are selected.
void recordLinks(MapWorld* world, EntityRecord* e, bool member, bool select) {
    if (!select) return;
    UndoHistory* history = Undo_HistoryOf(Map_Handle(world));
    Undo_SaveEntity(history, e, UndoList::ChangedEntities);
    if (!member || (e->flags & EntityFlag::Hidden)) return;
    Map_SelectObject(world, e);
    for (BrushRecord* b = e->firstBrush; b; b = b->next) {
        Undo_SaveBrush(history, b, UndoList::ChangedBrushes, false);
        Map_SelectObject(world, b);
    }
}

void recordLinks(MapWorld* world, BrushRecord* b, bool member, bool select) {
    if (!select) return;
    Undo_SaveBrush(Undo_HistoryOf(Map_Handle(world)), b, UndoList::ChangedBrushes, false);
    if (member && !(b->flags & BrushFlags::Hidden)) Map_SelectObject(world, b);
}

template <class R> void liftOut(MapWorld* world, R* object, GroupRecord* group, bool select) {
    const bool member = object->group == group;
    if (!member && object->outerGroup != group) return;
    recordLinks(world, object, member, select);
    if (member) {
        object->group = group->parent;
        --group->memberCount;
        if (group->parent) ++group->parent->memberCount;
    }
    if (object->outerGroup == group) object->outerGroup = outermostBelow(object->group, group);
}

} // namespace

void Map_AddEntityToGroupChain(EntityRecord* entity, GroupRecord* group) {
    addToChain(entity, group, "entity", entity ? entity->classname : nullptr);
}

void Map_AddBrushToGroupChain(BrushRecord* brush, GroupRecord* group) {
    addToChain(brush, group, "brush", nullptr);
}

void Map_ReleaseEntityGroups(MapWorld* world, EntityRecord* entity, bool snapshot) {
    releaseChain(world, entity, snapshot, entity ? entity->classname : nullptr);
}

void Map_ReleaseBrushGroups(MapWorld* world, BrushRecord* brush) {
    releaseChain(world, brush, true, nullptr);
}

void Map_DissolveGroup(MapWorld* world, GroupRecord* group, bool select) {
    if (!world || !group) return;
    for (EntityRecord* e = world->entities; e; e = e->next) {
        if (!(e->flags & EntityFlag::World)) liftOut(world, e, group, select);
        for (BrushRecord* b = e->firstBrush; b; b = b->next)
            liftOut(world, b, group, select);
    }
    for (GroupRecord* child = world->groups; child; child = child->next) {
        if (child->parent != group) continue;
        if (select) {
            // Recorded before it changes: the snapshot is the state Undo brings back.
            Undo_SaveGroup(Undo_HistoryOf(Map_Handle(world)), child, UndoList::ChangedGroups);
            Map_SelectObject(world, child);
        }
        child->parent = group->parent;
        --group->memberCount;
        if (group->parent) ++group->parent->memberCount;
    }
    // The group leaves its parent too; a count left behind would keep the parent alive after
    // its last real member went.
    if (group->parent) {
        --group->parent->memberCount;
        group->parent = nullptr;
    }
}
