#include "document/UndoHistory.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/System.h"
#include "document/DocumentHost.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/MapWorldEntities.h"
#include "document/PathOperations.h"
#include "document/UndoSnapshot.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapPath.h"

namespace {

struct ListSlot {
    MapObjectKind kind;
    UndoChange change;
};

// Kind and change of each of the sixteen lists, in UndoList order.
constexpr ListSlot kListSlots[] = {
    {MapObjectKind::Entity, UndoChange::Changed}, {MapObjectKind::Entity, UndoChange::Created},
    {MapObjectKind::Entity, UndoChange::Deleted}, {MapObjectKind::Brush, UndoChange::Changed},
    {MapObjectKind::Brush, UndoChange::Created},  {MapObjectKind::Brush, UndoChange::Deleted},
    {MapObjectKind::Face, UndoChange::Changed},   {MapObjectKind::Group, UndoChange::Changed},
    {MapObjectKind::Group, UndoChange::Created},  {MapObjectKind::Group, UndoChange::Deleted},
    {MapObjectKind::Path, UndoChange::Changed},   {MapObjectKind::Path, UndoChange::Created},
    {MapObjectKind::Path, UndoChange::Deleted},   {MapObjectKind::Node, UndoChange::Changed},
    {MapObjectKind::Node, UndoChange::Created},   {MapObjectKind::Node, UndoChange::Deleted},
};
static_assert(sizeof kListSlots / sizeof kListSlots[0] == 16);

const char* kKindNames[] = {"entity", "brush", "face", "patch", "overlay", "group", "path", "node", "camera"};

// The change a list stands for, or false (with an error) when it holds another kind.
bool changeOfList(UndoList list, MapObjectKind kind, UndoChange* change) {
    const int32_t index = int32_t(list);
    if (index < 0 || index >= 16 || kListSlots[index].kind != kind) {
        Sys_Error("Undo: list %i does not hold a %s", index, kKindNames[int32_t(kind)]);
        return false;
    }
    *change = kListSlots[index].change;
    return true;
}

// The open level, when snapshots may be taken into it.
UndoLevel* openLevel(UndoHistory* h) {
    if (!h || !h->recording) return nullptr;
    // Recording without an open level would write through a null level: refuse quietly.
    return h->undoChain;
}

template <class S> void pushSnapshot(S*& head, S* s) {
    s->next = head;
    head = s;
}

MapWorld* worldOf(const UndoHistory* h) {
    return h ? Map_FromHandle(h->world) : nullptr;
}

void clearAndFree(UndoLevel* level) {
    Undo_ClearLevel(level);
    Sys_Free(level->name);
    level->name = nullptr;
}

// Called when the open step is closed or a step was applied: the Edit menu's Undo/Redo pair
// follows the chains. The actions belong to the main window, which rebuilds them from the
// history when it refreshes (mask 0x2).
void refreshUndoActions(UndoHistory*) {
    Document_Host().updateActions(0x2);
}

} // namespace

// The keys saved in a level: list index in the high word, serial in the low word. An open-address
// table of plain keys: one level may save tens of thousands (a texture replace over a whole map),
// and a node per key with rehashes of scattered nodes cost more than the snapshots themselves.
struct UndoSerialIndex {
    // No key is all ones: list indices are small.
    static constexpr uint64_t kEmpty = ~uint64_t(0);
    std::vector<uint64_t> table;
    size_t used = 0;

    // False when the key was there already.
    bool insert(uint64_t key) {
        if ((used + 1) * 4 > table.size() * 3) grow();
        uint64_t* slot = find(key);
        if (*slot == key) return false;
        *slot = key;
        ++used;
        return true;
    }
    void erase(uint64_t key) {
        if (table.empty()) return;
        size_t at = size_t(find(key) - table.data());
        if (table[at] != key) return;
        // Backward-shift deletion keeps every probe chain whole without tombstones.
        const size_t mask = table.size() - 1;
        for (size_t next = (at + 1) & mask; table[next] != kEmpty; next = (next + 1) & mask) {
            const size_t home = hash(table[next]) & mask;
            if (((next - home) & mask) >= ((next - at) & mask)) {
                table[at] = table[next];
                at = next;
            }
        }
        table[at] = kEmpty;
        --used;
    }

private:
    static size_t hash(uint64_t key) {
        key ^= key >> 33;
        key *= 0xff51afd7ed558ccdULL;
        return size_t(key ^ (key >> 33));
    }
    uint64_t* find(uint64_t key) {
        const size_t mask = table.size() - 1;
        size_t at = hash(key) & mask;
        while (table[at] != kEmpty && table[at] != key)
            at = (at + 1) & mask;
        return &table[at];
    }
    void grow() {
        std::vector<uint64_t> old(table.empty() ? 16 : table.size() * 2, kEmpty);
        old.swap(table);
        used = 0;
        for (uint64_t key : old) {
            if (key == kEmpty) continue;
            *find(key) = key;
            ++used;
        }
    }
};

namespace {

uint64_t serialKey(UndoList list, int32_t serial) {
    return (uint64_t(uint32_t(list)) << 32) | uint32_t(serial);
}

// Takes a snapshot into the list unless the list already holds one of the serial: the first
// snapshot of a level, the state before the operation, is the one kept.
template <class S, class Take, class Capture>
void saveOnce(UndoLevel* level, S*& head, UndoList list, int32_t serial, Take take, Capture capture) {
    if (!level->serials) level->serials = new UndoSerialIndex;
    const uint64_t key = serialKey(list, serial);
    if (!level->serials->insert(key)) return;
    S* s = take();
    if (!s) {
        level->serials->erase(key); // nothing was kept: a later save may try again
        return;
    }
    capture(s);
    pushSnapshot(head, s);
}

} // namespace

// ---- Levels ------------------------------------------------------------------------------------

void Undo_InitHistory(UndoHistory* h, MapHandle world, int32_t levelCount, bool enabled) {
    if (!h) return;
    std::memset(h, 0, sizeof *h);
    h->world = world;
    h->enabled = enabled;
    h->levelCount = levelCount < kUndoMinLevels ? kUndoMinLevels : levelCount;
}

void Undo_AllocLevels(UndoHistory* h) {
    if (!h || h->levels) return;
    if (h->levelCount < kUndoMinLevels) h->levelCount = kUndoMinLevels;
    h->levels = static_cast<UndoLevel*>(std::calloc(size_t(h->levelCount), sizeof(UndoLevel)));
    if (!h->levels) {
        Sys_Error("Failed to allocate %i undo levels", h->levelCount);
        return;
    }
    h->freeLevels = nullptr;
    for (int32_t i = h->levelCount - 1; i >= 0; --i) {
        h->levels[i].next = h->freeLevels;
        h->freeLevels = &h->levels[i];
    }
    h->undoChain = nullptr;
    h->redoChain = nullptr;
}

void Undo_Reset(UndoHistory* h) {
    if (!h) return;
    if (h->levels)
        for (int32_t i = 0; i < h->levelCount; ++i)
            clearAndFree(&h->levels[i]);
    std::free(h->levels);
    h->levels = nullptr;
    h->freeLevels = nullptr;
    h->undoChain = nullptr;
    h->redoChain = nullptr;
    h->recording = false;
}

void Undo_ClearLevel(UndoLevel* level) {
    if (!level) return;
    for (int i = 0; i < 3; ++i) {
        UndoPool_GiveChain(level->entities[i]);
        UndoPool_GiveChain(level->brushes[i]);
        UndoPool_GiveChain(level->groups[i]);
        UndoPool_GiveChain(level->paths[i]);
        UndoPool_GiveChain(level->nodes[i]);
    }
    UndoPool_GiveChain(level->changedFaces);
    delete level->serials;
    level->serials = nullptr;
}

void Undo_BeginLevel(UndoHistory* h, const char* name) {
    if (!h || !h->enabled) return;
    Undo_AllocLevels(h);
    if (!h->levels) return;

    while (UndoLevel* level = h->redoChain) {
        h->redoChain = level->next;
        clearAndFree(level);
        level->next = h->freeLevels;
        h->freeLevels = level;
    }

    UndoLevel* head = h->undoChain;
    UndoLevel* level = h->freeLevels;
    if (level) {
        h->freeLevels = level->next;
        if (head) {
            level->ring = head->ring;
            head->ring = level;
        } else {
            level->ring = level;
        }
    } else {
        // Recycle the oldest: the head's ring names it, its own ring its newer neighbour, whose
        // link to it is cut. Its ring already names the new oldest, the head's ring already names
        // it, so the ring stays whole.
        level = head->ring;
        level->ring->next = nullptr;
        clearAndFree(level);
    }
    level->name = name ? Sys_StrDup(name) : nullptr;
    level->next = h->undoChain;
    h->undoChain = level;
    h->recording = true;
}

void Undo_EndLevel(UndoHistory* h) {
    if (!h || !h->recording) return;
    h->recording = false;
    refreshUndoActions(h);
}

// ---- Snapshots ---------------------------------------------------------------------------------

void Undo_SaveEntity(UndoHistory* h, EntityRecord* entity, UndoList list) {
    UndoLevel* level = openLevel(h);
    UndoChange change;
    if (!level || !entity || !changeOfList(list, MapObjectKind::Entity, &change)) return;
    saveOnce(level, level->entities[int(change)], list, entity->serial, UndoPool_TakeEntity,
             [entity](EntitySnapshot* s) { Undo_CaptureEntity(s, entity); });
}

void Undo_SaveBrush(UndoHistory* h, BrushRecord* brush, UndoList list, bool withGeometry) {
    UndoLevel* level = openLevel(h);
    UndoChange change;
    if (!level || !brush || !changeOfList(list, MapObjectKind::Brush, &change)) return;
    saveOnce(level, level->brushes[int(change)], list, brush->serial, UndoPool_TakeBrush,
             [brush, withGeometry](BrushSnapshotRecord* s) {
                 // A brush recorded before its first update takes its colour now: a snapshot
                 // without one would bring the brush back to draw a new colour at its next update.
                 if (brush->handle) brush->handle->ensureColor();
                 Undo_CaptureBrush(s, brush, withGeometry);
             });
}

void Undo_SaveFace(UndoHistory* h, FaceRecord* face, UndoList list) {
    UndoLevel* level = openLevel(h);
    UndoChange change;
    if (!level || !face || !changeOfList(list, MapObjectKind::Face, &change)) return;
    saveOnce(level, level->changedFaces, list, face->serial, UndoPool_TakeFace,
             [face](FaceSnapshotRecord* s) { Undo_CaptureFace(s, face, false); });
}

void Undo_SaveGroup(UndoHistory* h, GroupRecord* group, UndoList list) {
    UndoLevel* level = openLevel(h);
    UndoChange change;
    if (!level || !group || !changeOfList(list, MapObjectKind::Group, &change)) return;
    saveOnce(level, level->groups[int(change)], list, group->serial, UndoPool_TakeGroup,
             [group](GroupSnapshot* s) { Undo_CaptureGroup(s, group); });
}

void Undo_SavePath(UndoHistory* h, PathRecord* path, UndoList list) {
    UndoLevel* level = openLevel(h);
    UndoChange change;
    if (!level || !path || !changeOfList(list, MapObjectKind::Path, &change)) return;
    saveOnce(level, level->paths[int(change)], list, path->serial, UndoPool_TakePath,
             [path](PathSnapshot* s) { Undo_CapturePath(s, path); });
}

void Undo_SaveNode(UndoHistory* h, NodeRecord* node, UndoList list) {
    UndoLevel* level = openLevel(h);
    UndoChange change;
    if (!level || !node || !changeOfList(list, MapObjectKind::Node, &change)) return;
    saveOnce(level, level->nodes[int(change)], list, node->serial, UndoPool_TakeNode,
             [node](NodeSnapshot* s) { Undo_CaptureNode(s, node); });
}

namespace {

void saveSelectedEntities(UndoHistory* h, UndoList list, bool onlyWhole) {
    MapWorld* world = worldOf(h);
    if (!openLevel(h) || !world) return;
    for (EntityRecord* e = world->selectedEntities; e; e = e->selNext) {
        // The world entity is never created or deleted with a selection (a restored copy would
        // give the map a second one); it can be selected by id.
        bool stays = (e->flags & EntityFlag::World) && list != UndoList::ChangedEntities;
        if (onlyWhole) {
            // Only its selected brushes go when one of them stays: the entity stays too.
            for (const BrushRecord* b = e->firstBrush; b && !stays; b = b->next)
                stays = (b->flags & BrushFlags::Selected) == 0;
        }
        // An entity that stays while its selected brushes go is deselected: recorded as changed,
        // so that Undo selects it again.
        if (stays && onlyWhole) Undo_SaveEntity(h, e, UndoList::ChangedEntities);
        if (!stays) Undo_SaveEntity(h, e, list);
    }
}

// kind: -1 every selected brush, else only brushes of that BrushKind.
void saveSelectedBrushes(UndoHistory* h, UndoList list, bool withGeometry, int32_t kind) {
    MapWorld* world = worldOf(h);
    if (!openLevel(h) || !world) return;
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext) {
        if (kind == BrushKind::Patch && !b->patch) continue;
        if (kind == BrushKind::Overlay && !b->overlay) continue;
        Undo_SaveBrush(h, b, list, withGeometry);
    }
}

void saveSelectedNodes(UndoHistory* h, UndoList list) {
    MapWorld* world = worldOf(h);
    if (!openLevel(h) || !world) return;
    if (world->selectedNodes && world->selectedNodes->selNext)
        world->selectedNodes = Map_SortNodes(world->selectedNodes);
    for (NodeRecord* n = world->selectedNodes; n; n = n->selNext)
        Undo_SaveNode(h, n, list);
}

} // namespace

void Undo_SaveSelectedEntitiesCreated(UndoHistory* h) {
    saveSelectedEntities(h, UndoList::CreatedEntities, false);
}
void Undo_SaveSelectedEntitiesDeleted(UndoHistory* h) {
    saveSelectedEntities(h, UndoList::DeletedEntities, true);
}
void Undo_SaveSelectedEntitiesChanged(UndoHistory* h) {
    saveSelectedEntities(h, UndoList::ChangedEntities, false);
}
void Undo_SaveSelectedBrushesCreated(UndoHistory* h) {
    saveSelectedBrushes(h, UndoList::CreatedBrushes, true, -1);
}
void Undo_SaveSelectedBrushesDeleted(UndoHistory* h) {
    saveSelectedBrushes(h, UndoList::DeletedBrushes, true, -1);
}
void Undo_SaveSelectedBrushesChanged(UndoHistory* h, bool withGeometry) {
    saveSelectedBrushes(h, UndoList::ChangedBrushes, withGeometry, -1);
}
void Undo_SaveSelectedPatchesChanged(UndoHistory* h, bool withGeometry) {
    saveSelectedBrushes(h, UndoList::ChangedBrushes, withGeometry, BrushKind::Patch);
}
void Undo_SaveSelectedOverlaysChanged(UndoHistory* h, bool withGeometry) {
    saveSelectedBrushes(h, UndoList::ChangedBrushes, withGeometry, BrushKind::Overlay);
}

void Undo_SaveSelectedGroupsChanged(UndoHistory* h) {
    MapWorld* world = worldOf(h);
    if (!openLevel(h) || !world) return;
    for (GroupRecord* g = world->selectedGroups; g; g = g->selNext)
        Undo_SaveGroup(h, g, UndoList::ChangedGroups);
}

void Undo_SaveSelectedFacesChanged(UndoHistory* h) {
    MapWorld* world = worldOf(h);
    if (!openLevel(h) || !world) return;
    for (FaceRecord* f = world->selectedFaces; f; f = f->selNext)
        Undo_SaveFace(h, f, UndoList::ChangedFaces);
}

void Undo_SaveSelectedNodesCreated(UndoHistory* h) {
    saveSelectedNodes(h, UndoList::CreatedNodes);
}
void Undo_SaveSelectedNodesDeleted(UndoHistory* h) {
    saveSelectedNodes(h, UndoList::DeletedNodes);
}
void Undo_SaveSelectedNodesChanged(UndoHistory* h) {
    saveSelectedNodes(h, UndoList::ChangedNodes);
}

// ---- Stepping ----------------------------------------------------------------------------------

bool Undo_StepUndo(UndoHistory* h) {
    if (!h || !h->enabled || !h->undoChain) return false;
    UndoLevel* level = h->undoChain;
    h->undoChain = level->next;
    if (h->undoChain) h->undoChain->ring = level->ring;
    level->next = h->redoChain;
    h->redoChain = level;
    h->recording = false;
    Undo_Undo(h, level);
    if (h->levelUndone) h->levelUndone(h->levelUndoneContext, level);
    Map_MarkModified(h->world);
    refreshUndoActions(h);
    return true;
}

bool Undo_StepRedo(UndoHistory* h) {
    if (!h || !h->enabled || !h->redoChain) return false;
    UndoLevel* level = h->redoChain;
    h->redoChain = level->next;
    if (UndoLevel* head = h->undoChain) {
        level->ring = head->ring;
        head->ring = level;
    } else {
        level->ring = level;
    }
    level->next = h->undoChain;
    h->undoChain = level;
    h->recording = false;
    Undo_Redo(h, level);
    Map_MarkModified(h->world);
    refreshUndoActions(h);
    return true;
}

// ---- Node helpers ------------------------------------------------------------------------------

void Undo_UnlinkSelectedNode(NodeRecord* node, NodeRecord** selectedHead) {
    if (!node || !selectedHead) return;
    Selection_Unlink(*selectedHead, node);
}

void Undo_UnlinkNode(MapWorld* world, NodeRecord* node, PathRecord* path) {
    if (!node) return;
    if (world) Map_FreeObjectId(world, Object_FromRecord(node));
    if (path) List_Remove(path->firstNode, &path->lastNode, node);
    node->path = nullptr;
}

// ---- Engine-function table ---------------------------------------------------------------------

UndoHistory* Undo_HistoryOf(MapHandle map) {
    MapWorld* world = Map_FromHandle(map);
    return world && world->owner ? world->owner->undo : nullptr;
}

void Undo_BeginStep(MapHandle map, const char* name) {
    Undo_BeginLevel(Undo_HistoryOf(map), name);
}

void Undo_EndStep(MapHandle map) {
    Undo_EndLevel(Undo_HistoryOf(map));
}

void Undo_RecordSelectedBrushesCreated(MapHandle map) {
    Undo_SaveSelectedBrushesCreated(Undo_HistoryOf(map));
}
void Undo_RecordSelectedEntitiesCreated(MapHandle map) {
    Undo_SaveSelectedEntitiesCreated(Undo_HistoryOf(map));
}
void Undo_RecordSelectedNodesCreated(MapHandle map) {
    Undo_SaveSelectedNodesCreated(Undo_HistoryOf(map));
}
void Undo_RecordSelectedBrushesDeleted(MapHandle map) {
    Undo_SaveSelectedBrushesDeleted(Undo_HistoryOf(map));
}
void Undo_RecordSelectedEntitiesDeleted(MapHandle map) {
    Undo_SaveSelectedEntitiesDeleted(Undo_HistoryOf(map));
}
void Undo_RecordSelectedNodesDeleted(MapHandle map) {
    Undo_SaveSelectedNodesDeleted(Undo_HistoryOf(map));
}
void Undo_RecordSelectedBrushesChanged(MapHandle map, int32_t geometry) {
    Undo_SaveSelectedBrushesChanged(Undo_HistoryOf(map), geometry != 0);
}
void Undo_RecordSelectedEntitiesChanged(MapHandle map) {
    Undo_SaveSelectedEntitiesChanged(Undo_HistoryOf(map));
}
void Undo_RecordSelectedFacesChanged(MapHandle map) {
    Undo_SaveSelectedFacesChanged(Undo_HistoryOf(map));
}
void Undo_RecordSelectedNodesChanged(MapHandle map) {
    Undo_SaveSelectedNodesChanged(Undo_HistoryOf(map));
}
