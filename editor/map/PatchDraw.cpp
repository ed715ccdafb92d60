// Drawing of patches: the mesh through the shared surface rules.
#include <GL/gl.h>

#include "document/MapRender.h"
#include "map/MapBrush.h"
#include "map/MapPatch.h"
#include "map/SurfaceDraw.h"
#include "views/GLStateCache.h"
#include "views/RenderContext.h"

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

} // namespace

bool cMapPatch::draw(RenderContext* context, RenderCounters* counters) {
    const SurfaceMesh mesh = meshOf(this);
    if (!mesh.brush || !mesh.indexCount) return false;
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
