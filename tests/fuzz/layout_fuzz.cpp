// libFuzzer harness of the layout file: every input is read block by block into a window with the
// effect editor and texture browser; what the window then holds is written and must read back.
#include <QBuffer>
#include <cstdint>
#include <cstdlib>

#include "FuzzSupport.h"
#include "mainwindow/LayoutFile.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Fuzz_StartMainWindow("layout_fuzz");
    g_mainWindow->createLayoutDialogs();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer in(&input);
    in.open(QIODevice::ReadOnly);
    Layout_ReadFile(g_mainWindow, &in);
    QByteArray written;
    QBuffer out(&written);
    out.open(QIODevice::WriteOnly);
    if (Layout_WriteFile(g_mainWindow, &out) != 0) return 0; // a restored array too long to store
    QBuffer again(&written);
    again.open(QIODevice::ReadOnly);
    if (Layout_ReadFile(g_mainWindow, &again) != 0) std::abort();
    return 0;
}
