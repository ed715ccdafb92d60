// The brush primitives: block, wedge, cylinder, spike, sphere, rock and arch, each built in the
// world entity from the dragged box and recorded as one undo level.
#include "document/BrushPrimitives.h"

#include "document/Primitives.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "core/System.h"
#include "document/DocumentHost.h"
#include "document/GroupChain.h"
#include "document/MapWorld.h"
#include "kstdlib/kstdlib.h"
#include "map/MapBrush.h"
#include "map/MapFace.h"
#include "map/MapGroup.h"

namespace {

constexpr float kPi = 3.1415927f;
constexpr float kTwoPi = 6.2831855f;
constexpr int32_t kAllAxes = 0x7;
// A face holds at most this many points, so no shape takes a larger count.
constexpr int32_t kMaxCount = kFaceMaxVertices;

// Refresh bits the world entity passes on: planes and texture axes from the new points.
constexpr uint32_t kSolidUpdate = FaceUpdate::Plane | FaceUpdate::ResetAxes;

struct Point {
    float v[3];
};

// The box in the view's terms: H, V, D are world axes; the arrays are by world axis.
struct ViewBox {
    int H, V, D;
    float lo[3], hi[3], c[3], r[3];
};

ViewBox viewBox(const PrimitiveParams* p) {
    ViewBox b;
    b.H = p->axes[PrimitiveAxis::H];
    b.V = p->axes[PrimitiveAxis::V];
    b.D = p->axes[PrimitiveAxis::D];
    for (int a = 0; a < 3; ++a) {
        b.lo[a] = p->mins[a];
        b.hi[a] = p->maxs[a];
        b.c[a] = (b.lo[a] + b.hi[a]) / 2;
        b.r[a] = (b.hi[a] - b.lo[a]) / 2;
    }
    return b;
}

float roundHalfUp(float x) {
    return std::floor(x + 0.5f);
}

bool handed(const PrimitiveParams* p) {
    return p->flags & PrimitiveFlag::Handedness;
}

bool snapping(const PrimitiveParams* p) {
    return p->flags & PrimitiveFlag::SnapPoints;
}

// Below the shape's minimum nothing is made, silently; above what a face can hold, with a word.
bool countUsable(const PrimitiveParams* p, const char* function, int32_t minimum) {
    if (p->count < minimum) return false;
    if (p->count > kMaxCount) {
        Sys_Warning("%s: count %i is above %i", function, p->count, kMaxCount);
        return false;
    }
    return true;
}

// Points and faces (as point indices, counter-clockwise seen from outside) of a solid shape.
struct SolidShape {
    std::vector<Point> points;
    std::vector<int> indices;
    std::vector<int> faceSizes;

    Point& add() { return points.emplace_back(); }
    void face(std::initializer_list<int> order) { face(order.begin(), int(order.size())); }
    void face(const int* order, int n) {
        indices.insert(indices.end(), order, order + n);
        faceSizes.push_back(n);
    }
};

// A face of the brush with the parameter record's texture and the points in order.
FaceRecord* addFace(const PrimitiveParams* p, BrushRecord* brush, const Point* points, const int* order,
                    int n) {
    FaceRecord* face = Face_Create(p->map, brush, &p->texInfo, n);
    if (!face || !face->vertices || face->vertexCount != n) return face;
    for (int i = 0; i < n; ++i)
        std::memcpy(face->vertices[i].xyz, points[order[i]].v, sizeof(float[3]));
    return face;
}

// Snaps the points (rounding from firstRounded on when the flag asks), makes the brush with its
// faces and records it.
int32_t buildSolid(const PrimitiveParams* p, EntityRecord* world, SolidShape& shape, size_t firstRounded,
                   const char* undoName) {
    if (snapping(p)) {
        for (size_t i = firstRounded; i < shape.points.size(); ++i)
            for (float& x : shape.points[i].v)
                x = roundHalfUp(x);
    }
    for (Point& point : shape.points)
        Math_SnapVector(point.v);

    BrushRecord* brush = Brush_Create(p->map, world);
    if (!brush) return 0;
    const int* order = shape.indices.data();
    for (int n : shape.faceSizes) {
        addFace(p, brush, shape.points.data(), order, n);
        order += n;
    }
    Prim_Record(p->map, undoName, kSolidUpdate, &brush, 1, nullptr);
    return 1;
}

// The first steps every brush primitive shares: a world entity and a sound parameter record.
EntityRecord* prepare(const PrimitiveParams* p, const char* function, bool usesAxes) {
    if (!p) {
        Sys_Warning("%s: no parameters", function);
        return nullptr;
    }
    EntityRecord* world = Prim_WorldEntity(p->map);
    if (!world) return nullptr;
    return Prim_CheckParams(p, function, usesAxes, kAllAxes) ? world : nullptr;
}

// A point of the ellipse inscribed in the box's H/V rectangle, at depth d.
Point ellipsePoint(const ViewBox& b, float theta, float d) {
    float s, c;
    K_SinCosPrecise(theta, &s, &c);
    Point pt;
    pt.v[b.H] = c * b.r[b.H] + b.c[b.H];
    pt.v[b.V] = s * b.r[b.V] + b.c[b.V];
    pt.v[b.D] = d;
    return pt;
}

} // namespace

int32_t Prim_CreateBlock(PrimitiveParams* p) {
    EntityRecord* world = prepare(p, "Prim_CreateBlock", false);
    if (!world) return 0;
    const float* lo = p->mins;
    const float* hi = p->maxs;
    SolidShape s;
    const float corners[8][3] = {
        {lo[0], lo[1], lo[2]}, {lo[0], lo[1], hi[2]}, {lo[0], hi[1], lo[2]}, {lo[0], hi[1], hi[2]},
        {hi[0], hi[1], lo[2]}, {hi[0], hi[1], hi[2]}, {hi[0], lo[1], lo[2]}, {hi[0], lo[1], hi[2]},
    };
    for (const auto& corner : corners)
        std::memcpy(s.add().v, corner, sizeof corner);
    s.face({0, 1, 3, 2}); // -x
    s.face({2, 3, 5, 4}); // +y
    s.face({4, 5, 7, 6}); // +x
    s.face({6, 7, 1, 0}); // -y
    s.face({1, 7, 5, 3}); // +z
    s.face({0, 2, 4, 6}); // -z
    return buildSolid(p, world, s, 0, "Create Block");
}

int32_t Prim_CreateWedge(PrimitiveParams* p) {
    EntityRecord* world = prepare(p, "Prim_CreateWedge", true);
    if (!world) return 0;
    const ViewBox b = viewBox(p);
    SolidShape s;
    // (H, V) corner pairs of the right triangle, each at lo[D] then hi[D].
    const float hv[3][2] = {{b.lo[b.H], b.lo[b.V]}, {b.hi[b.H], b.hi[b.V]}, {b.hi[b.H], b.lo[b.V]}};
    for (const auto& corner : hv) {
        for (float d : {b.lo[b.D], b.hi[b.D]}) {
            Point& pt = s.add();
            pt.v[b.H] = corner[0];
            pt.v[b.V] = corner[1];
            pt.v[b.D] = d;
        }
    }
    if (handed(p)) {
        s.face({0, 1, 3, 2});
        s.face({2, 3, 5, 4});
        s.face({4, 5, 1, 0});
        s.face({0, 2, 4});
        s.face({1, 5, 3});
    } else {
        s.face({0, 2, 3, 1});
        s.face({2, 4, 5, 3});
        s.face({4, 0, 1, 5});
        s.face({0, 4, 2});
        s.face({1, 3, 5});
    }
    return buildSolid(p, world, s, 0, "Create Wedge");
}

int32_t Prim_CreateCylinder(PrimitiveParams* p) {
    EntityRecord* world = prepare(p, "Prim_CreateCylinder", true);
    if (!world || !countUsable(p, "Prim_CreateCylinder", 3)) return 0;
    const int n = p->count;
    const ViewBox b = viewBox(p);
    SolidShape s;
    for (int i = 0; i < n; ++i) {
        float theta = float(i) * kTwoPi / float(n);
        if (!handed(p)) theta = -theta;
        s.points.push_back(ellipsePoint(b, theta, b.hi[b.D]));
        s.points.push_back(ellipsePoint(b, theta, b.lo[b.D]));
    }
    std::vector<int> ring(n);
    for (int i = 0; i < n; ++i)
        ring[i] = 2 * i;
    s.face(ring.data(), n);
    for (int i = 0; i < n; ++i)
        ring[i] = 2 * (n - 1 - i) + 1;
    s.face(ring.data(), n);
    for (int i = 0; i < n; ++i) {
        const int j = (i + 1) % n;
        s.face({2 * i, 2 * i + 1, 2 * j + 1, 2 * j});
    }
    return buildSolid(p, world, s, 0, "Create Cylinder");
}

int32_t Prim_CreateSpike(PrimitiveParams* p) {
    EntityRecord* world = prepare(p, "Prim_CreateSpike", true);
    if (!world || !countUsable(p, "Prim_CreateSpike", 3)) return 0;
    const int n = p->count;
    const ViewBox b = viewBox(p);
    SolidShape s;
    for (int i = 0; i < n; ++i) {
        float theta = float(i) * kTwoPi / float(n);
        if (handed(p)) theta = -theta;
        s.points.push_back(ellipsePoint(b, theta, b.lo[b.D]));
    }
    Point& apex = s.add();
    apex.v[b.H] = b.c[b.H];
    apex.v[b.V] = b.c[b.V];
    apex.v[b.D] = b.hi[b.D];
    std::vector<int> base(n);
    for (int i = 0; i < n; ++i)
        base[i] = i;
    s.face(base.data(), n);
    for (int i = 0; i < n; ++i)
        s.face({(i + 1) % n, i, n});
    return buildSolid(p, world, s, 0, "Create Spike");
}

int32_t Prim_CreateSphere(PrimitiveParams* p) {
    EntityRecord* world = prepare(p, "Prim_CreateSphere", true);
    if (!world || !countUsable(p, "Prim_CreateSphere", 3)) return 0;
    const int n = p->count;
    const ViewBox b = viewBox(p);
    SolidShape s;
    s.points.resize(size_t(n) * (n - 1) + 2);
    for (int pole = 0; pole < 2; ++pole) {
        Point& pt = s.points[pole];
        std::memcpy(pt.v, b.c, sizeof pt.v);
        pt.v[b.D] = pole == 0 ? b.c[b.D] + b.r[b.D] : b.c[b.D] - b.r[b.D];
    }
    const float dPhi = kPi / float(n);
    const float dTheta = 2 * dPhi;
    float phi = 0.0f;
    for (int k = 0; k < n - 1; ++k) {
        phi += dPhi;
        float sinPhi, cosPhi;
        K_SinCosPrecise(phi, &sinPhi, &cosPhi);
        float theta = 0.0f;
        for (int j = 0; j < n; ++j, theta += dTheta) {
            float sinTheta, cosTheta;
            K_SinCosPrecise(theta, &sinTheta, &cosTheta);
            Point& pt = s.points[2 + k * n + j];
            pt.v[b.H] = cosTheta * b.r[b.H] * sinPhi + b.c[b.H];
            pt.v[b.V] = sinTheta * b.r[b.V] * sinPhi + b.c[b.V];
            pt.v[b.D] = cosPhi * b.r[b.D] + b.c[b.D];
        }
    }
    auto R = [n](int k, int j) { return 2 + k * n + j; };
    const int last = n - 2;
    const bool set = handed(p);
    for (int j = 0; j < n; ++j) {
        const int j1 = (j + 1) % n;
        if (set)
            s.face({0, R(0, j), R(0, j1)});
        else
            s.face({0, R(0, j1), R(0, j)});
    }
    for (int j = 0; j < n; ++j) {
        const int j1 = (j + 1) % n;
        if (set)
            s.face({1, R(last, j1), R(last, j)});
        else
            s.face({1, R(last, j), R(last, j1)});
    }
    for (int k = 0; k < n - 2; ++k) {
        for (int j = 0; j < n; ++j) {
            const int j1 = (j + 1) % n;
            if (set)
                s.face({R(k, j1), R(k, j), R(k + 1, j), R(k + 1, j1)});
            else
                s.face({R(k, j), R(k, j1), R(k + 1, j1), R(k + 1, j)});
        }
    }
    // The poles lie on the box and are not rounded.
    return buildSolid(p, world, s, 2, "Create Sphere");
}

int32_t Prim_CreateRock(PrimitiveParams* p) {
    EntityRecord* world = prepare(p, "Prim_CreateRock", true);
    if (!world || !countUsable(p, "Prim_CreateRock", 8)) return 0;
    const ViewBox b = viewBox(p);
    const int viewAxes[3] = {b.H, b.V, b.D};
    const float radius = std::max({b.r[b.H], b.r[b.V], b.r[b.D]});

    BrushRecord* brush = nullptr;
    bool accepted = false;
    for (int attempt = 0; attempt < 1000 && !accepted; ++attempt) {
        if (brush) Brush_Delete(p->map, brush);
        brush = Brush_Create(p->map, world);
        if (!brush) return 0;
        for (int i = 0; i < p->count; ++i) {
            const float a = K_RandomFloat(0.0f, kPi);
            const float bAngle = K_RandomFloat(-kPi, kPi);
            float sinA, cosA, sinB, cosB;
            K_SinCosPrecise(a, &sinA, &cosA);
            K_SinCosPrecise(bAngle, &sinB, &cosB);
            float dir[3];
            dir[b.H] = cosB * radius * sinA;
            dir[b.V] = sinB * radius * sinA;
            dir[b.D] = cosA * radius;
            FaceRecord* face = Face_Create(p->map, brush, &p->texInfo, 0);
            if (!face) continue;
            std::memcpy(face->normal, dir, sizeof dir);
            K_VectorNormalize(face->normal);
            face->dist = 0.0f;
            for (int k = 0; k < 3; ++k)
                face->dist += face->normal[k] * (b.c[k] + dir[k]);
            face->axialType = Face_AxialType(face->normal);
        }
        brush->handle->update(FaceUpdate::Polygon);
        // Planes that leave the solid open reach far beyond the box; planes that cut it away
        // entirely leave no extent at all.
        accepted = true;
        for (int k = 0; k < 3; ++k) {
            const float extent = brush->maxs[k] - brush->mins[k];
            if (!(extent > 0.0f) || extent > 4 * radius) accepted = false;
        }
    }
    if (!accepted) {
        Brush_Delete(p->map, brush);
        Sys_Error("failed to create rock primitive");
        return 0;
    }

    float centre[3];
    float scale[3];
    for (int k = 0; k < 3; ++k)
        centre[k] = (brush->mins[k] + brush->maxs[k]) / 2;
    for (int axis : viewAxes)
        scale[axis] = 2 * b.r[axis] / (brush->maxs[axis] - brush->mins[axis]);
    for (FaceRecord* face = brush->firstFace; face; face = face->next) {
        for (int i = 0; i < face->vertexCount; ++i) {
            float* v = face->vertices[i].xyz;
            for (int axis : viewAxes)
                v[axis] = (v[axis] - centre[axis]) * scale[axis] + b.c[axis];
        }
        face->flags |= FaceFlags::NeedsUpdate;
    }
    brush->flags |= BrushFlags::NeedsUpdate;
    brush->handle->update(kSolidUpdate);
    Prim_Record(p->map, "Create Rock", 0, &brush, 1, nullptr);
    return 1;
}

// ---- Arch -------------------------------------------------------------------------------------

namespace {

// The arch's answers checked and brought into shape. False (with a word) when nothing sensible
// can be built.
bool archUsable(ArchParameters& a, float radiusH, float radiusV, bool* reversed) {
    const float values[] = {a.wallWidth, a.arc, a.startAngle, a.addedHeight};
    for (float v : values) {
        if (!std::isfinite(v)) {
            Sys_Warning("Prim_CreateArch: invalid arch parameters");
            return false;
        }
    }
    if (a.sides < 1 || a.arc == 0.0f || !(a.wallWidth > 0.0f)) {
        Sys_Warning("Prim_CreateArch: no arch with %i sides, arc %g and wall width %g", a.sides, a.arc,
                    a.wallWidth);
        return false;
    }
    // A wall wider than the radius would turn the inner edge inside out: it ends at the centre.
    a.wallWidth = std::min(a.wallWidth, std::min(radiusH, radiusV));
    // An arc run backwards keeps its faces outward by swapping the segment's ends.
    *reversed = a.arc < 0.0f;
    return true;
}

struct ArchBuilder {
    const PrimitiveParams* p;
    ViewBox b;
    ArchParameters a;
    bool set; // handedness, after a backwards arc swapped it
    float rH, rV, height;
    float C[3];
    bool fit = false;
    float scaleH = 1, offsetH = 0, scaleV = 1, offsetV = 0;

    void ringPoint(float angle, float inset, float* out) const {
        float s, c;
        K_SinCosPrecise(angle, &s, &c);
        std::memcpy(out, C, sizeof C);
        out[b.H] += s * (rH - inset);
        out[b.V] += c * (rV - inset);
    }

    // The segment's eight points before the slope: bottom P0..P3, top P4..P7.
    void segment(float angle, float step, Point P[8]) const {
        const float w = a.wallWidth;
        const float first = set ? angle : angle + step;
        const float second = set ? angle + step : angle;
        ringPoint(first, w, P[0].v);
        ringPoint(second, w, P[1].v);
        ringPoint(first, 0, P[2].v);
        ringPoint(second, 0, P[3].v);
        for (int i = 0; i < 4; ++i) {
            float* v = P[i].v;
            if (fit) {
                v[b.H] = C[b.H] + (v[b.H] - C[b.H]) * scaleH + offsetH;
                v[b.V] = C[b.V] + (v[b.V] - C[b.V]) * scaleV + offsetV;
            }
            if (snapping(p)) {
                v[b.H] = roundHalfUp(v[b.H]);
                v[b.V] = roundHalfUp(v[b.V]);
            }
            P[i + 4] = P[i];
            P[i + 4].v[b.D] += height;
        }
        for (int i = 0; i < 8; ++i)
            Math_SnapVector(P[i].v);
    }
};

bool collapsed(const Point& p0, const Point& p1) {
    for (int k = 0; k < 3; ++k)
        if (std::fabs(p0.v[k] - p1.v[k]) >= 0.02f) return false;
    return true;
}

// Makes one segment brush from face point lists; keeps it when at least three faces survive.
BrushRecord* archBrush(const PrimitiveParams* p, EntityRecord* world, const Point* P,
                       std::initializer_list<std::initializer_list<int>> faces) {
    BrushRecord* brush = Brush_Create(p->map, world);
    if (!brush) return nullptr;
    for (const auto& order : faces) {
        FaceRecord* face = addFace(p, brush, P, order.begin(), int(order.size()));
        if (face) face->handle->computePlane();
    }
    cMapBrush* handle = brush->handle;
    if (handle->removeDuplicatePlanes() > 0) {
        for (FaceRecord* face = brush->firstFace; face; face = face->next) {
            face->handle->setVertexCount(0);
            face->flags |= FaceFlags::NeedsUpdate;
        }
        handle->update(FaceUpdate::Polygon);
        brush->flags |= BrushFlags::NeedsUpdate;
        for (FaceRecord* face = brush->firstFace; face; face = face->next)
            face->flags |= FaceFlags::NeedsUpdate;
    }
    int faceCount = 0;
    for (FaceRecord* face = brush->firstFace; face; face = face->next)
        ++faceCount;
    if (faceCount < 3) {
        Brush_Delete(p->map, brush);
        return nullptr;
    }
    return brush;
}

int32_t buildArch(const PrimitiveParams* p, EntityRecord* world, ArchParameters a) {
    ArchBuilder ab{};
    ab.p = p;
    ab.b = viewBox(p);
    const ViewBox& b = ab.b;
    ab.rH = b.r[b.H];
    ab.rV = b.r[b.V];
    if (!(p->flags & PrimitiveFlag::StretchArches)) ab.rH = ab.rV = std::min(ab.rH, ab.rV);
    bool reversed = false;
    if (!archUsable(a, ab.rH, ab.rV, &reversed)) return 0;
    ab.a = a;
    ab.set = handed(p) != reversed;
    ab.height = b.hi[b.D] - b.lo[b.D];
    ab.C[b.H] = b.c[b.H];
    ab.C[b.V] = b.c[b.V];
    ab.C[b.D] = b.lo[b.D];

    const float start = a.startAngle * kPi / 180.0f;
    const float step = (a.arc / float(a.sides)) * kPi / 180.0f;
    Point P[8];

    if (a.fitSelection) {
        float mins[3], maxs[3];
        K_ClearBounds(mins, maxs);
        float angle = start;
        for (int i = 0; i < a.sides; ++i, angle += step) {
            ab.segment(angle, step, P);
            for (const Point& pt : P)
                K_AddPointToBounds(pt.v, mins, maxs);
            ab.C[b.D] += a.addedHeight;
        }
        ab.scaleV = (b.hi[b.V] - b.lo[b.V]) / (maxs[b.V] - mins[b.V] + 0.0001f);
        ab.offsetV = ab.scaleV * (ab.C[b.V] - (mins[b.V] + maxs[b.V]) / 2);
        ab.scaleH = (b.hi[b.H] - b.lo[b.H]) / (maxs[b.H] - mins[b.H] + 0.0001f);
        ab.offsetH = ab.scaleH * (ab.C[b.H] - (mins[b.H] + maxs[b.H]) / 2);
        ab.fit = true;
        ab.C[b.D] = b.lo[b.D];
    }

    GroupRecord* group = a.groupParts ? Group_Create(p->map) : nullptr;
    const bool triangulate = a.triangulate || a.smoothSlope;
    std::vector<BrushRecord*> kept;
    float angle = start;
    for (int i = 0; i < a.sides; ++i, angle += step) {
        ab.segment(angle, step, P);
        const bool degenerate = collapsed(P[0], P[1]);
        if (a.smoothSlope) {
            const int D = b.D;
            if (ab.set) {
                for (int k : {1, 3, 5, 7})
                    P[k].v[D] += a.addedHeight;
                if (degenerate) {
                    P[0].v[D] = P[1].v[D];
                    P[4].v[D] = P[5].v[D];
                }
            } else {
                for (int k : {0, 2, 4, 6})
                    P[k].v[D] += a.addedHeight;
                if (degenerate) {
                    P[1].v[D] = P[0].v[D];
                    P[5].v[D] = P[4].v[D];
                }
            }
        }
        BrushRecord* made[2] = {nullptr, nullptr};
        if (!triangulate || degenerate) {
            if (degenerate)
                made[0] =
                    archBrush(p, world, P, {{0, 2, 3}, {5, 7, 6}, {2, 0, 4, 6}, {1, 3, 7, 5}, {3, 2, 6, 7}});
            else
                made[0] = archBrush(
                    p, world, P,
                    {{0, 2, 3, 1}, {5, 7, 6, 4}, {2, 0, 4, 6}, {1, 3, 7, 5}, {3, 2, 6, 7}, {0, 1, 5, 4}});
        } else {
            made[0] =
                archBrush(p, world, P, {{0, 2, 1}, {5, 6, 4}, {2, 0, 4, 6}, {0, 1, 5, 4}, {1, 2, 6, 5}});
            made[1] =
                archBrush(p, world, P, {{2, 3, 1}, {5, 7, 6}, {1, 3, 7, 5}, {3, 2, 6, 7}, {2, 1, 5, 6}});
        }
        for (BrushRecord* brush : made) {
            if (!brush) continue;
            if (group) Map_AddBrushToGroupChain(brush, group);
            kept.push_back(brush);
        }
        ab.C[b.D] += a.addedHeight;
    }

    if (kept.empty()) {
        // Nothing survived: the step would record an empty group and report success.
        if (group) Group_Delete(p->map, group);
        return 0;
    }
    Prim_Record(p->map, "Create Arch", FaceUpdate::ResetAxes, kept.data(), int32_t(kept.size()), group);
    return 1;
}

} // namespace

int32_t Prim_CreateArch(PrimitiveParams* p) {
    if (!p) {
        Sys_Warning("Prim_CreateArch: no parameters");
        return 0;
    }
    EntityRecord* world = Prim_WorldEntity(p->map);
    if (!world || !Prim_CheckParams(p, "Prim_CreateArch", true, kAllAxes)) return 0;
    ArchParameters a;
    if (!Document_Host().askArch(p, &a)) return 0;
    return buildArch(p, world, a);
}
