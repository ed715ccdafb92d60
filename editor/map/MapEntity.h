// Entities: the world entity, point entities and brush entities. cMapEntity is the handle;
// EntityRecord (ObjectRecords.h) is what plugins, project files and undo snapshots read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

#include "map/EPair.h"
#include "map/MapDrawable.h"
#include "map/ObjectRecords.h"
#include "map/VisGroupList.h"

struct EntityClass;
struct KeptBrushRecord;
struct RenderContext;
struct RenderCounters;
struct TransformPreview;

// Bits of the argument of cMapEntity::update (the brush bits are passed on to the brushes).
namespace EntityUpdate {
constexpr uint32_t KeysChanged = 0x1; // origin, angles, spawnflags re-read; implies Implied
constexpr uint32_t RenderKeys = 0x20;
constexpr uint32_t ModelKeys = 0x40;
constexpr uint32_t SkyKeys = 0x80;
constexpr uint32_t RebuildModel = 0x100;
constexpr uint32_t ClassKeys = 0x200;       // re-apply the class keys, rebuild the targets
constexpr uint32_t ResetClassKeys = 0x1000; // with ClassKeys: reset key names, put defaults in
constexpr uint32_t Implied = 0x1AF0;        // what KeysChanged adds
} // namespace EntityUpdate

// GL state words of the blended pass (EntityRecord::blendState).
namespace EntityBlendState {
constexpr uint32_t Opaque = 0x100;
constexpr uint32_t Additive = 0x40065;
constexpr uint32_t Alpha = 0x25;
constexpr uint32_t AlphaTest = 0x40165;
} // namespace EntityBlendState

// Display filters: bits of the HideMask setting.
namespace EntityHideMask {
constexpr int32_t ItemsAndWeapons = 0x1;
constexpr int32_t PathLike = 0x2;
constexpr int32_t NoClass = 0x40;
} // namespace EntityHideMask

inline constexpr ObjectColor kEntityNoClassColor = 0xffdc1edcu; // 220, 30, 220, 255
inline constexpr ObjectColor kEntityWorldColor = 0xffffffffu;

// One target name the entity points at; the name points into the pair's value.
struct EntityTarget {
    const char* name;
    EPair* pair;
};

// The attached sprite, decal or model (its kind is EntityRecord::modelKind). Plugins find a
// decal's own bounds at bytes 16..39 and, for a model, the main model's entry at 0 and the item
// motion values (speed, amplitude, base) of the main model at 60 and of the second at 72.
struct EntityModel {
    void* entry;   // sprite or model cache entry (one reference held), or the decal texture
    void* entry2;  // second model entry (one reference held)
    float mins[3]; // decal bounds, or the model box
    float maxs[3];
    uint8_t icon;      // the class's icon sprite
    uint8_t iconFlag2; // set together with icon
    int32_t size;      // sprite half size: 8 for an icon
    void* fragments;   // decal fragments laid on faces
    float animTime;    // animation position; 0 after a reset
    float offsets[6];  // from the class with EntityClassHelper::BobParms
    int32_t frame;
};
static_assert(std::is_standard_layout_v<EntityModel>);
static_assert(offsetof(EntityModel, entry) == 0);
static_assert(offsetof(EntityModel, mins) == 16);
static_assert(offsetof(EntityModel, maxs) == 28);
static_assert(offsetof(EntityModel, offsets) == 60); // main model: speed 60, amplitude 64, base 68
static_assert(offsetof(EntityModel, offsets) + 3 * sizeof(float) == 72); // any other model: 72, 76, 80
static_assert(sizeof(EntityModel) == 88);

// Undo snapshot of an entity, as Entity_CreateFromSnapshot reads it. The class is not kept: a
// game-data reload may free it, so the class is looked up again by classname when restored.
struct EntitySnapshot {
    EntitySnapshot* next;
    int32_t serial;
    float origin[3];
    float angles[3];
    float mins[3];
    float maxs[3];
    char* classname; // own copy, may be null
    int32_t spawnflags;
    uint32_t flags;
    ObjectColor color;
    EPair* epairs;
    int32_t groupSerial;
    int32_t outerGroupSerial;
    int32_t* visGroupIds; // the sets the entity belonged to (own copy, Sys_Alloc), may be null
    int32_t visGroupCount;
    KeptBrushRecord* keptBrushes; // own copy of EntityRecord::keptBrushes
};

// The moving box transform of a scale drag (applyScaleTransform).
struct EntityBoxTransform {
    float reference[3]; // fixed point of the scale
    float matrix[12];   // row-major 3x4
    uint32_t sideFlags; // 1/8 low/high X side moved, 2/0x10 Y, 4/0x20 Z
    int32_t axes[2];    // the view's two axes (0..2)
    bool enabled;
};

class cMapEntity : public cMapDrawable {
public:
    cMapEntity();
    ~cMapEntity() override;
    cMapEntity(const cMapEntity&) = delete;
    cMapEntity& operator=(const cMapEntity&) = delete;

    static cMapEntity* fromRecord(const EntityRecord* e) { return e ? e->handle : nullptr; }

    EntityRecord* record;
    EntityClass* entityClass = nullptr; // null when unbound
    std::vector<EntityTarget> targets;
    cVisGroupList visGroups;

    bool isWorld() const { return record->flags & EntityFlag::World; }
    bool isPoint() const { return record->flags & EntityFlag::Point; }
    bool hasBrushes() const { return record->firstBrush != nullptr; }

    // ---- Copies ----
    // A detached record (no handle, no links) for the clipboard; free with Entity_FreeCopy.
    EntityRecord* copyData() const;
    // A new entity in the same world, after this one's keys, class and render data.
    EntityRecord* duplicate();
    // Bounds origin +- 8 without brushes; colour white for the world entity, else magenta.
    void resetBounds();
    // Sets the GL colour of the entity: the selected fill colour when selected, else its render
    // colour for light classes, else its display colour, with the given alpha (0..255).
    void applyDrawColor(int alpha) const;

    // ---- Key/values (8-bit text) ----
    EPair* findKey(const char* key) const;
    // Null, and nothing added, when the key is missing; the document is marked modified only
    // when the value really changes.
    EPair* setKeyValue(const char* key, const char* value);
    EPair* appendKeyValue(const char* key, const char* value);
    EPair* prependKeyValue(const char* key, const char* value);
    void removeKey(const char* key);
    void removeEPair(EPair* pair);
    // The key name of a role (never null once the names are filled).
    const char* keyName(int32_t role) const;

    // ---- Class binding and refresh ----
    void setClass(EntityClass* eclass);
    void refreshKeyNames(bool keep);
    void applyClassKeys(bool reset);
    void update(uint32_t bits);
    void updateTargets();
    void readRenderKeys();
    void readModelKeys();
    void readSkyKeys();

    // ---- Angles, scale and box tests ----
    void setAngles(const float angles[3]);
    void flipAngles(int32_t axis);
    void rotateAngles(const float matrix[9]);
    void applyScaleTransform(const EntityBoxTransform& transform);
    bool touchesBox(const float mins[3], const float maxs[3]) const;
    bool insideBox(const float mins[3], const float maxs[3]) const;
    bool centerInBox(const float mins[3], const float maxs[3]) const;

    // ---- Attached drawable and visibility (drawing comes with the views) ----
    // Kind the class and keys ask for, with the name to load (icon set for an icon sprite).
    int32_t chooseModel(const char** name, bool* icon) const;
    void rebuildModel(bool reload);
    void updateModelBounds(bool keepAnimation);
    void releaseModel();
    // Hidden by the display-filter word (HideMask)?
    bool filteredBy(int32_t hideMask) const;
    // Not waiting for an update, not hidden, not filtered; the frustum test is the view's.
    bool isVisible(int32_t hideMask) const;
    // Whether a view shows the attached drawable instead of the box.
    bool showsAttachedModel(bool view3D, uint32_t renderFlags, const float camera[3], float modelDistance);
    bool hasRadiusHandle() const;

    // ---- Drawing (EntityDraw.cpp) ----
    // Pass flags: 0x1 admits unselected, 0x2 selected entities (pick passes draw both).
    // Whether anything was drawn.
    bool draw(RenderContext* context, RenderCounters* counters, uint32_t passFlags);
    // Whether draw() would only queue a box with the pass's draw queue (an unselected point entity
    // shown as a box or diamond, without arrow or model): the queued draws before it need not go
    // out first.
    bool drawsQueuedBox(const RenderContext* context);
    // The second, blended pass of an entity the first pass queued.
    void drawBlended(RenderContext* context);
    // Hidden, waiting for an update or filtered: false. Test flag 0x4 skips the frustum test
    // (counted otherwise); a decal in a 3D view is tested by its own bounds.
    bool isVisible(const RenderContext* context, RenderCounters* counters, uint32_t testFlags) const;
    // The box as it lies without a preview, else carried by the preview's matrix about its origin.
    bool isVisibleTransformed(const RenderContext* context, RenderCounters* counters,
                              const TransformPreview* preview) const;
    bool showsAttachedModel(const RenderContext* context);
    // Translucent in the 3D view's blended pass: the entity, an icon sprite, a model the format
    // marked blended or a decal texture with an opacity below 1.
    bool needsBlending() const;
    bool drawAttachedModel(RenderContext* context, RenderCounters* counters, uint32_t passFlags);
    bool drawBrushes(RenderContext* context, RenderCounters* counters, uint32_t passFlags);
    // An entity without a drawable (or whose model format draws nothing): box or diamond.
    bool drawBox(RenderContext* context, RenderCounters* counters, uint32_t passFlags);
    void drawBoxShape(const RenderContext* context) const;
    // The box or diamond handed to the pass's draw queue; false when it must be drawn at once.
    bool queueBoxShape(RenderContext* context) const;
    bool drawSprite(RenderContext* context, bool blendedPass);
    void drawModelKind(RenderContext* context, bool blendedPass);
    void drawDecal(RenderContext* context);
    // Through the model format's render function, guarded so that the format's GL state does not
    // leak into later drawing. False when there is no render function or it answers 0.
    bool drawModel(RenderContext* context, const TransformPreview* preview, bool blendedPass);
    void drawTargetLinks(RenderContext* context);
    void drawAngleArrow(RenderContext* context);
    void drawRadius(RenderContext* context);
    // The colour an unselected entity is drawn in: its render colour for light classes; else, in
    // 3D views and in 2D views with UseVisgroupColors, its first visgroup's or group's colour;
    // else its own.
    ObjectColor drawColor(const RenderContext* context) const;
    // The id its pick colour encodes: the outermost group's under pick base 1, else its own.
    int32_t pickId(const RenderContext* context) const;
    // Where target links start and end: the bounds centre with brushes, else the origin.
    void linkPoint(float out[3]) const;

    // ---- Visgroups ----
    bool addVisGroup(VisGroup* set) { return visGroups.add(set); }
    void clearVisGroups() { visGroups.clear(); }
    bool getFirstVisGroupId(int32_t* id) const { return visGroups.firstId(id); }

    // Marks the owning document modified (nothing while detached).
    void markModified() const;

private:
    // Puts the entity on the world's blended list; false when it must be drawn now.
    bool queueBlended(const RenderContext* context, float key);
    void freeKeyNames();
    void nameKeysFromClass();
};

// One brush, once per frame, admitted by the pass flags.
bool Entity_DrawBrush(BrushRecord* brush, RenderContext* context, RenderCounters* counters,
                      uint32_t passFlags);
// Points of a radius ring: trunc(radius / 10) within 16..64.
int32_t Entity_RadiusPoints(float radius);

// ---- Plain API (engine-function table signatures) ----
EntityRecord* Entity_Create(MapHandle map, const char* classname, const float origin[3], uint32_t flags);
void Entity_Update(EntityRecord* entity, uint32_t bits);
void Entity_SetColor(EntityRecord* entity, uint8_t r, uint8_t g, uint8_t b, uint8_t a);
void Entity_GetColor(const EntityRecord* entity, uint8_t* rgba);
// The next entity after the start whose classname equals the name exactly; null when none or
// when the start is null. Never the start itself.
EntityRecord* Entity_FindByClassname(EntityRecord* start, const char* name);
EntityRecord* Entity_FindByTargetname(EntityRecord* start, const char* name);
// Only the first pair with that key (ignoring case) counts.
EntityRecord* Entity_FindByKeyValue(EntityRecord* start, const char* key, const char* value);

// ---- Editor side ----
// A bare entity: serial 0, origin, bounds at the origin, classname copy (null for ""), flags
// plus needs-update. Not linked, no id, no class.
EntityRecord* Entity_Alloc(const char* classname, const float origin[3], uint32_t flags);
EntityRecord* Entity_CreateFromCopy(const EntityRecord* copy);
EntityRecord* Entity_CreateFromSnapshot(const EntitySnapshot* snapshot);
// Frees a detached record made by cMapEntity::copyData.
void Entity_FreeCopy(EntityRecord* copy);
// Frees the thirteen key names of a record.
void Entity_FreeKeyNames(EntityRecord* record);
