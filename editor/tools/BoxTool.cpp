#include "tools/BoxTool.h"

#include <QOpenGLFunctions>
#include <algorithm>

#include "core/SysHost.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "core/MainSettings.h"
#include "document/SelectionBox.h"
#include "tools/SelectionTool.h"
#include "tools/ToolSupport.h"
#include "views/Canvas.h"
#include "render/ColorScheme.h"

SelectionBox* cBoxTool::boxOf(cCanvas* view) const {
    MapDocument* doc = view ? view->document() : nullptr;
    return doc && doc->world ? &doc->selectionBoxes[boxSlot] : nullptr;
}

bool cBoxTool::mousePress(cCanvas* view, int x, int y, int button, int) {
    if (button != Qt::LeftButton) return false;
    pressX = x;
    pressY = y;
    return true;
}

bool cBoxTool::mouseMove(cCanvas* view, int x, int y, int buttons, int modifiers) {
    SelectionBox* box = boxOf(view);
    if (view->is3D() || !box) return false;
    const MainSettings& s = Sys_Settings();
    const int i = view->hAxis, j = view->vAxis;
    const int flags = ((modifiers & Qt::AltModifier) ? 0 : ScreenFlag::Snap) | ScreenFlag::DepthFromOtherView;
    if (!view->dragLeft && (buttons & Qt::LeftButton)) {
        view->dragLeft = true;
        Tool_MapPoint(view, pressX, pressY, flags, box, dragStart);
        if (s.SnapOnMove && s.SnapToGrid && snapPending) {
            Tool_MapPoint(view, pressX, pressY, 0, nullptr, rawStart);
            rawStart[view->dAxis] = dragStart[view->dAxis];
        }
        view->setCursorForTool();
        if (x == pressX && y == pressY) return true;
    }
    if (view->dragLeft && (buttons & Qt::LeftButton)) {
        float p[3];
        Tool_MapPoint(view, x, y, flags, box, p);
        Tool_MapPoint(view, x, y, 0, box, lastDragPoint);
        int status = -1;
        if (inside) {
            dragging = true;
            if (s.SnapOnMove && s.SnapToGrid && snapPending) {
                float reference[3], pending[3];
                Select_BoxNearestCorner(box, reference, i, j, dragStart);
                for (int k = 0; k < 3; ++k)
                    pending[k] = lastDragPoint[k] - rawStart[k];
                Select_BoxSnapMove(box, pending, i, j, reference, false, &snapPending);
            }
            for (int axis : {i, j}) {
                const float d = p[axis] - dragStart[axis];
                dragStart[axis] += d;
                box->mins[axis] += d;
                box->maxs[axis] += d;
            }
            status = BoxStatus::None;
        } else if (hoverHandle) {
            dragging = true;
            float delta[3];
            for (int k = 0; k < 3; ++k)
                delta[k] = p[k] - dragStart[k];
            Select_BoxDragHandle(box, delta, i, j, hoverHandle, modifiers & Qt::AltModifier, dragStart);
            status = BoxStatus::Size;
        } else if (!dragging && box->valid) {
            // Outside a standing box: it must be removed before a new one is drawn.
        } else {
            dragging = true;
            newBox(view, box, p);
        }
        if (status >= 0) Tool_BoxStatus(view, box, status);
        Tool_Redraw(view, 3);
        return true;
    }
    // Hover.
    float p[3];
    Tool_MapPoint(view, x, y, 0, box, p);
    const int handle = Tool_HitHandle(view, box, p);
    if (handle != hoverHandle) {
        hoverHandle = handle;
        inside = false;
        view->setCursorForTool();
        return true;
    }
    if (handle) return false;
    const bool now = box->valid && Select_BoxContainsPoint(box, p);
    if (now == inside) return false;
    inside = now;
    view->setCursorForTool();
    return true;
}

bool cBoxTool::mouseRelease(cCanvas* view, int, int, int button, int) {
    SelectionBox* box = boxOf(view);
    if (view->is3D() || !box || button != Qt::LeftButton || !dragging) return false;
    snapPending = 3;
    dragging = false;
    boxChanged(view, box);
    view->setCursorForTool();
    Tool_Redraw(view, 3);
    Tool_BoxStatus(view, box, 0);
    return true;
}

void cBoxTool::clearBox(cCanvas* view, SelectionBox* box) {
    dragging = inside = false;
    Select_ClearBox(box);
    boxChanged(view, box);
    Tool_Redraw(view, 3);
    view->setCursorForTool();
    Tool_BoxStatus(view, box, 0);
}

bool cBoxTool::keyPress(cCanvas* view, int key, int) {
    SelectionBox* box = boxOf(view);
    if (!box || key != Qt::Key_Escape || !box->valid) return false;
    clearBox(view, box);
    return true;
}

void cBoxTool::moveBy(cCanvas* view, int di, int dj, int dz) {
    SelectionBox* box = boxOf(view);
    float d[3] = {0, 0, 0};
    if (!view->is3D()) {
        d[view->hAxis] += float(di);
        d[view->vAxis] += float(dj);
    }
    d[2] += float(dz);
    for (int k = 0; k < 3; ++k) {
        box->mins[k] += d[k];
        box->maxs[k] += d[k];
    }
    nudged(view, box);
    boxChanged(view, box);
}

bool cBoxTool::nudge(cCanvas* view, int dx, int dy, int modifiers) {
    SelectionBox* box = boxOf(view);
    if (view->is3D() || !box || !box->valid) return false;
    if (modifiers & Qt::ShiftModifier)
        moveBy(view, 0, 0, dy);
    else
        moveBy(view, dx, dy, 0);
    return true;
}

bool cBoxTool::nudgeDepth(cCanvas* view, int, int amount) {
    SelectionBox* box = boxOf(view);
    if (!box || !box->valid) return false;
    moveBy(view, 0, 0, amount);
    return true;
}

void cBoxTool::autoScroll(cCanvas* view, float seconds) {
    if (Tool_ScrollDrag(view, lastDragPoint, seconds) && view->document())
        Project_RedrawViews(view->document(), 1);
}

bool cBoxTool::setCursor(cCanvas* view) {
    if (view->is3D()) return false;
    if (hoverHandle) {
        view->setCursor(Tool_HandleCursor(hoverHandle, false));
        return true;
    }
    if ((dragging && view->dragLeft) || inside) {
        if (Sys_Settings().CrosshairCursor) {
            view->setCursor(Tool_Cursor(ToolCursor::Cross));
            return true;
        }
    }
    return ownCursor(view);
}

void cBoxTool::draw(cCanvas* view, RenderContext*, RenderCounters*) {
    SelectionBox* box = boxOf(view);
    if (!box || !box->valid) return;
    if (view->is3D()) {
        Tool_SetColour(outlineColour());
        view->drawBoxLines(box->mins, box->maxs);
        return;
    }
    Tool_SetColour(dragging ? COLOR_ACTIVE_SELECTION : outlineColour());
    glEnable(GL_LINE_STIPPLE);
    glLineStipple(1, 0xF0F0);
    view->drawBoxLines(box->mins, box->maxs);
    glDisable(GL_LINE_STIPPLE);
    if (dragging && inside) {
        float reference[3];
        Select_BoxNearestCorner(box, reference, view->hAxis, view->vAxis, dragStart);
        Tool_SetColour(COLOR_ACTIVE_SELECTION);
        view->drawSquareMarker(reference, 16.0f);
    }
    if (boxSlot == 1 && Sys_Settings().DrawSizingInfo)
        Tool_DrawSizingGuides(view, box, dragging ? COLOR_ACTIVE_SELECTION : COLOR_BRUSH_CREATION);
    if (!dragging) Tool_DrawBoxHandles(view, box, 1, 8, hoverHandle, bulletColour(), false);
}
