#include "tools/ToolSupport.h"

#include "core/MainSettings.h"
#include "core/SysHost.h"

#include <GL/gl.h>
#include <cmath>

#include "document/MapDocument.h"
#include "document/MapSelection.h"
#include "document/MapWorld.h"
#include "map/MapCamera.h"
#include "document/SelectionBox.h"
#include "tools/ToolHost.h"
#include "views/Canvas.h"
#include "render/ColorScheme.h"

namespace {

QString g_statusTexts[8];

} // namespace

void Tool_SetStatusText(int label, const QString& text) {
    if (label >= 0 && label < 8) g_statusTexts[label] = text;
    if (ToolHost* host = Tool_Host()) host->setStatusText(label, text);
}

QString Tool_StatusText(int label) {
    return label >= 0 && label < 8 ? g_statusTexts[label] : QString();
}

void Tool_SetColour(int entry, float scale) {
    uint8_t rgba[4];
    Color_FillRGBA(rgba, entry);
    glColor4ub(GLubyte(rgba[0] * scale), GLubyte(rgba[1] * scale), GLubyte(rgba[2] * scale), 255);
}

QCursor Tool_Cursor(int kind) {
    ToolHost* host = Tool_Host();
    return host ? host->cursor(kind) : QCursor(Qt::CrossCursor);
}

Qt::CursorShape Tool_HandleCursor(int handle, bool shear) {
    switch (handle) {
    case 1:
    case 4:
        return Qt::SizeFDiagCursor;
    case 2:
    case 3:
        return Qt::SizeBDiagCursor;
    case 5:
    case 6:
        return shear ? Qt::SizeVerCursor : Qt::SizeHorCursor;
    case 7:
    case 8:
        return shear ? Qt::SizeHorCursor : Qt::SizeVerCursor;
    default:
        return Qt::ArrowCursor;
    }
}

bool Tool_DocumentOpen(const MapDocument* document) {
    const ToolHost* host = Tool_Host();
    return document && host && host->documentOpen(document);
}

bool Tool_CameraInWorld(const MapWorld* world, const CameraRecord* camera) {
    if (!world || !camera) return false;
    for (const CameraRecord* c = world->cameras; c; c = c->next)
        if (c == camera) return true;
    return false;
}

void Tool_Redraw(cCanvas* view, int mask) {
    if (view && view->document()) Project_RedrawViews(view->document(), mask);
}

bool Tool_SpaceHeld() {
    return View_SpaceHeld();
}

void Tool_MapPoint(cCanvas* view, int x, int y, int flags, const SelectionBox* box, float out[3]) {
    view->screenToWorld(x, y, flags, false, out);
    if (!view->is3D() && box && box->valid) out[view->dAxis] = box->mins[view->dAxis];
}

int Tool_HitHandle(cCanvas* view, const SelectionBox* box, const float point[3]) {
    if (!box || !box->valid || view->is3D()) return 0;
    const float zoom = view->zoom;
    return Select_BoxHitHandle(box, view->hAxis, view->vAxis,
                               float(Sys_Settings().SelectionBulletSize) / zoom, 6.0f / zoom, 6.0f / zoom,
                               point);
}

void Tool_BoxThroughDepth(cCanvas* view, SelectionBox* box) {
    const float reach = float(Sys_Settings().MaxWorldSize);
    box->mins[view->dAxis] -= reach;
    box->maxs[view->dAxis] += reach;
}

void Tool_BoxStatus(cCanvas* view, const SelectionBox* box, int mode) {
    const int i = view && !view->is3D() ? view->hAxis : 0;
    const int j = view && !view->is3D() ? view->vAxis : 1;
    Tool_SetStatusText(4, Select_BoxStatusText(box, i, j, mode));
}

void Tool_MarkModified(MapDocument* document) {
    if (document) Project_SetModified(document);
}

void Tool_SpanBox(cCanvas* view, SelectionBox* box, const float from[3], const float to[3]) {
    Select_BoxFromPoints(box, from, to);
    Tool_BoxStatus(view, box, BoxStatus::Size);
}

void Tool_EndBoxDrag(cCanvas* view, SelectionBox* box, const std::function<void()>& select) {
    Tool_BoxThroughDepth(view, box);
    select();
    Select_ClearBox(box);
    Tool_Redraw(view, ViewMask::Views2D | ViewMask::View3D);
}

bool Tool_ScrollDrag(cCanvas* view, const float point[3], float seconds) {
    if (view->is3D() || !view->dragLeft || Tool_SpaceHeld()) return false;
    return view->autoScroll(point, 128.0f * seconds);
}

namespace {
ToolCommandHook g_commandHook;
void record(const QString& command) {
    if (g_commandHook) g_commandHook(command);
}
} // namespace

void Tool_SetCommandHook(ToolCommandHook hook) {
    g_commandHook = std::move(hook);
}

void Tool_UpdateActions(int mask) {
    record(QStringLiteral("updateActions %1").arg(mask, 0, 16));
    if (ToolHost* host = Tool_Host()) host->updateActions(mask);
}

void Tool_UpdateCreateActions(const QString& className) {
    record(QStringLiteral("updateCreateActions ") + className);
    if (ToolHost* host = Tool_Host()) host->updateCreateActions(className);
}

void Tool_EditProperties() {
    record(QStringLiteral("editProperties"));
    if (ToolHost* host = Tool_Host()) host->editProperties();
}

void Tool_SelectByBox(cCanvas* view, int mode) {
    MapDocument* doc = view ? view->document() : nullptr;
    if (!doc || !doc->world) return;
    SelectionBox* box = &doc->selectionBoxes[0];
    if (!box->valid) return;
    float mins[3], maxs[3];
    for (int k = 0; k < 3; ++k) {
        mins[k] = box->mins[k];
        maxs[k] = box->maxs[k];
    }
    if (!view->is3D() && mins[view->dAxis] == maxs[view->dAxis]) {
        const float world = float(Sys_Settings().MaxWorldSize);
        mins[view->dAxis] -= world;
        maxs[view->dAxis] += world;
    }
    Map_UpdateSelectionMode(doc->world);
    Map_SelectInBox(doc->world, mins, maxs, mode);
    Select_ClearBox(box);
    if (ToolHost* host = Tool_Host()) host->notifySelectionChanged(view);
    Project_RedrawViews(doc, 3);
    view->setCursorForTool();
    Tool_BoxStatus(view, box, 0);
}
