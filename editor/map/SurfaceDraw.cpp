#include "map/SurfaceDraw.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "gamedata/TextureRecords.h"
#include "map/MapBrush.h"
#include "map/MapDrawable.h"
#include "map/MapFace.h"
#include "map/ObjectDraw.h"
#include "render/ColorScheme.h"
#include "render/DrawQueue.h"
#include "render/GLStateCache.h"
#include "render/RenderContext.h"

// GL 1.4, exported by the GL library; the precompiled GL header leaves out the prototypes.
extern "C" void glMultiDrawElements(GLenum mode, const GLsizei* count, GLenum type,
                                    const void* const* indices, GLsizei drawcount);

namespace {

constexpr uint32_t kDragged = 0x100;
constexpr GLubyte kStipple[128] = {
#define ROW 0xcc, 0xcc, 0xcc, 0xcc, 0xcc, 0xcc, 0xcc, 0xcc, 0x33, 0x33, 0x33, 0x33, 0x33, 0x33, 0x33, 0x33
    ROW, ROW, ROW, ROW, ROW,
    ROW, ROW, ROW
#undef ROW
};

const float* at(const float* base, int32_t stride, int32_t i) {
    return reinterpret_cast<const float*>(reinterpret_cast<const uint8_t*>(base) + size_t(stride) * i);
}

void pointers(const RenderContext* context, const SurfaceMesh& mesh) {
    Render_VertexPointer(context->stateCache, mesh.stride, mesh.xyz);
}

void drawElements(const SurfaceMesh& mesh) {
    glDrawElements(GL_QUADS, mesh.indexCount, GL_UNSIGNED_SHORT, mesh.indices);
}

// The 2D views' edges: the owner's strips (each edge once), else the quads in line mode.
void drawEdges(const RenderContext* context, const SurfaceMesh& mesh) {
    const SurfaceWire* wire = mesh.wire;
    if (!wire) {
        pointers(context, mesh);
        drawElements(mesh);
        return;
    }
    Render_VertexPointer(context->stateCache, 0, wire->xyz);
    glMultiDrawElements(GL_LINE_STRIP, wire->stripLengths, GL_UNSIGNED_SHORT,
                        reinterpret_cast<const void* const*>(wire->strips), wire->stripCount);
}

// The 2D views' vertex points; a wire's go with the pass's other handles when a pass is open.
void drawVertexPoints(const RenderContext* context, const SurfaceMesh& mesh, const uint8_t colour[4]) {
    const SurfaceWire* wire = mesh.wire;
    if (wire && DrawQueue_Handles(context->queue, GL_POINTS, wire->xyz, wire->vertexCount, colour)) return;
    glColor4ubv(colour);
    if (wire) {
        Render_VertexPointer(context->stateCache, 0, wire->xyz);
        glDrawArrays(GL_POINTS, 0, wire->vertexCount);
    } else {
        pointers(context, mesh);
        glDrawArrays(GL_POINTS, 0, mesh.vertexCount);
    }
}

// Which side of the triangle a, b, c faces the eye by a clear margin: 1 its front (counter-
// clockwise), -1 its back, 0 neither (the cosine between its normal and the way to the eye within
// 1/1000 of 0, where rounding in GL's projection could decide either way).
int facing(const float* a, const float* b, const float* c, const float eye[3]) {
    const float u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const float v[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    const float n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
    const float e[3] = {eye[0] - a[0], eye[1] - a[1], eye[2] - a[2]};
    const float d = n[0] * e[0] + n[1] * e[1] + n[2] * e[2];
    const float n2 = n[0] * n[0] + n[1] * n[1] + n[2] * n[2];
    const float e2 = e[0] * e[0] + e[1] * e[1] + e[2] * e[2];
    if (!(d * d > 1e-6f * n2 * e2)) return 0;
    return d > 0.0f ? 1 : -1;
}

// The mesh's quads by the side they show, in the mesh's order: front (every triangle either way
// a quad may be split faces the eye) as quads, the rest as quads, and the edges of back ones
// (every triangle faces away) as lines, each edge once though neighbours share it.
struct FacingSplit {
    std::vector<uint16_t> front, backEdges, rest;
    std::vector<uint32_t> edgeKeys; // (lower << 16 | higher) << 1 | reversed, per back edge
};

void splitByFacing(const RenderContext* context, const SurfaceMesh& mesh, FacingSplit& split) {
    split.front.clear();
    split.backEdges.clear();
    split.rest.clear();
    split.edgeKeys.clear();
    const float* eye = context->origin;
    for (int32_t q = 0; q + 3 < mesh.indexCount; q += 4) {
        const uint16_t* i = mesh.indices + q;
        const float *p0 = at(mesh.xyz, mesh.stride, i[0]), *p1 = at(mesh.xyz, mesh.stride, i[1]),
                    *p2 = at(mesh.xyz, mesh.stride, i[2]), *p3 = at(mesh.xyz, mesh.stride, i[3]);
        const int side = facing(p0, p1, p2, eye);
        if (side && facing(p0, p2, p3, eye) == side && facing(p0, p1, p3, eye) == side &&
            facing(p1, p2, p3, eye) == side) {
            if (side > 0) {
                split.front.insert(split.front.end(), i, i + 4);
            } else {
                for (int k = 0; k < 4; ++k) {
                    const uint32_t a = i[k], b = i[(k + 1) & 3];
                    split.edgeKeys.push_back(a < b ? (a << 16 | b) << 1 : (b << 16 | a) << 1 | 1);
                }
            }
        } else {
            split.rest.insert(split.rest.end(), i, i + 4);
        }
    }
    // Edges sorted by their ends; the first of a shared edge's two windings is kept.
    std::sort(split.edgeKeys.begin(), split.edgeKeys.end());
    for (size_t k = 0; k < split.edgeKeys.size(); ++k) {
        const uint32_t key = split.edgeKeys[k];
        if (k && (split.edgeKeys[k - 1] >> 1) == (key >> 1)) continue;
        const uint16_t lower = uint16_t(key >> 17), higher = uint16_t(key >> 1);
        const bool reversed = key & 1;
        split.backEdges.push_back(reversed ? higher : lower);
        split.backEdges.push_back(reversed ? lower : higher);
    }
}

// Back side as lines, front side filled: both sides show, the inside as a wireframe.
void drawBothSides(const RenderContext* context, const SurfaceMesh& mesh) {
    glPolygonMode(GL_BACK, GL_LINE);
    const uint32_t word = context->stateCache->state;
    GL_State(context->stateCache, (word & ~GLS::CullMask) | 0x100000);
    drawElements(mesh);
    GL_State(context->stateCache, word);
    glPolygonMode(GL_BACK, GL_FILL);
}

// Unfilled polygons take llvmpipe's slow path for every triangle of their draw, and a draw per
// mesh costs as much again: the camera view's normal pass queues the mesh with its faces
// instead, the quads that clearly face the eye filled and those that clearly face away as their
// edges in plain lines (what the unfilled mode draws of them), and only the rest both-sided.
// False when no queue is open or the texture draws through effect stages: nothing is queued.
bool queueBySide(const RenderContext* context, const SurfaceMesh& mesh, const uint8_t* colours,
                 const uint8_t colour[4], bool textured) {
    DrawQueue* queue = context->queue;
    if (!context->is3D || !DrawQueue_IsOpen(queue) || (textured && Draw_UsesStages(context, mesh.texture)))
        return false;
    static FacingSplit split; // shared buffers
    splitByFacing(context, mesh, split);
    QueuedVertices vertices = {mesh.xyz, textured ? mesh.st : nullptr, mesh.stride, colours, colour, 0, true};
    Draw_SetQueuedTexture(vertices, textured ? mesh.texture->image : nullptr);
    DrawQueue_Vertices(queue, vertices, GL_QUADS, false, split.front.data(), int32_t(split.front.size()));
    DrawQueue_Vertices(queue, vertices, GL_LINES, false, split.backEdges.data(),
                       int32_t(split.backEdges.size()));
    DrawQueue_Vertices(queue, vertices, GL_QUADS, true, split.rest.data(), int32_t(split.rest.size()));
    return true;
}

void drawTextured(const RenderContext* context, const SurfaceMesh& mesh, const uint8_t colour[4]) {
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    if (Draw_UsesStages(context, mesh.texture)) {
        const SurfaceVertices vertices = {mesh.vertexCount, mesh.xyz,    mesh.st,
                                          mesh.normals,     mesh.stride, mesh.stride};
        Draw_EffectStages(context, mesh.texture, GL_QUADS, vertices, mesh.indices, mesh.indexCount, colour);
    } else {
        Draw_BindTexture(context, mesh.texture);
        Render_TexCoordPointer(context->stateCache, mesh.stride, mesh.st);
        pointers(context, mesh);
        drawBothSides(context, mesh);
    }
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisable(GL_TEXTURE_2D);
}

// The solid modes: per-vertex (shaded) colours or one colour, textured or not; queued with the
// pass's faces where it may be.
void drawSolid(RenderContext* context, const SurfaceMesh& mesh, const uint8_t fill[4], bool textured,
               bool shaded, bool queueable) {
    const bool perVertex = mesh.shades && shaded;
    uint8_t colour[4];
    for (int k = 0; k < 3; ++k)
        colour[k] = shaded ? uint8_t(std::min(255.0f, fill[k] * mesh.shade)) : fill[k];
    colour[3] = fill[3];
    if (perVertex) Surface_FillColors(mesh, fill, mesh.colors, 0, true);
    if (queueable && queueBySide(context, mesh, perVertex ? mesh.colors : nullptr, colour, textured)) return;
    GL_State(context->stateCache, Draw_SolidState(context));
    if (perVertex) {
        glEnableClientState(GL_COLOR_ARRAY);
        Render_ColorPointer(context->stateCache, 0, mesh.colors);
    } else {
        glColor4ubv(colour);
    }
    pointers(context, mesh);
    if (textured)
        drawTextured(context, mesh, fill);
    else
        drawBothSides(context, mesh);
    if (perVertex) glDisableClientState(GL_COLOR_ARRAY);
}

bool hiddenByView(const RenderContext* context, const SurfaceMesh& mesh) {
    return !mesh.indexCount || !mesh.indices || !(context->renderFlags & RenderBit::Curves) ||
           Draw_HiddenByCategory(context, mesh.texture);
}

} // namespace

void Surface_FillColors(const SurfaceMesh& mesh, const uint8_t colour[4], uint8_t* destination,
                        int32_t stride, bool shaded) {
    if (!stride) stride = 4;
    for (int32_t i = 0; i < mesh.vertexCount; ++i) {
        uint8_t* out = destination + size_t(stride) * i;
        const int s = mesh.shades ? mesh.shades[i] : int(mesh.shade * 255.0f);
        for (int k = 0; k < 3; ++k)
            out[k] = shaded ? uint8_t(colour[k] * s / 256) : colour[k];
        out[3] = colour[3];
    }
}

bool Surface_Draw(RenderContext* context, const SurfaceMesh& mesh) {
    if (hiddenByView(context, mesh)) return false;
    GLStateCache* cache = context->stateCache;
    if (Draw_Picking(context)) {
        Draw_SetPickColor(Draw_PickId(context, mesh.brush));
        pointers(context, mesh);
        GL_State(cache, GLS::Opaque | 0x100000);
        if (!context->is3D) {
            glLineWidth(4.0f);
            glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        }
        drawElements(mesh);
        if (!context->is3D) {
            glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
            glLineWidth(1.0f);
        }
        return true;
    }
    if (Draw_QueuesSky(context, mesh.texture)) {
        Draw_QueueSky(context, mesh.skyKind, mesh.object);
        return false;
    }
    if (Draw_IsBlended(context, mesh.brush, mesh.flags, mesh.texture)) {
        Draw_QueueBlended(context, mesh.blendedKind, mesh.object, mesh.centre);
        return false;
    }
    const bool selected = mesh.brush->flags & BrushFlags::Selected;
    const bool textured = Draw_Textured(context, mesh.texture);
    uint8_t fill[4], outline[4];
    Draw_SurfaceColors(context, mesh.brush, selected, textured, fill, outline);
    if (!context->is3D) {
        DrawQueue_FlushFaces(context->queue, context); // the faces queued before stay under
        GL_State(cache, GLS::Opaque | 0x100000);
        const bool dragged = mesh.flags & kDragged;
        if (dragged) {
            for (int k = 0; k < 3; ++k)
                fill[k] = uint8_t(fill[k] * 3 / 4);
            glPolygonStipple(kStipple);
            glEnable(GL_POLYGON_STIPPLE);
        }
        glColor4ubv(fill);
        drawEdges(context, mesh);
        if (dragged) glDisable(GL_POLYGON_STIPPLE);
        if (Sys_Settings().DrawVertices) {
            uint8_t colour[4];
            drawVertexPoints(context, mesh, selected ? fill : Color_FillRGBA(colour, COLOR_2D_VERTEX));
        }
    } else if (context->renderMode == 0) {
        pointers(context, mesh);
        GL_State(cache, GLS::Opaque | 0x100000);
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        glColor4ubv(outline);
        drawElements(mesh);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    } else {
        const bool queueable = !selected && !(context->renderFlags & RenderBit::Grid3D);
        drawSolid(context, mesh, fill, textured, !textured || context->renderMode != 2, queueable);
        if (selected && !(context->renderFlags & RenderBit::VertexTool)) {
            GL_State(cache, Draw_SolidState(context));
            pointers(context, mesh);
            glColor4ubv(outline);
            cMapDrawable::beginOutline(context);
            drawElements(mesh);
            cMapDrawable::endOutline(context);
        }
    }
    if (context->renderFlags & RenderBit::Grid3D) Surface_DrawGridCrossings(context, mesh, 1.0f);
    return true;
}

void Surface_DrawBlended(RenderContext* context, const SurfaceMesh& mesh) {
    const bool textured = Draw_Textured(context, mesh.texture);
    uint8_t fill[4], outline[4];
    Draw_SurfaceColors(context, mesh.brush, mesh.brush->flags & BrushFlags::Selected, textured, fill,
                       outline);
    fill[3] = uint8_t(std::min(1.0f, Draw_BlendedAlpha(context, mesh.brush, mesh.texture)) * 255.0f);
    if (!Draw_UsesStages(context, mesh.texture))
        GL_State(context->stateCache, 0x40065 | (context->backFaceCull ? 0 : 0x100000));
    uint8_t colour[4];
    for (int k = 0; k < 3; ++k)
        colour[k] =
            context->renderMode == 2 && textured ? fill[k] : uint8_t(std::min(255.0f, fill[k] * mesh.shade));
    colour[3] = fill[3];
    glColor4ubv(colour);
    pointers(context, mesh);
    if (textured)
        drawTextured(context, mesh, colour);
    else
        drawElements(mesh);
    GL_State(context->stateCache, 0x40000);
}

void Surface_DrawSky(RenderContext* context, const SurfaceMesh& mesh) {
    const bool selected = mesh.brush->flags & BrushFlags::Selected;
    const bool applying =
        (context->renderFlags & RenderBit::TextureTool) && (context->hideMask & HideBit::TextureApplication);
    uint8_t colour[4] = {255, 255, 255, 255};
    if (selected && !applying) Color_FillRGBA(colour, COLOR_SELECTED_FILL);
    glColor4ubv(colour);
    pointers(context, mesh);
    drawBothSides(context, mesh);
    if (selected) {
        glColor4ubv(Color_FillRGBA(colour, COLOR_SELECTED_LINE));
        const uint32_t word = context->stateCache->state;
        GL_State(context->stateCache, (word & ~GLS::CullMask) | 0x100000);
        cMapDrawable::beginOutline(context);
        drawElements(mesh);
        cMapDrawable::endOutline(context);
        GL_State(context->stateCache, word);
    }
}

void Surface_DrawTransformed(RenderContext* context, const SurfaceMesh& mesh, TransformPreview* preview) {
    static float moved[kSurfaceMaxVertices][3]; // shared draw buffer
    const int32_t n = std::min(mesh.vertexCount, kSurfaceMaxVertices);
    for (int32_t i = 0; i < n; ++i)
        Draw_PreviewPoint(preview, at(mesh.xyz, mesh.stride, i), moved[i]);
    uint8_t fill[4], outline[4];
    Draw_SurfaceColors(context, mesh.brush, true, false, fill, outline);
    glColor4ubv(fill);
    GL_State(context->stateCache, GLS::Opaque | 0x100000);
    Render_VertexPointer(context->stateCache, 0, moved);
    GLint modes[2];
    glGetIntegerv(GL_POLYGON_MODE, modes);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    if (n == mesh.vertexCount) drawElements(mesh);
    if (Sys_Settings().DrawVertices) glDrawArrays(GL_POINTS, 0, n);
    glPolygonMode(GL_FRONT_AND_BACK, GLenum(modes[0]));
}

void Surface_DrawGridCrossings(RenderContext* context, const SurfaceMesh& mesh, float fade) {
    float mins[3] = {1e30f, 1e30f, 1e30f}, maxs[3] = {-1e30f, -1e30f, -1e30f};
    for (int32_t i = 0; i < mesh.vertexCount; ++i)
        for (int k = 0; k < 3; ++k) {
            mins[k] = std::fmin(mins[k], at(mesh.xyz, mesh.stride, i)[k]);
            maxs[k] = std::fmax(maxs[k], at(mesh.xyz, mesh.stride, i)[k]);
        }
    const float range = float(context->distanceGridUV);
    for (int k = 0; k < 3; ++k)
        if (context->origin[k] < mins[k] - range || context->origin[k] > maxs[k] + range) return;
    const float grid = float(std::max(1, context->gridSize));
    const GLubyte alpha = fade < 1.0f ? GLubyte(std::max(0.0f, fade) * 255.0f) : 255;
    glBegin(GL_LINES);
    for (int axis = 0; axis < 3; ++axis) {
        if (maxs[axis] - mins[axis] < 0.001f || !std::isfinite(mins[axis]) || !std::isfinite(maxs[axis]))
            continue;
        const double first = std::floor(mins[axis] / grid), last = std::ceil(maxs[axis] / grid);
        if (last - first > kFaceMaxLinesPerAxis) continue; // closer than a pixel: nothing to see
        glColor4ub(axis == 0 ? 255 : 0, axis == 1 ? 255 : 0, axis == 2 ? 255 : 0, alpha);
        for (double g = first; g < last; g += 1.0) {
            const float plane = float(g * grid);
            for (int32_t q = 0; q + 3 < mesh.indexCount; q += 4) {
                float hits[2][3];
                int found = 0;
                const float* lift = nullptr;
                for (int e = 0; e < 4 && found < 2; ++e) {
                    const float* a = at(mesh.xyz, mesh.stride, mesh.indices[q + e]);
                    const float* b = at(mesh.xyz, mesh.stride, mesh.indices[q + (e + 1) % 4]);
                    if (a[axis] == b[axis]) continue;
                    const float f = (plane - a[axis]) / (b[axis] - a[axis]);
                    if (f < 0.0f || f > 1.0f) continue;
                    for (int k = 0; k < 3; ++k)
                        hits[found][k] = a[k] + f * (b[k] - a[k]);
                    if (found == 1) lift = at(mesh.normals, mesh.stride, mesh.indices[q + e]);
                    ++found;
                }
                if (found < 2) continue;
                for (auto& p : hits)
                    glVertex3f(p[0] + 0.25f * lift[0], p[1] + 0.25f * lift[1], p[2] + 0.25f * lift[2]);
            }
        }
    }
    glEnd();
}
