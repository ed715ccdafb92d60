#include "document/GameDataServices.h"

#include "core/FileLookup.h"
#include "document/EngineTable.h"

cGameDataServices::cGameDataServices() : m_previous(GameData_Host()) {
    GameData_SetHost(this);
}

cGameDataServices::~cGameDataServices() {
    Plugin_DestroyManager(&pluginManager);
    // Configurations release their files and archives, files release their models.
    GameCfg_DestroyManager(&configs);
    Fgd_FreeAll(&registry);
    Sky_FreeAll(&skyManager);
    Model_DestroyCache(&modelCache);
    Tex_ReleaseAll(&textureManager);
    // File look-ups must not reach these configurations any more.
    Sys_FileLookup() = FileLookupConfig();
    GameData_SetHost(m_previous);
}

void cGameDataServices::fillEngineFuncs(EngineFuncs* table) {
    Plugin_FillEngineFuncs(table);
}
