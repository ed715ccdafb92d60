// The world's octree of drawable objects: entities other than the world entity, and the world
// entity's brushes (other brushes are reached through their entity). Views walk it through a
// cCullVisitor so that only objects in cells inside the frustum are drawn.
#pragma once

#include <cstddef>
#include <cstdint>

#include "map/MapObject.h"

struct BrushRecord;
struct EntityRecord;
struct MapWorld;
struct RenderContext;
struct RenderCounters;

// CullItem::kind.
namespace CullKind {
constexpr int32_t Free = 0;
constexpr int32_t Entity = 1;
constexpr int32_t Brush = 2;
} // namespace CullKind

// Pass flags of a walk.
namespace CullPass {
constexpr uint32_t Unselected = 0x1;    // draw unselected objects
constexpr uint32_t Selected = 0x2;      // draw selected objects
constexpr uint32_t Inside = 0x4;        // the subtree lies wholly inside the frustum
constexpr uint32_t SelectionPass = 0x8; // walk only the nodes the frame's normal pass found visible
constexpr uint32_t Normal = Unselected;
constexpr uint32_t Selection = SelectionPass | Selected;
constexpr uint32_t Picking = Unselected | Selected;
} // namespace CullPass

// Leaves split at this many items until a cell extent is kCullMinCellSize or less.
inline constexpr int32_t kCullSplitItems = 8;
inline constexpr float kCullMinCellSize = 512.0f;

// One object filed in one leaf (or in the tree's outside list), or a free record.
struct CullItem {
    int32_t kind;   // CullKind
    void* object;   // EntityRecord or BrushRecord
    CullItem* next; // in the leaf's list, the outside list or the free list
};
static_assert(sizeof(CullItem) == 24 && offsetof(CullItem, object) == 8 && offsetof(CullItem, next) == 16);

struct CullNode {
    float mins[3];
    float maxs[3];
    uint32_t frameStamp;   // the frame in which the node was last found visible
    CullNode* children[8]; // all null for a leaf, else all set
    CullItem* items;       // leaves only
    int32_t itemCount;

    bool isLeaf() const { return children[0] == nullptr; }
};

struct CullTree {
    CullNode* root; // null before the first build and after a world clear
    CullItem* freeItems;
    MapHandle map;
    uint32_t frame; // the frame being drawn (Cull_NewFrame)
    // Objects whose test volume lies wholly outside the root box: no cell holds them, so
    // every walk visits them.
    CullItem* outside;
    // Source of frame numbers. Every frame of every view takes its own, so objects drawn by
    // one view are never taken as already drawn by another.
    uint32_t frameCounter;
};

// Result of a frustum test of a box.
enum class CullResult { Outside, Inside, Partial };

// What a walk calls. Drawing returns true when the object was drawn, which stamps it for the
// frame so an object filed in several visible leaves is drawn once.
class cCullVisitor {
public:
    virtual ~cCullVisitor() = default;
    // Tests the box against the frustum planes in *planeMask (bit per plane) and clears the
    // bits of the planes the box lies wholly inside. Counts the test in the view's statistics.
    virtual CullResult testBox(const float mins[3], const float maxs[3], int32_t* planeMask) = 0;
    virtual bool drawEntity(EntityRecord* entity, uint32_t passFlags) = 0;
    virtual bool drawBrush(BrushRecord* brush, uint32_t passFlags) = 0;
    virtual void drawNodeBox(const CullNode* node) { (void)node; }
};

// ---- World level ----------------------------------------------------------------------------
// Creates the world's tree when it has none and (re)builds it.
void Map_CreateCullTree(MapWorld* world);
// Frees the world's tree, its nodes and every pooled item; the world's pointer becomes null.
void Map_FreeCullTree(MapWorld* world);
// The world's tree; null when none was created.
CullTree* Cull_TreeOf(const MapWorld* world);
// Re-files a brush after its bounds changed: the world entity's brushes are filed, any other
// brush is dropped (its entity is filed instead). Nothing without a built tree.
void Cull_UpdateWorldBrush(MapWorld* world, BrushRecord* brush);
// Re-files an entity other than the world entity. Nothing without a built tree.
void Cull_UpdateWorldEntity(MapWorld* world, EntityRecord* entity);
// Drops the object (entity or brush record) from the tree before it leaves the world.
void Cull_RemoveFromWorld(MapWorld* world, const void* object);

// ---- Tree ------------------------------------------------------------------------------------
// Frees every node; items go to the free list. The tree keeps no root until rebuilt.
void Cull_Clear(CullTree* tree);
// (Re)builds the whole tree from the world's objects.
void Cull_Build(CullTree* tree);
// Re-file one object, walking from node down (called with the root).
void Cull_UpdateBrush(CullTree* tree, CullNode* node, BrushRecord* brush);
void Cull_UpdateEntity(CullTree* tree, CullNode* node, EntityRecord* entity);
// Removes the object from every leaf below node (and from the outside list when node is the root).
void Cull_Remove(CullTree* tree, CullNode* node, const void* object);

// Takes the next frame number for one view frame; the normal and the selection pass of that
// frame walk with it. The renderer hands the same number to the objects' draw-once checks.
uint32_t Cull_NewFrame(CullTree* tree);
// Walks node's subtree for the tree's current frame; with the root, also the outside objects.
void Cull_Draw(CullTree* tree, CullNode* node, cCullVisitor* visitor, uint32_t passFlags, int32_t planeMask);
// Draws the node's items not yet drawn in this frame.
void Cull_DrawLeaf(CullTree* tree, CullNode* node, cCullVisitor* visitor, uint32_t passFlags);
// Hands the visitor every node box found visible in the current frame.
void Cull_DrawBoxes(CullTree* tree, CullNode* node, cCullVisitor* visitor);

// ---- Drawing into a view (CullDraw.cpp) ------------------------------------------------------
// The tree's frame becomes the view's frame stamp; when that went backwards (the counter wrapped),
// every node and object stamp of the tree is cleared first so that nothing counts as drawn.
void Cull_BeginFrame(CullTree* tree, const RenderContext* context);
// Walks node's subtree against the view's frustum (Render_ClassifyBox with the plane mask, -1
// for every plane) and draws what lies in the visible cells; pass flags as in CullPass. The
// root's walk also draws the objects outside the root box, in both passes.
void Cull_Draw(CullTree* tree, CullNode* node, RenderContext* context, RenderCounters* counters,
               uint32_t passFlags, int32_t planeMask);
// Draws the items of one node that are not drawn in this frame yet.
void Cull_DrawLeaf(CullTree* tree, CullNode* node, RenderContext* context, RenderCounters* counters,
                   uint32_t passFlags);
// Outlines every node found visible in this frame (colour and depth state are the caller's).
void Cull_DrawBoxes(CullTree* tree, CullNode* node, RenderContext* context);
void Cull_DrawNodeBox(const CullNode* node, RenderContext* context);
// Clears the stamps of every node and filed object.
void Cull_ClearStamps(CullTree* tree);

// ---- Cells and items -------------------------------------------------------------------------
// Add an item to a leaf unless the object already has one there.
void Cull_AddBrush(CullNode* node, CullTree* tree, BrushRecord* brush);
void Cull_AddEntity(CullNode* node, CullTree* tree, EntityRecord* entity);
CullItem* Cull_FindItem(const CullNode* node, const void* object);
void Cull_RemoveFromLeaf(CullNode* node, CullTree* tree, const void* object);
// Every item of the node back to the free list.
void Cull_ReleaseItems(CullNode* node, CullTree* tree);
// Inclusive: equal coordinates touch.
bool Cull_BoxTouchesNode(const CullNode* node, const float mins[3], const float maxs[3]);
// Splits a leaf into 8 children unless an extent is kCullMinCellSize or less.
void Cull_Split(CullTree* tree, CullNode* node);
// Children first, then the node's items to the free list, then the node itself.
void Cull_FreeNode(CullTree* tree, CullNode* node);
// The box an object is filed by: its bounds; a decal's also takes in the decal's own bounds,
// where its fragments lie.
void Cull_TestVolume(const EntityRecord* entity, float mins[3], float maxs[3]);
void Cull_TestVolume(const BrushRecord* brush, float mins[3], float maxs[3]);
