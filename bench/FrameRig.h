// The one application, main window, empty document and map window the frame benchmarks share
// (a process holds one QApplication and one main window).
#pragma once

#include <QApplication>
#include <cstdlib>
#include <memory>

#include "document/MapDocument.h"
#include "kstdlib/kstdlib.h"
#include "mainwindow/MainWindow.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"
#include "views/GLFormat.h"

// One application, main window, empty document and map window for the frame cases.
struct FrameRig {
    FrameRig() {
        if (!std::getenv("DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        View_InitGLDefaults();
        static int argc = 1;
        static char name[] = "zarv_bench";
        static char* argv[] = {name, nullptr};
        // Other benchmarks of the program may have made the application and window already.
        if (!QCoreApplication::instance()) app = std::make_unique<QApplication>(argc, argv);
        K_MathLib_Initialize(0);
        if (!g_mainWindow) main = std::make_unique<cMainWindow>();
        g_mainWindow->settings.EnergySavingMode = true;
        g_mainWindow->settings.EnableScrollbars = false;
        Project_Construct(&doc);
        g_mainWindow->documents.append(&doc);
        window = new cChildWindow(&doc);
        window->buildLayout(-1);
        window->resize(2 * 1024 + 6, 2 * 768 + 6);
        window->show();
        window->setViewSize(1024, 768);
        for (cCanvas* view : window->views)
            view->grabFramebuffer(); // GL set up
    }
    std::unique_ptr<QApplication> app;
    std::unique_ptr<cMainWindow> main;
    MapDocument doc;
    cChildWindow* window = nullptr;
};

inline FrameRig& Bench_FrameRig() {
    static FrameRig r;
    return r;
}
