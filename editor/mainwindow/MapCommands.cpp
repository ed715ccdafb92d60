// Map commands: the grid, the map window state, go-to, the map dialogs and dropping the compiler
// overlays (loading them is OverlayCommands.cpp).
#include <QApplication>
#include <algorithm>

#include "mainwindow/MainWindow.h"

#include "core/Prompt.h"
#include "dialogs/application/GotoBrushDialog.h"
#include "dialogs/application/GotoCoordsDialog.h"
#include "dialogs/editing/EntityReportDialog.h"
#include "document/CompilerOverlays.h"
#include "document/MapDocument.h"
#include "dialogs/editing/MapCheckDialog.h"
#include "dialogs/editing/MapInfoDialog.h"
#include "dialogs/editing/ObjectPropertiesDialog.h"
#include "document/MapSelection.h"
#include "document/OperationSupport.h"
#include "document/MapWorld.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"

namespace {

MapDocument* activeDocument(const cMainWindow* window) {
    cChildWindow* child = window->activeChildWindow();
    return child && child->document && child->document->world ? child->document : nullptr;
}

void setGrid(cMainWindow* window, int32_t size) {
    window->settings.CurrentGridSize = std::clamp(size, 1, 512);
    window->updateSnapGridStatus();
    window->updateAllViews(1);
}

// Drops one overlay of the active map and repaints, loaded or not.
void unloadOverlay(cMainWindow* window, void (*unload)(MapWorld*)) {
    MapDocument* document = activeDocument(window);
    if (!document) return;
    unload(document->world);
    window->updateAllViews(3);
}

} // namespace

void cMainWindow::cmdMapSmallerGrid() {
    setGrid(this, settings.CurrentGridSize / 2);
}

void cMainWindow::cmdMapBiggerGrid() {
    setGrid(this, settings.CurrentGridSize * 2);
}

// From the action: its check state; from a view's key: the setting flips and the action follows.
void cMainWindow::cmdMapToggleGrid3D() {
    if (auto* action = qobject_cast<QAction*>(sender())) {
        settings.EnableGrid3D = action->isChecked();
        updateAllViews(2);
        return;
    }
    settings.EnableGrid3D = !settings.EnableGrid3D;
    setActionChecked(QStringLiteral("MapGrid3D"), settings.EnableGrid3D);
}

void cMainWindow::cmdMapLoadWindowState() {
    cChildWindow* child = activeChildWindow();
    if (!savedWindowPresent || !child) return;
    QWidget* frame = child->parentWidget() ? child->parentWidget() : child;
    if (savedWindowMaximized) frame->showMaximized();
    frame->restoreGeometry(savedWindowGeometry);
}

void cMainWindow::cmdMapSaveWindowState() {
    cChildWindow* child = activeChildWindow();
    if (!child) return;
    QWidget* frame = child->parentWidget() ? child->parentWidget() : child;
    savedWindowMaximized = frame->isMaximized();
    savedWindowGeometry = frame->saveGeometry();
    savedWindowPresent = true;
}

// The selection is cleared and the 2D views re-centred whether or not a brush is chosen.
void cMainWindow::cmdMapGotoBrush() {
    cChildWindow* child = activeChildWindow();
    if (!child || !child->document || !child->document->world) return;
    MapWorld* world = child->document->world;
    Map_SelectNone(world);
    cGotoBrushDialog dialog(this);
    if (dialog.exec() == QDialog::Accepted)
        Map_SelectBrushByIndex(world, dialog.entityIndex(), dialog.brushIndex(), dialog.visibleOnly());
    // The tools rebuild the selection box the centring reads, through a view of this window.
    cCanvas* view = focusView && focusView->childWindow == child ? focusView : child->views.value(0);
    notifySelectionChanged(view);
    cmdViewCenterOnSelection2D();
}

// Every window of the map: cameras to the point first, then level, then every view centred there.
void cMainWindow::cmdMapGotoCoords() {
    cChildWindow* child = activeChildWindow();
    if (!child || !child->document) return;
    cGotoCoordsDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted) return;
    float point[3];
    QString refused;
    if (dialog.getCoords(point[0], point[1], point[2], &refused) < 0) {
        Prompt_Message(this, PromptIcon::Warning, tr("Not a coordinate: \"%1\"").arg(refused));
        return;
    }
    const QList<cChildWindow*> windows = child->document->windows;
    for (cChildWindow* w : windows)
        w->setCameraOrigin(point);
    const float level[3] = {0, 0, 0};
    for (cChildWindow* w : windows)
        w->setCameraAngles(level);
    for (cChildWindow* w : windows)
        for (cCanvas* view : w->views)
            view->centerOn(point);
}
void cMainWindow::cmdMapShowInfo() {
    MapDocument* document = activeDocument(this);
    if (!document) return;
    cMapInfoDialog dialog(document->gameConfig, Map_Handle(document->world), this);
    dialog.exec();
}
// The dialog lives for this one command; a clean map gets a message instead.
void cMainWindow::cmdMapCheckForProblems() {
    MapDocument* document = activeDocument(this);
    if (!document) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    cMapCheckDialog dialog(document, this);
    dialog.runChecks();
    if (dialog.problems().empty()) {
        QApplication::restoreOverrideCursor();
        Prompt_Message(App_DialogParent(this), PromptIcon::Warning, tr("No errors were found."));
        return;
    }
    dialog.restoreCursorOnShow = true;
    dialog.exec();
}
// The kept filter goes in and, however the dialog was closed, comes back out.
void cMainWindow::cmdMapEntityReport() {
    MapDocument* document = activeDocument(this);
    if (!document) return;
    EntityReportSettings kept{settings.Type,      settings.bHidden,    settings.bKVD,
                              settings.bClass,    settings.bExact,     settings.ClassFilter,
                              settings.KeyFilter, settings.ValueFilter};
    cEntityReportDialog dialog(document, this);
    dialog.setSettings(kept);
    dialog.exec();
    dialog.getSettings(kept);
    settings.Type = kept.type;
    settings.bHidden = kept.hidden;
    settings.bKVD = kept.keyValue;
    settings.bClass = kept.byClass;
    settings.bExact = kept.exact;
    settings.ClassFilter = kept.classFilter;
    settings.KeyFilter = kept.keyFilter;
    settings.ValueFilter = kept.valueFilter;
}
// The world entity's keys in the properties window.
void cMainWindow::cmdMapProperties() {
    cChildWindow* child = activeChildWindow();
    if (!objectPropertiesDialog || !child || !child->document->world) return;
    objectPropertiesDialog->setDocument(child->document);
    objectPropertiesDialog->setPages(1);
    objectPropertiesDialog->loadObject(Map_OpWorldEntity(child->document->world));
    objectPropertiesDialog->show();
    objectPropertiesDialog->raise();
    objectPropertiesDialog->activateWindow();
}
void cMainWindow::cmdMapUnloadPointfile() {
    unloadOverlay(this, Map_UnloadPointfile);
}
void cMainWindow::cmdMapUnloadPortalfile() {
    unloadOverlay(this, Map_ClearPortals);
}
void cMainWindow::cmdMapUnloadHullfile() {
    unloadOverlay(this, Map_UnloadHulls);
}
