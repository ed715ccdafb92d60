// Operations that change the container of the selected objects: a new group, their groups'
// parents, the world entity, or brush entities. Each is one undo level, marks the document
// modified and refreshes the selection summary.
#pragma once

struct EntityRecord;
struct MapWorld;

// "Group": the selected entities and world brushes join a new group (grouped objects bring
// their whole hierarchy as a child). False, and nothing changed, when they already share one
// outermost group or nothing is selected.
bool Map_GroupSelection(MapWorld* world);
// "Ungroup": every selected group is dissolved; its members and children move up to its parent.
void Map_UngroupSelection(MapWorld* world);
// "Move to World": selected brushes of other entities move to the world entity (an entity left
// without brushes is deleted). With only world brushes selected the selection is cleared.
void Map_MoveToWorld(MapWorld* world);
// "Tie to Entity": the selected brushes move into *entity, or into a new entity of the class when
// *entity is null (stored in *entity). False, with a warning, when no entity could be made or no
// brush is selected.
bool Map_TieToEntity(MapWorld* world, const char* classname, EntityRecord** entity);
// "Tie to Entity" with a new entity of the class for every selected brush; *entity receives the
// last one made.
bool Map_TieEachToEntity(MapWorld* world, const char* classname, EntityRecord** entity);

// ---- Commands (views redrawn after the operation) ----------------------------------------------
bool Map_CmdGroup(MapWorld* world);
bool Map_CmdUngroup(MapWorld* world);
bool Map_CmdMoveToWorld(MapWorld* world);
// The New Objects dock's "to Entity" with the chosen class: one entity for all selected brushes,
// or one per brush. The object-properties dialog reload that follows is the caller's.
bool Map_CmdTieToEntity(MapWorld* world, const char* classname, bool onePerBrush, EntityRecord** entity);
