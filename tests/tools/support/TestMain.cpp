// Test main for the editor's test programs: one QApplication for the whole run, numbers in the C locale.
#include <QApplication>
#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>

#include "ConsoleWindowBinder.h"
#include "core/Platform.h"
#include "kstdlib/kstdlib.h"
#include "mainwindow/PromptHostImpl.h"
#include "render/GLFormat.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Without a display (a plain terminal run) the widgets still work offscreen.
    if (!std::getenv("DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    View_InitGLDefaults();
    // No global menu bar: asking the session bus whether one exists starts Qt's D-Bus thread, and a
    // test that ends while that thread is still starting leaks its start-up data.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication app(argc, argv);
    // Tests that answer real boxes and file dialogs meet them as the program shows them.
    Prompt_SetHost(&Prompt_WidgetHost());
    // Console captures see the window's console.
    cConsoleCapture::setWindowBinder(&Console_BindToWindow);
    std::setlocale(LC_NUMERIC, "C");
    K_MathLib_Initialize(0);
    const int result = RUN_ALL_TESTS();
    Plat_KeepLoadedLibraries();
    return result;
}
