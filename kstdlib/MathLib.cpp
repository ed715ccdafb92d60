// Library start-up, the math-function table, the table sine/cosine/square root and the scalar
// routines behind the table.
#include <bit>
#include <cmath>
#include <cstdint>

#include "kstdlib/MathTable.h"
#include "kstdlib/kmath.h"
#include "kstdlib/krandom.h"

namespace {

constexpr int kSinTableSize = 1024;
constexpr int kSqrtTableSize = 65536;

float s_sinTable[kSinTableSize];
uint32_t s_sqrtTable[kSqrtTableSize];
// Switches for the requests 1, 2, 4 and 8, in that order.
bool s_featureSwitches[4];

float PlainSqrt(float x) {
    return sqrtf(x);
}
float PlainRSqrt(float x) {
    return 1.0f / sqrtf(x);
}

// First guess of the reciprocal square root from the bit pattern.
float RSqrtGuess(float x) {
    return std::bit_cast<float>(0x5F3759DFu - (std::bit_cast<uint32_t>(x) >> 1));
}

float PlainRSqrtFast(float x) {
    const float y = RSqrtGuess(x);
    return (1.5f - x * 0.5f * y * y) * y;
}

float PlainSqrtFast(float x) {
    const float y0 = RSqrtGuess(x);
    const float y1 = y0 * (1.5f - y0 * (x * 0.5f) * y0);
    const float y2 = (1.5f - x * 0.5f * y1 * y1) * y1;
    return y2 * x;
}

float PlainInvRSquared(const float* v) {
    const float s = v[0] * v[0] + v[1] * v[1] + v[2] * v[2];
    return s < 1.0f ? 1.0f : 1.0f / s;
}

float PlainSinCos(float angle, float* sine, float* cosine) {
    *sine = sinf(angle);
    *cosine = cosf(angle);
    return *cosine;
}

float PlainCos(float angle) {
    return cosf(angle);
}

void BuildSinTable() {
    for (int i = 0; i < kSinTableSize; ++i)
        s_sinTable[i] = static_cast<float>(std::sin(i * 2.0 * 3.14159265358979323846 / kSinTableSize));
}

// Entry i holds the mantissa of sqrt of [2, 4) values, entry 32768 + i of [1, 2) values, both
// indexed by the top 15 mantissa bits: the index is then the lowest exponent bit and those 15 bits.
void BuildSqrtTable() {
    for (uint32_t i = 0; i < 32768; ++i) {
        const float one = std::bit_cast<float>((i | 0x3F8000u) << 8);
        const float two = std::bit_cast<float>((i | 0x400000u) << 8);
        s_sqrtTable[32768 + i] = std::bit_cast<uint32_t>(sqrtf(one)) & 0x7FFFFFu;
        s_sqrtTable[i] = std::bit_cast<uint32_t>(sqrtf(two)) & 0x7FFFFFu;
    }
}

// The lookup tables are built when the library is loaded, so the table functions give right
// answers even before K_MathLib_Initialize; initialisation rebuilds them identically.
struct TableBuilder {
    TableBuilder() {
        BuildSinTable();
        BuildSqrtTable();
    }
} s_tableBuilder;

constexpr MathTable kPlainRoutines = {
    PlainSqrt,
    PlainRSqrt,
    PlainSqrtFast,
    PlainRSqrtFast,
    PlainInvRSquared,
    PlainSinCos,
    PlainCos,
    kmath::VectorNormalize,
    kmath::VectorNormalizeFast,
    kmath::VectorTransform,
    kmath::VectorRotate,
    kmath::Vector4DTransform,
    kmath::Vector4DRotate,
    kmath::VectorTransformMulti,
    kmath::VectorRotateMulti,
    kmath::MatrixMultiply4x4,
};

// 1024 / (2 pi) as a float, and 1.5 * 2^23: adding it leaves the rounded integer in the low bits.
const float kTableScale = std::bit_cast<float>(0x4322F983u);
constexpr float kRoundSin = 12582912.0f;
constexpr float kRoundCos = 12583168.0f; // a quarter turn (256 entries) ahead

float TableSinIndexed(float angle, float round) {
    const float t = angle * kTableScale + round;
    return s_sinTable[std::bit_cast<uint32_t>(t) & (kSinTableSize - 1)];
}

} // namespace

MathTable k_mathTable = kPlainRoutines;

void K_MathLib_Initialize(int flags) {
    const KCPUInformation* cpu = K_GetCPUInformation();
    k_mathTable = kPlainRoutines;

    static const struct {
        int request;
        uint32_t feature;
    } kSwitches[4] = {{K_MATHLIB_SSE, K_CPU_SSE},
                      {K_MATHLIB_SSE2, K_CPU_SSE2},
                      {K_MATHLIB_SSE3, K_CPU_SSE3},
                      {K_MATHLIB_SSE41, K_CPU_SSE41}};
    for (int i = 0; i < 4; ++i)
        s_featureSwitches[i] = (flags & kSwitches[i].request) && (cpu->features & kSwitches[i].feature);

    BuildSinTable();
    BuildSqrtTable();
    K_SRand(0);
}

bool K_MathLib_FeatureEnabled(int feature) {
    switch (feature) {
    case K_MATHLIB_SSE:
        return s_featureSwitches[0];
    case K_MATHLIB_SSE2:
        return s_featureSwitches[1];
    case K_MATHLIB_SSE3:
        return s_featureSwitches[2];
    case K_MATHLIB_SSE41:
        return s_featureSwitches[3];
    default:
        return false;
    }
}

float K_TableSinLookup(unsigned int index) {
    return s_sinTable[index & (kSinTableSize - 1)];
}
float K_TableCosLookup(unsigned int index) {
    return s_sinTable[(index + 256) & (kSinTableSize - 1)];
}
float K_TableSin(float angle) {
    return TableSinIndexed(angle, kRoundSin);
}
float K_TableCos(float angle) {
    return TableSinIndexed(angle, kRoundCos);
}

float K_TableSqrt(float x) {
    const uint32_t bits = std::bit_cast<uint32_t>(x);
    if (bits == 0) return 0.0f;
    const uint32_t exponent = (((bits - 0x3F800000u) >> 1) + 0x3F800000u) & 0x7F800000u;
    return std::bit_cast<float>(s_sqrtTable[(bits >> 8) & 0xFFFFu] | exponent);
}

float K_Sqrt(float x) {
    return k_mathTable.sqrt(x);
}
float K_RSqrt(float x) {
    return k_mathTable.rsqrt(x);
}
float K_SqrtFast(float x) {
    return k_mathTable.sqrtFast(x);
}
float K_RSqrtFast(float x) {
    return k_mathTable.rsqrtFast(x);
}
float K_InvRSquared(const vec3 v) {
    return k_mathTable.invRSquared(v);
}
float K_SinCos(float angle, float* sine, float* cosine) {
    return k_mathTable.sinCos(angle, sine, cosine);
}
float K_SinCosPrecise(float angle, float* sine, float* cosine) {
    return PlainSinCos(angle, sine, cosine);
}
float K_Cos(float angle) {
    return k_mathTable.cos(angle);
}

float K_Acos(float x) {
    const float r = acosf(x);
    return (r > 3.1415927f || r < -3.1415927f) ? 3.1415927f : r;
}

float K_VectorNormalize(vec3 v) {
    return k_mathTable.vectorNormalize(v);
}
float K_VectorNormalizeFast(vec3 v) {
    return k_mathTable.vectorNormalizeFast(v);
}
void K_VectorTransform(const vec3 in, const float m[12], vec3 out) {
    k_mathTable.vectorTransform(in, m, out);
}
void K_VectorRotate(const vec3 in, const float m[12], vec3 out) {
    k_mathTable.vectorRotate(in, m, out);
}
void K_Vector4DTransform(const vec4 in, const float m[16], vec4 out) {
    k_mathTable.vector4DTransform(in, m, out);
}
void K_Vector4DRotate(const vec3 in, const float m[16], vec4 out) {
    k_mathTable.vector4DRotate(in, m, out);
}

void K_VectorTransformMulti(int count, const vec3* in, const float m[12], vec3* out) {
    k_mathTable.vectorTransformMulti(count, in, m, out);
}

void K_VectorRotateMulti(int count, const vec3* in, const float m[12], vec3* out) {
    k_mathTable.vectorRotateMulti(count, in, m, out);
}

void K_MatrixMultiply4x4(const float a[16], const float b[16], float out[16]) {
    k_mathTable.matrixMultiply4x4(a, b, out);
}
