// Texture packages (texture folders with file filters, package files such as effect scripts or
// WADs, single image files) named by game configurations: shared by the requested path with a
// reference count in the texture manager, loaded through the plugins' texture and package
// formats. Palettes for 8-bit formats live here too.
#pragma once

#include <QList>
#include <QString>
#include <cstdint>

#include "gamedata/PluginInterface.h"

class TextureManager;
struct ShaderRecord;

// Package kinds.
inline constexpr int32_t kPackageDirectory = 0;
inline constexpr int32_t kPackageFile = 1;   // a single texture file
inline constexpr int32_t kPackageWad = 2;    // a package-format file with the suffix "wad"
inline constexpr int32_t kPackageFormat = 3; // any other package-format file
inline constexpr int32_t kPaletteSize = 768;

struct TexturePackage {
    int32_t refCount = 1;
    QString path;   // without the "::" part
    QString filter; // after "::": ";"-separated file-name filters of a directory
    bool loaded = false;
    bool infoCached = false;
    int32_t kind = kPackageFile;
    int64_t size = 0; // bytes; for a directory the sum over the matching files
    int32_t count = 0;
    QList<ShaderRecord*> shaders; // the effects the package holds a reference on
    // Effects of the file being loaded that no stage lets the editor vertex-colour: said once per
    // file when it is loaded.
    QStringList unlitEffects;
};

struct TexturePackageInfo {
    int32_t kind;
    int64_t size;
    int32_t count;
};

// The installed host's package under the full requested path with its count raised, or a new one.
TexturePackage* Tex_AcquirePackage(const QString& path);
TexturePackage* Tex_AcquirePackage(TextureManager* manager, const QString& path);
// Lowers the count; at zero the package leaves the table and is deleted.
void Tex_ReleasePackage(const QString& path);
TexturePackage* Tex_FindPackage(const QString& path);
// Unloads (when loaded) and frees.
void Tex_DeletePackage(TextureManager* manager, TexturePackage* package);
// Releases every effect of the package's list (without unlinking) and empties it.
void Tex_ReleasePackageTextures(TextureManager* manager, TexturePackage* package);
// Frees every package of the manager (exit).
void Tex_FreePackages(TextureManager* manager);
TexturePackageInfo Tex_GetPackageInfo(TextureManager* manager, TexturePackage* package);
QString Tex_PackageRelativePath(const TexturePackage* package, const QString& gameDir);
// Loads the package's textures; profile's first field is the plugin whose formats go first.
bool Tex_LoadPackage(TexturePackage* package, const MapProfileRecord* profile, const QString& gameDir,
                     const QString& paletteName);
bool Tex_LoadPackage(TextureManager* manager, TexturePackage* package, const void* plugin,
                     const QString& gameDir, const QString& paletteName);
// The file's first maxBytes bytes (fewer when it ends first) from the disk or the archives, in a
// zero-terminated Sys_Alloc block; null when neither has the file.
char* Tex_LoadFileHead(const char* path, uint32_t maxBytes, uint32_t* size);
// False when a texture format of the file's suffix filters the name out.
bool Tex_TextureNameAccepted(const TextureManager* manager, const QString& path);
bool Tex_LoadTextureFile(TextureManager* manager, const QString& path, const void* plugin,
                         const uint8_t* palette, TexturePackage* package);
bool Tex_LoadPackageFile(TextureManager* manager, const QString& path, const void* plugin,
                         const uint8_t* palette, TexturePackage* package);
// Binds faces to effects loaded since the last call (the installed host's manager).
void Tex_LinkNewShaders();
// Forgets which effects changed since the documents last refreshed their faces.
void Tex_ClearChangedMarks();

// Loads a palette ("JASC-PAL" text or 768 raw bytes); path is also its key. False on failure (the
// table stays, white where nothing was read).
bool Tex_LoadPalette(const QString& gameDir, const QString& path);
bool Tex_LoadPalette(TextureManager* manager, const QString& gameDir, const QString& path);
// The palette stored under that key, or null.
const uint8_t* Tex_FindPalette(const QString& path);
const uint8_t* Tex_FindPalette(const TextureManager* manager, const QString& path);
// Warnings name the file when its name is given.
bool Tex_ParseJascPalette(uint8_t* out, const char* text, int32_t size, const char* fileName = nullptr);
