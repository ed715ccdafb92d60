// Drawing of brush faces: visibility, the immediate, blended and sky passes, the transform
// preview, texture stages, texture axes and the tile and grid lines.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gamedata/EffectBatch.h"
#include "gamedata/RenderApi.h"
#include "gamedata/TextureRecords.h"
#include "map/MapBrush.h"
#include "map/MapFace.h"
#include "map/ObjectDraw.h"
#include "render/ColorScheme.h"
#include "render/DrawQueue.h"
#include "render/GLStateCache.h"
#include "render/RenderContext.h"

namespace {

constexpr int32_t kTwoSided = 0x300000; // effect category bits: drawn from both sides
constexpr GLenum kClampToEdge = 0x812F;

GLenum primitiveMode(int32_t primitive) {
    switch (primitive) {
    case FacePrimitive::Triangles:
        return GL_TRIANGLES;
    case FacePrimitive::Quads:
        return GL_QUADS;
    default:
        return GL_POLYGON;
    }
}

void shadeColour(const uint8_t in[4], float shade, uint8_t out[4]) {
    for (int k = 0; k < 3; ++k)
        out[k] = uint8_t(std::fmin(255.0f, in[k] * shade));
    out[3] = in[3];
}

// The colour last set with glColor: the vertex colour stage colours may start from.
void currentColour(GLubyte out[4]) {
    GLfloat c[4];
    glGetFloatv(GL_CURRENT_COLOR, c);
    for (int k = 0; k < 4; ++k)
        out[k] = GLubyte(std::lround(c[k] * 255.0f));
}

bool faceSelected(const FaceRecord* face) {
    return (face->flags & FaceFlags::Selected) ||
           (face->brush && (face->brush->flags & BrushFlags::Selected));
}

// The eye lies within the view's grid distance of the box.
bool eyeNear(const RenderContext* context, const float mins[3], const float maxs[3]) {
    const float range = float(context->distanceGridUV);
    for (int k = 0; k < 3; ++k)
        if (context->origin[k] < mins[k] - range || context->origin[k] > maxs[k] + range) return false;
    return true;
}

// Segment where the polygon crosses coordinate value c of a per-vertex scalar; false when it
// does not cross.
bool crossing(const FaceRecord* face, const float* values, float c, float a[3], float b[3]) {
    int found = 0;
    const int n = face->vertexCount;
    for (int i = 0; i < n && found < 2; ++i) {
        const int j = (i + 1) % n;
        const float vi = values[i], vj = values[j];
        if ((vi - c) * (vj - c) > 0.0f || vi == vj) continue;
        const float f = (c - vi) / (vj - vi);
        if (f < 0.0f || f >= 1.0f) continue;
        float* out = found == 0 ? a : b;
        for (int k = 0; k < 3; ++k)
            out[k] = face->vertices[i].xyz[k] + f * (face->vertices[j].xyz[k] - face->vertices[i].xyz[k]);
        ++found;
    }
    return found == 2;
}

// Lines where the per-vertex value crosses every whole step between its extremes, lifted off
// the face; at most kFaceMaxLinesPerAxis, none for non-finite or too dense ranges.
void drawCrossings(const FaceRecord* face, const float* values, float step, const float lift[3]) {
    float lo = values[0], hi = values[0];
    for (int i = 1; i < face->vertexCount; ++i) {
        lo = std::fmin(lo, values[i]);
        hi = std::fmax(hi, values[i]);
    }
    if (!(step > 0.0f) || !std::isfinite(lo) || !std::isfinite(hi)) return;
    const double first = std::ceil(double(lo) / step), last = std::floor(double(hi) / step);
    if (last - first + 1 > kFaceMaxLinesPerAxis) return;
    float line[2][3];
    glBegin(GL_LINES);
    for (double k = first; k <= last; k += 1.0) {
        if (!crossing(face, values, float(k * step), line[0], line[1])) continue;
        for (auto& p : line)
            glVertex3f(p[0] + lift[0], p[1] + lift[1], p[2] + lift[2]);
    }
    glEnd();
}

// Whether the face lies wholly behind the queue's occluders.
bool faceOccluded(const DrawQueue* queue, const FaceRecord* face) {
    if (!DrawQueue_IsOpen(queue) || face->vertexCount < 1) return false;
    float mins[3], maxs[3];
    for (int k = 0; k < 3; ++k)
        mins[k] = maxs[k] = face->vertices[0].xyz[k];
    for (int32_t i = 1; i < face->vertexCount; ++i)
        for (int k = 0; k < 3; ++k) {
            mins[k] = std::min(mins[k], face->vertices[i].xyz[k]);
            maxs[k] = std::max(maxs[k], face->vertices[i].xyz[k]);
        }
    return DrawQueue_Occluded(queue, mins, maxs);
}

// The face as one polygon of the queue's batches (see DrawQueue_Polygon).
bool queueFace(DrawQueue* queue, const FaceRecord* face, const uint8_t colour[4], bool textured,
               uint32_t primitive, bool hidden) {
    if (face->vertexCount < 3) return false;
    QueuedVertices vertices = {
        face->vertices[0].xyz, &face->vertices[0].s, int32_t(sizeof(FaceVertex)), nullptr, colour, 0, true};
    Draw_SetQueuedTexture(vertices, textured ? face->texture->image : nullptr);
    return DrawQueue_Polygon(queue, vertices, primitive, face->vertexCount, hidden);
}

} // namespace

void Face_DrawEffectStage(const RenderContext* context, EffectBatch* batch, bool first,
                          const uint16_t* indices, int32_t indexCount) {
    const ShaderStage* stage = batch->stage;
    const TextureImage* image = Shader_CurrentFrame(batch);
    if (!stage || !image || !image->glName || batch->count <= 0) return;
    uint32_t state = stage->stateBits ? uint32_t(stage->stateBits) : uint32_t(batch->stateBits);
    if (!first) state &= ~GLS::DepthWrite;
    if (!context->backFaceCull) state |= 0x100000;
    GLStateCache* cache = context->stateCache;
    GL_State(cache, state);
    Render_BindTexture(cache, image->glName, context->textureFilter, !(image->flags & IMAGE_NO_MIPMAPS));
    const bool clampS = stage->stageFlags & 0x2, clampT = stage->stageFlags & 0x4;
    if (clampS) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, kClampToEdge);
    if (clampT) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, kClampToEdge);
    Shader_ComputeColors(batch);
    Shader_ComputeTexCoords(batch);
    Render_BatchPointers(cache, batch->vertices, true);
    glEnableClientState(GL_COLOR_ARRAY);
    if (indices)
        glDrawElements(GLenum(batch->primitive), indexCount, GL_UNSIGNED_SHORT, indices);
    else
        glDrawArrays(GLenum(batch->primitive), 0, batch->count);
    glDisableClientState(GL_COLOR_ARRAY);
    if (clampS) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    if (clampT) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

bool cMapFace::isVisible(const RenderContext* context) const {
    const FaceRecord* face = record;
    if ((face->flags & FaceFlags::NeedsUpdate) || face->vertexCount < 3 || !face->vertices) return false;
    if (Draw_HiddenByCategory(context, face->texture)) return false;
    if (!context->is3D) return std::fabs(face->normal[context->dAxis]) > 0.0001f;
    if (!context->backFaceCull || (face->texture && (face->texture->category & kTwoSided))) return true;
    float d = 0.0f;
    for (int k = 0; k < 3; ++k)
        d += face->normal[k] * context->origin[k];
    return d >= face->dist - 2.0f;
}

bool cMapFace::isVisibleTransformed(const RenderContext* context, const TransformPreview* preview) const {
    const FaceRecord* face = record;
    if ((face->flags & FaceFlags::NeedsUpdate) || face->vertexCount < 3 || !face->vertices) return false;
    if (Draw_HiddenByCategory(context, face->texture)) return false;
    if (context->is3D) return true;
    float normal[3];
    Draw_PreviewNormal(preview, face->normal, normal);
    return std::fabs(normal[context->dAxis]) > 0.0001f;
}

void cMapFace::drawTextured(RenderContext* context) {
    FaceRecord* face = record;
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    if (Draw_UsesStages(context, face->texture)) {
        GLubyte colour[4];
        currentColour(colour);
        const SurfaceVertices vertices = {face->vertexCount,           face->vertices[0].xyz,
                                          &face->vertices[0].s,        face->normal,
                                          int32_t(sizeof(FaceVertex)), 0};
        Draw_EffectStages(context, face->texture, primitiveMode(glPrimitive), vertices, nullptr, 0, colour);
    } else {
        Draw_BindTexture(context, face->texture);
        Render_TexCoordPointer(context->stateCache, sizeof(FaceVertex), &face->vertices[0].s);
        Render_VertexPointer(context->stateCache, sizeof(FaceVertex), face->vertices[0].xyz);
        glDrawArrays(primitiveMode(glPrimitive), 0, face->vertexCount);
    }
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisable(GL_TEXTURE_2D);
}

void cMapFace::draw(RenderContext* context, RenderCounters* counters, const uint8_t fill[4],
                    const uint8_t outline[4], bool occluded) {
    FaceRecord* face = record;
    BrushRecord* brush = face->brush;
    GLStateCache* cache = context->stateCache;
    ++counters->faces;
    Render_VertexPointer(cache, sizeof(FaceVertex), face->vertices[0].xyz);
    if (Draw_Picking(context)) {
        // Every face picks: no texture, no blending, both sides in 2D.
        Draw_SetPickColor(context->pickBase == 3 ? id : Draw_PickId(context, brush));
        GL_State(cache, context->is3D ? Draw_SolidState(context) : (GLS::Opaque | 0x100000));
        glDrawArrays(primitiveMode(glPrimitive), 0, face->vertexCount);
        return;
    }
    if (Draw_QueuesSky(context, face->texture)) {
        Draw_QueueSky(context, SkyKind::Face, face);
        return;
    }
    if (Draw_IsBlended(context, brush, face->flags, face->texture)) {
        Draw_QueueBlended(context, BlendedKind::Face, face, centre);
        return;
    }
    const bool selected = faceSelected(face);
    uint8_t colour[4];
    DrawQueue* queue = context->queue;
    // A selected face's outline may show through walls: it is never left out.
    const bool hidden = context->is3D && !selected && (occluded || faceOccluded(queue, face));
    if (!context->is3D) {
        if (queueFace(queue, face, fill, false, primitiveMode(glPrimitive), false)) return;
        GL_State(cache, GLS::Opaque | 0x100000);
        glColor4ubv(fill);
        glDrawArrays(primitiveMode(glPrimitive), 0, face->vertexCount);
        return;
    }
    if (context->renderMode != 0 && !selected && !(context->renderFlags & RenderBit::Grid3D)) {
        const bool textured = Draw_Textured(context, face->texture, !hidden);
        if (!textured || !Draw_UsesStages(context, face->texture)) {
            if (textured && context->renderMode == 2)
                std::memcpy(colour, fill, 4);
            else
                shadeColour(fill, shade, colour);
            if (queueFace(queue, face, colour, textured, primitiveMode(glPrimitive), hidden)) return;
        }
    }
    DrawQueue_Flush(queue, context);
    if (hidden) return;
    GL_State(cache, Draw_SolidState(context));
    if (context->renderMode == 0) {
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        glColor4ubv(outline);
        glDrawArrays(primitiveMode(glPrimitive), 0, face->vertexCount);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    } else {
        const bool textured = Draw_Textured(context, face->texture);
        if (textured && context->renderMode == 2)
            std::memcpy(colour, fill, 4);
        else
            shadeColour(fill, shade, colour);
        glColor4ubv(colour);
        if (textured)
            drawTextured(context);
        else
            glDrawArrays(primitiveMode(glPrimitive), 0, face->vertexCount);
        GL_State(cache, Draw_SolidState(context));
        if (selected && !(context->renderFlags & RenderBit::VertexTool)) {
            Render_VertexPointer(cache, sizeof(FaceVertex), face->vertices[0].xyz);
            glColor4ubv(outline);
            beginOutline(context);
            glDrawArrays(primitiveMode(glPrimitive), 0, face->vertexCount);
            endOutline(context);
        }
    }
    if ((face->flags & FaceFlags::Selected) && (context->renderFlags & RenderBit::TextureTool))
        drawTextureAxes(context);
    if ((context->renderFlags & RenderBit::GridUV) && (face->flags & FaceFlags::Selected))
        drawTileLines(context, 1.0f);
    if (context->renderFlags & RenderBit::Grid3D) drawGridLines(context, 1.0f);
}

void cMapFace::drawDeferred(RenderContext* context) {
    FaceRecord* face = record;
    BrushRecord* brush = face->brush;
    uint8_t fill[4], outline[4];
    const bool textured = Draw_Textured(context, face->texture);
    Draw_SurfaceColors(context, brush, faceSelected(face), textured, fill, outline);
    uint8_t colour[4];
    shadeColour(fill, context->renderMode == 2 ? 1.0f : shade, colour);
    colour[3] = uint8_t(std::fmin(1.0f, Draw_BlendedAlpha(context, brush, face->texture)) * 255.0f);
    glColor4ubv(colour);
    Render_VertexPointer(context->stateCache, sizeof(FaceVertex), face->vertices[0].xyz);
    if (Draw_UsesStages(context, face->texture)) {
        drawTextured(context);
    } else {
        GL_State(context->stateCache, 0x40065 | (context->backFaceCull ? 0 : 0x100000));
        if (textured)
            drawTextured(context);
        else
            glDrawArrays(primitiveMode(glPrimitive), 0, face->vertexCount);
    }
    GL_State(context->stateCache, 0x40000);
}

void cMapFace::drawSky(RenderContext* context) {
    FaceRecord* face = record;
    const bool brushSelected = face->brush && (face->brush->flags & BrushFlags::Selected);
    const bool tinted =
        brushSelected || ((face->flags & FaceFlags::Selected) && !(context->renderFlags & RenderBit::GridUV));
    uint8_t colour[4] = {255, 255, 255, 255};
    if (tinted) Color_FillRGBA(colour, COLOR_SELECTED_FILL);
    glColor4ubv(colour);
    Render_VertexPointer(context->stateCache, sizeof(FaceVertex), face->vertices[0].xyz);
    glDrawArrays(primitiveMode(glPrimitive), 0, face->vertexCount);
    if (brushSelected && !(context->renderFlags & RenderBit::VertexTool)) {
        glColor4ubv(Color_FillRGBA(colour, COLOR_SELECTED_LINE));
        beginOutline(context);
        glDrawArrays(primitiveMode(glPrimitive), 0, face->vertexCount);
        endOutline(context);
    }
}

void cMapFace::drawTransformed(RenderContext* context, TransformPreview* preview, const uint8_t colour[4]) {
    FaceRecord* face = record;
    float points[kFaceMaxVertices][3];
    const int32_t n = std::min(face->vertexCount, kFaceMaxVertices);
    for (int32_t i = 0; i < n; ++i)
        Draw_PreviewPoint(preview, face->vertices[i].xyz, points[i]);
    GL_State(context->stateCache, GLS::Opaque | 0x100000);
    glColor4ubv(colour);
    Render_VertexPointer(context->stateCache, 0, points);
    GLint modes[2];
    glGetIntegerv(GL_POLYGON_MODE, modes); // lines already for a 2D frame, fill for tools
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glDrawArrays(GL_POLYGON, 0, n);
    glPolygonMode(GL_FRONT_AND_BACK, GLenum(modes[0]));
}

void cMapFace::drawTextureAxes(RenderContext* context) {
    const FaceRecord* face = record;
    glDepthRange(0.0, 0.999);
    glBegin(GL_LINES);
    glColor4ub(255, 255, 0, 255);
    glVertex3fv(centre);
    glVertex3f(centre[0] + 10 * face->texInfo.sAxis[0], centre[1] + 10 * face->texInfo.sAxis[1],
               centre[2] + 10 * face->texInfo.sAxis[2]);
    glColor4ub(0, 255, 0, 255);
    glVertex3fv(centre);
    glVertex3f(centre[0] + 10 * face->texInfo.tAxis[0], centre[1] + 10 * face->texInfo.tAxis[1],
               centre[2] + 10 * face->texInfo.tAxis[2]);
    glEnd();
    glDepthRange(0.0, 1.0);
    (void)context;
}

void cMapFace::drawTileLines(RenderContext* context, float fade) {
    const FaceRecord* face = record;
    if (!eyeNear(context, face->mins, face->maxs)) return;
    const float lift[3] = {face->normal[0] * 0.25f, face->normal[1] * 0.25f, face->normal[2] * 0.25f};
    float values[kFaceMaxVertices];
    const int32_t n = std::min(face->vertexCount, kFaceMaxVertices);
    glColor4ub(255, 150, 50, GLubyte(std::fmin(1.0f, fade) * 255.0f));
    for (int axis = 0; axis < 2; ++axis) {
        for (int32_t i = 0; i < n; ++i)
            values[i] = axis == 0 ? face->vertices[i].s : face->vertices[i].t;
        drawCrossings(face, values, 1.0f, lift);
    }
}

void cMapFace::drawGridLines(RenderContext* context, float fade) {
    const FaceRecord* face = record;
    if (!eyeNear(context, face->mins, face->maxs)) return;
    const float lift[3] = {face->normal[0] * 0.25f, face->normal[1] * 0.25f, face->normal[2] * 0.25f};
    float values[kFaceMaxVertices];
    const int32_t n = std::min(face->vertexCount, kFaceMaxVertices);
    const GLubyte alpha = fade < 1.0f ? GLubyte(std::fmax(0.0f, fade) * 255.0f) : 255;
    for (int axis = 0; axis < 3; ++axis) {
        if (face->maxs[axis] - face->mins[axis] < 0.001f) continue;
        glColor4ub(axis == 0 ? 255 : 0, axis == 1 ? 255 : 0, axis == 2 ? 255 : 0, alpha);
        for (int32_t i = 0; i < n; ++i)
            values[i] = face->vertices[i].xyz[axis];
        drawCrossings(face, values, float(context->gridSize), lift);
    }
}
