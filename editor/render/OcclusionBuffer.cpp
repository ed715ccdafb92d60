#include "render/OcclusionBuffer.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace {

// Pixels every cell is widened by on each side (vertex snapping, rounding in GL's rasteriser).
constexpr float kPixelMargin = 1.0f;
// Relative margin on inverse depths: far more than the depth buffer's steps at any distance the
// views draw, so "behind" here is behind there by a whole step or more.
constexpr float kDepthMargin = 1e-3f;
// Clip-space margin from the near and far planes for occluders.
constexpr float kClipMargin = 1e-3f;

struct Projected {
    float x, y, w, z; // window pixels, eye depth, clip z
};

struct Clip {
    float v[4]; // clip coordinates
};

Clip toClip(const float m[16], const float p[3]) {
    Clip c;
    for (int r = 0; r < 4; ++r)
        c.v[r] = m[r] * p[0] + m[4 + r] * p[1] + m[8 + r] * p[2] + m[12 + r];
    return c;
}

// Keeps the part of the polygon where a z + b w >= 0 (clip space is linear, so the cut is exact up
// to rounding; the planes used lie a margin inside GL's own).
int32_t clipPolygon(const Clip* in, int32_t count, float a, float b, Clip* out) {
    int32_t n = 0;
    for (int32_t i = 0; i < count; ++i) {
        const Clip& s = in[i];
        const Clip& t = in[(i + 1) % count];
        const float ds = a * s.v[2] + b * s.v[3], dt = a * t.v[2] + b * t.v[3];
        if (ds >= 0.0f) out[n++] = s;
        if ((ds >= 0.0f) != (dt >= 0.0f)) {
            const float f = ds / (ds - dt);
            Clip c;
            for (int k = 0; k < 4; ++k)
                c.v[k] = s.v[k] + f * (t.v[k] - s.v[k]);
            out[n++] = c;
        }
    }
    return n;
}

Projected project(const float m[16], const float p[3], float width, float height) {
    const float cx = m[0] * p[0] + m[4] * p[1] + m[8] * p[2] + m[12];
    const float cy = m[1] * p[0] + m[5] * p[1] + m[9] * p[2] + m[13];
    const float cz = m[2] * p[0] + m[6] * p[1] + m[10] * p[2] + m[14];
    const float cw = m[3] * p[0] + m[7] * p[1] + m[11] * p[2] + m[15];
    Projected out{0, 0, cw, cz};
    if (cw > 0.0f) {
        out.x = (cx / cw * 0.5f + 0.5f) * width;
        out.y = (cy / cw * 0.5f + 0.5f) * height;
    }
    return out;
}

void multiply(const float a[16], const float b[16], float out[16]) {
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += a[k * 4 + r] * b[c * 4 + k];
            out[c * 4 + r] = sum;
        }
}

} // namespace

void Occlusion_BeginWith(OcclusionBuffer* buffer, int32_t width, int32_t height, const float projection[16],
                         const float modelview[16]) {
    buffer->width = float(std::max(width, 1));
    buffer->height = float(std::max(height, 1));
    buffer->columns = int32_t(std::ceil(buffer->width / buffer->cellSize));
    buffer->rows = int32_t(std::ceil(buffer->height / buffer->cellSize));
    buffer->inverseDepth.assign(size_t(buffer->columns) * size_t(buffer->rows), 0.0f);
    multiply(projection, modelview, buffer->mvp);
    buffer->occluders = 0;
    buffer->cellsWritten = 0;
}

void Occlusion_Begin(OcclusionBuffer* buffer, int32_t width, int32_t height) {
    float projection[16], modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    Occlusion_BeginWith(buffer, width, height, projection, modelview);
}

bool Occlusion_AddPolygon(OcclusionBuffer* buffer, const float* xyz, int32_t stride, int32_t count) {
    constexpr int32_t kMaxPoints = 64;
    if (count < 3 || count > kMaxPoints || buffer->inverseDepth.empty()) return false;
    // The part GL draws lies between the near and far planes: cut there, a margin inside.
    Clip in[kMaxPoints + 2], mid[kMaxPoints + 2], cut[kMaxPoints + 2];
    for (int32_t i = 0; i < count; ++i)
        in[i] = toClip(buffer->mvp, reinterpret_cast<const float*>(reinterpret_cast<const uint8_t*>(xyz) +
                                                                   size_t(stride) * i));
    const float inside = 1.0f - kClipMargin;
    count = clipPolygon(in, count, 1.0f, inside, mid); // z >= -w (near)
    if (count < 3) return false;
    count = clipPolygon(mid, count, -1.0f, inside, cut); // z <= w (far)
    if (count < 3 || count > kMaxPoints) return false;
    Projected p[kMaxPoints];
    float qMin = 1e30f, yMin = 1e30f, yMax = -1e30f;
    for (int32_t i = 0; i < count; ++i) {
        const float* c = cut[i].v;
        if (!(c[3] > 0.0f)) return false;
        p[i] = {(c[0] / c[3] * 0.5f + 0.5f) * buffer->width, (c[1] / c[3] * 0.5f + 0.5f) * buffer->height,
                c[3], c[2]};
        qMin = std::min(qMin, 1.0f / c[3]);
        yMin = std::min(yMin, p[i].y);
        yMax = std::max(yMax, p[i].y);
    }
    // Orientation, and the inverse depth's plane over the window (1 / w is linear there) from the
    // widest triangle of the fan.
    double area = 0.0;
    int32_t best = -1;
    double bestArea = 0.0;
    for (int32_t i = 1; i + 1 < count; ++i) {
        const double a = (double(p[i].x) - p[0].x) * (double(p[i + 1].y) - p[0].y) -
                         (double(p[i + 1].x) - p[0].x) * (double(p[i].y) - p[0].y);
        area += a;
        if (std::fabs(a) > bestArea) {
            bestArea = std::fabs(a);
            best = i;
        }
    }
    // GL culls the back faces by their winding in the window (front: counter-clockwise), whatever
    // the plane says: only a polygon it keeps is an occluder.
    if (area < 2.0 * buffer->cellSize * buffer->cellSize || best < 0) return false;
    const double sign = area > 0.0 ? 1.0 : -1.0;
    double planeA, planeB, planeC;
    {
        const Projected& a = p[0];
        const Projected& b = p[best];
        const Projected& c = p[best + 1];
        const double qa = 1.0 / a.w, qb = 1.0 / b.w, qc = 1.0 / c.w;
        const double x1 = b.x - a.x, y1 = b.y - a.y, x2 = c.x - a.x, y2 = c.y - a.y;
        const double det = x1 * y2 - x2 * y1;
        planeA = ((qb - qa) * y2 - (qc - qa) * y1) / det;
        planeB = ((qc - qa) * x1 - (qb - qa) * x2) / det;
        planeC = qa - planeA * a.x - planeB * a.y;
    }
    // Inside of edge i: a x + b y + c >= 0.
    double ea[kMaxPoints], eb[kMaxPoints], ec[kMaxPoints];
    for (int32_t i = 0; i < count; ++i) {
        const Projected& s = p[i];
        const Projected& t = p[(i + 1) % count];
        const double dx = double(t.x) - s.x, dy = double(t.y) - s.y;
        ea[i] = -dy * sign;
        eb[i] = dx * sign;
        ec[i] = (dy * s.x - dx * s.y) * sign;
    }
    const float cell = buffer->cellSize, m = kPixelMargin, span = cell + 2.0f * m;
    const int32_t rowFirst = std::max(0, int32_t(std::floor(yMin / cell)));
    const int32_t rowLast = std::min(buffer->rows - 1, int32_t(std::floor(yMax / cell)));
    bool any = false;
    for (int32_t row = rowFirst; row <= rowLast; ++row) {
        const double y0 = double(row) * cell - m, y1 = y0 + span;
        double lo = 0.0, hi = double(buffer->columns - 1);
        for (int32_t i = 0; i < count && lo <= hi; ++i) {
            const double t = ec[i] + std::min(eb[i] * y0, eb[i] * y1);
            // The cell's x range is [k cell - m, k cell - m + span].
            if (ea[i] > 1e-9) {
                lo = std::max(lo, std::ceil((-t / ea[i] + m) / cell));
            } else if (ea[i] < -1e-9) {
                hi = std::min(hi, std::floor((-t / ea[i] - span + m) / cell));
            } else if (t < 0.0) {
                hi = -1.0;
            }
        }
        if (lo > hi) continue;
        float* out = buffer->inverseDepth.data() + size_t(row) * size_t(buffer->columns);
        const double yPick = planeB > 0.0 ? y0 : y1;
        for (int32_t k = int32_t(lo); k <= int32_t(hi); ++k) {
            const double x0 = double(k) * cell - m;
            const double xPick = planeA > 0.0 ? x0 : x0 + span;
            // The least inverse depth over the cell, never below the polygon's own least.
            const double q = std::max(planeA * xPick + planeB * yPick + planeC, double(qMin));
            const float value = float(q) * (1.0f - kDepthMargin);
            if (value > out[k]) {
                out[k] = value;
                ++buffer->cellsWritten;
            }
            any = true;
        }
    }
    if (any) ++buffer->occluders;
    return any;
}

bool Occlusion_BoxHidden(const OcclusionBuffer* buffer, const float mins[3], const float maxs[3],
                         float pixelMargin) {
    if (buffer->inverseDepth.empty() || !buffer->occluders) return false;
    float xMin = 1e30f, xMax = -1e30f, yMin = 1e30f, yMax = -1e30f, qMax = 0.0f;
    for (int corner = 0; corner < 8; ++corner) {
        const float v[3] = {(corner & 1) ? maxs[0] : mins[0], (corner & 2) ? maxs[1] : mins[1],
                            (corner & 4) ? maxs[2] : mins[2]};
        const Projected p = project(buffer->mvp, v, buffer->width, buffer->height);
        // Reaching the near plane (or behind the eye): it may cover any part of the view.
        if (!(p.w > 0.0f) || !(p.z > -p.w)) return false;
        xMin = std::min(xMin, p.x);
        xMax = std::max(xMax, p.x);
        yMin = std::min(yMin, p.y);
        yMax = std::max(yMax, p.y);
        qMax = std::max(qMax, 1.0f / p.w);
    }
    const float cell = buffer->cellSize, m = kPixelMargin + std::max(pixelMargin, 0.0f);
    if (!(xMax + m >= 0.0f && yMax + m >= 0.0f && xMin - m <= buffer->width && yMin - m <= buffer->height))
        return false;
    const int32_t c0 = std::max(0, int32_t(std::floor((xMin - m) / cell)));
    const int32_t c1 = std::min(buffer->columns - 1, int32_t(std::floor((xMax + m) / cell)));
    const int32_t r0 = std::max(0, int32_t(std::floor((yMin - m) / cell)));
    const int32_t r1 = std::min(buffer->rows - 1, int32_t(std::floor((yMax + m) / cell)));
    const float nearest = qMax * (1.0f + kDepthMargin);
    for (int32_t r = r0; r <= r1; ++r) {
        const float* row = buffer->inverseDepth.data() + size_t(r) * size_t(buffer->columns);
        for (int32_t c = c0; c <= c1; ++c)
            if (!(nearest < row[c])) return false;
    }
    return true;
}
