// Vector normalisation and transforms, planes and point/box side tests, axis-aligned bounds.
#include <cmath>
#include <cstring>

#include "kstdlib/MathTable.h"
#include "kstdlib/kmath.h"

namespace {

constexpr float kBoundsClear = 999999.0f;

float Dot(const float* a, const float* b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

// One row of a row-major matrix applied to a 3-vector, optionally with its translation column.
inline float RowDot(const float* row, float x, float y, float z) {
    return row[0] * x + row[1] * y + row[2] * z;
}

template <bool Translate> inline void Apply3x4(const float* in, const float* m, float* out) {
    const float x = in[0], y = in[1], z = in[2];
    for (int r = 0; r < 3; ++r) {
        const float* row = m + 4 * r;
        out[r] = Translate ? RowDot(row, x, y, z) + row[3] : RowDot(row, x, y, z);
    }
}

// Every element gets exactly the single-element result. The matrix is copied so that writes to out
// cannot alias it; the compiler then vectorises the loop itself, which beats grouping by hand.
template <bool Translate> void Apply3x4Multi(int count, const vec3* in, const float* m, vec3* out) {
    float local[12];
    std::memcpy(local, m, sizeof(local));
    for (int i = 0; i < count; ++i)
        Apply3x4<Translate>(in[i], local, out[i]);
}

int SignbitsOf(const float* normal) {
    return (normal[0] < 0.0f ? 1 : 0) | (normal[1] < 0.0f ? 2 : 0) | (normal[2] < 0.0f ? 4 : 0);
}

int BoxSideGeneral(const float* mins, const float* maxs, const float* normal, float dist, int signbits) {
    float d1 = 0.0f, d2 = 0.0f;
    if (signbits <= 7) {
        // Corners picked by index rather than by branch: sign bits are unpredictable.
        const float* const corner[2] = {maxs, mins};
        for (int i = 0; i < 3; ++i) {
            const int negative = (signbits >> i) & 1;
            d1 += normal[i] * corner[negative][i];
            d2 += normal[i] * corner[negative ^ 1][i];
        }
    }
    return (d1 >= dist ? K_SIDE_FRONT : 0) | (d2 < dist ? K_SIDE_BACK : 0);
}

// Corner i of a box takes maxs on axis a when bit a of i is set.
void BoxCorners(const float* mins, const float* maxs, vec3 corners[8]) {
    for (int i = 0; i < 8; ++i)
        for (int a = 0; a < 3; ++a)
            corners[i][a] = (i & (1 << a)) ? maxs[a] : mins[a];
}

using MultiRoutine = void (*)(int, const vec3*, const float*, vec3*);

void BoundsOfMovedBox(MultiRoutine move, const float* mins, const float* maxs, const float* m, float* outMins,
                      float* outMaxs) {
    if (!outMins && !outMaxs) return;
    vec3 corners[8], moved[8];
    BoxCorners(mins, maxs, corners);
    move(8, corners, m, moved);
    for (int a = 0; a < 3; ++a) {
        float lo = kBoundsClear, hi = -kBoundsClear;
        for (const vec3& p : moved) {
            if (p[a] < lo) lo = p[a];
            if (p[a] > hi) hi = p[a];
        }
        if (outMins) outMins[a] = lo;
        if (outMaxs) outMaxs[a] = hi;
    }
}

// point - normal * (point . normal) / (normal . normal); a zero normal leaves the point.
void ProjectOnPlane(float* dst, const float* point, const float* normal) {
    const float nn = Dot(normal, normal);
    if (nn == 0.0f) {
        dst[0] = point[0], dst[1] = point[1], dst[2] = point[2];
        return;
    }
    const float d = Dot(point, normal) * (1.0f / nn);
    const float p[3] = {point[0], point[1], point[2]};
    for (int i = 0; i < 3; ++i)
        dst[i] = p[i] - normal[i] * d;
}

// Vector part of q * (point, 0) * conjugate(q) with q = (v, w).
void RotateByQuaternion(float* dst, const float* v, float w, const float* point) {
    const float p[3] = {point[0], point[1], point[2]};
    // a = w * p + v x p, b = -v . p
    const float a[3] = {w * p[0] + (v[1] * p[2] - v[2] * p[1]), w * p[1] + (v[2] * p[0] - v[0] * p[2]),
                        w * p[2] + (v[0] * p[1] - v[1] * p[0])};
    const float b = -(v[0] * p[0] + v[1] * p[1] + v[2] * p[2]);
    // (a, b) * (-v, w): vector part = w * a - b * v - a x v
    dst[0] = w * a[0] - b * v[0] - (a[1] * v[2] - a[2] * v[1]);
    dst[1] = w * a[1] - b * v[1] - (a[2] * v[0] - a[0] * v[2]);
    dst[2] = w * a[2] - b * v[2] - (a[0] * v[1] - a[1] * v[0]);
}

void RotateAroundAxis(float* dst, const float* dir, const float* point, float halfAngle) {
    const float s = sinf(halfAngle);
    const float v[3] = {dir[0] * s, dir[1] * s, dir[2] * s};
    RotateByQuaternion(dst, v, cosf(halfAngle), point);
}

} // namespace

// ---- Routines behind the function table ------------------------------------------------------------

namespace kmath {

float VectorNormalize(float* v) {
    const float length = sqrtf(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length == 0.0f) return 0.0f;
    const float scale = 1.0f / length;
    v[0] *= scale;
    v[1] *= scale;
    v[2] *= scale;
    return length;
}

float VectorNormalizeFast(float* v) {
    const float length = sqrtf(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]) + 1.1920929e-7f;
    const float scale = 1.0f / length;
    v[0] *= scale;
    v[1] *= scale;
    v[2] *= scale;
    return length;
}

void VectorTransform(const float* in, const float* m, float* out) {
    Apply3x4<true>(in, m, out);
}
void VectorRotate(const float* in, const float* m, float* out) {
    Apply3x4<false>(in, m, out);
}

void Vector4DTransform(const float* in, const float* m, float* out) {
    const float v[4] = {in[0], in[1], in[2], in[3]};
    for (int r = 0; r < 4; ++r) {
        const float* row = m + 4 * r;
        out[r] = row[0] * v[0] + row[1] * v[1] + row[2] * v[2] + row[3] * v[3];
    }
}

void Vector4DRotate(const float* in, const float* m, float* out) {
    const float x = in[0], y = in[1], z = in[2];
    for (int r = 0; r < 4; ++r)
        out[r] = RowDot(m + 4 * r, x, y, z);
}

void VectorTransformMulti(int count, const vec3* in, const float* m, vec3* out) {
    Apply3x4Multi<true>(count, in, m, out);
}

void VectorRotateMulti(int count, const vec3* in, const float* m, vec3* out) {
    Apply3x4Multi<false>(count, in, m, out);
}

} // namespace kmath

// ---- Planes and points -----------------------------------------------------------------------------

int K_SignbitsForNormal(const vec3 normal) {
    return SignbitsOf(normal);
}

int K_SetPlaneSignbits(KPlane* plane) {
    plane->signbits = uint8_t(SignbitsOf(plane->normal));
    return plane->signbits;
}

int K_PointOnPlaneSide(const vec3 point, float epsilon, const KPlane* plane) {
    const float along = plane->type < K_PLANE_ANY ? point[plane->type] * plane->normal[plane->type]
                                                  : Dot(plane->normal, point);
    const float d = along - plane->dist;
    if (d > epsilon) return K_SIDE_FRONT;
    if (d < -epsilon) return K_SIDE_BACK;
    return K_SIDE_ON;
}

int K_BoxOnPlaneSide(const vec3 mins, const vec3 maxs, const KPlane* plane) {
    const int type = plane->type;
    if (type < K_PLANE_ANY) {
        const float w = plane->normal[type] * plane->dist;
        const bool flipped = plane->signbits & (1 << type);
        if (mins[type] >= w) return flipped ? K_SIDE_BACK : K_SIDE_FRONT;
        if (w >= maxs[type]) return flipped ? K_SIDE_FRONT : K_SIDE_BACK;
        return K_SIDE_CROSS;
    }
    return BoxSideGeneral(mins, maxs, plane->normal, plane->dist, plane->signbits);
}

int K_BoxOnPlaneSide2(const vec3 mins, const vec3 maxs, const vec4 plane) {
    return BoxSideGeneral(mins, maxs, plane, plane[3], SignbitsOf(plane));
}

int K_PlaneTransform(const KPlane* in, const float m[12], KPlane* out) {
    const float onPlane[3] = {in->normal[0] * in->dist, in->normal[1] * in->dist, in->normal[2] * in->dist};
    const float normal[3] = {in->normal[0], in->normal[1], in->normal[2]};
    float moved[3];
    k_mathTable.vectorTransform(onPlane, m, moved);
    k_mathTable.vectorRotate(normal, m, out->normal);
    out->type = K_PLANE_ANY;
    out->dist = Dot(out->normal, moved);
    return K_SetPlaneSignbits(out);
}

void K_ProjectPointOnPlane(vec3 dst, const vec3 point, const vec3 normal) {
    ProjectOnPlane(dst, point, normal);
}

void K_ProjectPointOnVector(vec3 dst, const vec3 point, const vec3 start, const vec3 end) {
    const float dir[3] = {end[0] - start[0], end[1] - start[1], end[2] - start[2]};
    const float rel[3] = {point[0] - start[0], point[1] - start[1], point[2] - start[2]};
    const float s[3] = {start[0], start[1], start[2]};
    const float dd = Dot(dir, dir);
    // A zero-length segment projects everything onto its start.
    const float t = dd == 0.0f ? 0.0f : Dot(rel, dir) / dd;
    for (int i = 0; i < 3; ++i)
        dst[i] = s[i] + dir[i] * t;
}

void K_PerpendicularVector(vec3 dst, const vec3 src) {
    // The axis least aligned with src; x counts as at most 1, later axes win ties.
    int axis = 0;
    float smallest = 1.0f;
    for (int i = 0; i < 3; ++i) {
        if (fabsf(src[i]) <= smallest) {
            axis = i;
            smallest = fabsf(src[i]);
        }
    }
    float unit[3] = {0.0f, 0.0f, 0.0f};
    unit[axis] = 1.0f;
    ProjectOnPlane(dst, unit, src);
    k_mathTable.vectorNormalizeFast(dst);
}

void K_RotatePointAroundVector(vec3 dst, const vec3 dir, const vec3 point, float degrees) {
    RotateAroundAxis(dst, dir, point, degrees * kmath::kDegToRad * 0.5f);
}

void K_RotatePointAroundVectorHR(vec3 dst, const vec3 dir, const vec3 point, float halfAngle) {
    RotateAroundAxis(dst, dir, point, halfAngle);
}

// ---- Bounds ----------------------------------------------------------------------------------------

void K_ClearBounds(vec3 mins, vec3 maxs) {
    for (int i = 0; i < 3; ++i) {
        mins[i] = kBoundsClear;
        maxs[i] = -kBoundsClear;
    }
}

void K_AddPointToBounds(const vec3 point, vec3 mins, vec3 maxs) {
    for (int i = 0; i < 3; ++i) {
        if (point[i] < mins[i]) mins[i] = point[i];
        if (point[i] > maxs[i]) maxs[i] = point[i];
    }
}

void K_AddBoxToBounds(const vec3 boxMins, const vec3 boxMaxs, vec3 mins, vec3 maxs) {
    for (int i = 0; i < 3; ++i) {
        if (boxMins[i] < mins[i]) mins[i] = boxMins[i];
        if (boxMaxs[i] > maxs[i]) maxs[i] = boxMaxs[i];
    }
}

void K_ValidateBounds(vec3 mins, vec3 maxs) {
    for (int i = 0; i < 3; ++i) {
        if (mins[i] == maxs[i]) {
            mins[i] -= 0.001f;
            maxs[i] += 0.001f;
        }
    }
}

float K_RadiusFromBounds(const vec3 mins, const vec3 maxs) {
    float sum = 0.0f;
    for (int i = 0; i < 3; ++i) {
        const float a = fabsf(mins[i]), b = fabsf(maxs[i]);
        const float extent = a > b ? a : b;
        sum += extent * extent;
    }
    return k_mathTable.sqrt(sum);
}

void K_TransformAABB(const vec3 mins, const vec3 maxs, const float m[12], vec3 outMins, vec3 outMaxs) {
    BoundsOfMovedBox(k_mathTable.vectorTransformMulti, mins, maxs, m, outMins, outMaxs);
}

void K_RotateAABB(const vec3 mins, const vec3 maxs, const float m[12], vec3 outMins, vec3 outMaxs) {
    BoundsOfMovedBox(k_mathTable.vectorRotateMulti, mins, maxs, m, outMins, outMaxs);
}
