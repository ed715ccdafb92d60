// Selection transforms: move, turn, scale, mirror, align and grid-snap the selected entities and
// brushes (with the faces, patches and overlays the brushes carry) in place.
//
// The Map_* operations open no undo level and redraw nothing, so that a caller can make one user
// action of several of them; the Map_*Command functions below are the menu commands' whole
// calling pattern: named undo level, snapshots, operation, level closed, views redrawn.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

struct BrushRecord;
struct EntityRecord;
struct MapWorld;

// Bits of TransformParams::keepBits: coordinates on that side of the reference keep their value.
namespace TransformKeep {
constexpr uint8_t PlusX = 0x1;
constexpr uint8_t PlusY = 0x2;
constexpr uint8_t PlusZ = 0x4;
constexpr uint8_t MinusX = 0x8;
constexpr uint8_t MinusY = 0x10;
constexpr uint8_t MinusZ = 0x20;
} // namespace TransformKeep

// One selection transform, built by the caller of Map_TransformSelection.
struct TransformParams {
    const float* centre;   // fixed point (vec3); null: the centre of the listed objects' box
    const float* matrix;   // row-major 3x4, applied to coordinates relative to the centre
    int32_t rotates;       // entity angles follow; without texture lock the face axes are reset
    uint8_t keepBits;      // TransformKeep
    int32_t noTextureLock; // texture lock off for this transform whatever the setting
    int32_t viewAxisA;     // the view's two world axes (-1 none), for model scaling only
    int32_t viewAxisB;
    int32_t scaleEnabled; // 0: a box resize leaves model entities' scale alone
};
static_assert(std::is_standard_layout_v<TransformParams>);
static_assert(sizeof(TransformParams) == 40);
static_assert(offsetof(TransformParams, matrix) == 8);
static_assert(offsetof(TransformParams, rotates) == 16);
static_assert(offsetof(TransformParams, keepBits) == 20);
static_assert(offsetof(TransformParams, noTextureLock) == 24);
static_assert(offsetof(TransformParams, viewAxisA) == 28);
static_assert(offsetof(TransformParams, viewAxisB) == 32);
static_assert(offsetof(TransformParams, scaleEnabled) == 36);

// ---- Operations (no undo level, no redraw) ---------------------------------------------------
// entities / brushes: chains linked through their selection links; null takes the world's
// selected entities / brushes. Point entities move by their origin; other entities are moved
// through their brushes.
void Map_TransformSelection(MapWorld* world, EntityRecord* entities, BrushRecord* brushes,
                            const TransformParams* params);
// Moves the selection so that the world's snap corner of its box (eachObject: of each object's
// own box) lies on the grid; the snap corner advances.
void Map_SnapSelectionToGrid(MapWorld* world, float grid, bool eachObject);
// Moves the selection by the offset that puts the snap corner of the given box on the grid; the
// snap corner advances.
void Map_SnapSelectionCorner(MapWorld* world, float grid, const float mins[3], const float maxs[3]);
// Moves each selected object along the axis (0..2) so that its minimum (side 0) or maximum
// (side 1) meets the selection's.
void Map_AlignSelection(MapWorld* world, int32_t axis, int32_t side);
// Mirrors the selection along the axis (0..2) inside its own extent.
void Map_FlipSelection(MapWorld* world, int32_t axis);
// The snap offset of one axis: the corner coordinate p moved to the nearest grid line, an exact
// half rounding up on a max side and down on a min side. Zero for a grid that is not positive.
float Map_SnapAxisOffset(float p, float grid, bool maxSide);

// ---- Commands (one undo level each; false when nothing was done) -------------------------------
// Each needs at least one selected entity or brush; axes outside 0..2 do nothing.
// "Rotate Selection": degrees about the axis, about the centre of the selection's box.
bool Map_RotateSelectionCommand(MapWorld* world, int32_t axis, float degrees);
// "Transformation": the selection by a row-major 4×4 about the centre of its box (rotates: entity
// angles follow). False, and no level, without a selection.
bool Map_TransformSelectionCommand(MapWorld* world, const float matrix[16], bool rotates);
// "Align Selection".
bool Map_AlignSelectionCommand(MapWorld* world, int32_t axis, int32_t side);
// "Flip Selection".
bool Map_FlipSelectionCommand(MapWorld* world, int32_t axis);
// "Snap to Grid" with the current grid size.
bool Map_SnapToGridCommand(MapWorld* world, bool eachObject);
