// Primitives: new geometry built from a box dragged in a 2D view. The New Objects dock lists
// PrimitiveEntry rows (the built-in table below plus the rows plugins register); the brush tool
// fills a PrimitiveParams record and calls the row's create function. Both records are plugin
// interface: field order, widths and offsets are fixed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "gamedata/PluginInterface.h"
#include "map/MapObject.h"
#include "map/TextureInfo.h"

struct BrushRecord;
struct EntityRecord;
struct GroupRecord;
struct PatchRecord;
struct PrimitiveParams;

// PrimitiveEntry and PrimitiveCreateFn are plugin interface (gamedata/PluginInterface.h).

// Bits of PrimitiveParams::flags.
namespace PrimitiveFlag {
constexpr int32_t Handedness = 0x1;    // (H, V, D) is an even permutation of (x, y, z)
constexpr int32_t SnapPoints = 0x2;    // round the shape's points to whole numbers
constexpr int32_t StretchArches = 0x4; // arches follow the box instead of staying circular
} // namespace PrimitiveFlag

// Indices into PrimitiveParams::axes.
namespace PrimitiveAxis {
constexpr int H = 0; // horizontal of the view
constexpr int V = 1; // vertical of the view
constexpr int D = 2; // depth of the view
} // namespace PrimitiveAxis

// Zero-filled by the caller before it sets the fields.
struct PrimitiveParams {
    MapHandle map;
    TextureInfo texInfo;
    int32_t count;
    int32_t flags;   // PrimitiveFlag
    int32_t axes[3]; // world axis (0 x, 1 y, 2 z) of H, V and D
    float mins[3];
    float maxs[3];
};
static_assert(std::is_standard_layout_v<PrimitiveParams>);
static_assert(sizeof(PrimitiveParams) == 184);
static_assert(offsetof(PrimitiveParams, texInfo) == 8);
static_assert(offsetof(PrimitiveParams, count) == 136);
static_assert(offsetof(PrimitiveParams, flags) == 140);
static_assert(offsetof(PrimitiveParams, axes) == 144);
static_assert(offsetof(PrimitiveParams, mins) == 156);
static_assert(offsetof(PrimitiveParams, maxs) == 168);

// Capability bit of the map profile that admits the curve rows.
inline constexpr int32_t kPrimitiveCurveCapability = 0x40;

// ---- Shared by the create functions ------------------------------------------------------------
// The first entity of the map's world, or null.
EntityRecord* Prim_WorldEntity(MapHandle map);
// Checks what a plugin may hand in wrong: the record, the axes (a permutation of 0, 1, 2 when
// the shape uses them) and a box with a positive, finite extent on every axis the shape needs
// (bit 1 << PrimitiveAxis; x, y, z for a shape that ignores the axes), also after point
// snapping. Reports the refusal naming the function.
bool Prim_CheckParams(const PrimitiveParams* params, const char* function, bool usesAxes, int32_t neededAxes);
// Records the new objects as one undo level named after the shape: refreshes the world entity
// with updateBits, adds the group (when given) and every brush to the selection, saves them as
// created, closes the step.
void Prim_Record(MapHandle map, const char* undoName, uint32_t updateBits, BrushRecord* const* brushes,
                 int32_t brushCount, GroupRecord* group);

#include "document/BrushPrimitives.h"
#include "document/PatchPrimitives.h"

// ---- The built-in table ------------------------------------------------------------------------
inline constexpr int kBuiltinPrimitiveCount = 21;
inline constexpr PrimitiveEntry kBuiltinPrimitives[kBuiltinPrimitiveCount] = {
    {"block", "(primitives)", 0, 0, 0, 0, Prim_CreateBlock},
    {"wedge", "(primitives)", 0, 0, 0, 0, Prim_CreateWedge},
    {"cylinder", "(primitives)", 8, 3, 128, 0, Prim_CreateCylinder},
    {"spike", "(primitives)", 4, 3, 128, 0, Prim_CreateSpike},
    {"sphere", "(primitives)", 8, 3, 24, 0, Prim_CreateSphere},
    {"rock", "(primitives)", 10, 8, 128, 0, Prim_CreateRock},
    {"arch", "(primitives)", 0, 0, 0, 0, Prim_CreateArch},
    {"block", "(curves)", 0, 0, 0, kPrimitiveCurveCapability, Prim_CreateCurveBlock},
    {"cone", "(curves)", 0, 0, 0, kPrimitiveCurveCapability, Prim_CreateCurveCone},
    {"exact cone", "(curves)", 0, 0, 0, kPrimitiveCurveCapability, Prim_CreateExactCone},
    {"cylinder (9x3)", "(curves)", 0, 0, 0, kPrimitiveCurveCapability, Prim_CreateCurveCylinder3},
    {"cylinder (9x7)", "(curves)", 0, 0, 0, kPrimitiveCurveCapability, Prim_CreateCurveCylinder7},
    {"cylinder (9x11)", "(curves)", 0, 0, 0, kPrimitiveCurveCapability, Prim_CreateCurveCylinder11},
    {"exact cylinder", "(curves)", 0, 0, 0, kPrimitiveCurveCapability, Prim_CreateExactCylinder},
    {"sphere", "(curves)", 0, 0, 0, kPrimitiveCurveCapability, Prim_CreateCurveSphere},
    {"exact sphere", "(curves)", 0, 0, 0, kPrimitiveCurveCapability, Prim_CreateExactSphere},
    {"bevel", "(curves)", 0, 0, 0, kPrimitiveCurveCapability, Prim_CreateBevel},
    {"endcap", "(curves)", 0, 0, 0, kPrimitiveCurveCapability, Prim_CreateEndcap},
    {"square bevel", "(curves)", 0, 0, 0, kPrimitiveCurveCapability, Prim_CreateSquareBevel},
    {"square endcap", "(curves)", 0, 0, 0, kPrimitiveCurveCapability, Prim_CreateSquareEndcap},
    {"plane", "(curves)", 0, 0, 0, kPrimitiveCurveCapability, Prim_CreatePlane},
};
