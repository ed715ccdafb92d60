#include "tools/BulletBatch.h"

#include <QOpenGLFunctions>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "views/Canvas.h"
#include "render/ColorScheme.h"
#include "render/GLStateCache.h"

namespace {

// How far GL may put an edge from where the batch computes it, besides float rounding of the
// transform: rasterisers snap vertices to a grid of 1/256 pixel (llvmpipe) down to 1/16 (some
// hardware).
constexpr double kEdgeSlack = 1.0 / 8;

uint32_t bitsOf(float f) {
    uint32_t u;
    std::memcpy(&u, &f, 4);
    return u;
}

// floor and ceil of a float clamped to -2..limit (calls to floorf and ceilf would cost more than
// the rest).
int floorIn(float f, int limit) {
    f = std::clamp(f, -2.0f, float(limit));
    const int i = int(f);
    return i - (f < float(i));
}
int ceilIn(float f, int limit) {
    f = std::clamp(f, -2.0f, float(limit));
    const int i = int(f);
    return i + (f > float(i));
}

// The pixels (centres at half pixels) whose centre lies within half of centre surely (sure) and
// perhaps (maybe) when the edges may be slack off, clipped to 0..size-1.
void spans(float centre, float half, float slack, int size, int& sureLo, int& sureHi, int& maybeLo,
           int& maybeHi) {
    sureLo = std::max(ceilIn(centre - half + slack - 0.5f, size + 1), 0);
    sureHi = std::min(floorIn(centre + half - slack - 0.5f, size + 1), size - 1);
    maybeLo = std::max(ceilIn(centre - half - slack - 0.5f, size + 1), 0);
    maybeHi = std::min(floorIn(centre + half + slack - 0.5f, size + 1), size - 1);
}

// Whether bits lo..hi of a row are all set. Rows end in a spare word, so a span up to 57 bits wide
// is one unaligned load.
bool allSet(const uint64_t* row, int lo, int hi) {
    if (lo > hi) return true;
    if constexpr (std::endian::native == std::endian::little) {
        if (hi - lo < 57) {
            uint64_t bits;
            std::memcpy(&bits, reinterpret_cast<const uint8_t*>(row) + (lo >> 3), 8);
            const uint64_t m = ~0ull >> (63 - (hi - lo));
            return ((bits >> (lo & 7)) & m) == m;
        }
    }
    const int first = lo >> 6, last = hi >> 6;
    for (int w = first; w <= last; ++w) {
        uint64_t m = ~0ull;
        if (w == first) m &= ~0ull << (lo & 63);
        if (w == last) m &= ~0ull >> (63 - (hi & 63));
        if ((row[w] & m) != m) return false;
    }
    return true;
}

void setBits(uint64_t* row, int lo, int hi) {
    if (lo > hi) return;
    const int first = lo >> 6, last = hi >> 6;
    for (int w = first; w <= last; ++w) {
        uint64_t m = ~0ull;
        if (w == first) m &= ~0ull << (lo & 63);
        if (w == last) m &= ~0ull >> (63 - (hi & 63));
        row[w] |= m;
    }
}

} // namespace

void cBulletBatch::beginWorld2D(const cCanvas* v, float size) {
    const int axes[3] = {v->hAxis, v->vAxis, v->dAxis};
    // Depth beyond the half world size is clipped. The side and front views turn the world by a
    // rotation that is not exact, so depth moves their squares by a rounding's worth.
    begin(axes, size / 2 / v->zoom, 1.0f / v->zoom, v->halfWorldSize, v->viewType != ViewType::Top);
}

void cBulletBatch::beginPixels(const cCanvas*, float size) {
    const int axes[3] = {0, 1, 2};
    begin(axes, size / 2, 1.0f, 0.0f, false);
}

void cBulletBatch::begin(const int axes[3], float half, float border, float depthLimit, bool depthInKey) {
    for (std::vector<Bullet>& layer : m_bullets)
        layer.clear();
    std::copy(axes, axes + 3, m_axes);
    m_half = half;
    m_inner = half - border;
    m_depthLimit = depthLimit;
    m_depthInKey = depthInKey;
    Color_FillRGBA(m_border, COLOR_BULLET_BORDER);
    place();
}

// Where the current transform puts the squares. Only an affine transform that keeps them upright
// and square is followed; under any other every bullet is drawn.
void cBulletBatch::place() {
    GLfloat model[16], projection[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, model);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, m_viewport);
    double m[4][4]; // projection × model, [row][column]
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            double s = 0;
            for (int k = 0; k < 4; ++k)
                s += double(projection[k * 4 + r]) * double(model[c * 4 + k]);
            m[r][c] = s;
        }
    m_placed = m[3][0] == 0 && m[3][1] == 0 && m[3][2] == 0 && m[3][3] == 1 && m_viewport[2] > 0 &&
               m_viewport[3] > 0;
    m_cover = false;
    if (!m_placed) return;
    // Window coordinates from the viewport's corner.
    const double sx = m_viewport[2] / 2.0, sy = m_viewport[3] / 2.0;
    for (int k = 0; k < 3; ++k) {
        m_kx[k] = m[0][m_axes[k]] * sx;
        m_ky[k] = m[1][m_axes[k]] * sy;
    }
    m_kx[3] = (m[0][3] + 1) * sx;
    m_ky[3] = (m[1][3] + 1) * sy;
    for (int k = 0; k < 4; ++k) {
        m_sizeX[k] = std::fabs(m_kx[k]);
        m_sizeY[k] = std::fabs(m_ky[k]);
    }
    const double side = std::fabs(m_kx[0]);
    m_placed = side > 0 && std::fabs(std::fabs(m_ky[1]) - side) <= side * 1e-5;
    if (!m_placed) return;
    m_windowHalf = float(side * m_half);
    m_windowInner = float(side * m_inner);
    // A turn in the window's plane, however slight, tilts the squares' edges.
    m_slack = float(kEdgeSlack + (std::fabs(m_kx[1]) + std::fabs(m_ky[0])) * m_half);
    GLint samples = 0;
    glGetIntegerv(GL_SAMPLE_BUFFERS, &samples);
    if (samples > 0 && glIsEnabled(GL_MULTISAMPLE)) m_slack += 0.5f; // samples anywhere in a pixel
    // A later square hides an earlier one only where it replaces the pixels outright.
    GLint modes[2] = {GL_FILL, GL_FILL};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    m_cover = modes[0] == GL_FILL && modes[1] == GL_FILL;
    for (GLenum state : {GL_BLEND, GL_ALPHA_TEST, GL_DEPTH_TEST, GL_STENCIL_TEST, GL_COLOR_LOGIC_OP,
                         GL_POLYGON_SMOOTH, GL_POLYGON_STIPPLE})
        if (glIsEnabled(state)) m_cover = false;
}

void cBulletBatch::rects(const Bullet& b, float half, Rect& sure, Rect& maybe) const {
    spans(b.wx, half, b.slack, m_viewport[2], sure.x.lo, sure.x.hi, maybe.x.lo, maybe.x.hi);
    spans(b.wy, half, b.slack, m_viewport[3], sure.y.lo, sure.y.hi, maybe.y.lo, maybe.y.hi);
}

bool cBulletBatch::covered(const Rect& r) const {
    for (int y = r.y.lo; y <= r.y.hi; ++y)
        if (!allSet(&m_covered[size_t(y) * size_t(m_stride)], r.x.lo, r.x.hi)) return false;
    return true;
}

bool cBulletBatch::ringCovered(const Rect& r, const Rect& hole) const {
    const bool holed = hole.x.lo <= hole.x.hi;
    for (int y = r.y.lo; y <= r.y.hi; ++y) {
        const uint64_t* row = &m_covered[size_t(y) * size_t(m_stride)];
        if (holed && y >= hole.y.lo && y <= hole.y.hi) {
            if (!allSet(row, r.x.lo, hole.x.lo - 1) || !allSet(row, hole.x.hi + 1, r.x.hi)) return false;
        } else if (!allSet(row, r.x.lo, r.x.hi)) {
            return false;
        }
    }
    return true;
}

void cBulletBatch::cover(const Rect& r) {
    for (int y = r.y.lo; y <= r.y.hi; ++y)
        setBits(&m_covered[size_t(y) * size_t(m_stride)], r.x.lo, r.x.hi);
}

bool cBulletBatch::sameSpot(const Bullet& a, const Bullet& b) const {
    return bitsOf(a.x) == bitsOf(b.x) && bitsOf(a.y) == bitsOf(b.y) &&
           (!m_depthInKey || bitsOf(a.d) == bitsOf(b.d));
}

size_t cBulletBatch::slotOf(const Bullet& b) const {
    const uint32_t x = bitsOf(b.x), y = bitsOf(b.y), d = m_depthInKey ? bitsOf(b.d) : 0;
    uint32_t h = x * 0x9E3779B1u ^ y * 0x85EBCA77u ^ d * 0xC2B2AE3Du;
    h ^= h >> 15;
    const size_t mask = m_spotSlots.size() - 1;
    size_t slot = h & mask;
    while (m_spotStamps[slot] == m_stamp && !sameSpot(*m_spotSlots[slot], b))
        slot = (slot + 1) & mask;
    return slot;
}

void cBulletBatch::choose() {
    m_shown.clear();
    m_parts.clear();
    size_t total = 0;
    for (const std::vector<Bullet>& layer : m_bullets)
        total += layer.size();
    if (!total) return;
    if (!m_cover) {
        for (const std::vector<Bullet>& layer : m_bullets)
            for (const Bullet& b : layer) {
                m_shown.push_back(&b);
                m_parts.push_back(3);
            }
        return;
    }
    m_stride = (m_viewport[2] + 63) / 64 + 1;
    m_covered.assign(size_t(m_stride) * size_t(m_viewport[3]), 0);
    size_t capacity = 64;
    while (capacity < total * 2)
        capacity *= 2;
    if (m_spotSlots.size() < capacity) {
        m_spotSlots.assign(capacity, nullptr);
        m_spotStamps.assign(capacity, 0);
        m_stamp = 0;
    }
    if (++m_stamp == 0) {
        std::fill(m_spotStamps.begin(), m_spotStamps.end(), 0);
        m_stamp = 1;
    }
    // Last first: what is drawn later decides what earlier bullets still show.
    for (int layer = kLayers; layer-- > 0;)
        for (size_t index = m_bullets[layer].size(); index-- > 0;) {
            const Bullet& b = m_bullets[layer][index];
            Rect sure, maybe;
            rects(b, m_windowHalf, sure, maybe);
            if (covered(maybe)) continue; // most are, where handles lie close or on top of each other
            // Near a pixel centre the squares' pixels are not known; an equal bullet still hides it.
            const bool unsure = std::memcmp(&sure, &maybe, sizeof sure) != 0;
            size_t slot = 0;
            if (unsure) {
                slot = slotOf(b);
                if (m_spotStamps[slot] == m_stamp) continue;
            }
            Rect sureInside, maybeInside;
            rects(b, m_windowInner, sureInside, maybeInside);
            uint8_t parts = 0;
            if (!ringCovered(maybe, sureInside)) parts |= 1;
            if (!covered(maybeInside)) parts |= 2;
            if (!parts) continue;
            m_shown.push_back(&b);
            m_parts.push_back(parts);
            if (!b.covers) continue;
            cover(sure);
            if (unsure) {
                m_spotSlots[slot] = &b;
                m_spotStamps[slot] = m_stamp;
            }
        }
    std::reverse(m_shown.begin(), m_shown.end());
    std::reverse(m_parts.begin(), m_parts.end());
}

void cBulletBatch::quad(const Bullet& b, float h, const uint8_t colour[4], float*& xyz,
                        uint8_t*& rgba) const {
    const float signs[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (const auto& s : signs) {
        xyz[m_axes[0]] = b.x + s[0] * h;
        xyz[m_axes[1]] = b.y + s[1] * h;
        xyz[m_axes[2]] = b.d;
        xyz += 3;
        std::memcpy(rgba, colour, 4);
        rgba += 4;
    }
}

void cBulletBatch::draw(cCanvas* v) {
    choose();
    size_t quads = 0;
    for (uint8_t parts : m_parts)
        quads += (parts & 1) + (parts >> 1);
    if (!quads) return;
    m_xyz.resize(quads * 4 * 3);
    m_rgba.resize(quads * 4 * 4);
    float* p = m_xyz.data();
    uint8_t* c = m_rgba.data();
    for (size_t k = 0; k < m_shown.size(); ++k) {
        const Bullet& b = *m_shown[k];
        if (m_parts[k] & 1) quad(b, m_half, m_border, p, c);
        if (m_parts[k] & 2) quad(b, m_inner, b.colour, p, c);
    }
    glDisable(GL_TEXTURE_2D);
    // Window pixels run downwards, which turns the squares over: culling would drop them.
    const GLboolean culling = glIsEnabled(GL_CULL_FACE);
    glDisable(GL_CULL_FACE);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, m_xyz.data());
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, m_rgba.data());
    glDrawArrays(GL_QUADS, 0, GLsizei(quads * 4));
    glDisableClientState(GL_COLOR_ARRAY);
    if (culling) glEnable(GL_CULL_FACE);
    // Drawn past the view's state cache: it must not trust its pointers any more.
    if (v->stateCache) GL_ResyncStateCache(v->stateCache);
}
