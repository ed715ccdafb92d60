// Constructive geometry on the selected solid brushes: carve them out of the brushes they cut
// into, merge them into one convex brush, hollow each into a shell of walls, or clip them by a
// plane. Each operation is one undo level, marks the document modified and refreshes the
// selection summary. Brushes carrying a patch or an overlay are never cut.
#pragma once

#include <cstdint>
#include <vector>

struct BrushRecord;
struct EntityRecord;
struct FaceRecord;
struct MapWorld;

// Brush flags that live only while "Carve" runs.
namespace CarveFlags {
constexpr uint32_t CutterPiece = 0x200; // made by the current cutter: not cut again by it
constexpr uint32_t Piece = 0x4000;      // made during this carve, not yet recorded
} // namespace CarveFlags

// Keep mask of Map_ClipObjects.
namespace ClipKeep {
constexpr int32_t Front = 0x1;
constexpr int32_t Back = 0x2;
constexpr int32_t Both = Front | Back;
} // namespace ClipKeep

// Pieces waiting to be merged, head first.
using BrushChain = std::vector<BrushRecord*>;

// ---- Operations ----------------------------------------------------------------------------------
// "Carve": every selected solid brush is subtracted from the other brushes it cuts into; the
// pieces are merged again where they form convex brushes. The cutters stay selected, unchanged.
void Map_Carve(MapWorld* world);
// "Merge": the selected brushes (at least two, all solid, of one entity, with a convex hull)
// become one brush. False with a warning, and nothing changed, on refusal.
bool Map_Merge(MapWorld* world);
// "Make Hollow": every selected solid brush becomes walls |thickness| thick, inside its outline
// for a positive thickness, outside for a negative one. False with a warning, and nothing
// changed, for a zero thickness or walls that would fill a brush.
bool Map_MakeHollow(MapWorld* world, float thickness);
// "Clip Objects": the selected solid brushes are cut by the plane; keep is a ClipKeep mask.
// False with a warning, and nothing changed, for a bad keep mask or plane.
bool Map_ClipObjects(MapWorld* world, const float normal[3], float distance, int32_t keep);

// ---- Steps (shared with the tests) ------------------------------------------------------------------
// Merges two pieces into a new brush at the chain's head (flagged CarveFlags::Piece); a and b
// leave the chain and are deleted. Null, and nothing changed, when they do not form a convex
// brush with matching textures on shared planes.
BrushRecord* Map_TryMergeBrushPair(MapWorld* world, BrushChain& chain, BrushRecord* a, BrushRecord* b);
// Merges pieces of the chain in passes until a pass merges nothing.
void Map_CarveMergePieces(MapWorld* world, BrushChain& chain);
// The faces lie in opposite planes and their polygons share some area: they are the two sides of
// one shared wall. Faces meeting only along an edge or a corner are not opposite.
bool Map_FacesOpposite(const FaceRecord* a, const FaceRecord* b);
// Removes a brush entity left without brushes (recorded as deleted); never the world entity.
void Map_RemoveEmptiedEntity(MapWorld* world, EntityRecord* entity);

// ---- Commands (their guards as message boxes; the views redrawn after the operation) -----------------
// Refreshing the visgroup dock and notifying the tools of the selection change are the main
// window's part of these commands.
bool Map_CmdCarve(MapWorld* world);
bool Map_CmdMerge(MapWorld* world);
// Asks for the wall thickness (and, for several brushes, whether to go on).
bool Map_CmdMakeHollow(MapWorld* world);
// The clip tool's commit: its mode 0, 1, 2 keeps the front, the back or both.
bool Map_CmdClipObjects(MapWorld* world, const float normal[3], float distance, int32_t toolMode);
