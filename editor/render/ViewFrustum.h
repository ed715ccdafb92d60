// The planes bounding what a view shows (four for a 2D view, six for the camera view) and the box
// tests the world renderer and the tools cull with. A point is inside a plane when
// dot(normal, p) > dist.
#pragma once

#include <cstddef>
#include <cstdint>

struct FrustumPlane {
    float normal[3];
    float dist;
    int32_t type;     // 0..2 axial along x, y, z; 3 any other orientation
    int32_t signbits; // bit 0 normal.x < 0, bit 1 y, bit 2 z
};
static_assert(sizeof(FrustumPlane) == 24);
static_assert(offsetof(FrustumPlane, type) == 16 && offsetof(FrustumPlane, signbits) == 20);

struct ViewFrustum {
    FrustumPlane planes[6];
    int32_t count; // 4 or 6
};

// Rectangle of a 2D view: scroll offsets (pixels), zoom and the window half-extents.
void Render_SetupFrustum2D(ViewFrustum* frustum, int hAxis, int vAxis, const float scroll[2], float zoom,
                           float left, float right, float bottom, float top);
// Pyramid of the camera view; farDistance is where the projection puts its far plane.
void Render_SetupFrustum3D(ViewFrustum* frustum, const float eye[3], const float forward[3],
                           const float right[3], const float up[3], float fovH, float fovV,
                           float farDistance);
// True when the box is wholly outside (its farthest corner strictly behind one plane).
bool Render_CullBox(const ViewFrustum* frustum, const float mins[3], const float maxs[3]);
// True when for some plane no corner of the rotated box is strictly in front of it.
bool Render_CullRotatedBox(const ViewFrustum* frustum, const float mins[3], const float maxs[3],
                           const float origin[3], const float matrix[3][4]);
// 0 outside, 1 inside, 2 crossing; planes the box lies wholly inside are cleared from mask
// (negative mask = all planes).
int Render_ClassifyBox(const ViewFrustum* frustum, const float mins[3], const float maxs[3], int* mask);
