// The planes the game's compiler makes of a map's faces, in the order it reads them. A face
// whose plane lies within the compiler's tolerances of one made before (its normal, its distance
// and its three points) takes that plane, normal and all; the compiler projects classic texture
// lines along that normal, so a face near 45 degrees can follow a neighbour read earlier.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

class cMapPlaneSet {
public:
    // Tolerances the compiler matches planes with (measured on its output).
    static constexpr float kNormalEpsilon = 0.00005f;
    static constexpr float kDistanceEpsilon = 0.005f;

    // The normal the compiler gives the plane through p (single-precision points, normal made in
    // double precision), adding the plane when none made before matches. False for points that
    // make no plane.
    bool find(const float p[3][3], float normal[3]);
    int32_t size() const { return int32_t(planes.size()); }

private:
    struct Plane {
        float normal[3];
        float dist;
    };
    bool matches(const Plane& plane, const float normal[3], float dist, const float p[3][3]) const;
    std::vector<Plane> planes;
    // Plane numbers by whole units of |dist|, oldest first; a search looks at the neighbouring
    // units too, newest first, as the compiler does.
    std::unordered_map<int32_t, std::vector<int32_t>> bins;
};
