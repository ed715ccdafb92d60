// Planes and texture axes of map faces as the game's tools derive them from a face's three
// points: shared by the reader, which makes faces from the points, and the writer, which must
// write points that give the same plane back.
#pragma once

#include <cstdint>

// Plane through three points: normal of (p0 - p1) × (p2 - p1), distance, axial type (0..2 when
// that component is exactly ±1, else 3). False for collinear or non-finite points.
bool MapPlane_FromPoints(const float p[3][3], float normal[3], float* dist, int32_t* type);

// Texture axes of a classic face line as the game's compiler makes them, from the normal the
// compiler gives the face's plane (cMapPlaneSet): the base axes of the floor, ceiling or wall the
// plane faces most, in the order floor, ceiling, the x walls, the y walls, a later one winning
// only when it faces the plane more by over kClassicAxisMargin (so near ties go to the earlier),
// turned by the line's rotation within the two axes they span.
constexpr float kClassicAxisMargin = 0.0001f;
void MapPlane_ClassicAxes(const float normal[3], float rotationDegrees, float s[3], float t[3]);
