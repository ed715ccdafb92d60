// Textures and effects as faces, patches, overlays and plugins hold them: reference-counted
// effect records with their stages and images, kept by name. Plugins reach these operations
// through the engine-function table. The upload keeps size, formats and pixels of each image;
// GL textures come with the texture view.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <cstdint>
#include <memory>

#include "gamedata/PluginFormats.h"
#include "gamedata/TextureDecoding.h"
#include "gamedata/TexturePackage.h"
#include "gamedata/TextureRecords.h"

class cDecodePool;
struct TexturePackage;

// Size of the "notexture" checkerboard.
inline constexpr int32_t kNoTextureSize = 32;

class TextureManager {
public:
    TextureManager();
    ~TextureManager();
    TextureManager(const TextureManager&) = delete;
    TextureManager& operator=(const TextureManager&) = delete;

    // The texture and package formats plugins registered, in registration order.
    QList<TextureFormatEntry> textureFormats;
    QList<PackageFormatEntry> packageFormats;
    QMap<QByteArray, ShaderRecord*> placeholders;      // asked for by name before any package defined them
    QHash<QString, TexturePackage*> packages;          // by the path as requested, filters included; owned
    QHash<QByteArray, ShaderRecord*> effects;          // by the key a loader passed
    QHash<const ShaderRecord*, QByteArray> effectKeys; // each effect's key in `effects`
    QHash<QByteArray, TextureImage*> images;           // by image name
    QHash<const TextureImage*, QByteArray> imageNames; // each named image's key in `images`
    QHash<const TextureImage*, QByteArray> pixels;     // what each upload received
    // Images uploaded with their size alone, by the texture format that decodes them on first show.
    struct PendingDecode {
        kpDecodeTextureFn decode;
        kpDecodeTextureJobFn decodeJob; // null: decoded on the GUI thread
        int32_t formatId;
    };
    QHash<const TextureImage*, PendingDecode> pending;
    int32_t decodedCount = 0;                // images decoded on first show
    int32_t pooledCount = 0;                 // of those, decoded on the worker pool
    std::unique_ptr<cDecodePool> decodePool; // made by the first decode that needs it
    bool deferringDecode = false;            // a package load reads image headers only
    QHash<QString, QByteArray> palettes;     // 768 bytes each, by the requested path
    TexturePackage* loading = nullptr;       // the package whose file is being loaded
    bool processEventsOnUpload = false;      // a package loads with the wait dialog up
    int32_t unnamedCount = 0;
    TextureImage* white = nullptr;
    TextureImage* black = nullptr;
};

// The shared "notexture" record, made on first use. For a GL view (upload set), also its GL
// texture through the shared context, when it has none yet.
ShaderRecord* Tex_CreateNoTexture(bool upload = false);
// Its 32x32 RGBA pixels.
const QByteArray& Tex_NoTexturePixels();

ShaderRecord* Tex_CreateShader(TextureManager* manager, const char* key, const char* name, int32_t flags);
ShaderRecord* Tex_FindShaderByKey(const TextureManager* manager, const char* key);
// By name, ignoring case; null for a null name.
ShaderRecord* Tex_FindShader(const TextureManager* manager, const char* name);
// Moves the effect into the package being loaded: false when it is there already (no further
// reference is due), true otherwise and outside a package load.
bool Tex_AddToLoadingPackage(TextureManager* manager, ShaderRecord* shader);
// unlink: also leave the owning package's list and the placeholder map.
void Tex_ReleaseShader(TextureManager* manager, ShaderRecord* shader, bool unlink = true);
void Tex_AddShaderStage(ShaderRecord* shader, const ShaderStage* stage);
void Tex_FreeShaderStage(TextureManager* manager, ShaderStage* stage);
void Tex_FinishShader(ShaderRecord* shader);
TextureImage* Tex_FindImage(const TextureManager* manager, const char* name);
TextureImage* Tex_UploadImage(TextureManager* manager, ShaderRecord* shader, const char* name, int32_t format,
                              int32_t compressedFormat, int32_t bytesPerPixel, int32_t width, int32_t height,
                              int32_t mipmaps, const void* pixels);
void Tex_ReleaseImage(TextureManager* manager, TextureImage* image);
// After a load: new effects lose their mark and their frame chains are counted and referenced.
void Tex_LinkNewShaders(TextureManager* manager);
void Tex_ClearChangedMarks(TextureManager* manager);
// Effects and images still held; prints the leak report to the debugger output.
int32_t Tex_ReportLeaks(const TextureManager* manager);
// Gives back the packages, palettes and unclaimed placeholders, then reports what is still held.
// The destructor runs it; an owner runs it first while its log still has somewhere to go.
int32_t Tex_ReleaseAll(TextureManager* manager);

// Engine-table operations on the installed host's manager; null or nothing without one.
ShaderRecord* Tex_AcquireShaderByName(const char* name);
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
