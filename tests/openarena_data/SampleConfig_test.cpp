// A game configuration on Debian's openarena-data "baseoa" folder with the sample entity
// definitions: precaching it (archives through the Quake III plugin, the definitions, their models)
// gives no warning, and every model path the sample names is found in the game's archives.
#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "OpenArenaData.h"
#include "core/System.h"
#include "gamedata/GameConfig.h"
#include "gamedata/GameData.h"
#include "gamedata/PluginManager.h"
#include "mainwindow/MainWindow.h"

namespace {

QString baseFolder() {
    const QString env = qEnvironmentVariable("ZARV_OPENARENA_DIR");
    for (const QString& folder : {env + "/baseoa", env, QStringLiteral("/usr/share/games/openarena/baseoa")})
        if (folder.startsWith(QLatin1Char('/')) && QDir(folder).entryList({"*.pk3"}, QDir::Files).size() > 0)
            return folder;
    return QString();
}

TEST(OpenArenaData, SampleConfigurationPrecachesAndItsModelsResolve) {
    const QString base = baseFolder();
    if (base.isEmpty()) GTEST_SKIP() << "no openarena-data baseoa folder";
    cConsoleCapture console;
    ASSERT_NO_FATAL_FAILURE(OpenArena_LoadPlugin());
    GameConfigManager* manager = &g_mainWindow->gameConfigs;
    GameConfig* config = GameCfg_AddConfig(manager, "OpenArena");
    config->MapProfile = "kpQuake3";
    config->GameBasedir = base;
    config->GameData = {QStringLiteral(ZARV_SAMPLES_DIR "/quake3/q3entities.fgd")};
    Fgd_Acquire(&g_mainWindow->gameData, config->GameData[0]);

    console.clear();
    GameCfg_Precache(manager, config);
    QStringList warnings;
    // The game's own effect scripts (found in its folder) warn about their keywords and stages;
    // the definitions and their models must not warn at all.
    for (const QString& line : console.lines)
        if ((line.contains("Warning") || line.contains("Error")) &&
            !line.contains(QLatin1String("</b></font> Line ")) &&
            !line.contains(QLatin1String(".shader: ")) &&
            !line.contains(QLatin1String("has no appropriate stages")))
            warnings << line;
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
    EXPECT_FALSE(GameCfg_NeedsPrecache(config));
    EXPECT_FALSE(config->pointClassTree.children.empty());

    const GameData* file = g_mainWindow->gameData.files.value(config->GameData[0]);
    ASSERT_NE(file, nullptr);
    int models = 0;
    for (const auto& entry : file->classes)
        for (const QByteArray& path : {entry.second->model, entry.second->model2}) {
            if (path.isEmpty()) continue;
            ++models;
            EXPECT_TRUE(Sys_FileExists(path.constData())) << path.constData();
        }
    EXPECT_GT(models, 0);
    GameCfg_DestroyManager(manager);
}

} // namespace
