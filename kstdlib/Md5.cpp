// MD5 message digest with a caller-owned context (RFC 1321).
#include <string.h>

#include "kstdlib/kutil.h"

namespace {

uint32_t RotateLeft(uint32_t x, int n) {
    return (x << n) | (x >> (32 - n));
}

uint32_t LoadLE(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void StoreLE(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// Per-step shift amounts, four per round.
constexpr int kShifts[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

// floor(abs(sin(i + 1)) * 2^32).
constexpr uint32_t kSines[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

void Transform(uint32_t state[4], const uint8_t block[64]) {
    uint32_t x[16];
    for (int i = 0; i < 16; ++i)
        x[i] = LoadLE(block + 4 * i);
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (int i = 0; i < 64; ++i) {
        const int round = i / 16;
        uint32_t f;
        int k;
        switch (round) {
        case 0:
            f = (b & c) | (~b & d);
            k = i;
            break;
        case 1:
            f = (b & d) | (c & ~d);
            k = (5 * i + 1) % 16;
            break;
        case 2:
            f = b ^ c ^ d;
            k = (3 * i + 5) % 16;
            break;
        default:
            f = c ^ (b | ~d);
            k = (7 * i) % 16;
            break;
        }
        const uint32_t rotated = RotateLeft(a + f + kSines[i] + x[k], kShifts[round][i % 4]);
        a = d;
        d = c;
        c = b;
        b = b + rotated;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

} // namespace

void K_MD5_Init(KMD5Context* context) {
    if (!context) return;
    context->bitCount[0] = context->bitCount[1] = 0;
    context->state[0] = 0x67452301u;
    context->state[1] = 0xEFCDAB89u;
    context->state[2] = 0x98BADCFEu;
    context->state[3] = 0x10325476u;
    memset(context->buffer, 0, sizeof(context->buffer));
}

void K_MD5_Append(KMD5Context* context, const uint8_t* data, int length) {
    if (!context || !data || length <= 0) return;
    const uint32_t used = (context->bitCount[0] >> 3) & 63u;
    const uint64_t bits = (static_cast<uint64_t>(context->bitCount[1]) << 32 | context->bitCount[0]) +
                          (static_cast<uint64_t>(length) << 3);
    context->bitCount[0] = static_cast<uint32_t>(bits);
    context->bitCount[1] = static_cast<uint32_t>(bits >> 32);

    size_t remaining = static_cast<size_t>(length);
    if (used) {
        const size_t room = 64 - used;
        if (remaining < room) {
            memcpy(context->buffer + used, data, remaining);
            return;
        }
        memcpy(context->buffer + used, data, room);
        Transform(context->state, context->buffer);
        data += room;
        remaining -= room;
    }
    for (; remaining >= 64; data += 64, remaining -= 64)
        Transform(context->state, data);
    memcpy(context->buffer, data, remaining);
}

void K_MD5_Finish(KMD5Context* context, uint8_t digest[16]) {
    if (!context) return;
    uint8_t length[8];
    StoreLE(length, context->bitCount[0]);
    StoreLE(length + 4, context->bitCount[1]);
    // 0x80, then zeros up to 56 mod 64, then the bit count taken before padding.
    const uint32_t used = (context->bitCount[0] >> 3) & 63u;
    const int padding = static_cast<int>(used < 56 ? 56 - used : 120 - used);
    uint8_t pad[64] = {0x80};
    K_MD5_Append(context, pad, padding);
    K_MD5_Append(context, length, 8);
    if (digest)
        for (int i = 0; i < 4; ++i)
            StoreLE(digest + 4 * i, context->state[i]);
}
