// Run-time menus and action states: the colour-scheme, language, plug-in and Window menus and
// the tool actions.
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSignalMapper>
#include <QSettings>

#include "mainwindow/ActionTable.h"
#include "mainwindow/MainWindow.h"
#include "gamedata/PluginInterface.h"
#include "dialogs/application/QCustomAction.h"
#include "tools/ToolSet.h"
#include "views/ChildWindow.h"
#include "render/ColorScheme.h"
#include "views/CustomColorsDialog.h"

void cMainWindow::updateWindowList() {
    if (!mdiArea || !windowListSeparator) return;
    QMenu* menu = nullptr;
    for (QObject* owner : windowListSeparator->associatedObjects())
        if ((menu = qobject_cast<QMenu*>(owner))) break;
    if (!menu) return;
    const QList<QMdiSubWindow*> windows = mdiArea->subWindowList(QMdiArea::CreationOrder);
    windowListSeparator->setVisible(!windows.isEmpty());
    const QList<QAction*> entries = menu->actions();
    for (qsizetype i = entries.indexOf(windowListSeparator) + 1; i > 0 && i < entries.size(); ++i) {
        signalMapper->removeMappings(entries[i]);
        delete entries[i];
    }
    const cChildWindow* active = activeChildWindow();
    int number = 0;
    for (QMdiSubWindow* sub : windows) {
        ++number;
        const QString title = sub->widget() ? sub->widget()->windowTitle() : sub->windowTitle();
        const QString text = number <= 9 ? QStringLiteral("&%1 %2").arg(number).arg(title)
                                         : QStringLiteral("%1 %2").arg(number).arg(title);
        QAction* action = menu->addAction(text);
        action->setCheckable(true);
        action->setChecked(active && sub->widget() == active);
        signalMapper->setMapping(action, sub);
        connect(action, &QAction::triggered, signalMapper, qOverload<>(&QSignalMapper::map));
    }
}
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
        App_ApplySchemeColors(this);
        updateAllViews(3);
        return;
    }
    cCustomColorsDialog dialog(this);
    if (dialog.exec() == QDialog::Accepted) settings.CurrentColorScheme = -1;
    for (QAction* entry : std::as_const(colorSchemeActions))
        if (auto* custom = qobject_cast<QCustomAction*>(entry))
            custom->setChecked(custom->index == settings.CurrentColorScheme);
}

// Checks the language's action and translates every text again; start-up translates through it.
void cMainWindow::applyLanguage(QAction* action, const QString& language) {
    if (!action)
        for (QAction* entry : std::as_const(languageActions))
            if (entry->data().toString() == language) action = entry;
    if (action) action->setChecked(true);
    retranslateAll();
}
void cMainWindow::updateToolActions() {
    const bool active = activeChildWindow() != nullptr;
    const int toolId = Tool_Id(activeTool);
    for (QAction* entry : std::as_const(toolActions)) {
        auto* action = qobject_cast<QCustomAction*>(entry);
        // "Apply Current Texture" would fight the surface dialog over the texture.
        const bool applying = action && action->index == kApplyTextureToolId;
        entry->setEnabled(active && !(applying && faceDialog.isVisible()));
        if (action && entry->isCheckable()) entry->setChecked(action->index == toolId);
    }
    if (active && toolId >= 0) {
        for (QAction* entry : std::as_const(actionList)) {
            auto* action = qobject_cast<QCustomAction*>(entry);
            if (!action || !(action->hideWithoutMap || action->disableWithoutMap)) continue;
            if (action->objectName() == QLatin1String("ToolsCordonB"))
                action->setChecked(toolId == ToolId::Cordon);
            action->setEnabled(!(action->tag & (1 << toolId)));
        }
    }
    fillObjectCategories();
    updateActions(-1);
}

void cMainWindow::fillPluginMenu() {
    if (!pluginMenu) return;
    QMenu* target = pluginMenu;
    QByteArray section;
    for (qsizetype i = 0; i < plugins.actions.size(); ++i) {
        const PluginAction& command = *plugins.actions[i];
        const QByteArray own = command.category ? QByteArray(command.category) : QByteArray();
        if (own != section) {
            section = own;
            if (own.isEmpty()) {
                pluginMenu->addSeparator();
                target = pluginMenu;
            } else {
                target = pluginMenu->addMenu(QString::fromUtf8(own));
                target->setTearOffEnabled(true);
            }
        }
        auto* action = new QCustomAction(target);
        const QString title = QString::fromUtf8(command.title);
        const QString description =
            command.description && *command.description ? QString::fromUtf8(command.description) : title;
        action->setText(title);
        // Through the fields, so that a language switch rebuilds the same tips.
        action->statusText = description;
        action->updateStatusTip();
        const QString shortcut = command.shortcut ? QString::fromUtf8(command.shortcut) : QString();
        if (!shortcut.isEmpty()) App_SetActionShortcuts(action, shortcut);
        action->setToolTipText(description, shortcut);
        action->hideWithoutMap = command.flags & PLUGIN_ACTION_HIDE_WITHOUT_MAP;
        action->disableWithoutMap = command.flags & PLUGIN_ACTION_DISABLE_WITHOUT_MAP;
        action->index = int32_t(i);
        connect(action, &QAction::triggered, this, qOverload<>(&cMainWindow::runPluginAction));
        actionList.append(action);
    }
}
