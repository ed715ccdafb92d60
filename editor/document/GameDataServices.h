// A game-data host that owns its managers, for programs without a main window (command-line
// tools, tests): installed for its lifetime, it fills the plugin function table with the
// document's functions and frees the managers in the window's order when it goes (plugins first,
// then configurations, entity definitions, skies, models and textures).
#pragma once

#include "gamedata/GameConfig.h"
#include "gamedata/GameData.h"
#include "gamedata/GameDataHost.h"
#include "gamedata/ModelCache.h"
#include "gamedata/PluginManager.h"
#include "gamedata/SkyManager.h"
#include "gamedata/TextureManager.h"

class cGameDataServices : public GameDataHost {
public:
    cGameDataServices();
    ~cGameDataServices() override;
    cGameDataServices(const cGameDataServices&) = delete;
    cGameDataServices& operator=(const cGameDataServices&) = delete;

    GameConfigManager& gameConfigs() override { return configs; }
    TextureManager& textures() override { return textureManager; }
    ModelCache& models() override { return modelCache; }
    SkyManager& skies() override { return skyManager; }
    PluginManager& plugins() override { return pluginManager; }
    GameDataRegistry& gameData() override { return registry; }
    void fillEngineFuncs(EngineFuncs* table) override;

    // In the window's order of construction.
    PluginManager pluginManager;
    GameConfigManager configs;
    GameDataRegistry registry;
    TextureManager textureManager;
    ModelCache modelCache;
    SkyManager skyManager;

private:
    GameDataHost* m_previous;
};
