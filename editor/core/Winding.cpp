// Pooled convex polygons: building from a plane, clipping, splitting, clean-up and area.
#include "core/Winding.h"

#include <algorithm>
#include <cmath>

#include "core/SysHost.h"
#include "core/System.h"

namespace {

constexpr double kSideEpsilon = 0.01;
constexpr double kFineSideEpsilon = 1e-6;
constexpr float kDuplicateEpsilon = 0.01f;
// The base square reaches past the largest world the editor allows.
constexpr double kMinBaseExtent = 262144.0;

enum Side : int8_t { SIDE_ON = 0, SIDE_FRONT = 1, SIDE_BACK = 2 };

// One free list per record kind; records never go back to the heap while the program runs.
template <class W> struct WindingPool { static inline W* head = nullptr; };

template <class W> W* poolAlloc() {
    W*& head = WindingPool<W>::head;
    if (head) {
        W* w = head;
        head = w->next;
        w->next = nullptr;
        w->count = 0;
        return w;
    }
    return new W{};
}

template <class W> void poolFree(W* w) {
    if (!w) return;
    w->count = 0;
    w->next = WindingPool<W>::head;
    WindingPool<W>::head = w;
}

template <class W> void poolRelease() {
    W*& head = WindingPool<W>::head;
    while (head) {
        W* w = head;
        head = w->next;
        delete w;
    }
}

template <class W> int32_t poolSize() {
    int32_t n = 0;
    for (const W* w = WindingPool<W>::head; w; w = w->next)
        ++n;
    return n;
}

// Appends one point; false when the winding is full.
template <class W, class Real> bool appendPoint(W* w, const Real p[3]) {
    if (w->count >= cWinding::MaxPoints) return false;
    for (int k = 0; k < 3; ++k)
        w->points[w->count][k] = p[k];
    ++w->count;
    return true;
}

// Splits w by the plane into the parts whose outputs are given (a null output builds nothing and
// pools that side). Sides and crossings are computed in the winding's own precision. The caller
// gives up w in every case.
template <class W>
bool splitWinding(W* w, const float normal[3], float dist, W** front, W** back, const char* who,
                  double epsilon = kSideEpsilon) {
    using Real = std::remove_reference_t<decltype(w->points[0][0])>;
    if (front) *front = nullptr;
    if (back) *back = nullptr;

    const int32_t count = w->count;
    if (count < 0 || count > cWinding::MaxPoints) {
        Sys_Warning("cWinding :: %s: winding has %i points (at most %i)\n", who, count, cWinding::MaxPoints);
        poolFree(w);
        return false;
    }

    Real dists[cWinding::MaxPoints];
    Side sides[cWinding::MaxPoints];
    int32_t frontCount = 0;
    int32_t backCount = 0;
    for (int32_t i = 0; i < count; ++i) {
        const Real* p = w->points[i];
        const Real s = Real(normal[0]) * p[0] + Real(normal[1]) * p[1] + Real(normal[2]) * p[2] - Real(dist);
        dists[i] = s;
        if (s > Real(epsilon)) {
            sides[i] = SIDE_FRONT;
            ++frontCount;
        } else if (s < Real(-epsilon)) {
            sides[i] = SIDE_BACK;
            ++backCount;
        } else {
            sides[i] = SIDE_ON;
        }
    }

    if (frontCount == 0 && backCount == 0) {
        poolFree(w);
        return false;
    }
    if (backCount == 0 || frontCount == 0) {
        W** keeper = backCount == 0 ? front : back;
        if (keeper)
            *keeper = w;
        else
            poolFree(w);
        return true;
    }

    W* f = front ? poolAlloc<W>() : nullptr;
    W* b = back ? poolAlloc<W>() : nullptr;
    bool fits = true;
    for (int32_t i = 0; i < count && fits; ++i) {
        const Real* p = w->points[i];
        const int32_t j = (i + 1) % count;
        if (sides[i] != SIDE_BACK && f) fits = appendPoint(f, p);
        if (sides[i] != SIDE_FRONT && b) fits = fits && appendPoint(b, p);
        if (sides[i] == SIDE_ON || sides[j] == SIDE_ON || sides[j] == sides[i]) continue;

        // The edge crosses the plane; axial normals keep the plane's exact coordinate.
        const Real* q = w->points[j];
        const Real t = dists[i] / (dists[i] - dists[j]);
        Real mid[3];
        for (int k = 0; k < 3; ++k) {
            if (normal[k] == 1.0f)
                mid[k] = Real(dist);
            else if (normal[k] == -1.0f)
                mid[k] = -Real(dist);
            else
                mid[k] = p[k] + t * (q[k] - p[k]);
        }
        if (f) fits = fits && appendPoint(f, mid);
        if (b) fits = fits && appendPoint(b, mid);
    }
    poolFree(w);

    if (!fits) {
        // Only a non-convex input (a corrupt file, a bad plugin) gets here.
        Sys_Warning("cWinding :: %s: result exceeds %i points, winding dropped\n", who, cWinding::MaxPoints);
        poolFree(f);
        poolFree(b);
        return false;
    }
    if (front) *front = f;
    if (back) *back = b;
    return true;
}

// Normalises in place; a zero vector stays zero.
void normalise(double v[3]) {
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length == 0.0) return;
    for (int k = 0; k < 3; ++k)
        v[k] /= length;
}

void cross(const double a[3], const double b[3], double out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

bool samePoint(const float a[3], const float b[3]) {
    return std::fabs(a[0] - b[0]) <= kDuplicateEpsilon && std::fabs(a[1] - b[1]) <= kDuplicateEpsilon &&
           std::fabs(a[2] - b[2]) <= kDuplicateEpsilon;
}

int32_t usableCount(int32_t count) {
    return count < 0 ? 0 : (count > cWinding::MaxPoints ? cWinding::MaxPoints : count);
}

} // namespace

cWinding* cWinding::Alloc() {
    return poolAlloc<cWinding>();
}
cWindingDouble* cWinding::AllocDouble() {
    return poolAlloc<cWindingDouble>();
}
void cWinding::Free(cWinding* w) {
    poolFree(w);
}
void cWinding::FreeDouble(cWindingDouble* w) {
    poolFree(w);
}

void cWinding::FreePools() {
    poolRelease<cWinding>();
    poolRelease<cWindingDouble>();
}

int32_t cWinding::PooledCount() {
    return poolSize<cWinding>();
}
int32_t cWinding::PooledCountDouble() {
    return poolSize<cWindingDouble>();
}

void cWinding::InitFromPlane(cWindingDouble* w, const float normal[3], float dist) {
    const SysHost* host = Sys_Host();
    const double worldSize = host ? double(host->maxWorldSize()) : 0.0;
    const double extent = std::max(worldSize, kMinBaseExtent);
    const double h = extent * 1.732050807569;

    int axis = -1;
    double largest = -2.0 * extent;
    for (int k = 0; k < 3; ++k)
        if (std::fabs(double(normal[k])) > largest) {
            largest = std::fabs(double(normal[k]));
            axis = k;
        }
    if (axis < 0) {
        Sys_Error("cWinding :: InitFromPlane: no major axis\n");
        return;
    }

    const double n[3] = {normal[0], normal[1], normal[2]};
    double up[3] = {0.0, 0.0, 0.0};
    up[axis == 2 ? 0 : 2] = 1.0;
    const double d = up[0] * n[0] + up[1] * n[1] + up[2] * n[2];
    for (int k = 0; k < 3; ++k)
        up[k] -= n[k] * d;
    normalise(up);
    double right[3];
    cross(up, n, right);
    normalise(right);

    double origin[3];
    for (int k = 0; k < 3; ++k) {
        origin[k] = n[k] * double(dist);
        up[k] *= h;
        right[k] *= h;
    }
    w->count = 4;
    for (int k = 0; k < 3; ++k) {
        w->points[0][k] = origin[k] - right[k] + up[k];
        w->points[1][k] = origin[k] - right[k] - up[k];
        w->points[2][k] = origin[k] + right[k] - up[k];
        w->points[3][k] = origin[k] + right[k] + up[k];
    }
}

void cWinding::GetPlane(const cWindingDouble* w, float normal[3], float* dist) {
    const int32_t count = usableCount(w->count);
    if (count < 3) {
        normal[0] = normal[1] = normal[2] = 0.0f;
        *dist = 0.0f;
        return;
    }
    for (int32_t i = 2; i <= count; ++i) {
        const double* p0 = w->points[i - 2];
        const double* p1 = w->points[i - 1];
        const double* p2 = w->points[i % count];
        const double a[3] = {p0[0] - p1[0], p0[1] - p1[1], p0[2] - p1[2]};
        const double b[3] = {p2[0] - p1[0], p2[1] - p1[1], p2[2] - p1[2]};
        double candidate[3];
        cross(b, a, candidate);
        const double length = std::sqrt(candidate[0] * candidate[0] + candidate[1] * candidate[1] +
                                        candidate[2] * candidate[2]);
        const double reciprocal = 1.0 / length;
        if (!std::isfinite(reciprocal)) continue;
        double n[3];
        for (int k = 0; k < 3; ++k)
            n[k] = candidate[k] * reciprocal;
        for (int k = 0; k < 3; ++k)
            normal[k] = float(n[k]);
        *dist = float(n[0] * p1[0] + n[1] * p1[1] + n[2] * p1[2]);
        return;
    }
}

cWindingDouble* cWinding::Clip(cWindingDouble* w, const float normal[3], float dist) {
    cWindingDouble* front = nullptr;
    splitWinding(w, normal, dist, &front, static_cast<cWindingDouble**>(nullptr), "Clip");
    return front;
}

cWindingDouble* cWinding::ClipFine(cWindingDouble* w, const float normal[3], float dist) {
    cWindingDouble* front = nullptr;
    splitWinding(w, normal, dist, &front, static_cast<cWindingDouble**>(nullptr), "ClipFine",
                 kFineSideEpsilon);
    return front;
}

bool cWinding::Split(cWinding* w, const float normal[3], float dist, cWinding** front, cWinding** back) {
    return splitWinding(w, normal, dist, front, back, "Split");
}

bool cWinding::SplitDouble(cWindingDouble* w, const float normal[3], float dist, cWindingDouble** front,
                           cWindingDouble** back) {
    return splitWinding(w, normal, dist, front, back, "SplitDouble");
}

bool cWinding::RemoveDuplicatePoints(cWinding* w) {
    w->count = usableCount(w->count);
    bool removed = false;
    int32_t i = 1;
    while (i < w->count) {
        if (samePoint(w->points[i], w->points[i - 1])) {
            for (int32_t j = i + 1; j < w->count; ++j)
                for (int k = 0; k < 3; ++k)
                    w->points[j - 1][k] = w->points[j][k];
            --w->count;
            removed = true;
        } else {
            ++i;
        }
    }
    if (w->count > 1 && samePoint(w->points[w->count - 1], w->points[0])) {
        --w->count;
        removed = true;
    }
    return removed;
}

float cWinding::Area(const cWinding* w) {
    const int32_t count = usableCount(w->count);
    float total = 0.0f;
    const float* p0 = w->points[0];
    for (int32_t i = 1; i + 1 < count; ++i) {
        const float* p1 = w->points[i];
        const float* p2 = w->points[i + 1];
        const float a[3] = {p1[0] - p0[0], p1[1] - p0[1], p1[2] - p0[2]};
        const float b[3] = {p2[0] - p0[0], p2[1] - p0[1], p2[2] - p0[2]};
        const float c[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
        total += 0.5f * std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
    }
    return total;
}
