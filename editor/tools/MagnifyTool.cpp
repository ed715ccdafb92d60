#include "tools/MagnifyTool.h"

#include "document/MapDocument.h"
#include "tools/ToolSupport.h"
#include "views/Canvas.h"

bool cMagnifyTool::setCursor(cCanvas* view) {
    if (view->is3D()) return false;
    view->setCursor(Tool_Cursor(ToolCursor::Magnify));
    return true;
}

bool cMagnifyTool::mousePress(cCanvas* view, int x, int y, int button, int modifiers) {
    if (view->is3D() || (button != Qt::LeftButton && button != Qt::RightButton)) return false;
    const float factor = button == Qt::LeftButton ? 2.0f : 0.5f;
    view->zoomAt(view->zoom * factor, x, y);
    MapDocument* doc = view->document();
    if ((modifiers & Qt::ControlModifier) && doc) {
        Project_SetZoom(doc, view->zoom);
    } else {
        view->updateScrollBars();
        view->redrawNow();
    }
    return true;
}
