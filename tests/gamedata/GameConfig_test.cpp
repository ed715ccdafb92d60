// The game-configuration manager on small entity-definition fixtures loaded through the real
// loader: the editing operations and their warnings, precaching and its class trees, assignment
// of an edited copy (AddressSanitizer watches for anything left on freed configurations), and the
// configuration file read and written through the manager.
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "FgdFixture.h"
#include "MemoryArchive.h"
#include "core/FileLookup.h"
#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "core/System.h"
#include "core/WaitScope.h"
#include "gamedata/ArchiveRegistry.h"
#include "gamedata/GameConfig.h"
#include "gamedata/GameDataHost.h"
#include "document/GameDataServices.h"
#include "gamedata/MapProfile.h"
#include "gamedata/TextureLists.h"
#include "gamedata/TexturePackage.h"

namespace {

class GameConfigTest : public FgdFixture {
protected:
    void TearDown() override {
        GameCfg_DestroyManager(manager());
        Sys_FileLookup() = FileLookupConfig();
    }
    GameConfigManager* manager() { return GameCfg_Manager(); }
    GameConfig* add(GameConfigManager* m, const QString& title, const QStringList& files) {
        GameConfig* config = GameCfg_AddConfig(m, title);
        config->GameData = files;
        for (const QString& path : files)
            Fgd_Acquire(registry(), path);
        return config;
    }
    int32_t countOf(const QString& path) {
        const GameData* data = registry()->files.value(path, nullptr);
        return data ? data->refCount : 0;
    }
    QStringList names(const ClassTreeNode& node) {
        QStringList list;
        for (const ClassTreeNode& child : node.children)
            list << (child.name.isEmpty() ? QString::fromLatin1(child.eclass->name)
                                          : QStringLiteral("[%1]").arg(QString::fromLatin1(child.name)));
        return list;
    }
};

TEST_F(GameConfigTest, EditingOperationsAndTheirWarnings) {
    const QString fgd = write("a.fgd", "@PointClass = a []");
    GameConfig* base = add(manager(), "Base", {fgd});
    EXPECT_EQ(base->TextureFormat, 1);
    EXPECT_TRUE(base->Enabled);
    EXPECT_EQ(countOf(fgd), 1);

    GameConfig* copy = GameCfg_DuplicateConfig(manager(), "Base", "Base Copy");
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GameData, base->GameData);
    EXPECT_EQ(countOf(fgd), 2); // the copy holds the file too
    EXPECT_NE(manager()->textureListsByTitle.value("Base Copy"), nullptr);

    TextureLists* lists = manager()->textureListsByTitle.value("Base Copy");
    GameCfg_RenameConfig(manager(), "Base Copy", "Renamed");
    EXPECT_EQ(GameCfg_FindConfig(manager(), "Renamed"), copy);
    EXPECT_EQ(GameCfg_FindConfig(manager(), "Base Copy"), nullptr);
    EXPECT_EQ(manager()->textureListsByTitle.value("Renamed"), lists);
    GameCfg_SelectByTitle(manager(), "Renamed");
    EXPECT_EQ(GameCfg_CurrentTextureLists(), lists);

    console.clear();
    struct Case {
        std::function<void()> run;
        const char* warning;
    };
    base->inUseCount = 1;
    const Case cases[] = {
        {[&] { EXPECT_EQ(GameCfg_DuplicateConfig(manager(), "Nope", "Nope Copy"), nullptr); },
         "no such config: Nope"},
        {[&] { GameCfg_RenameConfig(manager(), "Nope", "Other"); }, "no such config: Nope"},
        {[&] { GameCfg_RemoveConfig(manager(), "Nope"); }, "no such config: Nope"},
        {[&] { GameCfg_RemoveConfig(manager(), "Base"); }, "tried to remove in-use config: Base"},
    };
    for (const Case& c : cases) {
        console.clear();
        c.run();
        ASSERT_EQ(messages().size(), 1) << c.warning;
        EXPECT_TRUE(console.contains(QString::fromLatin1(c.warning))) << c.warning;
    }
    EXPECT_EQ(manager()->configs.size(), 2);

    GameCfg_RemoveConfig(manager(), "Renamed");
    EXPECT_EQ(manager()->configs.size(), 1);
    EXPECT_EQ(manager()->current, nullptr);
    EXPECT_EQ(manager()->textureListsByTitle.value("Renamed"), nullptr);
    EXPECT_EQ(countOf(fgd), 1);
    base->inUseCount = 0;
}

TEST_F(GameConfigTest, PrecacheSortsTreesAndTheLastListedFileWins) {
    const QString a = write("a.fgd", "@PointClass color(1 1 1) = light []\n"
                                     "@PointClass = zeta []\n@PointClass = light_spot []\n"
                                     "@SolidClass = func_door []\n@SolidClass = worldspawn []\n"
                                     "@PointClass = alpha []");
    const QString b = write("b.fgd", "@PointClass color(2 2 2) = light []");
    GameConfig* config = add(manager(), "Game", {a, b});
    GameConfig* empty = GameCfg_AddConfig(manager(), "Empty");
    EXPECT_FALSE(GameCfg_NeedsPrecache(empty)); // nothing to load
    EXPECT_TRUE(GameCfg_NeedsPrecache(config));
    EXPECT_EQ(Fgd_FindClassInConfig(config, "light", ClassSelector::Point), nullptr); // not precached

    GameCfg_Precache(manager(), config);
    EXPECT_FALSE(GameCfg_NeedsPrecache(config));
    EXPECT_EQ(config->precachedGameData, (QStringList{b, a}));
    EXPECT_EQ(Fgd_FindClassInConfig(config, "light", ClassSelector::Point)->color[0], 2);
    EXPECT_EQ(Fgd_FindClassInConfig(config, "zeta", ClassSelector::Point)->name, "zeta");
    EXPECT_EQ(Sys_FileLookup().current, config);

    // Groups first, then classes by name; a's automatic group "light" holds a's light and
    // light_spot, b has no groups (its light sits at the root).
    EXPECT_EQ(names(config->pointClassTree), (QStringList{"[light]", "alpha", "light", "zeta"}));
    EXPECT_EQ(names(config->pointClassTree.children[0]), (QStringList{"light", "light_spot"}));
    EXPECT_EQ(names(config->solidClassTree), (QStringList{"[func]"}));
    EXPECT_TRUE(messages().isEmpty()) << messages().join('\n').toStdString();
}

// The preferences dialog edits a copy and assigns it back. Removing a configuration in the copy
// must leave nothing of it reachable in the main manager or the file look-ups.
TEST_F(GameConfigTest, AssigningACopyWithAConfigurationRemoved) {
    const QString a = write("a.fgd", "@PointClass = a []");
    const QString b = write("b.fgd", "@PointClass = b []");
    GameConfig* keep = add(manager(), "Keep", {a});
    GameConfig* drop = add(manager(), "Drop", {b});
    keep->inUseCount = 1;
    GameCfg_Precache(manager(), drop);
    GameCfg_Precache(manager(), keep); // "Drop" moves to the previous slot
    ASSERT_EQ(Sys_FileLookup().previous, drop);
    const void* gone[] = {keep, drop};

    int rebinds = 0;
    manager()->rebindConfigUsers = [&] {
        ++rebinds;
        // The users move while the old configurations still exist.
        EXPECT_EQ(keep->Title, QStringLiteral("Keep"));
    };
    {
        GameConfigManager edited(*manager());
        EXPECT_EQ(countOf(a), 2);
        GameCfg_RemoveConfig(&edited, "Drop");
        // The copy's count came from the configuration it copied.
        edited.configs[0]->inUseCount = 1;
        GameCfg_Assign(manager(), edited, true);
    }
    EXPECT_EQ(rebinds, 1);
    manager()->rebindConfigUsers = nullptr;

    ASSERT_EQ(manager()->configs.size(), 1);
    GameConfig* now = manager()->configs[0];
    EXPECT_EQ(now->Title, QStringLiteral("Keep"));
    EXPECT_FALSE(manager()->byTitle.contains("Drop"));
    EXPECT_FALSE(manager()->textureListsByTitle.contains("Drop"));
    EXPECT_EQ(countOf(a), 1);
    EXPECT_EQ(countOf(b), 0); // the last holder released it
    for (const void* old : gone) {
        EXPECT_NE(static_cast<const void*>(Sys_FileLookup().current), old);
        EXPECT_NE(static_cast<const void*>(Sys_FileLookup().previous), old);
        EXPECT_FALSE(GameData_Archives()->baseArchives.contains(static_cast<const GameConfig*>(old)));
    }
    // Resolving a name reads the look-up slots: freed memory would be reported here.
    char buffer[256];
    Sys_SwitchFileLookup(now);
    Sys_FindFile("nothing.txt", buffer, sizeof buffer);
    // Without a map window nothing is current; the empty profile stands in.
    EXPECT_EQ(manager()->current, nullptr);
    EXPECT_STREQ(GameCfg_CurrentProfile(manager())->name, "(null)");
    EXPECT_EQ(now->inUseCount, 0); // nobody re-bound to it in this test
}

TEST_F(GameConfigTest, AssignPrecachesOnlyConfigurationsInUse) {
    const QString a = write("a.fgd", "@PointClass = a []");
    const QString b = write("b.fgd", "@PointClass = b []");
    GameConfigManager source;
    add(&source, "Used", {a})->inUseCount = 1;
    add(&source, "Idle", {b});
    QString waitText;
    registry()->rebindClassUsers = [&] {
        if (g_waitScope) waitText = g_waitScope->text;
    };
    GameCfg_Assign(manager(), source, true);
    registry()->rebindClassUsers = nullptr;
    EXPECT_EQ(waitText, QStringLiteral("Precaching game configuration..."));
    EXPECT_EQ(registry()->files.value(a)->loadState, GameDataState::Loaded);
    EXPECT_EQ(registry()->files.value(b)->loadState, GameDataState::NotLoaded);
    EXPECT_EQ(GameCfg_FindConfig(manager(), "Used")->precachedGameData, QStringList{a});
    EXPECT_TRUE(GameCfg_FindConfig(manager(), "Idle")->precachedGameData.isEmpty());
    EXPECT_EQ(g_waitScope, nullptr); // shown and gone
}

TEST_F(GameConfigTest, FileThroughTheManager) {
    const QString fgd = write("game.fgd", "@PointClass = a []");
    const QString path = folder.filePath("KDKGameCfg.ini");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("[Config0]\nTitle=First\nGameData0=%1\nDefaultTextureScale=0.05\n"
                              "[Config1]\nTitle=First\nEnabled=true\n")
                   .arg(fgd)
                   .toUtf8());
    file.close();

    for (bool noPrecache : {true, false}) {
        GameCfg_DestroyManager(manager());
        Sys_MutableSettings()->NoPrecache = noPrecache;
        ASSERT_TRUE(GameCfg_LoadConfigurationsFrom(manager(), path));
        ASSERT_EQ(manager()->configs.size(), 2);
        EXPECT_EQ(manager()->byTitle.value("First"), manager()->configs[1]); // the later one
        EXPECT_FLOAT_EQ(manager()->configs[0]->DefaultTextureScale, 1.0f);
        EXPECT_EQ(countOf(fgd), 1);
        EXPECT_EQ(manager()->configs[0]->precachedGameData.isEmpty(), noPrecache);
    }
    Sys_MutableSettings()->NoPrecache = true;

    const QString saved = folder.filePath("saved.ini");
    ASSERT_TRUE(GameCfg_SaveConfigurationsTo(manager(), saved));
    QFile out(saved);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    const QByteArray text = out.readAll();
    EXPECT_TRUE(text.contains("DefaultTextureScale=1.000")) << text.constData();
    EXPECT_TRUE(text.contains("[Config1]"));
}

// A filtered texture folder that exists only inside the game's archives is a folder package, though
// no configuration was current while the file was read; the look-ups are left as they were.
TEST_F(GameConfigTest, ArchiveOnlyTextureFolderOfAReadConfigurationIsAFolder) {
    const QString package = folder.filePath("game/textures/packed") + "::*.tga;*.jpg";
    const QString path =
        write("KDKGameCfg.ini", QStringLiteral("[Config0]\nTitle=Packed\nGameBasedir=%1\nParcel0=\"%2\"\n")
                                    .arg(folder.filePath("game"), package)
                                    .toUtf8());
    ASSERT_EQ(Sys_FileLookup().current, nullptr);
    ASSERT_TRUE(GameCfg_LoadConfigurationsFrom(manager(), path));
    ASSERT_EQ(manager()->configs.size(), 1);
    ASSERT_EQ(manager()->configs[0]->Parcel, QStringList{package});
    const TexturePackage* found = Tex_FindPackage(package);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->kind, kPackageDirectory);
    EXPECT_EQ(Sys_FileLookup().current, nullptr);
}

TEST_F(GameConfigTest, TheFileLivesInTheSettingsFolder) {
    const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", folder.filePath("config").toUtf8());
    const QString writing = GameData_Host()->configFile("KDKGameCfg.ini", true);
    EXPECT_EQ(writing, folder.filePath("config/zarv/KDKGameCfg.ini"));
    EXPECT_TRUE(QDir(folder.filePath("config/zarv")).exists());
    // Not there yet: read the one beside the program.
    EXPECT_EQ(GameData_Host()->configFile("KDKGameCfg.ini", false),
              App_GetBaseDirectory() + "/KDKGameCfg.ini");
    add(manager(), "Saved", {});
    ASSERT_TRUE(GameCfg_SaveConfigurations(manager()));
    EXPECT_EQ(GameData_Host()->configFile("KDKGameCfg.ini", false), writing);
    GameCfg_DestroyManager(manager());
    ASSERT_TRUE(GameCfg_LoadConfigurations(manager()));
    ASSERT_EQ(manager()->configs.size(), 1);
    EXPECT_EQ(manager()->configs[0]->Title, QStringLiteral("Saved"));
    if (previous.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", previous);
}

// Archives a configuration opened are owned by the configuration: an assignment hands them to the
// new configurations and no handle keeps a freed one as owner.
TEST_F(GameConfigTest, AssignHandsArchiveOwnershipToTheNewConfigurations) {
    cMemoryArchives memory;
    const QString base = folder.filePath("base");
    QDir().mkpath(base);
    const QString pak = base + "/pak0.zmem";
    write("base/pak0.zmem", "memory");
    memory.add(pak, {{"maps/a.txt", "a"}});
    MapProfileRecord record{};
    std::strcpy(record.name, "memprofile");
    std::strcpy(record.archiveExtensions, ".zmem");
    GameCfg_RegisterProfile(manager(), nullptr, &record);
    GameConfig* keep = add(manager(), "Keep", {});
    GameConfig* drop = add(manager(), "Drop", {});
    for (GameConfig* config : {keep, drop}) {
        config->MapProfile = "memprofile";
        config->GameBasedir = base;
        GameCfg_Precache(manager(), config);
    }
    ArchiveHandle* handle = GameData_Archives()->open.value(pak, nullptr);
    ASSERT_TRUE(handle && handle->loaded);
    ASSERT_EQ(handle->ownerCount, 2);
    {
        GameConfigManager edited(*manager());
        EXPECT_EQ(handle->ownerCount, 4); // the copies own it too
        GameCfg_RemoveConfig(&edited, "Drop");
        EXPECT_EQ(handle->ownerCount, 3);
        GameCfg_Assign(manager(), edited, true);
    }
    ASSERT_EQ(GameData_Archives()->open.value(pak, nullptr), handle); // never closed on the way
    ASSERT_EQ(handle->ownerCount, 1);
    EXPECT_EQ(handle->owners->owner, manager()->configs[0]);
    EXPECT_EQ(GameData_Archives()->baseArchives.keys(), QList<const GameFolders*>{manager()->configs[0]});
    // The kept configuration still finds its files in the archive.
    Sys_SwitchFileLookup(manager()->configs[0]);
    EXPECT_TRUE(Sys_FileExists("maps/a.txt"));
    GameCfg_DestroyManager(manager());
    EXPECT_TRUE(GameData_Archives()->open.isEmpty());
}

} // namespace

TEST(TextureGamma, FollowsTheCurrentConfiguration) {
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
