#include "dialogs/editing/EffectFile.h"

#include <QFile>
#include <QFileInfo>

#include "core/System.h"

bool EffectFile_Backup(const QFileInfo& file) {
    QString suffix = file.suffix();
    QString base = file.completeBaseName();
    if (suffix.isEmpty()) {
        // No suffix to turn: the whole name gets ".x".
        base = file.fileName();
        suffix = QStringLiteral("x");
    } else if (suffix.endsWith(u'x')) {
        suffix += u'x';
    } else if (suffix.endsWith(u'X')) {
        suffix += u'X';
    } else {
        suffix[suffix.size() - 1] = u'x';
    }
    const QString backup = QStringLiteral("%1/%2.%3").arg(file.absolutePath(), base, suffix);
    if (QFile::exists(backup)) QFile::remove(backup);
    if (QFile::copy(file.absoluteFilePath(), backup)) {
        Sys_Printf("Backup: \"%s\"", qPrintable(backup));
        return true;
    }
    Sys_Error("Z.A.R.V. was unable to backup the existing file \"%s\". Please verify that the there is space "
              "on the "
              "hard drive and that the path still exists.",
              qPrintable(file.absoluteFilePath()));
    return false;
}
