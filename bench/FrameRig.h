// The one application, main window, empty document and map window the frame benchmarks share
// (a process holds one QApplication and one main window).
#pragma once

#include <QApplication>
#include <clocale>
#include <cstdlib>
#include <memory>

#include "document/MapDocument.h"
#include "kstdlib/kstdlib.h"
#include "mainwindow/MainWindow.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"
#include "render/GLFormat.h"

// The process's application, made by the first benchmark that needs one; it lives to the end of
// the process, as in the program.
inline void Bench_EnsureApplication() {
    if (QCoreApplication::instance()) return;
    if (!std::getenv("DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    View_InitGLDefaults();
    static int argc = 1;
    static char name[] = "zarv_bench";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
}

// The process's main window, made by the first benchmark that needs one.
struct BenchApplication {
    BenchApplication() {
        Bench_EnsureApplication();
        K_MathLib_Initialize(0);
        if (!g_mainWindow) main = std::make_unique<cMainWindow>();
        g_mainWindow->settings.EnergySavingMode = true;
        g_mainWindow->settings.EnableScrollbars = false;
    }
    std::unique_ptr<cMainWindow> main;
};

// Kept to the end of the process: destroyed by the exit handlers, the application would tear down
// the map windows after the toolkit's own thread storage is gone.
inline void Bench_InitApplication() {
    static BenchApplication* application = new BenchApplication;
    (void)application;
}

// A shown map window of four 1024 x 768 views over the document, each view painted once.
inline cChildWindow* Bench_ShowMapWindow(MapDocument* doc) {
    Bench_InitApplication();
    g_mainWindow->documents.append(doc);
    auto* window = new cChildWindow(doc);
    window->buildLayout(-1);
    window->resize(2 * 1024 + 6, 2 * 768 + 6);
    window->show();
    window->setViewSize(1024, 768);
    for (cCanvas* view : window->views)
        view->grabFramebuffer(); // GL set up
    return window;
}

// An empty document in its map window for the frame cases.
struct FrameRig {
    FrameRig() {
        Bench_InitApplication();
        Project_Construct(&doc);
        window = Bench_ShowMapWindow(&doc);
    }
    MapDocument doc;
    cChildWindow* window = nullptr;
};

inline FrameRig& Bench_FrameRig() {
    static FrameRig r;
    return r;
}
