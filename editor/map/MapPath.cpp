#include "map/MapPath.h"
#include "map/MapFace.h"

#include <cmath>
#include <cstring>

#include "core/System.h"
#include "gamedata/EntityClass.h"
#include "gamedata/GameData.h"
#include "kstdlib/kmath.h"
#include "map/WorldHooks.h"

namespace {

char* dupOrNull(const char* text) {
    return text ? Sys_StrDup(text) : nullptr;
}

MapHandle mapOf(const PathRecord* path) {
    return path && World_Hooks(path->owner) ? path->owner : nullptr;
}

NodeRecord* newLinkedNode(MapHandle map, PathRecord* path) {
    NodeRecord* node = Node_Alloc();
    if (World_Hooks(map)) {
        node->handle->id = World_AllocId(map);
        node->serial = World_NextSerial(map, SerialKind::Node);
    }
    node->path = path;
    return node;
}

} // namespace

// ---- Paths ---------------------------------------------------------------------------------------------

cMapPath::cMapPath()
    : cMapObject(MapObjectKind::Path, sizeof(PathRecord)),
      record(static_cast<PathRecord*>(cMapObject::record())) {
    displayColor = kObjectColorBlack;
}

cMapPath::~cMapPath() {
    Sys_Free(record->name);
    Sys_Free(record->className);
    record->name = record->className = nullptr;
    for (NodeRecord* node = record->firstNode; node;) {
        NodeRecord* next = node->next;
        delete node->handle;
        node = next;
    }
    record->firstNode = record->lastNode = nullptr;
}

int32_t cMapPath::nodeCount() const {
    int32_t count = 0;
    for (const NodeRecord* n = record->firstNode; n; n = n->next)
        ++count;
    return count;
}

void cMapPath::renumber() {
    int32_t number = 1;
    for (NodeRecord* n = record->firstNode; n; n = n->next)
        n->number = number++;
    record->flags |= PathFlag::NeedsUpdate;
}

void cMapPath::update() {
    displayColor = kPathDefaultColor;
    if (const MapHandle map = mapOf(record); map && record->className) {
        if (const EntityClass* eclass =
                Fgd_FindClassInConfig(World_GameConfig(map), record->className, ClassSelector::Point)) {
            const uint8_t* rgba = eclass->color;
            displayColor = Color_FromBytes(rgba[0], rgba[1], rgba[2], rgba[3]);
        }
    }
    K_ClearBounds(record->mins, record->maxs);
    for (NodeRecord* n = record->firstNode; n; n = n->next) {
        n->handle->displayColor = displayColor;
        float lo[3], hi[3];
        for (int i = 0; i < 3; ++i) {
            lo[i] = n->origin[i] - 8.0f;
            hi[i] = n->origin[i] + 8.0f;
        }
        K_AddPointToBounds(lo, record->mins, record->maxs);
        K_AddPointToBounds(hi, record->mins, record->maxs);
    }
    record->flags &= ~PathFlag::NeedsUpdate;
}

void cMapPath::reverse() {
    NodeRecord* first = record->firstNode;
    if (!first || !first->next) return;
    if (record->type == PathType::Circular) {
        // The first node stays; the rest turns round behind it.
        if (!first->next->next) return;
        NodeRecord* restFirst = first->next;
        NodeRecord* restLast = record->lastNode;
        for (NodeRecord* n = restFirst; n;) {
            NodeRecord* next = n->next;
            std::swap(n->next, n->prev);
            n = next;
        }
        first->next = restLast;
        restLast->prev = first;
        restFirst->next = nullptr;
        record->lastNode = restFirst;
    } else {
        for (NodeRecord* n = first; n;) {
            NodeRecord* next = n->next;
            std::swap(n->next, n->prev);
            n = next;
        }
        std::swap(record->firstNode, record->lastNode);
    }
    renumber();
}

PathRecord* Path_Alloc() {
    return (new cMapPath)->record;
}

PathRecord* Path_Create(MapHandle map) {
    PathRecord* path = Path_Alloc();
    World_Link(map, path);
    return path;
}

void Path_Delete(PathRecord* path) {
    cMapPath* handle = cMapPath::fromRecord(path);
    if (!handle) return;
    if (const MapHandle map = mapOf(path)) {
        World_Unlink(map, path);
        // Each node's id goes back to the world, or deletions would leak ids towards the limit.
        for (NodeRecord* n = path->firstNode; n; n = n->next)
            World_FreeId(map, n->handle);
    }
    delete handle;
}

PathRecord* Path_CreateFromSnapshot(const PathSnapshot* snapshot) {
    if (!snapshot) return nullptr;
    PathRecord* path = Path_Alloc();
    path->serial = snapshot->serial;
    path->type = snapshot->type;
    path->name = dupOrNull(snapshot->name);
    path->className = dupOrNull(snapshot->className);
    path->flags = snapshot->flags | PathFlag::NeedsUpdate;
    return path;
}

// ---- Nodes ---------------------------------------------------------------------------------------------

cMapNode::cMapNode()
    : cMapDrawable(MapObjectKind::Node, sizeof(NodeRecord)),
      record(static_cast<NodeRecord*>(cMapObject::record())) {
    displayColor = kObjectColorBlack;
}

cMapNode::~cMapNode() {
    EPair_FreeList(&record->epairs);
    Sys_Free(record->name);
    Sys_Free(record->message);
    record->name = record->message = nullptr;
}

void cMapNode::markModified() const {
    if (record->path) World_MarkModified(record->path->owner);
}

EPair* cMapNode::setKeyValue(const char* key, const char* value) {
    EPair* pair = EPair_Find(record->epairs, key);
    if (!pair) return nullptr;
    const bool same =
        (pair->value && value && std::strcmp(pair->value, value) == 0) || (!pair->value && !value);
    if (!same) {
        markModified();
        EPair_SetValue(pair, value);
    }
    return pair;
}

EPair* cMapNode::appendKeyValue(const char* key, const char* value) {
    markModified();
    return EPair_Append(&record->epairs, key, value);
}

void cMapNode::removeKey(const char* key) {
    if (EPair_RemoveKey(&record->epairs, key) > 0) markModified();
}

bool cMapNode::isVisible(const float (*planes)[4], int32_t planeCount) const {
    for (int32_t i = 0; i < planeCount; ++i) {
        const float* p = planes[i];
        if (p[0] * record->origin[0] + p[1] * record->origin[1] + p[2] * record->origin[2] - p[3] < -8.0f)
            return false;
    }
    return true;
}

NodeRecord* Node_Alloc() {
    return (new cMapNode)->record;
}

NodeRecord* Node_Append(MapHandle map, PathRecord* path) {
    if (!path) return nullptr;
    NodeRecord* node = newLinkedNode(map, path);
    List_Append(path->firstNode, path->lastNode, node);
    path->handle->renumber();
    return node;
}

NodeRecord* Node_InsertBefore(MapHandle map, NodeRecord* before) {
    if (!before || !before->path) return nullptr;
    PathRecord* path = before->path;
    NodeRecord* node = newLinkedNode(map, path);
    node->next = before;
    node->prev = before->prev;
    if (before->prev)
        before->prev->next = node;
    else
        path->firstNode = node;
    before->prev = node;
    path->handle->renumber();
    return node;
}

void Node_Delete(NodeRecord* node) {
    cMapNode* handle = cMapNode::fromRecord(node);
    if (!handle) return;
    if (PathRecord* path = node->path) {
        if (const MapHandle map = mapOf(path)) {
            World_Deselect(map, node);
            World_FreeId(map, handle);
        }
        List_Remove(path->firstNode, &path->lastNode, node);
        path->handle->renumber();
    }
    delete handle;
}

NodeRecord* Node_CreateFromSnapshot(const NodeSnapshot* snapshot) {
    if (!snapshot) return nullptr;
    NodeRecord* node = Node_Alloc();
    node->serial = snapshot->serial;
    std::memcpy(node->origin, snapshot->origin, sizeof node->origin);
    std::memcpy(node->angles, snapshot->angles, sizeof node->angles);
    node->name = dupOrNull(snapshot->name);
    node->message = dupOrNull(snapshot->message);
    node->epairs = EPair_CopyList(snapshot->epairs);
    node->flags = snapshot->flags;
    node->number = snapshot->number;
    return node;
}

// ---- Sorting and arrows --------------------------------------------------------------------------------

namespace {

struct NodeLinkMembers {
    NodeRecord* NodeRecord::*next;
    NodeRecord* NodeRecord::*prev;
};

NodeRecord* sortChain(NodeRecord* first, const NodeLinkMembers& link,
                      bool (*secondFirst)(const NodeRecord*, const NodeRecord*)) {
    if (!first || !(first->*link.next)) return first;
    NodeRecord* slow = first;
    for (NodeRecord* fast = first->*link.next; fast && fast->*link.next;
         fast = (fast->*link.next)->*link.next)
        slow = slow->*link.next;
    NodeRecord* second = slow->*link.next;
    slow->*link.next = nullptr;
    NodeRecord* a = sortChain(first, link, secondFirst);
    NodeRecord* b = sortChain(second, link, secondFirst);
    NodeRecord* head = nullptr;
    NodeRecord* tail = nullptr;
    while (a || b) {
        NodeRecord*& from = (a && (!b || !secondFirst(a, b))) ? a : b;
        NodeRecord* take = from;
        from = take->*link.next;
        take->*link.prev = tail;
        take->*link.next = nullptr;
        if (tail)
            tail->*link.next = take;
        else
            head = take;
        tail = take;
    }
    return head;
}

} // namespace

NodeRecord* Node_SortChain(NodeRecord* first, NodeLinks links,
                           bool (*secondFirst)(const NodeRecord* a, const NodeRecord* b)) {
    const NodeLinkMembers members = links == NodeLinks::Path
                                        ? NodeLinkMembers{&NodeRecord::next, &NodeRecord::prev}
                                        : NodeLinkMembers{&NodeRecord::selNext, &NodeRecord::selPrev};
    return sortChain(first, members, secondFirst);
}

NodeRecord* Path_SortNodes(NodeRecord* first) {
    return Node_SortChain(first, NodeLinks::Path,
                          [](const NodeRecord* a, const NodeRecord* b) { return b->number <= a->number; });
}

int32_t Path_SegmentArrows(float length, int32_t type, int32_t segment, PathArrow* out, int32_t capacity) {
    if (!(length > 0.0f) || !std::isfinite(length)) return 0;
    const float spacing = type == PathType::PingPong ? 128.0f : 256.0f;
    // Far more heads than any view could show means a broken coordinate: cap it.
    const int32_t n = static_cast<int32_t>(std::fmin(length / spacing, 65536.0f)) + 1;
    bool forward = type != PathType::PingPong || segment % 2 == 0;
    for (int32_t k = 0; k < n; ++k) {
        if (out && k < capacity) out[k] = {(2.0f * k + 1.0f) * length / (2.0f * n), forward};
        if (type == PathType::PingPong) forward = !forward;
    }
    return n;
}

const NodeSphereMesh& Node_BuildSphereMesh() {
    static const NodeSphereMesh mesh = [] {
        NodeSphereMesh m{};
        for (int32_t i = 0; i <= 12; ++i)
            for (int32_t j = 0; j <= 12; ++j) {
                const float a = float(i) * 0.2617994f;
                const float b = float(j) * 0.5235988f;
                const float dir[3] = {std::cos(b) * std::sin(a), std::sin(b) * std::sin(a), std::cos(a)};
                const int32_t index = 13 * i + j;
                for (int k = 0; k < 3; ++k)
                    m.points[index][k] = 8.0f * dir[k];
                m.shades[index] = Mesh_ShadeForNormal(dir);
            }
        for (int32_t k = 0; k < 12; ++k)
            for (int32_t l = 0; l < 12; ++l) {
                const uint16_t base = uint16_t(13 * k + l);
                uint16_t* quad = m.quads[12 * k + l];
                quad[0] = uint16_t(base + 1);
                quad[1] = base;
                quad[2] = uint16_t(base + 13);
                quad[3] = uint16_t(base + 14);
            }
        return m;
    }();
    return mesh;
}
