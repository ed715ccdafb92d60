// Run-time menus and action states: the colour-scheme, language and Window menus, recent files,
// settings re-application. Least bodies until those commands come.
#include <QAction>

#include "mainwindow/MainWindow.h"
#include "mainwindow/QCustomAction.h"
#include "views/CustomColorsDialog.h"

void cMainWindow::updateWindowList() {}
// "&Custom..." (index -1) edits the custom scheme; the named schemes come with the scheme commands.
void cMainWindow::applyColorScheme() {
    auto* action = qobject_cast<QCustomAction*>(sender());
    if (!action || action->index != -1) return;
    cCustomColorsDialog dialog(this);
    if (dialog.exec() == QDialog::Accepted) settings.CurrentColorScheme = -1;
    for (QAction* entry : std::as_const(colorSchemeActions))
        if (auto* custom = qobject_cast<QCustomAction*>(entry))
            custom->setChecked(custom->index == settings.CurrentColorScheme);
}
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
