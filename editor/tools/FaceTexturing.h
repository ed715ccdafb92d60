// What the texture tool does through the face properties: reads their application mode and mode
// keys, and lifts, applies, aligns, shifts or nulls the texture of the object a click picked.
#pragma once

#include <cstdint>

#include "map/MapObject.h"

class QKeyEvent;
class cCanvas;

class FaceTexturing {
public:
    // Shift+F1..F9 while the face properties are up: true when the key was one of the nine.
    virtual bool handleModeKey(const QKeyEvent* event) = 0;
    // The texture-application mode the tool acts on.
    virtual int mode() const = 0;
    // Binds them to a map (null: none).
    virtual void setTarget(MapHandle map) = 0;
    // On the face, patch or overlay with the id.
    virtual void liftFromObject(MapWorld* world, int32_t id) = 0;
    virtual void exec_on_applyTexture(MapWorld* world, int32_t id, int32_t mode, bool wrap) = 0;
    virtual void alignToView(MapWorld* world, int32_t id, cCanvas* view) = 0;
    virtual void assignNullTexture(MapWorld* world, int32_t id, int32_t mode) = 0;
    // Shifts the selected faces' textures by a drag of window pixels in the view.
    virtual void dragShiftTexture(int dx, int dy, cCanvas* view) = 0;

protected:
    ~FaceTexturing() = default;
};
