// What the three model formats share: the engine-table calls they make, the render context read
// from the entity record at fixed offsets, the item-motion matrix, the bounds rules, effect
// binding for model surfaces and the scratch arrays every draw transforms into.
#pragma once

#include <cstdint>

#include "gamedata/PluginInterface.h"

struct ShaderRecord;

namespace Model {

// Model flags of kpRenderModel and kpGetModelBounds.
inline constexpr int32_t kWireFrame = 0x1;
inline constexpr int32_t kNoShading = 0x2;
inline constexpr int32_t kIgnoreScale = 0x8;
inline constexpr int32_t kItemMotion = 0x10;
inline constexpr int32_t kCentered = 0x20;

// Byte offsets the plugin reads; the editor asserts each in its record headers.
inline constexpr int kEntityFlagsAt = 116;
inline constexpr int kEntityOriginAt = 128;
inline constexpr int kEntityAnglesAt = 140;
inline constexpr int kEntityAlphaAt = 183;
inline constexpr int kEntitySkinAt = 194;
inline constexpr int kEntityFrameAt = 196;
inline constexpr int kEntityScaleAt = 204;
inline constexpr int kEntityModelAt = 344;
inline constexpr int kAttachedEntryAt = 0;
inline constexpr int kMotionMainAt = 60;  // speed, amplitude, base of the main model
inline constexpr int kMotionOtherAt = 72; // the same for any other model
inline constexpr uint32_t kEntityBlended = 0x10;
inline constexpr int32_t kTriangles = 2;

// The entity that shows the model, as the draw and bounds read it.
struct Context {
    bool present = false;
    uint32_t flags = 0;
    float origin[3] = {};
    float angles[3] = {}; // pitch, yaw, roll
    uint8_t alpha = 255;
    int16_t skin = 0;
    int32_t frame = 0;
    float scale = 1.0f;
    bool hasMotion = false; // an attached-model record exists
    const void* mainEntry = nullptr;
    float motion[2][3] = {}; // [main, other] x (speed, amplitude, base)
};
Context ReadContext(const EntityRecord* entity);

// The transform of a draw: item motion raises the origin; scale 1 with kIgnoreScale.
void DrawMatrix(const Context& c, int32_t flags, const ModelCacheEntry* entry, float matrix[12]);
// 255, or for a blended entity max(alpha, min alpha x 255).
uint8_t DrawAlpha(const Context& c);
// Bounds of a model whose box is (boxMins, boxMaxs) under the flags. withOrigin starts from
// the origin (LWO keeps it inside).
void Bounds(const float boxMins[3], const float boxMaxs[3], int32_t flags, const Context& c, bool withOrigin,
            float mins[3], float maxs[3]);
// The horizontal centre subtracted with kCentered, else zero.
void CentreOffset(const float boxMins[3], const float boxMaxs[3], int32_t flags, float centre[2]);

// An effect for a model surface: "textures/" dropped (any case, either separator), extension
// stripped, '\' made '/'; acquired by name, `bits` set, a skin loaded for a placeholder, and the
// entry marked blended when the first stage has state bits. Null for an empty name.
ShaderRecord* AcquireEffect(const char* name, int32_t bits, ModelCacheEntry* entry,
                            bool stripTextures = true);
void ReleaseEffect(ShaderRecord* effect);
// Binds the effect for a surface, applying its first stage's state bits; returns whether the
// previous state was saved into *saved.
bool BindEffect(ShaderRecord* effect, uint32_t* saved);
void RestoreState(bool changed, uint32_t saved);

// Scratch shared by all formats, grown to the largest model loaded.
bool ReserveScratch(int64_t count);
float (*ScratchPositions())[3];
float (*ScratchNormals())[3];
float* ScratchShades();

// Engine-table calls of the model code.
void Error(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Warning(const char* format, ...) __attribute__((format(printf, 1, 2)));
void* Alloc(uint64_t size); // zeroed
void Free(void* block);
float Seconds();
void SetPrimitive(int32_t kind);
void Flush();
void Color(uint8_t r, uint8_t g, uint8_t b, uint8_t a);
void TexCoord(const float st[2]);
void Normal(const float n[3]);
void Vertex(const float p[3]);
float Shade(const float n[3]);
// A shade (0..255 as a float) as a colour byte; 0 for NaN (normals of degenerate faces).
uint8_t ShadeByte(float shade);
const EngineFuncs& Table();

} // namespace Model
