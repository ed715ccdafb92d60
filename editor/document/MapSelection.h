// World-wide selection commands: select all, invert, by id, in a box, by index, (the display
// filters they share with drawing are in ObjectDraw.h). Each command ends by refreshing the selection summary
// unless its comment says otherwise. Selecting one record is Map_SelectObject (MapWorld.h).
#pragma once

#include <cstdint>

#include "map/ObjectDraw.h"
#include "map/ObjectRecords.h"

struct BrushRecord;
struct MapWorld;

// Modes of Map_SelectInBox.
namespace BoxSelect {
constexpr int32_t Touching = 0;
constexpr int32_t Inside = 1;
constexpr int32_t Handles = 2; // the object's centre lies in the box
} // namespace BoxSelect

// The main window's HideMask (0 without a main window).
int32_t Map_HideMask();

// Path mode selects every path node; otherwise the top-level groups, every entity but the world
// entity and every brush that is shown and passes the display filters.
void Map_SelectAll(MapWorld* world, bool pathMode);
// The same walk, flipping each object's state; groups with a parent are deselected.
void Map_InvertSelection(MapWorld* world, bool pathMode);
// Clears the selected bit of every group, entity, brush and face of the world and of the selected
// path nodes; empties the five lists. No summary refresh.
void Map_ClearSelectionFlags(MapWorld* world);
// Selected entities are deselected; selected brushes with faces give way to their faces.
void Map_SelectionToFaces(MapWorld* world);
void Map_DeselectNodes(MapWorld* world);
// Deselects selected entities and brushes whose outermost group exists and is not selected.
void Map_TrimSelectionToGroups(MapWorld* world);
// Selects the group and every entity (with its brushes) and world brush whose outermost group it
// is. No summary refresh.
void Map_SelectGroup(MapWorld* world, GroupRecord* group);

// Whether the object the id names counts as selected in the world's selection mode.
bool Map_IsSelectedById(MapWorld* world, int32_t id);
// Selects what the id names (groups as a whole in mode 1, faces in mode 3); with toggle a selected
// object is deselected instead.
void Map_SelectById(MapWorld* world, int32_t id, bool toggle);
// Selects (or toggles) every face of the first brush that has a face with the id.
void Map_SelectBrushFaces(MapWorld* world, int32_t faceId, bool toggle);
// Selects the unselected, shown, unfiltered objects in the box (BoxSelect mode).
void Map_SelectInBox(MapWorld* world, const float mins[3], const float maxs[3], int32_t mode);
// Selects brush n of entity m (both counted from 0 in list order, hidden brushes skipped when
// asked). False, and nothing changed, when there is no such brush.
bool Map_SelectBrushByIndex(MapWorld* world, int32_t entityIndex, int32_t brushIndex, bool skipHidden);
// Deselects selected objects that are hidden or filtered, directly or through their brush or
// entity.
void Map_DeselectHidden(MapWorld* world);
