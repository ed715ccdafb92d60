// Drawing of patches: the mesh through the shared surface rules.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "render/DrawQueue.h"
#include "map/MapBrush.h"
#include "map/MapPatch.h"
#include "map/ObjectDraw.h"
#include "map/SurfaceDraw.h"
#include "render/GLStateCache.h"
#include "render/RenderContext.h"

namespace {

SurfaceMesh meshOf(cMapPatch* patch) {
    PatchRecord* r = patch->record;
    SurfaceMesh mesh{};
    mesh.brush = r->brush;
    mesh.texture = r->texture;
    mesh.flags = r->flags;
    mesh.centre = patch->centre;
    const bool ready = r->vertices && r->indices && !(r->flags & PatchFlags::NeedsUpdate) &&
                       r->vertexCount > 0 && r->vertexCount <= kSurfaceMaxVertices;
    mesh.vertexCount = ready ? r->vertexCount : 0;
    mesh.indexCount = ready ? r->indexCount : 0;
    mesh.indices = r->indices;
    mesh.xyz = ready ? r->vertices[0].xyz : nullptr;
    mesh.st = ready ? &r->vertices[0].s : nullptr;
    mesh.normals = ready ? r->vertices[0].normal : nullptr;
    mesh.stride = sizeof(PatchMeshVertex);
    mesh.shades = r->shades;
    mesh.shade = 1.0f;
    mesh.colors = r->colors;
    mesh.skyKind = SkyKind::Patch;
    mesh.blendedKind = BlendedKind::Patch;
    mesh.object = r;
    return mesh;
}

constexpr int kPieceCells = 5;       // cells along each side of a piece: 6 x 6 vertices
constexpr int kMaxGridLines = 76;    // 15 pieces of 5 cells, plus one
constexpr float kMergePixels = 1.0f; // lines this close run together on screen

// The tessellated grid of a patch: i across its columns, j across its rows, each piece's 6 x 6
// vertices in it. A line two pieces share is taken from the piece that starts there, whose
// vertices are the control points' exact values.
struct PatchGrid {
    const PatchMeshVertex* vertices;
    int piecesDown; // pieces across the rows
    int width;      // lines across the columns
    int height;
    int vertex(int i, int j) const {
        const int pi = std::min(i / kPieceCells, (width - 1) / kPieceCells - 1);
        const int pj = std::min(j / kPieceCells, piecesDown - 1);
        return (pi * piecesDown + pj) * kPatchPieceVertices + (i - pi * kPieceCells) * 6 +
               (j - pj * kPieceCells);
    }
};

// At most how long a tessellated cell's edge across the columns (or the rows) is on screen, in
// pixels. Along that direction every line of the mesh is a quadratic curve whose control points
// are blends of the control grid's, so it moves at most twice the grid's longest segment that way
// per unit of its parameter, and a cell spans a fifth of it.
float cellPixels(const PatchRecord* r, const RenderContext* context, bool acrossColumns) {
    const int h = context->hAxis, v = context->vAxis;
    float longest = 0.0f;
    const int columns = acrossColumns ? r->columns - 1 : r->columns;
    const int rows = acrossColumns ? r->rows : r->rows - 1;
    for (int c = 0; c < columns; ++c)
        for (int row = 0; row < rows; ++row) {
            const float* a = r->points[c][row].xyz;
            const float* b = acrossColumns ? r->points[c + 1][row].xyz : r->points[c][row + 1].xyz;
            const float dh = a[h] - b[h], dv = a[v] - b[v];
            longest = std::max(longest, dh * dh + dv * dv);
        }
    return 2.0f / kPieceCells * std::sqrt(longest) / context->invZoom;
}

// Every step-th of lines 0..count-1 and the last; returns how many.
int keptLines(int count, int step, int out[kMaxGridLines]) {
    int n = 0;
    for (int k = 0; k < count - 1; k += step)
        out[n++] = k;
    out[n++] = count - 1;
    return n;
}

} // namespace

int32_t Patch_WireStep(float cellPixels) {
    if (!(cellPixels < kMergePixels)) return 1; // also a non-finite length
    if (cellPixels <= 0.0f) return kMaxGridLines;
    return std::clamp(int32_t(kMergePixels / cellPixels), 1, kMaxGridLines);
}

bool cMapPatch::buildWire(const RenderContext* context, SurfaceWire* wire) {
    const PatchRecord* r = record;
    const int across = r->columns / 2, down = r->rows / 2;
    if (across < 1 || down < 1 || r->vertexCount != across * down * kPatchPieceVertices) return false;
    const PatchGrid grid{r->vertices, down, across * kPieceCells + 1, down * kPieceCells + 1};
    int lineI[kMaxGridLines], lineJ[kMaxGridLines];
    const int countI = keptLines(grid.width, Patch_WireStep(cellPixels(r, context, true)), lineI);
    const int countJ = keptLines(grid.height, Patch_WireStep(cellPixels(r, context, false)), lineJ);
    // The kept crossings in a compact array (GL copies a client array's whole index range for
    // every draw), crossing (a, b) at a * countJ + b.
    wireXyz.resize(size_t(3 * countI * countJ));
    float* xyz = wireXyz.data();
    for (int a = 0; a < countI; ++a)
        for (int b = 0; b < countJ; ++b, xyz += 3) {
            const float* p = grid.vertices[grid.vertex(lineI[a], lineJ[b])].xyz;
            std::copy(p, p + 3, xyz);
        }
    wireIndices.resize(size_t(2 * countI * countJ));
    uint16_t* out = wireIndices.data();
    wireStrips.clear();
    wireLengths.clear();
    for (int a = 0; a < countI; ++a) {
        wireStrips.push_back(out);
        wireLengths.push_back(countJ);
        for (int b = 0; b < countJ; ++b)
            *out++ = uint16_t(a * countJ + b);
    }
    for (int b = 0; b < countJ; ++b) {
        wireStrips.push_back(out);
        wireLengths.push_back(countI);
        for (int a = 0; a < countI; ++a)
            *out++ = uint16_t(a * countJ + b);
    }
    wire->xyz = wireXyz.data();
    wire->vertexCount = countI * countJ;
    wire->strips = wireStrips.data();
    wire->stripLengths = wireLengths.data();
    wire->stripCount = int32_t(wireStrips.size());
    return true;
}

bool cMapPatch::draw(RenderContext* context, RenderCounters* counters) {
    SurfaceMesh mesh = meshOf(this);
    if (!mesh.brush || !mesh.indexCount) return false;
    SurfaceWire wire{};
    if (!context->is3D && !Draw_Picking(context) && buildWire(context, &wire)) mesh.wire = &wire;
    const bool drawn = Surface_Draw(context, mesh);
    if (drawn) ++counters->patches;
    return drawn;
}

void cMapPatch::drawBlended(RenderContext* context) {
    const SurfaceMesh mesh = meshOf(this);
    if (mesh.brush && mesh.indexCount) Surface_DrawBlended(context, mesh);
}

void cMapPatch::drawSky(RenderContext* context) {
    const SurfaceMesh mesh = meshOf(this);
    if (mesh.brush && mesh.indexCount) Surface_DrawSky(context, mesh);
}

void cMapPatch::drawTransformed(RenderContext* context, RenderCounters* counters, TransformPreview* preview) {
    const SurfaceMesh mesh = meshOf(this);
    if (!mesh.brush || !mesh.indexCount) return;
    ++counters->patches;
    Surface_DrawTransformed(context, mesh, preview);
}

void cMapPatch::drawMesh(RenderContext* context) {
    const SurfaceMesh mesh = meshOf(this);
    if (!mesh.indexCount) return;
    Render_VertexPointer(context->stateCache, mesh.stride, mesh.xyz);
    glDrawElements(GL_QUADS, mesh.indexCount, GL_UNSIGNED_SHORT, mesh.indices);
}

void cMapPatch::drawWire(RenderContext* context) {
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    drawMesh(context);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

void cMapPatch::drawTextured(RenderContext* context) {
    drawBlended(context);
}

void cMapPatch::fillVertexColors(const uint8_t colour[4], uint8_t* destination, int32_t stride, bool shaded) {
    Surface_FillColors(meshOf(this), colour, destination, stride, shaded);
}

void cMapPatch::drawGridCrossings(RenderContext* context, float fade) {
    const SurfaceMesh mesh = meshOf(this);
    if (mesh.indexCount) Surface_DrawGridCrossings(context, mesh, fade);
}
