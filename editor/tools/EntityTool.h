// The entity placement tool: a click (and drag) in a 2D view sets the placement point, held in the
// document's box slot 2 as a box of one point; Return, the create command or the "Create" menu
// makes a point entity of the New Objects dock's class there. A click on a surface in the 3D view
// places and creates at once.
#pragma once

#include "views/AbstractTool.h"

struct EntityClass;
struct SelectionBox;

class cEntityTool : public cAbstractTool {
public:
    bool setCursor(cCanvas* view) override;
    bool contextMenu(cCanvas* view, int x, int y, QPoint global, bool onRelease) override;
    bool keyPress(cCanvas* view, int key, int modifiers) override;
    bool mousePress(cCanvas* view, int x, int y, int button, int modifiers) override;
    bool mouseRelease(cCanvas* view, int x, int y, int button, int modifiers) override;
    bool mouseMove(cCanvas* view, int x, int y, int buttons, int modifiers) override;
    void draw(cCanvas* view, RenderContext* context, RenderCounters* counters) override;
    void createObject(cCanvas* view) override;
    bool nudgeDepth(cCanvas* view, int axis, int amount) override;
    bool nudge(cCanvas* view, int dx, int dy, int modifiers) override;
    void autoScroll(cCanvas* view, float seconds) override;

    // Sets the point at the surface under (x, y) of the 3D view; whether a point was set.
    bool placeOnSurface(cCanvas* view, int x, int y);

    bool overPoint = false;
    bool placedIn3D = false;
    float pressPoint[3] = {};
    float cursorWorld[3] = {};

private:
    static SelectionBox* pointOf(cCanvas* view);
    void clearPoint(cCanvas* view);
    void showStatus(cCanvas* view);
};

// The New Objects dock's class and its "Random &Yaw" box (least bodies until the dock exists).
const EntityClass* Tool_CurrentObjectClass();
void Tool_SetCurrentObjectClass(const EntityClass* eclass);
bool Tool_RandomYaw();
void Tool_SetRandomYaw(bool on);
