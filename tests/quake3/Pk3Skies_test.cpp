// Skies packed in a PK3 built here, found through the Quake III plugin's archive format and
// decoded by the test plugin's sky format, both loaded through the real host.
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "Pk3Writer.h"
#include "core/FileLookup.h"
#include "gamedata/ArchiveRegistry.h"
#include "gamedata/GameConfig.h"
#include "gamedata/PluginManager.h"
#include "gamedata/SkyManager.h"
#include "gamedata/TextureManager.h"
#include "mainwindow/MainWindow.h"

namespace {

TEST(Pk3Skies, SkiesInAGameFolderArchiveAreListedAndDecoded) {
    const QString quake3 = QStringLiteral(ZARV_BIN_DIR) + "/plugins/kpQuake3x64.so";
    if (!QFileInfo::exists(quake3)) GTEST_SKIP() << "the Quake III plugin is not built";
    cMainWindow window;
    ASSERT_TRUE(Plugin_Load(&window.plugins, quake3));
    ASSERT_TRUE(Plugin_Load(&window.plugins, QStringLiteral(ZARV_TEST_PLUGIN_DIR "/kpTestx64.so")));

    QTemporaryDir game;
    ASSERT_TRUE(game.isValid());
    const char* suffixes[6] = {"_rt", "_bk", "_lf", "_ft", "_up", "_dn"};
    QList<Pk3Entry> members;
    for (int i = 0; i < 6; ++i) {
        const QByteArray face = "kps " + QByteArray::number(30 * (i + 1)) + " 1 2";
        members.append({QByteArray("env/Storm") + suffixes[i] + ".kps", face, uint16_t(i % 2 ? 0 : 8)});
    }
    members.append({"env/lonely_rt.kps", "kps 1 1 1", 8}); // five faces missing
    const QString pak = game.filePath("pak0.pk3");
    QFile out(pak);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(Pk3Build(members));
    out.close();

    GameConfig* config = GameCfg_AddConfig(&window.gameConfigs, "Packed");
    config->MapProfile = "kpTest";
    config->GameBasedir = game.path();
    ArchiveHandle* handle = Archive_Open(&window.archives, pak, config);
    ASSERT_TRUE(handle->loaded);
    window.archives.baseArchives.insert(config, handle);
    Sys_SwitchFileLookup(config);
    Sky_LoadForConfig(&window.skies, config);

    ASSERT_EQ(window.skies.lists.count(config), 1);
    const SkyEntry* sky = Sky_FindForConfig(&window.skies, config, "storm");
    ASSERT_NE(sky, nullptr);
    EXPECT_EQ(sky->displayName, "Storm");
    EXPECT_EQ(sky->key, (game.path() + "/env/Storm_rt.kps").toLower());
    for (int i = 0; i < 6; ++i) {
        const QByteArray pixels = window.textures.pixels.value(sky->shader->box[i]);
        ASSERT_EQ(pixels.size(), 64) << i;
        EXPECT_EQ(uint8_t(pixels[0]), 30 * (i + 1)) << i;
    }
    GameCfg_DestroyManager(&window.gameConfigs);
    EXPECT_TRUE(window.skies.entries.isEmpty());
    Sys_FileLookup() = FileLookupConfig();
}

} // namespace
