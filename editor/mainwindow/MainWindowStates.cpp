// The action-state refreshes and the commands the window's own handlers call. The menus, tool
// bars, docks and tools they update come later; until then each does what already exists.
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "core/Prompt.h"
#include "dialogs/application/NamedDialogs.h"
#include "dialogs/application/PreferencesDialog.h"
#include "mainwindow/MainWindow.h"
#include "dialogs/application/QCustomAction.h"
#include "document/MapDocument.h"
#include "tools/ToolSet.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"

void cMainWindow::checkActiveState(bool reloadConfig, bool notify) {
    // The active document's activation below binds its configuration again.
    if (reloadConfig) GameCfg_Select(&gameConfigs, nullptr);
    for (MapDocument* document : std::as_const(documents))
        Project_UpdateActiveViews(document);
    cChildWindow* child = activeChildWindow();
    // The views' activation binds only while the program is the active application: the active
    // map's configuration is current whatever the desktop's focus.
    if (child && child->document && !gameConfigs.current)
        GameCfg_Select(&gameConfigs, child->document->gameConfig);
    if (child) {
        if (focusView && !child->views.contains(focusView))
            if (cCanvas* view = child->findCanvas(-1)) view->makeActive();
        if (previousFocusView && !child->views.contains(previousFocusView))
            previousFocusView = child->findCanvas(-1);
    }
    updateCreateActions(createClassName, 0x6);
    // The face-properties dialog shows the selected faces whatever tool works under it.
    if (notify && child && (Tool_Id(activeTool) == ToolId::Selection || faceDialog.isVisible()))
        notifySelectionChanged();
    updateViewModeActions();
    updateToolActions();
}

void cMainWindow::updateDocumentActions() {
    const bool active = activeChildWindow() != nullptr;
    for (QAction* entry : std::as_const(actionList)) {
        auto* action = qobject_cast<QCustomAction*>(entry);
        if (!action) continue;
        if (action->hideWithoutMap) action->setVisible(active);
        if (action->disableWithoutMap) action->setEnabled(active);
    }
    for (QMenu* menu : std::as_const(menus)) {
        if (menu->parentWidget() != menuBar()) continue;
        bool shown = false;
        for (QAction* action : menu->actions())
            if (action->isVisible() && !action->menu() && !action->isSeparator()) shown = true;
        menu->menuAction()->setVisible(shown);
    }
    if (pluginMenu) pluginMenu->menuAction()->setVisible(!plugins.actions.isEmpty());
    if (screenElementsMenu) screenElementsMenu->menuAction()->setVisible(active);
    if (colorSchemeMenu) colorSchemeMenu->menuAction()->setVisible(active);
    if (languageMenu && !languageMenu->actions().isEmpty()) {
        languageMenu->menuAction()->setVisible(true);
        if (languageParentMenu) languageParentMenu->menuAction()->setVisible(true);
    }
}

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
    QMdiSubWindow* previous = mdiArea ? mdiArea->activeSubWindow() : nullptr;
    {
        cPreferencesDialog dialog(page, this);
        dialog.exec();
    }
    if (previous && mdiArea) mdiArea->setActiveSubWindow(previous);
}
