#include "MapPlane.h"

#include <cmath>

#include "kstdlib/kmath.h"

bool MapPlane_FromPoints(const float p[3][3], float normal[3], float* dist, int32_t* type) {
    float a[3], b[3];
    for (int i = 0; i < 3; ++i) {
        a[i] = p[0][i] - p[1][i];
        b[i] = p[2][i] - p[1][i];
    }
    normal[0] = a[1] * b[2] - a[2] * b[1];
    normal[1] = a[2] * b[0] - a[0] * b[2];
    normal[2] = a[0] * b[1] - a[1] * b[0];
    if (K_VectorNormalize(normal) == 0.0f) return false;
    for (int i = 0; i < 3; ++i)
        if (!std::isfinite(normal[i])) return false;
    *dist = p[1][0] * normal[0] + p[1][1] * normal[1] + p[1][2] * normal[2];
    if (!std::isfinite(*dist)) return false;
    *type = std::fabs(normal[0]) == 1.0f   ? 0
            : std::fabs(normal[1]) == 1.0f ? 1
            : std::fabs(normal[2]) == 1.0f ? 2
                                           : 3;
    return true;
}

void MapPlane_ClassicAxes(const float normal[3], float rotationDegrees, float s[3], float t[3]) {
    struct Row {
        float normal[3];
        float s[3], t[3];
    };
    static constexpr Row kRows[6] = {
        {{0, 0, 1}, {1, 0, 0}, {0, -1, 0}}, {{0, 0, -1}, {1, 0, 0}, {0, -1, 0}},
        {{1, 0, 0}, {0, 1, 0}, {0, 0, -1}}, {{-1, 0, 0}, {0, 1, 0}, {0, 0, -1}},
        {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}}, {{0, -1, 0}, {1, 0, 0}, {0, 0, -1}},
    };
    int best = 0;
    float bestDot = 0.0f;
    for (int row = 0; row < 6; ++row) {
        const float d = normal[0] * kRows[row].normal[0] + normal[1] * kRows[row].normal[1] +
                        normal[2] * kRows[row].normal[2];
        if (d > bestDot + kClassicAxisMargin) {
            bestDot = d;
            best = row;
        }
    }
    float axes[2][3];
    for (int i = 0; i < 3; ++i) {
        axes[0][i] = kRows[best].s[i];
        axes[1][i] = kRows[best].t[i];
    }

    // Quarter turns are exact; any other angle (also -90 or 360: the line's own number, as the
    // compiler takes it) through sine and cosine, in single precision as the compiler turns its
    // axes, so that the axes written for the line are the very ones it derives.
    float sine = 0.0f, cosine = 1.0f;
    if (rotationDegrees == 90.0f) {
        sine = 1.0f;
        cosine = 0.0f;
    } else if (rotationDegrees == 180.0f) {
        sine = 0.0f;
        cosine = -1.0f;
    } else if (rotationDegrees == 270.0f) {
        sine = -1.0f;
        cosine = 0.0f;
    } else if (rotationDegrees != 0.0f) {
        const float angle = float(rotationDegrees / 180.0f * 3.14159265358979323846);
        sine = float(std::sin(double(angle)));
        cosine = float(std::cos(double(angle)));
    }
    // Each base axis has one non-zero component: the turn mixes those two components.
    auto firstNonZero = [](const float v[3]) { return v[0] != 0.0f ? 0 : v[1] != 0.0f ? 1 : 2; };
    const int sv = firstNonZero(axes[0]);
    const int tv = firstNonZero(axes[1]);
    for (float* v : axes) {
        const float ns = cosine * v[sv] - sine * v[tv];
        const float nt = sine * v[sv] + cosine * v[tv];
        v[sv] = ns;
        v[tv] = nt;
    }
    for (int i = 0; i < 3; ++i) {
        s[i] = axes[0][i];
        t[i] = axes[1][i];
    }
}
