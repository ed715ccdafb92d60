// Simplex noise in two, three and four dimensions, in the array-free formulation: corner hashes
// come from a permutation polynomial modulo 289, so no tables or shared state are needed.
// Computed in double precision from the float arguments.
#include <math.h>

#include "kstdlib/krandom.h"

namespace {

double Mod289(double x) {
    return x - floor(x * (1.0 / 289.0)) * 289.0;
}
double Permute(double x) {
    return Mod289((34.0 * x + 1.0) * x);
}
double Fract(double x) {
    return x - floor(x);
}

// Normalisation for a gradient of squared length lengthSq (a Taylor step of 1 / sqrt).
double GradientScale(double lengthSq) {
    return 1.79284291400159 - 0.85373472095314 * lengthSq;
}

// weight^4 * normalisation * (gradient . offset) of one corner.
template <int N> double Corner(const double (&gradient)[N], const double (&offset)[N], double falloff) {
    double offsetSq = 0.0, gradientSq = 0.0, dot = 0.0;
    for (int k = 0; k < N; ++k) {
        offsetSq += offset[k] * offset[k];
        gradientSq += gradient[k] * gradient[k];
        dot += gradient[k] * offset[k];
    }
    double weight = falloff - offsetSq;
    if (weight < 0.0) weight = 0.0;
    weight *= weight;
    return weight * weight * GradientScale(gradientSq) * dot;
}

double Noise2(double x, double y) {
    constexpr double kSkew = 0.366025403784439;   // (sqrt 3 - 1) / 2
    constexpr double kUnskew = 0.211324865405187; // (3 - sqrt 3) / 6
    const double s = (x + y) * kSkew;
    double i[2] = {floor(x + s), floor(y + s)};
    const double t = (i[0] + i[1]) * kUnskew;
    const double x0[2] = {x - i[0] + t, y - i[1] + t};
    // On a tie the later component counts as the larger.
    const double mid[2] = {x0[0] > x0[1] ? 1.0 : 0.0, x0[0] > x0[1] ? 0.0 : 1.0};
    const double offsets[3][2] = {{x0[0], x0[1]},
                                  {x0[0] + kUnskew - mid[0], x0[1] + kUnskew - mid[1]},
                                  {x0[0] - 0.577350269189626, x0[1] - 0.577350269189626}};
    i[0] = Mod289(i[0]);
    i[1] = Mod289(i[1]);
    const double cx[3] = {0.0, mid[0], 1.0};
    const double cy[3] = {0.0, mid[1], 1.0};
    double sum = 0.0;
    for (int c = 0; c < 3; ++c) {
        const double q = Permute(Permute(i[1] + cy[c]) + i[0] + cx[c]);
        const double a = 2.0 * Fract(q * 0.024390243902439) - 1.0;
        const double gradient[2] = {a - floor(a + 0.5), fabs(a) - 0.5};
        sum += Corner(gradient, offsets[c], 0.5);
    }
    return 130.0 * sum;
}

double Noise3(double x, double y, double z) {
    constexpr double kSixth = 1.0 / 6.0;
    constexpr double kThird = 1.0 / 3.0;
    const double s = (x + y + z) * kThird;
    double i[3] = {floor(x + s), floor(y + s), floor(z + s)};
    const double t = (i[0] + i[1] + i[2]) * kSixth;
    const double x0[3] = {x - i[0] + t, y - i[1] + t, z - i[2] + t};
    const double g[3] = {x0[0] > x0[1] ? 1.0 : 0.0, x0[1] > x0[2] ? 1.0 : 0.0, x0[2] > x0[0] ? 1.0 : 0.0};
    const double lzxy[3] = {1.0 - g[2], 1.0 - g[0], 1.0 - g[1]};
    double corner[4][3];
    for (int k = 0; k < 3; ++k) {
        corner[0][k] = 0.0;
        corner[1][k] = fmin(g[k], lzxy[k]);
        corner[2][k] = fmax(g[k], lzxy[k]);
        corner[3][k] = 1.0;
    }
    double offsets[4][3];
    for (int k = 0; k < 3; ++k) {
        offsets[0][k] = x0[k];
        offsets[1][k] = x0[k] - corner[1][k] + kSixth;
        offsets[2][k] = x0[k] - corner[2][k] + kThird;
        offsets[3][k] = x0[k] - 0.5;
    }
    for (double& v : i)
        v = Mod289(v);
    double sum = 0.0;
    for (int c = 0; c < 4; ++c) {
        const double p =
            Permute(Permute(Permute(i[2] + corner[c][2]) + i[1] + corner[c][1]) + i[0] + corner[c][0]);
        const double j = p - 49.0 * floor(p / 49.0);
        const double gx = floor(j / 7.0);
        const double gy = floor(j - 7.0 * gx);
        double b[2] = {gx * 0.285714285714 - 0.9285714285715, gy * 0.285714285714 - 0.9285714285715};
        const double h = 1.0 - fabs(b[0]) - fabs(b[1]);
        if (h < 0.0)
            for (double& v : b)
                v = v - (2.0 * floor(v) + 1.0);
        const double gradient[3] = {b[0], b[1], h};
        sum += Corner(gradient, offsets[c], 0.6);
    }
    return 42.0 * sum;
}

double Noise4(double x, double y, double z, double w) {
    constexpr double kSkew = 0.30901699437494745; // (sqrt 5 - 1) / 4
    constexpr double kUnskew = 0.138196601125011; // (5 - sqrt 5) / 20
    const double v[4] = {x, y, z, w};
    const double s = (x + y + z + w) * kSkew;
    double i[4];
    for (int k = 0; k < 4; ++k)
        i[k] = floor(v[k] + s);
    const double t = (i[0] + i[1] + i[2] + i[3]) * kUnskew;
    double x0[4];
    for (int k = 0; k < 4; ++k)
        x0[k] = v[k] - i[k] + t;
    // Rank: how many other components each exceeds; earlier over later strictly, later over
    // earlier by >=, so ties go to the later component.
    int rank[4] = {0, 0, 0, 0};
    for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b)
            ++rank[x0[a] > x0[b] ? a : b];
    // Corner k is offset by k unskew steps; the last corner by 4 steps less one.
    constexpr double kCornerUnskew[4] = {0.0, 0.138196601125011, 0.276393202250021, 0.414589803375032};
    double corner[5][4];
    double offsets[5][4];
    for (int k = 0; k < 4; ++k) {
        for (int c = 0; c < 4; ++c) {
            corner[c][k] = (c > 0 && rank[k] >= 4 - c) ? 1.0 : 0.0;
            offsets[c][k] = x0[k] - corner[c][k] + kCornerUnskew[c];
        }
        corner[4][k] = 1.0;
        offsets[4][k] = x0[k] - 0.447213595499958;
    }
    for (double& c : i)
        c = Mod289(c);
    constexpr double ip[3] = {1.0 / 294.0, 1.0 / 49.0, 1.0 / 7.0};
    double sum = 0.0;
    for (int c = 0; c < 5; ++c) {
        const double j = Permute(
            Permute(Permute(Permute(i[3] + corner[c][3]) + i[2] + corner[c][2]) + i[1] + corner[c][1]) +
            i[0] + corner[c][0]);
        double gradient[4];
        for (int k = 0; k < 3; ++k)
            gradient[k] = floor(Fract(j * ip[k]) * 7.0) * (1.0 / 7.0) - 1.0;
        gradient[3] = 1.5 - fabs(gradient[0]) - fabs(gradient[1]) - fabs(gradient[2]);
        for (int k = 0; k < 3; ++k)
            gradient[k] += gradient[k] < 0.0 ? -1.0 : 1.0;
        sum += Corner(gradient, offsets[c], 0.6);
    }
    return 49.0 * sum;
}

} // namespace

float K_Noise2f(float x, float y) {
    return static_cast<float>(Noise2(x, y));
}

float K_Noise3f(float x, float y, float z) {
    return static_cast<float>(Noise3(x, y, z));
}

float K_Noise4f(float x, float y, float z, float w) {
    return static_cast<float>(Noise4(x, y, z, w));
}
