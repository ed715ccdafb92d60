// Base of the map objects that views draw one by one (entities, faces, path nodes, patches,
// overlays). It adds nothing to the handle but the common type; outline drawing comes with the
// views.
#pragma once

#include <cstddef>

#include "map/MapObject.h"

class cMapDrawable : public cMapObject {
public:
    ~cMapDrawable() override = default;

protected:
    cMapDrawable(MapObjectKind kind, size_t recordSize) : cMapObject(kind, recordSize) {}
};
