// Quake III MD3 models (format 0): the file records, the checked loader, drawing and bounds.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gamedata/PluginInterface.h"

// File records (little-endian, offsets from the file or surface start).
struct Md3Header {
    char magic[4];
    int32_t version;
    char name[64];
    int32_t flags;
    int32_t frameCount;
    int32_t tagCount;
    int32_t surfaceCount;
    int32_t skinCount;
    int32_t frameOffset;
    int32_t tagOffset;
    int32_t surfaceOffset;
    int32_t endOffset;
};
static_assert(sizeof(Md3Header) == 108);
static_assert(offsetof(Md3Header, frameCount) == 76);
static_assert(offsetof(Md3Header, endOffset) == 104);

struct Md3Frame {
    float mins[3];
    float maxs[3];
    float origin[3];
    float radius;
    char name[16];
};
static_assert(sizeof(Md3Frame) == 56);

struct Md3SurfaceHeader {
    char magic[4];
    char name[64];
    int32_t flags;
    int32_t frameCount;
    int32_t effectCount;
    int32_t vertexCount;
    int32_t triangleCount;
    int32_t triangleOffset;
    int32_t effectOffset;
    int32_t texCoordOffset;
    int32_t vertexOffset;
    int32_t endOffset;
};
static_assert(sizeof(Md3SurfaceHeader) == 108);
static_assert(offsetof(Md3SurfaceHeader, frameCount) == 72);
static_assert(offsetof(Md3SurfaceHeader, endOffset) == 104);

struct Md3Effect {
    char name[64];
    int32_t index;
};
static_assert(sizeof(Md3Effect) == 68);

struct Md3Vertex {
    int16_t xyz[3];  // 1/64 units
    uint16_t normal; // low byte latitude, high byte longitude (256ths of a turn)
};
static_assert(sizeof(Md3Vertex) == 8);

inline constexpr int32_t kMd3MaxSurfaces = 32;
inline constexpr int32_t kMd3MaxFrames = 1024;

// 1 loaded; 0 refused (silently for another magic or version, else with a message naming the
// file). Nothing is kept on failure.
int32_t Md3_Load(const char* path, const uint8_t* data, uint32_t size, ModelCacheEntry* entry);
void Md3_Free(void* model);
void Md3_Render(const void* model, int32_t flags, const ModelCacheEntry* entry, const EntityRecord* entity);
void Md3_Bounds(const void* model, int32_t flags, const EntityRecord* entity, float mins[3], float maxs[3]);
