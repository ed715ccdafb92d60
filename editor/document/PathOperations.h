// Undoable operations on paths and their nodes: deleting paths or the selected nodes, adding
// nodes, reversing, splitting and merging paths, and turning a path into a chain of point
// entities. The commands below run the checks the main window's commands and the path tool make
// before the operation; a refusal is a console warning and a false result.
#pragma once

#include <cstdint>

#include "map/ObjectRecords.h"

struct MapWorld;

// ---- Operations --------------------------------------------------------------------------------
// "Delete Path" when withUndo. The path and its nodes leave the world.
void Map_DeletePath(MapWorld* world, PathRecord* path, bool withUndo);
// "Delete Selection": the selected nodes go; a path left without nodes goes with them.
void Map_DeleteSelectedNodes(MapWorld* world);
// "Add Nodes": a node in front of each selected node, one grid step along both view axes
// (0..2), snapped. The new nodes end up selected instead of the old ones.
void Map_AddPathNodes(MapWorld* world, int32_t axisA, int32_t axisB);
// "Reverse Path" (nothing below two nodes).
void Map_ReversePath(MapWorld* world, PathRecord* path);
// "Split Path": the nodes after the node become a new path "<name>_s", led by a copy of the node
// one grid step along both axes. False for a terminal node or bad arguments.
bool Map_SplitPath(MapWorld* world, NodeRecord* node, int32_t axisA, int32_t axisB);
// "Merge Paths": the nodes of first's path after first are appended to last's path; first and
// its path go. first must lead a path of two or more nodes, last end another path. The moved
// nodes keep their object ids.
bool Map_MergePaths(MapWorld* world, NodeRecord* first, NodeRecord* last);
// A point entity of the path's class for one node, linked by targetname/target to its
// neighbours by the naming rules of an exported path. No undo level of its own.
EntityRecord* Map_EntityFromPathNode(MapWorld* world, NodeRecord* node, int32_t index, bool backward);
// "Convert Path": an entity per node (ping-pong paths also walk back), then the path goes.
bool Map_ConvertPath(MapWorld* world, PathRecord* path);
// Merge sort of a chain linked through the selection links: grouped by path (by serial), the
// higher node number first; the previous links are rebuilt. Returns the new head.
NodeRecord* Map_SortNodes(NodeRecord* chain);

// ---- Commands (views redrawn after the operation) ------------------------------------------------
bool Map_CmdDeletePath(MapWorld* world);
bool Map_CmdAddNodes(MapWorld* world, int32_t axisA, int32_t axisB);
bool Map_CmdSplitPath(MapWorld* world, int32_t axisA, int32_t axisB);
bool Map_CmdMergePaths(MapWorld* world);
bool Map_CmdReversePath(MapWorld* world);
bool Map_CmdConvertPath(MapWorld* world);
