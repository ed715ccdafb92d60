// The archive registry over the test format ("Memory Archive") and, when the build has it, the
// Quake III plugin's PK3 format loaded through the real host.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "MemoryArchive.h"
#include "Pk3Writer.h"
#include "core/FileLookup.h"
#include "core/System.h"
#include "gamedata/ArchiveRegistry.h"
#include "gamedata/GameConfig.h"
#include "gamedata/GameDataHost.h"
#include "gamedata/GamePackages.h"
#include "gamedata/MapProfile.h"
#include "gamedata/PluginManager.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TexturePackage.h"
#include "mainwindow/MainWindow.h"

namespace {

class ArchiveRegistryTest : public ::testing::Test {
protected:
    cConsoleCapture console;
    QTemporaryDir dir;
    GameConfig config;
    ArchiveRegistry& registry = *GameData_Archives();

    void SetUp() override {
        config.GameBasedir = dir.filePath("baseoa");
        config.GameModdir = dir.filePath("mod");
    }
    void TearDown() override { GameCfg_Manager()->makeCurrent(nullptr); }

    QString path(const QString& relative) const { return dir.filePath(relative); }
    static QByteArray load(const QString& path) {
        void* data = nullptr;
        uint32_t size = 0;
        const QByteArray native = QFile::encodeName(path);
        if (!Archive_LoadFile(GameData_Archives(), native.constData(), &data, &size)) return {};
        QByteArray bytes(static_cast<const char*>(data), size);
        Sys_Free(data);
        return bytes;
    }
    static bool exists(const QString& path) {
        return Archive_FileExists(GameData_Archives(), QFile::encodeName(path).constData());
    }
};

TEST_F(ArchiveRegistryTest, SharedArchivesLiveUntilTheirLastOwnerGoes) {
    cMemoryArchives memory;
    memory.add(path("baseoa/pak0.zmem"), {{"a.txt", "a"}});
    GameConfig other = config;
    ArchiveHandle* first = memory.open(path("baseoa/pak0.zmem"), &config);
    console.clear();
    ArchiveHandle* second = memory.open(path("baseoa/pak0.zmem"), &other);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first->ownerCount, 2);
    EXPECT_TRUE(console.contains(QString("Reusing archive: \"%1\"").arg(path("baseoa/pak0.zmem"))));

    Archive_ReleaseByOwner(&registry, &config);
    EXPECT_EQ(registry.open.size(), 1);
    EXPECT_EQ(first->ownerCount, 1);
    GameCfg_Manager()->makeCurrent(&other);
    EXPECT_EQ(load(path("baseoa/a.txt")), "a");
    Archive_ReleaseByOwner(&registry, &other);
    EXPECT_TRUE(registry.open.isEmpty());
    EXPECT_TRUE(registry.baseArchives.isEmpty());
    EXPECT_EQ(load(path("baseoa/a.txt")), QByteArray());
}

TEST_F(ArchiveRegistryTest, LaterArchivesOfAFolderWinAndRelativeNamesTryTheModFirst) {
    cMemoryArchives memory;
    memory.add(path("baseoa/pak0.zmem"),
               {{"maps/a.map", "pak0"}, {"base.txt", "base"}, {"both.txt", "base"}});
    memory.add(path("baseoa/pak1.zmem"), {{"maps/a.map", "pak1"}});
    memory.add(path("mod/zz.zmem"), {{"both.txt", "mod"}, {"Mixed\\Name.txt", "?"}});
    memory.open(path("baseoa/pak0.zmem"), &config);
    memory.open(path("baseoa/pak1.zmem"), &config);
    memory.open(path("mod/zz.zmem"), &config, true);
    // Without a current configuration only the program archives answer.
    EXPECT_EQ(load("maps/a.map"), QByteArray());
    GameCfg_Manager()->makeCurrent(&config);

    EXPECT_EQ(load(path("baseoa/maps/a.map")), "pak1");
    EXPECT_TRUE(exists(path("baseoa/maps/a.map")));
    EXPECT_EQ(load("maps/a.map"), "pak1");
    EXPECT_EQ(load("both.txt"), "mod");
    EXPECT_EQ(load(path("mod/both.txt")), "mod");
    EXPECT_FALSE(exists(path("mod/base.txt")));
    EXPECT_FALSE(exists("base.txt")) << "a relative path is not searched";
    // Backslashes match no folder: not found to exist, loaded as a name from the whole path.
    QString backslashed = path("baseoa/base.txt");
    backslashed.replace('/', '\\');
    EXPECT_FALSE(exists(backslashed));
    EXPECT_EQ(load(backslashed), QByteArray());
}

TEST_F(ArchiveRegistryTest, AFolderPrefixEndsAtASeparator) {
    cMemoryArchives memory;
    memory.add(path("baseoa/pak0.zmem"), {{"x.txt", "x"}});
    memory.open(path("baseoa/pak0.zmem"), &config);
    GameCfg_Manager()->makeCurrent(&config);
    EXPECT_TRUE(exists(path("baseoa/x.txt")));
    EXPECT_FALSE(exists(path("baseoa2/x.txt")));
    EXPECT_FALSE(exists(path("baseoax.txt")));
    EXPECT_EQ(load(path("baseoa2/x.txt")), QByteArray());
    config.GameBasedir += '/';
    EXPECT_TRUE(exists(path("baseoa/x.txt")));
}

TEST_F(ArchiveRegistryTest, ProgramArchivesNeedNoConfiguration) {
    cMemoryArchives memory;
    const QString pak = QDir(App_GetBaseDirectory()).filePath("test-program.zmem");
    memory.add(pak, {{"scripts/editor.txt", "program"}});
    ArchiveHandle* handle = Archive_Open(&registry, pak, nullptr);
    ASSERT_TRUE(handle->loaded);
    registry.programArchives.prepend(handle);
    const QString inside = QDir(App_GetBaseDirectory()).filePath("scripts/editor.txt");
    EXPECT_TRUE(exists(inside));
    EXPECT_EQ(load(inside), "program");
    uint32_t size = 0;
    char* data = Sys_LoadFile(QFile::encodeName(inside).constData(), &size);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(QByteArray(data, size), "program");
    Sys_Free(data);
    Archive_FreeAll(&registry);
    EXPECT_TRUE(registry.programArchives.isEmpty());
}

TEST_F(ArchiveRegistryTest, AGameFolderInsideTheProgramFolderServesItsOwnArchives) {
    // The sample game lies beside the program: its paths are under both folders.
    cMemoryArchives memory;
    QTemporaryDir game(QDir(App_GetBaseDirectory()).filePath("sample-XXXXXX"));
    ASSERT_TRUE(game.isValid());
    config.GameBasedir = game.filePath("baseq3");
    const QString pak = game.filePath("baseq3/pak0.zmem");
    memory.add(pak, {{"textures/a/b.jpg", "game"}});
    memory.open(pak, &config);
    GameCfg_Manager()->makeCurrent(&config);
    const QString image = game.filePath("baseq3/textures/a/b.jpg");
    EXPECT_TRUE(exists(image));
    EXPECT_EQ(load(image), "game");
    EXPECT_FALSE(exists(game.filePath("baseq3/textures/a/c.jpg")));
    Archive_ReleaseByOwner(&registry, &config);
}

TEST_F(ArchiveRegistryTest, UnopenedArchivesStayAndListingsHoldEachNameOnce) {
    cMemoryArchives memory;
    // Registered nowhere: the format refuses it; a ".zip" has no format at all.
    ArchiveHandle* refused = Archive_Open(&registry, path("baseoa/none.zmem"), &config);
    EXPECT_FALSE(refused->loaded);
    console.clear();
    EXPECT_EQ(Archive_Open(&registry, path("baseoa/none.zmem"), &config), refused);
    EXPECT_TRUE(console.contains("Reusing archive"));
    EXPECT_FALSE(Archive_Open(&registry, path("baseoa/x.zip"), &config)->loaded);

    memory.add(path("baseoa/a.zmem"), {{"textures/a.tga", "1"}, {"textures/b.tga", "2"}});
    memory.add(path("baseoa/b.zmem"), {{"textures/b.tga", "3"}, {"textures/c.jpg", "4"}});
    memory.open(path("baseoa/a.zmem"), &config);
    memory.open(path("baseoa/b.zmem"), &config);
    EXPECT_TRUE(Archive_ListFiles(&registry, "*.tga", false).isEmpty()) << "no current configuration";
    GameCfg_Manager()->makeCurrent(&config);
    EXPECT_EQ(Archive_ListFiles(&registry, "textures/*.tga", false),
              QStringList({"textures/b.tga", "textures/a.tga"}));
    EXPECT_TRUE(Archive_ListFiles(&registry, "*", true).isEmpty());
    Archive_ReleaseByOwner(&registry, &config);
    EXPECT_TRUE(registry.open.isEmpty());
}

// ---- The PK3 format of the Quake III plugin, through the host ----------------------------------

class Pk3Registry : public ArchiveRegistryTest {
protected:
    void SetUp() override {
        ArchiveRegistryTest::SetUp();
        const QString plugin = QStringLiteral(ZARV_BIN_DIR) + "/plugins/kpQuake3x64.so";
        if (!QFileInfo::exists(plugin)) GTEST_SKIP() << "the Quake III plugin is not built";
        if (registry.formats.isEmpty()) ASSERT_TRUE(Plugin_Load(GameData_Plugins(), plugin));
        config.MapProfile = "kpQuake3";
    }
    void write(const QString& relative, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path(relative)).path());
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
};

TEST_F(Pk3Registry, ConfigurationArchivesServeFileLoading) {
    write("baseoa/pak0.pk3",
          Pk3Build({{"scripts/a.shader", "pak0", 8}, {"textures/Base/Wall.TGA", "wall", 0}}));
    write("baseoa/pak1.pk3", Pk3Build({{"scripts/a.shader", "pak1", 8}}));
    write("baseoa/broken.pk3", "not a zip");
    write("mod/zz.pk3", Pk3Build({{"scripts/a.shader", "mod", 0}}));
    write("baseoa2/pak9.pk3", Pk3Build({{"x.txt", "sibling", 0}}));
    Archive_LoadForConfig(&registry, &config);
    EXPECT_EQ(registry.baseArchives.values(&config).size(), 2);
    EXPECT_EQ(registry.modArchives.values(&config).size(), 1);
    EXPECT_TRUE(console.contains(QString("archive \"%1\" refused").arg(path("baseoa/broken.pk3"))));

    GameCfg_Manager()->makeCurrent(&config);
    EXPECT_EQ(load(path("baseoa/scripts/a.shader")), "pak1");
    EXPECT_EQ(load("scripts/a.shader"), "mod");
    EXPECT_EQ(load("textures/base/wall.tga"), "wall");
    EXPECT_TRUE(Sys_FileExists(QFile::encodeName(path("baseoa/TEXTURES/base/wall.tga")).constData()));
    char found[1024];
    EXPECT_TRUE(Sys_FindFile("textures/base/wall.tga", found, sizeof found));
    EXPECT_EQ(QString(found), path("baseoa/textures/base/wall.tga"));
    EXPECT_FALSE(exists(path("baseoa2/x.txt")));
    EXPECT_EQ(Archive_ListFiles(&registry, "scripts/*", false), QStringList({"scripts/a.shader"}));

    Archive_ReleaseByOwner(&registry, &config);
    EXPECT_TRUE(registry.open.isEmpty());
    EXPECT_TRUE(registry.baseArchives.isEmpty());
    EXPECT_TRUE(registry.modArchives.isEmpty());
}

TEST_F(Pk3Registry, AGameFolderOfArchivesGivesItsScriptsAndTextureFolders) {
    // The game lists its scripts (one missing, one unlisted); the mod lists none.
    write("baseoa/pak0.pk3", Pk3Build({{"scripts/shaderlist.txt", "b // first\r\na\r\ngone\r\n", 8},
                                       {"scripts/a.shader", "textures/wall/a\n{\n}\n", 8},
                                       {"scripts/b.shader", "textures/wall/b\n{\n}\n", 8},
                                       {"scripts/unlisted.shader", "x\n{\n}\n", 8},
                                       {"textures/wall/x.tga", "x", 0},
                                       {"textures/floor/y.jpg", "y", 0},
                                       {"textures/floor/deep/z.jpg", "z", 0},
                                       {"textures/subfoldersonly/deep/q.jpg", "q", 0}}));
    write("mod/zz.pk3", Pk3Build({{"scripts/m.shader", "textures/modgroup/m\n{\n}\n", 8},
                                  {"textures/modgroup/z.tga", "z", 0}}));
    // A map pack beside the game brings scripts no list names; one on disk too.
    write("baseoa/map-pack.pk3", Pk3Build({{"scripts/Pack.shader", "textures/pack/sky\n{\n}\n", 8},
                                           {"scripts/A.shader", "textures/wall/a\n{\n}\n", 8},
                                           {"scripts/deep/no.shader", "n\n{\n}\n", 8}}));
    write("baseoa/scripts/local.shader", "textures/local/l\n{\n}\n");
    Archive_LoadForConfig(&registry, &config);
    GameCfg_Manager()->makeCurrent(&config);
    const QString base = path("baseoa"), mod = path("mod");
    const QStringList expected = {
        mod + "/scripts::*.shader",          mod + "/textures/modgroup::*.tga;*.jpg",
        base + "/scripts/b.shader",          base + "/scripts/a.shader",
        base + "/scripts/local.shader",
        base + "/scripts/pack.shader", // archive names are lower case
        base + "/scripts/unlisted.shader",   base + "/textures/floor::*.tga;*.jpg",
        base + "/textures/wall::*.tga;*.jpg"};
    console.clear();
    EXPECT_EQ(GameCfg_FindTexturePackages(&config).join('\n').toStdString(),
              expected.join('\n').toStdString());
    EXPECT_TRUE(console.contains(QString("3 effect scripts of \"%1\" are not named in "
                                         "scripts/shaderlist.txt: read after the listed ones")
                                     .arg(base)))
        << console.lines.join('\n').toStdString();

    // The pack's script loads from its archive.
    TexturePackage* pack = Tex_AcquirePackage(base + "/scripts/pack.shader");
    ASSERT_NE(pack, nullptr);
    EXPECT_TRUE(Tex_LoadPackage(pack, nullptr, config.GameBasedir, QString()));
    EXPECT_NE(Tex_FindShader(GameData_Textures(), "pack/sky"), nullptr);
    Tex_ReleasePackage(base + "/scripts/pack.shader");

    // The mod's folder package of scripts loads them through the effect-script format.
    TexturePackage* scripts = Tex_AcquirePackage(mod + "/scripts::*.shader");
    ASSERT_NE(scripts, nullptr);
    console.clear();
    EXPECT_TRUE(Tex_LoadPackage(scripts, nullptr, config.GameBasedir, QString()));
    EXPECT_FALSE(console.contains("couldn't load textures")) << console.lines.join('\n').toStdString();
    EXPECT_NE(Tex_FindShader(GameData_Textures(), "modgroup/m"), nullptr);
    Tex_ReleasePackage(mod + "/scripts::*.shader");
    Archive_ReleaseByOwner(&registry, &config);
}

// A texture folder inside the game's archives counts and sizes its members as one on disk does.
TEST_F(Pk3Registry, ATextureFolderInsideArchivesHasTheSizeOfItsMembers) {
    write("baseoa/pak0.pk3", Pk3Build({{"textures/wall/a.tga", QByteArray(1000, 'a'), 8},
                                       {"textures/wall/b.jpg", "bb", 0},
                                       {"textures/wall/deep/c.tga", "not counted", 0}}));
    write("baseoa/textures/wall/d.tga", "dddd");
    Archive_LoadForConfig(&registry, &config);
    GameCfg_Manager()->makeCurrent(&config);
    const QString key = path("baseoa") + "/textures/wall::*.tga;*.jpg";
    TexturePackage* package = Tex_AcquirePackage(key);
    ASSERT_NE(package, nullptr);
    const TexturePackageInfo info = Tex_GetPackageInfo(GameData_Textures(), package);
    EXPECT_EQ(info.kind, kPackageDirectory);
    EXPECT_EQ(info.count, 3);
    EXPECT_EQ(info.size, 1006);
    EXPECT_EQ(Archive_FileSize(&registry, QFile::encodeName(path("baseoa/textures/wall/a.tga")).constData()),
              1000);
    EXPECT_EQ(Archive_FileSize(&registry, QFile::encodeName(path("baseoa/textures/none.tga")).constData()),
              -1);
    Tex_ReleasePackage(key);
    Archive_ReleaseByOwner(&registry, &config);
}

// A configuration naming only its game folder needs its precache, which finds the packages; the
// editor's list is found again at every precache (a map pack added later shows its textures) and
// is not written to the file, while a list the user edited is kept as written.
TEST_F(Pk3Registry, TheEditorsPackageListIsFoundAgainAtEveryPrecache) {
    const QString base = path("baseoa"), file = path("KDKGameCfg.ini");
    write("baseoa/pak0.pk3", Pk3Build({{"textures/wall/x.tga", "x", 0}}));
    const QString wall = base + "/textures/wall::*.tga;*.jpg", pack = base + "/textures/pack::*.tga;*.jpg";
    {
        GameConfigManager first;
        GameConfig* oa = GameCfg_AddConfig(&first, "OA");
        oa->MapProfile = "kpQuake3";
        oa->GameBasedir = base;
        EXPECT_TRUE(GameCfg_NeedsPrecache(oa)); // nothing listed yet: still to be found
        GameCfg_Precache(&first, oa);
        EXPECT_EQ(oa->Parcel, QStringList{wall});
        EXPECT_FALSE(GameCfg_NeedsPrecache(oa));
        oa->GameModdir = path("mod"); // other folders: found again
        EXPECT_TRUE(GameCfg_NeedsPrecache(oa));
        oa->GameModdir.clear();
        ASSERT_TRUE(GameCfg_SaveConfigurationsTo(&first, file));
    }
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_FALSE(saved.readAll().contains("Parcel")) << "the editor's list was written";
    saved.close();

    write("baseoa/map-pack.pk3", Pk3Build({{"textures/pack/y.tga", "y", 0}}));
    {
        GameConfigManager second;
        ASSERT_TRUE(GameCfg_LoadConfigurationsFrom(&second, file));
        ASSERT_EQ(second.configs.size(), 1);
        GameConfig* oa = second.configs[0];
        EXPECT_TRUE(GameCfg_NeedsPrecache(oa));
        GameCfg_Precache(&second, oa);
        EXPECT_EQ(oa->Parcel, (QStringList{pack, wall}));
        // The user drops the pack, as the Game Profiles page does: the list is theirs now.
        oa->Parcel.removeOne(pack);
        Tex_ReleasePackage(pack);
        oa->ParcelEdited = true;
        ASSERT_TRUE(GameCfg_SaveConfigurationsTo(&second, file));
    }
    write("baseoa/more.pk3", Pk3Build({{"textures/more/z.tga", "z", 0}}));
    {
        GameConfigManager third;
        ASSERT_TRUE(GameCfg_LoadConfigurationsFrom(&third, file));
        ASSERT_EQ(third.configs.size(), 1);
        GameConfig* oa = third.configs[0];
        EXPECT_TRUE(oa->ParcelEdited);
        GameCfg_Precache(&third, oa);
        EXPECT_EQ(oa->Parcel, QStringList{wall});
        EXPECT_FALSE(GameCfg_NeedsPrecache(oa));
    }
}

} // namespace
