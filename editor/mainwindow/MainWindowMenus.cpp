// The menu bar, the map tool bars, the context menus, the tools bar and the view toggles, built
// from the command and tool tables; the start-up and close hooks of the command interface.
#include <QApplication>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>
#include <algorithm>

#include "core/System.h"
#include "mainwindow/MainWindow.h"
#include "dialogs/application/QCustomAction.h"
#include "mainwindow/SettingsFile.h"

namespace {

QString text(const char* s) {
    return s ? QString::fromUtf8(s) : QString();
}

// The 16-pixel drawing and, where there is one, the 32-pixel drawing of the same icon, so large tool
// buttons and high-density screens get sharp lines instead of an enlarged small picture.
QIcon tableIcon(const char* name) {
    QIcon icon(QStringLiteral(":/qrc/%1.png").arg(QLatin1String(name)));
    const QString large = QStringLiteral(":/qrc/32/%1.png").arg(QLatin1String(name));
    if (QFile::exists(large)) icon.addFile(large);
    return icon;
}

QString nativeShortcut(const QAction* action) {
    return action->shortcut().toString(QKeySequence::NativeText);
}

// The menu of a new tear-off submenu made by a special row (title, object name, icon, tip).
QMenu* addRowSubmenu(QMenu* target, const ActionEntry& row) {
    QMenu* menu = target->addMenu(text(row.text));
    menu->setObjectName(text(row.text));
    menu->setTearOffEnabled(true);
    if (row.icon) menu->setIcon(tableIcon(row.icon));
    if (row.statusTip) menu->menuAction()->setStatusTip(Action_Translate(text(row.statusTip)));
    return menu;
}

void setRowShortcut(QCustomAction* action, const ActionEntry& row) {
    if (row.shortcut)
        App_SetActionShortcuts(action, QCoreApplication::translate("cMainWindow", row.shortcut));
    else if (row.standardKey)
        App_SetActionShortcuts(action, QLatin1String(Action_StandardKeyText(row.standardKey)));
}

// A new action from a row: text, name, icon, keys, status tip, flags, slot; appended to the list.
QCustomAction* newRowAction(cMainWindow* window, const ActionEntry& row, QMenu* menu, QObject* parent) {
    auto* action = menu ? new QCustomAction(menu) : new QCustomAction(parent);
    action->sourceText = text(row.text);
    action->setText(action->sourceText);
    if (row.name) action->setObjectName(text(row.name));
    if (row.icon) action->setIcon(tableIcon(row.icon));
    setRowShortcut(action, row);
    if (row.statusTip) action->statusText = text(row.statusTip);
    action->updateStatusTip();
    action->setCheckable(row.flags & ActionFlag::Checkable);
    action->disableWithoutMap = !(row.flags & ActionFlag::EnabledWithoutMap);
    action->hiddenFromCommandList = row.flags & ActionFlag::NotInCommandList;
    action->tag = row.disabledInTools;
    action->toolbarOrder = row.toolbarOrder;
    if (row.slot) QObject::connect(action, SIGNAL(triggered()), window, row.slot);
    window->actionList.append(action);
    return action;
}

// A tool-bar or context-menu entry: a linked copy of the action of that name when there is one
// (menu-bar actions come first in the list), else an action of its own.
QCustomAction* newEntry(cMainWindow* window, const ActionEntry& row, QMenu* menu, QObject* parent, bool bar) {
    QAction* found = nullptr;
    if (row.name)
        for (QAction* action : std::as_const(window->actionList))
            if (action->objectName() == QLatin1String(row.name)) {
                found = action;
                break;
            }
    const QString tipText = text(row.statusTip ? row.statusTip : row.text);
    if (!found) {
        QCustomAction* action = newRowAction(window, row, menu, parent);
        action->setToolTipText(tipText, nativeShortcut(action));
        return action;
    }
    auto* mirror = menu ? new QCustomAction(menu) : new QCustomAction(parent);
    auto* source = qobject_cast<QCustomAction*>(found);
    mirror->setText(found->text());
    mirror->setObjectName(found->objectName());
    if (found->actionGroup()) mirror->setActionGroup(found->actionGroup());
    mirror->setIcon(found->icon());
    mirror->setCheckable(found->isCheckable());
    if (source) {
        mirror->sourceText = source->sourceText;
        mirror->disableWithoutMap = source->disableWithoutMap;
        mirror->tag = source->tag;
        mirror->statusText = source->statusText;
        mirror->statusArg = source->statusArg;
        mirror->toolbarOrder = source->toolbarOrder;
    }
    mirror->setStatusTip(bar || !source ? found->statusTip() : Action_Translate(mirror->statusText));
    if (found->isCheckable()) {
        mirror->setChecked(found->isChecked());
        // Linked by the check state only: a click runs the slot once, through the copy clicked.
        QObject::connect(found, &QAction::toggled, mirror, &QAction::setChecked);
        QObject::connect(mirror, &QAction::toggled, found, &QAction::setChecked);
    }
    mirror->setToolTipText(tipText, nativeShortcut(found));
    if (row.slot) QObject::connect(mirror, SIGNAL(triggered()), window, row.slot);
    window->actionList.append(mirror);
    return mirror;
}

// The rows carrying the bit, by the order column.
std::vector<const ActionEntry*> rowsWith(std::span<const ActionEntry> table, uint32_t bit, bool toolbar) {
    std::vector<const ActionEntry*> rows;
    for (const ActionEntry& row : table)
        if (row.flags & bit) rows.push_back(&row);
    std::stable_sort(rows.begin(), rows.end(), [toolbar](const ActionEntry* a, const ActionEntry* b) {
        return toolbar ? a->toolbarOrder < b->toolbarOrder : a->contextOrder < b->contextOrder;
    });
    return rows;
}

} // namespace

void App_SetActionShortcuts(QCustomAction* action, const QString& text) {
    if (!action) return;
    if (!text.contains(QLatin1Char('|'))) {
        action->setShortcut(QKeySequence(text));
        return;
    }
    QList<QKeySequence> keys;
    for (const QString& part : text.split(QLatin1Char('|'), Qt::SkipEmptyParts))
        keys.append(QKeySequence(part));
    action->setShortcuts(keys);
}

void cMainWindow::createMenus() {
    QMenu* top = nullptr;
    QMenu* sub = nullptr;
    QMenu* recentMenu = nullptr;
    for (const ActionEntry& row : actionTable) {
        if (!(row.flags & ActionFlag::MenuBar)) continue;
        if (!top || top->title() != text(row.menu)) {
            top = menuBar()->addMenu(text(row.menu));
            top->setObjectName(text(row.menu));
            menus.append(top);
            sub = nullptr;
        }
        if (!row.group) {
            sub = nullptr;
        } else if (!sub || sub->title() != text(row.group)) {
            sub = top->addMenu(text(row.group));
            sub->setObjectName(text(row.group));
            sub->setTearOffEnabled(true);
            menus.append(sub);
        }
        QMenu* target = sub ? sub : top;
        if (row.text) {
            if (row.flags & ActionFlag::WebLinks) {
                QMenu* links = addRowSubmenu(target, row);
                menus.append(links);
                for (const WebLinkEntry& link : Action_WebLinks()) {
                    if (!link.caption) {
                        links->addSeparator();
                        continue;
                    }
                    auto* action = new QCustomAction(links);
                    action->sourceText = text(link.caption);
                    QString address = text(link.address);
                    if (QUrl(address).isRelative())
                        address = QUrl::fromLocalFile(
                                      QDir::cleanPath(App_GetBaseDirectory() + QLatin1Char('/') + address))
                                      .toString();
                    action->data = address;
                    action->statusText = QStringLiteral("Open \"%1\" in web browser");
                    action->statusArg = address;
                    if (link.icon) action->setIcon(tableIcon(link.icon));
                    action->retranslate();
                    connect(action, SIGNAL(triggered()), this, SLOT(cmdHelpOnWeb()));
                    actionList.append(action);
                }
            } else if (row.flags &
                       (ActionFlag::ScreenElements | ActionFlag::ColorSchemes | ActionFlag::LanguageMenu)) {
                QMenu* menu = addRowSubmenu(target, row);
                menus.append(menu);
                if (row.flags & ActionFlag::ScreenElements) screenElementsMenu = menu;
                if (row.flags & ActionFlag::ColorSchemes) colorSchemeMenu = menu;
                if (row.flags & ActionFlag::LanguageMenu) {
                    languageMenu = menu;
                    languageParentMenu = target;
                }
            } else {
                QCustomAction* action = newRowAction(this, row, target, nullptr);
                action->hideWithoutMap = !(row.flags & ActionFlag::VisibleWithoutMap);
                if (!curveMenu && row.name && qstrncmp(row.name, "Curve", 5) == 0) curveMenu = top;
            }
            continue;
        }
        if (row.flags & ActionFlag::RecentSeparator) {
            recentFilesSeparator = target->addSeparator();
        } else if (row.flags & ActionFlag::RecentInsert) {
            recentInsertSeparator = target->addSeparator();
            recentMenu = target;
        } else if (row.flags & ActionFlag::WindowListSeparator) {
            windowListSeparator = target->addSeparator();
            windowListSeparator->setVisible(false);
        } else if (row.flags & ActionFlag::PluginMenu) {
            pluginMenu = target;
        } else {
            auto* separator = new QCustomSeparator(target);
            if (row.name) separator->setObjectName(text(row.name));
            separator->hideWithoutMap = !(row.flags & ActionFlag::VisibleWithoutMap);
            separator->disableWithoutMap = !(row.flags & ActionFlag::EnabledWithoutMap);
            separator->tag = row.disabledInTools;
            separator->toolbarOrder = row.toolbarOrder;
            actionList.append(separator);
        }
    }
    for (QMenu* menu : std::as_const(menus))
        if (menu->objectName() == QLatin1String("&Window"))
            connect(menu, SIGNAL(aboutToShow()), this, SLOT(updateWindowList()));
    if (recentMenu) {
        for (QCustomAction*& entry : recentFileActions) {
            entry = new QCustomAction(static_cast<QObject*>(this));
            entry->setVisible(false);
            connect(entry, SIGNAL(triggered()), this, SLOT(openRecentFile()));
            recentMenu->insertAction(recentInsertSeparator, entry);
        }
    }
    // The settings were read before the entries existed.
    updateRecentFilesMenu();
}

void cMainWindow::createMapToolBar(const QString& name, uint32_t bit) {
    const std::vector<const ActionEntry*> rows = rowsWith(actionTable, bit, true);
    if (rows.empty()) return;
    // The bars do not fit one row at 1280 pixels: the operations and display switches start a second
    // one, so no button hides behind an overflow arrow in the default layout.
    if (bit == ActionFlag::OperationsBar) addToolBarBreak();
    QToolBar* bar = addToolBar(name);
    bar->setObjectName(name);
    bar->setWhatsThis(name);
    bar->setIconSize(QSize(16, 16));
    connect(bar, SIGNAL(visibilityChanged(bool)), this, SLOT(updateScreenElements()));
    toolBars.append(bar);
    for (const ActionEntry* row : rows) {
        if (!row->text) {
            QAction* separator = bar->addSeparator();
            if (row->name) {
                separator->setObjectName(text(row->name));
                actionList.append(separator);
            }
            continue;
        }
        bar->addAction(newEntry(this, *row, nullptr, bar, true));
    }
}

void cMainWindow::createContextMenu(const QString& name, uint32_t bit) {
    const std::vector<const ActionEntry*> rows = rowsWith(actionTable, bit, false);
    if (rows.empty()) return;
    auto* menu = new QMenu(name, this);
    menu->setWhatsThis(name);
    contextMenus.append(menu);
    QMenu* sub = nullptr;
    for (const ActionEntry* row : rows) {
        // A flat row stands in the menu itself, whatever submenu came before it.
        if (!row->group || (row->flags & ActionFlag::FlatContext)) {
            sub = nullptr;
        } else if (!sub || sub->title() != text(row->group)) {
            sub = menu->addMenu(text(row->group));
            sub->setObjectName(text(row->group));
            contextSubmenus.append(sub);
        }
        QMenu* target = sub ? sub : menu;
        if (!row->text) {
            auto* separator = new QCustomSeparator(target);
            if (row->name) {
                separator->setObjectName(text(row->name));
                actionList.append(separator);
            }
            continue;
        }
        newEntry(this, *row, target, nullptr, false);
    }
}

void cMainWindow::createToolsBar() {
    const QString name = QStringLiteral("Map&tools Bar");
    // Down the left edge: every tool in sight beside the views, whatever the width of the window.
    QToolBar* bar = new QToolBar(name, this);
    addToolBar(Qt::LeftToolBarArea, bar);
    bar->setObjectName(name);
    bar->setWhatsThis(name);
    bar->setIconSize(settings.SmallToolIcons ? QSize(20, 16) : QSize(40, 32));
    connect(bar, SIGNAL(visibilityChanged(bool)), this, SLOT(updateScreenElements()));
    toolBars.append(bar);
    for (const ActionEntry& row : toolTable) {
        if (!row.text) {
            bar->addSeparator();
            continue;
        }
        auto* action = new QCustomAction(static_cast<QObject*>(this));
        action->sourceText = text(row.text);
        action->setText(action->sourceText);
        if (row.name) action->setObjectName(text(row.name));
        if (row.icon) action->setIcon(tableIcon(row.icon));
        setRowShortcut(action, row);
        action->statusText = text(row.statusTip ? row.statusTip : row.text);
        action->updateStatusTip();
        action->setToolTipText(action->statusText, nativeShortcut(action));
        if (row.slot) connect(action, SIGNAL(triggered()), this, row.slot);
        action->setCheckable(row.flags & ActionFlag::Checkable);
        action->tag = row.disabledInTools;
        action->index = row.toolbarOrder;
        action->toolbarOrder = row.toolbarOrder;
        addAction(action);
        bar->addAction(action);
        toolActions.append(action);
    }
}

void cMainWindow::createViewToggles() {
    if (!screenElementsMenu) return;
    auto toggle = [this](const QString& label, const QString& target, const char* slot, bool checked) {
        auto* action = new QCustomAction(screenElementsMenu);
        action->sourceText = label;
        action->setText(Action_Translate(label));
        action->data = target;
        action->setCheckable(true);
        action->setChecked(checked);
        connect(action, SIGNAL(triggered()), this, slot);
        actionList.append(action);
        return action;
    };
    for (QToolBar* bar : std::as_const(toolBars))
        toggle(bar->objectName(), bar->objectName(), SLOT(toggleToolbar()), bar->isVisibleTo(this));
    screenElementsMenu->addSeparator();
    const struct {
        const char* label;
        const char* dock;
        const char* key;
    } docks[] = {{"&Object Bar", "newobjects", "F6"},
                 {"Te&xture Bar", "textures", "F7"},
                 {"&Filter Control", "visgroups", "F8"}};
    for (const auto& d : docks) {
        auto* dock = findChild<QDockWidget*>(QLatin1String(d.dock));
        QCustomAction* action = toggle(QLatin1String(d.label), QLatin1String(d.dock),
                                       SLOT(toggleDockWidget()), dock && dock->isVisibleTo(this));
        action->setShortcut(QKeySequence(QLatin1String(d.key)));
    }
    screenElementsMenu->addSeparator();
    toggle(QStringLiteral("&Status Bar"), QStringLiteral("statusbar"), SLOT(toggleStatusBar()),
           statusBar()->isVisibleTo(this));
}

void cMainWindow::toggleToolbar() {
    auto* action = qobject_cast<QCustomAction*>(sender());
    if (!action || action->data.isEmpty()) return;
    if (QToolBar* bar = findChild<QToolBar*>(action->data)) bar->setVisible(action->isChecked());
}

QAction* App_ExecContextMenu(const QString& name, const QPoint& position) {
    if (!g_mainWindow) return nullptr;
    for (QMenu* menu : std::as_const(g_mainWindow->contextMenus))
        if (menu->whatsThis() == name) return menu->exec(position);
    return nullptr;
}

bool App_IsCanvasMenuOpen() {
    if (!g_mainWindow) return false;
    for (QMenu* menu : std::as_const(g_mainWindow->contextMenus))
        if (menu->whatsThis() == QLatin1String("Canvas")) return menu->isVisible();
    return false;
}

// The resources of the editor's static library are linked only where they are named: the command
// and effect-editor icons, and the texture lists' group icons.
static void initIconResources() {
    Q_INIT_RESOURCE(icons);
    Q_INIT_RESOURCE(texturelists);
}

void cMainWindow::buildCommandInterface() {
    // A row naming a missing slot would connect to nothing, a shared key would fire neither.
    for (const std::string& problem : Action_CheckTables(*metaObject(), actionTable, toolTable))
        Sys_Warning("command table: %s\n", problem.c_str());
    initIconResources();
    installTranslators();
    loadLanguage();
    mdiArea->setStatusTip(tr("For Help, press F1"));
    createStatusBar();
    createMenus();
    for (const ActionHolder& bar : Action_MapToolBars())
        createMapToolBar(QLatin1String(bar.name), bar.bit);
    for (const ActionHolder& menu : Action_ContextMenus())
        createContextMenu(QLatin1String(menu.name), menu.bit);
    // The settings were read before the actions existed.
    for (const SettingAction& action : Settings_ActionTable())
        setActionChecked(QLatin1String(action.name), action.checked(settings));
    createToolsBar();
    createViewToggles();
    createColorSchemeMenu();
    createLanguageMenu();
    fillPluginMenu();
    // In a menu an icon takes the place of the check mark, and a pressed icon frame is hard to see:
    // toggles show their mark there and keep the icon for the tool bars.
    for (QList<QAction*>* list : {&actionList, &toolActions})
        for (QAction* action : std::as_const(*list))
            if (action->isCheckable()) action->setIconVisibleInMenu(false);
    applyLanguage(nullptr, languageCode);
    createLayoutDialogs();
}

void cMainWindow::finishCommandInterface() {
    readLayout();
    updateScreenElements();
    updateSnapGridStatus();
    updateActions(0xfff);
}

void cMainWindow::saveCommandInterface() {
    saveLanguage();
    writeLayout();
}
