// Run-time menus and action states: the colour-scheme, language and Window menus, recent files,
// settings re-application. Least bodies until those commands come.
#include <QAction>

#include "mainwindow/MainWindow.h"

void cMainWindow::updateWindowList() {}
void cMainWindow::applyColorScheme() {}
void cMainWindow::openRecentFile() {}

// Checks the language's action and translates every text again; start-up translates through it.
void cMainWindow::applyLanguage(QAction* action, const QString& language) {
    if (action) action->setChecked(true);
    retranslateAll();
}
void cMainWindow::applySettings() {}
void cMainWindow::updateToolActions() {}
void cMainWindow::notifySelectionChanged() {
    notifySelectionChanged(focusView);
}
void cMainWindow::deselectHiddenObjects() {}
