// The world's rules for group chains: every entity and brush knows its innermost and outermost
// group, and every group counts its direct members (objects and child groups).
#pragma once

#include "map/ObjectRecords.h"

struct MapWorld;

// Puts the object into the group: an ungrouped object joins it directly; a grouped one keeps its
// innermost group and its whole hierarchy is wrapped into the group. A group already inside the
// chain (not at its top) is refused with "duplicate group for entity %s" / "for brush".
void Map_AddEntityToGroupChain(EntityRecord* entity, GroupRecord* group);
void Map_AddBrushToGroupChain(BrushRecord* brush, GroupRecord* group);

// Before an object leaves the world: its innermost group loses a member, and every group of the
// chain left without members is removed (recorded as deleted when snapshot is set; always for
// brushes).
void Map_ReleaseEntityGroups(MapWorld* world, EntityRecord* entity, bool snapshot);
void Map_ReleaseBrushGroups(MapWorld* world, BrushRecord* brush);

// Takes the group out of the hierarchy: its members and child groups move up to its parent, and
// it leaves its parent's count. With select every object and child group whose links change is
// recorded as changed before the change, and the direct members (an entity with its brushes)
// and child groups are selected. The caller deletes the group.
void Map_DissolveGroup(MapWorld* world, GroupRecord* group, bool select);
