#include "gamedata/MapProfile.h"

#include <QMap>

#include "gamedata/GameConfig.h"
#include "mainwindow/MainWindow.h"

namespace {

QMap<QString, MapProfileRecord*>& profiles() {
    static QMap<QString, MapProfileRecord*> byName;
    return byName;
}

const MapProfileRecord* lookUp(const GameConfigManager* manager) {
    if (!manager && g_mainWindow) manager = &g_mainWindow->gameConfigs;
    if (!manager || !manager->current) return nullptr;
    return profiles().value(manager->current->MapProfile, nullptr);
}

} // namespace

void MapProfile_Register(MapProfileRecord* profile) {
    if (profile && !profile->name.isEmpty()) profiles().insert(profile->name, profile);
}

void MapProfile_Unregister(MapProfileRecord* profile) {
    if (profile && profiles().value(profile->name) == profile) profiles().remove(profile->name);
}

const MapProfileRecord* GameCfg_CurrentProfile(const GameConfigManager* manager) {
    static const MapProfileRecord empty;
    const MapProfileRecord* profile = lookUp(manager);
    return profile ? profile : &empty;
}

bool GameCfg_HasCurrentProfile(const GameConfigManager* manager) {
    return lookUp(manager) != nullptr;
}
