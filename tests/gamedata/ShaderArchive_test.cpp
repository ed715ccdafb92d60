// Effect scripts and their images only inside a PK3 of the game folder (names in another case,
// deflated), loaded as a package through the real plugin like loose files.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "../quake3/ImageFiles.h"
#include "ConsoleCapture.h"
#include "Pk3Writer.h"
#include "gamedata/ArchiveRegistry.h"
#include "gamedata/GameConfig.h"
#include "gamedata/PluginManager.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TexturePackage.h"
#include "mainwindow/MainWindow.h"

namespace {

TEST(ShaderArchive, ScriptsAndImagesInsideAPk3LoadLikeLooseFiles) {
    cConsoleCapture console;
    const QString plugin = QStringLiteral(ZARV_BIN_DIR) + "/plugins/kpQuake3x64.so";
    if (!QFileInfo::exists(plugin)) GTEST_SKIP() << "the Quake III plugin is not built";
    ArchiveRegistry& registry = g_mainWindow->archives;
    if (registry.formats.isEmpty()) ASSERT_TRUE(Plugin_Load(&g_mainWindow->plugins, plugin));
    QTemporaryDir dir;
    GameConfig config;
    config.GameBasedir = dir.filePath("baseoa");
    config.MapProfile = "kpQuake3";
    QDir().mkpath(config.GameBasedir);
    const QByteArray script =
        "textures/base/wall\n{\n\t{\n\t\tmap textures/base/wall.tga\n\t}\n}\n"
        "textures/base/glow\n{\n\tqer_editorimage textures/base/wall.tga\n\tsurfaceparm nodraw\n}\n";
    QFile pk3(dir.filePath("baseoa/pak0.pk3"));
    ASSERT_TRUE(pk3.open(QIODevice::WriteOnly));
    pk3.write(
        Pk3Build({{"Scripts/Test.SHADER", script, 8},
                  {"Textures/Base/WALL.tga", TgaFile(2, 2, 2, 24, 0x20, QByteArray(12, char(90))), 8}}));
    pk3.close();
    Archive_LoadForConfig(&registry, &config);
    g_mainWindow->gameConfigs.makeCurrent(&config);

    TextureManager& m = g_mainWindow->textures;
    TexturePackage* package = Tex_AcquirePackage(&m, dir.filePath("baseoa/scripts/test.shader"));
    EXPECT_EQ(package->kind, kPackageFormat);
    EXPECT_EQ(Tex_GetPackageInfo(&m, package).count, 2);
    ASSERT_TRUE(Tex_LoadPackage(&m, package, nullptr, config.GameBasedir, QString()));
    ASSERT_EQ(package->shaders.size(), 2);
    ShaderRecord* wall = Tex_FindShader(&m, "base/wall");
    ASSERT_NE(wall, nullptr);
    ASSERT_NE(wall->stages, nullptr);
    ASSERT_NE(wall->stages->frames[0], nullptr);
    EXPECT_EQ(wall->stages->frames[0]->width, 2);
    EXPECT_EQ(wall->image, wall->stages->frames[0]);
    ShaderRecord* glow = Tex_FindShader(&m, "base/glow");
    ASSERT_NE(glow, nullptr);
    EXPECT_EQ(glow->image, wall->image); // the same image, shared
    EXPECT_EQ(glow->surfaceFlags, 0x80);

    Tex_FreePackages(&m);
    EXPECT_EQ(Tex_ReportLeaks(&m), 0);
    g_mainWindow->gameConfigs.makeCurrent(nullptr);
    Archive_ReleaseByOwner(&registry, &config);
}

} // namespace
