// Patch texture coordinates: shift, scale and rotation (kept in step on the control points and
// the mesh), natural mapping, fitting and mapping from a face. Scales, sizes and repeat counts
// that cannot be divided by count as 1, so no inf or NaN reaches the record.
#include "map/MapPatch.h"

#include <algorithm>
#include <cmath>

#include "core/System.h"
#include "gamedata/TextureManager.h"
#include "kstdlib/kmath.h"
#include "map/MapFace.h"
#include "core/Vector.h"

namespace {

// Calls f(s, t) for every control point of the grid in use and every mesh vertex.
template <class F> void forEachTexCoord(PatchRecord* r, F f) {
    for (int c = 0; c < r->columns; ++c)
        for (int row = 0; row < r->rows; ++row)
            f(r->points[c][row].s, r->points[c][row].t);
    if (r->vertices)
        for (int v = 0; v < r->vertexCount; ++v)
            f(r->vertices[v].s, r->vertices[v].t);
}

float distance(const PatchPoint& a, const PatchPoint& b) {
    float d[3];
    Vec_Sub(a.xyz, b.xyz, d);
    return Vec_Length(d);
}

// How natural mapping and fitting lay the texture for each quarter turn of the rotation:
// which coordinate the columns drive, and which of the two runs backwards.
struct QuadrantLayout {
    bool columnsDriveS;
    bool columnsReversed;
    bool rowsReversed;
    float angle;
};
constexpr QuadrantLayout kQuadrants[4] = {
    {true, false, true, 0.0f},
    {false, false, false, 90.0f},
    {true, true, false, 180.0f},
    {false, true, true, 270.0f},
};

} // namespace

int Patch_RotationQuadrant(float degrees) {
    if (!std::isfinite(degrees)) return 0;
    // Into [-45, 315) by whole turns; a huge angle is first cut down so the loops stay short.
    float r = std::fabs(degrees) > 36000.0f ? std::fmod(degrees, 360.0f) : degrees;
    while (r < -45.0f)
        r += 360.0f;
    while (r >= 315.0f)
        r -= 360.0f;
    if (r < 45.0f) return 0;
    if (r < 135.0f) return 1;
    if (r < 225.0f) return 2;
    return 3;
}

void cMapPatch::textureSize(int32_t* width, int32_t* height) const {
    const ShaderRecord* tex = record->texture;
    *width = TexInfo_SafeSize(tex ? tex->width : 0);
    *height = TexInfo_SafeSize(tex ? tex->height : 0);
}

void cMapPatch::setTextureShift(int axis, float value) {
    PatchRecord* r = record;
    if (!r->texture || (axis != 0 && axis != 1) || !std::isfinite(value)) return;
    clampCounts();
    int32_t w, h;
    textureSize(&w, &h);
    TextureInfo& ti = r->texInfo;
    float& shift = axis == 0 ? ti.sShift : ti.tShift;
    const float scale = TexInfo_SafeScale(axis == 0 ? ti.sScale : ti.tScale);
    const float delta = (value - shift) / (float(axis == 0 ? w : h) * scale);
    shift = value;
    if (!std::isfinite(delta)) return;
    forEachTexCoord(r, [&](float& s, float& t) { (axis == 0 ? s : t) += delta; });
}

void cMapPatch::setTextureScale(int axis, float value) {
    if (axis != 0 && axis != 1) return;
    clampCounts();
    PatchRecord* r = record;
    float& scale = axis == 0 ? r->texInfo.sScale : r->texInfo.tScale;
    const float next = TexInfo_SafeScale(value);
    const float ratio = TexInfo_SafeScale(scale) / next;
    forEachTexCoord(r, [&](float& s, float& t) { (axis == 0 ? s : t) *= ratio; });
    scale = next;
}

void cMapPatch::setTextureRotation(float degrees) {
    if (!std::isfinite(degrees)) return;
    clampCounts();
    PatchRecord* r = record;
    const float current = std::isfinite(r->texInfo.rotation) ? r->texInfo.rotation : 0.0f;
    float sn, cs;
    K_SinCosPrecise((degrees - current) * 3.1415927f / 180.0f, &sn, &cs);
    forEachTexCoord(r, [&](float& s, float& t) {
        const float ds = s - 0.5f, dt = t - 0.5f;
        s = cs * ds - sn * dt + 0.5f;
        t = sn * ds + cs * dt + 0.5f;
    });
    r->texInfo.rotation = degrees;
}

void cMapPatch::naturalizeTexture() {
    clampCounts();
    PatchRecord* r = record;
    TextureInfo& ti = r->texInfo;
    const QuadrantLayout& q = kQuadrants[Patch_RotationQuadrant(ti.rotation)];
    int32_t w, h;
    textureSize(&w, &h);
    const float sSpan = float(w) * TexInfo_SafeScale(ti.sScale);
    const float tSpan = float(h) * TexInfo_SafeScale(ti.tScale);
    const float sOffset = ti.sShift / sSpan;
    const float tOffset = ti.tShift / tSpan;

    // Across the columns.
    {
        const float span = q.columnsDriveS ? sSpan : tSpan;
        const float factor = (q.columnsReversed ? -1.0f : 1.0f) / span;
        const float offset = q.columnsDriveS ? sOffset : tOffset;
        float running = 0.0f;
        for (int c = 0; c < r->columns; ++c) {
            for (int row = 0; row < r->rows; ++row) {
                PatchPoint& p = r->points[c][row];
                (q.columnsDriveS ? p.s : p.t) = running + offset;
            }
            if (c + 1 == r->columns) break;
            float widest = 0.0f;
            for (int row = 0; row < r->rows; ++row)
                widest = std::max(widest, distance(r->points[c][row], r->points[c + 1][row]));
            running += factor * widest;
        }
    }
    // Across the rows, with the other coordinate.
    {
        const float span = q.columnsDriveS ? tSpan : sSpan;
        const float factor = (q.rowsReversed ? -1.0f : 1.0f) / span;
        const float offset = q.columnsDriveS ? tOffset : sOffset;
        float running = 0.0f;
        for (int row = 0; row < r->rows; ++row) {
            for (int c = 0; c < r->columns; ++c) {
                PatchPoint& p = r->points[c][row];
                (q.columnsDriveS ? p.t : p.s) = running + offset;
            }
            if (row + 1 == r->rows) break;
            float widest = 0.0f;
            for (int c = 0; c < r->columns; ++c)
                widest = std::max(widest, distance(r->points[c][row], r->points[c][row + 1]));
            running += factor * widest;
        }
    }
    ti.rotation = q.angle;
    r->flags |= PatchFlags::NeedsUpdate;
}

void cMapPatch::fitTexture(float sRepeats, float tRepeats) {
    clampCounts();
    PatchRecord* r = record;
    TextureInfo& ti = r->texInfo;
    const QuadrantLayout& q = kQuadrants[Patch_RotationQuadrant(ti.rotation)];
    // Repeat counts are divided by below; an unusable one counts as 1 like a scale.
    const float a = TexInfo_SafeScale(sRepeats);
    const float b = TexInfo_SafeScale(tRepeats);
    int32_t w, h;
    textureSize(&w, &h);

    float columnSpacing[kPatchGridLines] = {};
    float rowSpacing[kPatchGridLines] = {};
    float columnTotal = 0.0f, rowTotal = 0.0f;
    for (int c = 0; c + 1 < r->columns; ++c) {
        for (int row = 0; row < r->rows; ++row)
            columnSpacing[c] += distance(r->points[c][row], r->points[c + 1][row]);
        columnTotal += columnSpacing[c];
    }
    for (int row = 0; row + 1 < r->rows; ++row) {
        for (int c = 0; c < r->columns; ++c)
            rowSpacing[row] += distance(r->points[c][row], r->points[c][row + 1]);
        rowTotal += rowSpacing[row];
    }
    if (columnTotal == 0.0f) columnTotal = 1.0f;
    if (rowTotal == 0.0f) rowTotal = 1.0f;

    // a repeats along s and b along t in every quadrant, as the fit dialog asks ("s repeats",
    // "t repeats"): the columns carry s at 0 and 180 degrees, t at 90 and 270.
    const float columnRepeats = q.columnsDriveS ? a : b;
    const float rowRepeats = q.columnsDriveS ? b : a;
    const float columnShift = q.columnsDriveS ? ti.sShift / float(w) : ti.tShift / float(h);
    const float rowShift = q.columnsDriveS ? ti.tShift / float(h) : ti.sShift / float(w);
    const float hStart = (q.columnsReversed ? -1.0f : 1.0f) * columnRepeats * columnShift;
    const float gStart = (q.rowsReversed ? -1.0f : 1.0f) * rowRepeats * rowShift;

    float hRun = hStart;
    for (int c = 0; c < r->columns; ++c) {
        float gRun = gStart;
        const float fromColumns = q.columnsReversed ? columnRepeats - hRun : hRun;
        for (int row = 0; row < r->rows; ++row) {
            const float fromRows = q.rowsReversed ? rowRepeats - gRun : gRun;
            PatchPoint& p = r->points[c][row];
            p.s = q.columnsDriveS ? fromColumns : fromRows;
            p.t = q.columnsDriveS ? fromRows : fromColumns;
            gRun += rowRepeats * rowSpacing[row] / rowTotal;
        }
        hRun += columnRepeats * columnSpacing[c] / columnTotal;
    }
    ti.sScale = 1.0f / a;
    ti.tScale = 1.0f / b;
    ti.rotation = q.angle;
    r->flags |= PatchFlags::NeedsUpdate;
}

void cMapPatch::applyFaceTexture(const FaceRecord* face) {
    if (!face) return;
    clampCounts();
    PatchRecord* r = record;
    int32_t w, h;
    textureSize(&w, &h);
    const TextureInfo& fti = face->texInfo;
    const float sScale = TexInfo_SafeScale(fti.sScale);
    const float tScale = TexInfo_SafeScale(fti.tScale);
    TexCoordRange range;
    for (int c = 0; c < r->columns; ++c) {
        for (int row = 0; row < r->rows; ++row) {
            PatchPoint& p = r->points[c][row];
            float sAxis[3], tAxis[3], origin[3];
            Math_WrapTextureAxes(face->normal, face->dist, fti.sAxis, fti.sShift, fti.tAxis, fti.tShift,
                                 fti.sScale, fti.tScale, p.normal, Vec_Dot(p.normal, p.xyz), sAxis, tAxis,
                                 origin);
            p.s = (Vec_Dot(sAxis, p.xyz) / sScale + Vec_Dot(sAxis, origin) / sScale) / float(w);
            p.t = (Vec_Dot(tAxis, p.xyz) / tScale + Vec_Dot(tAxis, origin) / tScale) / float(h);
            range.add(p.s, p.t);
        }
    }
    const float sWhole = range.wholeS();
    const float tWhole = range.wholeT();
    for (int c = 0; c < r->columns; ++c) {
        for (int row = 0; row < r->rows; ++row) {
            r->points[c][row].s -= sWhole;
            r->points[c][row].t -= tWhole;
        }
    }
    TextureInfo& ti = r->texInfo;
    ti.sShift = 0.0f;
    ti.tShift = 0.0f;
    ti.rotation = 0.0f;
    ti.sScale = sScale;
    ti.tScale = tScale;
    r->flags |= PatchFlags::NeedsUpdate;
}
