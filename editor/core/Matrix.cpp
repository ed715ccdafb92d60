// 4x4 matrices in OpenGL order: multiplication, general inverse and unprojection.
#include "core/Matrix.h"

#include <cmath>
#include <utility>

namespace {

inline float& at(float m[16], int r, int c) {
    return m[4 * c + r];
}
inline float at(const float m[16], int r, int c) {
    return m[4 * c + r];
}

} // namespace

void Math_MatrixMultiply(float out[16], const float a[16], const float b[16]) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += at(a, r, k) * at(b, k, c);
            at(out, r, c) = sum;
        }
}

bool Math_MatrixInverse(const float m[16], float out[16]) {
    // Gaussian elimination on [m | identity]; rows are bubbled so the largest magnitude becomes the
    // pivot, the upper row winning ties.
    float block[4][8];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            block[r][c] = at(m, r, c);
            block[r][c + 4] = (r == c) ? 1.0f : 0.0f;
        }

    for (int k = 0; k < 4; ++k) {
        for (int r = 3; r > k; --r)
            if (std::fabs(block[r][k]) > std::fabs(block[r - 1][k])) std::swap(block[r], block[r - 1]);
        const float pivot = block[k][k];
        if (pivot == 0.0f) return false;
        for (int r = k + 1; r < 4; ++r) {
            const float factor = block[r][k] / pivot;
            for (int c = k; c < 4; ++c)
                block[r][c] -= factor * block[k][c];
            for (int c = 4; c < 8; ++c)
                if (block[k][c] != 0.0f) block[r][c] -= factor * block[k][c];
        }
    }

    // Back substitution from the last row upward; each row divided by its own pivot.
    for (int r = 3; r >= 0; --r) {
        for (int j = 3; j > r; --j) {
            const float factor = block[r][j];
            for (int c = 4; c < 8; ++c)
                block[r][c] -= factor * block[j][c];
        }
        const float pivot = block[r][r];
        for (int c = 4; c < 8; ++c)
            block[r][c] /= pivot;
    }

    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            at(out, r, c) = block[r][c + 4];
    return true;
}

bool Math_UnProject(float winX, float winY, float winZ, const float modelview[16], const float projection[16],
                    int32_t viewportWidth, int32_t viewportHeight, float out[3]) {
    // An empty viewport would divide by zero below.
    if (viewportWidth <= 0 || viewportHeight <= 0) return false;

    float combined[16];
    float inverse[16];
    Math_MatrixMultiply(combined, projection, modelview);
    if (!Math_MatrixInverse(combined, inverse)) return false;

    const float device[4] = {2.0f * winX / static_cast<float>(viewportWidth) - 1.0f,
                             2.0f * winY / static_cast<float>(viewportHeight) - 1.0f, 2.0f * winZ - 1.0f,
                             1.0f};
    float world[4];
    for (int r = 0; r < 4; ++r) {
        float sum = 0.0f;
        for (int k = 0; k < 4; ++k)
            sum += at(inverse, r, k) * device[k];
        world[r] = sum;
    }
    if (world[3] == 0.0f) return false;

    out[0] = world[0] / world[3];
    out[1] = world[1] / world[3];
    out[2] = world[2] / world[3];
    return true;
}
