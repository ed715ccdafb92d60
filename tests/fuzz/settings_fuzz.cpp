// libFuzzer harness of the settings file: every input is read as "KDKSettings.ini" (malformed
// lines reported, values converted), the settings are written, read and written again; the second
// write must give the same bytes as the first, and the keys that must be positive are.
#include <QByteArray>
#include <QFile>
#include <QSettings>
#include <QString>
#include <clocale>
#include <cstdint>
#include <cstdlib>

#include "FuzzSupport.h"
#include "mainwindow/SettingsFile.h"

namespace {

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
    Fuzz_MakeFolder("settings_fuzz");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = Fuzz_Folder() + "/KDKSettings.ini";
    const QString first = Fuzz_Folder() + "/first.ini";
    const QString second = Fuzz_Folder() + "/second.ini";
    Fuzz_WriteFile(path, data, size);
    Settings_ReportMalformedLines(path);
    const MainSettings read = readAndWrite(path, first);
    if (read.GridDefaultSize <= 0 || read.GridHighlightStep <= 0 || read.FixedDegreeRotation <= 0 ||
        read.MaxWorldSize <= 0 || read.CurrentGridSize != read.GridDefaultSize)
        std::abort();
    readAndWrite(first, second);
    if (Fuzz_ReadFile(first) != Fuzz_ReadFile(second)) std::abort();
    return 0;
}
