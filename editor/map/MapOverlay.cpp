#include "map/MapOverlay.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/SysHost.h"
#include "core/System.h"
#include "gamedata/GameConfig.h"
#include "gamedata/TextureManager.h"
#include "kstdlib/kmath.h"
#include "map/Decal.h"
#include "map/MapBrush.h"
#include "map/MapFace.h"
#include "core/Vector.h"
#include "map/ObjectRecords.h"
#include "map/TextureBinding.h"
#include "map/WorldHooks.h"

namespace {

// Texture coordinates of corners 0..3 before any rotation or shift.
constexpr float kUnitCorners[kOverlayCorners][2] = {{1, 0}, {0, 0}, {0, 1}, {1, 1}};

float worldSize() {
    return float(Sys_MaxWorldSize());
}

// The face chosen for placement: its plane, its texture axes and the foot of the point on it.
struct PlacementHit {
    float normal[3] = {0, 0, 1};
    float sAxis[3] = {1, 0, 0};
    float tAxis[3] = {0, 1, 0};
    float foot[3] = {0, 0, 0};
};

} // namespace

cMapOverlay::cMapOverlay()
    : cMapDrawable(MapObjectKind::Overlay, sizeof(OverlayRecord)),
      record(static_cast<OverlayRecord*>(cMapObject::record())), centre{0, 0, 0}, shade(1.0f) {}

cMapOverlay::~cMapOverlay() {
    releaseTexture();
}

void cMapOverlay::setTextureInfo(const TextureInfo* block) {
    Texture_BindInfo(&record->texture, &record->texInfo, &record->flags, block);
}

void cMapOverlay::setTexture(const char* name) {
    Texture_BindName(&record->texture, &record->texInfo, &record->flags, name);
}

void cMapOverlay::releaseTexture() {
    Texture_Release(&record->texture);
}

void cMapOverlay::textureSize(int32_t* width, int32_t* height) const {
    const ShaderRecord* tex = record->texture;
    *width = TexInfo_SafeSize(tex ? tex->width : 0);
    *height = TexInfo_SafeSize(tex ? tex->height : 0);
}

bool cMapOverlay::placeOnFace(const float point[3], const float towards[3]) {
    OverlayRecord* r = record;
    std::memset(r->corners, 0, sizeof(r->corners));
    float dir[3];
    Vec_Sub(towards, point, dir);
    K_VectorNormalizeFast(dir);

    const GameConfig* config = GameCfg_Current();
    const float g = config ? config->DefaultTextureScale : 1.0f;
    int32_t w, h;
    textureSize(&w, &h);
    const float hw = float(w) * g * 0.5f;
    const float hh = float(h) * g * 0.5f;
    const float half = std::max(hw, hh);
    float boxMins[3], boxMaxs[3];
    for (int i = 0; i < 3; ++i) {
        boxMins[i] = point[i] - half;
        boxMaxs[i] = point[i] + half;
    }

    PlacementHit hit;
    Vec_Copy(point, hit.foot);
    bool found = false;
    float best = worldSize();
    constexpr float kTolerance = 0.001f;
    if (EntityRecord* entities = World_Entities(World_OfBrush(r->brush))) {
        for (EntityRecord* e = entities; e; e = e->next) {
            for (BrushRecord* b = e->firstBrush; b; b = b->next) {
                if (b->kind != BrushKind::Solid) continue;
                if (!Decal_BoxesOverlap(b->mins, b->maxs, boxMins, boxMaxs, kTolerance)) continue;
                for (FaceRecord* face = b->firstFace; face; face = face->next) {
                    if (!Decal_BoxesOverlap(face->mins, face->maxs, boxMins, boxMaxs, kTolerance)) continue;
                    if (!Decal_FaceAccepts(face) || Vec_Dot(face->normal, dir) < 0.0f) continue;
                    const float d = Vec_Dot(face->normal, point) - face->dist;
                    if (!(d > -0.5f && d <= 0.5f && d < best)) continue;
                    best = d;
                    found = true;
                    Vec_Copy(face->normal, hit.normal);
                    Vec_Copy(face->texInfo.sAxis, hit.sAxis);
                    Vec_Copy(face->texInfo.tAxis, hit.tAxis);
                    for (int i = 0; i < 3; ++i)
                        hit.foot[i] = point[i] - face->normal[i] * d;
                }
            }
        }
    }
    if (!found) {
        Sys_Warning("overlay didn't hit a valid face!");
        hit = PlacementHit{};
        Vec_Copy(point, hit.foot);
    }

    float st[3];
    Vec_Cross(hit.sAxis, hit.tAxis, st);
    if (Vec_Dot(st, hit.normal) < 0.0f)
        for (float& v : hit.sAxis)
            v = -v;
    Vec_Copy(hit.normal, r->normal);
    r->dist = Vec_Dot(hit.normal, hit.foot);
    r->planeType = Face_AxialType(hit.normal);

    float up[3];
    Vec_Cross(hit.normal, hit.sAxis, up);
    // Corner signs along S and U, going round the quad.
    constexpr float kSigns[kOverlayCorners][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (int c = 0; c < kOverlayCorners; ++c) {
        OverlayCorner& corner = r->corners[c];
        for (int i = 0; i < 3; ++i)
            corner.xyz[i] = hit.foot[i] + hit.sAxis[i] * hw * kSigns[c][0] + up[i] * hh * kSigns[c][1];
        corner.s = kUnitCorners[c][0];
        corner.t = kUnitCorners[c][1];
    }
    TextureInfo& ti = r->texInfo;
    ti.sShift = 0.0f;
    ti.tShift = 0.0f;
    ti.rotation = 0.0f;
    ti.sScale = 1.0f;
    ti.tScale = 1.0f;
    r->flags |= OverlayFlags::NeedsUpdate;
    return found;
}

void cMapOverlay::computePlane() {
    OverlayRecord* r = record;
    Vec_Set(r->normal, 0, 0, 0);
    r->dist = 0.0f;
    // Middle corner, then the corners its two edges run to.
    constexpr int kTriples[3][3] = {{2, 3, 1}, {1, 2, 0}, {0, 1, 3}};
    int middle = -1;
    for (const auto& tri : kTriples) {
        float e1[3], e2[3];
        Vec_Sub(r->corners[tri[1]].xyz, r->corners[tri[0]].xyz, e1);
        Vec_Sub(r->corners[tri[2]].xyz, r->corners[tri[0]].xyz, e2);
        if (Vec_Normalize(e1) <= 0.001f || Vec_Normalize(e2) <= 0.001f) continue;
        float n[3];
        Vec_Cross(e1, e2, n);
        const float length = Vec_Normalize(n);
        Vec_Copy(n, r->normal);
        middle = tri[0];
        if (length > 0.001f) break;
    }
    if (middle >= 0) r->dist = Vec_Dot(r->normal, r->corners[middle].xyz);
    r->planeType = Face_AxialType(r->normal);
}

void cMapOverlay::update(uint32_t flags) {
    OverlayRecord* r = record;
    K_ClearBounds(r->mins, r->maxs);
    for (const OverlayCorner& c : r->corners)
        K_AddPointToBounds(c.xyz, r->mins, r->maxs);
    if (flags & (OverlayUpdate::Plane | OverlayUpdate::Geometry)) computePlane();
    shade = Mesh_ShadeForNormal(r->normal);
    float sum[3] = {0, 0, 0};
    for (const OverlayCorner& c : r->corners)
        for (int i = 0; i < 3; ++i)
            sum[i] += c.xyz[i];
    for (int i = 0; i < 3; ++i)
        centre[i] = sum[i] / float(kOverlayCorners);
    r->flags &= ~OverlayFlags::NeedsUpdate;
}

void cMapOverlay::setTextureRotation(float degrees) {
    if (!std::isfinite(degrees)) return;
    OverlayRecord* r = record;
    TextureInfo& ti = r->texInfo;
    if (degrees != 0.0f) {
        const float current = std::isfinite(ti.rotation) ? ti.rotation : 0.0f;
        float sn, cs;
        K_SinCosPrecise((degrees - current) * 3.1415927f / 180.0f, &sn, &cs);
        for (OverlayCorner& c : r->corners) {
            const float ds = c.s - 0.5f, dt = c.t - 0.5f;
            c.s = cs * ds - sn * dt + 0.5f;
            c.t = sn * ds + cs * dt + 0.5f;
        }
        ti.rotation = degrees;
        return;
    }
    int32_t w, h;
    textureSize(&w, &h);
    const float sScale = TexInfo_SafeScale(ti.sScale);
    const float tScale = TexInfo_SafeScale(ti.tScale);
    for (int i = 0; i < kOverlayCorners; ++i) {
        OverlayCorner& c = r->corners[i];
        c.s = (ti.sShift / (float(w) * sScale) + kUnitCorners[i][0]) / sScale;
        c.t = (ti.tShift / (float(h) * tScale) + kUnitCorners[i][1]) / tScale;
    }
    ti.rotation = 0.0f;
}

void cMapOverlay::applyFaceTexture(const FaceRecord* face) {
    if (!face) return;
    OverlayRecord* r = record;
    const TextureInfo& fti = face->texInfo;
    float sAxis[3], tAxis[3], origin[3];
    Math_WrapTextureAxes(face->normal, face->dist, fti.sAxis, fti.sShift, fti.tAxis, fti.tShift, fti.sScale,
                         fti.tScale, r->normal, r->dist, sAxis, tAxis, origin);
    const float sScale = TexInfo_SafeScale(fti.sScale);
    const float tScale = TexInfo_SafeScale(fti.tScale);
    int32_t w, h;
    textureSize(&w, &h);
    TexCoordRange range;
    for (OverlayCorner& c : r->corners) {
        c.s = (Vec_Dot(sAxis, c.xyz) / sScale + Vec_Dot(sAxis, origin) / sScale) / float(w);
        c.t = (Vec_Dot(tAxis, c.xyz) / tScale + Vec_Dot(tAxis, origin) / tScale) / float(h);
        range.add(c.s, c.t);
    }
    const float sWhole = range.wholeS();
    const float tWhole = range.wholeT();
    for (OverlayCorner& c : r->corners) {
        c.s -= sWhole;
        c.t -= tWhole;
    }
    r->flags |= OverlayFlags::NeedsUpdate;
}

void cMapOverlay::flipCorners() {
    std::swap(record->corners[1], record->corners[3]);
}

// ---- Plugin-facing functions ---------------------------------------------------------------

OverlayRecord* Overlay_Alloc() {
    cMapOverlay* overlay = new cMapOverlay();
    overlay->record->flags |= OverlayFlags::NeedsUpdate;
    return overlay->record;
}

OverlayRecord* Overlay_Create(BrushRecord* brush, const TextureInfo* texInfo) {
    // Without a brush nothing would own the overlay.
    if (!brush) return nullptr;
    OverlayRecord* rec = Overlay_Alloc();
    rec->brush = brush;
    rec->handle->setTextureInfo(texInfo);
    brush->overlay = rec;
    brush->kind = BrushKind::Overlay;
    return rec;
}

void Overlay_Delete(OverlayRecord* overlay) {
    if (!overlay) return;
    if (BrushRecord* brush = overlay->brush) {
        brush->overlay = nullptr;
        brush->kind = BrushKind::Solid;
    }
    delete overlay->handle;
}
