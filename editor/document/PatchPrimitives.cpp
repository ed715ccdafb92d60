// The curve primitives: one Bezier patch on a new brush of the world entity, shaped from the
// dragged box, and the flat plane whose size the new-patch dialog asks.
#include "document/PatchPrimitives.h"

#include "document/Primitives.h"

#include <cmath>
#include <cstring>
#include <functional>

#include "core/System.h"
#include "document/DocumentHost.h"
#include "document/MapWorld.h"
#include "kstdlib/kstdlib.h"
#include "map/MapBrush.h"
#include "map/MapPatch.h"

namespace {

constexpr float kPi = 3.1415927f;
constexpr int32_t kAllViewAxes = 0x7;

// The snapped box in the view's terms: H, V, D are world axes; the arrays are by world axis.
struct CurveBox {
    int H, V, D;
    float lo[3], hi[3], c[3];
};

// Rounds the box corners when the flag asks, then pulls near-whole coordinates onto them.
CurveBox curveBox(const PrimitiveParams* p) {
    CurveBox b;
    b.H = p->axes[PrimitiveAxis::H];
    b.V = p->axes[PrimitiveAxis::V];
    b.D = p->axes[PrimitiveAxis::D];
    std::memcpy(b.lo, p->mins, sizeof b.lo);
    std::memcpy(b.hi, p->maxs, sizeof b.hi);
    if (p->flags & PrimitiveFlag::SnapPoints) {
        for (int a = 0; a < 3; ++a) {
            b.lo[a] = std::floor(b.lo[a] + 0.5f);
            b.hi[a] = std::floor(b.hi[a] + 0.5f);
        }
    }
    Math_SnapVector(b.lo);
    Math_SnapVector(b.hi);
    for (int a = 0; a < 3; ++a)
        b.c[a] = (b.lo[a] + b.hi[a]) / 2;
    return b;
}

bool handed(const PrimitiveParams* p) {
    return p->flags & PrimitiveFlag::Handedness;
}

// Shapes list their columns for the handedness bit set; with it clear they run backwards so the
// surface keeps facing outward.
int column(const PatchRecord* patch, int i, bool set) {
    return set ? i : patch->columns - 1 - i;
}

float* at(PatchRecord* patch, int col, int row) {
    return patch->points[col][row].xyz;
}

void setPoint(float* v, const CurveBox& b, float h, float vv, float d) {
    v[b.H] = h;
    v[b.V] = vv;
    v[b.D] = d;
}

void naturalize(PatchRecord* patch) {
    patch->handle->naturalizeTexture();
}

using PatchShaper = std::function<PatchRecord*(const PrimitiveParams*, BrushRecord*, const CurveBox&)>;

// The common sequence: world entity, sound parameters, the brush, the shaped patch on it, and
// the record of one undo level.
int32_t buildCurve(PrimitiveParams* p, const char* function, const char* undoName, const PatchShaper& shape) {
    if (!p) {
        Sys_Warning("%s: no parameters", function);
        return 0;
    }
    EntityRecord* world = Prim_WorldEntity(p->map);
    if (!world || !Prim_CheckParams(p, function, true, kAllViewAxes)) return 0;
    const CurveBox box = curveBox(p);
    BrushRecord* brush = Brush_Create(p->map, world);
    if (!brush) return 0;
    if (!shape(p, brush, box)) {
        Brush_Delete(p->map, brush);
        return 0;
    }
    Prim_Record(p->map, undoName, BrushUpdate::TessellatePatch, &brush, 1, nullptr);
    return 1;
}

// ---- Tubes grown from the 9 × 3 cylinder ----

PatchRecord* cylinder3(const PrimitiveParams* p, BrushRecord* brush, const CurveBox&) {
    PatchRecord* patch = Prim_BuildCylinderPatch(p, brush, nullptr, nullptr);
    if (patch) naturalize(patch);
    return patch;
}

PatchRecord* cylinder7(const PrimitiveParams* p, BrushRecord* brush, const CurveBox&) {
    PatchRecord* patch = Prim_BuildCylinderPatch(p, brush, nullptr, nullptr);
    if (!patch) return nullptr;
    patch->handle->addLines(true, true);
    patch->handle->addLines(true, false);
    naturalize(patch);
    return patch;
}

PatchRecord* cylinder11(const PrimitiveParams* p, BrushRecord* brush, const CurveBox&) {
    PatchRecord* patch = Prim_BuildCylinderPatch(p, brush, nullptr, nullptr);
    if (!patch) return nullptr;
    for (int i = 0; i < 4; ++i)
        patch->handle->addLines(true, i % 2 == 0);
    patch->handle->redisperse(true);
    naturalize(patch);
    return patch;
}

PatchRecord* curveBlock(const PrimitiveParams* p, BrushRecord* brush, const CurveBox&) {
    PatchRecord* patch = Prim_BuildCylinderPatch(p, brush, nullptr, nullptr);
    if (!patch) return nullptr;
    // One column along: the corners land on the curve and the side midpoints become the
    // control points, so the four sides are flat.
    for (int c = 0; c < 8; ++c)
        for (int row = 0; row < patch->rows; ++row)
            std::memcpy(at(patch, c, row), at(patch, c + 1, row), sizeof(float[3]));
    for (int row = 0; row < patch->rows; ++row)
        std::memcpy(at(patch, 8, row), at(patch, 0, row), sizeof(float[3]));
    naturalize(patch);
    return patch;
}

PatchRecord* curveCone(const PrimitiveParams* p, BrushRecord* brush, const CurveBox& b) {
    PatchRecord* patch = Prim_BuildCylinderPatch(p, brush, nullptr, nullptr);
    if (!patch) return nullptr;
    naturalize(patch);
    for (int c = 0; c < patch->columns; ++c)
        setPoint(at(patch, c, 2), b, b.c[b.H], b.c[b.V], b.hi[b.D]);
    return patch;
}

PatchRecord* curveSphere(const PrimitiveParams* p, BrushRecord* brush, const CurveBox& b) {
    PatchRecord* patch = Prim_BuildCylinderPatch(p, brush, nullptr, nullptr);
    if (!patch) return nullptr;
    patch->handle->addLines(true, true);
    patch->handle->redisperse(true);
    naturalize(patch);
    for (int c = 0; c < patch->columns; ++c) {
        setPoint(at(patch, c, 0), b, b.c[b.H], b.c[b.V], b.lo[b.D]);
        at(patch, c, 1)[b.D] = at(patch, c, 0)[b.D];
        at(patch, c, 3)[b.D] = at(patch, c, 4)[b.D];
        setPoint(at(patch, c, 4), b, b.c[b.H], b.c[b.V], b.hi[b.D]);
    }
    return patch;
}

// ---- Exact rings: every three-column piece tangent to the ellipse at its ends ----

// lo × (0.5 − half) + hi × (0.5 + half): half = ±0.5 gives the box sides, 0 its middle.
float lerpBox(float lo, float hi, float half) {
    return lo * (0.5f - half) + hi * (0.5f + half);
}

PatchRecord* exactRing(const PrimitiveParams* p, BrushRecord* brush, const CurveBox& b, bool cone) {
    PatchRecord* patch = Patch_Create(brush, &p->texInfo, 13, 3);
    if (!patch) return nullptr;
    const int n = patch->columns;
    const float step = kPi / float((n - 1) / 2);
    const float k = 1.0f / std::cos(step);
    float theta = 0.0f;
    for (int i = 0; i < n; ++i, theta += step) {
        const float f = (i & 1) ? k : 1.0f;
        float s, c;
        K_SinCosPrecise(theta, &s, &c);
        for (int r = 0; r < 3; ++r) {
            const float g = cone ? f * (1.0f - float(r) / 2.0f) : f;
            setPoint(at(patch, column(patch, i, handed(p)), r), b,
                     lerpBox(b.lo[b.H], b.hi[b.H], 0.5f * g * c), lerpBox(b.lo[b.V], b.hi[b.V], 0.5f * g * s),
                     b.lo[b.D] + float(r) * (b.hi[b.D] - b.lo[b.D]) / 2.0f);
        }
    }
    naturalize(patch);
    return patch;
}

PatchRecord* exactSphere(const PrimitiveParams* p, BrushRecord* brush, const CurveBox& b) {
    PatchRecord* patch = Patch_Create(brush, &p->texInfo, 13, 7);
    if (!patch) return nullptr;
    const float thetaStep = kPi / 6.0f;
    const float kc = 1.0f / std::cos(thetaStep);
    const float phiStep = kPi / float(patch->rows - 1);
    const float kr = 1.0f / std::cos(phiStep);
    float theta = 0.0f;
    for (int i = 0; i < patch->columns; ++i, theta += thetaStep) {
        const float fc = (i & 1) ? kc : 1.0f;
        float sinTheta, cosTheta;
        K_SinCosPrecise(theta, &sinTheta, &cosTheta);
        float phi = 0.0f;
        for (int j = 0; j < patch->rows; ++j, phi += phiStep) {
            const float fr = (j & 1) ? kr : 1.0f;
            float sinPhi, cosPhi;
            K_SinCosPrecise(phi, &sinPhi, &cosPhi);
            const float s = 0.5f * fc * fr * sinPhi;
            float* v = at(patch, column(patch, i, handed(p)), j);
            v[b.H] = lerpBox(b.lo[b.H], b.hi[b.H], s * cosTheta);
            v[b.V] = lerpBox(b.lo[b.V], b.hi[b.V], s * sinTheta);
            v[b.D] = lerpBox(b.lo[b.D], b.hi[b.D], -0.5f * fr * cosPhi);
        }
    }
    naturalize(patch);
    return patch;
}

// ---- Profiles extruded along D: bevels and end caps ----

enum Side { Lo, Mid, Hi };

struct Profile {
    int count;
    Side corners[7][2]; // (H, V) per column
};

constexpr Profile kBevel = {3, {{Lo, Lo}, {Hi, Lo}, {Hi, Hi}}};
constexpr Profile kSquareBevel = {5, {{Lo, Lo}, {Mid, Lo}, {Hi, Lo}, {Hi, Mid}, {Hi, Hi}}};
constexpr Profile kEndcap = {5, {{Lo, Lo}, {Lo, Hi}, {Mid, Hi}, {Hi, Hi}, {Hi, Lo}}};
constexpr Profile kSquareEndcap = {7,
                                   {{Lo, Lo}, {Lo, Mid}, {Lo, Hi}, {Mid, Hi}, {Hi, Hi}, {Hi, Mid}, {Hi, Lo}}};

float sideValue(const CurveBox& b, int axis, Side side) {
    return side == Lo ? b.lo[axis] : side == Hi ? b.hi[axis] : b.c[axis];
}

PatchRecord* profile(const PrimitiveParams* p, BrushRecord* brush, const CurveBox& b, const Profile& shape) {
    PatchRecord* patch = Patch_Create(brush, &p->texInfo, shape.count, 3);
    if (!patch) return nullptr;
    const float depths[3] = {b.lo[b.D], b.c[b.D], b.hi[b.D]};
    for (int i = 0; i < shape.count; ++i) {
        const int col = column(patch, i, handed(p));
        for (int r = 0; r < 3; ++r)
            setPoint(at(patch, col, r), b, sideValue(b, b.H, shape.corners[i][0]),
                     sideValue(b, b.V, shape.corners[i][1]), depths[r]);
    }
    naturalize(patch);
    return patch;
}

PatchShaper profileShaper(const Profile& shape) {
    return [&shape](const PrimitiveParams* p, BrushRecord* brush, const CurveBox& b) {
        return profile(p, brush, b, shape);
    };
}

} // namespace

PatchRecord* Prim_BuildCylinderPatch(const PrimitiveParams* p, BrushRecord* brush, float lo[3], float hi[3]) {
    if (!p || !brush || !Prim_CheckParams(p, "Prim_BuildCylinderPatch", true, 0)) return nullptr;
    const CurveBox b = curveBox(p);
    if (lo) std::memcpy(lo, b.lo, sizeof b.lo);
    if (hi) std::memcpy(hi, b.hi, sizeof b.hi);
    PatchRecord* patch = Patch_Create(brush, &p->texInfo, 9, 3);
    if (!patch) return nullptr;
    // Corners of the H/V rectangle counter-clockwise from (lo, lo) on the odd columns.
    const float corners[4][2] = {
        {b.lo[b.H], b.lo[b.V]}, {b.hi[b.H], b.lo[b.V]}, {b.hi[b.H], b.hi[b.V]}, {b.lo[b.H], b.hi[b.V]}};
    for (int k = 0; k < 4; ++k) {
        const int col = column(patch, 1 + 2 * k, handed(p));
        setPoint(at(patch, col, 0), b, corners[k][0], corners[k][1], b.lo[b.D]);
        setPoint(at(patch, col, 2), b, corners[k][0], corners[k][1], b.hi[b.D]);
        setPoint(at(patch, col, 1), b, corners[k][0], corners[k][1], (b.lo[b.D] + b.hi[b.D]) / 2);
    }
    patch->handle->smoothColumns();
    return patch;
}

int32_t Prim_CreateCurveBlock(PrimitiveParams* p) {
    return buildCurve(p, "Prim_CreateCurveBlock", "Create Block", curveBlock);
}
int32_t Prim_CreateCurveCone(PrimitiveParams* p) {
    return buildCurve(p, "Prim_CreateCurveCone", "Create Cone", curveCone);
}
int32_t Prim_CreateExactCone(PrimitiveParams* p) {
    return buildCurve(p, "Prim_CreateExactCone", "Create Exact Cone",
                      [](const PrimitiveParams* q, BrushRecord* brush, const CurveBox& b) {
                          return exactRing(q, brush, b, true);
                      });
}
int32_t Prim_CreateCurveCylinder3(PrimitiveParams* p) {
    return buildCurve(p, "Prim_CreateCurveCylinder3", "Create Cylinder", cylinder3);
}
int32_t Prim_CreateCurveCylinder7(PrimitiveParams* p) {
    return buildCurve(p, "Prim_CreateCurveCylinder7", "Create Cylinder", cylinder7);
}
int32_t Prim_CreateCurveCylinder11(PrimitiveParams* p) {
    return buildCurve(p, "Prim_CreateCurveCylinder11", "Create Cylinder", cylinder11);
}
int32_t Prim_CreateExactCylinder(PrimitiveParams* p) {
    return buildCurve(p, "Prim_CreateExactCylinder", "Create Exact Cylinder",
                      [](const PrimitiveParams* q, BrushRecord* brush, const CurveBox& b) {
                          return exactRing(q, brush, b, false);
                      });
}
int32_t Prim_CreateCurveSphere(PrimitiveParams* p) {
    return buildCurve(p, "Prim_CreateCurveSphere", "Create Sphere", curveSphere);
}
int32_t Prim_CreateExactSphere(PrimitiveParams* p) {
    return buildCurve(p, "Prim_CreateExactSphere", "Create Exact Sphere", exactSphere);
}
int32_t Prim_CreateBevel(PrimitiveParams* p) {
    return buildCurve(p, "Prim_CreateBevel", "Create Bevel", profileShaper(kBevel));
}
int32_t Prim_CreateEndcap(PrimitiveParams* p) {
    return buildCurve(p, "Prim_CreateEndcap", "Create Endcap", profileShaper(kEndcap));
}
int32_t Prim_CreateSquareBevel(PrimitiveParams* p) {
    return buildCurve(p, "Prim_CreateSquareBevel", "Create Square Bevel", profileShaper(kSquareBevel));
}
int32_t Prim_CreateSquareEndcap(PrimitiveParams* p) {
    return buildCurve(p, "Prim_CreateSquareEndcap", "Create Square Endcap", profileShaper(kSquareEndcap));
}

int32_t Prim_CreatePlane(PrimitiveParams* p) {
    if (!p) {
        Sys_Warning("Prim_CreatePlane: no parameters");
        return 0;
    }
    EntityRecord* world = Prim_WorldEntity(p->map);
    // The plane lies across H and V at mid depth: only those two need an extent.
    const int32_t neededAxes = (1 << PrimitiveAxis::H) | (1 << PrimitiveAxis::V);
    if (!world || !Prim_CheckParams(p, "Prim_CreatePlane", true, neededAxes)) return 0;
    int32_t w = 0, h = 0;
    if (!Document_Host().askPatchSize(&w, &h)) return 0;
    // An even count would be rounded up by the patch and leave its last line unplaced.
    if (w < kPatchMinLines || w > kPatchMaxLines || h < kPatchMinLines || h > kPatchMaxLines || w % 2 == 0 ||
        h % 2 == 0) {
        Sys_Error("Invalid patch dimensions (%i x %i)\n", w, h);
        return 0;
    }
    const CurveBox b = curveBox(p);
    BrushRecord* brush = Brush_Create(p->map, world);
    if (!brush) return 0;
    PatchRecord* patch = Patch_Create(brush, &p->texInfo, w, h);
    if (!patch) {
        Brush_Delete(p->map, brush);
        return 0;
    }
    const float spanH = std::fabs(b.hi[b.H] - b.lo[b.H]);
    const float spanV = std::fabs(b.hi[b.V] - b.lo[b.V]);
    for (int i = 0; i < w; ++i)
        for (int j = 0; j < h; ++j)
            setPoint(at(patch, i, j), b, b.lo[b.H] + float(i) * spanH / float(w - 1),
                     b.lo[b.V] + float(j) * spanV / float(h - 1), (b.lo[b.D] + b.hi[b.D]) / 2);
    naturalize(patch);
    Prim_Record(p->map, "Create Plane", BrushUpdate::TessellatePatch, &brush, 1, nullptr);
    return 1;
}
