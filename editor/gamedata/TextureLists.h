// The texture lists of one game configuration: the upper-cased name index through which faces,
// patches and overlays bind a texture name to its record, the groups (one per package plus the
// fixed ones) and the recently chosen names. The widgets that show them are filled in
// dialogs/editing/TextureListFill.h.
#pragma once

#include <QIcon>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

struct ShaderRecord;
struct TexturePackage;
struct GameConfig;

// The fixed groups, used as keys, tab data and combo texts.
inline constexpr const char* kAllTexturesGroup = "(All Textures)";
inline constexpr const char* kMiscellaneousGroup = "(Miscellaneous)";
inline constexpr const char* kMissingTexturesGroup = "(Missing Textures)";

// Most recent names kept.
inline constexpr int kRecentTextureCount = 8;

struct TextureListEntry {
    QString group;
    TexturePackage* package = nullptr; // null for missing textures
    ShaderRecord* shader = nullptr;
};

struct TextureGroupItem {
    QString name;
    QIcon icon;
};

// Holds no references: the records and packages belong to the texture manager.
class TextureLists {
public:
    // Group name -> package shown; "(All Textures)" maps to the last package added,
    // "(Miscellaneous)" to the last single image file.
    QMap<QString, TexturePackage*> groupPackages;
    QMap<QString, TextureListEntry> entries; // upper-cased name -> entry
    // Effects a package defines that the lists leave out (incomplete ones while
    // HideIncompleteShaders is on): hidden from view, names still bind to them, so faces keep the
    // defined effect and are never taken for missing textures.
    QMap<QString, ShaderRecord*> unlisted; // upper-cased name -> record
    QList<TextureGroupItem> groups;        // display order: key order of groupPackages
    // Recently chosen names, most recent first (at most 8), as typed; shared by every texture combo.
    QStringList recent;
    int missingCount = 0;
    // How many recent items the last refill put at the top of its combo.
    int recentShown = 0;
};

// The record listed under the name (compared upper-cased), else the defined but unlisted one; null
// when no package defines it or without lists.
ShaderRecord* TexList_FindShader(const TextureLists* lists, const QString& name);
// Empties groups, entries and the recent list; the missing count is left to the callers.
void TexList_Clear(TextureLists* lists);
// Clears and gives the containers' memory back.
void TexList_Destroy(TextureLists* lists);
// The texture manager's placeholder for the name (image and size of "notexture", flags 0x81),
// listed as missing; a package defining the name later takes it over in place.
ShaderRecord* TexList_CreateMissing(TextureLists* lists, const QString& name);
// Removes every entry listed as missing and resets their count.
void TexList_RemoveUngrouped(TextureLists* lists);
// Lists as missing every loaded texture that is not listed yet (flags 0x2010 excluded).
void TexList_AddUngrouped(TextureLists* lists);
// Lists the textures of the configuration's packages, grouped by package; the first package
// listing a name keeps it. Incomplete effects hidden by the setting go to the unlisted ones.
void TexList_Rebuild(TextureLists* lists, const GameConfig* config);
// Moves or adds the name to the front of the recent list; false only when it already was first.
bool TexList_AddRecent(TextureLists* lists, const QString& name);
// The group listing the name; "(All Textures)" when not listed (or listed without a group).
QString TexList_FindGroup(const TextureLists* lists, const QString& name);
// The first group whose name contains "decals", else "(All Textures)".
QString TexList_FindDecalGroup(const TextureLists* lists);
// The icon a group shows: by the kind of its package, the fixed groups "l_all".
QIcon TexList_GroupIcon(const QString& group, const TexturePackage* package);
