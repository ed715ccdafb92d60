// Textures and effects as faces, patches and overlays bind them. This holds the record fields
// the map objects read and the shared "notexture" placeholder; loading, packages and GL upload
// come with the texture manager itself.
#pragma once

#include <QList>
#include <cstdint>

#include "gamedata/PluginFormats.h"

class QWidget;

// The texture and package formats plugins registered, in registration order.
class TextureManager {
public:
    QList<TextureFormatEntry> textureFormats;
    QList<PackageFormatEntry> packageFormats;
};

// ShaderRecord flag bits.
inline constexpr int32_t SHADER_NO_SHIFT_WRAP = 0x1;
inline constexpr int32_t SHADER_TRANSPARENT = 0x2;
inline constexpr int32_t SHADER_RELOADED = 0x8;
inline constexpr int32_t SHADER_NO_CARVE = 0x10;
inline constexpr int32_t SHADER_PLACEHOLDER = 0x80;

// Size of the "notexture" checkerboard.
inline constexpr int32_t kNoTextureSize = 32;

struct ShaderRecord {
    char name[64] = {};
    int32_t width = 0; // texels; 0 when unknown
    int32_t height = 0;
    int32_t refCount = 0; // each binding face, patch or overlay holds one
    int32_t flags = 0;
    int32_t category = 0;     // editor category bits
    int32_t surfaceFlags = 0; // defaults a face takes with the texture
    int32_t contents = 0;
    int32_t value = 0;
    float opacity = 1.0f;   // alpha of the blended pass
    void* image = nullptr;  // base image, bound for textured drawing
    void* effect = nullptr; // effect record with its stages
};

// The shared "notexture" record, made on first use.
ShaderRecord* Tex_CreateNoTexture(QWidget* glWidget = nullptr);
