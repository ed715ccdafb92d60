// Applying an undo level: the fixed orders of undo and redo, the rules every applier shares, and
// the appliers of groups, paths and nodes (those of entities, brushes and faces are in
// UndoApplyEntities.cpp). Swapping exchanges the snapshot with the live state, so applying the
// same level again reverses it.
#include <utility>
#include <vector>

#include "core/System.h"
#include "document/DocumentHost.h"
#include "document/MapSelection.h"
#include "document/MapWorld.h"
#include "document/MapWorldEntities.h"
#include "document/SelectionSummary.h"
#include "document/UndoApply.h"
#include "document/UndoHistory.h"
#include "document/UndoSnapshot.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapGroup.h"
#include "map/MapPath.h"

namespace {

// Whether the active tool (or, with alsoSecondary, the secondary tool) has the id.
bool toolActive(int32_t id, bool alsoSecondary) {
    const DocumentHost& host = Document_Host();
    return host.activeTool() == id || (alsoSecondary && host.secondaryTool() == id);
}

PathRecord* findPath(MapWorld* w, int32_t serial) {
    return UndoApply_FindBySerial(w->paths, serial);
}
NodeRecord* findNodeIn(PathRecord* p, int32_t serial) {
    return UndoApply_FindBySerial(p ? p->firstNode : nullptr, serial);
}

} // namespace

// ---- Shared rules ------------------------------------------------------------------------------

GroupRecord* UndoApply_FindGroup(MapWorld* w, int32_t serial) {
    return serial == 0 ? nullptr : UndoApply_FindBySerial(w->groups, serial);
}

cUndoPriorSelection::cUndoPriorSelection(const MapWorld* w) {
    addChain(w->selectedEntities);
    addChain(w->selectedBrushes);
    addChain(w->selectedFaces);
    addChain(w->selectedGroups);
    addChain(w->selectedNodes);
}

bool UndoApply_ExchangeFlags(uint32_t& live, uint32_t& snap, uint32_t addBits, bool wasSelected) {
    const bool wantSelected = snap & RecordFlag::Selected;
    const uint32_t former = live;
    live = (snap & ~RecordFlag::Selected) | addBits | (former & RecordFlag::Selected);
    snap = (former & ~RecordFlag::Selected) | (wasSelected ? RecordFlag::Selected : 0);
    return wantSelected;
}

void UndoApply_DropMember(GroupRecord* group) {
    if (group) --group->memberCount;
}

namespace {

bool hasSelectedAncestor(const GroupRecord* g) {
    int32_t steps = 0;
    for (const GroupRecord* p = g->parent; p && steps < kMaxObjectId; p = p->parent, ++steps)
        if (p->flags & GroupFlag::Selected) return true;
    return false;
}

// The selected-nodes rule: nodes stay selected only for the path tool.
void applyNodeSelection(MapWorld* w, NodeRecord* n, bool wantSelected) {
    if (wantSelected && toolActive(ToolId::Path, true)) {
        Map_SelectObject(w, n);
        return;
    }
    Undo_UnlinkSelectedNode(n, &w->selectedNodes);
    n->flags &= ~NodeFlag::Selected;
}

// ---- Groups ------------------------------------------------------------------------------------

void restoreGroups(MapWorld* w, GroupSnapshot* list) {
    std::vector<std::pair<GroupRecord*, const GroupSnapshot*>> made;
    for (const GroupSnapshot* s = list; s; s = s->next) {
        GroupRecord* g = Group_Alloc();
        cMapGroup* handle = g->handle;
        g->serial = s->serial;
        g->flags = s->flags & ~GroupFlag::Selected;
        g->memberCount = 0; // members count themselves back in as they link
        handle->baseColor = s->baseColor;
        handle->updateRandomColor();
        Map_LinkGroup(w, g);
        made.emplace_back(g, s);
    }
    for (auto& [g, s] : made) {
        g->parent = UndoApply_FindGroup(w, s->parentSerial);
        if (g->parent) ++g->parent->memberCount;
        // Selected again unless a group above it is: a nested group may be selected by itself.
        if ((s->flags & GroupFlag::Selected) && !hasSelectedAncestor(g)) Map_SelectObject(w, g);
    }
}

void removeGroups(MapWorld* w, const GroupSnapshot* list) {
    for (const GroupSnapshot* s = list; s; s = s->next) {
        GroupRecord* g = UndoApply_FindGroup(w, s->serial);
        if (!g) continue;
        Map_DeselectObject(w, g);
        UndoApply_DropMember(g->parent);
        // Anything still naming the group would keep a dangling link: clear those links.
        for (GroupRecord* other = w->groups; other; other = other->next)
            if (other->parent == g) other->parent = nullptr;
        for (EntityRecord* e = w->entities; e; e = e->next) {
            if (e->group == g) e->group = nullptr;
            if (e->outerGroup == g) e->outerGroup = nullptr;
            for (BrushRecord* b = e->firstBrush; b; b = b->next) {
                if (b->group == g) b->group = nullptr;
                if (b->outerGroup == g) b->outerGroup = nullptr;
            }
        }
        Map_UnlinkGroup(w, g);
        delete g->handle;
    }
}

void swapGroups(MapWorld* w, GroupSnapshot* list, const cUndoPriorSelection& prior) {
    for (GroupSnapshot* s = list; s; s = s->next) {
        GroupRecord* g = UndoApply_FindGroup(w, s->serial);
        if (!g) {
            Sys_Error("Undo/Redo: no such groupId %i", s->serial);
            continue;
        }
        cMapGroup* handle = g->handle;
        std::swap(handle->baseColor, s->baseColor);
        handle->updateRandomColor();
        const bool wantSelected = UndoApply_ExchangeFlags(g->flags, s->flags, 0, prior.has(g));
        // The member count is not exchanged: every link that changed in the level moves its own
        // unit (this parent link here, members' links in their swaps, restores and removals), and
        // exchanging the count as well would count those moves twice.
        // The parent link carries one member of the parent's count.
        GroupRecord* parent = UndoApply_FindGroup(w, s->parentSerial);
        s->parentSerial = g->parent ? g->parent->serial : 0;
        if (parent != g->parent) {
            UndoApply_DropMember(g->parent);
            if (parent) ++parent->memberCount;
            g->parent = parent;
        }
        if (wantSelected && !hasSelectedAncestor(g))
            Map_SelectObject(w, g);
        else
            Map_DeselectObject(w, g);
    }
}

// ---- Paths and nodes ---------------------------------------------------------------------------

// The path's chain in number order, its last-node link mended.
void sortPathNodes(PathRecord* p) {
    if (!p->firstNode || !p->firstNode->next) return;
    p->firstNode = Path_SortNodes(p->firstNode);
    NodeRecord* last = p->firstNode;
    while (last->next)
        last = last->next;
    p->lastNode = last;
}

// Sorts by number what the restore put out of order, numbers 1, 2, 3 ... and updates.
void refreshMarkedPaths(MapWorld* w, bool sort) {
    for (PathRecord* p = w->paths; p; p = p->next) {
        if (!(p->flags & PathFlag::NeedsUpdate)) continue;
        if (sort) sortPathNodes(p);
        p->handle->renumber();
        p->handle->update();
    }
}

void restorePathsAndNodes(MapWorld* w, const PathSnapshot* paths, const NodeSnapshot* nodes) {
    for (const PathSnapshot* s = paths; s; s = s->next) {
        PathRecord* p = Path_CreateFromSnapshot(s);
        List_Append(w->paths, w->pathsTail, p);
        p->owner = Map_Handle(w);
    }
    for (const NodeSnapshot* s = nodes; s; s = s->next) {
        PathRecord* p = findPath(w, s->pathSerial);
        if (!p) {
            Sys_Error("Redo: no such pathId %i", s->pathSerial);
            continue;
        }
        NodeRecord* n = Node_CreateFromSnapshot(s);
        n->flags &= ~NodeFlag::Selected;
        for (NodeRecord* other = p->firstNode; other; other = other->next)
            if (other->number >= n->number) ++other->number;
        n->handle->id = Map_AllocId(w);
        n->path = p;
        List_Append(p->firstNode, p->lastNode, n);
        p->flags |= PathFlag::NeedsUpdate;
        applyNodeSelection(w, n, s->flags & NodeFlag::Selected);
    }
    refreshMarkedPaths(w, true);
}

void removePathsAndNodes(MapWorld* w, const PathSnapshot* paths, const NodeSnapshot* nodes) {
    for (const NodeSnapshot* s = nodes; s; s = s->next) {
        PathRecord* p = findPath(w, s->pathSerial);
        NodeRecord* n = findNodeIn(p, s->serial);
        if (!n) continue;
        p->flags |= PathFlag::NeedsUpdate;
        Undo_UnlinkSelectedNode(n, &w->selectedNodes);
        Undo_UnlinkNode(w, n, p);
        delete n->handle;
    }
    for (const PathSnapshot* s = paths; s; s = s->next) {
        PathRecord* p = findPath(w, s->serial);
        if (!p) continue;
        Map_UnlinkPath(w, p);
        for (NodeRecord* n = p->firstNode; n; n = n->next)
            Map_FreeObjectId(w, n->handle);
        delete p->handle;
    }
    refreshMarkedPaths(w, false);
}

void swapPaths(MapWorld* w, PathSnapshot* list) {
    for (PathSnapshot* s = list; s; s = s->next) {
        PathRecord* p = findPath(w, s->serial);
        if (!p) {
            Sys_Error("Undo/Redo: no such pathId %i", s->serial);
            continue;
        }
        std::swap(p->name, s->name);
        std::swap(p->className, s->className);
        UndoApply_ExchangeFlags(p->flags, s->flags, PathFlag::NeedsUpdate, false);
        std::swap(p->type, s->type);
    }
}

void swapNodes(MapWorld* w, NodeSnapshot* list, const cUndoPriorSelection& prior) {
    for (NodeSnapshot* s = list; s; s = s->next) {
        PathRecord* p = findPath(w, s->pathSerial);
        if (!p) {
            Sys_Error("Undo/Redo: no such pathId %i", s->pathSerial);
            continue;
        }
        NodeRecord* n = findNodeIn(p, s->serial);
        for (PathRecord* other = w->paths; !n && other; other = other->next)
            n = findNodeIn(other, s->serial);
        if (!n) {
            Sys_Error("Undo/Redo: no such nodeId %i", s->serial);
            continue;
        }
        if (n->path != p) {
            PathRecord* former = n->path;
            Undo_UnlinkNode(w, n, former);
            n->handle->id = Map_AllocId(w);
            n->path = p;
            List_Append(p->firstNode, p->lastNode, n);
            s->pathSerial = former ? former->serial : 0;
            if (former) former->flags |= PathFlag::NeedsUpdate;
        }
        const bool wantSelected = UndoApply_ExchangeFlags(n->flags, s->flags, 0, prior.has(n));
        std::swap(n->number, s->number);
        std::swap(n->origin, s->origin);
        std::swap(n->angles, s->angles);
        std::swap(n->epairs, s->epairs);
        // The node's own name and message are part of what a node edit changes.
        std::swap(n->name, s->name);
        std::swap(n->message, s->message);
        p->flags |= PathFlag::NeedsUpdate;
        applyNodeSelection(w, n, wantSelected);
    }
    // Swapped numbers put the chain back in number order (reversing a path reorders it).
    for (PathRecord* p = w->paths; p; p = p->next) {
        if (!(p->flags & PathFlag::NeedsUpdate)) continue;
        sortPathNodes(p);
        p->handle->update();
    }
}

// ---- Selection after applying -------------------------------------------------------------------

void finishApply(MapWorld* w) {
    if (!toolActive(ToolId::Texture, false)) {
        Selection_Clear(w->selectedFaces);
        Map_UpdateSelectionSummary(w);
    }
    Map_DeselectHidden(w);
    Map_UpdateSelectionSummary(w);
}

// Undo and redo run the same steps with the created and deleted lists in opposite roles; only
// the changed faces move: first among the exchanges on undo, last on redo.
void applyLevel(UndoHistory* h, UndoLevel* level, bool undo) {
    MapWorld* w = h ? Map_FromHandle(h->world) : nullptr;
    if (!w || !level) return;
    using C = UndoChange;
    constexpr int ch = int(C::Changed);
    const int restore = int(undo ? C::Deleted : C::Created);
    const int remove = int(undo ? C::Created : C::Deleted);
    const cUndoPriorSelection prior(w);
    Map_SelectNone(w);
    restoreGroups(w, level->groups[restore]);
    UndoApply_RestoreEntitiesAndBrushes(w, level->entities[restore], level->brushes[restore]);
    restorePathsAndNodes(w, level->paths[restore], level->nodes[restore]);
    if (undo) UndoApply_SwapFaces(w, level->changedFaces, prior);
    UndoApply_SwapEntities(w, level->entities[ch], prior);
    UndoApply_SwapBrushes(w, level->brushes[ch], prior);
    UndoApply_SelectBrushesOfSelectedEntities(w);
    swapPaths(w, level->paths[ch]);
    swapNodes(w, level->nodes[ch], prior);
    swapGroups(w, level->groups[ch], prior);
    if (!undo) UndoApply_SwapFaces(w, level->changedFaces, prior);
    removePathsAndNodes(w, level->paths[remove], level->nodes[remove]);
    UndoApply_RemoveEntitiesAndBrushes(w, level->entities[remove], level->brushes[remove]);
    removeGroups(w, level->groups[remove]);
    finishApply(w);
}

} // namespace

void Undo_Undo(UndoHistory* h, UndoLevel* level) {
    applyLevel(h, level, true);
}

void Undo_Redo(UndoHistory* h, UndoLevel* level) {
    applyLevel(h, level, false);
}
