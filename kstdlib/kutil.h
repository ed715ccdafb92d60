// MD5 digests, half floats, powers of two, byte and box packing, rounding and sorting.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "kstdlib/kexport.h"

#ifndef __cplusplus
#include <stdbool.h>
#endif

// MD5 context, owned by the caller; its layout is interface.
typedef struct KMD5Context {
    uint32_t bitCount[2]; // message length in bits, low word first
    uint32_t state[4];    // chaining values A, B, C, D
    uint8_t buffer[64];   // bytes of the current incomplete block
} KMD5Context;

#ifdef __cplusplus
static_assert(sizeof(KMD5Context) == 88, "MD5 context layout is interface");
static_assert(offsetof(KMD5Context, state) == 8 && offsetof(KMD5Context, buffer) == 24,
              "MD5 context layout is interface");
#endif

typedef int (*KCompareFunc)(const void* a, const void* b);

KSTDLIB_BEGIN
KSTDLIB_API void K_MD5_Init(KMD5Context* context);
KSTDLIB_API void K_MD5_Append(KMD5Context* context, const uint8_t* data, int length);
KSTDLIB_API void K_MD5_Finish(KMD5Context* context, uint8_t digest[16]);

// 32-bit float to 16-bit half float and back; mantissa bits are truncated, never rounded.
KSTDLIB_API uint16_t K_Float2Half(float x);
KSTDLIB_API float K_Half2Float(uint16_t h);

KSTDLIB_API bool K_IsPowerOf2(int n);
// The largest power of two not above min(a, b); 1 when that minimum is 0 or 1.
KSTDLIB_API unsigned K_BestPowerOf2(unsigned a, unsigned b);
// The smallest power of two >= n; 0 gives 0.
KSTDLIB_API unsigned K_NextPowerOf2(unsigned n);

// Values clamped to 0..255; r (lo) in the lowest byte.
KSTDLIB_API uint32_t K_PackBytes4(int r, int g, int b, int a);
KSTDLIB_API uint16_t K_PackBytes2(int lo, int hi);

// Integer boxes in two words: x and y span -511..512, z -2047..2048. Outputs are optional.
KSTDLIB_API void K_EncodeBBox(const float mins[3], const float maxs[3], int32_t* word1, int32_t* word2);
KSTDLIB_API void K_DecodeBBox(int32_t word1, int32_t word2, float mins[3], float maxs[3]);
// Half the packed box's size per axis.
KSTDLIB_API void K_DecodeBBoxCenter(int32_t word1, int32_t word2, float out[3]);

// Rounds halves away from zero; 0 for NaN.
KSTDLIB_API float K_Rint(float x);
KSTDLIB_API void K_SnapVector(float vec[3]);
KSTDLIB_API void K_Sort(void* base, size_t count, size_t size, KCompareFunc compare);
KSTDLIB_END
