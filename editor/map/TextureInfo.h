// The 128-byte texture-mapping block shared by faces, patches, overlays, undo snapshots,
// project files and plugins. Copied as one block; the layout is fixed.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

struct TextureInfo {
    float sAxis[3];
    float sShift;
    float tAxis[3];
    float tShift;
    float sScale;
    float tScale;
    float rotation;    // degrees
    int32_t alignment; // TexAlign bits
    int32_t value;
    int32_t sampleSize; // lightmap sample size, kept for the face dialog only
    int32_t surfaceFlags;
    int32_t contents;
    char name[64]; // zero-terminated, at most 63 characters
};

static_assert(sizeof(TextureInfo) == 128);
static_assert(offsetof(TextureInfo, sShift) == 12);
static_assert(offsetof(TextureInfo, tAxis) == 16);
static_assert(offsetof(TextureInfo, tShift) == 28);
static_assert(offsetof(TextureInfo, sScale) == 32);
static_assert(offsetof(TextureInfo, tScale) == 36);
static_assert(offsetof(TextureInfo, rotation) == 40);
static_assert(offsetof(TextureInfo, alignment) == 44);
static_assert(offsetof(TextureInfo, value) == 48);
static_assert(offsetof(TextureInfo, sampleSize) == 52);
static_assert(offsetof(TextureInfo, surfaceFlags) == 56);
static_assert(offsetof(TextureInfo, contents) == 60);
static_assert(offsetof(TextureInfo, name) == 64);

// Alignment bits of TextureInfo::alignment.
namespace TexAlign {
constexpr int32_t World = 0x1;
constexpr int32_t Face = 0x2;
} // namespace TexAlign

constexpr int kTextureNameMax = 63;

// Scales come from files and plugins: a scale too small to divide by counts as 1, so no
// inf or NaN can reach coordinates, shifts or files.
inline float TexInfo_SafeScale(float scale) {
    return (std::isfinite(scale) && std::fabs(scale) >= 0.001f) ? scale : 1.0f;
}

// Texture sizes of 0 (unknown or not loaded) count as 1 for the same reason.
inline int TexInfo_SafeSize(int size) {
    return size > 0 ? size : 1;
}

// The spread of a surface's texture coordinates, each end capped at 999999. Taking the whole
// repeats of its middle off every coordinate keeps the numbers small where the surface lies.
struct TexCoordRange {
    float sMin = 999999.0f, sMax = -999999.0f;
    float tMin = 999999.0f, tMax = -999999.0f;

    void add(float s, float t) {
        sMin = std::fmin(sMin, s);
        sMax = std::fmax(sMax, s);
        tMin = std::fmin(tMin, t);
        tMax = std::fmax(tMax, t);
    }
    float wholeS() const { return std::floor((sMin + sMax) * 0.5f); }
    float wholeT() const { return std::floor((tMin + tMax) * 0.5f); }
};
