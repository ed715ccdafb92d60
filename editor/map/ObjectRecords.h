// Plain records of the entity, group, path and path-node kinds, with their flag words. Plugins,
// undo snapshots and project files read these by the offsets asserted here. (Brushes and faces
// have theirs in MapBrush.h and MapFace.h, patches in PatchRecord.h, cameras in MapCamera.h.)
#pragma once

#include <cstddef>
#include <cstdint>

#include "map/MapObject.h"

struct BrushRecord;
struct EPair;
struct EntityModel;
struct GroupRecord;
struct KeptBrushRecord;
struct NodeRecord;
class cMapEntity;
class cMapGroup;
class cMapPath;
class cMapNode;

// Bits of EntityRecord::flags.
namespace EntityFlag {
constexpr uint32_t Point = 0x1; // no brushes; bounds from the class box or the origin
constexpr uint32_t Selected = RecordFlag::Selected;
constexpr uint32_t NeedsUpdate = RecordFlag::NeedsUpdate;
constexpr uint32_t Hidden = RecordFlag::Hidden;
constexpr uint32_t Blended = RecordFlag::Blended;
constexpr uint32_t World = 0x20; // worldspawn: head of the entity list
constexpr uint32_t ItemOrWeapon = 0x40;
constexpr uint32_t PathLike = 0x80;
constexpr uint32_t ReprojectDecal = 0x800; // the attached decal must be projected again
constexpr uint32_t RefreshAfterLoad = 0x2000;
// Read without an origin key and brushless: written without one while its origin is 0 0 0.
constexpr uint32_t NoOriginKey = 0x10000;
} // namespace EntityFlag

// Kinds of the drawable attached to an entity (EntityRecord::modelKind).
namespace EntityModelKind {
constexpr int32_t None = 0;
constexpr int32_t Sprite = 1;
constexpr int32_t Decal = 2;
constexpr int32_t Model = 3;
} // namespace EntityModelKind

constexpr int kEntityKeyRoles = 13;

struct EntityRecord {
    cMapEntity* handle;
    EntityRecord* next;
    EntityRecord* prev;
    EntityRecord* selNext;
    EntityRecord* selPrev;
    GroupRecord* group;      // innermost group
    GroupRecord* outerGroup; // outermost group
    BrushRecord* firstBrush;
    BrushRecord* lastBrush;
    MapHandle owner; // null while detached
    EPair* epairs;
    char* classname;
    char* targetname; // cached value of the targetname key
    int32_t frameStamp;
    int32_t drawCount;
    int32_t spawnflags;
    uint32_t flags; // EntityFlag
    int32_t serial;
    int32_t modelKind; // EntityModelKind
    float origin[3];
    float angles[3]; // pitch, yaw, roll in degrees
    float mins[3];
    float maxs[3];
    uint32_t blendState; // GL state word of the blended pass
    uint8_t renderColor[4];
    int32_t renderMode;
    int32_t renderFx;
    int16_t body;
    int16_t skin;
    int32_t sequence;
    float framerate;
    float scale;
    float radius;
    uint8_t reserved[28]; // zero; stored with the model block 192..239
    char* keyNames[kEntityKeyRoles];
    EntityModel* model;
    // Brushes read from a file whose planes enclose no space, kept to be written back
    // (KeptBrush.h); not part of the entity's brushes, bounds or drawing.
    KeptBrushRecord* keptBrushes;
};
static_assert(sizeof(EntityRecord) == 360);
static_assert(Record_HasSelectionLinks<EntityRecord>());
static_assert(offsetof(EntityRecord, group) == 40);
static_assert(offsetof(EntityRecord, outerGroup) == 48);
static_assert(offsetof(EntityRecord, firstBrush) == 56);
static_assert(offsetof(EntityRecord, lastBrush) == 64);
static_assert(offsetof(EntityRecord, owner) == 72);
static_assert(offsetof(EntityRecord, epairs) == 80);
static_assert(offsetof(EntityRecord, classname) == 88);
static_assert(offsetof(EntityRecord, targetname) == 96);
static_assert(offsetof(EntityRecord, frameStamp) == 104);
static_assert(offsetof(EntityRecord, spawnflags) == 112);
static_assert(offsetof(EntityRecord, flags) == 116);
static_assert(offsetof(EntityRecord, serial) == 120);
static_assert(offsetof(EntityRecord, modelKind) == 124);
static_assert(offsetof(EntityRecord, origin) == 128);
static_assert(offsetof(EntityRecord, angles) == 140);
static_assert(offsetof(EntityRecord, mins) == 152);
static_assert(offsetof(EntityRecord, maxs) == 164);
static_assert(offsetof(EntityRecord, blendState) == 176);
static_assert(offsetof(EntityRecord, renderColor) == 180);
static_assert(offsetof(EntityRecord, renderMode) == 184);
static_assert(offsetof(EntityRecord, renderFx) == 188);
static_assert(offsetof(EntityRecord, body) == 192);
static_assert(offsetof(EntityRecord, skin) == 194);
static_assert(offsetof(EntityRecord, sequence) == 196);
static_assert(offsetof(EntityRecord, framerate) == 200);
static_assert(offsetof(EntityRecord, scale) == 204);
static_assert(offsetof(EntityRecord, radius) == 208);
static_assert(offsetof(EntityRecord, reserved) == 212);
static_assert(offsetof(EntityRecord, keyNames) == 240);
static_assert(offsetof(EntityRecord, model) == 344);
static_assert(offsetof(EntityRecord, keptBrushes) == 352);

// Bits of GroupRecord::flags.
namespace GroupFlag {
constexpr uint32_t Selected = RecordFlag::Selected;
} // namespace GroupFlag

struct GroupRecord {
    cMapGroup* handle;
    GroupRecord* next;
    GroupRecord* prev;
    GroupRecord* selNext;
    GroupRecord* selPrev;
    GroupRecord* parent;
    MapHandle owner;
    uint32_t flags; // GroupFlag
    int32_t serial;
    int32_t memberCount; // entities, brushes and child groups naming this group
    int32_t reserved;
};
static_assert(sizeof(GroupRecord) == 72);
static_assert(Record_HasSelectionLinks<GroupRecord>());
static_assert(offsetof(GroupRecord, parent) == 40);
static_assert(offsetof(GroupRecord, owner) == 48);
static_assert(offsetof(GroupRecord, flags) == 56);
static_assert(offsetof(GroupRecord, serial) == 60);
static_assert(offsetof(GroupRecord, memberCount) == 64);

// Bits of PathRecord::flags.
namespace PathFlag {
constexpr uint32_t NeedsUpdate = RecordFlag::NeedsUpdate;
} // namespace PathFlag

// PathRecord::type.
namespace PathType {
constexpr int32_t OneWay = 0;
constexpr int32_t Circular = 1;
constexpr int32_t PingPong = 2;
} // namespace PathType

struct PathRecord {
    cMapPath* handle;
    PathRecord* next;
    PathRecord* prev;
    NodeRecord* firstNode;
    NodeRecord* lastNode;
    MapHandle owner;
    char* name;      // base of the targetnames the nodes export with
    char* className; // entity class each node exports as
    int32_t type;    // PathType
    uint32_t flags;  // PathFlag
    int32_t serial;
    float mins[3];
    float maxs[3];
    int32_t reserved;
};
static_assert(sizeof(PathRecord) == 104);
static_assert(Record_HasOwnerLinks<PathRecord>());
static_assert(offsetof(PathRecord, firstNode) == 24);
static_assert(offsetof(PathRecord, lastNode) == 32);
static_assert(offsetof(PathRecord, owner) == 40);
static_assert(offsetof(PathRecord, name) == 48);
static_assert(offsetof(PathRecord, className) == 56);
static_assert(offsetof(PathRecord, type) == 64);
static_assert(offsetof(PathRecord, flags) == 68);
static_assert(offsetof(PathRecord, serial) == 72);
static_assert(offsetof(PathRecord, mins) == 76);
static_assert(offsetof(PathRecord, maxs) == 88);

// Bits of NodeRecord::flags.
namespace NodeFlag {
constexpr uint32_t Selected = RecordFlag::Selected;
} // namespace NodeFlag

struct NodeRecord {
    cMapNode* handle;
    NodeRecord* next;
    NodeRecord* prev;
    NodeRecord* selNext;
    NodeRecord* selPrev;
    PathRecord* path;
    EPair* epairs;
    char* name; // the node's own targetname on export when not empty
    char* message;
    uint32_t flags; // NodeFlag
    int32_t number; // 1-based position in the path
    float origin[3];
    float angles[3];
    int32_t serial;
    int32_t reserved;
};
static_assert(sizeof(NodeRecord) == 112);
static_assert(Record_HasSelectionLinks<NodeRecord>());
static_assert(offsetof(NodeRecord, path) == 40);
static_assert(offsetof(NodeRecord, epairs) == 48);
static_assert(offsetof(NodeRecord, name) == 56);
static_assert(offsetof(NodeRecord, message) == 64);
static_assert(offsetof(NodeRecord, flags) == 72);
static_assert(offsetof(NodeRecord, number) == 76);
static_assert(offsetof(NodeRecord, origin) == 80);
static_assert(offsetof(NodeRecord, angles) == 92);
static_assert(offsetof(NodeRecord, serial) == 104);
