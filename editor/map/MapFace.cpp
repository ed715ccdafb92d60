// Face geometry: plane, polygon, bounds, planarity and vertex edits; the face API.
#include "map/MapFace.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "core/System.h"
#include "core/Winding.h"
#include "map/FaceOrder.h"
#include "map/FaceSource.h"
#include "map/MapBrush.h"
#include "core/Vector.h"
#include "map/WorldHooks.h"

namespace {

int32_t clampVertexCount(int32_t count) {
    if (count < 0) return 0;
    if (count > kFaceMaxVertices) {
        Sys_Warning("face has %d vertices; at most %d are kept, the polygon is rebuilt from its plane\n",
                    count, kFaceMaxVertices);
        return 0;
    }
    return count;
}

// How far past a face thinner than the clip tolerance its brush must reach without it for the
// face to stay.
constexpr float kThinFaceReach = 0.1f;

// Snapping to whole units leaves a whole coordinate as it is (every float from 2^23 up is whole;
// NaN is never moved by snapping either).
bool isWhole(float v) {
    return !(std::fabs(v) < 8388608.0f) || float(int32_t(v)) == v;
}

} // namespace

namespace {
// The light direction (1, 2, 3), normalised and halved.
constexpr float kShadeLight[3] = {0.13363062f, 0.26726124f, 0.40089184f};
} // namespace

float Face_ShadeForNormal(const float n[3]) {
    // Added left to right, each term onto the running sum.
    const float shade = 0.8f + kShadeLight[0] * n[0] + kShadeLight[1] * n[1] + kShadeLight[2] * n[2];
    return shade > 1.0f ? 1.0f : shade;
}

float Mesh_ShadeForNormal(const float n[3]) {
    // The dot product first, then the ambient part.
    const float shade = 0.8f + (kShadeLight[0] * n[0] + kShadeLight[1] * n[1] + kShadeLight[2] * n[2]);
    return shade > 1.0f ? 1.0f : shade;
}

int32_t Face_AxialType(const float n[3]) {
    for (int32_t axis = 0; axis < 3; ++axis)
        if (std::fabs(n[axis]) == 1.0f) return axis;
    return 3;
}

cMapFace::cMapFace(int32_t vertexCount)
    : cMapDrawable(MapObjectKind::Face, sizeof(FaceRecord)),
      record(static_cast<FaceRecord*>(cMapObject::record())) {
    record->vertexCount = clampVertexCount(vertexCount);
    record->vertices = allocVertices(record->vertexCount);
    updatePrimitive();
}

cMapFace::~cMapFace() {
    releaseTexture();
    Sys_Free(record->source);
    record->source = nullptr;
    releaseVertices(record->vertices);
    record->vertices = nullptr;
    record->vertexCount = 0;
}

FaceVertex* cMapFace::allocVertices(int32_t count) {
    if (count <= 0) return nullptr;
    if (count <= kInlineVertices) {
        std::memset(m_inlineVertices, 0, sizeof(FaceVertex) * size_t(count));
        return m_inlineVertices;
    }
    return static_cast<FaceVertex*>(std::calloc(size_t(count), sizeof(FaceVertex)));
}

void cMapFace::releaseVertices(FaceVertex* vertices) {
    if (vertices != m_inlineVertices) std::free(vertices);
}

uint64_t cMapFace::separateVertexBytes() const {
    const FaceRecord* f = record;
    return f->vertices && f->vertices != m_inlineVertices ? sizeof(FaceVertex) * uint64_t(f->vertexCount) : 0;
}

void cMapFace::updatePrimitive() {
    const int32_t n = record->vertexCount;
    glPrimitive = n == 3 ? FacePrimitive::Triangles : n == 4 ? FacePrimitive::Quads : FacePrimitive::Polygon;
}

bool cMapFace::setVertexCount(int32_t count) {
    if (count < 0 || count > kFaceMaxVertices) {
        Sys_Warning("face cannot hold %d vertices (at most %d)\n", count, kFaceMaxVertices);
        return false;
    }
    if (count == record->vertexCount) {
        if (count) std::memset(record->vertices, 0, sizeof(FaceVertex) * size_t(count));
        return true;
    }
    releaseVertices(record->vertices);
    record->vertices = allocVertices(count);
    record->vertexCount = count;
    return true;
}

bool cMapFace::update(uint32_t flags) {
    FaceRecord* f = record;
    if (f->flags & FaceFlags::ResetAxes) {
        f->flags &= ~FaceFlags::ResetAxes;
        flags |= FaceUpdate::ResetAxes;
    }
    // A face without a polygon (made with no vertices and a plane written in) can only get one
    // from the brush's planes.
    if (f->vertexCount < 3) flags |= FaceUpdate::Polygon;

    if (flags & FaceUpdate::Plane) computePlane();
    if (flags & FaceUpdate::Polygon) {
        if (!rebuildPolygon()) return false;
    }
    if (flags & FaceUpdate::ResetAxes) resetTextureAxes();
    if (flags & FaceUpdate::PowerOfTwo) rescaleToPowerOfTwo();

    // A rebuilt polygon has fresh vertices without coordinates: solving from them would throw
    // the mapping away, so the mapping gives the coordinates then, with or without UV lock.
    refresh(flags & (FaceUpdate::ResetAxes | FaceUpdate::TexCoords | FaceUpdate::Polygon));
    return true;
}

void cMapFace::refresh(bool fromMapping) {
    computeBounds();
    shade = Face_ShadeForNormal(record->normal);
    detectTextureAlignment();
    if (fromMapping || !Sys_Settings().TextureLockUV)
        computeTexCoords();
    else
        solveTextureFromTexCoords();
    updatePrimitive();
    record->flags &= ~FaceFlags::NeedsUpdate;
}

void cMapFace::computePlane() {
    FaceRecord* f = record;
    const int32_t n = f->vertexCount;
    // Too few vertices to define a plane: keep the one that was set directly.
    if (n < 3 || !f->vertices) return;

    const FaceVertex* v = f->vertices;
    float normal[3] = {0, 0, 0};
    int32_t base = 0;
    for (int32_t i = 1; i < n; ++i) {
        base = n - i - 1;
        float e1[3], e2[3];
        Vec_Sub(v[n - i].xyz, v[base].xyz, e1);
        if (Vec_Normalize(e1) <= 0.001f) continue;
        Vec_Sub(v[n - 1 - ((i + 1) % n)].xyz, v[base].xyz, e2);
        if (Vec_Normalize(e2) <= 0.001f) continue;
        Vec_Cross(e1, e2, normal);
        if (Vec_Normalize(normal) > 0.001f) break;
        Vec_Set(normal, 0, 0, 0);
    }
    // A collapsed polygon has no plane of its own: it keeps the last one.
    if (normal[0] == 0.0f && normal[1] == 0.0f && normal[2] == 0.0f) return;
    Vec_Copy(normal, f->normal);
    f->dist = Vec_Dot(normal, v[base].xyz);
    f->axialType = Face_AxialType(f->normal);
}

bool cMapFace::rebuildPolygon() {
    FaceRecord* f = record;
    FaceRecord* first = f->brush ? f->brush->firstFace : nullptr;
    // A later face on the same plane is the one that stays.
    bool before = true;
    for (FaceRecord* g = first; g; g = g->next) {
        if (g == f) {
            before = false;
            continue;
        }
        if (!before && Vec_Dot(g->normal, f->normal) > 0.9999f && std::fabs(f->dist - g->dist) < 0.001f) {
            vanish();
            return false;
        }
    }

    // The other planes, faces on this plane left out.
    auto onPlane = [f](const FaceRecord* g) {
        return Vec_Dot(g->normal, f->normal) > 0.9999f && std::fabs(f->dist - g->dist) < 0.001f;
    };
    // The plane (moved out by reach) cut by the back of every other plane.
    auto cut = [&](bool fine, float reach) {
        cWindingDouble* w = cWinding::AllocDouble();
        cWinding::InitFromPlane(w, f->normal, f->dist + reach);
        for (const FaceRecord* g = first; g && w; g = g->next) {
            if (g == f || onPlane(g)) continue;
            const float back[3] = {-g->normal[0], -g->normal[1], -g->normal[2]};
            w = fine ? cWinding::ClipFine(w, back, -g->dist) : cWinding::Clip(w, back, -g->dist);
        }
        if (w && w->count < 3) {
            cWinding::FreeDouble(w);
            w = nullptr;
        }
        return w;
    };
    // A face thinner than the clip tolerance may still bound the brush: between two planes that
    // nearly meet, dropping it would let the brush run on far past it (or open it). Such a face
    // keeps its thin polygon. A plane that cuts nothing off, or only a sliver below the reach
    // (a corner of planes that nearly meet in a point), goes as before.
    cWindingDouble* w = cut(false, 0.0f);
    if (!w) {
        w = cut(true, 0.0f);
        if (w) {
            cWindingDouble* past = cut(true, kThinFaceReach);
            if (past)
                cWinding::FreeDouble(past);
            else {
                cWinding::FreeDouble(w);
                w = nullptr;
            }
        }
    }
    if (!w) {
        vanish();
        return false;
    }

    setVertexCount(w->count); // the winding never holds more than kFaceMaxVertices
    for (int32_t i = 0; i < w->count; ++i) {
        float* p = f->vertices[i].xyz;
        p[0] = float(w->points[i][0]);
        p[1] = float(w->points[i][1]);
        p[2] = float(w->points[i][2]);
        // Corners of grid-aligned brushes mostly come out whole and need no snapping.
        if (!isWhole(p[0]) || !isWhole(p[1]) || !isWhole(p[2])) Math_SnapVector(p);
    }
    cWinding::FreeDouble(w);
    return true;
}

void cMapFace::copySource(const FaceRecord* other) {
    Sys_Free(record->source);
    record->source = nullptr;
    if (!other || !other->source) return;
    record->source = static_cast<FaceSource*>(Sys_Alloc(sizeof(FaceSource)));
    std::memcpy(record->source, other->source, sizeof(FaceSource));
}

void cMapFace::vanish() {
    FaceRecord* f = record;
    BrushRecord* brush = f->brush;
    if (!brush || !f->source || !(f->source->flags & FaceSourceFlags::Points)) {
        removeSelf();
        return;
    }
    const MapHandle map = World_OfFace(f);
    World_Deselect(map, f);
    Map_UnlinkFace(map, f, brush);
    f->flags &= ~(FaceFlags::Selected | FaceFlags::NeedsUpdate);
    setVertexCount(0);
    updatePrimitive();
    f->prev = nullptr;
    f->next = nullptr;
    FaceRecord** tail = &brush->keptFaces;
    while (*tail)
        tail = &(*tail)->next;
    *tail = f;
}

void cMapFace::removeSelf() {
    FaceRecord* f = record;
    const MapHandle map = World_OfFace(f);
    World_Deselect(map, f);
    Map_UnlinkFace(map, f, f->brush);
    delete this;
}

void cMapFace::computeBounds() {
    FaceRecord* f = record;
    Vec_Set(f->mins, 999999.0f, 999999.0f, 999999.0f);
    Vec_Set(f->maxs, -999999.0f, -999999.0f, -999999.0f);
    float sum[3] = {0, 0, 0};
    for (int32_t i = 0; i < f->vertexCount; ++i) {
        const float* p = f->vertices[i].xyz;
        for (int32_t a = 0; a < 3; ++a) {
            if (p[a] < f->mins[a]) f->mins[a] = p[a];
            if (p[a] > f->maxs[a]) f->maxs[a] = p[a];
            sum[a] += p[a];
        }
    }
    if (f->vertexCount > 0) {
        const float inv = 1.0f / float(f->vertexCount);
        Vec_Set(centre, sum[0] * inv, sum[1] * inv, sum[2] * inv);
    }
}

bool cMapFace::isPlanar(const char** message) const {
    const FaceRecord* f = record;
    const int32_t n = f->vertexCount;
    if (n <= 3) return true;
    const FaceVertex* v = f->vertices;
    bool haveReference = false;
    float reference[3] = {0, 0, 0};
    for (int32_t k = 2; k < n; ++k) {
        float a[3], b[3];
        Vec_Sub(v[k - 1].xyz, v[0].xyz, a);
        Vec_Sub(v[k].xyz, v[0].xyz, b);
        if (Vec_Dot(a, a) < 0.001f || Vec_Dot(b, b) < 0.001f) continue;
        Vec_Normalize(a);
        Vec_Normalize(b);
        if (Vec_Dot(a, b) > 0.9995f) continue;
        float c[3];
        Vec_Cross(a, b, c);
        Vec_Normalize(c);
        if (!haveReference) {
            Vec_Copy(c, reference);
            haveReference = true;
        } else if (Vec_Dot(c, reference) < 0.9995f) {
            if (message) *message = "face is not planar";
            return false;
        }
    }
    return true;
}

bool cMapFace::insertVertex(int32_t index, const float point[3]) {
    FaceRecord* f = record;
    const int32_t n = f->vertexCount;
    if (n + 1 > kFaceMaxVertices) {
        Sys_Warning("cannot insert a vertex: the face already has %d vertices (at most %d)\n", n,
                    kFaceMaxVertices);
        return false;
    }
    if (index < -1 || index >= n) return false;
    // Built aside first: the old and the new array may both be the handle's own.
    FaceVertex out[kFaceMaxVertices] = {};
    int32_t o = 0;
    if (index == -1) {
        Vec_Copy(point, out[o].xyz);
        out[o++].flags = FaceVertexFlags::Inserted;
    }
    for (int32_t i = 0; i < n; ++i) {
        Vec_Copy(f->vertices[i].xyz, out[o].xyz);
        out[o++].flags = f->vertices[i].flags;
        if (i == index) {
            Vec_Copy(point, out[o].xyz);
            out[o++].flags = FaceVertexFlags::Inserted;
        }
    }
    releaseVertices(f->vertices);
    f->vertices = allocVertices(n + 1);
    std::memcpy(f->vertices, out, sizeof(FaceVertex) * size_t(n + 1));
    f->vertexCount = n + 1;
    updatePrimitive();
    f->flags |= FaceFlags::NeedsUpdate;
    return true;
}

void cMapFace::reverseVertices() {
    FaceRecord* f = record;
    for (int32_t i = 0, j = f->vertexCount - 1; i < j; ++i, --j) {
        const FaceVertex t = f->vertices[i];
        f->vertices[i] = f->vertices[j];
        f->vertices[j] = t;
    }
}

// ---- API ------------------------------------------------------------------------------------

void Map_UnlinkFace(MapHandle map, FaceRecord* face, BrushRecord* brush) {
    if (!face) return;
    World_FreeId(map, face->handle);
    if (brush) List_Remove(brush->firstFace, &brush->lastFace, face);
}

FaceRecord* Face_Alloc(int32_t vertexCount) {
    cMapFace* handle = new cMapFace(vertexCount);
    handle->record->flags |= FaceFlags::NeedsUpdate;
    return handle->record;
}

FaceRecord* Face_Create(MapHandle map, BrushRecord* brush, const TextureInfo* info, int32_t vertexCount) {
    FaceRecord* face = Face_Alloc(vertexCount);
    face->brush = brush;
    if (brush) face->fileOrder = Brush_NextFileOrder(brush);
    if (World_Hooks(map)) {
        World_Link(map, face, brush);
        face->serial = World_NextSerial(map, SerialKind::Face);
    } else if (brush) {
        List_Append(brush->firstFace, brush->lastFace, face);
    }
    if (info) face->handle->setTextureInfo(info);
    return face;
}

void Face_Delete(MapHandle map, FaceRecord* face) {
    if (!face) return;
    World_Deselect(map, face);
    Map_UnlinkFace(map, face, face->brush);
    delete face->handle;
}
