#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <sys/time.h>

#include "core/Platform.h"

TEST(Platform, FindFileNoCaseMatchesEachComponent) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkpath("Models/MapObjects"));
    QFile file(dir.filePath("Models/MapObjects/Tree.MD3"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    const QString actual = dir.filePath("Models/MapObjects/Tree.MD3");
    EXPECT_EQ(Plat_FindFileNoCase(actual), actual);
    EXPECT_EQ(Plat_FindFileNoCase(dir.filePath("models/mapobjects/tree.md3")), actual);
    EXPECT_TRUE(Plat_FindFileNoCase(dir.filePath("models/mapobjects/bush.md3")).isEmpty());
    // A folder is not a file.
    EXPECT_TRUE(Plat_FindFileNoCase(dir.filePath("models/mapobjects")).isEmpty());
    EXPECT_TRUE(Plat_FindFileNoCase(QString()).isEmpty());
}

namespace {

void touchFile(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

// Sets a folder's times an hour back, so its listing is old enough to be kept.
void ageFolder(const QString& path) {
    timeval times[2]{};
    gettimeofday(&times[0], nullptr);
    times[0].tv_sec -= 3600;
    times[1] = times[0];
    ASSERT_EQ(utimes(QFile::encodeName(path).constData(), times), 0);
}

} // namespace

// Listings of folders are kept between look-ups; whatever changes in a folder afterwards is seen,
// whether the folder's listing was kept (old folder) or too fresh to keep.
TEST(Platform, FindFileNoCaseSeesFilesChangedAfterALookUp) {
    for (const bool aged : {true, false}) {
        SCOPED_TRACE(aged ? "kept listing" : "fresh folder");
        QTemporaryDir dir;
        ASSERT_TRUE(QDir(dir.path()).mkpath("Textures/Base"));
        const QString folder = dir.filePath("Textures/Base");
        if (aged) ageFolder(folder);
        const QString asked = dir.filePath("textures/base/later.tga");
        EXPECT_TRUE(Plat_FindFileNoCase(asked).isEmpty());
        EXPECT_TRUE(Plat_FindFileNoCase(asked).isEmpty());

        touchFile(folder + "/Later.TGA");
        EXPECT_EQ(Plat_FindFileNoCase(asked), folder + "/Later.TGA");
        if (aged) ageFolder(folder);
        EXPECT_EQ(Plat_FindFileNoCase(asked), folder + "/Later.TGA");

        ASSERT_TRUE(QFile::remove(folder + "/Later.TGA"));
        EXPECT_TRUE(Plat_FindFileNoCase(asked).isEmpty());
        // A folder replaced by a file of the same name leads nowhere.
        if (aged) ageFolder(dir.path());
        EXPECT_TRUE(QDir(folder).removeRecursively());
        ASSERT_TRUE(QDir(dir.path()).rmdir("Textures"));
        touchFile(dir.filePath("Textures"));
        EXPECT_TRUE(Plat_FindFileNoCase(asked).isEmpty());
        EXPECT_EQ(Plat_FindFileNoCase(dir.filePath("TEXTURES")), dir.filePath("Textures"));
    }
}

// Within a look-up pass folders are read once; after it, changes made during it are seen.
TEST(Platform, LookupPassFindsFilesAndEndsCleanly) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("Scripts"));
    touchFile(dir.filePath("Scripts/Base.shader"));
    Plat_BeginLookupPass();
    Plat_BeginLookupPass();
    EXPECT_EQ(Plat_FindFileNoCase(dir.filePath("scripts/base.SHADER")), dir.filePath("Scripts/Base.shader"));
    EXPECT_TRUE(Plat_FindFileNoCase(dir.filePath("scripts/other.shader")).isEmpty());
    EXPECT_TRUE(Plat_FindFileNoCase(dir.filePath("scripts")).isEmpty());
    Plat_EndLookupPass();
    touchFile(dir.filePath("Scripts/Other.shader"));
    Plat_EndLookupPass();
    EXPECT_EQ(Plat_FindFileNoCase(dir.filePath("scripts/other.shader")),
              dir.filePath("Scripts/Other.shader"));
}

TEST(Platform, MakeDirectoryAcceptsExistingFolders) {
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath("sub"));
    EXPECT_EQ(Plat_MakeDirectory(path.constData()), 0);
    EXPECT_EQ(Plat_MakeDirectory(path.constData()), 0);
    QFile file(dir.filePath("file"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(Plat_MakeDirectory(QFile::encodeName(dir.filePath("file")).constData()), EEXIST);
}

TEST(Platform, ErrorTextsAreTheSystems) {
    EXPECT_STREQ(Plat_ErrorText(ENOENT), "No such file or directory");
}
