// Current-configuration bookkeeping. Nothing is loaded yet, so nothing needs precaching.
#include "gamedata/GameConfig.h"

#include "mainwindow/MainWindow.h"

void GameConfigManager::makeCurrent(GameConfig* config) {
    current = config;
    currentTextureLists = config ? textureListsByTitle.value(config->Title, nullptr) : nullptr;
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
