// Program entry of the editor.
#include <clocale>

#include "kstdlib/kstdlib.h"

int main(int argc, char** argv) {
    std::setlocale(LC_NUMERIC, "C");
    K_MathLib_Initialize(0);
    return 0;
}
