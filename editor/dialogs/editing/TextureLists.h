// The texture lists of one game configuration: the upper-cased name index through which faces,
// patches and overlays bind a texture name to its record. Groups, recent textures and the combo
// and tab fillers come with the texture browser.
#pragma once

#include <QMap>
#include <QString>
#include <memory>
#include <vector>

struct ShaderRecord;
struct TexturePackage;
struct GameConfig;

// Group of the placeholders for names that are not loaded.
inline constexpr const char* kMissingTexturesGroup = "(Missing Textures)";

struct TextureListEntry {
    QString group;
    TexturePackage* package = nullptr; // null for missing textures
    ShaderRecord* shader = nullptr;
};

class TextureLists {
public:
    QMap<QString, TextureListEntry> entries; // upper-cased name -> entry
    int missingCount = 0;
    // Placeholders made for missing names; the texture manager will own them later.
    std::vector<std::unique_ptr<ShaderRecord>> placeholders;
};

// The record listed under the name (compared upper-cased); null when not listed or without lists.
ShaderRecord* TexList_FindShader(const TextureLists* lists, const QString& name);
// A placeholder with the image and size of "notexture" and flag 0x80, listed as missing.
ShaderRecord* TexList_CreateMissing(TextureLists* lists, const QString& name);
// Removes every entry listed as missing and resets their count.
void TexList_RemoveUngrouped(TextureLists* lists);
// Lists as missing every loaded texture that is not listed yet (flags 0x2010 excluded).
void TexList_AddUngrouped(TextureLists* lists);
// Lists the textures of the configuration's packages, grouped by package.
void TexList_Rebuild(TextureLists* lists, const GameConfig* config);
