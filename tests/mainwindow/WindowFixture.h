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
