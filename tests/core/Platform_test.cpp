#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>

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
