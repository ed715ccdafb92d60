// Face texture mapping: binding, base axes, alignment, rotation, coordinates and the alignment
// commands.
#include <cmath>
#include <cstring>

#include "core/System.h"
#include "gamedata/TextureManager.h"
#include "kstdlib/kmath.h"
#include "kstdlib/kutil.h"
#include "map/MapFace.h"
#include "core/Vector.h"
#include "map/TextureBinding.h"

namespace {

struct AxisRow {
    float normal[3];
    float s[3];
    float t[3];
};

// Rows for findBaseAxis, alignment detection and resetTextureAxes.
constexpr AxisRow kAxisTableA[6] = {
    {{0, 0, 1}, {1, 0, 0}, {0, -1, 0}},  {{0, 0, -1}, {1, 0, 0}, {0, -1, 0}},
    {{0, -1, 0}, {1, 0, 0}, {0, 0, -1}}, {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}},
    {{-1, 0, 0}, {0, 1, 0}, {0, 0, -1}}, {{1, 0, 0}, {0, 1, 0}, {0, 0, -1}},
};

// Rows for getBaseTextureAxes.
constexpr AxisRow kAxisTableB[6] = {
    {{0, 0, 1}, {1, 0, 0}, {0, -1, 0}}, {{0, 0, -1}, {1, 0, 0}, {0, -1, 0}},
    {{1, 0, 0}, {0, 1, 0}, {0, 0, -1}}, {{-1, 0, 0}, {0, 1, 0}, {0, 0, -1}},
    {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}}, {{0, -1, 0}, {1, 0, 0}, {0, 0, -1}},
};

constexpr int32_t kNoBaseAxis = 6;

} // namespace

// ---- Binding --------------------------------------------------------------------------------

void cMapFace::releaseTexture() {
    Texture_Release(&record->texture);
}

void cMapFace::setTextureInfo(const TextureInfo* info) {
    if (info) Texture_BindInfo(&record->texture, &record->texInfo, &record->flags, info);
}

void cMapFace::setTextureName(const char* name) {
    if (name) Texture_BindName(&record->texture, &record->texInfo, &record->flags, name);
}

void cMapFace::textureSize(int32_t* width, int32_t* height) const {
    const ShaderRecord* tex = record->texture;
    *width = TexInfo_SafeSize(tex ? tex->width : 0);
    *height = TexInfo_SafeSize(tex ? tex->height : 0);
}

// ---- Axes -----------------------------------------------------------------------------------

int32_t cMapFace::findBaseAxis() const {
    const float* n = record->normal;
    if (n[0] == 0.0f && n[1] == 0.0f && n[2] == 0.0f) return kNoBaseAxis;
    int32_t best = kNoBaseAxis;
    float bestDot = -1.0f;
    for (int32_t row = 0; row < 6; ++row) {
        const float d = Vec_Dot(n, kAxisTableA[row].normal);
        if (d >= 0.0f && d >= bestDot) {
            best = row;
            bestDot = d;
        }
    }
    return best;
}

void cMapFace::getBaseTextureAxes(float s[3], float t[3]) const {
    int32_t best = 0;
    float bestDot = 0.0f;
    for (int32_t row = 0; row < 6; ++row) {
        const float d = Vec_Dot(record->normal, kAxisTableB[row].normal);
        if (d > bestDot) {
            best = row;
            bestDot = d;
        }
    }
    Vec_Copy(kAxisTableB[best].s, s);
    Vec_Copy(kAxisTableB[best].t, t);
}

void cMapFace::resetTextureAxes() {
    TextureInfo& ti = record->texInfo;
    const float* n = record->normal;
    const int32_t row = findBaseAxis();
    // Without a normal there is nothing to derive the axes from: they stay as they are.
    if (row == kNoBaseAxis) return;
    float s[3], t[3];
    if (ti.alignment & TexAlign::Face) {
        Vec_Cross(n, kAxisTableA[row].t, s);
        Vec_Normalize(s);
        Vec_Cross(s, n, t);
        Vec_Normalize(t);
    } else if (ti.alignment & TexAlign::World) {
        Vec_Copy(kAxisTableA[row].s, s);
        Vec_Copy(kAxisTableA[row].t, t);
    } else {
        getBaseTextureAxes(s, t);
    }
    Vec_Copy(s, ti.sAxis);
    Vec_Copy(t, ti.tAxis);
    if (ti.rotation != 0.0f) rotateTextureAxes(-ti.rotation);
}

void cMapFace::detectTextureAlignment() {
    TextureInfo& ti = record->texInfo;
    ti.alignment = 0;
    float n[3];
    Vec_Cross(ti.tAxis, ti.sAxis, n);
    Vec_Normalize(n);
    if (Vec_Dot(n, record->normal) > 0.9999f) ti.alignment |= TexAlign::Face;
    const int32_t row = findBaseAxis();
    if (row == kNoBaseAxis) return;
    float rowNormal[3];
    Vec_Cross(kAxisTableA[row].t, kAxisTableA[row].s, rowNormal);
    if (Vec_Dot(n, rowNormal) > 0.9999f) ti.alignment |= TexAlign::World;
}

void cMapFace::rotateTextureAxes(float degrees) {
    TextureInfo& ti = record->texInfo;
    float axis[3];
    Vec_Cross(ti.tAxis, ti.sAxis, axis);
    if (Vec_Normalize(axis) <= 0.0f) return;
    float sine, cosine;
    K_SinCosPrecise(degrees * 3.1415927f / 180.0f, &sine, &cosine);
    const float x = axis[0], y = axis[1], z = axis[2], c1 = 1.0f - cosine;
    const float m[3][3] = {
        {cosine + x * x * c1, x * y * c1 - z * sine, x * z * c1 + y * sine},
        {y * x * c1 + z * sine, cosine + y * y * c1, y * z * c1 - x * sine},
        {z * x * c1 - y * sine, z * y * c1 + x * sine, cosine + z * z * c1},
    };
    float* axes[2] = {ti.sAxis, ti.tAxis};
    for (float* v : axes) {
        float r[3];
        for (int32_t i = 0; i < 3; ++i)
            r[i] = Vec_Dot(m[i], v);
        Vec_Normalize(r);
        Vec_Copy(r, v);
    }
}

bool cMapFace::hasValidTextureAxes() const {
    float n[3];
    Vec_Cross(record->texInfo.tAxis, record->texInfo.sAxis, n);
    return std::fabs(Vec_Dot(n, record->normal)) > 0.001f;
}

// ---- Scales, shifts, coordinates ------------------------------------------------------------

void cMapFace::rescaleToPowerOfTwo() {
    TextureInfo& ti = record->texInfo;
    int32_t w, h;
    textureSize(&w, &h);
    const float fs = float(K_NextPowerOf2(unsigned(w))) / float(w);
    const float ft = float(K_NextPowerOf2(unsigned(h))) / float(h);
    ti.sScale *= fs;
    ti.tScale *= ft;
    ti.sShift /= fs;
    ti.tShift /= ft;
}

void cMapFace::wrapTextureShift() {
    const ShaderRecord* tex = record->texture;
    if (!tex || (tex->flags & SHADER_NO_SHIFT_WRAP)) return;
    TextureInfo& ti = record->texInfo;
    if (tex->width != 0) ti.sShift = std::fmod(ti.sShift, float(tex->width));
    if (tex->height != 0) ti.tShift = std::fmod(ti.tShift, float(tex->height));
}

void cMapFace::computeTexCoords() {
    FaceRecord* f = record;
    const TextureInfo& ti = f->texInfo;
    int32_t w, h;
    textureSize(&w, &h);
    const float ss = TexInfo_SafeScale(ti.sScale), ts = TexInfo_SafeScale(ti.tScale);
    TexCoordRange range;
    for (int32_t i = 0; i < f->vertexCount; ++i) {
        FaceVertex& v = f->vertices[i];
        v.s = (Vec_Dot(ti.sAxis, v.xyz) / ss + ti.sShift) / float(w);
        v.t = (Vec_Dot(ti.tAxis, v.xyz) / ts + ti.tShift) / float(h);
        range.add(v.s, v.t);
    }
    if (f->vertexCount == 0) return;
    const float ds = range.wholeS();
    const float dt = range.wholeT();
    for (int32_t i = 0; i < f->vertexCount; ++i) {
        f->vertices[i].s -= ds;
        f->vertices[i].t -= dt;
    }
}

void cMapFace::solveTextureFromTexCoords() {
    FaceRecord* f = record;
    if (f->vertexCount < 3) return;
    TextureInfo& ti = f->texInfo;
    const FaceVertex* v = f->vertices;
    int32_t wi, hi;
    textureSize(&wi, &hi);
    const float W = float(wi), H = float(hi);
    float e1[3], e2[3];
    Vec_Sub(v[1].xyz, v[0].xyz, e1);
    Vec_Sub(v[2].xyz, v[0].xyz, e2);
    const float ds1 = (v[1].s - v[0].s) * W, ds2 = (v[2].s - v[0].s) * W;
    const float dt1 = (v[1].t - v[0].t) * H, dt2 = (v[2].t - v[0].t) * H;
    const float det = dt2 * ds1 - dt1 * ds2;
    // Coordinates that carry no mapping (all equal, or collinear) cannot be solved: keep the
    // mapping and derive the coordinates from it instead.
    if (!std::isfinite(det) || std::fabs(det) < 1e-6f) {
        computeTexCoords();
        return;
    }
    const float k = 1.0f / det;
    float s[3], t[3];
    for (int32_t i = 0; i < 3; ++i) {
        s[i] = (e1[i] * dt2 - e2[i] * dt1) * k;
        t[i] = (e2[i] * ds1 - e1[i] * ds2) * k;
    }
    Vec_Normalize(s);
    Vec_Normalize(t);
    const float a = Vec_Dot(e2, t), b = Vec_Dot(e1, t), c = Vec_Dot(e1, s), d = Vec_Dot(e2, s);
    const float det2 = a * c - b * d;
    if (std::isfinite(det2) && std::fabs(det2) > 1e-12f) {
        const float k2 = 1.0f / det2;
        for (int32_t i = 0; i < 3; ++i) {
            const float si = (e1[i] * a - e2[i] * b) * k2;
            const float ti2 = (e2[i] * c - e1[i] * d) * k2;
            s[i] = si;
            t[i] = ti2;
        }
        Vec_Normalize(s);
        Vec_Normalize(t);
    }
    const bool haveS = Vec_Length(s) > 0.001f, haveT = Vec_Length(t) > 0.001f;
    if (haveS) Vec_Copy(s, ti.sAxis);
    if (haveT) Vec_Copy(t, ti.tAxis);
    ti.sScale = ti.tScale = 1.0f;
    ti.sShift = ti.tShift = 0.0f;
    if (haveS || haveT) {
        static constexpr int32_t kPairs[3][2] = {{0, 1}, {1, 2}, {2, 0}};
        bool doneS = false, doneT = false;
        for (const auto& pair : kPairs) {
            const FaceVertex& pi = v[pair[0]];
            const FaceVertex& pj = v[pair[1]];
            float e[3];
            Vec_Sub(pj.xyz, pi.xyz, e);
            // An edge across the axis leaves the scale at 1; the shift still follows the pair.
            if (!doneS && pj.s != pi.s) {
                doneS = true;
                const float dot = Vec_Dot(e, ti.sAxis);
                if (dot != 0.0f) ti.sScale = TexInfo_SafeScale(dot / (W * (pj.s - pi.s)));
                ti.sShift = W * pi.s - Vec_Dot(ti.sAxis, pi.xyz) / ti.sScale;
            }
            if (!doneT && pj.t != pi.t) {
                doneT = true;
                const float dot = Vec_Dot(e, ti.tAxis);
                if (dot != 0.0f) ti.tScale = TexInfo_SafeScale(dot / (H * (pj.t - pi.t)));
                ti.tShift = H * pi.t - Vec_Dot(ti.tAxis, pi.xyz) / ti.tScale;
            }
        }
    }
    ti.rotation = 0.0f;
    computeTexCoords();
}

// ---- Transforms and alignment commands ------------------------------------------------------

void cMapFace::transformTexture(const float origin[3], const float m[12], bool keepScale) {
    TextureInfo& ti = record->texInfo;
    float s[3], t[3];
    K_VectorRotate(ti.sAxis, m, s);
    K_VectorRotate(ti.tAxis, m, t);
    const float sLen = Vec_Normalize(s), tLen = Vec_Normalize(t);
    Vec_Copy(s, ti.sAxis);
    Vec_Copy(t, ti.tAxis);
    if (keepScale) {
        ti.sScale *= sLen;
        ti.tScale *= tLen;
    }
    bool rigid = true;
    for (int32_t row = 0; row < 3; ++row)
        rigid = rigid && std::fabs(Vec_Length(&m[row * 4]) - 1.0f) <= 1e-4f;
    if (keepScale || rigid) {
        const float negO[3] = {-origin[0], -origin[1], -origin[2]};
        float d[3];
        K_VectorTransform(negO, m, d);
        for (int32_t i = 0; i < 3; ++i)
            d[i] += origin[i];
        ti.sShift -= Vec_Dot(s, d) / TexInfo_SafeScale(ti.sScale);
        ti.tShift -= Vec_Dot(t, d) / TexInfo_SafeScale(ti.tScale);
    }
    wrapTextureShift();
}

void cMapFace::getExtremeVertices(float out[6][3]) const {
    std::memset(out, 0, sizeof(float) * 18);
    const FaceRecord* f = record;
    if (f->vertexCount == 0) return;
    int32_t idx[6] = {0, 0, 0, 0, 0, 0};
    for (int32_t i = 1; i < f->vertexCount; ++i) {
        for (int32_t a = 0; a < 3; ++a) {
            if (f->vertices[i].xyz[a] < f->vertices[idx[a * 2]].xyz[a]) idx[a * 2] = i;
            if (f->vertices[i].xyz[a] > f->vertices[idx[a * 2 + 1]].xyz[a]) idx[a * 2 + 1] = i;
        }
    }
    for (int32_t k = 0; k < 6; ++k)
        Vec_Copy(f->vertices[idx[k]].xyz, out[k]);
}

void cMapFace::getTextureExtents(const float extremes[6][3], float extents[4]) const {
    const TextureInfo& ti = record->texInfo;
    const float ss = TexInfo_SafeScale(ti.sScale), ts = TexInfo_SafeScale(ti.tScale);
    extents[0] = extents[2] = 999999.0f;
    extents[1] = extents[3] = -999999.0f;
    for (int32_t k = 0; k < 6; ++k) {
        const float s = Vec_Dot(ti.sAxis, extremes[k]) / ss;
        const float t = Vec_Dot(ti.tAxis, extremes[k]) / ts;
        extents[0] = std::fmin(extents[0], s);
        extents[1] = std::fmax(extents[1], s);
        extents[2] = std::fmin(extents[2], t);
        extents[3] = std::fmax(extents[3], t);
    }
}

void cMapFace::alignTexture(int32_t mode, const float extremes[6][3], float repeatS, float repeatT) {
    TextureInfo& ti = record->texInfo;
    int32_t w, h;
    textureSize(&w, &h);
    if (mode == TexAlignMode::Fit) ti.sScale = ti.tScale = 1.0f;
    float e[4];
    getTextureExtents(extremes, e);
    const float smin = e[0], smax = e[1], tmin = e[2], tmax = e[3];
    switch (mode) {
    case TexAlignMode::Top:
        ti.tShift = -tmin;
        break;
    case TexAlignMode::Bottom:
        ti.tShift = float(h) - tmax;
        break;
    case TexAlignMode::Left:
        ti.sShift = -smin;
        break;
    case TexAlignMode::Right:
        ti.sShift = float(w) - smax;
        break;
    case TexAlignMode::Center:
        ti.sShift = float(w / 2) - (smin + smax) * 0.5f;
        ti.tShift = float(h / 2) - (tmin + tmax) * 0.5f;
        break;
    case TexAlignMode::Fit: {
        // Zero repeats would divide by zero; a flat extent would give a zero scale.
        const float rs = std::fabs(repeatS) >= 0.001f ? repeatS : 1.0f;
        const float rt = std::fabs(repeatT) >= 0.001f ? repeatT : 1.0f;
        ti.sScale = TexInfo_SafeScale((smax - smin) / (float(w) * rs));
        ti.tScale = TexInfo_SafeScale((tmax - tmin) / (float(h) * rt));
        ti.sShift = -smin / ti.sScale;
        ti.tShift = -tmin / ti.tScale;
        break;
    }
    default:
        break;
    }
    wrapTextureShift();
}

void cMapFace::wrapTextureFrom(const FaceRecord* other) {
    if (!other) return;
    TextureInfo& ti = record->texInfo;
    const TextureInfo& src = other->texInfo;
    float s[3], t[3], o[3];
    Math_WrapTextureAxes(other->normal, other->dist, src.sAxis, src.sShift, src.tAxis, src.tShift, src.sScale,
                         src.tScale, record->normal, record->dist, s, t, o);
    Vec_Copy(s, ti.sAxis);
    Vec_Copy(t, ti.tAxis);
    ti.sShift = Vec_Dot(s, o) / TexInfo_SafeScale(src.sScale);
    ti.tShift = Vec_Dot(t, o) / TexInfo_SafeScale(src.tScale);
    wrapTextureShift();
    ti.rotation = 0.0f;
    ti.sScale = src.sScale;
    ti.tScale = src.tScale;
}
