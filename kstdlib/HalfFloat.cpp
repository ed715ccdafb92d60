// Conversion between 32-bit floats and 16-bit half floats (sign, 5-bit exponent biased by 15,
// 10-bit mantissa). Mantissa bits are truncated, never rounded.
#include <math.h>
#include <string.h>

#include "kstdlib/kutil.h"

uint16_t K_Float2Half(float x) {
    uint32_t bits;
    memcpy(&bits, &x, sizeof(bits));
    const uint32_t sign = (bits >> 16) & 0x8000u;
    const int e = static_cast<int>((bits >> 23) & 0xFFu);
    const uint32_t m = bits & 0x7FFFFFu;
    uint32_t half;
    if (e < 103) {
        half = 0;
    } else if (e == 103) {
        half = 1; // the smallest subnormal
    } else if (e <= 112) {
        half = (m >> (126 - e)) | (1u << (e - 103));
    } else if (e <= 142) {
        half = static_cast<uint32_t>(e - 112) << 10 | (m >> 13);
    } else if (e <= 254) {
        half = 0x7C00u; // too large: infinity
    } else {
        half = 0x7C00u | (m ? 1u : 0u);
    }
    return static_cast<uint16_t>(sign | half);
}

float K_Half2Float(uint16_t h) {
    const uint32_t sign = static_cast<uint32_t>(h & 0x8000u) << 16;
    const uint32_t b = (h >> 10) & 0x1Fu;
    const uint32_t c = h & 0x3FFu;
    if (b == 0) {
        // Zero or subnormal: c * 2^-10 * 2^-14.
        const float magnitude = ldexpf(static_cast<float>(c), -24);
        return sign ? -magnitude : magnitude;
    }
    uint32_t bits;
    if (b == 31)
        bits = sign | 0x7F800000u | (c ? 1u : 0u);
    else
        bits = sign | (b + 112) << 23 | c << 13;
    float result;
    memcpy(&result, &bits, sizeof(result));
    return result;
}
