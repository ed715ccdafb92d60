// Start-up shared by the harnesses: the offscreen application with a main window for the readers
// that register into its managers, and a private temporary folder per fuzzing process.
#pragma once

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "kstdlib/kstdlib.h"
#include "mainwindow/MainWindow.h"

// The application, the "C" number locale, the math library and the main window, all kept to the end
// of the process: once a GL context was used, Qt's per-thread storage is gone before static objects
// made here would be destroyed.
inline void Fuzz_StartMainWindow(const char* name) {
    static int argc = 1;
    static std::string program = name;
    static char* argv[] = {program.data(), nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
    std::setlocale(LC_NUMERIC, "C");
    K_MathLib_Initialize(0);
    static cMainWindow* window = new cMainWindow;
    (void)window;
}

inline QString& Fuzz_Folder() {
    static QString folder;
    return folder;
}

// Makes the temporary folder NAME_pid, one per fuzzing process (workers run side by side), removed
// again at exit.
inline const QString& Fuzz_MakeFolder(const char* name) {
    Fuzz_Folder() = QDir::temp().filePath(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(getpid()));
    QDir().mkpath(Fuzz_Folder());
    std::atexit([] { QDir(Fuzz_Folder()).removeRecursively(); });
    return Fuzz_Folder();
}

inline QByteArray Fuzz_ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) std::abort();
    return file.readAll();
}

inline void Fuzz_WriteFile(const QString& path, const uint8_t* data, size_t size) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) std::abort();
    if (size && file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size)) std::abort();
}
