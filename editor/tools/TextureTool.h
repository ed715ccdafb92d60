// The texture-application tool: in the 3D view a left click selects faces, lifts, applies,
// aligns or nulls a texture as the face properties dialog's mode says; a right click applies;
// Alt (or Shift+Ctrl) drags shift the selected faces' textures, one "Shift Texture" level a drag.
#pragma once

#include "views/AbstractTool.h"

class QKeyEvent;
class FaceTexturing;

class cTextureTool : public cAbstractTool {
public:
    bool setCursor(cCanvas* view) override;
    bool mousePress(cCanvas* view, int x, int y, int button, int modifiers) override;
    bool mouseMove(cCanvas* view, int x, int y, int buttons, int modifiers) override;
    void refresh(cCanvas* view) override;

    // The last mouse point of a texture-shift drag.
    int lastX = 0, lastY = 0;

    // A key the views' tools declined, for the dialog's mode keys; whether it took it.
    static bool faceDialogKey(const QKeyEvent* event);

private:
    static FaceTexturing* dialog();
};
