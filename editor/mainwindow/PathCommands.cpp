// Edit-menu path commands. Most need the selected nodes on one path; a selection that does not fit
// is a console warning and a beep, and the map stays as it was. Each operation records its own
// undo level.
#include "core/Prompt.h"
#include "core/System.h"
#include "core/TextEncoding.h"
#include "dialogs/application/PathDialog.h"
#include "dialogs/application/PathNodeDialog.h"
#include "document/MapDocument.h"
#include "document/MapSelection.h"
#include "document/MapWorld.h"
#include "document/PathOperations.h"
#include "document/SelectionSummary.h"
#include "document/UndoHistory.h"
#include "mainwindow/MainWindow.h"
#include "map/ObjectRecords.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"

namespace {

constexpr int32_t kAllViews = 3;

MapDocument* activeDocument(const cMainWindow* window) {
    cChildWindow* child = window->activeChildWindow();
    return child && child->document && child->document->world ? child->document : nullptr;
}

void refuse(const char* text) {
    Sys_Warning("%s", text);
    Prompt_Beep();
}

// The active view, the primary tool and a selected node: the document, else null.
MapDocument* nodeCommandDocument(const cMainWindow* window) {
    MapDocument* document = activeDocument(window);
    if (!window->focusView || !window->activeTool || !document || !document->world->selectedNodes)
        return nullptr;
    return document;
}

// The path of the selected nodes; null (with the warning) when they lie on more than one.
PathRecord* singlePath(MapWorld* world) {
    const NodeRecord* head = world->selectedNodes;
    for (const NodeRecord* node = head->selNext; node; node = node->selNext)
        if (node->path != head->path) {
            refuse("More than one path selected!");
            return nullptr;
        }
    return head->path;
}

// The view under the mouse cursor, else the active one.
cCanvas* mouseView(const cMainWindow* window) {
    if (cChildWindow* child = window->activeChildWindow())
        for (cCanvas* view : child->views)
            if (view && view->underMouse()) return view;
    return window->focusView;
}

// The plane new nodes step in: the view's axes; the camera view has none, so x and y.
void viewAxes(const cCanvas* view, int32_t* a, int32_t* b) {
    const bool flat = view && !view->is3D() && view->hAxis >= 0 && view->vAxis >= 0;
    *a = flat ? view->hAxis : 0;
    *b = flat ? view->vAxis : 1;
}

} // namespace

void cMainWindow::cmdEditPathAddNodes() {
    MapDocument* document = activeDocument(this);
    cCanvas* view = mouseView(this);
    if (!activeTool || !view || !document) return;
    int32_t a = 0, b = 1;
    viewAxes(view, &a, &b);
    if (Map_CmdAddNodes(document->world, a, b)) notifySelectionChanged();
}

void cMainWindow::cmdEditPathNodeProperties() {
    MapDocument* document = nodeCommandDocument(this);
    if (!document) return;
    MapWorld* world = document->world;
    cPathNodeDialog dialog(document, App_DialogParent(this));
    dialog.loadNodes(world->selectedNodes);
    if (dialog.exec() == QDialog::Accepted) {
        Undo_BeginLevel(document->undo, world->selectedNodes->selNext ? "Edit Nodes" : "Edit Node");
        Undo_SaveSelectedNodesChanged(document->undo);
        dialog.applyToNodes(world->selectedNodes);
        Undo_EndLevel(document->undo);
        Project_SetModified(document);
    }
    Project_RedrawViews(document, kAllViews);
}

void cMainWindow::cmdEditPathProperties() {
    MapDocument* document = nodeCommandDocument(this);
    if (!document) return;
    PathRecord* path = singlePath(document->world);
    if (!path) return;
    cPathDialog dialog(document, App_DialogParent(this));
    dialog.loadPath(path);
    if (dialog.exec() == QDialog::Accepted) {
        Undo_BeginLevel(document->undo, "Edit Path");
        Undo_SavePath(document->undo, path, UndoList::ChangedPaths);
        const QByteArray name = Text_ToWindows1251(dialog.txtName->text().trimmed());
        const QByteArray className = Text_ToWindows1251(dialog.cbClass->currentText());
        Sys_Free(path->name);
        Sys_Free(path->className);
        path->name = Sys_StrDup(name.constData());
        path->className = Sys_StrDup(className.constData());
        path->type = dialog.direction();
        Undo_EndLevel(document->undo);
        Project_SetModified(document);
    }
    Project_RedrawViews(document, kAllViews);
}

void cMainWindow::cmdEditPathDelete() {
    MapDocument* document = nodeCommandDocument(this);
    if (document && Map_CmdDeletePath(document->world)) notifySelectionChanged();
}

void cMainWindow::cmdEditPathSelect() {
    MapDocument* document = nodeCommandDocument(this);
    if (!document) return;
    PathRecord* path = singlePath(document->world);
    if (!path) return;
    for (NodeRecord* node = path->firstNode; node; node = node->next)
        if (!(node->flags & NodeFlag::Selected)) Map_SelectObject(document->world, node);
    notifySelectionChanged();
    Project_RedrawViews(document, kAllViews);
}

void cMainWindow::cmdEditPathSplit() {
    MapDocument* document = activeDocument(this);
    cCanvas* view = mouseView(this);
    if (!view || !document || !document->world->selectedNodes) return;
    int32_t a = 0, b = 1;
    viewAxes(view, &a, &b);
    const bool single = !document->world->selectedNodes->selNext;
    // The node is deselected also when the split is refused at the path's end.
    if (Map_CmdSplitPath(document->world, a, b) || single) notifySelectionChanged();
}

void cMainWindow::cmdEditPathMerge() {
    MapDocument* document = activeDocument(this);
    if (!focusView || !activeTool || !document) return;
    // The checks and their warnings are the document's: two terminal nodes of different paths.
    if (Map_CmdMergePaths(document->world)) notifySelectionChanged();
}

void cMainWindow::cmdEditPathConvert() {
    MapDocument* document = nodeCommandDocument(this);
    if (document && Map_CmdConvertPath(document->world)) notifySelectionChanged();
}
