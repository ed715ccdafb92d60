// The program's window with its settings folder and base directory in temporary folders, so that
// the language, layout and settings files of one test never reach another.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "gamedata/PluginManager.h"
#include "mainwindow/MainWindow.h"

// The sample map shipped in samples/ (every test area's data folder sits three levels below the root).
inline const QString kSampleMap =
    QDir::cleanPath(QStringLiteral(ZARV_TEST_DATA_DIR "/../../../samples/maps/sample.map"));

class cWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        previousConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", folder.filePath("config").toUtf8());
        QDir().mkpath(folder.filePath("base"));
        QDir().mkpath(folder.filePath("config/zarv"));
        App_SetBaseDirectory(folder.filePath("base"));
        Plugin_SetFolder(QStringLiteral(ZARV_BIN_DIR "/plugins"));
    }
    void TearDown() override {
        Plugin_SetFolder(QString());
        App_SetBaseDirectory(QString());
        if (previousConfig.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", previousConfig);
    }
    QString path(const QString& name) const { return folder.filePath(name); }
    // One enabled game configuration of the Quake III profile in the base folder.
    void writeQuake3Config() {
        writeFile("base/KDKGameCfg.ini", "[Config0]\nTitle=Test\nEnabled=true\nMapProfile=kpQuake3\n");
    }
    void writeFile(const QString& name, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path(name)).absolutePath());
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray readFile(const QString& name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir folder;
    QByteArray previousConfig;
};
