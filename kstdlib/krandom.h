// The process-wide pseudo-random generator, repeatable "shared" draws and simplex noise.
#pragma once

#include "kstdlib/kexport.h"

KSTDLIB_BEGIN
// Seeds the generator; seed 0 takes the current time instead.
KSTDLIB_API void K_SRand(int seed);
KSTDLIB_API float K_RandomFloat(float lo, float hi);
KSTDLIB_API int K_RandomLong(int lo, int hi);
KSTDLIB_API float K_RandomGaussianFloat(float mean, float deviation);
// Repeatable draws for a seed; the global generator is left alone.
KSTDLIB_API float K_SharedRandomFloat(int seed, float lo, float hi);
KSTDLIB_API int K_SharedRandomLong(int seed, int lo, int hi);
KSTDLIB_API float K_Noise2f(float x, float y);
KSTDLIB_API float K_Noise3f(float x, float y, float z);
KSTDLIB_API float K_Noise4f(float x, float y, float z, float w);
KSTDLIB_END
