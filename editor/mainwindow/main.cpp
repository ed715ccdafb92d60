// Program entry of the editor.
#include <clocale>

#include "kstdlib/kstdlib.h"
#include "views/GLFormat.h"

int main(int argc, char** argv) {
    std::setlocale(LC_NUMERIC, "C");
    K_MathLib_Initialize(0);
    // Before any application object exists.
    View_InitGLDefaults();
    return 0;
}
