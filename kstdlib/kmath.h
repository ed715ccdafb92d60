// Library start-up, CPU information, the math-function table, vector/plane/bounds/matrix math,
// angles and quaternions.
//
// Matrices are row-major float arrays: 3x4 (12 floats, rotation in columns 0..2, translation in
// column 3), 4x4 (16 floats) and 3x3 (9 floats); element [r][c] sits at index columns * r + c.
#pragma once

#include <stddef.h>
#include <stdint.h>
#ifndef __cplusplus
#include <stdbool.h>
#endif

#include "kstdlib/kexport.h"

typedef float vec3[3];
typedef float vec4[4];

// The process-wide CPU information record; its layout is part of the library's interface.
typedef struct KCPUInformation {
    uint64_t size;               // 40 once filled
    uint32_t features;           // K_CPU_* bits
    uint32_t logicalProcessors;  // in all
    uint32_t physicalProcessors; // processor packages
    uint32_t reserved;           // 0
    int64_t clockSpeed;          // measured time-stamp-counter ticks per second
    const char* vendor;          // 12-character cpuid vendor string, zero-terminated
} KCPUInformation;

// Feature bits of KCPUInformation::features.
enum {
    K_CPU_TSC = 0x1,
    K_CPU_CMOV = 0x2,
    K_CPU_PAT = 0x4,
    K_CPU_SSE = 0x8,
    K_CPU_SSE2 = 0x10,
    K_CPU_SSE3 = 0x20,
    K_CPU_SSSE3 = 0x40,
    K_CPU_SSE41 = 0x80,
    K_CPU_SSE42 = 0x100,
    K_CPU_3DNOW = 0x200,
    K_CPU_3DNOWEXT = 0x400,
    K_CPU_MMX = 0x800,
    K_CPU_HTT = 0x1000
};

// Requests of K_MathLib_Initialize and K_MathLib_FeatureEnabled.
enum { K_MATHLIB_SSE = 1, K_MATHLIB_SSE2 = 2, K_MATHLIB_SSE3 = 4, K_MATHLIB_SSE41 = 8 };

// A plane: points p on it satisfy normal . p == dist. Crosses into plugins by pointer.
typedef struct KPlane {
    float normal[3];
    float dist;
    uint8_t type;     // K_PLANE_X/Y/Z: axial, only that normal component is used; K_PLANE_ANY: general
    uint8_t signbits; // bit i set when normal[i] < 0
    uint8_t reserved[2];
} KPlane;

enum { K_PLANE_X = 0, K_PLANE_Y = 1, K_PLANE_Z = 2, K_PLANE_ANY = 3 };

// Results of the point and box side tests.
enum { K_SIDE_ON = 0, K_SIDE_FRONT = 1, K_SIDE_BACK = 2, K_SIDE_CROSS = 3 };

#ifdef __cplusplus
static_assert(sizeof(KCPUInformation) == 40, "CPU information record is 40 bytes");
static_assert(offsetof(KCPUInformation, features) == 8);
static_assert(offsetof(KCPUInformation, logicalProcessors) == 12);
static_assert(offsetof(KCPUInformation, physicalProcessors) == 16);
static_assert(offsetof(KCPUInformation, reserved) == 20);
static_assert(offsetof(KCPUInformation, clockSpeed) == 24);
static_assert(offsetof(KCPUInformation, vendor) == 32);
static_assert(sizeof(KPlane) == 20, "plane record is 20 bytes");
static_assert(offsetof(KPlane, dist) == 12);
static_assert(offsetof(KPlane, type) == 16);
static_assert(offsetof(KPlane, signbits) == 17);
#endif

KSTDLIB_BEGIN

// ---- Start-up, CPU information, table functions --------------------------------------------------

// Reads the CPU record, (re)stores the function table, records the feature switches, builds the
// sine and square-root tables and seeds the random generator like K_SRand(0). May be called again.
KSTDLIB_API void K_MathLib_Initialize(int flags);
// The switch recorded for request 1, 2, 4 or 8; false for anything else.
KSTDLIB_API bool K_MathLib_FeatureEnabled(int feature);
// Filled on first use (measures the clock for about 31 ms), then the same record every time.
KSTDLIB_API const KCPUInformation* K_GetCPUInformation(void);

KSTDLIB_API float K_TableSinLookup(unsigned int index);
KSTDLIB_API float K_TableCosLookup(unsigned int index);
// 1024-step table sine/cosine; valid while |angle * 1024 / 2pi| < 2^22.
KSTDLIB_API float K_TableSin(float angle);
KSTDLIB_API float K_TableCos(float angle);
// Table square root (about 15 bits of mantissa); defined for positive finite x and 0.
KSTDLIB_API float K_TableSqrt(float x);

// Forwarding entry points: each jumps through its slot of the function table.
KSTDLIB_API float K_Sqrt(float x);
KSTDLIB_API float K_RSqrt(float x);
KSTDLIB_API float K_SqrtFast(float x);
KSTDLIB_API float K_RSqrtFast(float x);
// 1 / |v|^2, or 1 when |v|^2 < 1.
KSTDLIB_API float K_InvRSquared(const vec3 v);
// Writes sine and cosine; returns the cosine.
KSTDLIB_API float K_SinCos(float angle, float* sine, float* cosine);
KSTDLIB_API float K_SinCosPrecise(float angle, float* sine, float* cosine);
KSTDLIB_API float K_Cos(float angle);
// acosf; a result beyond +-pi becomes pi; NaN passes through.
KSTDLIB_API float K_Acos(float x);

// ---- Vectors (forwarding through the function table) ----------------------------------------------

// Scales v to unit length and returns the former length; a zero vector stays and gives 0.
KSTDLIB_API float K_VectorNormalize(vec3 v);
// Divides by (length + 2^-23) without a zero test; returns that divisor.
KSTDLIB_API float K_VectorNormalizeFast(vec3 v);
KSTDLIB_API void K_VectorTransform(const vec3 in, const float m[12], vec3 out);
KSTDLIB_API void K_VectorRotate(const vec3 in, const float m[12], vec3 out);
KSTDLIB_API void K_Vector4DTransform(const vec4 in, const float m[16], vec4 out);
KSTDLIB_API void K_Vector4DRotate(const vec3 in, const float m[16], vec4 out);
KSTDLIB_API void K_VectorTransformMulti(int count, const vec3* in, const float m[12], vec3* out);
KSTDLIB_API void K_VectorRotateMulti(int count, const vec3* in, const float m[12], vec3* out);
// out = a * b; out must not alias a or b.
KSTDLIB_API void K_MatrixMultiply4x4(const float a[16], const float b[16], float out[16]);

// ---- Planes and points ----------------------------------------------------------------------------

KSTDLIB_API int K_SetPlaneSignbits(KPlane* plane);
KSTDLIB_API int K_SignbitsForNormal(const vec3 normal);
// K_SIDE_FRONT beyond +epsilon, K_SIDE_BACK beyond -epsilon, else K_SIDE_ON.
KSTDLIB_API int K_PointOnPlaneSide(const vec3 point, float epsilon, const KPlane* plane);
// K_SIDE_FRONT, K_SIDE_BACK or K_SIDE_CROSS.
KSTDLIB_API int K_BoxOnPlaneSide(const vec3 mins, const vec3 maxs, const KPlane* plane);
// Same for a plane given as (normal, dist), always the general test.
KSTDLIB_API int K_BoxOnPlaneSide2(const vec3 mins, const vec3 maxs, const vec4 plane);
// Moves a plane by a rigid 3x4 transform; returns the new signbits.
KSTDLIB_API int K_PlaneTransform(const KPlane* in, const float m[12], KPlane* out);
KSTDLIB_API void K_ProjectPointOnPlane(vec3 dst, const vec3 point, const vec3 normal);
KSTDLIB_API void K_ProjectPointOnVector(vec3 dst, const vec3 point, const vec3 start, const vec3 end);
// A unit vector perpendicular to src.
KSTDLIB_API void K_PerpendicularVector(vec3 dst, const vec3 src);
// Right-handed rotation about the unit axis dir through the origin.
KSTDLIB_API void K_RotatePointAroundVector(vec3 dst, const vec3 dir, const vec3 point, float degrees);
KSTDLIB_API void K_RotatePointAroundVectorHR(vec3 dst, const vec3 dir, const vec3 point, float halfAngle);

// ---- Bounds ---------------------------------------------------------------------------------------

KSTDLIB_API void K_ClearBounds(vec3 mins, vec3 maxs);
KSTDLIB_API void K_AddPointToBounds(const vec3 point, vec3 mins, vec3 maxs);
KSTDLIB_API void K_AddBoxToBounds(const vec3 boxMins, const vec3 boxMaxs, vec3 mins, vec3 maxs);
// Widens every flat axis by 0.001 on both sides.
KSTDLIB_API void K_ValidateBounds(vec3 mins, vec3 maxs);
KSTDLIB_API float K_RadiusFromBounds(const vec3 mins, const vec3 maxs);
// Bounds of the eight transformed corners; either output may be null.
KSTDLIB_API void K_TransformAABB(const vec3 mins, const vec3 maxs, const float m[12], vec3 outMins,
                                 vec3 outMaxs);
KSTDLIB_API void K_RotateAABB(const vec3 mins, const vec3 maxs, const float m[12], vec3 outMins,
                              vec3 outMaxs);

// ---- Matrices (angles in degrees) -----------------------------------------------------------------

KSTDLIB_API void K_BuildOrientationMatrix(const vec3 forward, const vec3 right, const vec3 up,
                                          const vec3 origin, float out[16]);
KSTDLIB_API void K_BuildTransformMatrix(float yaw, float pitch, float roll, const vec3 origin, float out[16]);
KSTDLIB_API void K_BuildTransformStudioMatrix(float yaw, float pitch, float roll, const vec3 origin,
                                              float scale, float out[12]);
KSTDLIB_API void K_BuildOrientationStudioMatrix(const vec3 forward, const vec3 right, const vec3 up,
                                                const vec3 origin, float scale, float out[12]);
KSTDLIB_API void K_BuildViewMatrix(float a1, float a2, float a3, const vec3 origin, float out[16]);
KSTDLIB_API void K_BuildViewMatrixEx(float a1, float a2, float a3, float a4, float a5, float a6,
                                     const vec3 origin, float out[16]);
KSTDLIB_API void K_TransposeMatrix(const float src[16], float dst[16]);
// Inverse of a rigid 3x4 as a 4x4 / as a 3x4.
KSTDLIB_API void K_InverseMatrix(const float src[12], float dst[16]);
KSTDLIB_API void K_InverseStudioMatrix(const float src[12], float dst[12]);
// General 4x4 inverse; false (dst untouched) when src is singular.
KSTDLIB_API bool K_InverseMatrixFull(const float src[16], float dst[16]);
KSTDLIB_API void K_MatrixMultiply3x3(const float a[9], const float b[9], float out[9]);
KSTDLIB_API void K_ConcatTransforms(const float a[12], const float b[12], float out[12]);
// Model angles: [0] roll, [1] pitch, [2] yaw.
KSTDLIB_API void K_AngleMatrix(const vec3 angles, float out[12]);
KSTDLIB_API void K_AngleIMatrix(const vec3 angles, float out[12]);

// ---- Angles and quaternions -----------------------------------------------------------------------
// Game angles: [0] pitch, [1] yaw, [2] roll in degrees. Quaternions are (x, y, z, w) except for
// K_QuaternionProduct and K_QuaternionInverse, which take the scalar first.

KSTDLIB_API void K_AngleVectors(const vec3 angles, vec3 forward, vec3 right, vec3 up);
KSTDLIB_API void K_AngleVectorsEx(const vec3 angles1, const vec3 angles2, vec3 forward, vec3 right, vec3 up);
KSTDLIB_API void K_VectorToAngles(const vec3 vec, vec3 angles);
KSTDLIB_API float K_VectorToYaw(const vec3 vec);
KSTDLIB_API void K_AxesToAngles(const vec3 forward, const vec3 right, const vec3 up, vec3 angles);
KSTDLIB_API float K_LerpAngle(float from, float to, float fraction);
KSTDLIB_API void K_LerpAngles(vec3 out, const vec3 from, const vec3 to, float fraction);
// Brings an angle into [-180, 180]; not-finite angles give NaN.
KSTDLIB_API float K_NormalizeAngle(float angle);
KSTDLIB_API void K_NormalizeAngles(vec3 angles);
// Writes the rotation part of m only; column 3 keeps its contents.
KSTDLIB_API void K_QuaternionMatrix(const vec4 q, float m[12]);
KSTDLIB_API void K_MatrixQuaternion(const float m[12], vec4 q);
// Model angles in radians.
KSTDLIB_API void K_AngleQuaternion(const vec3 angles, vec4 q);
KSTDLIB_API void K_QuaternionAngle(const vec4 q, vec3 angles);
KSTDLIB_API void K_QuaternionInverse(const vec4 q, vec4 out);
KSTDLIB_API void K_QuaternionProduct(const vec4 a, const vec4 b, vec4 out);
KSTDLIB_API void K_QuaternionSlerp(const vec4 p, const vec4 q, float t, vec4 out);
// Unit direction to (yaw, pitch) words and back.
KSTDLIB_API void K_CompressVector(const vec3 dir, uint16_t out[2]);
KSTDLIB_API void K_DecompressVector(const uint16_t in[2], vec3 dir);

KSTDLIB_END
