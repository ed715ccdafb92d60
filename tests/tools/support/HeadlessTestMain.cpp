// Test main for the test programs without the window: one QGuiApplication for the whole run (GL
// contexts and pictures need one), numbers in the C locale. Nobody answers prompts.
#include <QGuiApplication>
#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>

#include "core/Platform.h"
#include "kstdlib/kstdlib.h"
#include "render/GLFormat.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!std::getenv("DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    View_InitGLDefaults();
    QGuiApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    K_MathLib_Initialize(0);
    const int result = RUN_ALL_TESTS();
    Plat_KeepLoadedLibraries();
    return result;
}
