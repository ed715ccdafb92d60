// A coarse, conservative picture of what the camera view's nearest opaque faces hide, so that
// objects wholly behind them need not be drawn. Each cell keeps the farthest depth any occluder
// has over the whole cell (an occluder counts only where it covers the whole cell); a box is
// hidden when its nearest point lies behind that in every cell it may touch. Both sides lean the
// safe way by a margin, so a box taken as hidden would have had no fragment pass the depth test:
// leaving it out changes no pixel, provided every occluder is drawn opaque and depth-written in
// the same frame.
#pragma once

#include <cstdint>
#include <vector>

struct OcclusionBuffer {
    int32_t columns = 0, rows = 0;
    float cellSize = 8.0f; // pixels
    float width = 0.0f, height = 0.0f;
    float mvp[16] = {}; // projection times modelview, column-major as GL keeps it
    // Per cell, 1 / w (the eye depth) of the farthest point of the nearest whole-cell occluder;
    // 0: nothing in front of infinity.
    std::vector<float> inverseDepth;
    int32_t occluders = 0;
    int32_t cellsWritten = 0;
};

// Starts an empty buffer for a view of the given size from GL's current projection and modelview.
void Occlusion_Begin(OcclusionBuffer* buffer, int32_t width, int32_t height);
// The same from given matrices (column-major, as glGetFloatv returns them).
void Occlusion_BeginWith(OcclusionBuffer* buffer, int32_t width, int32_t height, const float projection[16],
                         const float modelview[16]);
// Adds a convex polygon the frame draws filled, opaque and depth-written (points with a stride in
// bytes). False when it adds nothing: not wholly between the near and far planes, degenerate, or
// covering no whole cell.
bool Occlusion_AddPolygon(OcclusionBuffer* buffer, const float* xyz, int32_t stride, int32_t count);
// The box lies behind the occluders wherever it may show: not one fragment of anything inside it
// could pass the depth test. False for a box reaching the near plane or out of the view's sides
// (it may show there).
// pixelMargin widens the box's window rectangle (wide lines drawn at its edges).
bool Occlusion_BoxHidden(const OcclusionBuffer* buffer, const float mins[3], const float maxs[3],
                         float pixelMargin = 0.0f);
