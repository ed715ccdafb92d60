// Writes the seed corpus of layout_fuzz into the folder given: layout files of a window with and
// without a saved map-window state and a hidden status bar, two broken ones, and states whose
// counts Qt's readers would trust (a tool-bar line count that loops for minutes, a splitter size
// list claiming gigabytes, a dock area past the four there are).
#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QSplitter>
#include <QStatusBar>
#include <cstdio>

#include "FuzzSupport.h"
#include "dialogs/editing/LayoutRecords.h"
#include "dialogs/editing/ShaderEditDialog.h"
#include "dialogs/editing/TextureBrowserDialog.h"
#include "mainwindow/LayoutFile.h"
#include "StateStream.h"

namespace {

// The main-window state record: the version header, a marker and what follows it.
QByteArray mainState(uint8_t marker, std::initializer_list<qint32> values) {
    return Test_StateInts({0xff, 0}) + char(marker) + Test_StateInts(values);
}

} // namespace

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

    // 19 bytes: status bar, a one-byte geometry, a state of 0x7fffffff tool-bar lines.
    QBuffer lines;
    lines.open(QIODevice::WriteOnly);
    if (!lines.putChar(1) || !Layout_WriteBytes(&lines, "g") ||
        !Layout_WriteBytes(&lines, mainState(0xfc, {0x7fffffff})))
        return 1;
    // A dock area numbered 7 of 4, with an empty sequence in it.
    QBuffer docks;
    docks.open(QIODevice::WriteOnly);
    if (!docks.putChar(1) || !Layout_WriteBytes(&docks, window->saveGeometry()) ||
        !Layout_WriteBytes(&docks,
                           mainState(0xfd, {1, 7, 10, 10}) + char(0xfc) + char(1) + Test_StateInts({0})))
        return 1;
    // The whole file with the first splitter's size list claiming 0x30000000 entries.
    QBuffer sizes;
    sizes.open(QIODevice::WriteOnly);
    auto* splitter = window->shaderEditDialog->findChild<QSplitter*>(QStringLiteral("splitter"));
    if (!Layout_WriteMainWindow(window, &sizes) ||
        !Layout_WriteGeometry(window->textureBrowserDialog, &sizes) ||
        !Layout_WriteGeometry(window->shaderEditDialog, &sizes) ||
        !Layout_WriteBytes(&sizes, splitter->saveGeometry()) ||
        !Layout_WriteBytes(&sizes, Test_StateInts({0xff, 1, 0x30000000, 100, 200})))
        return 1;
    for (const auto& [name, buffer] :
         {std::pair{"toolbar_lines.dat", &lines}, std::pair{"dock_area_7.dat", &docks},
          std::pair{"splitter_sizes.dat", &sizes}}) {
        QFile file(folder + QLatin1Char('/') + QLatin1String(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(buffer->data()) != buffer->data().size()) return 1;
    }
    return 0;
}
