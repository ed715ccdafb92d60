// View > Center 2D / 3D Views on Selection.
#include "document/MapDocument.h"
#include "mainwindow/MainWindow.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"

namespace {

// The middle of the document's first valid selection box; false when none is valid.
bool selectionCentre(const MapDocument* document, float centre[3]) {
    for (const SelectionBox& box : document->selectionBoxes) {
        if (!box.valid) continue;
        for (int i = 0; i < 3; ++i)
            centre[i] = (box.mins[i] + box.maxs[i]) * 0.5f;
        return true;
    }
    return false;
}

void centreOnSelection(cChildWindow* child, bool camera, bool drawCamera) {
    if (!child || !child->document) return;
    float centre[3];
    if (!selectionCentre(child->document, centre)) return;
    for (cCanvas* view : child->views)
        if (view->is3D() == camera) view->centerOn(centre);
    // The 2D views draw the camera's eye, which has just moved.
    if (!camera || !drawCamera) return;
    for (cCanvas* view : child->views) {
        if (view->is3D() || (child->maximised && view != child->maximised)) continue;
        view->needsFullRedraw = true;
        view->update();
    }
}

} // namespace

void cMainWindow::cmdViewCenterOnSelection2D() {
    centreOnSelection(activeChildWindow(), false, settings.DrawCamera);
}

void cMainWindow::cmdViewCenterOnSelection3D() {
    centreOnSelection(activeChildWindow(), true, settings.DrawCamera);
}
