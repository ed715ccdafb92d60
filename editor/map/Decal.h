// Decal projection: a decal entity's texture, a square of its own size centred on the entity's
// origin, is projected onto every brush face close behind the origin and clipped to the face's
// polygon. Each clipped piece (DecalFragment) is linked to its decal and to the brush it lies on.
// Fragments are recycled through one process-wide pool, freed only when the program ends.
#pragma once

#include <cstdint>

struct BrushRecord;
struct EntityModel;
struct EntityRecord;
struct FaceRecord;
struct ShaderRecord;

// The texture category bit that keeps a face free of decals and overlays.
constexpr int32_t kTextureCategoryNoDecal = 0x20;

// Capacity of a fragment: a face polygon of at most 128 vertices, plus one per clipping side.
constexpr int kDecalMaxVertices = 132;
constexpr int kDecalMaxFaceVertices = 128;

// GL primitives of a fragment.
namespace DecalPrimitive {
constexpr int32_t Triangles = 0x0004;
constexpr int32_t Quads = 0x0007;
constexpr int32_t Polygon = 0x0009;
} // namespace DecalPrimitive

struct DecalVertex {
    float xyz[3]; // lifted 0.1 unit off the face
    float s;      // 0..1 over the decal texture
    float t;
};
static_assert(sizeof(DecalVertex) == 20);

struct DecalFragment {
    DecalFragment* next;        // in the decal's list, or in the pool
    DecalFragment* nextInBrush; // in the carrying brush's list
    EntityRecord* entity;       // the decal entity
    BrushRecord* brush;         // null while not on a brush
    float normal[3];
    int32_t primitive; // DecalPrimitive
    int32_t vertexCount;
    DecalVertex vertices[kDecalMaxVertices];
};

// Rebuilds every fragment of the decal (entity and its attached decal drawable).
void Decal_Project(EntityRecord* entity, EntityModel* decal);
// Fills one fragment with the face's polygon clipped to the decal square around centre; the
// vertex count, 0 when nothing remains. A face of more than 128 vertices is refused.
int Decal_ClipToFace(const EntityModel* decal, const FaceRecord* face, const float centre[3],
                     DecalFragment* fragment);
// Takes every fragment of the decal off its brush and back to the pool.
void Decal_FreeFragments(EntityModel* decal);
// Marks the decals touching the brush for re-projection (EntityFlag::ReprojectDecal): those with
// fragments on it and those whose bounds overlap it. Null is ignored.
void Decal_InvalidateAroundBrush(BrushRecord* brush);
// For a brush that goes away: its fragments leave it (they stay with their decals until the
// decals are projected again) and their decals are marked for re-projection. Called by
// cMapBrush::unlinkDecalFragments.
void Decal_UnlinkBrush(BrushRecord* brush);
// Fragments waiting in the pool.
int Decal_PooledCount();
// Frees every pooled fragment (program exit); fragments held by decals stay theirs.
void Decal_FreePool();

// Whether the face's texture lets decals and overlays onto it.
bool Decal_FaceAccepts(const FaceRecord* face);
// Whether two boxes overlap, each widened by tolerance.
bool Decal_BoxesOverlap(const float minsA[3], const float maxsA[3], const float minsB[3],
                        const float maxsB[3], float tolerance);
