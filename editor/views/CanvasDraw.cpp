// The small drawing routines of a view that tools and the passes use: boxes, markers, circles,
// sectors, bullets, guide lines, texts and icons. They draw from small arrays on the stack, set
// through the state cache's vertex pointer. Sizes in pixels become world units through the zoom.
#include <QFontMetrics>
#include <algorithm>
#include <cmath>

#include "kstdlib/kstdlib.h"
#include "map/MapEntity.h"
#include "render/BoxCorners.h"
#include "views/Canvas.h"
#include "render/ColorScheme.h"
#include "views/ViewArcs.h"

namespace {

// The bullet-kind colours.
int bulletColorKey(int kind) {
    switch (kind) {
    case 1:
        return COLOR_BULLET_EDGE;
    case 2:
        return COLOR_BULLET_PATCH_EXT;
    case 3:
        return COLOR_BULLET_PATCH_INT;
    case 4:
        return COLOR_CLIP_POINT;
    case 5:
        return COLOR_CORDON_POINT;
    case 6:
        return COLOR_BULLET_SELECTED;
    default:
        return COLOR_BULLET_VERTEX;
    }
}

} // namespace

void cCanvas::vertex2D(float out[3], float h, float v, float d) const {
    out[hAxis] = h;
    out[vAxis] = v;
    out[dAxis] = d;
}

void cCanvas::drawAxes() {
    static const float lines[6][3] = {{0, 0, 0}, {100, 0, 0}, {0, 0, 0}, {0, 100, 0}, {0, 0, 0}, {0, 0, 100}};
    static const float colours[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    Render_VertexPointer(stateCache, 0, lines);
    for (int i = 0; i < 3; ++i) {
        glColor3f(colours[i][0], colours[i][1], colours[i][2]);
        glDrawArrays(GL_LINES, 2 * i, 2);
    }
}

void cCanvas::drawFilledBox(const float a[3], const float b[3]) {
    if (is3D()) {
        const float c[8][3] = {{a[0], a[1], a[2]}, {a[0], a[1], b[2]}, {a[0], b[1], a[2]},
                               {a[0], b[1], b[2]}, {b[0], b[1], a[2]}, {b[0], b[1], b[2]},
                               {b[0], a[1], a[2]}, {b[0], a[1], b[2]}};
        static const GLubyte strip[18] = {4, 6, 2, 0, 0, 1, 2, 3, 4, 5, 6, 7, 0, 1, 1, 7, 3, 5};
        Render_VertexPointer(stateCache, 0, c);
        glDrawElements(GL_TRIANGLE_STRIP, 18, GL_UNSIGNED_BYTE, strip);
        return;
    }
    float q[4][3];
    vertex2D(q[0], a[hAxis], b[vAxis], b[dAxis]);
    vertex2D(q[1], a[hAxis], a[vAxis], b[dAxis]);
    vertex2D(q[2], b[hAxis], a[vAxis], b[dAxis]);
    vertex2D(q[3], b[hAxis], b[vAxis], b[dAxis]);
    Render_VertexPointer(stateCache, 0, q);
    glDrawArrays(GL_QUADS, 0, 4);
}

void cCanvas::drawBoxLines(const float mins[3], const float maxs[3]) {
    if (is3D()) {
        float c[8][3];
        Box_Corners(mins, maxs, c);
        Render_VertexPointer(stateCache, 0, c);
        glDrawElements(GL_LINES, 24, GL_UNSIGNED_BYTE, kBoxEdges);
        return;
    }
    float q[4][3];
    vertex2D(q[0], mins[hAxis], mins[vAxis], maxs[dAxis]);
    vertex2D(q[1], maxs[hAxis], mins[vAxis], maxs[dAxis]);
    vertex2D(q[2], maxs[hAxis], maxs[vAxis], maxs[dAxis]);
    vertex2D(q[3], mins[hAxis], maxs[vAxis], maxs[dAxis]);
    static const GLubyte outline[8] = {0, 1, 1, 2, 2, 3, 3, 0};
    Render_VertexPointer(stateCache, 0, q);
    glDrawElements(GL_LINES, 8, GL_UNSIGNED_BYTE, outline);
}

void cCanvas::drawTransformedBox(const float mins[3], const float maxs[3], int axis, int shearAxis,
                                 const float pivot[3], float angle, float shear) {
    if (is3D()) return;
    float m[12] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};
    if (angle != 0.0f) {
        float s, c;
        K_SinCos(angle, &s, &c);
        const float rows[3][9] = {
            {1, 0, 0, 0, c, -s, 0, s, c}, {c, 0, -s, 0, 1, 0, s, 0, c}, {c, -s, 0, s, c, 0, 0, 0, 1}};
        const int a = std::clamp(axis, 0, 2);
        for (int r = 0; r < 3; ++r)
            for (int k = 0; k < 3; ++k)
                m[r * 4 + k] = rows[a][r * 3 + k];
    }
    const bool full =
        (angle != 0.0f && axis != dAxis) || (shear != 0.0f && (axis == dAxis || shearAxis == dAxis));
    float c[8][3];
    int count = 8;
    if (full) {
        Box_Corners(mins, maxs, c);
    } else {
        count = 4;
        vertex2D(c[0], mins[hAxis], mins[vAxis], maxs[dAxis]);
        vertex2D(c[1], maxs[hAxis], mins[vAxis], maxs[dAxis]);
        vertex2D(c[2], maxs[hAxis], maxs[vAxis], maxs[dAxis]);
        vertex2D(c[3], mins[hAxis], maxs[vAxis], maxs[dAxis]);
    }
    const float span = maxs[shearAxis] - mins[shearAxis];
    for (int i = 0; i < count; ++i) {
        const float local[3] = {c[i][0] - pivot[0], c[i][1] - pivot[1], c[i][2] - pivot[2]};
        float turned[3];
        K_VectorTransform(local, m, turned);
        const float original = c[i][shearAxis];
        for (int k = 0; k < 3; ++k)
            c[i][k] = turned[k] + pivot[k];
        if (shear != 0.0f && span != 0.0f) c[i][axis] += shear * (original - mins[shearAxis]) / span;
    }
    static const GLubyte outline[8] = {0, 1, 1, 2, 2, 3, 3, 0};
    Render_VertexPointer(stateCache, 0, c);
    glDrawElements(GL_LINES, full ? 24 : 8, GL_UNSIGNED_BYTE, full ? kBoxEdges : outline);
}

void cCanvas::drawSquareMarker(const float p[3], float size) {
    if (is3D()) return;
    const float h = size / 2 / zoom;
    float q[4][3];
    vertex2D(q[0], p[hAxis] - h, p[vAxis] - h, p[dAxis]);
    vertex2D(q[1], p[hAxis] + h, p[vAxis] - h, p[dAxis]);
    vertex2D(q[2], p[hAxis] + h, p[vAxis] + h, p[dAxis]);
    vertex2D(q[3], p[hAxis] - h, p[vAxis] + h, p[dAxis]);
    Render_VertexPointer(stateCache, 0, q);
    glDrawArrays(GL_QUADS, 0, 4);
}

void cCanvas::drawCrossMarker(const float p[3], float size) {
    if (is3D()) return;
    const float h = size / 2 / zoom;
    float q[4][3];
    vertex2D(q[0], p[hAxis] - h, p[vAxis] - h, p[dAxis]);
    vertex2D(q[1], p[hAxis] + h, p[vAxis] + h, p[dAxis]);
    vertex2D(q[2], p[hAxis] + h, p[vAxis] - h, p[dAxis]);
    vertex2D(q[3], p[hAxis] - h, p[vAxis] + h, p[dAxis]);
    Render_VertexPointer(stateCache, 0, q);
    glDrawArrays(GL_LINES, 0, 4);
}

void cCanvas::drawStippledCircle(const float c[3], float radius) {
    if (is3D()) return;
    const int n = View_StippledCirclePoints(radius);
    float q[64][3];
    for (int i = 0; i < n; ++i) {
        const float a = 2.0f * 3.14159265f * float(i) / float(n);
        vertex2D(q[i], c[hAxis] + std::cos(a) * radius, c[vAxis] - std::sin(a) * radius, c[dAxis]);
    }
    glEnable(GL_LINE_STIPPLE);
    Render_VertexPointer(stateCache, 0, q);
    glDrawArrays(GL_LINE_LOOP, 0, n);
    glDisable(GL_LINE_STIPPLE);
}

void cCanvas::drawCircle(const float c[3], float radius) {
    if (is3D()) return;
    const float r = radius / zoom;
    float q[36][3];
    for (int i = 0; i < 36; ++i) {
        const float a = float(i) * 0.17453294f;
        vertex2D(q[i], c[hAxis] + std::cos(a) * r, c[vAxis] - std::sin(a) * r, c[dAxis]);
    }
    Render_VertexPointer(stateCache, 0, q);
    glDrawArrays(GL_LINE_LOOP, 0, 36);
}

namespace {

// Sector vertices: the centre, then the arc points from end down to start. 0 for a bad span.
int sectorPoints(const cCanvas* view, const float c[3], float radius, float start, float end,
                 float out[kArcMaxPoints + 1][3],
                 void (cCanvas::*vertex)(float*, float, float, float) const) {
    float angles[kArcMaxPoints];
    const int n = View_ArcAngles(start, end, angles);
    if (n <= 0) return 0;
    const float r = radius / view->zoom;
    (view->*vertex)(out[0], c[view->hAxis], c[view->vAxis], c[view->dAxis]);
    for (int i = 0; i < n; ++i)
        (view->*vertex)(out[i + 1], c[view->hAxis] + std::cos(angles[i]) * r,
                        c[view->vAxis] - std::sin(angles[i]) * r, c[view->dAxis]);
    return n;
}

} // namespace

void cCanvas::drawFilledArc(const float c[3], float radius, float start, float end) {
    if (is3D()) return;
    float q[kArcMaxPoints + 1][3];
    const int n = sectorPoints(this, c, radius, start, end, q, &cCanvas::vertex2D);
    if (n <= 0) return;
    Render_VertexPointer(stateCache, 0, q);
    glDrawArrays(n == 1 ? GL_LINES : n == 2 ? GL_TRIANGLES : GL_TRIANGLE_FAN, 0, n + 1);
}

void cCanvas::drawArcOutline(const float c[3], float radius, float start, float end) {
    if (is3D()) return;
    float q[kArcMaxPoints + 1][3];
    const int n = sectorPoints(this, c, radius, start, end, q, &cCanvas::vertex2D);
    if (n <= 0) return;
    Render_VertexPointer(stateCache, 0, q);
    glDrawArrays(GL_LINE_LOOP, 0, n + 1);
}

// The bullet's border colour under its own colour, one pixel inside.
void cCanvas::drawBorderedQuad(const float outer[4][3], const float inner[4][3], const uint8_t rgba[4]) {
    uint8_t border[4];
    glColor4ubv(Color_FillRGBA(border, COLOR_BULLET_BORDER));
    Render_VertexPointer(stateCache, 0, outer);
    glDrawArrays(GL_QUADS, 0, 4);
    glColor4ubv(rgba);
    Render_VertexPointer(stateCache, 0, inner);
    glDrawArrays(GL_QUADS, 0, 4);
}

void cCanvas::drawSquareBullet(const float p[3], float size, float dx, float dy, const uint8_t rgba[4]) {
    float outer[4][3], inner[4][3];
    if (is3D()) {
        const float h = size / 2, hi = h - 1.0f;
        const float signs[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        for (int i = 0; i < 4; ++i)
            for (int k = 0; k < 3; ++k) {
                outer[i][k] = p[k] + (right[k] * signs[i][0] + up[k] * signs[i][1]) * h;
                inner[i][k] = p[k] + (right[k] * signs[i][0] + up[k] * signs[i][1]) * hi;
            }
    } else {
        const float h = size / 2 / zoom, px = 1.0f / zoom;
        const float ch = p[hAxis] + dx / zoom, cv = p[vAxis] + dy / zoom;
        vertex2D(outer[0], ch - h, cv - h, p[dAxis]);
        vertex2D(outer[1], ch + h, cv - h, p[dAxis]);
        vertex2D(outer[2], ch + h, cv + h, p[dAxis]);
        vertex2D(outer[3], ch - h, cv + h, p[dAxis]);
        vertex2D(inner[0], ch - h + px, cv - h + px, p[dAxis]);
        vertex2D(inner[1], ch + h - px, cv - h + px, p[dAxis]);
        vertex2D(inner[2], ch + h - px, cv + h - px, p[dAxis]);
        vertex2D(inner[3], ch - h + px, cv + h - px, p[dAxis]);
    }
    drawBorderedQuad(outer, inner, rgba);
}

void cCanvas::drawDiamondBullet(const float p[3], float size, float dx, float dy, const uint8_t rgba[4]) {
    float outer[4][3], inner[4][3];
    const float dirs[4][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    if (is3D()) {
        const float h = 0.7f * size, hi = h - 1.0f;
        for (int i = 0; i < 4; ++i)
            for (int k = 0; k < 3; ++k) {
                outer[i][k] = p[k] + (right[k] * dirs[i][0] + up[k] * dirs[i][1]) * h;
                inner[i][k] = p[k] + (right[k] * dirs[i][0] + up[k] * dirs[i][1]) * hi;
            }
    } else {
        const float h = 0.7f * size / 2 / zoom, hi = h - 1.0f / zoom;
        const float ch = p[hAxis] + dx / zoom, cv = p[vAxis] + dy / zoom;
        for (int i = 0; i < 4; ++i) {
            vertex2D(outer[i], ch + dirs[i][0] * h, cv + dirs[i][1] * h, p[dAxis]);
            vertex2D(inner[i], ch + dirs[i][0] * hi, cv + dirs[i][1] * hi, p[dAxis]);
        }
    }
    drawBorderedQuad(outer, inner, rgba);
}

void cCanvas::drawRoundBullet(const float p[3], float size, float dx, float dy, const uint8_t rgba[4]) {
    if (is3D()) return;
    const float ch = p[hAxis] + dx / zoom, cv = p[vAxis] + dy / zoom;
    uint8_t border[4];
    Color_FillRGBA(border, COLOR_BULLET_BORDER);
    const float radii[2] = {size / 2 / zoom, (size / 2 - 1.0f) / zoom};
    const uint8_t* colours[2] = {border, rgba};
    for (int disc = 0; disc < 2; ++disc) {
        float q[12][3];
        for (int i = 0; i < 12; ++i) {
            const float a = float(i) * 0.5235988f;
            vertex2D(q[i], ch + std::cos(a) * radii[disc], cv - std::sin(a) * radii[disc], p[dAxis]);
        }
        glColor4ubv(colours[disc]);
        Render_VertexPointer(stateCache, 0, q);
        glDrawArrays(GL_TRIANGLE_FAN, 0, 12);
    }
}

void cCanvas::drawBullet(const float p[3], float size, float dx, float dy, int kind) {
    uint8_t rgba[4];
    drawSquareBullet(p, size, dx, dy, Color_FillRGBA(rgba, bulletColorKey(kind)));
}

void cCanvas::drawVertexDiamond(const float p[3], float size, float dx, float dy) {
    uint8_t rgba[4];
    drawDiamondBullet(p, size, dx, dy, Color_FillRGBA(rgba, COLOR_BULLET_VERTEX));
}

void cCanvas::drawRoundBulletKind(const float p[3], float size, float dx, float dy, int kind) {
    if (is3D()) return;
    uint8_t rgba[4];
    drawRoundBullet(p, size, dx, dy, Color_FillRGBA(rgba, bulletColorKey(kind)));
}

void cCanvas::drawGuideLines(const float p[3]) {
    if (is3D()) return;
    const float left = (scrollX - viewWidth / 2.0f) / zoom, rightEdge = (scrollX + viewWidth / 2.0f) / zoom;
    const float bottom = -(scrollY + viewHeight / 2.0f) / zoom, top = -(scrollY - viewHeight / 2.0f) / zoom;
    float q[4][3];
    vertex2D(q[0], left, p[vAxis], 0.0f);
    vertex2D(q[1], rightEdge, p[vAxis], 0.0f);
    vertex2D(q[2], p[hAxis], bottom, 0.0f);
    vertex2D(q[3], p[hAxis], top, 0.0f);
    Render_VertexPointer(stateCache, 0, q);
    glDrawArrays(GL_LINES, 0, 4);
}

void cCanvas::drawText(int x, int y, int width, int alignment, const QString& text) {
    const int textWidth = QFontMetrics(smallFont).horizontalAdvance(text);
    if (alignment == 1)
        x += (width - textWidth) / 2;
    else if (alignment == 2)
        x += width - textWidth;
    renderText(x, y, text, smallFont);
}

void cCanvas::drawIcon(uint32_t texture, const float centre[2]) {
    if (!texture) return;
    const uint32_t word = stateCache->state;
    GL_State(stateCache, word | GLS::AlphaTestIcon);
    Render_BindTexture(stateCache, texture, context.textureFilter);
    glEnable(GL_TEXTURE_2D);
    glColor4ub(255, 255, 255, 255);
    const float x = centre[0] - 16.0f, y = centre[1] - 16.0f;
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(x, y);
    glTexCoord2f(0, 1);
    glVertex2f(x, y + 32);
    glTexCoord2f(1, 1);
    glVertex2f(x + 32, y + 32);
    glTexCoord2f(1, 0);
    glVertex2f(x + 32, y);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    GL_State(stateCache, word);
}
