// The drawing patches and overlays share: a mesh of quads on a brush of kind 1 or 2, drawn by the
// same colour, queueing, picking and mode rules (the overlay is one quad).
#pragma once

#include <cstdint>

struct BrushRecord;
struct RenderContext;
struct RenderCounters;
struct ShaderRecord;
struct TransformPreview;

// Vertices of the shared draw buffers (the largest patch has 8100).
inline constexpr int32_t kSurfaceMaxVertices = 9216;

// A mesh's edges as line strips over vertices of their own, each edge once; the vertices are the
// ones to mark with points. The owner builds them for the 2D views.
struct SurfaceWire {
    const float* xyz; // packed
    int32_t vertexCount;
    const uint16_t* const* strips; // each strip's indices into xyz
    const int32_t* stripLengths;
    int32_t stripCount;
};

struct SurfaceMesh {
    BrushRecord* brush;
    ShaderRecord* texture;
    uint32_t flags; // the record's: Blended, Dragged
    const float* centre;
    int32_t vertexCount;
    int32_t indexCount; // GL_QUADS, 4 per quad
    const uint16_t* indices;
    const float* xyz; // with the stride, like st and normals
    const float* st;
    const float* normals;
    int32_t stride;
    const uint8_t* shades; // per vertex 0..255, or null for the one shade
    float shade;
    uint8_t* colors; // per-vertex colour buffer (4 bytes each)
    int32_t skyKind;
    int32_t blendedKind;
    void* object;
    const SurfaceWire* wire; // 2D views: drawn instead of the quads in line mode and every vertex
};

// Returns whether the mesh was drawn (false when queued or filtered).
bool Surface_Draw(RenderContext* context, const SurfaceMesh& mesh);
void Surface_DrawBlended(RenderContext* context, const SurfaceMesh& mesh);
void Surface_DrawSky(RenderContext* context, const SurfaceMesh& mesh);
void Surface_DrawTransformed(RenderContext* context, const SurfaceMesh& mesh, TransformPreview* preview);
void Surface_DrawGridCrossings(RenderContext* context, const SurfaceMesh& mesh, float fade);
// Colour times shade / 256 per vertex (or unchanged), with the colour's alpha.
void Surface_FillColors(const SurfaceMesh& mesh, const uint8_t colour[4], uint8_t* destination,
                        int32_t stride, bool shaded);
