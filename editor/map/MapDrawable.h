// Base of the map objects that views draw one by one (entities, faces, path nodes, patches,
// overlays). It adds the common type and the outline state every selected surface is drawn with.
#pragma once

#include <cstddef>

#include "map/MapObject.h"

struct RenderContext;

class cMapDrawable : public cMapObject {
public:
    ~cMapDrawable() override = default;

    // Lines on both sides, pulled towards the eye by the line polygon offset (unless the view
    // turns it off with NoPolyOffset) and drawn through other surfaces with SelOverlaySkipDepth.
    static void beginOutline(const RenderContext* context);
    // Undoes beginOutline in reverse.
    static void endOutline(const RenderContext* context);

protected:
    cMapDrawable(MapObjectKind kind, size_t recordSize) : cMapObject(kind, recordSize) {}
};
