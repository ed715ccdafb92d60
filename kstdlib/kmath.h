// Library start-up, CPU information, the math-function table, vector/plane/bounds/matrix math,
// angles and quaternions.
#pragma once

#include <stdint.h>

#include "kstdlib/kexport.h"

KSTDLIB_BEGIN
KSTDLIB_API void K_MathLib_Initialize(int flags);
KSTDLIB_END
