// Brushes: convex solids bounded by planar faces, or the carriers of one patch or one overlay.
// cMapBrush is the handle; BrushRecord is what plugins, project files and undo snapshots read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "map/MapObject.h"
#include "map/VisGroupList.h"

class cMapBrush;
struct DecalFragment;
struct EntityRecord;
struct FaceRecord;
struct GroupRecord;
struct OverlayRecord;
struct PatchRecord;
struct RenderContext;
struct RenderCounters;
struct TransformPreview;
struct TextureInfo;

// Bits of BrushRecord::flags.
namespace BrushFlags {
constexpr uint32_t Selected = RecordFlag::Selected;
constexpr uint32_t NeedsUpdate = RecordFlag::NeedsUpdate;
constexpr uint32_t Hidden = RecordFlag::Hidden;
constexpr uint32_t Dragged = 0x100; // part of a drag of the selection tool
constexpr uint32_t Morphed = 0x400; // changed by the vertex tool in the running morph mode
} // namespace BrushFlags

// Bits of the argument of cMapBrush::update. Face bits (FaceUpdate) are passed on to the faces.
namespace BrushUpdate {
constexpr uint32_t FacePassThrough = 0x2 | 0x4 | 0x8 | 0x10 | 0x2000;
constexpr uint32_t NoSortNoCull = 0x400;      // skip face sorting and the cull-tree refresh
constexpr uint32_t TessellatePatch = 0x800;   // re-tessellate a patch that needs an update
constexpr uint32_t KeepOrderedFaces = 0x4000; // faces already in order keep it (read from a file)
} // namespace BrushUpdate

// BrushRecord::kind.
namespace BrushKind {
constexpr int32_t Solid = 0;
constexpr int32_t Patch = 1;
constexpr int32_t Overlay = 2;
} // namespace BrushKind

struct BrushRecord {
    cMapBrush* handle; // null in a detached copy
    BrushRecord* next;
    BrushRecord* prev;
    BrushRecord* selNext;
    BrushRecord* selPrev;
    GroupRecord* group;      // innermost group
    GroupRecord* outerGroup; // outermost group
    FaceRecord* firstFace;
    FaceRecord* lastFace;
    EntityRecord* entity;
    PatchRecord* patch;     // kind 1 only
    OverlayRecord* overlay; // kind 2 only
    DecalFragment* decalFragments;
    int32_t frameStamp;
    uint32_t flags; // BrushFlags
    int32_t serial;
    int32_t kind; // BrushKind
    float mins[3];
    float maxs[3];
    // Faces read from a file that bound nothing (their plane only touches the brush, or repeats
    // another face's plane): not part of the solid, drawn or edited; kept, linked by next, so
    // that the brush is written back with every face it was read with.
    FaceRecord* keptFaces;
};
static_assert(sizeof(BrushRecord) == 152);
static_assert(Record_HasSelectionLinks<BrushRecord>());
static_assert(offsetof(BrushRecord, group) == 40 && offsetof(BrushRecord, outerGroup) == 48);
static_assert(offsetof(BrushRecord, firstFace) == 56 && offsetof(BrushRecord, lastFace) == 64);
static_assert(offsetof(BrushRecord, entity) == 72 && offsetof(BrushRecord, patch) == 80);
static_assert(offsetof(BrushRecord, overlay) == 88 && offsetof(BrushRecord, decalFragments) == 96);
static_assert(offsetof(BrushRecord, frameStamp) == 104 && offsetof(BrushRecord, flags) == 108);
static_assert(offsetof(BrushRecord, serial) == 112 && offsetof(BrushRecord, kind) == 116);
static_assert(offsetof(BrushRecord, mins) == 120 && offsetof(BrushRecord, maxs) == 132);
static_assert(offsetof(BrushRecord, keptFaces) == 144);

// A split plane: normal, distance and axial type (0..2 axial, 3 general).
struct BrushPlane {
    float normal[3];
    float dist;
    int32_t type;
};

class cMapBrush : public cMapObject {
public:
    BrushRecord* record;
    float centre[3] = {0, 0, 0};
    cVisGroupList visGroups;
    // The faces were sorted once (or came in an order a sort gave, from a copy, an undo snapshot
    // or a map file): later sorts leave an ordered list as it is.
    bool faceOrderSettled = false;

    cMapBrush();
    ~cMapBrush() override;
    cMapBrush(const cMapBrush&) = delete;
    cMapBrush& operator=(const cMapBrush&) = delete;

    static cMapBrush* fromRecord(const BrushRecord* brush) { return brush ? brush->handle : nullptr; }

    void update(uint32_t flags);
    void updateRandomColor();
    // A brush never coloured (base colour black) takes a random base colour; its first update
    // does this.
    void ensureColor();
    // Either output may be null; the brush itself is not changed.
    void split(const BrushPlane* plane, BrushRecord** front, BrushRecord** back);
    // message receives one of the fixed texts when the brush is invalid; untouched otherwise.
    bool checkValid(bool skipCoplanarTest, bool skipPointTest, const char** message) const;
    bool touchesBox(const float mins[3], const float maxs[3]) const;
    int32_t planeSide(const float normal[3], float dist) const;
    bool intersectsBrush(const BrushRecord* other) const;
    int32_t removeDuplicatePlanes();
    FaceRecord* sortFaces(FaceRecord* first);
    void offsetPlanes(float distance);

    BrushRecord* cloneInto(EntityRecord* entity);
    // A detached copy (no handle, no links, serial 0) holding its faces in reverse order.
    BrushRecord* copyData() const;

    bool addVisGroup(VisGroup* set) { return visGroups.add(set); }
    void clearVisGroups() { visGroups.clear(); }
    bool getFirstVisGroupId(int32_t* id) const { return visGroups.firstId(id); }

    // Hook for decal projection: releases the fragments laid on this brush and marks their
    // decal entities for re-projection. Called by the destructor.
    void unlinkDecalFragments();

    // ---- Drawing (BrushDraw.cpp) ----
    // Not hidden, not waiting for an update, not filtered, and (unless NoFrustumTest or the brush
    // is its entity's only one) touching the frustum; the test is counted.
    bool isVisible(const RenderContext* context, RenderCounters* counters, uint32_t drawFlags) const;
    bool isVisibleTransformed(const RenderContext* context, RenderCounters* counters,
                              TransformPreview* preview) const;
    // Faces, patch and overlay, and in 2D the centre marker; at most once per frame stamp, only
    // when the draw flags admit the brush's selection state. True when drawn.
    bool draw(RenderContext* context, RenderCounters* counters, uint32_t drawFlags);
    void drawTransformed(RenderContext* context, RenderCounters* counters, TransformPreview* preview);
    void drawCenterHandle(RenderContext* context, const float point[3]);
};

// Bits of the draw flags of cMapBrush::draw.
namespace BrushDraw {
constexpr uint32_t Unselected = 0x1;
constexpr uint32_t Selected = 0x2;
constexpr uint32_t NoFrustumTest = 0x4;
} // namespace BrushDraw

// ---- Plain API (engine-function table signatures) ----
BrushRecord* Brush_Create(MapHandle map, EntityRecord* entity);
void Brush_Delete(MapHandle map, BrushRecord* brush);
void Brush_SetColor(BrushRecord* brush, uint8_t r, uint8_t g, uint8_t b, uint8_t a);

// ---- Editor side ----
// A bare brush (kind 0, serial 0, needs update); not linked, no id.
BrushRecord* Brush_Alloc();
BrushRecord* Brush_CreateFromCopy(const BrushRecord* copy);
// Frees a detached copy made by cMapBrush::copyData (its faces and vertex arrays).
void Brush_FreeCopy(BrushRecord* copy);
// Brush and face handles, records, map-file sources and vertex arrays, in bytes (for the bench and
// statistics).
uint64_t Brush_MemoryUsage(const BrushRecord* brush);
