// Undoable operations on the whole selection: deleting it and putting one texture on it.
#pragma once

struct MapWorld;

// "Delete Selection": the selected brushes and entities go (the world entity stays); a brush
// entity whose last brush goes is deleted with it, one that keeps brushes is only deselected.
void Map_DeleteSelection(MapWorld* world);
// "Apply Texture": every selected face, and every face, patch and overlay of every selected
// brush whose texture name differs (exact comparison), takes the texture.
void Map_ApplyTexture(MapWorld* world, const char* name);

// ---- Commands (views redrawn after the operation) ----------------------------------------------
// Edit > Delete: in path mode with selected nodes the nodes, else with anything selected the
// selection. False when there was nothing to delete.
bool Map_CmdEditDelete(MapWorld* world, bool pathMode);
// Apply Current Texture with the main window's current texture name; only the 3D views redraw.
bool Map_CmdApplyTexture(MapWorld* world, const char* name);
