// libFuzzer harness of the settings file: every input is read as "KDKSettings.ini" (malformed
// lines reported, values converted), the settings are written, read and written again; the second
// write must give the same bytes as the first, and the keys that must be positive are.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QString>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

#include "mainwindow/SettingsFile.h"

namespace {

QString g_folder;

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) std::abort();
    return file.readAll();
}

void removeFolder() {
    QDir(g_folder).removeRecursively();
}

// Reads path into fresh settings and writes them to out in file order.
MainSettings readAndWrite(const QString& path, const QString& out) {
    MainSettings settings;
    QStringList recent;
    {
        QSettings file(path, QSettings::IniFormat);
        Settings_Read(file, settings, recent);
    }
    QFile::remove(out);
    {
        QSettings file(out, QSettings::IniFormat);
        Settings_Write(file, settings, recent);
        file.sync();
        if (file.status() != QSettings::NoError) std::abort();
    }
    if (!Settings_PutInFileOrder(out)) std::abort();
    return settings;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::setlocale(LC_NUMERIC, "C");
    g_folder = QDir::temp().filePath(QStringLiteral("settings_fuzz_%1").arg(getpid()));
    QDir().mkpath(g_folder);
    std::atexit(removeFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = g_folder + "/KDKSettings.ini";
    const QString first = g_folder + "/first.ini";
    const QString second = g_folder + "/second.ini";
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(input) != input.size()) std::abort();
    }
    Settings_ReportMalformedLines(path);
    const MainSettings read = readAndWrite(path, first);
    if (read.GridDefaultSize <= 0 || read.GridHighlightStep <= 0 || read.FixedDegreeRotation <= 0 ||
        read.MaxWorldSize <= 0 || read.CurrentGridSize != read.GridDefaultSize)
        std::abort();
    readAndWrite(first, second);
    if (readFile(first) != readFile(second)) std::abort();
    return 0;
}
