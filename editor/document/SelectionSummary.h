// The one-line summary of the selection in the main window's status bar, refreshed at the end of
// every selection change.
#pragma once

#include <QString>

struct MapWorld;

// The summary text of the world's selection, the first of these that applies: faces; a whole
// group; one brush (patch, overlay or solid); several objects; one entity; nothing.
QString Map_SelectionSummaryText(const MapWorld* world);
// Resets the world's snap corner and writes the summary into the selection label.
void Map_UpdateSelectionSummary(MapWorld* world);
