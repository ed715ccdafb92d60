// The 296-byte record of an overlay: a textured quad laid on a brush face. Project files and
// undo snapshots store its plane, texture block and corner block as they lie here.
#pragma once

#include <cstddef>
#include <cstdint>

#include "map/TextureInfo.h"

struct BrushRecord;
struct ShaderRecord;
class cMapOverlay;

// Bits of OverlayRecord::flags.
namespace OverlayFlags {
constexpr uint32_t NeedsUpdate = 0x4;
constexpr uint32_t Blended = 0x10;
constexpr uint32_t Dragged = 0x100; // set by the selection tool while it drags
} // namespace OverlayFlags

// Bits of cMapOverlay::update.
namespace OverlayUpdate {
constexpr uint32_t Plane = 0x1;
constexpr uint32_t Geometry = 0x2;
} // namespace OverlayUpdate

constexpr int kOverlayCorners = 4;

struct OverlayCorner {
    float xyz[3];
    float s;
    float t;
    float reserved; // travels with its corner
};
static_assert(sizeof(OverlayCorner) == 24);
static_assert(offsetof(OverlayCorner, s) == 12);
static_assert(offsetof(OverlayCorner, t) == 16);

struct OverlayRecord {
    cMapOverlay* handle;
    BrushRecord* brush;
    ShaderRecord* texture; // one reference held
    uint32_t flags;        // OverlayFlags
    float normal[3];
    float dist;
    int32_t planeType; // 0..2 axial, 3 general
    TextureInfo texInfo;
    float mins[3];
    float maxs[3];
    OverlayCorner corners[kOverlayCorners]; // in order round the quad
};
static_assert(sizeof(OverlayRecord) == 296);
static_assert(offsetof(OverlayRecord, brush) == 8);
static_assert(offsetof(OverlayRecord, texture) == 16);
static_assert(offsetof(OverlayRecord, flags) == 24);
static_assert(offsetof(OverlayRecord, normal) == 28);
static_assert(offsetof(OverlayRecord, dist) == 40);
static_assert(offsetof(OverlayRecord, planeType) == 44);
static_assert(offsetof(OverlayRecord, texInfo) == 48);
static_assert(offsetof(OverlayRecord, mins) == 176);
static_assert(offsetof(OverlayRecord, maxs) == 188);
static_assert(offsetof(OverlayRecord, corners) == 200);
static_assert(sizeof(OverlayRecord::corners) == 96);
