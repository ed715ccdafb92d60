// The first view of a map in a new map window: the 2D views fitted to the map, the camera at the
// map's current camera, else at a player start, else looking at the map from outside.
#pragma once

struct MapWorld;
class cChildWindow;

// The bounds of every brush and point entity; false (bounds cleared) for an empty map.
bool Map_WorldBounds(MapWorld* world, float mins[3], float maxs[3]);
// Fits the window's 2D views to the map (to ±256 when it is empty) and places its camera.
void MapWindow_FitToWorld(cChildWindow* window, MapWorld* world);
