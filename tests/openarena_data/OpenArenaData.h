// Set-up shared by the optional tests on Debian's openarena-data: where its PK3s are and the
// shipped Quake III plugin loaded into the main window.
#pragma once

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>

#include "gamedata/PluginManager.h"
#include "mainwindow/MainWindow.h"

// Folders holding PK3s, sorted: those under ZARV_OPENARENA_DIR (searched with its sub-folders),
// else those `dpkg -L openarena-data` lists PK3s in.
inline QStringList OpenArena_DataFolders() {
    QStringList folders;
    const QString env = qEnvironmentVariable("ZARV_OPENARENA_DIR");
    if (!env.isEmpty()) {
        QDirIterator it(env, {"*.pk3"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            folders << QFileInfo(it.next()).absolutePath();
    } else {
        QProcess dpkg;
        dpkg.start("dpkg", {"-L", "openarena-data"});
        if (dpkg.waitForFinished(30000) && dpkg.exitCode() == 0) {
            for (const QString& line : QString::fromUtf8(dpkg.readAllStandardOutput()).split('\n'))
                if (line.endsWith(".pk3", Qt::CaseInsensitive)) folders << QFileInfo(line).absolutePath();
        }
    }
    folders.removeDuplicates();
    folders.sort();
    return folders;
}

// Fails fatally when the plugin is not built or does not load: call through ASSERT_NO_FATAL_FAILURE.
inline void OpenArena_LoadPlugin() {
    const QString plugin = QStringLiteral(ZARV_BIN_DIR) + "/plugins/kpQuake3x64.so";
    ASSERT_TRUE(QFileInfo::exists(plugin)) << "the Quake III plugin is not built";
    ASSERT_TRUE(Plugin_Load(&g_mainWindow->plugins, plugin));
}
