#include "document/SelectionSummary.h"

#include "document/MapWorld.h"

void Map_UpdateSelectionSummary(MapWorld* world) {
    if (!world) return;
    // A changed selection starts the corner snapping afresh.
    world->snapCorner = 0;
    // The status-bar label and its texts come with the grouping operations.
}
