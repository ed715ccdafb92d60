// Rigid, orientation, view and general matrices (row-major 3x3, 3x4 and 4x4).
#include <cmath>
#include <cstring>

#include "kstdlib/MathTable.h"
#include "kstdlib/kmath.h"

namespace {

struct SinCos {
    float s, c;
};

SinCos OfDegrees(float degrees) {
    const float r = degrees * kmath::kDegToRad;
    return {sinf(r), cosf(r)};
}

// The rotation shared by the transform and angle matrices, times scale, into a matrix with
// `stride` floats per row.
void RotationRows(float yaw, float pitch, float roll, float scale, float* out, int stride) {
    const SinCos y = OfDegrees(yaw), p = OfDegrees(pitch), r = OfDegrees(roll);
    const float rows[3][3] = {
        {p.c * y.c, p.s * r.s * y.c - y.s * r.c, p.s * r.c * y.c + y.s * r.s},
        {p.c * y.s, p.s * r.s * y.s + y.c * r.c, p.s * r.c * y.s - y.c * r.s},
        {-p.s, p.c * r.s, p.c * r.c},
    };
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            out[stride * i + j] = scale * rows[i][j];
}

void SetIdentity4x4(float* m) {
    std::memset(m, 0, 16 * sizeof(float));
    m[0] = m[5] = m[10] = m[15] = 1.0f;
}

// Rotation transposed, translation -(R^T t); rows 0..2 of a 3x4 and a 4x4 share one layout.
void InvertRigid(const float* src, float* dst) {
    float out[12];
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c)
            out[4 * r + c] = src[4 * c + r];
        out[4 * r + 3] = -(src[r] * src[3] + src[4 + r] * src[7] + src[8 + r] * src[11]);
    }
    std::memcpy(dst, out, sizeof(out));
}

} // namespace

namespace kmath {

void MatrixMultiply4x4(const float* a, const float* b, float* out) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            out[4 * r + c] = a[4 * r] * b[c] + a[4 * r + 1] * b[4 + c] + a[4 * r + 2] * b[8 + c] +
                             a[4 * r + 3] * b[12 + c];
}

} // namespace kmath

void K_BuildOrientationMatrix(const vec3 forward, const vec3 right, const vec3 up, const vec3 origin,
                              float out[16]) {
    const float* rows[4] = {forward, right, up, origin};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c)
            out[4 * r + c] = rows[r][c];
        out[4 * r + 3] = r == 3 ? 1.0f : 0.0f;
    }
}

void K_BuildTransformMatrix(float yaw, float pitch, float roll, const vec3 origin, float out[16]) {
    RotationRows(yaw, pitch, roll, 1.0f, out, 4);
    for (int r = 0; r < 3; ++r)
        out[4 * r + 3] = origin[r];
    out[12] = out[13] = out[14] = 0.0f;
    out[15] = 1.0f;
}

void K_BuildTransformStudioMatrix(float yaw, float pitch, float roll, const vec3 origin, float scale,
                                  float out[12]) {
    RotationRows(yaw, pitch, roll, scale, out, 4);
    for (int r = 0; r < 3; ++r)
        out[4 * r + 3] = origin[r];
}

void K_BuildOrientationStudioMatrix(const vec3 forward, const vec3 right, const vec3 up, const vec3 origin,
                                    float scale, float out[12]) {
    for (int r = 0; r < 3; ++r) {
        out[4 * r] = scale * forward[r];
        out[4 * r + 1] = scale * right[r];
        out[4 * r + 2] = scale * up[r];
        out[4 * r + 3] = origin[r];
    }
}

void K_BuildViewMatrix(float a1, float a2, float a3, const vec3 origin, float out[16]) {
    const SinCos x1 = OfDegrees(a1), x2 = OfDegrees(a2), x3 = OfDegrees(a3);
    const float s1 = x1.s, c1 = x1.c, s2 = x2.s, c2 = x2.c, s3 = x3.s, c3 = x3.c;
    const float m[3][3] = {
        {-c3 * s2 * s1 - s3 * c1, s3 * s1 - c3 * s2 * c1, -c3 * c2},
        {s3 * s2 * s1 - c3 * c1, s3 * s2 * c1 + c3 * s1, s3 * c2},
        {c2 * s1, c2 * c1, -s2},
    };
    const float o[3] = {origin[0], origin[1], origin[2]};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c)
            out[4 * r + c] = m[r][c];
        out[4 * r + 3] = 0.0f;
    }
    for (int c = 0; c < 3; ++c)
        out[12 + c] = m[0][c] * o[0] + m[1][c] * o[1] + m[2][c] * o[2];
    out[15] = 1.0f;
}

void K_BuildViewMatrixEx(float a1, float a2, float a3, float a4, float a5, float a6, const vec3 origin,
                         float out[16]) {
    const SinCos x1 = OfDegrees(a1), x2 = OfDegrees(a2), x3 = OfDegrees(a3);
    const SinCos x4 = OfDegrees(a4), x5 = OfDegrees(a5), x6 = OfDegrees(a6);
    const float s1 = x1.s, c1 = x1.c, s2 = x2.s, c2 = x2.c, s3 = x3.s, c3 = x3.c;
    const float s4 = x4.s, c4 = x4.c, s5 = x5.s, c5 = x5.c, s6 = x6.s, c6 = x6.c;
    const float a[16] = {
        c3 * c2,
        s3 * c2,
        -s2,
        0.0f, //
        s2 * s1 * c3 - s3 * c1,
        s2 * s1 * s3 + c3 * c1,
        c2 * s1,
        0.0f, //
        s2 * c1 * c3 + s3 * s1,
        s2 * c1 * s3 - c3 * s1,
        c2 * c1,
        0.0f, //
        0.0f,
        0.0f,
        0.0f,
        1.0f, //
    };
    const float b[16] = {
        -s6,
        -c6 * s5,
        -c6 * c5,
        0.0f, //
        -c6 * c4,
        s6 * c4 * s5 + c5 * s4,
        s6 * c4 * c5 - s5 * s4,
        0.0f, //
        c6 * s4,
        c5 * c4 - s6 * s4 * s5,
        -s6 * s4 * c5 - s5 * c4,
        0.0f, //
        0.0f,
        0.0f,
        0.0f,
        1.0f, //
    };
    float t[16], ab[16];
    SetIdentity4x4(t);
    t[12] = origin[0];
    t[13] = origin[1];
    t[14] = origin[2];
    k_mathTable.matrixMultiply4x4(a, b, ab);
    k_mathTable.matrixMultiply4x4(t, ab, out);
}

void K_TransposeMatrix(const float src[16], float dst[16]) {
    float t[16];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            t[4 * r + c] = src[4 * c + r];
    std::memcpy(dst, t, sizeof(t));
}

void K_InverseMatrix(const float src[12], float dst[16]) {
    InvertRigid(src, dst);
    dst[12] = dst[13] = dst[14] = 0.0f;
    dst[15] = 1.0f;
}

void K_InverseStudioMatrix(const float src[12], float dst[12]) {
    InvertRigid(src, dst);
}

// Gaussian elimination with partial pivoting on [src | identity], then back substitution.
bool K_InverseMatrixFull(const float src[16], float dst[16]) {
    float rows[4][8];
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            rows[r][c] = src[4 * r + c];
            rows[r][4 + c] = r == c ? 1.0f : 0.0f;
        }
    }
    for (int k = 0; k < 4; ++k) {
        // Bubble the largest magnitude of column k up to row k; the upper row wins ties.
        for (int j = 3; j > k; --j) {
            if (fabsf(rows[j][k]) > fabsf(rows[j - 1][k])) {
                float tmp[8];
                std::memcpy(tmp, rows[j], sizeof(tmp));
                std::memcpy(rows[j], rows[j - 1], sizeof(tmp));
                std::memcpy(rows[j - 1], tmp, sizeof(tmp));
            }
        }
        const float pivot = rows[k][k];
        if (pivot == 0.0f) return false;
        for (int j = k + 1; j < 4; ++j) {
            const float factor = rows[j][k] / pivot;
            for (int c = k; c < 4; ++c)
                rows[j][c] -= factor * rows[k][c];
            for (int c = 4; c < 8; ++c)
                if (rows[k][c] != 0.0f) rows[j][c] -= factor * rows[k][c];
        }
    }
    for (int r = 3; r >= 0; --r) {
        for (int j = 3; j > r; --j) {
            const float factor = rows[r][j];
            for (int c = 4; c < 8; ++c)
                rows[r][c] -= factor * rows[j][c];
        }
        const float pivot = rows[r][r];
        for (int c = 4; c < 8; ++c)
            rows[r][c] /= pivot;
    }
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            dst[4 * r + c] = rows[r][4 + c];
    return true;
}

void K_MatrixMultiply3x3(const float a[9], const float b[9], float out[9]) {
    float t[9];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            t[3 * r + c] = a[3 * r] * b[c] + a[3 * r + 1] * b[3 + c] + a[3 * r + 2] * b[6 + c];
    std::memcpy(out, t, sizeof(t));
}

void K_ConcatTransforms(const float a[12], const float b[12], float out[12]) {
    float t[12];
    for (int r = 0; r < 3; ++r) {
        const float* ar = a + 4 * r;
        for (int c = 0; c < 4; ++c)
            t[4 * r + c] = ar[0] * b[c] + ar[1] * b[4 + c] + ar[2] * b[8 + c];
        t[4 * r + 3] += ar[3];
    }
    std::memcpy(out, t, sizeof(t));
}

void K_AngleMatrix(const vec3 angles, float out[12]) {
    RotationRows(angles[2], angles[1], angles[0], 1.0f, out, 4);
    out[3] = out[7] = out[11] = 0.0f;
}

void K_AngleIMatrix(const vec3 angles, float out[12]) {
    float r[12];
    K_AngleMatrix(angles, r);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            out[4 * i + j] = r[4 * j + i];
    out[3] = out[7] = out[11] = 0.0f;
}
