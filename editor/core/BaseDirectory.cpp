#include "core/BaseDirectory.h"

#include <QCoreApplication>

namespace {
QString& baseDirectoryOverride() {
    static QString dir;
    return dir;
}
} // namespace

void App_SetBaseDirectory(const QString& dir) {
    baseDirectoryOverride() = dir;
}

QString App_BaseDirectoryFor(const QString& programFolder) {
    if (programFolder.endsWith(QLatin1String("system"), Qt::CaseInsensitive) ||
        programFolder.endsWith(QLatin1String("system64"), Qt::CaseInsensitive))
        return programFolder + QStringLiteral("/../sdk");
    return programFolder;
}

QString App_GetBaseDirectory() {
    if (!baseDirectoryOverride().isEmpty()) return baseDirectoryOverride();
    if (!QCoreApplication::instance()) return QString();
    return App_BaseDirectoryFor(QCoreApplication::applicationDirPath());
}
