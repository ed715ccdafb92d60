// The action-state refreshes and the commands the window's own handlers call. The menus, tool
// bars, docks and tools they update come later; until then each does what already exists.
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "core/Prompt.h"
#include "dialogs/application/NamedDialogs.h"
#include "dialogs/application/PreferencesDialog.h"
#include "mainwindow/MainWindow.h"

void cMainWindow::checkActiveState(bool documentChanged, bool toolChanged) {
    (void)documentChanged;
    (void)toolChanged;
    updateViewModeActions();
}

void cMainWindow::updateTextureBar(bool rebuild) {
    (void)rebuild;
}

void cMainWindow::updateVisGroupList() {}

void cMainWindow::updateDocumentActions() {}

void cMainWindow::cmdEditProperties() {
    if (!objectPropertiesDialog) return;
    objectPropertiesDialog->show();
    objectPropertiesDialog->raise();
    objectPropertiesDialog->activateWindow();
}


void cMainWindow::execPreferences(int page) {
    QMdiSubWindow* previous = mdiArea ? mdiArea->activeSubWindow() : nullptr;
    {
        cPreferencesDialog dialog(page, this);
        dialog.exec();
    }
    if (previous && mdiArea) mdiArea->setActiveSubWindow(previous);
}
