// The one-line summary of the selection in the main window's status bar, refreshed at the end of
// every selection change.
#pragma once

struct MapWorld;

// Resets the world's snap corner and writes the summary into the selection label.
void Map_UpdateSelectionSummary(MapWorld* world);
