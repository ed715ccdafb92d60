#include "document/PathOperations.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "core/SysHost.h"
#include "core/System.h"
#include "document/MapDocument.h"
#include "document/MapSelection.h"
#include "document/MapWorld.h"
#include "document/MapWorldEntities.h"
#include "document/OperationSupport.h"
#include "document/SelectionSummary.h"
#include "document/UndoHistory.h"
#include "gamedata/EntityClass.h"
#include "map/EPair.h"
#include "map/MapEntity.h"
#include "map/MapPath.h"
#include "core/MainSettings.h"

namespace {

bool validAxis(int32_t axis) {
    return axis >= 0 && axis <= 2;
}

float gridStep() {
    return float(Sys_Settings().CurrentGridSize);
}

bool hasName(const NodeRecord* node) {
    return node && node->name && node->name[0];
}

const char* pathName(const PathRecord* path) {
    return path->name ? path->name : "";
}

std::string indexedName(const PathRecord* path, int32_t index) {
    return std::string(pathName(path)) + "_" + std::to_string(index);
}

// The name a circular path's last node (or the walk back) leads to.
std::string firstNodeName(const PathRecord* path) {
    return hasName(path->firstNode) ? std::string(path->firstNode->name) : std::string(pathName(path));
}

void setKey(cMapEntity* entity, const char* key, const char* value) {
    if (!entity->setKeyValue(key, value)) entity->appendKeyValue(key, value);
}

// A copied node may already hold the key: two of them would export twice, so the new one wins alone.
void putKeyAtHead(cMapEntity* entity, const char* key, const std::string& value) {
    entity->removeKey(key);
    entity->prependKeyValue(key, value.c_str());
}

// The path all selected nodes belong to; null (with the warning) when they span several paths,
// or quietly when none is selected.
PathRecord* singleSelectedPath(MapWorld* world) {
    NodeRecord* head = world ? world->selectedNodes : nullptr;
    if (!head) return nullptr;
    for (const NodeRecord* n = head->selNext; n; n = n->selNext)
        if (n->path != head->path) {
            Map_OpWarn("More than one path selected!", true);
            return nullptr;
        }
    return head->path;
}

NodeRecord* lastOf(NodeRecord* node) {
    while (node && node->next)
        node = node->next;
    return node;
}

// Path order of the sort: serials are fixed for the life of a path.
bool sortsBefore(const NodeRecord* a, const NodeRecord* b) {
    const int32_t pa = a->path ? a->path->serial : 0;
    const int32_t pb = b->path ? b->path->serial : 0;
    if (pa != pb) return pa < pb;
    return a->number > b->number;
}

} // namespace

// ---- Deleting --------------------------------------------------------------------------------------

void Map_DeletePath(MapWorld* world, PathRecord* path, bool withUndo) {
    if (!world || !path) return;
    UndoHistory* history = withUndo ? Map_OpHistory(world) : nullptr;
    if (history) Undo_BeginLevel(history, "Delete Path");
    for (NodeRecord* n = path->firstNode; n; n = n->next) {
        if (history) Undo_SaveNode(history, n, UndoList::DeletedNodes);
        Map_DeselectObject(world, n);
        Map_FreeObjectId(world, n->handle);
    }
    if (history) {
        Undo_SavePath(history, path, UndoList::DeletedPaths);
        Undo_EndLevel(history);
    }
    Map_UnlinkPath(world, path);
    delete path->handle;
    Map_OpFinish(world, true);
}

void Map_DeleteSelectedNodes(MapWorld* world) {
    if (!world) return;
    UndoHistory* history = Map_OpHistory(world);
    Undo_BeginLevel(history, "Delete Selection");
    // Undo puts the nodes back one by one, shifting the numbers behind each: that only rebuilds
    // the chain when the lowest number of a path comes back first, which this order gives.
    world->selectedNodes = Map_SortNodes(world->selectedNodes);
    Undo_SaveSelectedNodesDeleted(history);

    NodeRecord* chain = world->selectedNodes;
    world->selectedNodes = nullptr;
    while (NodeRecord* n = chain) {
        chain = n->selNext;
        n->selNext = n->selPrev = nullptr;
        n->flags &= ~NodeFlag::Selected;
        PathRecord* path = n->path;
        Map_FreeObjectId(world, n->handle);
        if (path) {
            path->flags |= PathFlag::NeedsUpdate;
            List_Remove(path->firstNode, &path->lastNode, n);
        }
        delete n->handle;
    }
    for (PathRecord* path = world->paths; path;) {
        PathRecord* next = path->next;
        if (path->flags & PathFlag::NeedsUpdate) {
            if (path->firstNode) {
                path->handle->renumber();
            } else {
                Undo_SavePath(history, path, UndoList::DeletedPaths);
                Map_UnlinkPath(world, path);
                delete path->handle;
            }
        }
        path = next;
    }
    Undo_EndLevel(history);
    Map_OpFinish(world, true);
}

// ---- Adding, reversing -----------------------------------------------------------------------------

void Map_AddPathNodes(MapWorld* world, int32_t axisA, int32_t axisB) {
    if (!world) return;
    if (!validAxis(axisA) || !validAxis(axisB)) {
        Sys_Error("Map_AddPathNodes: invalid axes %d %d", axisA, axisB);
        return;
    }
    UndoHistory* history = Map_OpHistory(world);
    Undo_BeginLevel(history, "Add Nodes");
    const float grid = gridStep();
    std::vector<NodeRecord*> made;
    for (NodeRecord* n = world->selectedNodes; n; n = n->selNext) {
        NodeRecord* fresh = Node_InsertBefore(Map_Handle(world), n);
        if (!fresh) continue;
        for (int i = 0; i < 3; ++i)
            fresh->origin[i] = n->origin[i];
        fresh->origin[axisA] += grid;
        fresh->origin[axisB] += grid;
        Sys_SnapToGrid(fresh->origin);
        made.push_back(fresh);
    }
    Selection_Clear(world->selectedNodes);
    Map_UpdateSelectionSummary(world);
    for (NodeRecord* n : made)
        Map_SelectObject(world, n);
    // Sorted for the created snapshots: redo puts them back lowest number first.
    if (made.size() >= 2) world->selectedNodes = Map_SortNodes(world->selectedNodes);
    if (history && history->recording) Undo_SaveSelectedNodesCreated(history);
    Map_UpdateSelectionSummary(world);
    Undo_EndLevel(history);
    Map_OpFinish(world, false);
}

void Map_ReversePath(MapWorld* world, PathRecord* path) {
    if (!world || !path || !path->firstNode || !path->firstNode->next) return;
    UndoHistory* history = Map_OpHistory(world);
    Undo_BeginLevel(history, "Reverse Path");
    for (NodeRecord* n = path->firstNode; n; n = n->next)
        Undo_SaveNode(history, n, UndoList::ChangedNodes);
    Undo_EndLevel(history);
    path->handle->reverse();
    Map_OpFinish(world, false);
}

// ---- Splitting and merging ---------------------------------------------------------------------------

bool Map_SplitPath(MapWorld* world, NodeRecord* node, int32_t axisA, int32_t axisB) {
    if (!world || !node || !node->path) return false;
    if (!validAxis(axisA) || !validAxis(axisB)) {
        Sys_Error("Map_SplitPath: invalid axes %d %d", axisA, axisB);
        return false;
    }
    // Splitting behind the last node would make a path of nothing but the copy.
    if (!node->next) return false;
    PathRecord* path = node->path;
    UndoHistory* history = Map_OpHistory(world);
    Undo_BeginLevel(history, "Split Path");
    for (NodeRecord* n = node; n; n = n->next)
        Undo_SaveNode(history, n, UndoList::ChangedNodes);

    NodeRecord* rest = node->next;
    node->next = nullptr;
    rest->prev = nullptr;
    path->lastNode = node;
    path->handle->renumber();

    PathRecord* split = Path_Alloc();
    Map_LinkPath(world, split);
    split->className = path->className ? Sys_StrDup(path->className) : nullptr;
    split->name = Sys_StrDup((std::string(pathName(path)) + "_s").c_str());
    split->type = path->type;
    split->firstNode = rest;
    split->lastNode = lastOf(rest);
    for (NodeRecord* n = rest; n; n = n->next)
        n->path = split;

    NodeRecord* lead = Node_InsertBefore(Map_Handle(world), rest);
    const float grid = gridStep();
    for (int i = 0; i < 3; ++i) {
        lead->origin[i] = node->origin[i];
        lead->angles[i] = node->angles[i];
    }
    lead->origin[axisA] += grid;
    lead->origin[axisB] += grid;
    lead->flags = node->flags & ~NodeFlag::Selected;
    lead->epairs = EPair_CopyList(node->epairs);

    split->handle->renumber();
    split->handle->update();
    Undo_SavePath(history, split, UndoList::CreatedPaths);
    Undo_SaveNode(history, lead, UndoList::CreatedNodes);
    Undo_EndLevel(history);
    Map_OpFinish(world, false);
    return true;
}

bool Map_MergePaths(MapWorld* world, NodeRecord* first, NodeRecord* last) {
    if (!world || !first || !last || !first->path || !last->path) return false;
    PathRecord* from = first->path;
    PathRecord* into = last->path;
    if (from == into || from->firstNode != first || into->lastNode != last || !first->next) {
        Sys_Warning("Map_MergePaths: the nodes must lead a path of two or more nodes and end another");
        return false;
    }
    UndoHistory* history = Map_OpHistory(world);
    Undo_BeginLevel(history, "Merge Paths");
    for (NodeRecord* n = from->firstNode; n; n = n->next)
        Undo_SaveNode(history, n, n == first ? UndoList::DeletedNodes : UndoList::ChangedNodes);
    for (NodeRecord* n = into->firstNode; n; n = n->next)
        Undo_SaveNode(history, n, UndoList::ChangedNodes);
    Undo_SavePath(history, from, UndoList::DeletedPaths);
    Undo_EndLevel(history);

    // The moved nodes stay the same objects: they keep their ids (fresh ids would leave the
    // former ones marked used for good).
    NodeRecord* moving = first->next;
    first->next = nullptr;
    from->lastNode = first;
    while (NodeRecord* n = moving) {
        moving = n->next;
        List_Append(into->firstNode, into->lastNode, n);
        n->path = into;
    }
    into->handle->renumber();
    into->handle->update();

    Map_DeselectObject(world, first);
    Map_FreeObjectId(world, first->handle);
    from->firstNode = from->lastNode = nullptr;
    delete first->handle;
    Map_UnlinkPath(world, from);
    delete from->handle;
    Map_OpFinish(world, false);
    return true;
}

// ---- Converting ----------------------------------------------------------------------------------------

EntityRecord* Map_EntityFromPathNode(MapWorld* world, NodeRecord* node, int32_t index, bool backward) {
    if (!world || !node || !node->path) return nullptr;
    const PathRecord* path = node->path;
    EntityRecord* e = Entity_Alloc(path->className, node->origin, EntityFlag::Point);
    if (!e) return nullptr;
    Map_LinkEntity(world, e);
    e->serial = Map_NextSerial(world, SerialKind::Entity);
    cMapEntity* entity = e->handle;
    entity->refreshKeyNames(false);

    e->epairs = EPair_CopyList(node->epairs);
    if (node->message && node->message[0]) {
        setKey(entity, "message", node->message);
        Map_MarkModified(Map_Handle(world));
    }

    if (node->angles[0] != 0.0f || node->angles[1] != 0.0f || node->angles[2] != 0.0f) {
        int32_t whole[3];
        for (int i = 0; i < 3; ++i) {
            whole[i] = int32_t(std::floor(node->angles[i]));
            e->angles[i] = float(whole[i]);
        }
        char text[48];
        std::snprintf(text, sizeof text, "%i %i %i", whole[0], whole[1], whole[2]);
        setKey(entity, entity->keyName(KEY_ANGLES), text);
    }

    bool hasTarget = true;
    std::string target;
    std::string targetname;
    if (backward) {
        target = node->prev && node->prev->prev ? indexedName(path, index + 1) : firstNodeName(path);
        targetname = indexedName(path, index);
    } else {
        if (const NodeRecord* successor = node->next) {
            if (hasName(successor))
                target = successor->name;
            else
                target =
                    hasName(node) && index != 0 ? indexedName(path, index) : indexedName(path, index + 1);
        } else if (path->type == PathType::Circular) {
            target = firstNodeName(path);
        } else if (path->type == PathType::PingPong && node->prev) {
            target = indexedName(path, index + 1);
        } else {
            hasTarget = false;
        }
        if (hasName(node))
            targetname = node->name;
        else
            targetname = index != 0 ? indexedName(path, index) : std::string(pathName(path));
    }
    if (hasTarget) putKeyAtHead(entity, entity->keyName(KEY_TARGET), target);
    putKeyAtHead(entity, entity->keyName(KEY_TARGETNAME), targetname);

    entity->applyClassKeys(true);
    entity->update(EntityUpdate::RenderKeys | EntityUpdate::ModelKeys);
    return e;
}

bool Map_ConvertPath(MapWorld* world, PathRecord* path) {
    if (!world || !path) return false;
    UndoHistory* history = Map_OpHistory(world);
    Undo_BeginLevel(history, "Convert Path");
    int32_t index = 0;
    for (NodeRecord* n = path->firstNode; n; n = n->next) {
        Undo_SaveNode(history, n, UndoList::DeletedNodes);
        if (EntityRecord* e = Map_EntityFromPathNode(world, n, index, false))
            Undo_SaveEntity(history, e, UndoList::CreatedEntities);
        if (n == path->firstNode || !hasName(n)) ++index;
    }
    if (path->type == PathType::PingPong && path->lastNode) {
        for (NodeRecord* n = path->lastNode->prev; n && n != path->firstNode; n = n->prev) {
            if (EntityRecord* e = Map_EntityFromPathNode(world, n, index, true))
                Undo_SaveEntity(history, e, UndoList::CreatedEntities);
            ++index;
        }
    }
    Undo_SavePath(history, path, UndoList::DeletedPaths);
    Undo_EndLevel(history);
    Map_DeletePath(world, path, false);
    return true;
}

// ---- Sorting -------------------------------------------------------------------------------------------

NodeRecord* Map_SortNodes(NodeRecord* chain) {
    // Node_SortChain asks whether the later half's head goes first.
    return Node_SortChain(chain, NodeLinks::Selection,
                          [](const NodeRecord* a, const NodeRecord* b) { return sortsBefore(b, a); });
}

// ---- Commands ------------------------------------------------------------------------------------------

namespace {
constexpr int32_t kAllViews = ViewMask::Views2D | ViewMask::View3D;
} // namespace

bool Map_CmdDeletePath(MapWorld* world) {
    PathRecord* path = singleSelectedPath(world);
    if (!path) return false;
    Map_DeletePath(world, path, true);
    Map_OpRedraw(world, kAllViews);
    return true;
}

bool Map_CmdAddNodes(MapWorld* world, int32_t axisA, int32_t axisB) {
    if (!world || !world->selectedNodes) return false;
    Map_AddPathNodes(world, axisA, axisB);
    Map_OpRedraw(world, kAllViews);
    return true;
}

bool Map_CmdSplitPath(MapWorld* world, int32_t axisA, int32_t axisB) {
    if (!world) return false;
    NodeRecord* node = world->selectedNodes;
    if (!node || node->selNext) {
        Map_OpWarn("You must have a single path node selected!", true);
        return false;
    }
    // The node is let go first: a refused split leaves nothing selected either.
    Map_DeselectNodes(world);
    Map_UpdateSelectionSummary(world);
    if (!node->next) {
        Map_OpWarn("Can't split at terminal node!", true);
        return false;
    }
    if (!Map_SplitPath(world, node, axisA, axisB)) return false;
    Map_OpRedraw(world, kAllViews);
    return true;
}

bool Map_CmdMergePaths(MapWorld* world) {
    if (!world) return false;
    NodeRecord* a = world->selectedNodes;
    NodeRecord* b = a ? a->selNext : nullptr;
    if (!a || !b || b->selNext) {
        Map_OpWarn("You must have exactly two nodes selected!", true);
        return false;
    }
    if (a->path == b->path) {
        Map_OpWarn("Selected nodes must belong to different paths!", true);
        return false;
    }
    NodeRecord* first = nullptr;
    NodeRecord* last = nullptr;
    if (a == a->path->firstNode && b == b->path->lastNode) {
        first = a;
        last = b;
    } else if (b == b->path->firstNode && a == a->path->lastNode) {
        first = b;
        last = a;
    } else {
        Map_OpWarn("Please select two terminal nodes!", true);
        return false;
    }
    if (!first->next) {
        Map_OpWarn("Too few nodes in a path (must be at least 2)!", true);
        return false;
    }
    Map_DeselectNodes(world);
    if (!Map_MergePaths(world, first, last)) return false;
    Map_OpRedraw(world, kAllViews);
    return true;
}

bool Map_CmdReversePath(MapWorld* world) {
    PathRecord* path = singleSelectedPath(world);
    if (!path) return false;
    Map_ReversePath(world, path);
    Map_OpRedraw(world, kAllViews);
    return true;
}

bool Map_CmdConvertPath(MapWorld* world) {
    PathRecord* path = singleSelectedPath(world);
    if (!path || !Map_ConvertPath(world, path)) return false;
    Map_OpRedraw(world, kAllViews);
    return true;
}
