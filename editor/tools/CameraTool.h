// The camera tool: places and drags the map's cameras in the 2D views, cycles the current camera,
// pans 2D views while Space is held and is the 3D view's mouse look whatever tool is active.
#pragma once

#include <QPointer>

#include "views/AbstractTool.h"
#include "views/Canvas.h"

struct CameraRecord;
struct MapWorld;

class cCameraTool : public cAbstractTool {
public:
    bool setCursor(cCanvas* view) override;
    bool keyPress(cCanvas* view, int key, int modifiers) override;
    bool mousePress(cCanvas* view, int x, int y, int button, int modifiers) override;
    bool mouseRelease(cCanvas* view, int x, int y, int button, int modifiers) override;
    bool mouseMove(cCanvas* view, int x, int y, int buttons, int modifiers) override;
    void drawOverlay(cCanvas* view, RenderContext* context) override;
    void createObject(cCanvas* view) override;
    void refresh(cCanvas* view) override;
    void autoScroll(cCanvas* view, float seconds) override;

    // The dragged camera while its world still holds it (else the drag is dropped).
    CameraRecord* liveDragCamera();

    int lastX = 0, lastY = 0;
    int dragPart = 0;
    float newEye[3] = {0, 0, 0};
    QPointer<cCanvas> pressView;
    CameraRecord* dragCamera = nullptr;
    // The world point of the 3D view's look reference.
    int refX = 0, refY = 0;
    bool panStarted = false;

private:
    bool look3D(cCanvas* view, int x, int y, int buttons, int modifiers);
    void selectOnly(MapWorld* world, CameraRecord* camera);
};
