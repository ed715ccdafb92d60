// Drawing of paths and their nodes: node circles and spheres, angle arrows, links with their
// direction heads.
#include <GL/gl.h>
#include <cmath>

#include "kstdlib/kmath.h"
#include "map/MapPath.h"
#include "map/PointDraw.h"
#include "render/ColorScheme.h"
#include "render/RenderContext.h"
#include "render/ViewFrustum.h"

namespace {

constexpr float kNodeRadius = 8.0f;

bool outlinesShown(const RenderContext* context) {
    return !(context->renderFlags & RenderBit::VertexTool);
}

// The sphere's quads at the origin, each corner in the colour scaled by its shade when shaded.
void drawSphere(const float origin[3], ObjectColor colour, bool shaded) {
    const NodeSphereMesh& mesh = Node_BuildSphereMesh();
    uint8_t rgba[4];
    Color_ToBytes(colour, rgba);
    glBegin(GL_QUADS);
    for (const auto& quad : mesh.quads)
        for (uint16_t index : quad) {
            if (shaded) {
                const float s = mesh.shades[index];
                glColor4ub(GLubyte(rgba[0] * s), GLubyte(rgba[1] * s), GLubyte(rgba[2] * s), rgba[3]);
            }
            glVertex3f(origin[0] + mesh.points[index][0], origin[1] + mesh.points[index][1],
                       origin[2] + mesh.points[index][2]);
        }
    glEnd();
    if (!shaded) glColor4ubv(rgba);
}

} // namespace

bool cMapNode::isVisible(const RenderContext* context, RenderCounters* counters) const {
    if (counters) ++counters->culls;
    const ViewFrustum* frustum = context->frustum;
    if (!frustum) return true;
    float planes[6][4];
    const int32_t count = frustum->count < 0 ? 0 : (frustum->count > 6 ? 6 : frustum->count);
    for (int32_t i = 0; i < count; ++i) {
        for (int k = 0; k < 3; ++k)
            planes[i][k] = frustum->planes[i].normal[k];
        planes[i][3] = frustum->planes[i].dist;
    }
    return isVisible(planes, count);
}

bool cMapNode::draw(const RenderContext* context, RenderCounters* counters) {
    if (!isVisible(context, counters)) return false;
    if (counters) ++counters->nodes;
    const bool picking = context->pickBase != 0;
    const bool selected = record->flags & RecordFlag::Selected;
    uint8_t fill[4], line[4];
    Color_ToBytes(displayColor, fill);
    Color_ToBytes(displayColor, line);
    if (selected) {
        Color_FillRGBA(fill, COLOR_SELECTED_FILL);
        Color_FillRGBA(line, COLOR_SELECTED_LINE);
    }
    const float* origin = record->origin;
    if (!context->is3D) {
        const float h = origin[context->hAxis], v = origin[context->vAxis];
        if (picking) {
            PointDraw_Color(Object_PickColor(id));
            glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
            glBegin(GL_TRIANGLE_FAN);
        } else {
            glColor4ubv(line);
            glBegin(GL_LINE_LOOP);
        }
        for (int k = 0; k < 24; ++k) {
            float sine, cosine;
            K_SinCos(float(k) * 0.2617994f, &sine, &cosine);
            PointDraw_Vertex2D(context, h + kNodeRadius * cosine, v + kNodeRadius * sine);
        }
        glEnd();
    } else if (picking) {
        drawSphere(origin, Object_PickColor(id), false);
    } else if (context->renderMode == 0) {
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        drawSphere(origin, Color_FromBytes(line[0], line[1], line[2], line[3]), false);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    } else {
        drawSphere(origin, Color_FromBytes(fill[0], fill[1], fill[2], fill[3]), true);
        if (selected && outlinesShown(context)) {
            cMapDrawable::beginOutline(context);
            drawSphere(origin, Color_FromBytes(line[0], line[1], line[2], line[3]), false);
            cMapDrawable::endOutline(context);
        }
    }
    if (!picking) drawAngleArrow(context);
    return true;
}

void cMapNode::drawAngleArrow(const RenderContext*) const {
    const float* angles = record->angles;
    if (angles[0] == 0.0f && angles[1] == 0.0f && angles[2] == 0.0f) return;
    float forward[3], right[3], up[3], tip[3];
    K_AngleVectors(angles, forward, right, up);
    for (int i = 0; i < 3; ++i)
        tip[i] = record->origin[i] + 20.0f * forward[i];
    glColor4ub(255, 255, 255, 255);
    glLineWidth(4.0f);
    glBegin(GL_LINES);
    glVertex3fv(record->origin);
    glVertex3fv(tip);
    for (float sign : {-1.0f, 1.0f}) {
        glVertex3fv(tip);
        glVertex3f(tip[0] - 4.0f * forward[0] + sign * 4.0f * up[0],
                   tip[1] - 4.0f * forward[1] + sign * 4.0f * up[1],
                   tip[2] - 4.0f * forward[2] + sign * 4.0f * up[2]);
    }
    glEnd();
    glLineWidth(1.0f);
}

bool cMapPath::draw(const RenderContext* context, RenderCounters* counters) {
    if (record->flags & PathFlag::NeedsUpdate) update();
    if (counters) ++counters->culls;
    if (context->frustum && Render_CullBox(context->frustum, record->mins, record->maxs)) return false;
    if (counters) ++counters->paths;
    for (NodeRecord* node = record->firstNode; node; node = node->next)
        if (node->handle) node->handle->draw(context, counters);
    const bool links = context->renderFlags & (RenderBit::ShowConnections | RenderBit::PathTool);
    if (context->pickBase || !links) return true;
    PointDraw_Color(displayColor);
    int32_t segment = 0;
    for (NodeRecord* node = record->firstNode; node && node->next; node = node->next)
        drawLink(context, node->origin, node->next->origin, segment++);
    if (record->type == PathType::Circular && record->firstNode && record->lastNode &&
        record->firstNode != record->lastNode)
        drawLink(context, record->lastNode->origin, record->firstNode->origin, segment);
    return true;
}

void cMapPath::drawLink(const RenderContext* context, const float from[3], const float to[3],
                        int32_t segment) const {
    glBegin(GL_LINES);
    glVertex3fv(from);
    glVertex3fv(to);
    glEnd();
    const bool pingPong = record->type == PathType::PingPong;
    PointDraw_LinkArrows(context, from, to, pingPong ? 128.0f : 256.0f, pingPong && (segment & 1) ? -1 : 1,
                         pingPong);
}
