// The texture lists of one game configuration: the upper-cased name index through which faces,
// patches and overlays bind a texture name to its record. Groups, recent textures and the combo
// and tab fillers come with the texture browser.
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
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
    // Recently used names, most recent first (at most 8), shared by every texture combo; and how
    // many of them sit at the top of the combo that shows them.
    QStringList recent;
    int recentInCombo = 0;
};

// The record listed under the name (compared upper-cased); null when not listed or without lists.
ShaderRecord* TexList_FindShader(const TextureLists* lists, const QString& name);
// The texture manager's placeholder for the name (image and size of "notexture", flags 0x81),
// listed as missing; a package defining the name later takes it over in place.
ShaderRecord* TexList_CreateMissing(TextureLists* lists, const QString& name);
// Removes every entry listed as missing and resets their count.
void TexList_RemoveUngrouped(TextureLists* lists);
// Lists as missing every loaded texture that is not listed yet (flags 0x2010 excluded).
void TexList_AddUngrouped(TextureLists* lists);
// Lists the textures of the configuration's packages, grouped by package.
void TexList_Rebuild(TextureLists* lists, const GameConfig* config);
