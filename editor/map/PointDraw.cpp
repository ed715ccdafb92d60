#include "map/PointDraw.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>

#include "kstdlib/kmath.h"
#include "render/BoxCorners.h"
#include "render/ColorScheme.h"
#include "render/RenderContext.h"

namespace {

void normalize(float v[3]) {
    const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length > 0.0f)
        for (int i = 0; i < 3; ++i)
            v[i] /= length;
}

void cross(const float a[3], const float b[3], float out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

// Quads of the box faces over the corner numbering of Box_Corner.
const uint8_t kBoxFaces[24] = {0, 2, 3, 1, 4, 5, 7, 6, 0, 1, 5, 4, 2, 6, 7, 3, 0, 4, 6, 2, 1, 3, 7, 5};

} // namespace

void PointDraw_Color(ObjectColor colour) {
    uint8_t rgba[4];
    Color_ToBytes(colour, rgba);
    glColor4ubv(rgba);
}

void PointDraw_ColorScaled(ObjectColor colour, float scale, uint8_t alpha) {
    uint8_t rgba[4];
    Color_ToBytes(colour, rgba);
    glColor4ub(GLubyte(std::clamp(rgba[0] * scale, 0.0f, 255.0f)),
               GLubyte(std::clamp(rgba[1] * scale, 0.0f, 255.0f)),
               GLubyte(std::clamp(rgba[2] * scale, 0.0f, 255.0f)), alpha);
}

void PointDraw_SchemeColor(int32_t key) {
    uint8_t rgba[4];
    glColor4ubv(Color_FillRGBA(rgba, key));
}

void PointDraw_ViewDirection(const RenderContext* context, float out[3]) {
    if (context->is3D) {
        for (int i = 0; i < 3; ++i)
            out[i] = context->forward[i];
        normalize(out);
        return;
    }
    out[0] = out[1] = out[2] = 0.0f;
    const int axis = context->dAxis >= 0 && context->dAxis < 3 ? context->dAxis : 2;
    out[axis] = 1.0f;
}

void PointDraw_Vertex2D(const RenderContext* context, float h, float v) {
    float p[3] = {0, 0, 0};
    p[context->hAxis] = h;
    p[context->vAxis] = v;
    glVertex3fv(p);
}

void PointDraw_Disc2D(const RenderContext* context, const float centre[3], float radius, int32_t sides) {
    sides = std::clamp(sides, 3, 64);
    const float h = centre[context->hAxis], v = centre[context->vAxis];
    glBegin(GL_POLYGON);
    for (int k = 0; k < sides; ++k) {
        float sine, cosine;
        K_SinCos(float(k) * 2.0f * float(M_PI) / float(sides), &sine, &cosine);
        PointDraw_Vertex2D(context, h + radius * cosine, v + radius * sine);
    }
    glEnd();
}

namespace {
// The box's corners in the order of one index table, as one primitive.
template <size_t N>
void drawBoxCorners(const float mins[3], const float maxs[3], GLenum mode, const uint8_t (&order)[N]) {
    float corners[8][3];
    Box_Corners(mins, maxs, corners);
    glBegin(mode);
    for (uint8_t index : order)
        glVertex3fv(corners[index]);
    glEnd();
}
} // namespace

void PointDraw_BoxEdgeEnds(const float mins[3], const float maxs[3], float out[24][3]) {
    for (int i = 0; i < 24; ++i)
        Box_Corner(mins, maxs, kBoxEdges[i], out[i]);
}

void PointDraw_BoxEdges(const float mins[3], const float maxs[3]) {
    drawBoxCorners(mins, maxs, GL_LINES, kBoxEdges);
}

void PointDraw_BoxFaces(const float mins[3], const float maxs[3]) {
    drawBoxCorners(mins, maxs, GL_QUADS, kBoxFaces);
}

int32_t PointDraw_LinkArrows(const RenderContext* context, const float from[3], const float to[3],
                             float spacing, int32_t firstSign, bool alternate) {
    const double d[3] = {double(to[0]) - from[0], double(to[1]) - from[1], double(to[2]) - from[2]};
    const double length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    if (!(length > 0.0) || !std::isfinite(length) || !(spacing > 0.0f)) return 0;
    float dir[3];
    for (int i = 0; i < 3; ++i)
        dir[i] = float(d[i] / length);
    float view[3], side[3];
    PointDraw_ViewDirection(context, view);
    cross(view, dir, side);
    normalize(side);
    const double wanted = std::floor(double(length) / double(spacing)) + 1.0;
    const int32_t n = int32_t(std::min(wanted, double(kLinkArrowLimit)));
    // Four points per head; one chunk at a time.
    static float points[kLinkArrowChunk * 4][3];
    int32_t sign = firstSign >= 0 ? 1 : -1;
    for (int32_t start = 0; start < n; start += kLinkArrowChunk) {
        const int32_t count = std::min(kLinkArrowChunk, n - start);
        for (int32_t j = 0; j < count; ++j) {
            const int32_t k = start + j;
            const float at = float((2.0 * k + 1.0) * length / (2.0 * n));
            if (!std::isfinite(at)) continue;
            float* p = points[4 * j];
            for (int i = 0; i < 3; ++i) {
                p[i] = from[i] + at * dir[i];
                points[4 * j + 2][i] = p[i];
                points[4 * j + 1][i] = p[i] - 6.0f * side[i] - float(sign) * 8.0f * dir[i];
                points[4 * j + 3][i] = p[i] + 6.0f * side[i] - float(sign) * 8.0f * dir[i];
            }
            if (alternate) sign = -sign;
        }
        glBegin(GL_LINES);
        for (int32_t j = 0; j < 4 * count; ++j)
            glVertex3fv(points[j]);
        glEnd();
    }
    return n;
}
