#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "core/SysHost.h"
#include "core/System.h"
#include "gamedata/GameConfig.h"
#include "gamedata/GameDataServices.h"

TEST(SysOptions, NothingWithoutAHost) {
    ASSERT_EQ(Sys_Host(), nullptr);
    Sys_SetOption(SYS_OPTION_GRID_SIZE, 8);
    EXPECT_EQ(Sys_GetOption(SYS_OPTION_GRID_SIZE), 0);
}

TEST(SysOptions, TextureGammaFollowsTheCurrentConfiguration) {
    cConsoleCapture console;
    cGameDataServices gameData;
    EXPECT_FLOAT_EQ(Sys_GetTextureGamma(), 1.0f);
    GameConfig config;
    gameData.configs.makeCurrent(&config);
    EXPECT_FLOAT_EQ(Sys_GetTextureGamma(), 1.25f);
    config.TextureBrightness = 0;
    EXPECT_FLOAT_EQ(Sys_GetTextureGamma(), 0.5f);
    gameData.configs.makeCurrent(nullptr);
}
