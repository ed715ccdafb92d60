// Drawing of overlays: the quad, lifted off its face, through the shared surface rules.
#include "render/DrawQueue.h"
#include "map/MapBrush.h"
#include "map/MapOverlay.h"
#include "map/SurfaceDraw.h"
#include "render/RenderContext.h"

namespace {

// Position, normal and texture coordinates of one corner, the patch mesh's layout.
struct OverlayVertex {
    float xyz[3];
    float normal[3];
    float st[2];
};

const uint16_t kQuad[4] = {0, 1, 2, 3};

SurfaceMesh meshOf(cMapOverlay* overlay, OverlayVertex vertices[4], uint8_t colors[16]) {
    OverlayRecord* r = overlay->record;
    for (int i = 0; i < kOverlayCorners; ++i) {
        for (int k = 0; k < 3; ++k) {
            vertices[i].xyz[k] = r->corners[i].xyz[k] + 0.1f * r->normal[k];
            vertices[i].normal[k] = r->normal[k];
        }
        vertices[i].st[0] = r->corners[i].s;
        vertices[i].st[1] = r->corners[i].t;
    }
    SurfaceMesh mesh{};
    mesh.brush = r->brush;
    mesh.texture = r->texture;
    mesh.flags = r->flags;
    mesh.centre = overlay->centre;
    const bool ready = !(r->flags & OverlayFlags::NeedsUpdate);
    mesh.vertexCount = ready ? 4 : 0;
    mesh.indexCount = ready ? 4 : 0;
    mesh.indices = kQuad;
    mesh.xyz = vertices[0].xyz;
    mesh.st = vertices[0].st;
    mesh.normals = vertices[0].normal;
    mesh.stride = sizeof(OverlayVertex);
    mesh.shades = nullptr;
    mesh.shade = overlay->shade;
    mesh.colors = colors;
    mesh.skyKind = SkyKind::Overlay;
    mesh.blendedKind = BlendedKind::Overlay;
    mesh.object = r;
    return mesh;
}

} // namespace

bool cMapOverlay::draw(RenderContext* context, RenderCounters* counters) {
    OverlayVertex vertices[4];
    uint8_t colors[16];
    const SurfaceMesh mesh = meshOf(this, vertices, colors);
    if (!mesh.brush || !mesh.indexCount) return false;
    const bool drawn = Surface_Draw(context, mesh);
    if (drawn) ++counters->overlays;
    return drawn;
}

void cMapOverlay::drawBlended(RenderContext* context) {
    OverlayVertex vertices[4];
    uint8_t colors[16];
    const SurfaceMesh mesh = meshOf(this, vertices, colors);
    if (mesh.brush && mesh.indexCount) Surface_DrawBlended(context, mesh);
}

void cMapOverlay::drawSky(RenderContext* context) {
    OverlayVertex vertices[4];
    uint8_t colors[16];
    const SurfaceMesh mesh = meshOf(this, vertices, colors);
    if (mesh.brush && mesh.indexCount) Surface_DrawSky(context, mesh);
}

void cMapOverlay::drawTransformed(RenderContext* context, RenderCounters* counters,
                                  TransformPreview* preview) {
    OverlayVertex vertices[4];
    uint8_t colors[16];
    const SurfaceMesh mesh = meshOf(this, vertices, colors);
    if (!mesh.brush || !mesh.indexCount) return;
    ++counters->overlays;
    Surface_DrawTransformed(context, mesh, preview);
}

void cMapOverlay::drawTextured(RenderContext* context) {
    drawBlended(context);
}

void cMapOverlay::drawGridCrossings(RenderContext* context, float fade) {
    OverlayVertex vertices[4];
    uint8_t colors[16];
    const SurfaceMesh mesh = meshOf(this, vertices, colors);
    if (mesh.indexCount) Surface_DrawGridCrossings(context, mesh, fade);
}
