#include "MapPlaneSet.h"

#include <cmath>

namespace {

// The compiler's number of hash bins: distances wrap around it.
constexpr int32_t kBins = 8192;

int32_t binOf(float dist) {
    // Distances past any map's extent share one bin rather than overflow the conversion.
    const float whole = std::fabs(dist);
    return whole < 1e9f ? int32_t(whole) & (kBins - 1) : 0;
}

} // namespace

bool cMapPlaneSet::matches(const Plane& plane, const float normal[3], float dist, const float p[3][3]) const {
    if (!(std::fabs(plane.dist - dist) < kDistanceEpsilon)) return false;
    for (int i = 0; i < 3; ++i)
        if (!(std::fabs(plane.normal[i] - normal[i]) < kNormalEpsilon)) return false;
    // The face's own points must lie on the plane found, not only near its normal and distance.
    for (int j = 0; j < 3; ++j) {
        const float d =
            p[j][0] * plane.normal[0] + p[j][1] * plane.normal[1] + p[j][2] * plane.normal[2] - plane.dist;
        if (!(std::fabs(d) <= kDistanceEpsilon)) return false;
    }
    return true;
}

bool cMapPlaneSet::find(const float p[3][3], float normal[3]) {
    double a[3], b[3];
    for (int i = 0; i < 3; ++i) {
        a[i] = double(p[0][i]) - double(p[1][i]);
        b[i] = double(p[2][i]) - double(p[1][i]);
    }
    double n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
    const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (!(length > 0.0) || !std::isfinite(length)) return false;
    float own[3];
    for (int i = 0; i < 3; ++i)
        own[i] = float(n[i] / length);
    const float dist = float(double(p[0][0]) * (n[0] / length) + double(p[0][1]) * (n[1] / length) +
                             double(p[0][2]) * (n[2] / length));
    if (!std::isfinite(dist)) return false;

    const int32_t home = binOf(dist);
    for (int32_t step : {-1, 0, 1}) {
        const auto bin = bins.find((home + step) & (kBins - 1));
        if (bin == bins.end()) continue;
        for (auto it = bin->second.rbegin(); it != bin->second.rend(); ++it) {
            const Plane& plane = planes[size_t(*it)];
            if (!matches(plane, own, dist, p)) continue;
            for (int i = 0; i < 3; ++i)
                normal[i] = plane.normal[i];
            return true;
        }
    }
    // A new plane comes with its reverse, as the compiler keeps them in pairs: the back of a
    // face read later finds it.
    const Plane front{{own[0], own[1], own[2]}, dist};
    const Plane back{{-own[0], -own[1], -own[2]}, -dist};
    for (const Plane& plane : {front, back}) {
        bins[binOf(plane.dist)].push_back(int32_t(planes.size()));
        planes.push_back(plane);
    }
    for (int i = 0; i < 3; ++i)
        normal[i] = own[i];
    return true;
}
