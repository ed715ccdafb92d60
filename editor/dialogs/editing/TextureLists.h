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

class QComboBox;
class QRegularExpression;
class QTreeWidget;
class QTreeWidgetItem;

// "(Missing Textures)" when any is listed, "(All Textures)", then the listed groups in name order;
// selects current (fixed text, any case) when given. The combo is not cleared.
void TexList_FillGroupCombo(const TextureLists* lists, QComboBox* box, const QString& current);
// One top-level item per effect of the group (every group for "(All Textures)") whose name the
// filter (may be null) matches, "*" after edited ones, each with its stage subtree; the one named
// current (any case) becomes current, else the first.
void TexList_FillEffectTree(const TextureLists* lists, const QString& group, QTreeWidget* tree,
                            const QString& current, const QRegularExpression* filter);
// The item's children: the editor image, each stage's map or animation with its frames. Items
// carry their record's address in the user role (an animation item none).
void TexList_FillStageTree(QTreeWidgetItem* item, ShaderRecord* shader);
