// The world's named object sets (the record is VisGroup, map/VisGroupList.h). The world holds its
// sets in an ordered map by id.
#pragma once

#include <cstdint>

#include "map/MapObject.h"
#include "map/VisGroupList.h"

struct MapWorld;

// ---- Sets ------------------------------------------------------------------------------------
// No name, random colour between the group scheme colours, id 0, no members, visible.
void VisGroup_Init(VisGroup* set);
// Holds a heap copy of the name (null for null); nothing when the name is unchanged.
void VisGroup_SetName(VisGroup* set, const char* name);

// ---- World functions -------------------------------------------------------------------------
VisGroup* Map_FindVisGroup(MapWorld* world, int32_t id);
// A new set under the next visgroup id (never 0, never one in use); marks the document modified.
VisGroup* Map_CreateVisGroup(MapWorld* world, const char* name);
// Drops the set from every entity and brush, frees it and marks the document modified. Nothing
// for a set that is not the world's.
void Map_DeleteVisGroup(MapWorld* world, VisGroup* set);
// Frees every set and resets the id counter; objects' lists are left to the caller (the objects
// are being destroyed by the same clear).
void Map_DeleteAllVisGroups(MapWorld* world);
// Flips the set's visibility: member entities (with all their brushes) and member brushes get
// their hidden bit; hiding drops hidden objects from the selection.
void Map_SetVisGroupVisible(MapWorld* world, VisGroup* set);
// Each set is visible when some member (not the world entity) is shown.
void Map_UpdateVisGroupStates(MapWorld* world);
// Members of `from` join `into`, then `from` is deleted. False when either id names no set or
// both name the same one.
bool Map_MergeVisGroups(MapWorld* world, int32_t fromId, int32_t intoId);
// Frees the sets without members and renumbers the rest. False when no set was empty.
bool Map_PurgeVisGroups(MapWorld* world);
// The selected entities and brushes join the set.
void Map_AssignSelectionToVisGroup(MapWorld* world, int32_t id);
// Selects the shown members of the set (a member entity with its shown brushes) instead of the
// current selection.
void Map_SelectVisGroup(MapWorld* world, int32_t id);
// Gives the sets the ids 1, 2, 3 ... in their current order.
void Map_RenumberVisGroups(MapWorld* world);
// Moves the set to a new id, raising the id counter to it when lower. Refused (false, a console
// warning naming the caller) for ids below 1 or held by another set. Readers of stored sets use
// this too.
bool Map_SetVisGroupId(MapWorld* world, VisGroup* set, int32_t newId, const char* caller);

// ---- Plain API (engine-function table signatures) --------------------------------------------
// A null map does nothing and answers 0 (-1 for VisGroup_FindIndex).
// The new set's id.
int32_t VisGroup_Create(MapHandle map);
void VisGroup_Delete(MapHandle map, int32_t id);
// Name and (when given) colour; the set moves to newId when it differs. A newId below 1 or held
// by another set refuses the whole call with a console warning.
void VisGroup_Set(MapHandle map, int32_t id, const char* name, int32_t newId, const uint8_t* rgba);
int32_t VisGroup_GetCount(MapHandle map);
// Position (from 0, in id order) of the set; -1 when no set has the id.
int32_t VisGroup_FindIndex(MapHandle map, int32_t id);
// The n-th set's name (at most nameSize - 1 bytes, terminated; the buffer is left alone for a
// set without a name), id, visible flag (0 or 1) and colour, into the outputs given. 0 for an
// index outside 0..count-1, else 1.
int32_t VisGroup_GetInfo(MapHandle map, int32_t index, char* name, int32_t nameSize, int32_t* id,
                         int32_t* visible, uint8_t* rgba);
void VisGroup_Renumber(MapHandle map);
