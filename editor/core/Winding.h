// Convex polygons (windings) in single and double precision, taken from and returned to free-list
// pools so that the many short-lived polygons of face building and splitting cost no heap traffic
// once the pools are warm.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

struct cWindingDouble;

// Single-precision winding. The record layout is fixed (portal and hull lists hold these).
struct cWinding {
    // Capacity of both winding kinds; nothing is ever written past it.
    static constexpr int32_t MaxPoints = 128;

    int32_t count;              // points in use
    float points[MaxPoints][3]; // in order around the polygon
    cWinding* next;             // free-list link; null while in use

    // ---- Pools ----
    // A winding with count 0 from the free list, or a new one. Out of memory ends the program.
    static cWinding* Alloc();
    static cWindingDouble* AllocDouble();
    // Back to the pool (count 0). Null is ignored.
    static void Free(cWinding* w);
    static void FreeDouble(cWindingDouble* w);
    // Releases every pooled record of both pools; windings still in use are not touched.
    // Called at program exit.
    static void FreePools();
    // Records waiting in the float and double pools.
    static int32_t PooledCount();
    static int32_t PooledCountDouble();

    // ---- Geometry ----
    // Makes w the four-point base square of the plane, counter-clockwise seen from the front.
    static void InitFromPlane(cWindingDouble* w, const float normal[3], float dist);
    // Plane of the first non-degenerate corner; (0, 0, 0) and 0 below three points; outputs
    // untouched when every corner is degenerate.
    static void GetPlane(const cWindingDouble* w, float normal[3], float* dist);
    // Keeps the part in front of the plane. Takes ownership of w: returns w itself when nothing
    // is cut, a new winding when something is, null (w pooled) when nothing remains or the
    // result would not fit MaxPoints (with a warning).
    static cWindingDouble* Clip(cWindingDouble* w, const float normal[3], float dist);
    // Clip with an on-plane tolerance of a millionth of a unit instead of a hundredth: for
    // polygons thinner than the usual tolerance (a face that still bounds its brush).
    static cWindingDouble* ClipFine(cWindingDouble* w, const float normal[3], float dist);
    // Splits w into front and back parts (either output may be null: that part is pooled).
    // Takes ownership of w. False with both outputs null when w has no point off the plane or a
    // part would not fit MaxPoints (with a warning).
    static bool Split(cWinding* w, const float normal[3], float dist, cWinding** front, cWinding** back);
    static bool SplitDouble(cWindingDouble* w, const float normal[3], float dist, cWindingDouble** front,
                            cWindingDouble** back);
    // Drops points within 0.01 per axis of their predecessor (the last against the first).
    static bool RemoveDuplicatePoints(cWinding* w);
    // Fan area; 0 below three points.
    static float Area(const cWinding* w);
};

// Double-precision winding; same capacity, same pools interface through cWinding.
struct cWindingDouble {
    int32_t count;
    double points[cWinding::MaxPoints][3];
    cWindingDouble* next;
};

static_assert(std::is_standard_layout_v<cWinding> && std::is_standard_layout_v<cWindingDouble>);
static_assert(sizeof(cWinding) == 1552 && offsetof(cWinding, points) == 4 &&
              offsetof(cWinding, next) == 1544);
static_assert(sizeof(cWindingDouble) == 3088 && offsetof(cWindingDouble, points) == 8 &&
              offsetof(cWindingDouble, next) == 3080);
