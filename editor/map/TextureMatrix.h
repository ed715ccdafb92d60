// Brush-primitive texture matrices ("brushDef" faces) as the editor's texture blocks. The game
// projects a point onto two axes it derives from the face's normal alone and maps the result
// through the 2x3 matrix into texture repeats; the texture block says the same with explicit
// axes, scales in units per texel and shifts in texels, so the conversion needs the texture's
// size. Header-only: the map plugins convert when they read, the editor again when a texture
// that was unknown at reading is loaded.
#pragma once

#include <cmath>

#include "map/TextureInfo.h"

// The two axes the game projects onto for a face normal.
inline void TexMatrix_BaseAxes(const float normal[3], double s[3], double t[3]) {
    double n[3];
    for (int i = 0; i < 3; ++i)
        n[i] = std::fabs(normal[i]) < 1e-6f ? 0.0 : double(normal[i]);
    const double pitch = -std::atan2(n[2], std::sqrt(n[0] * n[0] + n[1] * n[1]));
    const double yaw = std::atan2(n[1], n[0]);
    s[0] = -std::sin(yaw);
    s[1] = std::cos(yaw);
    s[2] = 0.0;
    t[0] = -std::sin(pitch) * std::cos(yaw);
    t[1] = -std::sin(pitch) * std::sin(yaw);
    t[2] = -std::cos(pitch);
}

// Axes, scales and shifts of the block from the matrix rows (m00 m01 m02) and (m10 m11 m12), for
// a texture of width x height texels. The rotation becomes 0: the axes carry it.
inline void TexMatrix_ToTextureInfo(const float normal[3], const float m[2][3], int width, int height,
                                    TextureInfo* info) {
    double baseS[3], baseT[3];
    TexMatrix_BaseAxes(normal, baseS, baseT);
    const int size[2] = {width > 0 ? width : 1, height > 0 ? height : 1};
    float* axis[2] = {info->sAxis, info->tAxis};
    float* scale[2] = {&info->sScale, &info->tScale};
    float* shift[2] = {&info->sShift, &info->tShift};
    for (int row = 0; row < 2; ++row) {
        // Repeats per unit along the face: the row applied to the two base axes.
        double v[3];
        for (int i = 0; i < 3; ++i)
            v[i] = double(m[row][0]) * baseS[i] + double(m[row][1]) * baseT[i];
        const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        const double* base = row == 0 ? baseS : baseT;
        const bool usable = std::isfinite(length) && length > 1e-12;
        for (int i = 0; i < 3; ++i)
            axis[row][i] = float(usable ? v[i] / length : base[i]);
        *scale[row] = usable ? float(1.0 / (length * size[row])) : 1.0f;
        *shift[row] = float(double(m[row][2]) * size[row]);
    }
    info->rotation = 0.0f;
}
