#include "kstdlib/kmath.h"

void K_MathLib_Initialize(int) {}
