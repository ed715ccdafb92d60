// Small inline vector helpers for the per-vertex loops of brushes and faces, where a call through
// the kstdlib function table per dot product would dominate the face rebuild.
#pragma once

#include <cmath>

inline float Vec_Dot(const float a[3], const float b[3]) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
inline void Vec_Sub(const float a[3], const float b[3], float out[3]) {
    out[0] = a[0] - b[0];
    out[1] = a[1] - b[1];
    out[2] = a[2] - b[2];
}
inline void Vec_Cross(const float a[3], const float b[3], float out[3]) {
    const float x = a[1] * b[2] - a[2] * b[1];
    const float y = a[2] * b[0] - a[0] * b[2];
    const float z = a[0] * b[1] - a[1] * b[0];
    out[0] = x;
    out[1] = y;
    out[2] = z;
}
inline void Vec_Copy(const float a[3], float out[3]) {
    out[0] = a[0];
    out[1] = a[1];
    out[2] = a[2];
}
inline void Vec_Set(float out[3], float x, float y, float z) {
    out[0] = x;
    out[1] = y;
    out[2] = z;
}
inline float Vec_Length(const float a[3]) {
    return std::sqrt(Vec_Dot(a, a));
}
// Scales to unit length and returns the former length; a zero vector stays zero.
inline float Vec_Normalize(float a[3]) {
    const float len = Vec_Length(a);
    if (len > 0.0f) {
        const float inv = 1.0f / len;
        a[0] *= inv;
        a[1] *= inv;
        a[2] *= inv;
    }
    return len;
}
