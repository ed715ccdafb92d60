// Textures and effects as faces, patches, overlays and plugins hold them: reference-counted
// effect records with their stages and images, kept by name. Plugins reach these operations
// through the engine-function table. The upload keeps size, formats and pixels of each image;
// GL textures come with the texture view.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <cstdint>

#include "gamedata/PluginFormats.h"
#include "gamedata/TextureRecords.h"

class QWidget;

// Size of the "notexture" checkerboard.
inline constexpr int32_t kNoTextureSize = 32;

class TextureManager {
public:
    TextureManager() = default;
    ~TextureManager();
    TextureManager(const TextureManager&) = delete;
    TextureManager& operator=(const TextureManager&) = delete;

    // The texture and package formats plugins registered, in registration order.
    QList<TextureFormatEntry> textureFormats;
    QList<PackageFormatEntry> packageFormats;
    QHash<QByteArray, ShaderRecord*> effects;      // by the key a loader passed
    QHash<QByteArray, TextureImage*> images;       // by image name
    QHash<const TextureImage*, QByteArray> pixels; // what each upload received
    int32_t unnamedCount = 0;
    TextureImage* white = nullptr;
    TextureImage* black = nullptr;
};

// The shared "notexture" record, made on first use.
ShaderRecord* Tex_CreateNoTexture(QWidget* glWidget = nullptr);

ShaderRecord* Tex_CreateShader(TextureManager* manager, const char* key, const char* name, int32_t flags);
ShaderRecord* Tex_FindShaderByKey(const TextureManager* manager, const char* key);
void Tex_ReleaseShader(TextureManager* manager, ShaderRecord* shader);
void Tex_AddShaderStage(ShaderRecord* shader, const ShaderStage* stage);
void Tex_FreeShaderStage(TextureManager* manager, ShaderStage* stage);
void Tex_FinishShader(ShaderRecord* shader);
TextureImage* Tex_FindImage(const TextureManager* manager, const char* name);
TextureImage* Tex_UploadImage(TextureManager* manager, ShaderRecord* shader, const char* name, int32_t format,
                              int32_t compressedFormat, int32_t bytesPerPixel, int32_t width, int32_t height,
                              int32_t mipmaps, const void* pixels);
void Tex_ReleaseImage(TextureManager* manager, TextureImage* image);
// Effects and images still held; prints the leak report to the debugger output.
int32_t Tex_ReportLeaks(const TextureManager* manager);

// Engine-table operations on the main window's manager; null or nothing without one.
ShaderRecord* Tex_FindOrCreateShader(const char* key, const char* name, int32_t flags);
void Plugin_ReleaseShader(ShaderRecord* shader);
void Plugin_AddShaderStage(ShaderRecord* shader, const ShaderStage* stage);
void Plugin_FreeShaderData(ShaderStage* stage);
void Plugin_FinishShader(ShaderRecord* shader);
TextureImage* Plugin_FindImage(const char* name);
TextureImage* Plugin_WhiteImage();
TextureImage* Plugin_BlackImage();
TextureImage* Plugin_UploadImage(ShaderRecord* shader, const char* name, int32_t format,
                                 int32_t compressedFormat, int32_t bytesPerPixel, int32_t width,
                                 int32_t height, bool mipmaps, const void* pixels);
void Plugin_FreeImage(TextureImage* image);
