// The library's private function table and lookup tables (not part of the public headers).
#pragma once

#include <stdint.h>

#include "kstdlib/kmath.h"

// Routines the forwarding exports and the library's own callers go through. Filled statically
// with the plain routines, so the exports work even before K_MathLib_Initialize.
struct MathTable {
    float (*sqrt)(float);
    float (*rsqrt)(float);
    float (*sqrtFast)(float);
    float (*rsqrtFast)(float);
    float (*invRSquared)(const float*);
    float (*sinCos)(float, float*, float*);
    float (*cos)(float);
    float (*vectorNormalize)(float*);
    float (*vectorNormalizeFast)(float*);
    void (*vectorTransform)(const float*, const float*, float*);
    void (*vectorRotate)(const float*, const float*, float*);
    void (*vector4DTransform)(const float*, const float*, float*);
    void (*vector4DRotate)(const float*, const float*, float*);
    void (*vectorTransformMulti)(int, const vec3*, const float*, vec3*);
    void (*vectorRotateMulti)(int, const vec3*, const float*, vec3*);
    void (*matrixMultiply4x4)(const float*, const float*, float*);
};

extern MathTable k_mathTable;

// The plain vector and matrix routines stored in the table (Vector.cpp, Matrix.cpp).
namespace kmath {
float VectorNormalize(float* v);
float VectorNormalizeFast(float* v);
void VectorTransform(const float* in, const float* m, float* out);
void VectorRotate(const float* in, const float* m, float* out);
void Vector4DTransform(const float* in, const float* m, float* out);
void Vector4DRotate(const float* in, const float* m, float* out);
void VectorTransformMulti(int count, const vec3* in, const float* m, vec3* out);
void VectorRotateMulti(int count, const vec3* in, const float* m, vec3* out);
void MatrixMultiply4x4(const float* a, const float* b, float* out);

constexpr float kPi = 3.14159265358979323846f;
constexpr float kDegToRad = kPi / 180.0f;
constexpr double kRadToDegD = 180.0 / 3.14159265358979323846;
} // namespace kmath
