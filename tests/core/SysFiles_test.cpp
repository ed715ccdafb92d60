#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "ConsoleCapture.h"
#include "MemoryArchive.h"
#include "core/System.h"
#include "gamedata/ArchiveRegistry.h"
#include "gamedata/GameConfig.h"
#include "document/GameDataServices.h"

namespace {

class SysFiles : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    void TearDown() override { gameData.configs.makeCurrent(nullptr); }

    QString path(const QString& relative) const { return dir.filePath(relative); }
    QByteArray native(const QString& relative) const { return QFile::encodeName(path(relative)); }

    void write(const QString& relative, const QByteArray& bytes) const {
        QDir().mkpath(QFileInfo(path(relative)).path());
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // A current game configuration whose game folder is the temporary folder.
    void useGameConfig() {
        config.GameBasedir = dir.path();
        gameData.configs.makeCurrent(&config);
    }

    cConsoleCapture console;
    cGameDataServices gameData;
    QTemporaryDir dir;
    GameConfig config;
};

} // namespace

TEST_F(SysFiles, LoadFileReadsWholeFileZeroTerminated) {
    write("a.txt", QByteArray("hello\0world", 11));
    uint32_t length = 99;
    char* data = Sys_LoadFile(native("a.txt").constData(), &length);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(length, 11u);
    EXPECT_EQ(QByteArray(data, 11), QByteArray("hello\0world", 11));
    EXPECT_EQ(data[11], '\0');
    Sys_Free(data);

    write("empty.txt", QByteArray());
    data = Sys_LoadFile(native("empty.txt").constData(), nullptr);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data[0], '\0');
    Sys_Free(data);
}

TEST_F(SysFiles, LoadFileReportsMissingFilesAndFolders) {
    uint32_t length = 5;
    EXPECT_EQ(Sys_LoadFile(native("missing.txt").constData(), &length), nullptr);
    EXPECT_EQ(length, 0u);
    EXPECT_TRUE(console.contains("can't open \"" + path("missing.txt") + "\" (No such file or directory)"));
    EXPECT_EQ(Sys_LoadFile(QFile::encodeName(dir.path()).constData(), nullptr), nullptr);
    EXPECT_TRUE(console.contains("(Is a directory)"));
    EXPECT_EQ(Sys_LoadFile(nullptr, nullptr), nullptr);
}

TEST_F(SysFiles, GameFilesMatchWithoutRegardToCase) {
    write("Textures/Base/Wall.TGA", "pixels");
    uint32_t length = 0;
    char* data = Sys_LoadFile(native("textures/base/wall.tga").constData(), &length);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(length, 6u);
    Sys_Free(data);
    EXPECT_TRUE(Sys_FileExists(native("TEXTURES/base/WALL.tga").constData()));
    EXPECT_FALSE(Sys_FileExists(native("textures/base/floor.tga").constData()));
}

TEST_F(SysFiles, LoadFileFallsBackToArchivesOfTheCurrentConfiguration) {
    cMemoryArchives memory;
    memory.add(path("pak0.zmem"), {{"scripts/base.shader", "textures/base/wall\n{\n}\n"}});
    memory.open(path("pak0.zmem"), &config);
    const QByteArray relative = "Scripts/Base.shader";
    // Without a current configuration the archives are not consulted.
    EXPECT_EQ(Sys_LoadFile(relative.constData(), nullptr), nullptr);

    useGameConfig();
    uint32_t length = 0;
    char* data = Sys_LoadFile(relative.constData(), &length);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(length, 23u);
    EXPECT_STREQ(data, "textures/base/wall\n{\n}\n");
    Sys_Free(data);
    EXPECT_TRUE(Sys_FileExists(relative.constData()));
}

TEST_F(SysFiles, FindFileSearchesModThenGameFolder) {
    write("game/maps/a.map", "game");
    write("mod/maps/a.map", "mod");
    write("game/maps/b.map", "game");
    config.GameBasedir = path("game");
    config.GameModdir = path("mod");
    gameData.configs.makeCurrent(&config);

    char buffer[512];
    EXPECT_TRUE(Sys_FindFile("maps/a.map", buffer, sizeof buffer));
    EXPECT_EQ(QString(buffer), path("mod/maps/a.map"));
    EXPECT_TRUE(Sys_FindFile("MAPS/B.map", buffer, sizeof buffer));
    EXPECT_EQ(QString(buffer), path("game/maps/b.map"));

    EXPECT_FALSE(Sys_FindFile("maps/none.map", buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "maps/none.map");
    char small[5];
    EXPECT_FALSE(Sys_FindFile("maps/none.map", small, sizeof small));
    EXPECT_STREQ(small, "maps");
}

TEST_F(SysFiles, GameAndModFolders) {
    char buffer[256] = "stale";
    EXPECT_FALSE(Sys_GetGameDir(buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "");
    config.GameBasedir = "/games/q3";
    gameData.configs.makeCurrent(&config);
    EXPECT_TRUE(Sys_GetModDir(buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "/games/q3");
    config.GameModdir = "/games/q3/mymod";
    EXPECT_TRUE(Sys_GetModDir(buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "/games/q3/mymod");
    EXPECT_TRUE(Sys_GetGameDir(buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "/games/q3");
}

TEST_F(SysFiles, CreatePathMakesEveryFolderBeforeTheLastSlash) {
    const QByteArray folders = native("maps/new/");
    EXPECT_TRUE(Sys_CreatePath(folders.constData()));
    EXPECT_TRUE(QFileInfo(path("maps/new")).isDir());

    const QByteArray file = native("maps/deep/file.txt");
    char caller[512];
    std::strcpy(caller, file.constData());
    EXPECT_TRUE(Sys_CreatePath(caller));
    EXPECT_STREQ(caller, file.constData());
    EXPECT_TRUE(QFileInfo(path("maps/deep")).isDir());
    EXPECT_FALSE(QFileInfo::exists(path("maps/deep/file.txt")));
    // Existing folders are accepted.
    EXPECT_TRUE(Sys_CreatePath(folders.constData()));
}

TEST_F(SysFiles, CreatePathRefusesRelativeParts) {
    const QByteArray upward = native("maps/../x/");
    EXPECT_FALSE(Sys_CreatePath(upward.constData()));
    EXPECT_TRUE(console.contains("Sys_CreatePath: refusing to create relative path \"" + QString(upward)));
    EXPECT_FALSE(QFileInfo::exists(path("x")));
    EXPECT_FALSE(Sys_CreatePath("c::/x/"));
}

TEST_F(SysFiles, CreatePathStopsAtAFileInTheWay) {
    write("blocker", "x");
    EXPECT_FALSE(Sys_CreatePath(native("blocker/sub/").constData()));
}

TEST(SysPaths, MakeRelativePathStripsTheParentFolder) {
    struct Case {
        const char *directory, *path, *expected;
    };
    const Case cases[] = {
        {"/games/quake3/baseq3", "/games/quake3/baseq3/textures/wall.tga", "baseq3/textures/wall.tga"},
        {"\\games\\quake3\\baseq3", "\\games\\quake3\\pak0.pk3", "pak0.pk3"},
        {"/games/quake3/baseq3", "/other/file.tga", "/other/file.tga"},
        // A longer folder name is no parent.
        {"/games/q/baseq3", "/games/quake3/file.tga", "/games/quake3/file.tga"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Sys_MakeRelativePath(c.directory, c.path), QString(c.expected)) << c.path;
}

TEST(SysPaths, NativePathIsTheSamePointer) {
    const char* path = "maps/a.map";
    EXPECT_EQ(Sys_NativePath(path), path);
}
