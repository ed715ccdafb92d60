// The eight corners of an axial box and its twelve edges as pairs of corner indexes, shared by
// the world pass, the views' box drawing and the frustum tests.
#pragma once

#include <cstdint>

// Box corner i: x from maxs with bit 0, y with bit 1, z with bit 2.
inline void Box_Corner(const float mins[3], const float maxs[3], int i, float out[3]) {
    out[0] = (i & 1) ? maxs[0] : mins[0];
    out[1] = (i & 2) ? maxs[1] : mins[1];
    out[2] = (i & 4) ? maxs[2] : mins[2];
}

inline void Box_Corners(const float mins[3], const float maxs[3], float out[8][3]) {
    for (int i = 0; i < 8; ++i)
        Box_Corner(mins, maxs, i, out[i]);
}

// For glDrawElements with GL_LINES and GL_UNSIGNED_BYTE.
inline constexpr uint8_t kBoxEdges[24] = {0, 1, 1, 3, 3, 2, 2, 0, 4, 5, 5, 7,
                                          7, 6, 6, 4, 0, 4, 1, 5, 2, 6, 3, 7};
