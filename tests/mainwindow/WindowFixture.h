// The program's window with its settings folder and base directory in temporary folders, so that
// the language, layout and settings files of one test never reach another.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "gamedata/PluginManager.h"
#include "mainwindow/MainWindow.h"

// The sample map shipped in samples/ (every test area's data folder sits three levels below the root).
inline const QString kSampleMap =
    QDir::cleanPath(QStringLiteral(ZARV_TEST_DATA_DIR "/../../../samples/maps/sample.map"));

// Every copy of the window's command of this object name (a menu entry and its tool-button
// twin), from its menus and its tool bars, in the window's order.
inline QList<QAction*> Window_Actions(const cMainWindow& window, const QString& name) {
    QList<QAction*> found;
    for (const QList<QAction*>* list : {&window.actionList, &window.toolActions})
        for (QAction* action : *list)
            if (action->objectName() == name) found.append(action);
    return found;
}

// The first copy of the command; a name the window lacks fails the test and gives null.
inline QAction* Window_Action(const cMainWindow& window, const char* name) {
    const QList<QAction*> found = Window_Actions(window, QLatin1String(name));
    if (found.isEmpty()) ADD_FAILURE() << "the window has no command " << name;
    return found.value(0);
}

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
