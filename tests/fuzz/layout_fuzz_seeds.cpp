// Writes the seed corpus of layout_fuzz into the folder given: layout files of a window with and
// without a saved map-window state and a hidden status bar, and two broken ones.
#include <QBuffer>
#include <QFile>
#include <QStatusBar>
#include <cstdio>

#include "FuzzSupport.h"
#include "mainwindow/LayoutFile.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: layout_fuzz_seeds folder\n");
        return 2;
    }
    Fuzz_StartMainWindow("layout_fuzz_seeds");
    cMainWindow* window = g_mainWindow;
    window->createLayoutDialogs();
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    auto write = [&](const char* name) {
        QFile file(folder + QLatin1Char('/') + QLatin1String(name));
        if (!file.open(QIODevice::WriteOnly) || Layout_WriteFile(window, &file) != 0) std::exit(1);
    };
    write("plain.dat");
    window->statusBar()->hide();
    window->savedWindowPresent = true;
    window->savedWindowGeometry = "saved geometry";
    write("saved_state.dat");
    window->savedWindowMaximized = true;
    write("maximized.dat");
    QFile cut(folder + QStringLiteral("/cut.dat"));
    QFile whole(folder + QStringLiteral("/maximized.dat"));
    if (!whole.open(QIODevice::ReadOnly) || !cut.open(QIODevice::WriteOnly)) return 1;
    cut.write(whole.readAll().left(40));
    QFile zero(folder + QStringLiteral("/zero_length.dat"));
    if (!zero.open(QIODevice::WriteOnly)) return 1;
    zero.write(QByteArray("\x01\x00\x00", 3));
    return 0;
}
