// Hollowing the selected solid brushes into shells of walls and clipping them by a plane. Each
// operation is one undo level, marks the document modified and refreshes the selection summary.
// Brushes carrying a patch or an overlay are never cut.
#pragma once

#include <cstdint>

struct MapWorld;

// Keep mask of Map_ClipObjects.
namespace ClipKeep {
constexpr int32_t Front = 0x1;
constexpr int32_t Back = 0x2;
constexpr int32_t Both = Front | Back;
} // namespace ClipKeep

// ---- Operations ----------------------------------------------------------------------------------
// "Make Hollow": every selected solid brush becomes walls |thickness| thick, inside its outline
// for a positive thickness, outside for a negative one. False with a warning, and nothing
// changed, for a zero thickness or walls that would fill a brush.
bool Map_MakeHollow(MapWorld* world, float thickness);
// "Clip Objects": the selected solid brushes are cut by the plane; keep is a ClipKeep mask.
// False with a warning, and nothing changed, for a bad keep mask or plane.
bool Map_ClipObjects(MapWorld* world, const float normal[3], float distance, int32_t keep);

// ---- Commands (their guards as message boxes; the views redrawn after the operation) -----------------
// Asks for the wall thickness (and, for several brushes, whether to go on).
bool Map_CmdMakeHollow(MapWorld* world);
// The clip tool's commit: its mode 0, 1, 2 keeps the front, the back or both.
bool Map_CmdClipObjects(MapWorld* world, const float normal[3], float distance, int32_t toolMode);
