// Rotation matrices from angles, plane comparison, snapping to whole units and to the grid, and
// turning texture axes from one plane onto another.
#include <algorithm>
#include <cmath>

#include "core/SysHost.h"
#include "core/System.h"
#include "kstdlib/kmath.h"
#include "kstdlib/kutil.h"
#include "core/Vector.h"

namespace {

// Sine and cosine of an angle already in [0, 360), exact at the quarter turns.
void quarterExactSinCos(double degrees, double& s, double& c) {
    if (degrees == 0.0) {
        s = 0.0, c = 1.0;
    } else if (degrees == 90.0) {
        s = 1.0, c = 0.0;
    } else if (degrees == 180.0) {
        s = 0.0, c = -1.0;
    } else if (degrees == 270.0) {
        s = -1.0, c = 0.0;
    } else {
        const double radians = degrees * M_PI / 180.0;
        s = std::sin(radians);
        c = std::cos(radians);
    }
}

// The angle in [0, 360). One division instead of repeated steps, so huge angles end at once;
// an angle that is not finite has no direction and counts as 0.
double wrapDegrees(float angle) {
    if (!std::isfinite(angle)) {
        Sys_Warning("Math_RotationMatrix: angle is not a finite number");
        return 0.0;
    }
    double wrapped = std::fmod(static_cast<double>(angle), 360.0);
    if (wrapped < 0.0) wrapped += 360.0;
    return wrapped >= 360.0 ? 0.0 : wrapped;
}

void snapToWhole(float& value, float tolerance) {
    const float whole = K_Rint(value);
    if (value != whole && std::fabs(value - whole) < tolerance) value = whole;
}

float snapComponent(float value, int32_t grid) {
    if (grid <= 0) return std::floor(value + 0.5f);
    const float g = static_cast<float>(grid);
    return std::floor(value / g + 0.5f) * g;
}

} // namespace

void Math_RotationMatrix(float az, float ay, float ax, const float origin[3], float out[16]) {
    double sz, cz, sy, cy, sx, cx;
    quarterExactSinCos(wrapDegrees(az), sz, cz);
    quarterExactSinCos(wrapDegrees(ay), sy, cy);
    quarterExactSinCos(wrapDegrees(ax), sx, cx);
    const double rows[3][3] = {
        {cz * cy, cz * sy * sx - sz * cx, cz * sy * cx + sz * sx},
        {sz * cy, sz * sy * sx + cz * cx, sz * sy * cx - cz * sx},
        {-sy, cy * sx, cy * cx},
    };
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c)
            out[r * 4 + c] = static_cast<float>(rows[r][c]);
        out[r * 4 + 3] = origin ? origin[r] : 0.0f;
    }
    out[12] = 0.0f;
    out[13] = 0.0f;
    out[14] = 0.0f;
    out[15] = 1.0f;
}

bool Math_PlanesEqual(const float* planeA, const float* planeB, bool flip) {
    const float sign = flip ? -1.0f : 1.0f;
    for (int i = 0; i < 3; ++i) {
        if (std::fabs(planeA[i] - sign * planeB[i]) >= 1e-4f) return false;
    }
    return std::fabs(planeA[3] - sign * planeB[3]) < 0.01f;
}

bool Math_PlanesEqual(const KPlane* planeA, const KPlane* planeB, bool flip) {
    const float a[4] = {planeA->normal[0], planeA->normal[1], planeA->normal[2], planeA->dist};
    const float b[4] = {planeB->normal[0], planeB->normal[1], planeB->normal[2], planeB->dist};
    return Math_PlanesEqual(a, b, flip);
}

bool Math_VectorIsNearZero(const float v[3]) {
    return std::fabs(v[0]) < 0.001f && std::fabs(v[1]) < 0.001f && std::fabs(v[2]) < 0.001f;
}

void Math_SnapVector(float v[3]) {
    for (int i = 0; i < 3; ++i)
        snapToWhole(v[i], 0.01f);
}

void Math_SnapFloats(int32_t count, float* values) {
    for (int32_t i = 0; values && i < count; ++i)
        snapToWhole(values[i], 1e-4f);
}

void Sys_SnapVector(float v[3]) {
    const SysHost* host = Sys_Host();
    const float tolerance = host ? host->vertexRoundEpsilon() : 0.01f;
    for (int i = 0; i < 3; ++i)
        snapToWhole(v[i], tolerance);
}

float Sys_SnapToGrid(float point[3]) {
    const int32_t grid = Sys_SnapGrid();
    for (int i = 0; i < 3; ++i)
        point[i] = snapComponent(point[i], grid);
    return point[2];
}

float Sys_SnapAxisToGrid(int32_t axis, float point[3]) {
    if (axis < 0 || axis > 2) {
        Sys_Error("Sys_SnapAxisToGrid: invalid axis %d", axis);
        return 0.0f;
    }
    point[axis] = snapComponent(point[axis], Sys_SnapGrid());
    return point[axis];
}

void Math_WrapTextureAxes(const float normal1[3], float dist1, const float s[3], float sShift,
                          const float t[3], float tShift, float sScale, float tScale, const float normal2[3],
                          float dist2, float sOut[3], float tOut[3], float originOut[3]) {
    // Planes this close to parallel have no usable common line.
    constexpr float kParallel = 1e-6f;

    float v0[3];
    for (int i = 0; i < 3; ++i)
        v0[i] = sShift * sScale * s[i] + tShift * tScale * t[i];

    float line[3];
    Vec_Cross(normal1, normal2, line);
    const float lineLength = K_VectorNormalize(line);
    float n2xl[3], lxn1[3];
    Vec_Cross(normal2, line, n2xl);
    Vec_Cross(line, normal1, lxn1);
    const float e = Vec_Dot(normal1, n2xl);
    if (lineLength < kParallel || std::fabs(e) < kParallel) {
        for (int i = 0; i < 3; ++i) {
            sOut[i] = s[i];
            tOut[i] = t[i];
            originOut[i] = v0[i];
        }
        return;
    }

    float p[3];
    for (int i = 0; i < 3; ++i)
        p[i] = (dist1 * n2xl[i] + dist2 * lxn1[i]) / e;

    float texNormal[3], projected[3], target[3];
    Vec_Cross(s, t, texNormal);
    K_VectorNormalize(texNormal);
    K_ProjectPointOnPlane(projected, texNormal, line);
    K_ProjectPointOnPlane(target, normal2, line);
    K_VectorNormalize(projected);
    K_VectorNormalize(target);
    // Rounding can push the dot product just past ±1, where acos has no answer.
    const float u = std::clamp(Vec_Dot(projected, target), -1.0f, 1.0f);
    float theta = std::acos(u);
    if (u < 0.0f) theta = 3.1415927f - theta;

    // Right-handed rotation by theta about the common line, as a 3×4 matrix.
    float sn = 0.0f, cs = 1.0f;
    K_SinCosPrecise(theta, &sn, &cs);
    const float k = 1.0f - cs;
    const float x = line[0], y = line[1], z = line[2];
    const float m[12] = {
        cs + x * x * k,     x * y * k - z * sn, x * z * k + y * sn, 0.0f,
        y * x * k + z * sn, cs + y * y * k,     y * z * k - x * sn, 0.0f,
        z * x * k - y * sn, z * y * k + x * sn, cs + z * z * k,     0.0f,
    };
    vec3 in[3] = {{s[0], s[1], s[2]}, {t[0], t[1], t[2]}, {v0[0] + p[0], v0[1] + p[1], v0[2] + p[2]}};
    vec3 out[3];
    K_VectorRotateMulti(3, in, m, out);
    for (int i = 0; i < 3; ++i) {
        sOut[i] = out[0][i];
        tOut[i] = out[1][i];
        originOut[i] = out[2][i] - p[i];
    }
}
