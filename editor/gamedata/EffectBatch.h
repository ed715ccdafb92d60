// Effects at run time: the vertex batch an effect's stages are drawn from, the wave tables and
// noise that drive them, vertex deforms, and per-stage colours, texture coordinates and frames.
// Plugin drawing, skies and the map's faces, patches and overlays all fill an EffectBatch and run
// these functions on it before each stage is drawn.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gamedata/TextureRecords.h"

// One vertex of a batch; its first 20 bytes are the GL_T2F_C4UB_V3F interleaved layout, so the
// stage fields and the position are drawn straight from it with a stride of 56.
struct EffectVertex {
    float st[2];      // texture coordinates generated for the current stage
    uint8_t color[4]; // colour generated for the current stage
    float xyz[3];     // position (deforms change it)
    float normal[3];
    float baseST[2];        // base texture coordinates
    float lightmapST[2];    // lightmap texture coordinates
    uint8_t vertexColor[4]; // vertex colour as supplied
};
static_assert(sizeof(EffectVertex) == 56);
static_assert(offsetof(EffectVertex, st) == 0);
static_assert(offsetof(EffectVertex, color) == 8);
static_assert(offsetof(EffectVertex, xyz) == 12);
static_assert(offsetof(EffectVertex, normal) == 24);
static_assert(offsetof(EffectVertex, baseST) == 36);
static_assert(offsetof(EffectVertex, lightmapST) == 44);
static_assert(offsetof(EffectVertex, vertexColor) == 52);

// EffectBatch::lightFlags.
inline constexpr int32_t BATCH_LIGHT_POSITION = 0x1; // lightPosition is set

struct EffectBatch {
    ShaderRecord* shader; // null: plain drawing
    ShaderStage* stage;   // the stage being drawn
    EffectVertex* vertices;
    int32_t count;
    int32_t capacity;
    int32_t lightFlags;        // BATCH_LIGHT_POSITION
    int32_t frameRateOverride; // 0: the stage's own rate
    int32_t stateBits;         // GL state word of stages whose own word is 0
    int32_t primitive;         // GL primitive
    float origin[3];           // the view frame of the render context
    float forward[3];
    float right[3];
    float up[3];
    float lightPosition[3];
    float time; // seconds
};
static_assert(sizeof(EffectBatch) == 112);
static_assert(offsetof(EffectBatch, vertices) == 16);
static_assert(offsetof(EffectBatch, count) == 24);
static_assert(offsetof(EffectBatch, lightFlags) == 32);
static_assert(offsetof(EffectBatch, stateBits) == 40);
static_assert(offsetof(EffectBatch, origin) == 48);
static_assert(offsetof(EffectBatch, lightPosition) == 96);
static_assert(offsetof(EffectBatch, time) == 108);

// WaveForm::kind, as the effect parser writes it.
namespace WaveKind {
constexpr int32_t Sine = 1;
constexpr int32_t RectifiedSine = 2;
constexpr int32_t Square = 3;
constexpr int32_t Triangle = 4;
constexpr int32_t Sawtooth = 5;
constexpr int32_t InverseSawtooth = 6;
constexpr int32_t Noise = 7;
} // namespace WaveKind

// VertexDeform::kind; 0 ends the list.
namespace DeformKind {
constexpr int32_t Wave = 1;
constexpr int32_t Normal = 2;
constexpr int32_t Bulge = 3;
constexpr int32_t BulgeScaled = 4;
constexpr int32_t Move = 5;
constexpr int32_t Autosprite = 7;
constexpr int32_t Autosprite2 = 8;
} // namespace DeformKind

// ShaderStage::colorKind.
namespace ColorKind {
constexpr int32_t IdentityLighting = 1;
constexpr int32_t Identity = 2;
constexpr int32_t Entity = 3;
constexpr int32_t OneMinusEntity = 4;
constexpr int32_t ExactVertex = 5;
constexpr int32_t Vertex = 6;
constexpr int32_t OneMinusVertex = 7;
constexpr int32_t Wave = 8;
constexpr int32_t LightingDiffuse = 9;
constexpr int32_t Const = 10;
} // namespace ColorKind

// ShaderStage::alphaKind.
namespace AlphaKind {
constexpr int32_t Identity = 0;
constexpr int32_t Keep = 1;
constexpr int32_t Entity = 2;
constexpr int32_t OneMinusEntity = 3;
constexpr int32_t Vertex = 4;
constexpr int32_t OneMinusVertex = 5;
constexpr int32_t LightingSpecular = 6;
constexpr int32_t Wave = 7;
constexpr int32_t Portal = 8;
constexpr int32_t Const = 9;
} // namespace AlphaKind

// ShaderStage::texCoordKind.
namespace TexCoordKind {
constexpr int32_t Zero = 1;
constexpr int32_t Lightmap = 2;
constexpr int32_t Base = 3;
constexpr int32_t Environment = 4;
constexpr int32_t Vector = 5;
constexpr int32_t ViewVector = 6; // vector of the position relative to the view origin
} // namespace TexCoordKind

// TexCoordMod::kind; 0 ends the list.
namespace TexModKind {
constexpr int32_t Transform = 1;
constexpr int32_t Turbulence = 2;
constexpr int32_t Scroll = 3;
constexpr int32_t Scale = 4;
constexpr int32_t Stretch = 5;
constexpr int32_t WaveScroll = 6;
constexpr int32_t Rotate = 7;
constexpr int32_t SkyProjection = 8;
} // namespace TexModKind

inline constexpr int32_t kWaveTableSize = 1024;
inline constexpr int32_t kNoiseSize = 256;

// Builds the six wave tables and draws the noise values (256 K_RandomFloat(-1, 1) and 256
// K_RandomLong(0, 255), alternately, float first). Once per run; later calls do nothing.
void Shader_InitTables();
bool Shader_TablesBuilt();
// The table of kinds 2..6; the sine table for every other kind (noise included).
const float* Shader_WaveTable(int32_t kind);
// The noise values: 256 random floats and the 256-entry permutation.
const float* Shader_NoiseFloats();
const int32_t* Shader_NoisePermutation();

// base + amplitude * f(...) at a time in seconds.
float Shader_EvalWave(const WaveForm* wave, float time);
// Smooth noise in -1..1 over four coordinates.
float Shader_Noise(float x, float y, float z, float w);
// Runs the batch shader's vertex deforms over its vertices.
void Shader_ApplyDeforms(EffectBatch* batch);
// Rebuilds four vertices as a view-facing quad about centre: corners centre -L +U, -L -U, +L -U,
// +L +U with (s, t) (0, 0), (0, 1), (1, 1), (1, 0) as base and lightmap coordinates.
void Shader_BuildSpriteQuad(EffectVertex* quad, const float* centre, const float* left, const float* up,
                            const float* normal);

// Stage colour (bytes 8..11) of every vertex for the batch's current stage.
void Shader_ComputeColors(EffectBatch* batch);
void Shader_ColorWave(EffectBatch* batch);
void Shader_ColorLighting(EffectBatch* batch);
void Shader_AlphaSpecular(EffectBatch* batch);
void Shader_AlphaPortal(EffectBatch* batch);
// Stage texture coordinates (bytes 0..7) of every vertex for the batch's current stage.
void Shader_ComputeTexCoords(EffectBatch* batch);
void Shader_TexGenEnvironment(EffectBatch* batch);
// The image the batch's current stage shows at the batch time.
TextureImage* Shader_CurrentFrame(const EffectBatch* batch);
