// Small drawing pieces that entities, path nodes and cameras share: colours, the view's depth
// direction, flat discs, boxes and the arrow heads along a link.
#pragma once

#include <cstdint>

#include "map/MapObject.h"

struct RenderContext;

// glColor of an object colour (bytes red, green, blue, alpha).
void PointDraw_Color(ObjectColor colour);
// glColor of an object colour with its channels scaled and another alpha.
void PointDraw_ColorScaled(ObjectColor colour, float scale, uint8_t alpha);
// glColor of a colour-scheme row.
void PointDraw_SchemeColor(int32_t key);
// The direction the view looks along: the camera's forward vector, or a 2D view's depth axis.
void PointDraw_ViewDirection(const RenderContext* context, float out[3]);
// A point given by its two coordinates in a 2D view's axes (the third is 0).
void PointDraw_Vertex2D(const RenderContext* context, float h, float v);
// A filled disc of `sides` corners (at most 64) around a centre in a 2D view's axes.
void PointDraw_Disc2D(const RenderContext* context, const float centre[3], float radius, int32_t sides);
// The 12 edges of a box as lines.
// The box's twelve edges as 24 line ends, in the order PointDraw_BoxEdges draws them.
void PointDraw_BoxEdgeEnds(const float mins[3], const float maxs[3], float out[24][3]);
void PointDraw_BoxEdges(const float mins[3], const float maxs[3]);
// The 6 faces of a box as quads.
void PointDraw_BoxFaces(const float mins[3], const float maxs[3]);

// Arrow heads along the link from `from` to `to`: n = trunc(L / spacing) + 1 heads at
// (2k + 1) L / 2n, each two lines from its point P to P -+ 6 side - d 8 dir (dir the link's unit
// direction, side the normalised cross product of the view direction with dir). d is +1 for a
// forward head; with `alternate` it starts at `firstSign` and flips from head to head. The heads
// are drawn as GL_LINES in chunks, so a link of any length needs no more than one chunk's
// memory; a count past kLinkArrowLimit (a non-finite or absurd length) is clamped. Returns n.
inline constexpr int32_t kLinkArrowChunk = 256;
inline constexpr int32_t kLinkArrowLimit = 1 << 20;
int32_t PointDraw_LinkArrows(const RenderContext* context, const float from[3], const float to[3],
                             float spacing, int32_t firstSign, bool alternate);
