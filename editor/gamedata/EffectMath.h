// Small helpers shared by the effect run time: time-driven table indices and 3-vectors.
#pragma once

#include <cmath>
#include <cstdint>

#include "gamedata/EffectBatch.h"

// Truncation toward zero through 64 bits, so that large times and frequencies keep the low bits
// a table index needs; 0 for NaN and infinities. (Beyond 2^63 a float is a multiple of 2^40: its
// low bits are all zero anyway.)
inline int64_t Effect_Truncate(double value) {
    if (!(std::fabs(value) < 9.2233720368547758e18)) return 0; // NaN fails the comparison too
    return static_cast<int64_t>(value);
}
// The truncated value's low 32 bits, as the kstdlib sine lookup takes them.
inline unsigned int Effect_TableIndex(double value) {
    return static_cast<unsigned int>(static_cast<uint64_t>(Effect_Truncate(value)) & 0xffffffffu);
}

inline float Effect_Dot(const float* a, const float* b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
inline void Effect_Subtract(const float* a, const float* b, float* out) {
    out[0] = a[0] - b[0];
    out[1] = a[1] - b[1];
    out[2] = a[2] - b[2];
}
inline void Effect_Scale(const float* v, float scale, float* out) {
    out[0] = v[0] * scale;
    out[1] = v[1] * scale;
    out[2] = v[2] * scale;
}
inline void Effect_Cross(const float* a, const float* b, float* out) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}
inline float Effect_Length(const float* v) {
    return std::sqrt(Effect_Dot(v, v));
}
// Scales v to unit length; a zero or non-finite vector becomes (0, 0, 0) and gives false.
inline bool Effect_Normalize(float* v) {
    const float lengthSquared = Effect_Dot(v, v);
    if (!(lengthSquared > 0.0f && lengthSquared <= 3.4028235e38f)) {
        v[0] = v[1] = v[2] = 0.0f;
        return false;
    }
    Effect_Scale(v, 1.0f / std::sqrt(lengthSquared), v);
    return true;
}
