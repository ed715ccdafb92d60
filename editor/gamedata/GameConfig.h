// Game configurations: one named set of game folders, texture packages and entity-definition
// files, and the manager that knows which one is current. This holds what the map objects and
// the system layer read; the configuration file, precaching and the editor page come later.
#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <map>

#include "gamedata/PluginInterface.h"

class TextureLists;

struct GameConfig {
    int32_t refCount = 0; // documents bound to it
    bool Enabled = true;
    QString Title;
    QString MapProfile;
    QString MapSourceFileDirectory;
    QString GameBasedir;
    QString GameModdir;
    int32_t TextureBrightness = 50;
    float DefaultTextureScale = 1.0f;
    QStringList texturePackages;       // in configuration order
    QStringList entityDefinitionFiles; // in configuration order
};

class GameConfigManager {
public:
    QList<GameConfig*> configs; // settings-file order; not owned here yet
    GameConfig* current = nullptr;
    TextureLists* currentTextureLists = nullptr;
    QMap<QString, TextureLists*> textureListsByTitle;
    // The registered map profiles by name: this manager's own copies (see MapProfile.h).
    std::map<QByteArray, MapProfileRecord> profiles;

    // Makes the configuration current with its texture lists (null clears both).
    void makeCurrent(GameConfig* config);
};

// The current configuration of the main window's manager; null without a main window.
GameConfig* GameCfg_Current();
// The texture lists of the current configuration; null when none are current.
TextureLists* GameCfg_CurrentTextureLists();
// True when any of the configuration's entity-definition files or packages is not loaded yet.
bool GameCfg_NeedsPrecache(const GameConfig* config);
// Loads the configuration's archives, definitions, skies, palette and packages.
void GameCfg_Precache(GameConfigManager* manager, GameConfig* config);
