// Texture gamma and the plugin options of the system layer.
#include "core/System.h"
#include "gamedata/GameConfig.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PluginOptions.h"

float Sys_GetTextureGamma() {
    const GameConfig* config = GameCfg_Current();
    return config ? static_cast<float>(config->TextureBrightness) * 0.015f + 0.5f : 1.0f;
}

int32_t Sys_GetOption(int32_t option) {
    return g_mainWindow ? App_GetOption(option) : 0;
}

void Sys_SetOption(int32_t option, int32_t value) {
    if (g_mainWindow) App_SetOption(option, value);
}
