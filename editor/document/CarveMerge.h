// Constructive geometry on the selected solid brushes: carve them out of the brushes they cut
// into or merge them into one convex brush (hollow and clip: HollowClip.h). Each operation is one undo level,
// marks the document modified and refreshes the selection summary. Brushes carrying a patch or an overlay are
// never cut.
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

// Pieces waiting to be merged, head first.
using BrushChain = std::vector<BrushRecord*>;

// ---- Operations ----------------------------------------------------------------------------------
// "Carve": every selected solid brush is subtracted from the other brushes it cuts into; the
// pieces are merged again where they form convex brushes. The cutters stay selected, unchanged.
void Map_Carve(MapWorld* world);
// "Merge": the selected brushes (at least two, all solid, of one entity, with a convex hull)
// become one brush. False with a warning, and nothing changed, on refusal.
bool Map_Merge(MapWorld* world);

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
