// Time-stamped autosave copies of a document's file, with pruning of the oldest copies.
#include "document/Autosave.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include "core/SysHost.h"
#include "core/System.h"
#include "core/TextEncoding.h"
#include "document/MapDocument.h"
#include "core/MainSettings.h"

bool Project_IsAutosaveName(const QString& name, const QString& completeBaseName, const QString& suffix) {
    // Only the exact time-stamp pattern: "level-final.zmf" beside "level.zmf" is the user's own file.
    const QRegularExpression pattern(
        QStringLiteral("^%1-\\d{4}-\\d{2}-\\d{2}-\\d{2}-\\d{2}-\\d{2}\\.%2$")
            .arg(QRegularExpression::escape(completeBaseName), QRegularExpression::escape(suffix)));
    return pattern.match(name).hasMatch();
}

bool Project_Autosave(MapDocument* document, const QString& path) {
    const MainSettings& settings = Sys_Settings();
    const QFileInfo file(path);
    QString folder;
    if (settings.AutosaveToCurrentDir || settings.AutosaveDir.trimmed().isEmpty()) {
        folder = file.canonicalPath();
        if (folder.isEmpty()) folder = file.absolutePath(); // the file itself is gone
    } else {
        folder = settings.AutosaveDir;
    }
    if (!QDir().mkpath(folder)) {
        Sys_Error("Failed to create path: \"%s\"", Text_ToWindows1251(folder).constData());
        return false;
    }

    const QString base = file.completeBaseName();
    const QString suffix = file.suffix();
    if (settings.AutosaveLimit > 0) {
        // Newest first; with the new copy at most AutosaveLimit remain.
        const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files, QDir::Time);
        int32_t position = 0;
        for (const QFileInfo& entry : entries) {
            if (!Project_IsAutosaveName(entry.fileName(), base, suffix)) continue;
            if (position++ >= settings.AutosaveLimit - 1) QFile::remove(entry.absoluteFilePath());
        }
    }

    const QString name =
        QStringLiteral("%1/%2-%3.%4")
            .arg(folder, base, QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-hh-mm-ss")),
                 suffix);
    // A copy: the document keeps its path, title, modified state and export path.
    if (suffix.compare(QStringLiteral("map"), Qt::CaseInsensitive) == 0)
        return Project_ExportCopy(document, name);
    return Project_Save(document, name, false, true);
}
