// Powers of two, byte and box packing, rounding and sorting.
#include <math.h>
#include <stdlib.h>

#include "kstdlib/kutil.h"

namespace {

int ClampByte(int v) {
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

// One field of a packed box: position in its word, width and the offset added to the value.
struct BoxField {
    int shift;
    int bits;
    int offset;
};

// Word 1: mins.z, mins.x, maxs.x; word 2: maxs.z, mins.y, maxs.y.
constexpr BoxField kZField = {0, 12, 2047};
constexpr BoxField kLowXYField = {12, 10, 511};
constexpr BoxField kHighXYField = {22, 10, 511};

uint32_t EncodeField(float value, const BoxField& field) {
    const double max = static_cast<double>((1u << field.bits) - 1u);
    double v = trunc(static_cast<double>(value)) + field.offset;
    if (!(v >= 0.0)) v = 0.0; // also NaN
    if (v > max) v = max;
    return static_cast<uint32_t>(v) << field.shift;
}

int DecodeField(uint32_t word, const BoxField& field) {
    return static_cast<int>((word >> field.shift) & ((1u << field.bits) - 1u));
}

// The six fields of a packed box as mins[3], maxs[3] without their offsets.
void UnpackBox(int32_t word1, int32_t word2, int mins[3], int maxs[3]) {
    const uint32_t w1 = static_cast<uint32_t>(word1);
    const uint32_t w2 = static_cast<uint32_t>(word2);
    mins[0] = DecodeField(w1, kLowXYField) - kLowXYField.offset;
    maxs[0] = DecodeField(w1, kHighXYField) - kHighXYField.offset;
    mins[1] = DecodeField(w2, kLowXYField) - kLowXYField.offset;
    maxs[1] = DecodeField(w2, kHighXYField) - kHighXYField.offset;
    mins[2] = DecodeField(w1, kZField) - kZField.offset;
    maxs[2] = DecodeField(w2, kZField) - kZField.offset;
}

} // namespace

bool K_IsPowerOf2(int n) {
    // Negative numbers (INT_MIN included) are not powers of two; n - 1 cannot overflow for n > 0.
    return n > 0 && (n & (n - 1)) == 0;
}

unsigned K_BestPowerOf2(unsigned a, unsigned b) {
    const unsigned m = a < b ? a : b;
    if (m <= 1) return 1;
    unsigned p = 1;
    while (p <= m / 2)
        p <<= 1;
    return p;
}

unsigned K_NextPowerOf2(unsigned n) {
    if (n == 0) return 0;
    --n;
    n |= n >> 1;
    n |= n >> 2;
    n |= n >> 4;
    n |= n >> 8;
    n |= n >> 16;
    return n + 1;
}

uint32_t K_PackBytes4(int r, int g, int b, int a) {
    return static_cast<uint32_t>(ClampByte(r)) | static_cast<uint32_t>(ClampByte(g)) << 8 |
           static_cast<uint32_t>(ClampByte(b)) << 16 | static_cast<uint32_t>(ClampByte(a)) << 24;
}

uint16_t K_PackBytes2(int lo, int hi) {
    return static_cast<uint16_t>(ClampByte(lo) | ClampByte(hi) << 8);
}

void K_EncodeBBox(const float mins[3], const float maxs[3], int32_t* word1, int32_t* word2) {
    if (!mins || !maxs) return;
    if (word1)
        *word1 = static_cast<int32_t>(EncodeField(mins[2], kZField) | EncodeField(mins[0], kLowXYField) |
                                      EncodeField(maxs[0], kHighXYField));
    if (word2)
        *word2 = static_cast<int32_t>(EncodeField(maxs[2], kZField) | EncodeField(mins[1], kLowXYField) |
                                      EncodeField(maxs[1], kHighXYField));
}

void K_DecodeBBox(int32_t word1, int32_t word2, float mins[3], float maxs[3]) {
    int lo[3], hi[3];
    UnpackBox(word1, word2, lo, hi);
    for (int k = 0; k < 3; ++k) {
        if (mins) mins[k] = static_cast<float>(lo[k]);
        if (maxs) maxs[k] = static_cast<float>(hi[k]);
    }
}

void K_DecodeBBoxCenter(int32_t word1, int32_t word2, float out[3]) {
    if (!out) return;
    int lo[3], hi[3];
    UnpackBox(word1, word2, lo, hi);
    // The offsets cancel in the difference; >> rounds down also for inverted boxes.
    for (int k = 0; k < 3; ++k)
        out[k] = static_cast<float>((hi[k] - lo[k]) >> 1);
}

float K_Rint(float x) {
    if (x > 0.0f) return floorf(x + 0.5f);
    if (x < 0.0f) return ceilf(x - 0.5f);
    return 0.0f;
}

void K_SnapVector(float vec[3]) {
    if (!vec) return;
    for (int k = 0; k < 3; ++k)
        vec[k] = K_Rint(vec[k]);
}

void K_Sort(void* base, size_t count, size_t size, KCompareFunc compare) {
    if (base && compare && size > 0 && count > 1) qsort(base, count, size, compare);
}
