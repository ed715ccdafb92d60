// The action-state refreshes and the commands the window's own handlers call. The menus, tool
// bars, docks and tools they update come later; until then each does what already exists.
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "core/Prompt.h"
#include "dialogs/application/NamedDialogs.h"
#include "mainwindow/MainWindow.h"
#include "views/ChildWindow.h"

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
    cChildWindow* child = activeChildWindow();
    objectPropertiesDialog->setDocument(child ? child->document : nullptr);
    objectPropertiesDialog->reload();
    objectPropertiesDialog->show();
    objectPropertiesDialog->raise();
    objectPropertiesDialog->activateWindow();
}


void cMainWindow::execPreferences(int page) {
    (void)page;
    // Until the preferences dialog exists, say where its settings are kept.
    QMdiSubWindow* previous = mdiArea ? mdiArea->activeSubWindow() : nullptr;
    Prompt_Message(
        App_DialogParent(this), PromptIcon::Information,
        tr("The game configurations are kept in %1; edit that file while the program is closed.")
            .arg(QDir::toNativeSeparators(resolveConfigFile(QStringLiteral("KDKGameCfg.ini"), false))));
    if (previous) mdiArea->setActiveSubWindow(previous);
}
