// Keeping the object-properties dialog, the entity chooser and the entity help window in step
#include "map/MapBrush.h"
// with the selection and the open documents.
#include <QMenuBar>

#include "dialogs/editing/EntityHelpDialog.h"
#include "dialogs/editing/EntityListDialog.h"
#include "dialogs/editing/ObjectPropertiesDialog.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "mainwindow/MainWindow.h"
#include "views/ChildWindow.h"

void cMainWindow::updateObjectProperties() {
    cChildWindow* child = activeChildWindow();
    cObjectPropertiesDialog* dialog = objectPropertiesDialog;
    if (!child || !child->document || !child->document->world || !dialog || !dialog->isVisible()) return;
    if (entityListDialog && entityListDialog->isVisible()) return;
    MapWorld* world = child->document->world;
    EntityRecord* entity = world->selectedEntities;
    // A brush stands alone when its entity is the world or is not itself selected.
    bool standAlone = false;
    for (BrushRecord* b = world->selectedBrushes; b && !standAlone; b = b->selNext) {
        EntityRecord* owner = b->entity;
        standAlone = !owner || (owner->flags & EntityFlag::World) || !(owner->flags & EntityFlag::Selected);
    }
    if (entity && !standAlone) {
        dialog->setPages(3);
        dialog->setDocument(child->document);
        dialog->loadSelection(entity);
    } else if (world->selectedBrushes) {
        dialog->setPages(2);
        dialog->setDocument(child->document);
        if (entity) dialog->loadObject(entity);
        dialog->setBrushes(world->selectedBrushes);
        dialog->refreshVisGroups();
    } else {
        dialog->setPages(0);
    }
    dialog->refreshEntityHelp();
}

void cMainWindow::closeEntityListFor(MapDocument* document) {
    if (!entityListDialog || entityListDialog->document() != document) return;
    delete entityListDialog;
    entityListDialog = nullptr;
}

void App_ShowObjectProperties(EntityRecord* entity) {
    cMainWindow* window = g_mainWindow;
    cChildWindow* child = window ? window->activeChildWindow() : nullptr;
    cObjectPropertiesDialog* dialog = window ? window->objectPropertiesDialog : nullptr;
    if (!child || !child->document || !dialog) return;
    if (!dialog->isVisible()) {
        dialog->resetSmartForced();
        dialog->show();
    }
    dialog->setPages(3);
    dialog->setDocument(child->document);
    dialog->loadObject(entity);
}

void App_ShowEntityHelp(const QString& html) {
    cMainWindow* window = g_mainWindow;
    if (!window) return;
    if (!window->entityHelpDialog) {
        window->entityHelpDialog = new cEntityHelpDialog(window->objectPropertiesDialog);
        const QRect client = window->geometry();
        const int menuHeight = window->menuBar() ? window->menuBar()->height() : 0;
        window->entityHelpDialog->move(client.left(), client.top() + 2 * menuHeight);
    }
    window->entityHelpDialog->setHelpText(html);
    window->entityHelpDialog->show();
    window->entityHelpDialog->raise();
    window->entityHelpDialog->activateWindow();
}
