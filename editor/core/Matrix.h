// 4x4 matrices in the layout of the OpenGL matrix stack, and turning window points back into world points.
//
// Element M(r, c) lives at index 4c + r, so the translation is at indices 12, 13, 14. These are not
// the row-major matrices of kstdlib. All arithmetic is single precision.
#pragma once

#include <cstdint>

// out = a x b. out must not alias a or b.
void Math_MatrixMultiply(float out[16], const float a[16], const float b[16]);

// General inverse; false when m is singular, and out is then left untouched.
bool Math_MatrixInverse(const float m[16], float out[16]);

// World point under a window position (origin (0, 0)) and depth value in [0, 1]. False when the
// combined matrix is singular, the point lies at infinity or the viewport is empty; out is then untouched.
bool Math_UnProject(float winX, float winY, float winZ, const float modelview[16], const float projection[16],
                    int32_t viewportWidth, int32_t viewportHeight, float out[3]);
