// Shared pieces of the run tests: a settings folder of their own, a game configuration whose tools
// and game are shell scripts in a folder with a blank, and the Quake III-like profile.
#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>

#include "gamedata/GameConfig.h"
#include "gamedata/PluginInterface.h"
#include "mainwindow/MainWindow.h"

// XDG_CONFIG_HOME points into a temporary folder while it lives, and the base folder too.
class cRunSettingsFolder {
public:
    cRunSettingsFolder() : m_previous(qgetenv("XDG_CONFIG_HOME")) {
        qputenv("XDG_CONFIG_HOME", root.filePath("config").toUtf8());
        QDir().mkpath(root.filePath("base"));
        App_SetBaseDirectory(root.filePath("base"));
    }
    ~cRunSettingsFolder() {
        App_SetBaseDirectory(QString());
        if (m_previous.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", m_previous);
    }
    QString userFile(const QString& name) const { return root.filePath("config/zarv/" + name); }
    QString baseFile(const QString& name) const { return root.filePath("base/" + name); }

    QTemporaryDir root;

private:
    QByteArray m_previous;
};

inline void Run_WriteFile(const QString& path, const QByteArray& text, bool executable = false) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(text);
    file.close();
    if (executable)
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                            QFile::ExeGroup);
}

inline QByteArray Run_ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The profile fields the run reads, as the Quake III plugin fills them.
inline MapProfileRecord Run_Quake3Profile() {
    MapProfileRecord profile;
    std::memset(&profile, 0, sizeof profile);
    std::strcpy(profile.compiledExtension, ".bsp");
    std::strcpy(profile.bspSwitch, "-onlyents");
    std::strcpy(profile.visSwitch, "-fast");
    std::strcpy(profile.lightSwitch, "-extra");
    std::strcpy(profile.runSwitch, "+devmap");
    return profile;
}
