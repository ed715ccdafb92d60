#include "document/Grouping.h"

#include <algorithm>
#include <vector>

#include "core/System.h"
#include "document/CullTree.h"
#include "document/GroupChain.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/MapWorldEntities.h"
#include "document/OperationSupport.h"
#include "document/SelectionSummary.h"
#include "document/UndoHistory.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapGroup.h"

namespace {

bool isWorldEntity(const EntityRecord* e) {
    return e && (e->flags & EntityFlag::World);
}

void updateEntity(EntityRecord* e) {
    if (e && e->handle) e->handle->update(0);
}

// Whether the selected entities and world brushes do not already share one outermost group.
bool selectionNeedsGroup(const MapWorld* world) {
    const GroupRecord* common = nullptr;
    bool any = false;
    auto differs = [&](const GroupRecord* outer) {
        if (!outer || (any && outer != common)) return true;
        common = outer;
        any = true;
        return false;
    };
    for (const EntityRecord* e = world->selectedEntities; e; e = e->selNext)
        if (!isWorldEntity(e) && differs(e->outerGroup)) return true;
    for (const BrushRecord* b = world->selectedBrushes; b; b = b->selNext)
        if (isWorldEntity(b->entity) && differs(b->outerGroup)) return true;
    return false;
}

// The distinct outermost groups of the selected entities and world brushes.
std::vector<GroupRecord*> wrappedGroups(const MapWorld* world) {
    std::vector<GroupRecord*> tops;
    auto add = [&tops](GroupRecord* inner) {
        GroupRecord* top = Group_Outermost(inner);
        if (top && std::find(tops.begin(), tops.end(), top) == tops.end()) tops.push_back(top);
    };
    for (const EntityRecord* e = world->selectedEntities; e; e = e->selNext)
        if (!isWorldEntity(e)) add(e->group);
    for (const BrushRecord* b = world->selectedBrushes; b; b = b->selNext)
        if (isWorldEntity(b->entity)) add(b->group);
    return tops;
}

// Calls onEntity / onBrush for every entity and brush whose outermost group is one of tops.
template <class E, class B>
void forEachGroupedObject(MapWorld* world, const std::vector<GroupRecord*>& tops, E onEntity, B onBrush) {
    if (tops.empty()) return;
    auto inside = [&tops](const GroupRecord* outer) {
        return outer && std::find(tops.begin(), tops.end(), outer) != tops.end();
    };
    for (EntityRecord* e = world->entities; e; e = e->next) {
        if (!isWorldEntity(e) && inside(e->outerGroup)) onEntity(e);
        for (BrushRecord* b = e->firstBrush; b; b = b->next)
            if (inside(b->outerGroup)) onBrush(b);
    }
}

// Entities that lost brushes, updated once each at the end: updating the world entity per moved
// brush would walk all its brushes every time.
class cPendingUpdates {
public:
    void add(EntityRecord* e) {
        if (std::find(m_list.begin(), m_list.end(), e) == m_list.end()) m_list.push_back(e);
    }
    void forget(EntityRecord* e) { m_list.erase(std::remove(m_list.begin(), m_list.end(), e), m_list.end()); }
    void run() {
        for (EntityRecord* e : m_list)
            updateEntity(e);
        m_list.clear();
    }

private:
    std::vector<EntityRecord*> m_list;
};

// A brush entity of the class for the tie operations, recorded as created (selected, as undo
// should bring it back). Null for a missing class name.
EntityRecord* newTiedEntity(MapWorld* world, const char* classname, UndoHistory* history) {
    if (!classname || !classname[0]) return nullptr;
    const float origin[3] = {0, 0, 0};
    EntityRecord* e = Entity_Alloc(classname, origin, 0);
    if (!e) return nullptr;
    Map_LinkEntity(world, e);
    e->serial = Map_NextSerial(world, SerialKind::Entity);
    e->handle->applyClassKeys(true);
    e->flags |= EntityFlag::Selected;
    Undo_SaveEntity(history, e, UndoList::CreatedEntities);
    e->flags &= ~EntityFlag::Selected;
    return e;
}

// Moves a brush into the entity: out of its former entity (deleted, recorded, when left
// without brushes), out of its group chain unless kept; a new id at the tail of the entity's
// list.
void moveBrushInto(MapWorld* world, BrushRecord* b, EntityRecord* into, bool keepGroups,
                   cPendingUpdates& pending) {
    EntityRecord* from = b->entity;
    Map_UnlinkBrush(world, b, from);
    if (!keepGroups) Map_ReleaseBrushGroups(world, b);
    if (from) {
        if (isWorldEntity(from) || from->firstBrush) {
            pending.add(from);
        } else {
            pending.forget(from);
            Map_RemoveEntity(world, from, true);
        }
    }
    Map_LinkBrush(world, b, into);
    if (isWorldEntity(into)) Cull_UpdateWorldBrush(world, b);
}

void selectWithBrushes(MapWorld* world, EntityRecord* e) {
    Map_SelectObject(world, e);
    for (BrushRecord* b = e->firstBrush; b; b = b->next)
        Map_SelectObject(world, b);
}

constexpr int32_t kAllViews = ViewMask::Views2D | ViewMask::View3D;
// A new entity reads its render and model keys once, as a restored one does.
constexpr uint32_t kNewEntityUpdate = EntityUpdate::RenderKeys | EntityUpdate::ModelKeys;

} // namespace

// ---- Groups ----------------------------------------------------------------------------------------

bool Map_GroupSelection(MapWorld* world) {
    if (!world || !selectionNeedsGroup(world)) return false;
    GroupRecord* group = Group_Alloc();
    Map_LinkGroup(world, group);
    group->serial = Map_NextSerial(world, SerialKind::Group);

    UndoHistory* history = Map_OpHistory(world);
    Undo_BeginLevel(history, "Group");
    Undo_SaveSelectedGroupsChanged(history);
    Undo_SaveSelectedEntitiesChanged(history);
    Undo_SaveSelectedBrushesChanged(history, false);
    // The hierarchies the selection brings become children of the new group: each top group
    // gains a parent, and every object inside one, selected or not, a new outermost group.
    const std::vector<GroupRecord*> wrapped = wrappedGroups(world);
    for (GroupRecord* top : wrapped)
        Undo_SaveGroup(history, top, UndoList::ChangedGroups);
    forEachGroupedObject(
        world, wrapped,
        [history](EntityRecord* e) { Undo_SaveEntity(history, e, UndoList::ChangedEntities); },
        [history](BrushRecord* b) { Undo_SaveBrush(history, b, UndoList::ChangedBrushes, false); });
    Selection_Clear(world->selectedGroups);
    Map_SelectObject(world, group);
    Undo_SaveGroup(history, group, UndoList::CreatedGroups);

    for (EntityRecord* e = world->selectedEntities; e; e = e->selNext)
        if (!isWorldEntity(e)) Map_AddEntityToGroupChain(e, group);
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext)
        if (isWorldEntity(b->entity)) Map_AddBrushToGroupChain(b, group);
    forEachGroupedObject(
        world, wrapped, [](EntityRecord* e) { e->outerGroup = Group_Outermost(e->group); },
        [](BrushRecord* b) { b->outerGroup = Group_Outermost(b->group); });
    Undo_EndLevel(history);
    Map_OpFinish(world, true);
    return true;
}

void Map_UngroupSelection(MapWorld* world) {
    if (!world || !world->selectedGroups) return;
    UndoHistory* history = Map_OpHistory(world);
    Undo_BeginLevel(history, "Ungroup");
    Undo_SaveSelectedEntitiesChanged(history);
    Undo_SaveSelectedBrushesChanged(history, false);
    // Dissolving selects the children at the head of the list: the walk goes on behind them.
    for (GroupRecord* g = world->selectedGroups; g;) {
        GroupRecord* next = g->selNext;
        Undo_SaveGroup(history, g, UndoList::DeletedGroups);
        Map_DeselectObject(world, g);
        Map_DissolveGroup(world, g, true);
        Map_UnlinkGroup(world, g);
        delete g->handle;
        g = next;
    }
    Undo_EndLevel(history);
    Map_OpFinish(world, true);
}

// ---- Containers ------------------------------------------------------------------------------------

void Map_MoveToWorld(MapWorld* world) {
    EntityRecord* worldEntity = Map_OpWorldEntity(world);
    if (!worldEntity) return;
    bool any = false;
    for (const BrushRecord* b = world->selectedBrushes; b && !any; b = b->selNext)
        any = b->entity != worldEntity;
    if (!any) {
        Map_SelectNone(world);
        Map_UpdateSelectionSummary(world);
        return;
    }
    UndoHistory* history = Map_OpHistory(world);
    Undo_BeginLevel(history, "Move to World");
    Undo_SaveSelectedBrushesChanged(history, false);
    cPendingUpdates pending;
    // The moved brushes keep their group chains.
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext)
        if (b->entity != worldEntity) moveBrushInto(world, b, worldEntity, true, pending);
    pending.add(worldEntity);
    pending.run();
    Undo_EndLevel(history);
    Map_OpFinish(world, true);
}

bool Map_TieToEntity(MapWorld* world, const char* classname, EntityRecord** entity) {
    if (!world || !entity) return false;
    if (!world->selectedBrushes) return false;
    if (!*entity && (!classname || !classname[0])) {
        Sys_Warning("Map_TieToEntity: no entity class given");
        return false;
    }
    UndoHistory* history = Map_OpHistory(world);
    Undo_BeginLevel(history, "Tie to Entity");
    Undo_SaveSelectedBrushesChanged(history, false);
    EntityRecord* into = *entity;
    const bool made = !into;
    if (into) {
        Undo_SaveEntity(history, into, UndoList::ChangedEntities);
    } else {
        into = newTiedEntity(world, classname, history);
        if (!into) {
            // Nothing was changed yet: the level stays empty.
            Undo_EndLevel(history);
            Sys_Warning("Map_TieToEntity: could not create an entity of class %s", classname);
            return false;
        }
        *entity = into;
    }
    cPendingUpdates pending;
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext)
        if (b->entity != into) moveBrushInto(world, b, into, false, pending);
    pending.run();
    selectWithBrushes(world, into);
    if (into->handle) into->handle->update(made ? kNewEntityUpdate : 0);
    Undo_EndLevel(history);
    Map_OpFinish(world, true);
    return true;
}

bool Map_TieEachToEntity(MapWorld* world, const char* classname, EntityRecord** entity) {
    if (!world || !entity || !world->selectedBrushes) return false;
    if (!classname || !classname[0]) {
        Sys_Warning("Map_TieEachToEntity: no entity class given");
        return false;
    }
    std::vector<BrushRecord*> brushes;
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext)
        brushes.push_back(b);
    UndoHistory* history = Map_OpHistory(world);
    Undo_BeginLevel(history, "Tie to Entity");
    Undo_SaveSelectedBrushesChanged(history, false);
    cPendingUpdates pending;
    std::vector<EntityRecord*> made;
    for (BrushRecord* b : brushes) {
        EntityRecord* into = newTiedEntity(world, classname, history);
        if (!into) {
            Sys_Warning("Map_TieEachToEntity: could not create an entity of class %s", classname);
            break;
        }
        moveBrushInto(world, b, into, false, pending);
        made.push_back(into);
    }
    pending.run();
    for (EntityRecord* e : made) {
        selectWithBrushes(world, e);
        e->handle->update(kNewEntityUpdate);
    }
    if (!made.empty()) *entity = made.back();
    Undo_EndLevel(history);
    Map_OpFinish(world, true);
    return !made.empty();
}

// ---- Commands --------------------------------------------------------------------------------------

bool Map_CmdGroup(MapWorld* world) {
    if (!world || (!world->selectedEntities && !world->selectedBrushes)) return false;
    if (world->selectionMode != SelectionMode::WholeGroups) {
        Map_OpWarn("cannot group objects in group ignore mode", false);
        return false;
    }
    if (!Map_GroupSelection(world)) {
        Map_OpWarn("cannot group objects that already belong to the same group", false);
        return false;
    }
    Map_OpRedraw(world, kAllViews);
    return true;
}

bool Map_CmdUngroup(MapWorld* world) {
    if (!world || (!world->selectedEntities && !world->selectedBrushes)) return false;
    if (world->selectionMode != SelectionMode::WholeGroups) {
        Map_OpWarn("cannot ungroup objects in group ignore mode", false);
        return false;
    }
    Map_UngroupSelection(world);
    Map_OpRedraw(world, kAllViews);
    return true;
}

bool Map_CmdMoveToWorld(MapWorld* world) {
    if (!world || !world->selectedBrushes) return false;
    Map_MoveToWorld(world);
    Map_OpRedraw(world, kAllViews);
    return true;
}

bool Map_CmdTieToEntity(MapWorld* world, const char* classname, bool onePerBrush, EntityRecord** entity) {
    const bool done = onePerBrush ? Map_TieEachToEntity(world, classname, entity)
                                  : Map_TieToEntity(world, classname, entity);
    if (done) Map_OpRedraw(world, kAllViews);
    return done;
}
