#include "document/CullTree.h"

#include <algorithm>

#include "document/MapWorld.h"
#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/ObjectRecords.h"

namespace {

CullItem* allocItem(CullTree* tree, int32_t kind, void* object) {
    CullItem* item = tree->freeItems;
    if (item)
        tree->freeItems = item->next;
    else
        item = new CullItem{};
    item->kind = kind;
    item->object = object;
    item->next = nullptr;
    return item;
}

void releaseItem(CullTree* tree, CullItem* item) {
    item->kind = CullKind::Free;
    item->object = nullptr;
    item->next = tree->freeItems;
    tree->freeItems = item;
}

void pushItem(CullNode* node, CullItem* item) {
    item->next = node->items;
    node->items = item;
    ++node->itemCount;
}

void itemVolume(const CullItem* item, float mins[3], float maxs[3]) {
    if (item->kind == CullKind::Entity)
        Cull_TestVolume(static_cast<const EntityRecord*>(item->object), mins, maxs);
    else
        Cull_TestVolume(static_cast<const BrushRecord*>(item->object), mins, maxs);
}

// Unlinks the object's item from a singly linked item list; returns it or null.
CullItem* unlinkFromList(CullItem*& head, const void* object) {
    for (CullItem** link = &head; *link; link = &(*link)->next) {
        if ((*link)->object == object) {
            CullItem* item = *link;
            *link = item->next;
            item->next = nullptr;
            return item;
        }
    }
    return nullptr;
}

bool listHolds(const CullItem* head, const void* object) {
    for (; head; head = head->next)
        if (head->object == object) return true;
    return false;
}

float worldHalfSize() {
    int32_t size = Sys_Settings().MaxWorldSize;
    if (size <= 0) size = MainSettings{}.MaxWorldSize; // a broken setting must not invert the root
    return float(size) * 0.5f;
}

// Puts the object in the leaves its volume touches and out of the others. Outside objects are
// handled by the caller at the root.
void refile(CullTree* tree, CullNode* node, int32_t kind, void* object, const float mins[3],
            const float maxs[3]) {
    if (!node->isLeaf()) {
        for (CullNode* child : node->children)
            refile(tree, child, kind, object, mins, maxs);
        return;
    }
    if (!Cull_BoxTouchesNode(node, mins, maxs)) {
        Cull_RemoveFromLeaf(node, tree, object);
        return;
    }
    if (Cull_FindItem(node, object)) return;
    pushItem(node, allocItem(tree, kind, object));
    if (node->itemCount >= kCullSplitItems) Cull_Split(tree, node);
}

void updateObject(CullTree* tree, CullNode* node, int32_t kind, void* object) {
    if (!tree || !node || !object) return;
    float mins[3], maxs[3];
    if (kind == CullKind::Entity)
        Cull_TestVolume(static_cast<const EntityRecord*>(object), mins, maxs);
    else
        Cull_TestVolume(static_cast<const BrushRecord*>(object), mins, maxs);
    if (node == tree->root) {
        const bool outside = !Cull_BoxTouchesNode(node, mins, maxs);
        if (outside && !listHolds(tree->outside, object)) {
            CullItem* item = allocItem(tree, kind, object);
            item->next = tree->outside;
            tree->outside = item;
        } else if (!outside) {
            if (CullItem* item = unlinkFromList(tree->outside, object)) releaseItem(tree, item);
        }
    }
    refile(tree, node, kind, object, mins, maxs);
}

// Files a new object at the root during a build: no duplicate check, every object comes once.
void addAtBuild(CullTree* tree, int32_t kind, void* object) {
    CullItem* item = allocItem(tree, kind, object);
    float mins[3], maxs[3];
    itemVolume(item, mins, maxs);
    if (Cull_BoxTouchesNode(tree->root, mins, maxs)) {
        pushItem(tree->root, item);
    } else {
        item->next = tree->outside;
        tree->outside = item;
    }
}

void clearStamps(CullNode* node) {
    node->frameStamp = 0;
    for (CullItem* item = node->items; item; item = item->next) {
        if (item->kind == CullKind::Entity)
            static_cast<EntityRecord*>(item->object)->frameStamp = 0;
        else
            static_cast<BrushRecord*>(item->object)->frameStamp = 0;
    }
    if (!node->isLeaf())
        for (CullNode* child : node->children)
            clearStamps(child);
}

bool isBrushEntity(const EntityRecord* entity) {
    return !(entity->flags & EntityFlag::Point);
}

void drawItems(CullTree* tree, CullItem* items, cCullVisitor* visitor, uint32_t passFlags) {
    const uint32_t frame = tree->frame;
    const bool selectionPass = passFlags & CullPass::SelectionPass;
    for (CullItem* item = items; item; item = item->next) {
        if (item->kind == CullKind::Entity) {
            auto* entity = static_cast<EntityRecord*>(item->object);
            // In the selection pass a brush entity is asked again: its selected brushes were
            // left out of the normal pass and carry their own stamps.
            if ((uint32_t(entity->frameStamp) != frame || (selectionPass && isBrushEntity(entity))) &&
                visitor->drawEntity(entity, passFlags))
                entity->frameStamp = int32_t(frame);
        } else if (item->kind == CullKind::Brush) {
            auto* brush = static_cast<BrushRecord*>(item->object);
            if (uint32_t(brush->frameStamp) != frame && visitor->drawBrush(brush, passFlags))
                brush->frameStamp = int32_t(frame);
        }
    }
}

void walk(CullTree* tree, CullNode* node, cCullVisitor* visitor, uint32_t passFlags, int32_t planeMask) {
    if (passFlags & CullPass::SelectionPass) {
        if (node->frameStamp != tree->frame) return;
    } else if (!(passFlags & CullPass::Inside)) {
        if (planeMask == 0) return;
        const CullResult result = visitor->testBox(node->mins, node->maxs, &planeMask);
        if (result == CullResult::Outside) return;
        if (result == CullResult::Inside) passFlags |= CullPass::Inside;
    }
    node->frameStamp = tree->frame;
    if (!node->isLeaf()) {
        const bool selectionPass = passFlags & CullPass::SelectionPass;
        for (CullNode* child : node->children) {
            if (child->isLeaf() && !child->items) continue;
            if (selectionPass && child->frameStamp != tree->frame) continue;
            walk(tree, child, visitor, passFlags, planeMask);
        }
    }
    Cull_DrawLeaf(tree, node, visitor, passFlags);
}

} // namespace

// ---- World level -------------------------------------------------------------------------------

CullTree* Cull_TreeOf(const MapWorld* world) {
    return world ? static_cast<CullTree*>(world->cullTree) : nullptr;
}

void Map_CreateCullTree(MapWorld* world) {
    if (!world) return;
    CullTree* tree = Cull_TreeOf(world);
    if (!tree) {
        tree = new CullTree{};
        tree->map = Map_Handle(world);
        world->cullTree = tree;
    }
    Cull_Build(tree);
}

void Map_FreeCullTree(MapWorld* world) {
    CullTree* tree = Cull_TreeOf(world);
    if (!tree) return;
    Cull_Clear(tree);
    while (CullItem* item = tree->freeItems) {
        tree->freeItems = item->next;
        delete item;
    }
    delete tree;
    world->cullTree = nullptr;
}

void Cull_UpdateWorldBrush(MapWorld* world, BrushRecord* brush) {
    CullTree* tree = Cull_TreeOf(world);
    if (!tree || !tree->root || !brush) return;
    if (brush->entity && brush->entity == world->entities)
        Cull_UpdateBrush(tree, tree->root, brush);
    else
        Cull_Remove(tree, tree->root, brush);
}

void Cull_UpdateWorldEntity(MapWorld* world, EntityRecord* entity) {
    CullTree* tree = Cull_TreeOf(world);
    if (!tree || !tree->root || !entity || entity == world->entities) return;
    Cull_UpdateEntity(tree, tree->root, entity);
}

void Cull_RemoveFromWorld(MapWorld* world, const void* object) {
    CullTree* tree = Cull_TreeOf(world);
    if (tree && tree->root && object) Cull_Remove(tree, tree->root, object);
}

// ---- Tree --------------------------------------------------------------------------------------

void Cull_Clear(CullTree* tree) {
    if (!tree) return;
    if (tree->root) Cull_FreeNode(tree, tree->root);
    tree->root = nullptr;
    while (CullItem* item = tree->outside) {
        tree->outside = item->next;
        releaseItem(tree, item);
    }
}

void Cull_Build(CullTree* tree) {
    if (!tree) return;
    Cull_Clear(tree);
    const float h = worldHalfSize();
    tree->root = new CullNode{};
    for (int axis = 0; axis < 3; ++axis) {
        tree->root->mins[axis] = -h;
        tree->root->maxs[axis] = h;
    }
    if (MapWorld* world = Map_FromHandle(tree->map)) {
        EntityRecord* worldEntity = world->entities;
        for (EntityRecord* entity = worldEntity ? worldEntity->next : nullptr; entity; entity = entity->next)
            addAtBuild(tree, CullKind::Entity, entity);
        for (BrushRecord* brush = worldEntity ? worldEntity->firstBrush : nullptr; brush; brush = brush->next)
            addAtBuild(tree, CullKind::Brush, brush);
    }
    Cull_Split(tree, tree->root);
}

void Cull_UpdateBrush(CullTree* tree, CullNode* node, BrushRecord* brush) {
    updateObject(tree, node, CullKind::Brush, brush);
}

void Cull_UpdateEntity(CullTree* tree, CullNode* node, EntityRecord* entity) {
    updateObject(tree, node, CullKind::Entity, entity);
}

void Cull_Remove(CullTree* tree, CullNode* node, const void* object) {
    if (!tree || !node) return;
    if (node == tree->root)
        if (CullItem* item = unlinkFromList(tree->outside, object)) releaseItem(tree, item);
    if (node->isLeaf()) {
        Cull_RemoveFromLeaf(node, tree, object);
        return;
    }
    for (CullNode* child : node->children)
        Cull_Remove(tree, child, object);
}

void Cull_ClearStamps(CullTree* tree) {
    if (!tree) return;
    if (tree->root) clearStamps(tree->root);
    for (CullItem* item = tree->outside; item; item = item->next) {
        if (item->kind == CullKind::Entity)
            static_cast<EntityRecord*>(item->object)->frameStamp = 0;
        else
            static_cast<BrushRecord*>(item->object)->frameStamp = 0;
    }
}

uint32_t Cull_NewFrame(CullTree* tree) {
    if (!tree) return 0;
    if (++tree->frameCounter == 0) {
        // After 2^32 frames old stamps could equal new numbers: start again from clean stamps.
        Cull_ClearStamps(tree);
        tree->frameCounter = 1;
    }
    tree->frame = tree->frameCounter;
    return tree->frame;
}

void Cull_Draw(CullTree* tree, CullNode* node, cCullVisitor* visitor, uint32_t passFlags, int32_t planeMask) {
    if (!tree || !node || !visitor) return;
    walk(tree, node, visitor, passFlags, planeMask);
    if (node == tree->root) drawItems(tree, tree->outside, visitor, passFlags);
}

void Cull_DrawLeaf(CullTree* tree, CullNode* node, cCullVisitor* visitor, uint32_t passFlags) {
    if (tree && node && visitor) drawItems(tree, node->items, visitor, passFlags);
}

void Cull_DrawBoxes(CullTree* tree, CullNode* node, cCullVisitor* visitor) {
    if (!tree || !node || !visitor || node->frameStamp != tree->frame) return;
    visitor->drawNodeBox(node);
    if (!node->isLeaf())
        for (CullNode* child : node->children)
            Cull_DrawBoxes(tree, child, visitor);
}

// ---- Cells and items ---------------------------------------------------------------------------

void Cull_AddBrush(CullNode* node, CullTree* tree, BrushRecord* brush) {
    if (node && tree && brush && !Cull_FindItem(node, brush))
        pushItem(node, allocItem(tree, CullKind::Brush, brush));
}

void Cull_AddEntity(CullNode* node, CullTree* tree, EntityRecord* entity) {
    if (node && tree && entity && !Cull_FindItem(node, entity))
        pushItem(node, allocItem(tree, CullKind::Entity, entity));
}

CullItem* Cull_FindItem(const CullNode* node, const void* object) {
    for (CullItem* item = node ? node->items : nullptr; item; item = item->next)
        if (item->object == object) return item;
    return nullptr;
}

void Cull_RemoveFromLeaf(CullNode* node, CullTree* tree, const void* object) {
    if (!node || !tree) return;
    if (CullItem* item = unlinkFromList(node->items, object)) {
        --node->itemCount;
        releaseItem(tree, item);
    }
}

void Cull_ReleaseItems(CullNode* node, CullTree* tree) {
    if (!node || !tree) return;
    while (CullItem* item = node->items) {
        node->items = item->next;
        releaseItem(tree, item);
    }
    node->itemCount = 0;
}

bool Cull_BoxTouchesNode(const CullNode* node, const float mins[3], const float maxs[3]) {
    for (int axis = 0; axis < 3; ++axis)
        if (mins[axis] > node->maxs[axis] || maxs[axis] < node->mins[axis]) return false;
    return true;
}

void Cull_Split(CullTree* tree, CullNode* node) {
    if (!tree || !node || !node->isLeaf()) return;
    float centre[3];
    for (int axis = 0; axis < 3; ++axis) {
        if (node->maxs[axis] - node->mins[axis] <= kCullMinCellSize) return;
        centre[axis] = (node->mins[axis] + node->maxs[axis]) * 0.5f;
    }
    for (int j = 0; j < 8; ++j) {
        auto* child = new CullNode{};
        // x takes the lower half for odd j; y and z take the upper half for their bits.
        const bool lowX = j & 1, highY = j & 2, highZ = j & 4;
        child->mins[0] = lowX ? node->mins[0] : centre[0];
        child->maxs[0] = lowX ? centre[0] : node->maxs[0];
        child->mins[1] = highY ? centre[1] : node->mins[1];
        child->maxs[1] = highY ? node->maxs[1] : centre[1];
        child->mins[2] = highZ ? centre[2] : node->mins[2];
        child->maxs[2] = highZ ? node->maxs[2] : centre[2];
        for (CullItem* item = node->items; item; item = item->next) {
            float mins[3], maxs[3];
            itemVolume(item, mins, maxs);
            if (Cull_BoxTouchesNode(child, mins, maxs))
                pushItem(child, allocItem(tree, item->kind, item->object));
        }
        node->children[j] = child;
    }
    Cull_ReleaseItems(node, tree);
    for (CullNode* child : node->children)
        if (child->itemCount >= kCullSplitItems) Cull_Split(tree, child);
}

void Cull_FreeNode(CullTree* tree, CullNode* node) {
    if (!tree || !node) return;
    if (!node->isLeaf())
        for (CullNode*& child : node->children) {
            Cull_FreeNode(tree, child);
            child = nullptr;
        }
    Cull_ReleaseItems(node, tree);
    delete node;
}

void Cull_TestVolume(const EntityRecord* entity, float mins[3], float maxs[3]) {
    const EntityModel* decal = entity->modelKind == EntityModelKind::Decal ? entity->model : nullptr;
    for (int axis = 0; axis < 3; ++axis) {
        mins[axis] = entity->mins[axis];
        maxs[axis] = entity->maxs[axis];
        if (decal) {
            // Fragments lie anywhere in the decal's square, lifted a little off their faces: a
            // cell holding only the origin could be culled while fragments show.
            mins[axis] = std::min(mins[axis], decal->mins[axis] - 1.0f);
            maxs[axis] = std::max(maxs[axis], decal->maxs[axis] + 1.0f);
        }
    }
}

void Cull_TestVolume(const BrushRecord* brush, float mins[3], float maxs[3]) {
    for (int axis = 0; axis < 3; ++axis) {
        mins[axis] = brush->mins[axis];
        maxs[axis] = brush->maxs[axis];
    }
}
