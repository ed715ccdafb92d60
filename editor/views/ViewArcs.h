// Point counts and angles of the views' circles and sectors (kept apart from GL for tests).
#pragma once

inline constexpr int kArcMaxPoints = 38;

// Points of a stippled circle of a radius in world units: trunc(radius / 10) within [16, 64].
int View_StippledCirclePoints(float radius);
// The arc angles of a sector, from end down to start in 10-degree steps, the last exactly start;
// end below start gains whole turns first. A span above one turn is clamped to one turn, and a
// non-finite angle gives 0 points.
int View_ArcAngles(float start, float end, float out[kArcMaxPoints]);
