// The texture records shared with plugins: effects (ShaderRecord), their stages (ShaderStage) and
// the images behind them (TextureImage). Plugins fill them through the engine-function table and
// read them by these fixed layouts, so every field keeps its offset. Plain C types only.
#pragma once

#include <cstddef>
#include <cstdint>

struct ShaderStage;
struct TextureImage;
struct TexturePackage;

// ShaderRecord::flags.
inline constexpr int32_t SHADER_NO_SHIFT_WRAP = 0x1; // also: registered as a placeholder
inline constexpr int32_t SHADER_TRANSPARENT = 0x2;
inline constexpr int32_t SHADER_NEW = 0x4;
inline constexpr int32_t SHADER_RELOADED = 0x8;
inline constexpr int32_t SHADER_NO_CARVE = 0x10;
inline constexpr int32_t SHADER_STAGE_WITHOUT_IMAGE = 0x20;
inline constexpr int32_t SHADER_PLACEHOLDER = 0x80;
inline constexpr int32_t SHADER_MODEL_SKIN = 0x2440;

// TextureImage::flags.
inline constexpr uint16_t IMAGE_UNNAMED = 0x1;
inline constexpr uint16_t IMAGE_STATIC = 0x2;
inline constexpr uint16_t IMAGE_NO_MIPMAPS = 0x4;
inline constexpr uint16_t IMAGE_UNCOUNTED_FRAME = 0x8;

// ShaderRecord::flags, further bits.
inline constexpr int32_t SHADER_TAKE_OVER_REFERENCE = 0x400;
inline constexpr int32_t SHADER_TAKEN_OVER = 0x800;

// ShaderRecord::category, the effect flag word the script parser writes.
inline constexpr int32_t EFFECT_NO_CARVE = 0x10;
inline constexpr int32_t EFFECT_SKY_BOX = 0x200;
inline constexpr int32_t EFFECT_SKY = 0x400;
inline constexpr int32_t EFFECT_FOG = 0x800; // a fog volume: drawn without vertex colours

// ShaderStage::stageFlags.
inline constexpr int32_t STAGE_LIGHTMAP = 0x1;
inline constexpr int32_t STAGE_CLAMP = 0x6;
inline constexpr int32_t STAGE_BORROWED_FRAMES = 0x8;

inline constexpr int32_t kStageFrames = 8;

// A periodic function of time: kind (1 sine, 2 rectified sine, 3 square, 4 triangle, 5 sawtooth,
// 6 inverse sawtooth, 7 noise), then base + amplitude * f(phase + time * frequency).
struct WaveForm {
    int32_t kind;
    float base;
    float amplitude;
    float phase;
    float frequency;
};
static_assert(sizeof(WaveForm) == 20);

// A vertex deform of an effect; kind 0 ends the list.
struct VertexDeform {
    int32_t kind;
    float move[3];
    WaveForm wave;
    float spread; // 1 / div of "wave"
    float bulgeWidth;
    float bulgeHeight;
    float bulgeSpeed;
};
static_assert(sizeof(VertexDeform) == 52);
static_assert(offsetof(VertexDeform, wave) == 16);
static_assert(offsetof(VertexDeform, spread) == 36);

// A texture-coordinate modifier of a stage; kind 0 ends the list.
struct TexCoordMod {
    int32_t kind;
    WaveForm wave;
    float values[6]; // matrix and translation, speeds, scales or rotation by kind
};
static_assert(sizeof(TexCoordMod) == 48);
static_assert(offsetof(TexCoordMod, values) == 24);

struct ShaderRecord {
    char name[64] = {};
    int32_t refCount = 0; // each binding face, patch or overlay holds one
    int32_t reserved68 = 0;
    int32_t width = 0; // texels; 0 when unknown
    int32_t height = 0;
    int32_t flags = 0;
    int32_t takeOverWord = 0; // cleared when a placeholder is taken over
    TexturePackage* package = nullptr;
    int32_t surfaceFlags = 0; // defaults a face takes with the texture
    int32_t contents = 0;
    int32_t category = 0; // effect flag word: editor categories, sky and decal bits
    int32_t value = 0;    // surface light
    int32_t sort = 0;
    int32_t captionWidth = 0;      // the name's width in the texture browser's captions; 0 = not measured
    TextureImage* image = nullptr; // editor image, bound for textured drawing
    float opacity = 1.0f;          // editor transparency: alpha of the blended pass
    int32_t blendCode = 0;
    float portalRange = 0.0f;
    int32_t reserved140 = 0;
    TextureImage* box[6] = {}; // sky faces
    float cloudHeight = 0.0f;
    int32_t reserved196 = 0;
    ShaderStage* stages = nullptr; // singly linked
    ShaderRecord* nextInScript = nullptr;
    void* pluginData = nullptr; // the effect's source text; freed with the C allocator
    VertexDeform deforms[3] = {};
    char scriptPath[260] = {};
};
static_assert(sizeof(ShaderRecord) == 640);
static_assert(offsetof(ShaderRecord, refCount) == 64);
static_assert(offsetof(ShaderRecord, width) == 72);
static_assert(offsetof(ShaderRecord, flags) == 80);
static_assert(offsetof(ShaderRecord, package) == 88);
static_assert(offsetof(ShaderRecord, surfaceFlags) == 96);
static_assert(offsetof(ShaderRecord, category) == 104);
static_assert(offsetof(ShaderRecord, sort) == 112);
static_assert(offsetof(ShaderRecord, image) == 120);
static_assert(offsetof(ShaderRecord, opacity) == 128);
static_assert(offsetof(ShaderRecord, portalRange) == 136);
static_assert(offsetof(ShaderRecord, box) == 144);
static_assert(offsetof(ShaderRecord, cloudHeight) == 192);
static_assert(offsetof(ShaderRecord, stages) == 200);
static_assert(offsetof(ShaderRecord, nextInScript) == 208);
static_assert(offsetof(ShaderRecord, pluginData) == 216);
static_assert(offsetof(ShaderRecord, deforms) == 224);
static_assert(offsetof(ShaderRecord, scriptPath) == 380);

struct ShaderStage {
    ShaderStage* next;
    TextureImage* frames[kStageFrames]; // frames[0] is the stage image
    TextureImage* frameChain;           // frames linked through TextureImage::next
    int32_t stateBits;                  // GL state word; 0 = the batch's
    int32_t stageFlags;
    int32_t frameCount;
    int32_t reserved92;
    float frameRate;
    int32_t skip;
    uint8_t color[4];
    WaveForm colorWave;
    int32_t colorKind;
    WaveForm alphaWave;
    int32_t alphaKind;
    int32_t texCoordKind;
    float sVector[4];
    float tVector[4];
    TexCoordMod texCoordMods[4];
};
static_assert(sizeof(ShaderStage) == 384);
static_assert(offsetof(ShaderStage, frames) == 8);
static_assert(offsetof(ShaderStage, frameChain) == 72);
static_assert(offsetof(ShaderStage, stateBits) == 80);
static_assert(offsetof(ShaderStage, frameCount) == 88);
static_assert(offsetof(ShaderStage, frameRate) == 96);
static_assert(offsetof(ShaderStage, color) == 104);
static_assert(offsetof(ShaderStage, colorKind) == 128);
static_assert(offsetof(ShaderStage, alphaKind) == 152);
static_assert(offsetof(ShaderStage, texCoordKind) == 156);
static_assert(offsetof(ShaderStage, sVector) == 160);
static_assert(offsetof(ShaderStage, texCoordMods) == 192);

struct TextureImage {
    int32_t refCount;
    int32_t width;
    int32_t height;
    uint16_t bytesPerPixel; // 1 luminance, 2 luminance-alpha, 3 RGB, 4 RGBA
    uint16_t flags;
    int32_t format;           // GL pixel format
    int32_t compressedFormat; // internal format when compression is on
    uint32_t glName;          // 0 = not uploaded
    int32_t reserved28;
    void* icon;         // browser icon
    TextureImage* next; // next animation frame
};
static_assert(sizeof(TextureImage) == 48);
static_assert(offsetof(TextureImage, bytesPerPixel) == 12);
static_assert(offsetof(TextureImage, format) == 16);
static_assert(offsetof(TextureImage, glName) == 24);
static_assert(offsetof(TextureImage, icon) == 32);
static_assert(offsetof(TextureImage, next) == 40);

// A placeholder for a name no loaded package provides, or no record at all.
inline bool Shader_IsMissing(const ShaderRecord* texture) {
    return !texture || (texture->flags & SHADER_NO_SHIFT_WRAP);
}
