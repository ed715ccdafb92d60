// Current-configuration bookkeeping. Nothing is loaded yet, so nothing needs precaching.
#include "gamedata/GameConfig.h"

#include "core/FileLookup.h"
#include "mainwindow/MainWindow.h"

void GameConfigManager::makeCurrent(GameConfig* config) {
    current = config;
    currentTextureLists = config ? textureListsByTitle.value(config->Title, nullptr) : nullptr;
    // The main window's current configuration is the one file look-ups search.
    if (g_mainWindow && this == &g_mainWindow->gameConfigs) Sys_FileLookup().current = config;
}

GameConfig* GameCfg_Current() {
    return g_mainWindow ? g_mainWindow->gameConfigs.current : nullptr;
}

TextureLists* GameCfg_CurrentTextureLists() {
    return g_mainWindow && g_mainWindow->gameConfigs.current ? g_mainWindow->gameConfigs.currentTextureLists
                                                             : nullptr;
}

bool GameCfg_NeedsPrecache(const GameConfig* config) {
    return false;
}

void GameCfg_Precache(GameConfigManager* manager, GameConfig* config) {}
