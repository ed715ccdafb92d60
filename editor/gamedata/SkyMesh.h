// The sky's meshes: the box of six textured faces and the dome the cloud stages are drawn on,
// with the cloud texture coordinates for a cloud height. Built once, drawn around the eye.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gamedata/EffectBatch.h"

inline constexpr int32_t kSkyBoxVertices = 24;
inline constexpr int32_t kSkyDomeSide = 9; // vertices along a dome face's edge
inline constexpr int32_t kSkyDomeVertices = 6 * kSkyDomeSide * kSkyDomeSide;
inline constexpr int32_t kSkyDomeIndices = 6 * 8 * 8 * 6;
// Radius of the sphere the clouds lie on, about a centre this far below the eye.
inline constexpr float kSkyCloudRadius = 4096.0f;

struct SkyBoxVertex {
    float xyz[3];
    float st[2];
    uint32_t color; // 0xFFFFFFFF
};
static_assert(sizeof(SkyBoxVertex) == 24);
static_assert(offsetof(SkyBoxVertex, st) == 12);

struct SkyMeshes {
    SkyBoxVertex box[kSkyBoxVertices];
    uint16_t boxIndices[kSkyBoxVertices]; // 4f .. 4f + 3 for face f
    EffectVertex dome[kSkyDomeVertices];
    uint16_t domeIndices[kSkyDomeIndices];
    EffectBatch batch;        // over the dome, GL_TRIANGLES
    float cloudHeight = 0.0f; // of the dome's current texture coordinates
};

// Cube of half size 128, face f shows box image f.
void Sky_BuildBoxMesh(SkyBoxVertex* vertices, uint16_t* indices);
// Six faces of 9 x 9 vertices at the cube's sides, plain coordinates in base and stage fields.
void Sky_BuildDome(EffectVertex* vertices, uint16_t* indices);
// Cloud coordinates: where the ray from the eye through each vertex meets the sphere of radius
// R + height about (0, 0, -R); s and t the angles of that point's direction to x and y.
void Sky_CloudCoords(EffectVertex* vertices, int32_t count, float height);
// The meshes and the batch, with the dome at plain coordinates.
void Sky_BuildMeshes(SkyMeshes* meshes);
