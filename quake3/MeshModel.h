// The drawable form ASE and LWO models are assembled into: positions, distinct normals and per
// surface an effect with its corners (three make a triangle). Drawing, bounds and freeing.
#pragma once

#include <cstdint>

#include "ModelCommon.h"

struct ShaderRecord;

struct MeshCorner {
    int32_t position;
    int32_t normal;
    float st[2];
};
static_assert(sizeof(MeshCorner) == 16);

struct MeshSurface {
    ShaderRecord* effect;
    int32_t cornerCount;
    MeshCorner* corners;
};

struct MeshModel {
    int32_t pointCount;
    int32_t normalCount;
    int32_t surfaceCount;
    bool withOrigin; // bounds always hold the origin (LWO)
    float mins[3];
    float maxs[3];
    float (*positions)[3];
    float (*normals)[3];
    MeshSurface* surfaces;
};

// Releases every effect and frees the arrays and the model (null ignored).
void Mesh_Free(MeshModel* model);
void Mesh_Render(const MeshModel* model, int32_t flags, const ModelCacheEntry* entry,
                 const EntityRecord* entity);
void Mesh_Bounds(const MeshModel* model, int32_t flags, const EntityRecord* entity, float mins[3],
                 float maxs[3]);

// Per point, the triangles that use it, so smoothing visits only a corner's neighbours.
struct MeshPointFaces {
    int32_t* start = nullptr; // point p's triangles are faces[start[p] .. ends[p])
    int32_t* ends = nullptr;
    int32_t* faces = nullptr;
};
// From 3 point indices per triangle, each checked below pointCount; false when allocation fails.
bool Mesh_PointFaces(const int32_t* triangles, int32_t triangleCount, int32_t pointCount,
                     MeshPointFaces* out);
void Mesh_FreePointFaces(MeshPointFaces* lists);
