// Drawing of brushes: visibility, the faces, patch and overlay of one brush, the transform
// preview and the centre marker of the 2D views.
#include <GL/gl.h>

#include <cmath>

#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapOverlay.h"
#include "map/MapPatch.h"
#include "map/ObjectDraw.h"
#include "render/BoxCorners.h"
#include "render/ColorScheme.h"
#include "render/DrawQueue.h"
#include "render/GLStateCache.h"
#include "render/RenderContext.h"
#include "render/ViewFrustum.h"

bool cMapBrush::isVisible(const RenderContext* context, RenderCounters* counters, uint32_t drawFlags) const {
    const BrushRecord* brush = record;
    if (brush->flags & (BrushFlags::Hidden | BrushFlags::NeedsUpdate)) return false;
    if (!Map_BrushPassesFilters(brush, context->hideMask)) return false;
    const bool onlyBrush = brush->entity && brush->entity->firstBrush == brush && !brush->next &&
                           !(brush->entity->flags & EntityFlag::World);
    if ((drawFlags & BrushDraw::NoFrustumTest) || onlyBrush || !context->frustum) return true;
    if (Render_CullBox(context->frustum, brush->mins, brush->maxs)) {
        ++counters->culls;
        return false;
    }
    return true;
}

bool cMapBrush::isVisibleTransformed(const RenderContext* context, RenderCounters* counters,
                                     TransformPreview* preview) const {
    const BrushRecord* brush = record;
    if (brush->flags & (BrushFlags::Hidden | BrushFlags::NeedsUpdate)) return false;
    if (!context->frustum) return true;
    float corners[8][3], mins[3] = {1e30f, 1e30f, 1e30f}, maxs[3] = {-1e30f, -1e30f, -1e30f};
    Box_Corners(brush->mins, brush->maxs, corners);
    TransformPreview probe = *preview; // the bounds of the real drawing are not touched
    for (auto& corner : corners) {
        float moved[3];
        Draw_PreviewPoint(&probe, corner, moved);
        for (int k = 0; k < 3; ++k) {
            mins[k] = std::fmin(mins[k], moved[k]);
            maxs[k] = std::fmax(maxs[k], moved[k]);
        }
    }
    if (Render_CullBox(context->frustum, mins, maxs)) {
        ++counters->culls;
        return false;
    }
    return true;
}

namespace {

// A surface the camera view hands to the sky or the blended queue rather than drawing it.
bool queuedLater(const RenderContext* context, const BrushRecord* brush, const ShaderRecord* texture,
                 uint32_t flags) {
    return Draw_QueuesSky(context, texture) || Draw_IsBlended(context, brush, flags, texture);
}

} // namespace

bool cMapBrush::draw(RenderContext* context, RenderCounters* counters, uint32_t drawFlags) {
    BrushRecord* brush = record;
    if (brush->frameStamp == context->frameStamp) return false;
    const bool selected = brush->flags & BrushFlags::Selected;
    if (!(drawFlags & (selected ? BrushDraw::Selected : BrushDraw::Unselected))) return false;
    brush->frameStamp = context->frameStamp;
    if (brush->kind == BrushKind::Solid) ++counters->brushes;

    // Wholly behind the camera view's occluders: nothing of it is drawn but what goes to the sky
    // and blended queues.
    const bool occluded = context->is3D && !Draw_Picking(context) &&
                          DrawQueue_Occluded(context->queue, brush->mins, brush->maxs);
    uint8_t plain[2][4], outline[2][4]; // [textured]
    Draw_SurfaceColors(context, brush, selected, false, plain[0], outline[0]);
    Draw_SurfaceColors(context, brush, selected, true, plain[1], outline[1]);
    for (FaceRecord* face = brush->firstFace; face; face = face->next) {
        cMapFace* handle = face->handle;
        if (!handle || !handle->isVisible(context)) continue;
        // Faces behind the occluders take their places in the batches without their pixels.
        const bool textured = Draw_Textured(context, face->texture, !occluded);
        if ((face->flags & FaceFlags::Selected) && !selected) {
            uint8_t fill[4], line[4];
            Draw_SurfaceColors(context, brush, true, textured, fill, line);
            handle->draw(context, counters, fill, line, occluded);
        } else {
            handle->draw(context, counters, plain[textured], outline[textured], occluded);
        }
    }
    // Sky and blended surfaces go to queues whose order matters: those are always handed on.
    if (brush->patch && brush->patch->handle &&
        (!occluded || queuedLater(context, brush, brush->patch->texture, brush->patch->flags)))
        brush->patch->handle->draw(context, counters);
    if (brush->overlay && brush->overlay->handle) {
        DrawQueue_Flush(context->queue, context);
        if (!occluded || queuedLater(context, brush, brush->overlay->texture, brush->overlay->flags))
            brush->overlay->handle->draw(context, counters);
    }
    if (!context->is3D && (!Draw_Picking(context) || (context->renderFlags & RenderBit::SelectByHandles))) {
        if (Draw_Picking(context)) Draw_SetPickColor(Draw_PickId(context, brush));
        drawCenterHandle(context, centre);
    }
    return true;
}

void cMapBrush::drawTransformed(RenderContext* context, RenderCounters* counters, TransformPreview* preview) {
    BrushRecord* brush = record;
    uint8_t fill[4], outline[4];
    Draw_SurfaceColors(context, brush, true, false, fill, outline);
    Draw_ClearPreviewBounds(preview);
    for (FaceRecord* face = brush->firstFace; face; face = face->next) {
        cMapFace* handle = face->handle;
        if (!handle || !handle->isVisibleTransformed(context, preview)) continue;
        ++counters->faces;
        handle->drawTransformed(context, preview, fill);
    }
    if (brush->patch && brush->patch->handle)
        brush->patch->handle->drawTransformed(context, counters, preview);
    if (brush->overlay && brush->overlay->handle)
        brush->overlay->handle->drawTransformed(context, counters, preview);
    if (!context->is3D && preview->mins[0] <= preview->maxs[0]) {
        float middle[3];
        for (int k = 0; k < 3; ++k)
            middle[k] = (preview->mins[k] + preview->maxs[k]) * 0.5f;
        drawCenterHandle(context, middle);
    }
}

void cMapBrush::drawCenterHandle(RenderContext* context, const float point[3]) {
    const BrushRecord* brush = record;
    const int h = context->hAxis, v = context->vAxis;
    float a[3] = {point[0], point[1], point[2]}, b[3] = {point[0], point[1], point[2]};
    GL_State(context->stateCache, GLS::Opaque | 0x100000);
    if (Draw_Picking(context)) {
        const float r = 4.25f * context->invZoom;
        float quad[4][3];
        for (int i = 0; i < 4; ++i) {
            quad[i][0] = point[0], quad[i][1] = point[1], quad[i][2] = point[2];
            quad[i][h] += (i == 1 || i == 2) ? r : -r;
            quad[i][v] += (i >= 2) ? r : -r;
        }
        Render_VertexPointer(context->stateCache, 0, quad);
        glDrawArrays(GL_QUADS, 0, 4);
        return;
    }
    uint8_t colour[4];
    const bool selected = (brush->flags & BrushFlags::Selected) && !(brush->flags & BrushFlags::Dragged);
    Color_FillRGBA(colour, selected ? COLOR_SELECTED_FILL : COLOR_BRUSH_HANDLE);
    const float arm = 3.5f * context->invZoom;
    float lines[4][3];
    for (int axis = 0; axis < 2; ++axis) {
        const int k = axis == 0 ? h : v;
        a[k] -= arm;
        b[k] += arm;
        for (int j = 0; j < 3; ++j) {
            lines[2 * axis][j] = a[j];
            lines[2 * axis + 1][j] = b[j];
        }
        a[k] = b[k] = point[k];
    }
    // In the object passes the marks go out together, after the faces queued with them.
    if (DrawQueue_Handles(context->queue, GL_LINES, lines[0], 4, colour)) return;
    glColor4ubv(colour);
    Render_VertexPointer(context->stateCache, 0, lines);
    glDrawArrays(GL_LINES, 0, 4);
}
