// The effect preview's five shapes: plane, box, cylinder, sphere and teapot, as vertex and
// triangle lists in map units around the origin, unit normals, white base colour.
#pragma once

#include <cstdint>

#include "gamedata/EffectBatch.h"

inline constexpr int kPreviewShapeCount = 5;
inline constexpr int kPreviewMaxVertices = 1418; // the teapot, the largest shape
inline constexpr int kPreviewMaxIndices = 7392;

struct PreviewShapeInfo {
    const char* name;
    int vertexCount;
    int indexCount;
    float fitOffset; // extra camera distance
};
extern const PreviewShapeInfo PreviewShapes[kPreviewShapeCount];

// Fills vertices (room for kPreviewMaxVertices) and indices (kPreviewMaxIndices) with shape n;
// false for a number outside 0..4.
bool Preview_BuildShape(int n, EffectVertex* vertices, uint16_t* indices);
