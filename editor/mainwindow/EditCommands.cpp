// Edit commands: undo and redo, the undo switch, the clipboard, delete and the selection commands.
// Each works on the active map window's document and refreshes the views and the action states.
#include <QApplication>
#include <QComboBox>

#include "core/Prompt.h"
#include "document/Clipboard.h"
#include "document/MapDocument.h"
#include "document/MapSelection.h"
#include "document/MapWorld.h"
#include "document/PathOperations.h"
#include "document/SelectionOperations.h"
#include "document/UndoHistory.h"
#include "gamedata/GameData.h"
#include "kstdlib/kmath.h"
#include "map/MapCamera.h"
#include "map/ObjectRecords.h"
#include "mainwindow/MainWindow.h"
#include "tools/EntityTool.h"
#include "tools/ToolSupport.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"

namespace {

MapDocument* activeDocument(const cMainWindow* window) {
    cChildWindow* child = window->activeChildWindow();
    return child && child->document && child->document->world ? child->document : nullptr;
}

bool pathMode(const cMainWindow* window) {
    return Tool_Id(window->activeTool) == ToolId::Path || Tool_Id(window->secondaryTool) == ToolId::Path;
}

bool morphMode(const cMainWindow* window) {
    return Tool_Id(window->activeTool) == ToolId::Vertex || Tool_Id(window->secondaryTool) == ToolId::Vertex;
}

// The end of an editing command: modified, titles, tools told, every view repainted.
void commonRefresh(cMainWindow* window, MapDocument* document) {
    Project_SetModified(document);
    window->notifySelectionChanged();
    window->updateAllViews(3);
}

// Undo (redo false) or redo one level; the morph question first, the history checked again after.
void stepHistory(cMainWindow* window, bool redo) {
    MapDocument* document = activeDocument(window);
    if (!document || !document->undo) return;
    auto available = [document, redo] {
        const UndoHistory* h = document->undo;
        return h->enabled && (redo ? h->redoChain : h->undoChain) != nullptr;
    };
    if (!available()) return;
    if (morphMode(window)) {
        const QString question =
            redo ? cMainWindow::tr(
                       "You must exit morph mode to redo some actions.\nDo you want to do this now?")
                 : cMainWindow::tr("You must exit morph mode to undo changes you've made.\nDo you want to do "
                                   "this now?");
        if (Prompt_Question(App_DialogParent(window), PromptIcon::Warning, question,
                            PromptButton::Yes | PromptButton::No) != PromptButton::Yes)
            return;
        window->toolSelect();
    }
    // Leaving morph mode may have closed the document's window or changed its history.
    document = activeDocument(window);
    if (!document || !document->undo) return;
    bool applied = false;
    if (available()) {
        UndoHistory* h = document->undo;
        UndoLevel*& from = redo ? h->redoChain : h->undoChain;
        UndoLevel*& to = redo ? h->undoChain : h->redoChain;
        UndoLevel* level = from;
        from = level->next;
        level->next = to;
        to = level;
        if (redo)
            Undo_Redo(h, level);
        else
            Undo_Undo(h, level);
        applied = true;
    }
    // Only a level applied changes the map.
    if (applied)
        Project_SetModified(document);
    else
        Project_UpdateTitles(document);
    window->updateActions(0x2);
    window->notifySelectionChanged();
    window->updateAllViews(3);
}

// The selection tool's box; the commands select by it.
void selectInBox(cMainWindow* window, int32_t mode) {
    MapDocument* document = activeDocument(window);
    cCanvas* view = window->focusView;
    if (!document || !view) return;
    SelectionBox& box = document->selectionBoxes[0];
    if (!box.valid) return;
    float mins[3] = {box.mins[0], box.mins[1], box.mins[2]};
    float maxs[3] = {box.maxs[0], box.maxs[1], box.maxs[2]};
    // A box dragged in a 2D view is flat in depth: it reaches through the whole world.
    if (!view->is3D()) {
        const int d = view->dAxis;
        if (d >= 0 && d < 3 && mins[d] == maxs[d]) {
            mins[d] -= float(window->settings.MaxWorldSize);
            maxs[d] += float(window->settings.MaxWorldSize);
        }
    }
    Map_SelectInBox(document->world, mins, maxs, mode);
    box.valid = 0;
    box.angle = 0;
    K_ClearBounds(box.mins, box.maxs);
    window->notifySelectionChanged();
    Project_RedrawViews(document, 3);
    view->setCursorForTool();
    Tool_BoxStatus(view, &box, 0);
}

// Where pasted objects go: the mouse point in the active view, on the grid when snapping; a 2D
// view keeps the clipboard's depth.
void pastePosition(cMainWindow* window, bool keepDepth, float position[3]) {
    position[0] = position[1] = position[2] = 0;
    cCanvas* view = window->focusView;
    if (!view) return;
    view->screenToWorld(view->mouseX, view->mouseY, ScreenFlag::Snap | ScreenFlag::DepthFromOtherView, false,
                        position);
    if (keepDepth && !view->is3D() && view->dAxis >= 0 && view->dAxis < 3) {
        float centre[3];
        Clip_GetCenter(&window->clipboard, centre);
        position[view->dAxis] = centre[view->dAxis];
    }
}

} // namespace

void cMainWindow::cmdEditUndo() {
    stepHistory(this, false);
}

void cMainWindow::cmdEditRedo() {
    stepHistory(this, true);
}

void cMainWindow::cmdEditToggleUndoRedo() {
    if (documents.isEmpty()) return;
    const bool on = !(documents.first()->undo && documents.first()->undo->enabled);
    for (MapDocument* document : std::as_const(documents)) {
        if (!document->undo) continue;
        if (!on) Undo_Reset(document->undo);
        document->undo->enabled = on;
    }
    if (!on) Undo_FreePools();
    updateActions(0x2);
}

void cMainWindow::cmdEditCut() {
    MapDocument* document = activeDocument(this);
    if (!document) return;
    Clip_Cut(&clipboard, Map_Handle(document->world), settings.RestoreCutObjects);
    commonRefresh(this, document);
    updateVisGroupList();
}

void cMainWindow::cmdEditCopy() {
    MapDocument* document = activeDocument(this);
    if (!document) return;
    Clip_Copy(&clipboard, Map_Handle(document->world), settings.RestoreCutObjects);
    notifySelectionChanged();
    updateAllViews(3);
}

void cMainWindow::cmdEditPaste() {
    MapDocument* document = activeDocument(this);
    if (!document) return;
    float position[3];
    pastePosition(this, true, position);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Clip_Paste(&clipboard, Map_Handle(document->world), 1, position, nullptr, nullptr, true, false,
               settings.KeepInternalConnections, "Paste");
    QApplication::restoreOverrideCursor();
    commonRefresh(this, document);
}

// The dialog's own behaviour comes with it; until then paste special pastes one copy.

void cMainWindow::cmdEditDelete() {
    MapDocument* document = activeDocument(this);
    if (!document || !confirmExitMorphMode()) return;
    MapWorld* world = document->world;
    const bool paths = pathMode(this);
    if (!paths && Tool_Id(activeTool) == ToolId::Camera) {
        // The camera tool deletes its selected cameras, not the selected objects.
        bool cameraSelected = false;
        for (const CameraRecord* camera = world->cameras; camera; camera = camera->next)
            cameraSelected = cameraSelected || (camera->flags & RecordFlag::Selected);
        if (cameraSelected) {
            Map_DeleteSelectedCameras(world);
            notifySelectionChanged();
            Project_RedrawViews(document, 3);
            return;
        }
    }
    if (!Map_CmdEditDelete(world, paths)) return;
    notifySelectionChanged();
    updateVisGroupList();
}

void cMainWindow::cmdEditSelectTouching() {
    selectInBox(this, 0);
}

void cMainWindow::cmdEditSelectInside() {
    selectInBox(this, 1);
}

void cMainWindow::cmdEditSelectHandles() {
    selectInBox(this, 2);
}

void cMainWindow::cmdEditSelectNone() {
    MapDocument* document = activeDocument(this);
    if (!document) return;
    Map_SelectNone(document->world);
    notifySelectionChanged();
    Project_RedrawViews(document, 3);
}

void cMainWindow::cmdEditSelectInvert() {
    MapDocument* document = activeDocument(this);
    if (!document) return;
    Map_InvertSelection(document->world, pathMode(this));
    notifySelectionChanged();
    Project_RedrawViews(document, 3);
}

void cMainWindow::cmdEditSelectAll() {
    MapDocument* document = activeDocument(this);
    if (!document) return;
    Map_SelectAll(document->world, pathMode(this));
    notifySelectionChanged();
    Project_RedrawViews(document, 3);
}

// From the action: its check state; from a view's key: the setting flips and the action follows.
void cMainWindow::cmdEditSelectMouseMove() {
    if (auto* action = qobject_cast<QAction*>(sender())) {
        settings.SelectMouseMove = action->isChecked();
        return;
    }
    settings.SelectMouseMove = !settings.SelectMouseMove;
    setActionChecked(QStringLiteral("EditSelM"), settings.SelectMouseMove);
}

// A class entry of the "Create" submenu: the class becomes the New Objects dock's choice, as if
// picked there, and the entity tool makes it at its point.
void cMainWindow::cmdEditCreateObjectEx() {
    auto* action = qobject_cast<QAction*>(sender());
    if (!action || !focusView || Tool_Id(activeTool) != ToolId::Entity) return;
    ObjectsDock& d = objectsDock;
    const int row =
        d.objects ? d.objects->findText(action->text(), Qt::MatchExactly | Qt::MatchCaseSensitive) : -1;
    if (row < 0) return;
    d.objects->setCurrentIndex(row);
    d.entityClass = d.objects->itemText(row);
    d.classChanged = true;
    if (!currentObjectClass()) return;
    activeTool->createObject(focusView);
}
