#include "tools/CordonTool.h"

#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/SelectionBox.h"
#include "tools/ToolSupport.h"
#include "views/Canvas.h"
#include "render/ColorScheme.h"

bool cCordonTool::mousePress(cCanvas* view, int x, int y, int button, int modifiers) {
    return cBoxTool::mousePress(view, x, y, button, modifiers);
}

void cCordonTool::newBox(cCanvas* view, SelectionBox* box, float p[3]) {
    Tool_SpanBox(view, box, dragStart, p);
    box->maxs[view->dAxis] += 64.0f; // the status shows the view's two axes only
}

void cCordonTool::boxChanged(cCanvas* view, SelectionBox* box) {
    MapDocument* doc = view->document();
    MapWorld* world = doc->world;
    bool changed = false;
    for (int k = 0; k < 3; ++k) {
        const float lo = box->valid ? box->mins[k] : 0.0f, hi = box->valid ? box->maxs[k] : 0.0f;
        changed |= world->cordonMins[k] != lo || world->cordonMaxs[k] != hi;
        world->cordonMins[k] = lo;
        world->cordonMaxs[k] = hi;
    }
    // The cordon is saved with the map: a change must not be lost silently on closing.
    if (changed) Tool_MarkModified(doc);
}

bool cCordonTool::keyPress(cCanvas* view, int key, int modifiers) {
    if (view->is3D()) return false;
    return cBoxTool::keyPress(view, key, modifiers);
}

void cCordonTool::activate(cCanvas* focusView) {
    SelectionBox* box = boxOf(focusView);
    if (!box) return;
    const MapWorld* world = focusView->document()->world;
    if (Map_CordonSet(world))
        Select_BoxFromPoints(box, world->cordonMins, world->cordonMaxs);
    else
        Select_ClearBox(box);
}

int cCordonTool::outlineColour() const {
    return COLOR_CORDON_LINE;
}

int cCordonTool::bulletColour() const {
    return COLOR_CORDON_POINT;
}
