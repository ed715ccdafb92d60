// Where Debian's openarena-data keeps its PK3s: ZARV_OPENARENA_DIR (a folder of PK3s, searched with
// its sub-folders), else the folders `dpkg -L openarena-data` lists PK3s in. Empty when neither
// gives any.
#pragma once

#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>

// Folders holding PK3s, sorted.
inline QStringList dataFolders() {
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
