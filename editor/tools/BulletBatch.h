// Bordered square bullets gathered into one vertex and colour array and drawn with one call: a large
// selection has tens of thousands of handles. Only what can show reaches GL: bullets off the view
// are left out, and so are bullets, borders and insides that later bullets hide. A batch keeps its
// arrays from frame to frame.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

class cCanvas;

class cBulletBatch {
public:
    // Starts a batch of bullets of size pixels, their borders one pixel wide, under the current GL
    // transform: at world points of the 2D view v, or at window pixels (pixel projection).
    void beginWorld2D(const cCanvas* v, float size);
    void beginPixels(const cCanvas* v, float size);

    // A bullet at a world point (2D views) or a window pixel; dropped when it cannot show. The
    // layers are drawn one over the other, each in the order its bullets were added.
    static constexpr int kLayers = 4;
    void add(const float p[3], const uint8_t colour[4], int layer) {
        add(p[m_axes[0]], p[m_axes[1]], p[m_axes[2]], colour, layer);
    }
    void addPixel(float x, float y, const uint8_t colour[4], int layer) { add(x, y, 0.0f, colour, layer); }
    void draw(cCanvas* v);

private:
    struct Bullet {
        float x, y, d;
        float wx, wy; // window position from the viewport's corner (GL window coordinates, y up)
        float slack;  // how far GL may place the square's edges from where wx and wy put them
        const uint8_t* colour;
        bool covers; // hides what was drawn before on its spot (not when depth may clip it)
    };
    // Pixel columns and rows (inclusive; empty when lo > hi) within the viewport.
    struct Span {
        int lo, hi;
    };
    struct Rect {
        Span x, y;
    };

    void begin(const int axes[3], float half, float border, float depthLimit, bool depthInKey);
    void place();
    // Inline: called for every handle.
    void add(float x, float y, float d, const uint8_t colour[4], int layer);
    // The pixels a square of half-side half (window pixels) around the bullet surely and perhaps
    // covers.
    void rects(const Bullet& b, float half, Rect& sure, Rect& maybe) const;
    // Whether later bullets cover every pixel of the rectangle (less the hole).
    bool covered(const Rect& r) const;
    bool ringCovered(const Rect& r, const Rect& hole) const;
    void cover(const Rect& r);
    bool sameSpot(const Bullet& a, const Bullet& b) const;
    // The slot of the later equal bullet, or the free slot where this one goes.
    size_t slotOf(const Bullet& b) const;
    // The bullets to draw, in order, with the parts of each that can show.
    void choose();
    // A square of half-side h around the bullet at its depth.
    void quad(const Bullet& b, float h, const uint8_t colour[4], float*& xyz, uint8_t*& rgba) const;

    // Float rounding of the transform, relative to the size of the terms it sums.
    static constexpr double kRounding = 2e-6;

    std::vector<Bullet> m_bullets[kLayers];
    int m_axes[3] = {0, 1, 2};     // world axes of x, y and depth
    float m_half = 0, m_inner = 0; // half-sides of the border and the inside, in the units of x and y
    float m_depthLimit = 0.0f;     // 0: no depth clipping
    bool m_depthInKey = false;     // only bullets of equal depth count as on the same spot
    uint8_t m_border[4] = {};
    // Window position: x * kx[0] + y * kx[1] + d * kx[2] + kx[3], likewise y.
    double m_kx[4] = {}, m_ky[4] = {};
    double m_sizeX[4] = {}, m_sizeY[4] = {}; // their magnitudes
    int m_viewport[4] = {};
    bool m_placed = false;                     // the transform tells where the squares fall
    bool m_cover = false;                      // and the GL state lets a later square hide an earlier one
    float m_windowHalf = 0, m_windowInner = 0; // the half-sides in window pixels
    float m_slack = 0;                         // the part of the slack every bullet has
    // Pixels that later bullets surely cover, a bit each, rows of m_stride words (the last spare).
    std::vector<uint64_t> m_covered;
    int m_stride = 0;
    // Bullets on the same spot, by the bits of their position, with the frame each slot was set
    // in, so the table needs no clearing.
    std::vector<const Bullet*> m_spotSlots;
    std::vector<uint32_t> m_spotStamps;
    uint32_t m_stamp = 0;
    std::vector<const Bullet*> m_shown;
    std::vector<uint8_t> m_parts; // of each shown bullet: 1 the border, 2 the inside
    std::vector<float> m_xyz;
    std::vector<uint8_t> m_rgba;
};

inline void cBulletBatch::add(float x, float y, float d, const uint8_t colour[4], int layer) {
    bool covers = true;
    if (m_depthLimit > 0.0f) {
        const float depth = std::fabs(d);
        if (!(depth <= m_depthLimit * 1.0001f)) return; // clipped whole
        covers = depth < m_depthLimit * 0.9999f;        // at the limit rounding decides
    }
    Bullet b{x, y, d, 0.0f, 0.0f, 0.0f, colour, covers};
    if (m_placed) {
        const double ax = std::fabs(x) + m_half, ay = std::fabs(y) + m_half, ad = std::fabs(d);
        const double wx = m_kx[0] * x + m_kx[1] * y + m_kx[2] * d + m_kx[3];
        const double wy = m_ky[0] * x + m_ky[1] * y + m_ky[2] * d + m_ky[3];
        const double sizeX = m_sizeX[0] * ax + m_sizeX[1] * ay + m_sizeX[2] * ad + m_sizeX[3];
        const double sizeY = m_sizeY[0] * ax + m_sizeY[1] * ay + m_sizeY[2] * ad + m_sizeY[3];
        b.wx = float(wx);
        b.wy = float(wy);
        b.slack = m_slack + float(kRounding * std::max(sizeX, sizeY));
        // Wholly off the viewport: no pixel centre within reach.
        const float reach = m_windowHalf + b.slack;
        if (!(b.wx + reach >= 0.5f && b.wx - reach <= float(m_viewport[2]) - 0.5f && b.wy + reach >= 0.5f &&
              b.wy - reach <= float(m_viewport[3]) - 0.5f))
            return;
    }
    m_bullets[layer].push_back(b);
}
