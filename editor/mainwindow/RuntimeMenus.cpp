// Run-time menus and action states: the colour-scheme, language and Window menus, recent files,
// settings re-application. Least bodies until those commands come.
#include <QAction>
#include <QSettings>

#include "mainwindow/MainWindow.h"
#include "mainwindow/QCustomAction.h"
#include "views/ColorScheme.h"
#include "views/CustomColorsDialog.h"

void cMainWindow::updateWindowList() {}
// "&Custom..." (index -1) edits the custom scheme; a numbered entry loads its scheme from the
// settings file.
void cMainWindow::applyColorScheme() {
    auto* action = qobject_cast<QCustomAction*>(sender());
    if (!action) return;
    if (action->index >= 0) {
        QSettings schemes(colorSchemeFile(), QSettings::IniFormat);
        schemes.beginGroup(QStringLiteral("ColorScheme%1").arg(action->index));
        if (schemes.contains(QStringLiteral("Title"))) Color_LoadScheme(schemes);
        schemes.endGroup();
        settings.CurrentColorScheme = action->index;
        applySchemePalette();
        updateAllViews(3);
        return;
    }
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
