// The plain records of a patch: control points, mesh vertices and the 37096-byte PatchRecord.
// Plugins, project files and undo snapshots read these by fixed offsets.
#pragma once

#include <cstddef>
#include <cstdint>

#include "map/TextureInfo.h"

struct BrushRecord;
struct ShaderRecord;
class cMapPatch;

// Capacity of the control grid and the counts a surface may use (odd, 3..31).
constexpr int kPatchGridLines = 32;
constexpr int kPatchMinLines = 3;
constexpr int kPatchMaxLines = 31;

// Mesh layout: 6 × 6 vertices and 5 × 5 quads per Bezier piece.
constexpr int kPatchPieceVertices = 36;
constexpr int kPatchPieceIndices = 100;

// Bits of PatchRecord::flags.
namespace PatchFlags {
constexpr uint32_t NeedsUpdate = 0x4;
constexpr uint32_t Blended = 0x10;
constexpr uint32_t Dragged = 0x100; // set by the selection tool while it drags
} // namespace PatchFlags

// Bits of PatchPoint::flags.
namespace PatchPointFlags {
constexpr int32_t NormalPending = 0x80; // only while normals are computed
} // namespace PatchPointFlags

// What "Randomize Matrix" asks of a patch.
struct PatchRandomParams {
    float amount = 0.0f;
    int32_t flags = 0; // PatchRandomFlags
};

// Bits of PatchRandomParams::flags.
namespace PatchRandomFlags {
constexpr int32_t AlongX = 0x1;
constexpr int32_t AlongY = 0x2;
constexpr int32_t AlongZ = 0x4;
constexpr int32_t OnlyOddLines = 0x8;  // only points with an odd column or an odd row
constexpr int32_t SkipOddLines = 0x10; // skip every odd column and every odd row
constexpr int32_t KeepBorder = 0x20;
constexpr int32_t SnapToUnits = 0x40;
constexpr int32_t Gaussian = 0x80;
} // namespace PatchRandomFlags

struct PatchPoint {
    float xyz[3];
    float normal[3];
    float s;
    float t;
    int32_t flags;
};
static_assert(sizeof(PatchPoint) == 36);
static_assert(offsetof(PatchPoint, normal) == 12);
static_assert(offsetof(PatchPoint, s) == 24);
static_assert(offsetof(PatchPoint, t) == 28);
static_assert(offsetof(PatchPoint, flags) == 32);

struct PatchMeshVertex {
    float xyz[3];
    float normal[3];
    float s;
    float t;
};
static_assert(sizeof(PatchMeshVertex) == 32);

struct PatchRecord {
    cMapPatch* handle; // the owning cMapPatch
    BrushRecord* brush;
    ShaderRecord* texture; // one reference held
    uint32_t flags;        // PatchFlags
    TextureInfo texInfo;
    float mins[3];
    float maxs[3];
    int32_t columns;
    int32_t rows;
    PatchPoint points[kPatchGridLines][kPatchGridLines]; // [column][row], column after column
    int32_t vertexCount;
    int32_t indexCount;
    int32_t reserved;
    PatchMeshVertex* vertices;
    uint16_t* indices;
    uint8_t* shades;
    uint8_t* colors; // R, G, B, A per vertex
};
static_assert(sizeof(PatchRecord) == 37096);
static_assert(offsetof(PatchRecord, brush) == 8);
static_assert(offsetof(PatchRecord, texture) == 16);
static_assert(offsetof(PatchRecord, flags) == 24);
static_assert(offsetof(PatchRecord, texInfo) == 28);
static_assert(offsetof(PatchRecord, mins) == 156);
static_assert(offsetof(PatchRecord, maxs) == 168);
static_assert(offsetof(PatchRecord, columns) == 180);
static_assert(offsetof(PatchRecord, rows) == 184);
static_assert(offsetof(PatchRecord, points) == 188);
static_assert(sizeof(PatchRecord::points) == 0x9000);
static_assert(offsetof(PatchRecord, vertexCount) == 37052);
static_assert(offsetof(PatchRecord, indexCount) == 37056);
static_assert(offsetof(PatchRecord, vertices) == 37064);
static_assert(offsetof(PatchRecord, indices) == 37072);
static_assert(offsetof(PatchRecord, shades) == 37080);
static_assert(offsetof(PatchRecord, colors) == 37088);

// Any count a patch is made or read with, as a usable odd count in 3..31. Even counts round up
// (4 → 5); odd counts outside the grid are clamped, so a plugin's 33 or an importer's 1 can
// neither overrun the 32-line grid nor read before it.
constexpr int Patch_NormalizeCount(int n) {
    if ((n & 1) == 0) n += 1;
    if (n < kPatchMinLines) return kPatchMinLines;
    if (n > kPatchMaxLines) return kPatchMaxLines;
    return n;
}
