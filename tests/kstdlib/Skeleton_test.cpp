#include <gtest/gtest.h>
#include "kstdlib/kstdlib.h"
TEST(Skeleton, Links) { K_MathLib_Initialize(0); }
