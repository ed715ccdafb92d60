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
#include "gamedata/GameDataHost.h"
#include "gamedata/PluginManager.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TexturePackage.h"
#include "mainwindow/MainWindow.h"

namespace {

// A game folder "baseoa" in a temporary folder, with the shipped Quake III module loaded into the
// test program's window; the packages and archives are released after each test.
class ShaderArchive : public ::testing::Test {
protected:
    cConsoleCapture console;
    ArchiveRegistry& registry = *GameData_Archives();
    TextureManager& m = *GameData_Textures();
    QTemporaryDir dir;
    GameConfig config;

    void SetUp() override {
        const QString plugin = QStringLiteral(ZARV_BIN_DIR) + "/plugins/kpQuake3x64.so";
        if (!QFileInfo::exists(plugin)) GTEST_SKIP() << "the Quake III plugin is not built";
        if (registry.formats.isEmpty()) {
            ASSERT_TRUE(Plugin_Load(GameData_Plugins(), plugin));
        }
        config.GameBasedir = dir.filePath("baseoa");
        config.MapProfile = "kpQuake3";
    }
    void TearDown() override {
        Tex_FreePackages(&m);
        EXPECT_EQ(Tex_ReportLeaks(&m), 0);
        GameCfg_Manager()->makeCurrent(nullptr);
        Archive_ReleaseByOwner(&registry, &config);
    }
};

TEST_F(ShaderArchive, ScriptsAndImagesInsideAPk3LoadLikeLooseFiles) {
    QDir().mkpath(config.GameBasedir);
    const QByteArray script =
        "textures/base/wall\n{\n\t{\n\t\tmap textures/base/wall.tga\n\t}\n}\n"
        "textures/base/glow\n{\n\tqer_editorimage textures/base/wall.tga\n\tsurfaceparm nodraw\n}\n"
        "textures/base/sky\n{\n\tqer_editorimage env/sky_ft.tga\n\tskyParms env/sky 512 -\n\tsurfaceparm "
        "sky\n}\n";
    QFile pk3(dir.filePath("baseoa/pak0.pk3"));
    ASSERT_TRUE(pk3.open(QIODevice::WriteOnly));
    pk3.write(Pk3Build({{"Scripts/Test.SHADER", script, 8},
                        {"Textures/Base/WALL.tga", TgaFile(2, 2, 2, 24, 0x20, QByteArray(12, char(90))), 8},
                        {"env/sky_ft.tga", TgaFile(2, 2, 2, 24, 0x20, QByteArray(12, char(90))), 8},
                        {"env/sky_bk.tga", TgaFile(2, 2, 2, 24, 0x20, QByteArray(12, char(90))), 8},
                        // The sky defined again by a later script: its first box is given back.
                        {"scripts/again.shader", "textures/base/sky\n{\n\tskyParms env/sky 512 -\n}\n", 0}}));
    pk3.close();
    Archive_LoadForConfig(&registry, &config);
    GameCfg_Manager()->makeCurrent(&config);

    TexturePackage* package = Tex_AcquirePackage(&m, dir.filePath("baseoa/scripts/test.shader"));
    EXPECT_EQ(package->kind, kPackageFormat);
    EXPECT_EQ(Tex_GetPackageInfo(&m, package).count, 3);
    ASSERT_TRUE(Tex_LoadPackage(&m, package, nullptr, config.GameBasedir, QString()));
    ASSERT_EQ(package->shaders.size(), 3);
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
    TexturePackage* again = Tex_AcquirePackage(&m, dir.filePath("baseoa/scripts/again.shader"));
    ASSERT_TRUE(Tex_LoadPackage(&m, again, nullptr, config.GameBasedir, QString()));
    ShaderRecord* sky = Tex_FindShader(&m, "base/sky");
    ASSERT_NE(sky, nullptr);
    ASSERT_NE(sky->box[0], nullptr);
    EXPECT_EQ(sky->box[0]->refCount, 1);
}

// A filtered folder of the game data that exists only inside a PK3 is a directory package; a
// folder on disk also visits the members under it after its own files, each name once, and never
// the members of its subfolders.
TEST_F(ShaderArchive, DirectoryPackagesVisitArchiveMembersAfterDiskFiles) {
    QDir().mkpath(config.GameBasedir + "/textures/disk");
    const QByteArray tga = TgaFile(2, 2, 2, 24, 0x20, QByteArray(12, char(90)));
    const QByteArray diskTga = TgaFile(2, 4, 4, 24, 0x20, QByteArray(48, char(30)));
    QFile loose(config.GameBasedir + "/textures/disk/b.tga");
    ASSERT_TRUE(loose.open(QIODevice::WriteOnly));
    loose.write(diskTga);
    loose.close();
    QFile pk3(dir.filePath("baseoa/pak0.pk3"));
    ASSERT_TRUE(pk3.open(QIODevice::WriteOnly));
    pk3.write(Pk3Build({{"Textures/Arch/Z.tga", tga, 8},
                        {"textures/arch/a.TGA", tga, 0},
                        {"textures/arch/notes.txt", "x", 0},
                        {"textures/arch/sub/deep.tga", tga, 8},
                        {"textures/disk/B.TGA", tga, 8},
                        {"textures/disk/c.tga", tga, 8}}));
    pk3.close();
    Archive_LoadForConfig(&registry, &config);
    GameCfg_Manager()->makeCurrent(&config);

    struct Case {
        const char* folder;
        QStringList names; // in visiting order
        int width0;
    };
    const Case cases[] = {
        {"textures/arch", {"a.TGA", "Z.tga"}, 2},
        {"textures/disk", {"b.tga", "c.tga"}, 4}, // the disk file first; "B.TGA" only once
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        const QString folder = config.GameBasedir + '/' + c.folder;
        TexturePackage* package = Tex_AcquirePackage(&m, folder + "::*.tga");
        EXPECT_EQ(package->kind, kPackageDirectory);
        EXPECT_EQ(Tex_GetPackageInfo(&m, package).count, c.names.size());
        ASSERT_TRUE(Tex_LoadPackage(&m, package, nullptr, config.GameBasedir, QString()));
        ASSERT_EQ(package->shaders.size(), c.names.size());
        for (qsizetype i = 0; i < c.names.size(); ++i) {
            ASSERT_NE(package->shaders[i]->image, nullptr);
            const QString name = QString::fromUtf8(package->shaders[i]->name);
            const QString expected = '/' + c.names[i].left(c.names[i].size() - 4);
            EXPECT_TRUE(name.endsWith(expected, Qt::CaseInsensitive)) << name.toStdString();
        }
        EXPECT_EQ(package->shaders[0]->image->width, c.width0);
    }
    // Outside the game folders a missing folder stays a missing file.
    QTemporaryDir elsewhere;
    EXPECT_EQ(Tex_AcquirePackage(&m, elsewhere.filePath("none") + "::*.tga")->kind, kPackageFile);
}

} // namespace
