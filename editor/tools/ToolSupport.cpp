#include "tools/ToolSupport.h"

#include "core/SysHost.h"

#include <GL/gl.h>
#include <QApplication>
#include <QMenu>
#include <QStatusBar>
#include <cmath>

#include "document/MapDocument.h"
#include "document/MapSelection.h"
#include "document/MapWorld.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/WindowCursors.h"
#include "map/MapCamera.h"
#include "document/SelectionBox.h"
#include "views/Canvas.h"
#include "views/ColorScheme.h"

namespace {

QString g_statusTexts[8];
ContextMenuHook g_menuHook;

} // namespace

const MainSettings& Tool_Settings() {
    return Project_Settings();
}

MainSettings* Tool_MutableSettings() {
    return Sys_MutableSettings();
}

void Tool_SetStatusText(int label, const QString& text) {
    if (label >= 0 && label < 8) g_statusTexts[label] = text;
    App_SetStatusText(g_mainWindow, text, label);
}

QString Tool_StatusText(int label) {
    return label >= 0 && label < 8 ? g_statusTexts[label] : QString();
}

void Tool_ShowMessage(const QString& text, int timeout) {
    if (g_mainWindow && qobject_cast<QApplication*>(QCoreApplication::instance()))
        g_mainWindow->statusBar()->showMessage(text, timeout);
}

void Tool_SetContextMenuHook(ContextMenuHook hook) {
    g_menuHook = std::move(hook);
}

void Tool_ExecContextMenu(const QString& name, QPoint global) {
    if (g_menuHook) {
        g_menuHook(name, global);
        return;
    }
    App_ExecContextMenu(name, global);
}

bool Tool_IsCanvasMenuOpen() {
    return App_IsCanvasMenuOpen();
}

void Tool_SetColour(int entry, float scale) {
    uint8_t rgba[4];
    Color_FillRGBA(rgba, entry);
    glColor4ub(GLubyte(rgba[0] * scale), GLubyte(rgba[1] * scale), GLubyte(rgba[2] * scale), 255);
}

QCursor Tool_Cursor(int kind) {
    // The window's cursors, loaded from the program's resources with their hot spots.
    // Without a window that loaded them (tests, tools) they are loaded once here and kept.
    static WindowCursors* loaded = nullptr;
    const WindowCursors* cursors = g_mainWindow ? &g_mainWindow->cursors : nullptr;
    if (!cursors || cursors->rotate.pixmap().isNull()) {
        if (!loaded && qobject_cast<QApplication*>(QCoreApplication::instance())) {
            loaded = new WindowCursors;
            Cursors_Load(*loaded);
        }
        if (!loaded) return QCursor(Qt::CrossCursor);
        cursors = loaded;
    }
    static QCursor WindowCursors::*const members[] = {
        &WindowCursors::rotate,  &WindowCursors::cross, &WindowCursors::brush, &WindowCursors::magnify,
        &WindowCursors::texture, &WindowCursors::decal, &WindowCursors::entity};
    return cursors->*members[std::clamp(kind, 0, int(std::size(members)) - 1)];
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
    return document && g_mainWindow && g_mainWindow->documents.contains(const_cast<MapDocument*>(document));
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
    return g_mainWindow && (g_mainWindow->heldKeys & HeldKey::Space);
}

void Tool_MapPoint(cCanvas* view, int x, int y, int flags, const SelectionBox* box, float out[3]) {
    view->screenToWorld(x, y, flags, false, out);
    if (!view->is3D() && box && box->valid) out[view->dAxis] = box->mins[view->dAxis];
}

int Tool_HitHandle(cCanvas* view, const SelectionBox* box, const float point[3]) {
    if (!box || !box->valid || view->is3D()) return 0;
    const float zoom = view->zoom;
    return Select_BoxHitHandle(box, view->hAxis, view->vAxis,
                               float(Tool_Settings().SelectionBulletSize) / zoom, 6.0f / zoom, 6.0f / zoom,
                               point);
}

void Tool_BoxThroughDepth(cCanvas* view, SelectionBox* box) {
    const float reach = float(Tool_Settings().MaxWorldSize);
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
    if (g_mainWindow) g_mainWindow->updateActions(mask);
}

void Tool_UpdateCreateActions(const QString& className) {
    record(QStringLiteral("updateCreateActions ") + className);
    if (g_mainWindow) g_mainWindow->updateCreateActions(className, 0);
}

void Tool_EditProperties() {
    record(QStringLiteral("editProperties"));
    if (g_mainWindow) g_mainWindow->cmdEditProperties();
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
        const float world = float(Tool_Settings().MaxWorldSize);
        mins[view->dAxis] -= world;
        maxs[view->dAxis] += world;
    }
    Map_UpdateSelectionMode(doc->world);
    Map_SelectInBox(doc->world, mins, maxs, mode);
    Select_ClearBox(box);
    if (g_mainWindow) g_mainWindow->notifySelectionChanged(view);
    Project_RedrawViews(doc, 3);
    view->setCursorForTool();
    Tool_BoxStatus(view, box, 0);
}
