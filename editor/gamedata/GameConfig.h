// Game configurations: one named set of game folders, programs, texture packages and
// entity-definition files each, and the manager that owns them, the copies of the registered map
// profiles and one texture list per configuration, and knows which configuration is current.
// Precaching loads what a configuration names so that a document bound to it can be drawn.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "core/FileLookup.h"
#include "gamedata/GameConfigFile.h"
#include "gamedata/PluginInterface.h"

class TextureLists;
struct ShaderRecord;
struct EntityClass;

// A node of a configuration's class tree: a group node (named, with members) or a class leaf
// (no name, the class).
struct ClassTreeNode {
    QByteArray name;
    EntityClass* eclass = nullptr;
    std::vector<ClassTreeNode> children;
};

// The game and mod folders (GameFolders) are what the file look-ups search while it is current.
struct GameConfig : GameFolders {
    int32_t inUseCount = 0; // open documents bound to it
    int32_t TextureFormat = 0;
    bool Enabled = true;
    QString Title;
    QStringList GameData; // entity-definition files, in the user's order
    QString MapProfile;
    QString DefaultPointClass;
    QString DefaultSolidClass;
    QString GameExecutable;
    QString GameCommandLine;
    QString MapSourceFileDirectory;
    QString ModelViewer;
    QString MapTool[4]; // CSG, BSP, VIS, LIGHT
    QStringList Parcel; // texture packages, each optionally followed by "::" and filters
    // The user edited Parcel: it is kept as written. Otherwise the list is the editor's, found in
    // the game folders again at every precache (a map pack added later shows its textures).
    bool ParcelEdited = false;
    // The game and mod folders the editor's list was last found in, "" before the first search:
    // a configuration whose packages are still to be found needs its precache.
    QString parcelFoundIn;
    uint32_t TextureBrightness = 50;
    QString PaletteFile;
    float DefaultTextureScale = 1.0f;
    ClassTreeNode solidClassTree;
    ClassTreeNode pointClassTree;
    // GameData reversed, set by precaching: class look-ups walk it, so the last-listed file wins.
    // Empty while the configuration was not precached.
    QStringList precachedGameData;
};

class GameConfigManager {
public:
    GameConfigManager() = default;
    // An empty manager assigned a copy of the source without precaching.
    GameConfigManager(const GameConfigManager& source);
    GameConfigManager& operator=(const GameConfigManager&) = delete;
    ~GameConfigManager();

    QList<GameConfig*> configs; // list order; owned
    QHash<QString, GameConfig*> byTitle;
    GameConfig* current = nullptr;
    TextureLists* currentTextureLists = nullptr;
    QMap<QString, TextureLists*> textureListsByTitle; // owned
    // The registered map profiles by name: this manager's own copies (see MapProfile.h).
    std::map<QByteArray, MapProfileRecord> profiles;
    const MapProfileRecord* currentProfile = nullptr;
    bool busy = false;
    // The configuration file as last read, so that a save after a damaged read keeps a copy.
    cGameConfigFile file;
    // Runs when configurations were replaced (GameCfg_Assign), before the old ones are freed:
    // every open document binds again by its configuration's title (Project_RebindGameConfig).
    std::function<void()> rebindConfigUsers;

    // Makes the configuration current with its texture lists (null clears both).
    void makeCurrent(GameConfig* config);
};

// The installed host's manager; null without a host.
GameConfigManager* GameCfg_Manager();
// The current configuration of the installed host's manager; null without a host.
GameConfig* GameCfg_Current();
// TextureBrightness × 0.015 + 0.5 of the current configuration; 1.0 without one.
float Sys_GetTextureGamma();
// The texture lists of the current configuration; null when none are current.
TextureLists* GameCfg_CurrentTextureLists();
// The record the current lists bind the name to (compared upper-cased); null without lists or
// when no package defines it.
ShaderRecord* GameCfg_FindShader(const QString& name);
// The current lists' placeholder for a missing texture; the shared "notexture" record without lists.
ShaderRecord* GameCfg_CreateMissingShader(const QString& name);

// A new configuration titled title, appended and indexed (over an earlier one of that title), with
// empty texture lists.
GameConfig* GameCfg_AddConfig(GameConfigManager* manager, const QString& title);
// A copy of the configuration titled title under newTitle; null (with a warning) when there is none.
GameConfig* GameCfg_DuplicateConfig(GameConfigManager* manager, const QString& title,
                                    const QString& newTitle);
void GameCfg_RenameConfig(GameConfigManager* manager, const QString& title, const QString& newTitle);
// Refused while documents use it.
void GameCfg_RemoveConfig(GameConfigManager* manager, const QString& title);
void GameCfg_SelectByTitle(GameConfigManager* manager, const QString& title);
void GameCfg_Select(GameConfigManager* manager, GameConfig* config);
GameConfig* GameCfg_FindConfig(const GameConfigManager* manager, const QString& title);

// True when an entity-definition file or package is not loaded yet, the precached order is stale,
// or the editor's package list is still to be found in the configuration's game folders.
bool GameCfg_NeedsPrecache(const GameConfig* config);
// Loads the configuration's palette, archives, packages, entity definitions and models, and skies;
// fills and sorts its class trees.
void GameCfg_Precache(GameConfigManager* manager, GameConfig* config);
// Rebuilds the class trees of a precached configuration from its loaded files.
void GameCfg_BuildClassTrees(GameConfig* config);
// Rebuilds the trees of every precached configuration of the manager (the installed host's when null).
void GameCfg_RebuildAllClassTrees(GameConfigManager* manager = nullptr);
// Makes target a deep copy of source; with precache, in-use configurations that need it are
// precached under a wait dialog.
void GameCfg_Assign(GameConfigManager* target, const GameConfigManager& source, bool precache);
// Releases every configuration's files, packages, archives and skies, then the containers.
void GameCfg_DestroyManager(GameConfigManager* manager);
// Releases every configuration's files and packages and empties its trees; frees the profile copies
// and texture lists. The configurations stay listed.
void GameCfg_FreeConfigs(GameConfigManager* manager);

// "KDKGameCfg.ini": read once at start-up into a manager without configurations, written whenever
// the settings are saved. False when the file could not be read or written (reported).
bool GameCfg_LoadConfigurations(GameConfigManager* manager);
bool GameCfg_SaveConfigurations(GameConfigManager* manager);
// The same with an explicit file (tests, tools).
bool GameCfg_LoadConfigurationsFrom(GameConfigManager* manager, const QString& path);
bool GameCfg_SaveConfigurationsTo(GameConfigManager* manager, const QString& path);
