#include "gamedata/GameDataHost.h"

#include "core/HostSlot.h"
#include "core/SysHost.h"
#include "gamedata/ArchiveRegistry.h"
#include "gamedata/PluginManager.h"

GameDataHost* GameData_Host() {
    return Host_Slot<GameDataHost>();
}

void GameData_SetHost(GameDataHost* host) {
    Host_Slot<GameDataHost>() = host;
    if (host) host->fillEngineFuncs(Plugin_EngineFuncs());
}

TextureManager* GameData_Textures() {
    GameDataHost* host = GameData_Host();
    return host ? &host->textures() : nullptr;
}

PluginManager* GameData_Plugins() {
    GameDataHost* host = GameData_Host();
    return host ? &host->plugins() : nullptr;
}

ArchiveRegistry* GameData_Archives() {
    SysHost* host = Sys_Host();
    // The system host hands out the registry as the system layer's archives.
    return host ? dynamic_cast<ArchiveRegistry*>(&host->archives()) : nullptr;
}

MapWorld** GameData_ActiveMap() {
    GameDataHost* host = GameData_Host();
    return host ? host->activeMap() : nullptr;
}

void GameData_ShowProgress(const QString& text) {
    if (GameDataHost* host = GameData_Host()) host->showProgress(text);
}
