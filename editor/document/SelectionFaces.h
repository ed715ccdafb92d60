// Commands that rewrite the faces of the selection in place: the detail content bit and the
// texture mapping seen from a view. Each opens its own named undo level (none when it finds
// nothing to do), marks the map modified and redraws nothing.
#pragma once

#include <cstdint>

struct MapWorld;

// "Make Detail" (detail) or "Make Structural": sets or clears detailBits in the contents of every
// face of every selected brush. False, and no level, without a selected brush or bits, or when
// no face would change.
bool Map_SetDetailCommand(MapWorld* world, uint32_t detailBits, bool detail);
// "Align to View": the selected faces, then the faces of the selected brushes, get the view's
// right and up vectors as texture axes and the shifts that keep the texture fixed at the eye;
// rotation 0. False, and no level, without a selected face or brush.
bool Map_AlignToViewCommand(MapWorld* world, const float eye[3], const float right[3], const float up[3]);
