// Euler angles, direction vectors, axis triples, quaternions and compressed directions.
#include <cmath>

#include "kstdlib/MathTable.h"
#include "kstdlib/kmath.h"

namespace {

constexpr float kTwoPi = 6.2831855f;

float Degrees(double radians) {
    return static_cast<float>(radians * kmath::kRadToDegD);
}

// Yaw of (x, y) in [0, 360): 90/270 on the y axis, 0 for the zero vector.
float YawOf(float x, float y) {
    if (x == 0.0f) {
        if (y == 0.0f) return 0.0f;
        return y > 0.0f ? 90.0f : 270.0f;
    }
    float yaw = Degrees(std::atan2(double(y), double(x)));
    if (yaw < 0.0f) yaw += 360.0f;
    return yaw;
}

struct GameAxes {
    float forward[3], right[3], up[3];
};

GameAxes AxesOf(const float* angles) {
    const float p = angles[0] * kmath::kDegToRad, y = angles[1] * kmath::kDegToRad,
                r = angles[2] * kmath::kDegToRad;
    const float sp = sinf(p), cp = cosf(p), sy = sinf(y), cy = cosf(y), sr = sinf(r), cr = cosf(r);
    return {{cp * cy, cp * sy, -sp},
            {cr * sy - sr * sp * cy, -sr * sp * sy - cr * cy, -sr * cp},
            {cr * sp * cy + sr * sy, cr * sp * sy - sr * cy, cr * cp}};
}

void CopyIfWanted(float* dst, const float* src) {
    if (dst) dst[0] = src[0], dst[1] = src[1], dst[2] = src[2];
}

} // namespace

void K_AngleVectors(const vec3 angles, vec3 forward, vec3 right, vec3 up) {
    const GameAxes a = AxesOf(angles);
    CopyIfWanted(forward, a.forward);
    CopyIfWanted(right, a.right);
    CopyIfWanted(up, a.up);
}

void K_AngleVectorsEx(const vec3 angles1, const vec3 angles2, vec3 forward, vec3 right, vec3 up) {
    const GameAxes a1 = AxesOf(angles1), a2 = AxesOf(angles2);
    const float m1[9] = {a1.forward[0], a1.forward[1], a1.forward[2], -a1.right[0], -a1.right[1],
                         -a1.right[2],  a1.up[0],      a1.up[1],      a1.up[2]};
    const float m2[9] = {a2.forward[0], a2.forward[1], a2.forward[2], a2.right[0], a2.right[1],
                         a2.right[2],   a2.up[0],      a2.up[1],      a2.up[2]};
    float p[9];
    K_MatrixMultiply3x3(m2, m1, p);
    CopyIfWanted(forward, p);
    CopyIfWanted(right, p + 3);
    CopyIfWanted(up, p + 6);
}

void K_VectorToAngles(const vec3 vec, vec3 angles) {
    float yaw, pitch;
    if (vec[0] == 0.0f && vec[1] == 0.0f) {
        yaw = 0.0f;
        pitch = vec[2] > 0.0f ? 90.0f : 270.0f;
    } else {
        yaw = YawOf(vec[0], vec[1]);
        const float forward = k_mathTable.sqrt(vec[0] * vec[0] + vec[1] * vec[1]);
        pitch = Degrees(std::atan2(double(vec[2]), double(forward)));
        if (pitch < 0.0f) pitch += 360.0f;
    }
    angles[0] = -pitch;
    angles[1] = yaw;
    angles[2] = 0.0f;
}

float K_VectorToYaw(const vec3 vec) {
    return YawOf(vec[0], vec[1]);
}

void K_AxesToAngles(const vec3 forward, const vec3 right, const vec3 up, vec3 angles) {
    const double a = std::asin(double(forward[2]));
    const double c = std::cos(-a);
    if (std::fabs(c) > 0.001) {
        const float out[3] = {Degrees(-a), Degrees(std::atan2(forward[1] / c, forward[0] / c)),
                              Degrees(std::atan2(-right[2] / c, up[2] / c))};
        angles[0] = out[0], angles[1] = out[1], angles[2] = out[2];
    } else {
        // Straight up or down: yaw from the right vector, roll fixed.
        angles[0] = forward[2] > 0.0f ? -90.0f : 90.0f;
        angles[1] = Degrees(std::atan2(double(right[0]), double(-right[1])));
        angles[2] = 180.0f;
    }
}

float K_LerpAngle(float from, float to, float fraction) {
    float d = to - from;
    if (d > 180.0f)
        d -= 360.0f;
    else if (d < -180.0f)
        d += 360.0f;
    return from + fraction * d;
}

void K_LerpAngles(vec3 out, const vec3 from, const vec3 to, float fraction) {
    for (int i = 0; i < 3; ++i)
        out[i] = K_LerpAngle(from[i], to[i], fraction);
}

float K_NormalizeAngle(float angle) {
    if (!std::isfinite(angle)) return NAN;
    // fmodf is exact, and so is every step of 360 below 2^26: ordinary angles come out exactly as by
    // repeated subtraction, and huge ones no longer spin (or stall where x - 360 == x).
    angle = fmodf(angle, 360.0f);
    if (angle > 180.0f)
        angle -= 360.0f;
    else if (angle < -180.0f)
        angle += 360.0f;
    return angle;
}

void K_NormalizeAngles(vec3 angles) {
    for (int i = 0; i < 3; ++i)
        angles[i] = K_NormalizeAngle(angles[i]);
}

void K_QuaternionMatrix(const vec4 q, float m[12]) {
    const float x = q[0], y = q[1], z = q[2], w = q[3];
    m[0] = 1.0f - 2.0f * (y * y + z * z);
    m[1] = 2.0f * (x * y - w * z);
    m[2] = 2.0f * (x * z + w * y);
    m[4] = 2.0f * (x * y + w * z);
    m[5] = 1.0f - 2.0f * (x * x + z * z);
    m[6] = 2.0f * (y * z - w * x);
    m[8] = 2.0f * (x * z - w * y);
    m[9] = 2.0f * (y * z + w * x);
    m[10] = 1.0f - 2.0f * (x * x + y * y);
}

void K_MatrixQuaternion(const float m[12], vec4 q) {
    const float m00 = m[0], m01 = m[1], m02 = m[2];
    const float m10 = m[4], m11 = m[5], m12 = m[6];
    const float m20 = m[8], m21 = m[9], m22 = m[10];
    const float t = m00 + m11 + m22;
    float x, y, z, w;
    if (t > 0.0f) {
        const float s = 0.5f / sqrtf(t + 1.0f);
        w = 0.25f / s;
        x = (m21 - m12) * s;
        y = (m02 - m20) * s;
        z = (m10 - m01) * s;
    } else if (m00 > m11 && m00 > m22) {
        const float s = 2.0f * sqrtf(1.0f + m00 - m11 - m22);
        w = (m21 - m12) / s;
        x = 0.25f * s;
        y = (m10 + m01) / s;
        z = (m20 + m02) / s;
    } else if (m11 > m22) {
        const float s = 2.0f * sqrtf(1.0f + m11 - m00 - m22);
        w = (m02 - m20) / s;
        x = (m10 + m01) / s;
        y = 0.25f * s;
        z = (m21 + m12) / s;
    } else {
        const float s = 2.0f * sqrtf(1.0f + m22 - m00 - m11);
        w = (m10 - m01) / s;
        x = (m20 + m02) / s;
        y = (m21 + m12) / s;
        z = 0.25f * s;
    }
    q[0] = x, q[1] = y, q[2] = z, q[3] = w;
}

void K_AngleQuaternion(const vec3 angles, vec4 q) {
    const float sr = sinf(angles[0] * 0.5f), cr = cosf(angles[0] * 0.5f);
    const float sp = sinf(angles[1] * 0.5f), cp = cosf(angles[1] * 0.5f);
    const float sy = sinf(angles[2] * 0.5f), cy = cosf(angles[2] * 0.5f);
    q[0] = sr * cp * cy - cr * sp * sy;
    q[1] = cr * sp * cy + sr * cp * sy;
    q[2] = cr * cp * sy - sr * sp * cy;
    q[3] = cr * cp * cy + sr * sp * sy;
}

void K_QuaternionAngle(const vec4 q, vec3 angles) {
    const float x = q[0], y = q[1], z = q[2], w = q[3];
    float Y = 2.0f * (w * z + x * y);
    float X = 1.0f - 2.0f * (y * y + z * z);
    const float e = sqrtf(Y * Y + X * X);
    float roll;
    if (e > 0.001f) {
        roll = atan2f(2.0f * (y * z + w * x), 1.0f - 2.0f * (x * x + y * y));
    } else {
        roll = 0.0f;
        Y = -2.0f * (x * y - w * z);
        X = 1.0f - 2.0f * (x * x + z * z);
    }
    angles[0] = roll;
    angles[1] = atan2f(-2.0f * (x * z - w * y), e);
    angles[2] = atan2f(Y, X);
}

void K_QuaternionInverse(const vec4 q, vec4 out) {
    const float n = q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3];
    if (n == 0.0f) {
        out[0] = out[1] = out[2] = out[3] = 0.0f;
        return;
    }
    const float r[4] = {q[0] / n, -q[1] / n, -q[2] / n, -q[3] / n};
    out[0] = r[0], out[1] = r[1], out[2] = r[2], out[3] = r[3];
}

void K_QuaternionProduct(const vec4 a, const vec4 b, vec4 out) {
    const float r[4] = {
        a[0] * b[0] - a[1] * b[1] - a[2] * b[2] - a[3] * b[3],
        a[1] * b[0] + a[0] * b[1] + a[2] * b[3] - a[3] * b[2],
        a[2] * b[0] + a[0] * b[2] + a[3] * b[1] - a[1] * b[3],
        a[3] * b[0] + a[0] * b[3] + a[1] * b[2] - a[2] * b[1],
    };
    out[0] = r[0], out[1] = r[1], out[2] = r[2], out[3] = r[3];
}

void K_QuaternionSlerp(const vec4 p, const vec4 q, float t, vec4 out) {
    const float pp[4] = {p[0], p[1], p[2], p[3]};
    float qq[4] = {q[0], q[1], q[2], q[3]};
    float apart = 0.0f, together = 0.0f;
    for (int i = 0; i < 4; ++i) {
        apart += (pp[i] - qq[i]) * (pp[i] - qq[i]);
        together += (pp[i] + qq[i]) * (pp[i] + qq[i]);
    }
    // Take the shorter way round.
    if (apart > together)
        for (float& c : qq)
            c = -c;

    const float cosom = pp[0] * qq[0] + pp[1] * qq[1] + pp[2] * qq[2] + pp[3] * qq[3];
    if (1.0f + cosom > 1e-6f) {
        float sp, sq;
        if (1.0f - cosom > 1e-6f) {
            const float omega = acosf(cosom);
            const float sinom = sinf(omega);
            sp = sinf((1.0f - t) * omega) / sinom;
            sq = sinf(t * omega) / sinom;
        } else {
            sp = 1.0f - t;
            sq = t;
        }
        for (int i = 0; i < 4; ++i)
            out[i] = sp * pp[i] + sq * qq[i];
        return;
    }
    // Opposite quaternions: go through a perpendicular one.
    const float perp[4] = {-pp[1], pp[0], -pp[3], pp[2]};
    const float sp = sinf((1.0f - t) * 0.5f * kmath::kPi);
    const float sq = sinf(t * 0.5f * kmath::kPi);
    for (int i = 0; i < 3; ++i)
        out[i] = sp * pp[i] + sq * perp[i];
    out[3] = perp[3];
}

void K_CompressVector(const vec3 dir, uint16_t out[2]) {
    if (fabsf(dir[0]) < 0.001f && fabsf(dir[1]) < 0.001f) {
        out[0] = 0;
        out[1] = dir[2] > 0.0f ? 0 : 0x7FFF;
        return;
    }
    float yaw = atan2f(dir[1], dir[0]) / kTwoPi;
    if (yaw < 0.0f) yaw += 1.0f;
    // A z slightly outside [-1, 1] from rounding would make acos NaN.
    const float z = dir[2] > 1.0f ? 1.0f : dir[2] < -1.0f ? -1.0f : dir[2];
    float pitch = acosf(z) / kTwoPi;
    if (pitch < 0.0f) pitch += 1.0f;
    // NaN input gives 0 rather than an undefined conversion.
    out[0] = yaw >= 0.0f ? uint16_t(yaw * 65535.0f) : 0;
    out[1] = pitch >= 0.0f ? uint16_t(pitch * 65535.0f) : 0;
}

void K_DecompressVector(const uint16_t in[2], vec3 dir) {
    const float yaw = in[0] * kTwoPi / 65535.0f;
    const float pitch = in[1] * kTwoPi / 65535.0f;
    const float sp = sinf(pitch);
    dir[0] = cosf(yaw) * sp;
    dir[1] = sinf(yaw) * sp;
    dir[2] = cosf(pitch);
}
