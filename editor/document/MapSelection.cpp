#include "document/MapSelection.h"

#include "document/MapWorld.h"
#include "document/SelectionSummary.h"
#include "gamedata/MapProfile.h"
#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapPath.h"

namespace {

int32_t idOf(const void* record) {
    const cMapObject* handle = Object_FromRecord(record);
    return handle ? handle->id : -1;
}

bool isWorld(const EntityRecord* entity) {
    return entity->flags & EntityFlag::World;
}

bool entityShown(const EntityRecord* entity, int32_t hideMask) {
    return !(entity->flags & EntityFlag::Hidden) && Map_EntityPassesFilters(entity, hideMask);
}

bool brushShown(const BrushRecord* brush, int32_t hideMask) {
    return !(brush->flags & BrushFlags::Hidden) && Map_BrushPassesFilters(brush, hideMask);
}

// "Select" of the by-id commands: with toggle a selected record is deselected instead.
template <class R> void selectOrToggle(MapWorld* world, R* rec, bool toggle) {
    if (toggle && (rec->flags & RecordFlag::Selected))
        Map_DeselectObject(world, rec);
    else
        Map_SelectObject(world, rec);
}

template <class R> void flip(MapWorld* world, R* rec) {
    if (rec->flags & RecordFlag::Selected)
        Map_DeselectObject(world, rec);
    else
        Map_SelectObject(world, rec);
}

void selectEntityWithBrushes(MapWorld* world, EntityRecord* entity) {
    Map_SelectObject(world, entity);
    for (BrushRecord* brush = entity->firstBrush; brush; brush = brush->next)
        Map_SelectObject(world, brush);
}

void toggleEntityWithBrushes(MapWorld* world, EntityRecord* entity, bool toggle) {
    const bool off = toggle && (entity->flags & RecordFlag::Selected);
    if (!off) {
        selectEntityWithBrushes(world, entity);
        return;
    }
    Map_DeselectObject(world, entity);
    for (BrushRecord* brush = entity->firstBrush; brush; brush = brush->next)
        Map_DeselectObject(world, brush);
}

GroupRecord* findGroup(MapWorld* world, int32_t id) {
    for (GroupRecord* group = world->groups; group; group = group->next)
        if (idOf(group) == id) return group;
    return nullptr;
}

// The walk shared by select all and invert; apply gets each object that passes the tests.
template <class Fn> void walkSelectable(MapWorld* world, Fn&& apply) {
    const int32_t hideMask = Map_HideMask();
    for (EntityRecord* entity = world->entities; entity; entity = entity->next) {
        if (!isWorld(entity) && entityShown(entity, hideMask)) apply(entity);
        // The brushes of a filtered entity are still tested one by one.
        for (BrushRecord* brush = entity->firstBrush; brush; brush = brush->next)
            if (brushShown(brush, hideMask)) apply(brush);
    }
}

bool boxTest(const float bmins[3], const float bmaxs[3], const float centre[3], const float mins[3],
             const float maxs[3], int32_t mode) {
    for (int a = 0; a < 3; ++a) {
        switch (mode) {
        case BoxSelect::Inside:
            if (!(mins[a] < bmins[a] && bmaxs[a] < maxs[a])) return false;
            break;
        case BoxSelect::Handles:
            if (!(centre[a] >= mins[a] - 0.001f && centre[a] <= maxs[a] + 0.001f)) return false;
            break;
        default:
            if (!(bmins[a] < maxs[a] && mins[a] < bmaxs[a])) return false;
            break;
        }
    }
    return true;
}

bool entityInBox(const EntityRecord* entity, const float mins[3], const float maxs[3], int32_t mode) {
    const cMapEntity* handle = cMapEntity::fromRecord(entity);
    if (!handle) return false;
    switch (mode) {
    case BoxSelect::Inside:
        return handle->insideBox(mins, maxs);
    case BoxSelect::Handles:
        return handle->centerInBox(mins, maxs);
    default:
        return handle->touchesBox(mins, maxs);
    }
}

} // namespace

// ---- Display filters -------------------------------------------------------------------------

int32_t Map_HideMask() {
    return Sys_Settings().HideMask;
}

// ---- Whole-world commands --------------------------------------------------------------------

void Map_SelectAll(MapWorld* world, bool pathMode) {
    if (!world) return;
    if (pathMode) {
        Selection_Clear(world->selectedNodes);
        for (PathRecord* path = world->paths; path; path = path->next)
            for (NodeRecord* node = path->firstNode; node; node = node->next)
                Map_SelectObject(world, node);
    } else {
        // Bits are cleared with the lists: a bit left set outside its list would keep the
        // object from being linked again and later corrupt the list.
        Selection_Clear(world->selectedGroups);
        Selection_Clear(world->selectedEntities);
        Selection_Clear(world->selectedBrushes);
        for (GroupRecord* group = world->groups; group; group = group->next)
            if (!group->parent) Map_SelectObject(world, group);
        walkSelectable(world, [world](auto* rec) { Map_SelectObject(world, rec); });
    }
    Map_UpdateSelectionSummary(world);
}

void Map_InvertSelection(MapWorld* world, bool pathMode) {
    if (!world) return;
    if (pathMode) {
        for (PathRecord* path = world->paths; path; path = path->next)
            for (NodeRecord* node = path->firstNode; node; node = node->next)
                flip(world, node);
    } else {
        for (GroupRecord* group = world->groups; group; group = group->next) {
            if (group->parent)
                Map_DeselectObject(world, group);
            else
                flip(world, group);
        }
        walkSelectable(world, [world](auto* rec) { flip(world, rec); });
    }
    Map_UpdateSelectionSummary(world);
}

void Map_ClearSelectionFlags(MapWorld* world) {
    if (!world) return;
    for (GroupRecord* group = world->groups; group; group = group->next)
        group->flags &= ~RecordFlag::Selected;
    for (EntityRecord* entity = world->entities; entity; entity = entity->next) {
        entity->flags &= ~RecordFlag::Selected;
        for (BrushRecord* brush = entity->firstBrush; brush; brush = brush->next) {
            brush->flags &= ~RecordFlag::Selected;
            for (FaceRecord* face = brush->firstFace; face; face = face->next)
                face->flags &= ~RecordFlag::Selected;
        }
    }
    Map_SelectNone(world);
}

void Map_SelectionToFaces(MapWorld* world) {
    if (!world) return;
    Selection_Clear(world->selectedEntities);
    for (BrushRecord* brush = world->selectedBrushes; brush;) {
        BrushRecord* next = brush->selNext;
        if (brush->firstFace) {
            Map_DeselectObject(world, brush);
            for (FaceRecord* face = brush->firstFace; face; face = face->next)
                Map_SelectObject(world, face);
        }
        brush = next;
    }
    Map_UpdateSelectionSummary(world);
}

void Map_DeselectNodes(MapWorld* world) {
    if (!world) return;
    Selection_Clear(world->selectedNodes);
    Map_UpdateSelectionSummary(world);
}

void Map_TrimSelectionToGroups(MapWorld* world) {
    if (!world) return;
    auto outside = [](const GroupRecord* outer) { return outer && !(outer->flags & RecordFlag::Selected); };
    for (EntityRecord* entity = world->selectedEntities; entity;) {
        EntityRecord* next = entity->selNext;
        if (outside(entity->outerGroup)) Map_DeselectObject(world, entity);
        entity = next;
    }
    for (BrushRecord* brush = world->selectedBrushes; brush;) {
        BrushRecord* next = brush->selNext;
        if (outside(brush->outerGroup)) Map_DeselectObject(world, brush);
        brush = next;
    }
    Map_UpdateSelectionSummary(world);
}

void Map_SelectGroup(MapWorld* world, GroupRecord* group) {
    if (!world || !group) return;
    Map_SelectObject(world, group);
    for (EntityRecord* entity = world->entities; entity; entity = entity->next) {
        if (isWorld(entity)) {
            for (BrushRecord* brush = entity->firstBrush; brush; brush = brush->next)
                if (brush->outerGroup == group) Map_SelectObject(world, brush);
        } else if (entity->outerGroup == group) {
            selectEntityWithBrushes(world, entity);
        }
    }
}

// ---- By id -----------------------------------------------------------------------------------

bool Map_IsSelectedById(MapWorld* world, int32_t id) {
    if (!world || id == -1) return false;
    GroupRecord* group = findGroup(world, id);
    if (group && world->selectionMode == SelectionMode::WholeGroups)
        return group->flags & RecordFlag::Selected;
    const bool groupSelected = group && (group->flags & RecordFlag::Selected);
    for (EntityRecord* entity = world->entities; entity; entity = entity->next) {
        if (idOf(entity) == id && (entity->flags & RecordFlag::Selected)) return true;
        if (groupSelected && entity->outerGroup == group) return true;
        for (BrushRecord* brush = entity->firstBrush; brush; brush = brush->next) {
            if (groupSelected && brush->outerGroup == group) return true;
            if (idOf(brush) == id && (brush->flags & RecordFlag::Selected)) return true;
            if (world->selectionMode != SelectionMode::Faces) continue;
            for (FaceRecord* face = brush->firstFace; face; face = face->next)
                if (idOf(face) == id && (face->flags & RecordFlag::Selected)) return true;
        }
    }
    for (PathRecord* path = world->paths; path; path = path->next)
        for (NodeRecord* node = path->firstNode; node; node = node->next)
            if (idOf(node) == id && (node->flags & RecordFlag::Selected)) return true;
    return false;
}

void Map_SelectById(MapWorld* world, int32_t id, bool toggle) {
    if (!world) return;
    if (id == -1) {
        Map_UpdateSelectionSummary(world);
        return;
    }
    const uint32_t mode = world->selectionMode;
    GroupRecord* target = mode == SelectionMode::WholeGroups ? findGroup(world, id) : nullptr;

    for (EntityRecord* entity = world->entities; entity; entity = entity->next) {
        if (target && entity->outerGroup == target) {
            toggleEntityWithBrushes(world, entity, toggle);
            continue;
        }
        // Any entity with the id, the world entity too, is selected with its brushes.
        if (idOf(entity) == id) {
            toggleEntityWithBrushes(world, entity, toggle);
            break;
        }
        for (BrushRecord* brush = entity->firstBrush; brush; brush = brush->next) {
            if (target && brush->outerGroup == target) {
                selectOrToggle(world, brush, toggle);
                continue;
            }
            if (idOf(brush) == id) {
                selectOrToggle(world, brush, toggle);
                break;
            }
            if (mode != SelectionMode::Faces) continue;
            for (FaceRecord* face = brush->firstFace; face; face = face->next)
                if (idOf(face) == id) {
                    selectOrToggle(world, face, toggle);
                    break;
                }
        }
    }
    if (target) selectOrToggle(world, target, toggle);

    bool nodeFound = false;
    for (PathRecord* path = world->paths; path && !nodeFound; path = path->next)
        for (NodeRecord* node = path->firstNode; node; node = node->next)
            if (idOf(node) == id) {
                selectOrToggle(world, node, toggle);
                nodeFound = true;
                break;
            }
    Map_UpdateSelectionSummary(world);
}

void Map_SelectBrushFaces(MapWorld* world, int32_t faceId, bool toggle) {
    if (!world) return;
    for (EntityRecord* entity = world->entities; entity; entity = entity->next)
        for (BrushRecord* brush = entity->firstBrush; brush; brush = brush->next)
            for (FaceRecord* face = brush->firstFace; face; face = face->next) {
                if (faceId == -1 || idOf(face) != faceId) continue;
                for (FaceRecord* f = brush->firstFace; f; f = f->next)
                    selectOrToggle(world, f, toggle);
                Map_UpdateSelectionSummary(world);
                return;
            }
    Map_UpdateSelectionSummary(world);
}

// ---- In a box and by index -------------------------------------------------------------------

void Map_SelectInBox(MapWorld* world, const float mins[3], const float maxs[3], int32_t mode) {
    if (!world || !mins || !maxs) return;
    const int32_t hideMask = Map_HideMask();
    const uint32_t selMode = world->selectionMode;
    const bool wholeGroups = selMode == SelectionMode::WholeGroups;

    for (EntityRecord* entity = world->entities; entity; entity = entity->next) {
        const bool byBrush =
            isWorld(entity) || (selMode == SelectionMode::IgnoreGroups && entity->firstBrush);
        if (!byBrush) {
            if ((entity->flags & RecordFlag::Selected) || !entityShown(entity, hideMask)) continue;
            if (!entityInBox(entity, mins, maxs, mode)) continue;
            selectEntityWithBrushes(world, entity);
            if (wholeGroups && entity->outerGroup) Map_SelectGroup(world, entity->outerGroup);
            continue;
        }
        if (!boxTest(entity->mins, entity->maxs, nullptr, mins, maxs, BoxSelect::Touching)) continue;
        for (BrushRecord* brush = entity->firstBrush; brush; brush = brush->next) {
            if ((brush->flags & RecordFlag::Selected) || !brushShown(brush, hideMask)) continue;
            const cMapBrush* handle = cMapBrush::fromRecord(brush);
            if (!handle || !boxTest(brush->mins, brush->maxs, handle->centre, mins, maxs, mode)) continue;
            Map_SelectObject(world, brush);
            if (wholeGroups && brush->outerGroup) Map_SelectGroup(world, brush->outerGroup);
        }
    }
    Map_UpdateSelectionSummary(world);
}

bool Map_SelectBrushByIndex(MapWorld* world, int32_t entityIndex, int32_t brushIndex, bool skipHidden) {
    if (!world || entityIndex < 0 || brushIndex < 0) return false;
    EntityRecord* entity = world->entities;
    for (int32_t i = 0; entity && i < entityIndex; ++i)
        entity = entity->next;
    if (!entity) return false;
    int32_t n = 0;
    for (BrushRecord* brush = entity->firstBrush; brush; brush = brush->next) {
        if (skipHidden && (brush->flags & BrushFlags::Hidden)) continue;
        if (n++ != brushIndex) continue;
        Map_SelectObject(world, brush);
        Map_UpdateSelectionSummary(world);
        return true;
    }
    return false;
}

void Map_DeselectHidden(MapWorld* world) {
    if (!world) return;
    const int32_t hideMask = Map_HideMask();
    auto brushGone = [hideMask](const BrushRecord* brush) {
        return !brushShown(brush, hideMask) || (brush->entity && !entityShown(brush->entity, hideMask));
    };
    for (GroupRecord* group = world->selectedGroups; group;) {
        GroupRecord* next = group->selNext;
        if (group->flags & RecordFlag::Hidden) Map_DeselectObject(world, group);
        group = next;
    }
    for (FaceRecord* face = world->selectedFaces; face;) {
        FaceRecord* next = face->selNext;
        if (face->brush && brushGone(face->brush)) Map_DeselectObject(world, face);
        face = next;
    }
    for (BrushRecord* brush = world->selectedBrushes; brush;) {
        BrushRecord* next = brush->selNext;
        if (brushGone(brush)) Map_DeselectObject(world, brush);
        brush = next;
    }
    for (EntityRecord* entity = world->selectedEntities; entity;) {
        EntityRecord* next = entity->selNext;
        if (!entityShown(entity, hideMask)) Map_DeselectObject(world, entity);
        entity = next;
    }
    Map_UpdateSelectionSummary(world);
}
