#include "document/VisGroup.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <iterator>
#include <map>
#include <vector>

#include "core/System.h"
#include "document/MapSelection.h"
#include "document/MapWorld.h"
#include "document/MapWorldEntities.h"
#include "document/SelectionSummary.h"
#include "kstdlib/krandom.h"
#include "map/MapBrush.h"
#include "document/ObjectApi.h"
#include "map/VisGroupList.h"
#include "render/ColorScheme.h"

namespace {

using SetMap = std::map<int32_t, VisGroup*>;

bool isWorldEntity(const EntityRecord* entity) {
    return entity->flags & EntityFlag::World;
}

bool isMember(const void* record, const VisGroup* set) {
    const cVisGroupList* sets = Object_GetVisGroupList(record);
    return sets && sets->contains(set);
}

template <class R> void setHidden(R* record, bool hidden) {
    if (hidden)
        record->flags |= RecordFlag::Hidden;
    else
        record->flags &= ~RecordFlag::Hidden;
}

template <class R> bool isHidden(const R* record) {
    return record->flags & RecordFlag::Hidden;
}

// Marks every set in the list visible.
void markVisible(const cVisGroupList* sets) {
    if (!sets) return;
    for (int32_t k = 0; k < sets->count(); ++k)
        sets->at(k)->visible = 1;
}

void freeSet(VisGroup* set) {
    Sys_Free(set->name);
    delete set;
}

// Rounded down, also for a negative numerator (max below min in the scheme).
int32_t floorDiv256(int32_t value) {
    return value >= 0 ? value / 256 : -((-value + 255) / 256);
}

} // namespace

// ---- Sets --------------------------------------------------------------------------------------

void VisGroup_Init(VisGroup* set) {
    if (!set) return;
    set->name = nullptr;
    set->id = 0;
    set->memberCount = 0;
    set->visible = 1;
    uint8_t lo[4], hi[4];
    Color_FillRGBA(lo, COLOR_GROUP_RANDOM_MIN);
    Color_FillRGBA(hi, COLOR_GROUP_RANDOM_MAX);
    for (int k = 0; k < 3; ++k) {
        const int32_t random = K_RandomLong(0, 255);
        set->color[k] = uint8_t(lo[k] + floorDiv256(random * (int32_t(hi[k]) - int32_t(lo[k]))));
    }
    set->color[3] = 255;
}

void VisGroup_SetName(VisGroup* set, const char* name) {
    if (!set) return;
    if (set->name && name && std::strcmp(set->name, name) == 0) return;
    Sys_Free(set->name);
    set->name = name ? Sys_StrDup(name) : nullptr;
}

// ---- World functions ---------------------------------------------------------------------------

VisGroup* Map_FindVisGroup(MapWorld* world, int32_t id) {
    if (!world || !world->visGroups) return nullptr;
    const auto it = world->visGroups->find(id);
    return it == world->visGroups->end() ? nullptr : it->second;
}

VisGroup* Map_CreateVisGroup(MapWorld* world, const char* name) {
    if (!world || !world->visGroups) return nullptr;
    // The counter wraps to 1, never 0; after a wrap ids still held are passed over.
    int32_t id = world->visGroupIdCounter;
    do {
        id = (id <= 0 || id == INT32_MAX) ? 1 : id + 1;
    } while (world->visGroups->count(id));
    world->visGroupIdCounter = id;
    auto* set = new VisGroup;
    VisGroup_Init(set);
    VisGroup_SetName(set, name);
    set->id = id;
    (*world->visGroups)[id] = set;
    Map_MarkModified(Map_Handle(world));
    return set;
}

void Map_DeleteVisGroup(MapWorld* world, VisGroup* set) {
    if (!set || Map_FindVisGroup(world, set->id) != set) return;
    for (EntityRecord* entity = world->entities; entity; entity = entity->next) {
        if (cVisGroupList* sets = Object_GetVisGroupList(entity)) sets->remove(set);
        for (BrushRecord* brush = entity->firstBrush; brush; brush = brush->next)
            if (cVisGroupList* sets = Object_GetVisGroupList(brush)) sets->remove(set);
    }
    world->visGroups->erase(set->id);
    freeSet(set);
    Map_MarkModified(Map_Handle(world));
}

void Map_DeleteAllVisGroups(MapWorld* world) {
    if (!world || !world->visGroups) return;
    for (auto& [id, set] : *world->visGroups) {
        set->memberCount = 0;
        freeSet(set);
    }
    world->visGroups->clear();
    world->visGroupIdCounter = 0;
}

void Map_SetVisGroupVisible(MapWorld* world, VisGroup* set) {
    if (!set || Map_FindVisGroup(world, set->id) != set) return;
    const bool show = !set->visible;
    for (EntityRecord* entity = world->entities; entity; entity = entity->next) {
        // A member entity takes all its brushes with it, members or not.
        if (!isWorldEntity(entity) && isMember(entity, set)) {
            setHidden(entity, !show);
            for (BrushRecord* brush = entity->firstBrush; brush; brush = brush->next)
                setHidden(brush, !show);
            continue;
        }
        for (BrushRecord* brush = entity->firstBrush; brush; brush = brush->next)
            if (isMember(brush, set)) setHidden(brush, !show);
    }
    if (!show) Map_DeselectHidden(world);
    if (set->memberCount > 0)
        Map_UpdateVisGroupStates(world);
    else
        set->visible = show;
}

void Map_UpdateVisGroupStates(MapWorld* world) {
    if (!world || !world->visGroups) return;
    for (auto& [id, set] : *world->visGroups)
        set->visible = 0;
    for (EntityRecord* entity = world->entities; entity; entity = entity->next) {
        if (!isWorldEntity(entity) && !isHidden(entity)) markVisible(Object_GetVisGroupList(entity));
        for (BrushRecord* brush = entity->firstBrush; brush; brush = brush->next)
            if (!isHidden(brush)) markVisible(Object_GetVisGroupList(brush));
    }
}

bool Map_MergeVisGroups(MapWorld* world, int32_t fromId, int32_t intoId) {
    VisGroup* from = Map_FindVisGroup(world, fromId);
    VisGroup* into = Map_FindVisGroup(world, intoId);
    // Merging a set into itself would delete it with all its memberships.
    if (!from || !into || from == into) return false;
    auto join = [from, into](const void* record) {
        cVisGroupList* sets = Object_GetVisGroupList(record);
        if (sets && sets->contains(from)) sets->add(into);
    };
    for (EntityRecord* entity = world->entities; entity; entity = entity->next) {
        if (!isWorldEntity(entity)) join(entity);
        for (BrushRecord* brush = entity->firstBrush; brush; brush = brush->next)
            join(brush);
    }
    Map_DeleteVisGroup(world, from);
    return true;
}

bool Map_PurgeVisGroups(MapWorld* world) {
    if (!world || !world->visGroups) return false;
    std::vector<VisGroup*> empty;
    for (const auto& [id, set] : *world->visGroups)
        if (set->memberCount == 0) empty.push_back(set);
    if (empty.empty()) return false;
    for (VisGroup* set : empty) {
        world->visGroups->erase(set->id);
        freeSet(set);
    }
    Map_RenumberVisGroups(world);
    Map_MarkModified(Map_Handle(world));
    return true;
}

void Map_AssignSelectionToVisGroup(MapWorld* world, int32_t id) {
    VisGroup* set = Map_FindVisGroup(world, id);
    if (!set || (!world->selectedEntities && !world->selectedBrushes)) return;
    for (EntityRecord* entity = world->selectedEntities; entity; entity = entity->selNext)
        if (cVisGroupList* sets = Object_GetVisGroupList(entity)) sets->add(set);
    for (BrushRecord* brush = world->selectedBrushes; brush; brush = brush->selNext)
        if (cVisGroupList* sets = Object_GetVisGroupList(brush)) sets->add(set);
    Map_MarkModified(Map_Handle(world));
}

void Map_SelectVisGroup(MapWorld* world, int32_t id) {
    VisGroup* set = Map_FindVisGroup(world, id);
    if (!set) return;
    Map_SelectNone(world);
    for (EntityRecord* entity = world->entities; entity; entity = entity->next) {
        if (!isWorldEntity(entity) && isMember(entity, set)) {
            // A hidden member entity is skipped with all its brushes.
            if (isHidden(entity)) continue;
            Map_SelectObject(world, entity);
            for (BrushRecord* brush = entity->firstBrush; brush; brush = brush->next)
                if (!isHidden(brush)) Map_SelectObject(world, brush);
            continue;
        }
        for (BrushRecord* brush = entity->firstBrush; brush; brush = brush->next)
            if (!isHidden(brush) && isMember(brush, set)) Map_SelectObject(world, brush);
    }
    Map_UpdateSelectionSummary(world);
}

void Map_RenumberVisGroups(MapWorld* world) {
    if (!world || !world->visGroups) return;
    std::vector<VisGroup*> sets;
    sets.reserve(world->visGroups->size());
    for (const auto& [id, set] : *world->visGroups)
        sets.push_back(set);
    world->visGroups->clear();
    world->visGroupIdCounter = 0;
    for (VisGroup* set : sets) {
        set->id = ++world->visGroupIdCounter;
        (*world->visGroups)[set->id] = set;
    }
}

bool Map_SetVisGroupId(MapWorld* world, VisGroup* set, int32_t newId, const char* caller) {
    if (!set || Map_FindVisGroup(world, set->id) != set) return false;
    if (newId == set->id) return true;
    if (!caller) caller = "Map_SetVisGroupId";
    if (newId <= 0) {
        Sys_Warning("%s: visgroup id %d is not valid", caller, newId);
        return false;
    }
    if (Map_FindVisGroup(world, newId)) {
        Sys_Warning("%s: visgroup id %d is already in use", caller, newId);
        return false;
    }
    world->visGroups->erase(set->id);
    set->id = newId;
    (*world->visGroups)[newId] = set;
    if (world->visGroupIdCounter < newId) world->visGroupIdCounter = newId;
    return true;
}

// ---- Plain API ---------------------------------------------------------------------------------

int32_t VisGroup_Create(MapHandle map) {
    const VisGroup* set = Map_CreateVisGroup(Map_FromHandle(map), nullptr);
    return set ? set->id : 0;
}

void VisGroup_Delete(MapHandle map, int32_t id) {
    MapWorld* world = Map_FromHandle(map);
    Map_DeleteVisGroup(world, Map_FindVisGroup(world, id));
}

void VisGroup_Set(MapHandle map, int32_t id, const char* name, int32_t newId, const uint8_t* rgba) {
    MapWorld* world = Map_FromHandle(map);
    VisGroup* set = Map_FindVisGroup(world, id);
    if (!set) return;
    // Checked first so that a refused id leaves the set as it was.
    if (!Map_SetVisGroupId(world, set, newId, "VisGroup_Set")) return;
    VisGroup_SetName(set, name);
    if (rgba) std::memcpy(set->color, rgba, sizeof set->color);
}

int32_t VisGroup_GetCount(MapHandle map) {
    const MapWorld* world = Map_FromHandle(map);
    return world && world->visGroups ? int32_t(world->visGroups->size()) : 0;
}

int32_t VisGroup_FindIndex(MapHandle map, int32_t id) {
    const MapWorld* world = Map_FromHandle(map);
    if (!world || !world->visGroups) return -1;
    const auto it = world->visGroups->find(id);
    if (it == world->visGroups->end()) return -1;
    return int32_t(std::distance(world->visGroups->begin(), it));
}

int32_t VisGroup_GetInfo(MapHandle map, int32_t index, char* name, int32_t nameSize, int32_t* id,
                         int32_t* visible, uint8_t* rgba) {
    const MapWorld* world = Map_FromHandle(map);
    if (!world || !world->visGroups || index < 0 || index >= int32_t(world->visGroups->size())) return 0;
    const VisGroup* set = std::next(world->visGroups->begin(), index)->second;
    if (name && nameSize > 0 && set->name) {
        const size_t length = std::min(std::strlen(set->name), size_t(nameSize) - 1);
        std::memcpy(name, set->name, length);
        name[length] = '\0';
    }
    if (id) *id = set->id;
    if (visible) *visible = set->visible ? 1 : 0;
    if (rgba) std::memcpy(rgba, set->color, sizeof set->color);
    return 1;
}

void VisGroup_Renumber(MapHandle map) {
    Map_RenumberVisGroups(Map_FromHandle(map));
}
