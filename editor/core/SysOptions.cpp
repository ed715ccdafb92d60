// Texture gamma and the plugin options of the system layer.
#include "core/System.h"
#include "core/SysHost.h"
#include "gamedata/GameConfig.h"

float Sys_GetTextureGamma() {
    const GameConfig* config = GameCfg_Current();
    return config ? static_cast<float>(config->TextureBrightness) * 0.015f + 0.5f : 1.0f;
}

int32_t Sys_GetOption(int32_t option) {
    const SysHost* host = Sys_Host();
    return host ? host->option(option) : 0;
}

void Sys_SetOption(int32_t option, int32_t value) {
    if (SysHost* host = Sys_Host()) host->setOption(option, value);
}
