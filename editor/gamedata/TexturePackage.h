// Texture packages (WAD files, texture folders, effect scripts) named by game configurations:
// shared by path with a reference count in the texture manager. Reading a package through the
// plugins' package formats comes with the texture browser; until then loading a package only
// marks it loaded.
#pragma once

#include <QString>
#include <cstdint>

#include "gamedata/PluginInterface.h"

class TextureManager;

struct TexturePackage {
    QString path; // as the configuration names it, filters included
    int32_t refCount = 1;
    bool loaded = false;
};

// The main window's package under path with its count raised, or a new one (not loaded).
TexturePackage* Tex_AcquirePackage(const QString& path);
// Lowers the count; at zero the package leaves the table and is unloaded and freed.
void Tex_ReleasePackage(const QString& path);
TexturePackage* Tex_FindPackage(const QString& path);
// Loads the package's textures for the profile.
bool Tex_LoadPackage(TexturePackage* package, const MapProfileRecord* profile, const QString& baseDirectory,
                     const QString& paletteFile);
// Frees every package of the manager (exit).
void Tex_FreePackages(TextureManager* manager);
// Binds faces to effects loaded since the last call.
void Tex_LinkNewShaders();
// Forgets which effects changed since the documents last refreshed their faces.
void Tex_ClearChangedMarks();

// Palettes: 768-byte palettes by file name, handed to formats that take one.
// Loads the palette file of the game folder; false when it cannot be read.
bool Tex_LoadPalette(const QString& baseDirectory, const QString& paletteFile);
// The loaded palette of that name; null for an empty name or one not loaded.
const uint8_t* Tex_FindPalette(const QString& paletteFile);
