// Benchmarks of the real texture path: a GUI application with a headless main window holding the
// Quake III plugin, and generated pictures to fill a game folder's PK3 with.
#pragma once

#include <QApplication>
#include <QByteArray>
#include <memory>

#include "gamedata/PluginManager.h"
#include "gamedata/TextureManager.h"
#include "mainwindow/MainWindow.h"

// True when the program's window (made here when there is none) holds the Quake III plugin.
inline bool Bench_WindowWithQuake3(std::unique_ptr<cMainWindow>& window) {
    static int argc = 1;
    static char name[] = "zarv_bench";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QApplication(argc, argv);
    if (!g_mainWindow) window = std::make_unique<cMainWindow>();
    if (!g_mainWindow) return false;
    return !g_mainWindow->textures.textureFormats.isEmpty() ||
           Plugin_Load(&g_mainWindow->plugins, QStringLiteral(ZARV_PLUGIN_DIR "/kpQuake3x64.so"));
}

// The i-th picture, side x side RGB: a gradient with noise, different for each i.
inline QByteArray Bench_Picture(int side, int i) {
    QByteArray rgb(side * side * 3, 0);
    for (int p = 0; p < rgb.size(); ++p)
        rgb[p] = char((p / 3 % side) + (p / 3 / side) + ((p * 2654435761u) >> 28) + i);
    return rgb;
}
