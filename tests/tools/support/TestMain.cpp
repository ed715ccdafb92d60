// Test main for the editor's test programs: one QApplication for the whole run, numbers in the C locale.
#include <QApplication>
#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__) && __has_include(<sanitizer/lsan_interface.h>)
#include <sanitizer/lsan_interface.h>
#define ZARV_EARLY_LEAK_CHECK 1
#endif

#include "kstdlib/kstdlib.h"
#include "views/GLFormat.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Without a display (a plain terminal run) the widgets still work offscreen.
    if (!std::getenv("DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    View_InitGLDefaults();
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    K_MathLib_Initialize(0);
    const int result = RUN_ALL_TESTS();
#ifdef ZARV_EARLY_LEAK_CHECK
    // Check for leaks while the GL driver that the shared context loaded is still mapped: after the
    // application is gone the driver is unloaded and its own allocations can no longer be told
    // apart from ours.
    __lsan_do_leak_check();
#endif
    return result;
}
