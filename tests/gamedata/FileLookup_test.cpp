// Remembered file look-ups against the real look-up: loose files, other spellings, PK3 members
// through the Quake III plugin's format, and what has to make a remembered answer go.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "Pk3Writer.h"
#include "core/FileLookup.h"
#include "core/System.h"
#include "gamedata/ArchiveRegistry.h"
#include "gamedata/GameConfig.h"
#include "gamedata/GameDataHost.h"
#include "gamedata/ModelCache.h"
#include "gamedata/PluginManager.h"
#include "mainwindow/MainWindow.h"

namespace {

struct Answer {
    bool found = false;
    QString path;
};

class FileLookupTest : public ::testing::Test {
public: // the table rows change the fixture through lambdas
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        const QString plugin = QStringLiteral(ZARV_BIN_DIR) + "/plugins/kpQuake3x64.so";
        if (!QFileInfo::exists(plugin)) GTEST_SKIP() << "the Quake III plugin is not built";
        if (registry().formats.isEmpty()) ASSERT_TRUE(Plugin_Load(GameData_Plugins(), plugin));
        config.MapProfile = "kpQuake3";
        config.GameBasedir = path("baseoa");
        config.GameModdir = path("mod");
        write("baseoa/models/loose.md3", "loose");
        write("baseoa/Sprites/Upper.SPR", "upper");
        write("baseoa/models/both.md3", "game");
        write("mod/models/both.md3", "mod");
        write("baseoa/pak0.pk3", Pk3Build({{"models/packed.md3", "packed", 8}}));
        Archive_LoadForConfig(&registry(), &config);
        GameCfg_Manager()->makeCurrent(&config);
        working = QDir::currentPath();
    }
    void TearDown() override {
        QDir::setCurrent(working);
        GameCfg_Manager()->makeCurrent(nullptr);
        Archive_ReleaseByOwner(&registry(), &config);
        Archive_ReleaseByOwner(&registry(), &other);
        Sys_ForgetFoundFiles();
    }

    static ArchiveRegistry& registry() { return *GameData_Archives(); }
    QString path(const QString& relative) const { return dir.filePath(relative); }
    void write(const QString& relative, const QByteArray& bytes) const {
        QDir().mkpath(QFileInfo(path(relative)).path());
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static Answer uncached(const char* name) {
        char buffer[4096];
        const bool found = Sys_FindFile(name, buffer, sizeof buffer);
        return {found, QFile::decodeName(buffer)};
    }
    static Answer remembered(const char* name) {
        QByteArray resolved;
        const bool found = Sys_FindFileRemembered(name, &resolved);
        return {found, QFile::decodeName(resolved)};
    }

    cConsoleCapture console;
    QTemporaryDir dir;
    GameConfig config;
    GameConfig other;
    QString working;
};

void expectSame(const Answer& actual, const Answer& expected, const char* name) {
    EXPECT_EQ(actual.found, expected.found) << name;
    EXPECT_EQ(actual.path, expected.path) << name;
}

TEST_F(FileLookupTest, RememberedAnswersMatchTheLookUp) {
    const struct {
        const char* name;
        bool found;
        const char* expected; // relative to the temporary folder; the name itself when missing
    } cases[] = {
        {"models/loose.md3", true, "baseoa/models/loose.md3"},
        {"sprites/upper.spr", true, "baseoa/Sprites/Upper.SPR"},
        {"models/both.md3", true, "mod/models/both.md3"},
        {"models/packed.md3", true, "baseoa/models/packed.md3"},
        {"models/none.md3", false, nullptr},
    };
    for (const auto& c : cases) {
        const Answer expected{c.found, c.expected ? path(c.expected) : QString(c.name)};
        expectSame(uncached(c.name), expected, c.name);
        // The first answer is looked up, the second one comes from memory.
        expectSame(remembered(c.name), expected, c.name);
        expectSame(remembered(c.name), expected, c.name);
    }
}

// Each change makes a name resolve elsewhere; the remembered answer follows without being told.
TEST_F(FileLookupTest, ChangedFoldersArchivesAndConfigurationsAreSeen) {
    const struct {
        const char* what;
        const char* name;
        std::function<void(FileLookupTest&)> change;
        const char* expected;
    } cases[] = {
        {"mod folder dropped", "models/both.md3", [](FileLookupTest& t) { t.config.GameModdir.clear(); },
         "baseoa/models/both.md3"},
        {"game folder moved", "models/loose.md3",
         [](FileLookupTest& t) {
             t.write("other/models/loose.md3", "other");
             t.config.GameBasedir = t.path("other");
         },
         "other/models/loose.md3"},
        {"archive added to the mod folder", "models/packed.md3",
         [](FileLookupTest& t) {
             t.write("mod/zz.pk3", Pk3Build({{"models/packed.md3", "mod", 8}}));
             Archive_ReleaseByOwner(&registry(), &t.config);
             Archive_LoadForConfig(&registry(), &t.config);
         },
         "mod/models/packed.md3"},
        {"other configuration current", "models/loose.md3",
         [](FileLookupTest& t) {
             t.write("third/models/loose.md3", "third");
             t.other.GameBasedir = t.path("third");
             GameCfg_Manager()->makeCurrent(&t.other);
         },
         "third/models/loose.md3"},
        {"working folder changed", "models/loose.md3",
         [](FileLookupTest& t) {
             t.write("work/models/loose.md3", "work");
             QDir::setCurrent(t.path("work"));
         },
         nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        const Answer before = remembered(c.name);
        ASSERT_TRUE(before.found);
        c.change(*this);
        const Answer after{true, c.expected ? path(c.expected) : QString(c.name)};
        ASSERT_NE(before.path, after.path);
        expectSame(uncached(c.name), after, c.name);
        expectSame(remembered(c.name), after, c.name);
    }
}

TEST_F(FileLookupTest, AFileAddedAfterAMissIsFound) {
    EXPECT_FALSE(remembered("models/late.md3").found);
    write("baseoa/models/late.md3", "late");
    expectSame(remembered("models/late.md3"), {true, path("baseoa/models/late.md3")}, "late");

    // Through the model cache: the miss's unloaded entry does not hide the file added later.
    ModelCache* cache = Model_Cache();
    const QString key = Model_CacheKey("models/later.md3");
    EXPECT_EQ(key, QStringLiteral("models/later.md3"));
    write("baseoa/models/later.md3", "later");
    EXPECT_EQ(Model_CacheKey("models/later.md3"), path("baseoa/models/later.md3"));
    Model_FreeAll(cache);
}

// A file put in front of a found one is seen after a reload or once the editor writes files.
TEST_F(FileLookupTest, ReloadingFindsAFileInAnEarlierFolder) {
    const struct {
        const char* what;
        std::function<void(FileLookupTest&)> reload;
    } cases[] = {
        {"map opened", [](FileLookupTest&) { Model_PurgeUnused(); }},
        {"configuration loaded", [](FileLookupTest& t) { GameCfg_Precache(nullptr, &t.config); }},
        {"model reloaded",
         [](FileLookupTest&) {
             ModelCacheEntry* entry = Model_AcquireModel(Model_Cache(), "models/loose.md3", nullptr);
             Model_ReloadModel(Model_Cache(), entry, nullptr);
             Model_ReleaseModelEntry(Model_Cache(), entry);
         }},
        {"folders created for a file",
         [](FileLookupTest& t) {
             EXPECT_TRUE(Sys_CreatePath(QFile::encodeName(t.path("mod/maps/new.map")).constData()));
         }},
    };
    int round = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray name = QStringLiteral("models/front%1.md3").arg(round++).toUtf8();
        write("baseoa/" + name, "game");
        ASSERT_EQ(remembered(name).path, path("baseoa/" + name));
        write("mod/" + name, "mod");
        c.reload(*this);
        EXPECT_EQ(remembered(name).path, path("mod/" + name));
    }
}

} // namespace
