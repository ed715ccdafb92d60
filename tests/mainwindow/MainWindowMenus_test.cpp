#include <gtest/gtest.h>

#include <QApplication>
#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <map>

#include "WindowFixture.h"
#include "core/Prompt.h"
#include "dialogs/application/QCustomAction.h"

namespace {

using namespace ActionFlag;

// A command in the menu bar and two tool bars, two shortcut forms, a group, a flat context row,
// the recent-files separators, a curve command and the plugin marker. Its slot asks a question,
// so the prompt script counts how often it ran.
const ActionEntry kFixture[] = {
    {"&File", nullptr, "FileA", "&Alpha", "undo", "Shift+Q|Ctrl+Q", "Alpha tip", "1cmdHelpUpdateCheck()", 0,
     MenuBar | Checkable | FileBar | ViewBar | OperationsMenu, 0, 20, 10},
    {"&File", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x15, 0, 0, 0},
    {"&File", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0x25, 0, 0, 0},
    {"&File", nullptr, "FileB", "&Beta", nullptr, "A|B|", nullptr, "1cmdWindowTile()", 0, MenuBar | FileBar,
     0, 10, 0},
    {"E&dit", "&Group", "EditG1", "G1", nullptr, nullptr, nullptr, nullptr, 0, MenuBar | OperationsMenu, 0, 0,
     100},
    {"E&dit", "&Group", "EditG2", "G2", nullptr, nullptr, nullptr, nullptr, 0, MenuBar | OperationsMenu, 0, 0,
     200},
    {"E&dit", "&Group", "EditFlat", "Flat", nullptr, "F", "Flat tip", nullptr, 0,
     FlatContext | OperationsMenu, 0, 0, 300},
    {"E&dit", nullptr, "EditStd", "Std", nullptr, nullptr, nullptr, nullptr, QKeySequence::Copy, MenuBar, 0,
     0, 0},
    {"&Curve", nullptr, "CurveX", "Curve x", nullptr, nullptr, nullptr, nullptr, 0, MenuBar, 0, 0, 0},
    {"Pl&ugins", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, MenuBar | PluginMenu, 0, 0,
     0},
};

QStringList shortcutTexts(const QAction* action) {
    QStringList texts;
    for (const QKeySequence& key : action->shortcuts())
        texts.append(key.toString());
    return texts;
}

QToolBar* bar(const cMainWindow& window, const QString& name) {
    for (QToolBar* b : window.toolBars)
        if (b->objectName() == name) return b;
    return nullptr;
}

QMenu* menuNamed(const QList<QMenu*>& menus, const QString& name) {
    for (QMenu* menu : menus)
        if (menu->objectName() == name) return menu;
    return nullptr;
}

void click(QWidget* widget) {
    const QPointF at = QRectF(widget->rect()).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

// The visible texts of a menu's own commands (no separators, no submenu entries, no recent files).
QStringList commandTexts(const QMenu* menu) {
    QStringList texts;
    for (QAction* action : menu->actions()) {
        auto* custom = qobject_cast<QCustomAction*>(action);
        if (!custom || custom->isSeparator() || custom->menu() || custom->sourceText.isEmpty()) continue;
        texts.append(custom->sourceText);
    }
    return texts;
}

class MainWindowMenusTest : public cWindowFixture {};

} // namespace

TEST_F(MainWindowMenusTest, FixtureCommandIsOneMenuEntryWithLinkedMirrors) {
    cMainWindow window(WindowMode::Headless);
    window.actionTable = kFixture;
    window.createMenus();
    for (const ActionHolder& b : Action_MapToolBars())
        window.createMapToolBar(QLatin1String(b.name), b.bit);
    for (const ActionHolder& m : Action_ContextMenus())
        window.createContextMenu(QLatin1String(m.name), m.bit);
    window.show();

    // Once in its menu, once in each bar, once in the context menu: all linked to the first.
    QMenu* file = menuNamed(window.menus, QStringLiteral("&File"));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(commandTexts(file), (QStringList{"&Alpha", "&Beta"}));
    const QList<QAction*> alpha = Window_Actions(window, QStringLiteral("FileA"));
    ASSERT_EQ(alpha.size(), 4);
    EXPECT_TRUE(file->actions().contains(alpha[0]));
    QToolBar* fileBar = bar(window, QStringLiteral("Mapf&ile Bar"));
    QToolBar* viewBar = bar(window, QStringLiteral("Mapv&iew Bar"));
    ASSERT_TRUE(fileBar && viewBar);
    // The file bar sorts by position: Beta (10) before Alpha (20).
    ASSERT_EQ(fileBar->actions().size(), 2);
    EXPECT_EQ(fileBar->actions()[0]->objectName(), QLatin1String("FileB"));
    EXPECT_EQ(fileBar->actions()[1], alpha[1]);
    EXPECT_EQ(viewBar->actions(), (QList<QAction*>{alpha[2]}));
    for (QAction* mirror : alpha) {
        EXPECT_TRUE(mirror->isCheckable());
        EXPECT_TRUE(mirror->shortcuts().isEmpty() || mirror == alpha[0]);
    }
    EXPECT_EQ(shortcutTexts(alpha[0]), (QStringList{"Shift+Q", "Ctrl+Q"}));
    EXPECT_EQ(
        alpha[1]->toolTip(),
        QStringLiteral("Alpha tip [%1]").arg(QKeySequence("Shift+Q").toString(QKeySequence::NativeText)));
    EXPECT_EQ(alpha[0]->toolTip(), QLatin1String("Alpha")); // menu-bar actions have no tool tip of their own
    EXPECT_EQ(alpha[1]->statusTip(), QLatin1String("Alpha tip"));
    EXPECT_EQ(shortcutTexts(Window_Actions(window, QStringLiteral("FileB"))[0]), (QStringList{"A", "B"}));
    // Standard keys are fixed, not the platform's list.
    EXPECT_EQ(shortcutTexts(Window_Actions(window, QStringLiteral("EditStd"))[0]), QStringList{"Ctrl+C"});

    // Clicking the file bar's button checks every copy and runs the slot once.
    cPromptScript script;
    click(fileBar->widgetForAction(alpha[1]));
    EXPECT_EQ(script.asked.size(), 1);
    for (QAction* mirror : alpha)
        EXPECT_TRUE(mirror->isChecked());
    // Unchecking the menu-bar action unchecks the copies without running anything.
    alpha[0]->setChecked(false);
    for (QAction* mirror : alpha)
        EXPECT_FALSE(mirror->isChecked());
    alpha[0]->trigger();
    EXPECT_EQ(script.asked.size(), 2);
    EXPECT_TRUE(alpha[3]->isChecked());

    // Bars and context menus without rows do not exist.
    EXPECT_EQ(window.toolBars.size(), 2);
    EXPECT_EQ(window.findChildren<QToolBar*>().size(), 2);
    EXPECT_EQ(window.contextMenus.size(), 1);
    EXPECT_EQ(App_ExecContextMenu(QStringLiteral("Vertex"), QPoint(10, 10)), nullptr);
    EXPECT_FALSE(App_IsCanvasMenuOpen());

    // The group opens a submenu in the context menu; the flat row stays at the top.
    QMenu* operations = window.contextMenus[0];
    EXPECT_EQ(operations->whatsThis(), QLatin1String("Operations"));
    QMenu* group = menuNamed(window.contextSubmenus, QStringLiteral("&Group"));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(commandTexts(group), (QStringList{"G1", "G2"}));
    EXPECT_EQ(commandTexts(operations), (QStringList{"&Alpha", "Flat"}));
    EXPECT_EQ(operations->actions()[1], group->menuAction());
    // The flat row exists only there: an action of its own with its own shortcut.
    const QList<QAction*> flat = Window_Actions(window, QStringLiteral("EditFlat"));
    ASSERT_EQ(flat.size(), 1);
    EXPECT_EQ(flat[0]->shortcut(), QKeySequence("F"));
    // In the menu bar groups are tear-off submenus.
    QMenu* menuGroup = menuNamed(window.menus, QStringLiteral("&Group"));
    ASSERT_NE(menuGroup, nullptr);
    EXPECT_TRUE(menuGroup->isTearOffEnabled());

    // Eight hidden recent-file entries stand before the insertion point; its separator is hidden.
    const QList<QAction*> entries = file->actions();
    const qsizetype insert = entries.indexOf(window.recentInsertSeparator);
    ASSERT_GE(insert, 8);
    for (qsizetype i = insert - 8; i < insert; ++i) {
        EXPECT_EQ(entries[i], window.recentFileActions[i - (insert - 8)]);
        EXPECT_FALSE(entries[i]->isVisible());
    }
    EXPECT_FALSE(window.recentFilesSeparator->isVisible());
    EXPECT_EQ(window.curveMenu, menuNamed(window.menus, QStringLiteral("&Curve")));
    EXPECT_EQ(window.pluginMenu, menuNamed(window.menus, QStringLiteral("Pl&ugins")));
}

TEST_F(MainWindowMenusTest, FiveMapBarsSevenContextMenusAndTheToolsBarSizes) {
    // One row for each bar and menu bit.
    std::vector<ActionEntry> rows;
    std::vector<QByteArray> names;
    for (const auto& list : {Action_MapToolBars(), Action_ContextMenus()})
        for (const ActionHolder& h : list)
            names.push_back(QByteArray("Row") + QByteArray::number(h.bit));
    size_t i = 0;
    for (const auto& list : {Action_MapToolBars(), Action_ContextMenus()})
        for (const ActionHolder& h : list)
            rows.push_back({nullptr, nullptr, names[i].constData(), names[i++].constData(), nullptr, nullptr,
                            nullptr, nullptr, 0, h.bit, 0, 0, 0});
    for (bool small : {true, false}) {
        cMainWindow window(WindowMode::Headless);
        window.settings.SmallToolIcons = small;
        window.actionTable = rows;
        for (const ActionHolder& b : Action_MapToolBars())
            window.createMapToolBar(QLatin1String(b.name), b.bit);
        for (const ActionHolder& m : Action_ContextMenus())
            window.createContextMenu(QLatin1String(m.name), m.bit);
        window.createToolsBar();
        ASSERT_EQ(window.toolBars.size(), 6);
        for (int b = 0; b < 5; ++b) {
            EXPECT_EQ(window.toolBars[b]->objectName(), QLatin1String(Action_MapToolBars()[b].name));
            EXPECT_EQ(window.toolBars[b]->windowTitle(), QLatin1String(Action_MapToolBars()[b].name));
            EXPECT_EQ(window.toolBars[b]->whatsThis(), QLatin1String(Action_MapToolBars()[b].name));
            EXPECT_EQ(window.toolBars[b]->iconSize(), QSize(16, 16));
        }
        ASSERT_EQ(window.contextMenus.size(), 7);
        for (int m = 0; m < 7; ++m) {
            EXPECT_EQ(window.contextMenus[m]->whatsThis(), QLatin1String(Action_ContextMenus()[m].name));
            EXPECT_EQ(window.contextMenus[m]->title(), QLatin1String(Action_ContextMenus()[m].name));
        }
        QToolBar* tools = window.toolBars[5];
        EXPECT_EQ(tools->objectName(), QLatin1String("Map&tools Bar"));
        EXPECT_EQ(tools->iconSize(), small ? QSize(20, 16) : QSize(40, 32));
    }
}

TEST_F(MainWindowMenusTest, RealWindowHoldsEveryRowWhereTheTableSaysAndEverySlotResolves) {
    cMainWindow window(WindowMode::Interactive);
    window.show();
    const std::span<const ActionEntry> table = Action_Table();

    // Menu bar: the commands of each menu and submenu in table order.
    std::map<QString, QStringList> expected; // by the menu's object name
    QString top;
    for (const ActionEntry& row : table) {
        if (!(row.flags & MenuBar)) continue;
        top = QLatin1String(row.menu);
        if (row.text && !(row.flags & (WebLinks | ScreenElements | ColorSchemes | LanguageMenu)))
            expected[row.group ? QLatin1String(row.group) : top].append(QLatin1String(row.text));
        else
            expected[row.group ? QLatin1String(row.group) : top];
    }
    for (const auto& [name, texts] : expected) {
        QMenu* menu = menuNamed(window.menus, name);
        ASSERT_NE(menu, nullptr) << name.toStdString();
        EXPECT_EQ(commandTexts(menu), texts) << name.toStdString();
    }
    QStringList topTitles;
    for (QAction* action : window.menuBar()->actions())
        topTitles.append(action->menu()->objectName());
    QStringList tableTops;
    for (const ActionEntry& row : table)
        if ((row.flags & MenuBar) && !tableTops.contains(QLatin1String(row.menu)))
            tableTops.append(QLatin1String(row.menu));
    EXPECT_EQ(topTitles, tableTops);

    // Map bars and context menus: their rows by position; none without rows.
    for (const auto& pass :
         {std::pair{Action_MapToolBars(), true}, std::pair{Action_ContextMenus(), false}}) {
        const bool isBar = pass.second;
        for (const ActionHolder& h : pass.first) {
            std::vector<const ActionEntry*> rows;
            for (const ActionEntry& row : table)
                if (row.flags & h.bit) rows.push_back(&row);
            std::stable_sort(rows.begin(), rows.end(), [isBar](const ActionEntry* a, const ActionEntry* b) {
                return isBar ? a->toolbarOrder < b->toolbarOrder : a->contextOrder < b->contextOrder;
            });
            const QString name = QLatin1String(h.name);
            if (isBar) {
                QToolBar* b = bar(window, name);
                ASSERT_EQ(b != nullptr, !rows.empty()) << h.name;
                if (!b) continue;
                ASSERT_EQ(b->actions().size(), qsizetype(rows.size())) << h.name;
                for (size_t i = 0; i < rows.size(); ++i) {
                    QAction* action = b->actions()[i];
                    EXPECT_EQ(action->isSeparator(), rows[i]->text == nullptr) << h.name << " " << i;
                    if (rows[i]->text)
                        EXPECT_EQ(action->objectName(), QLatin1String(rows[i]->name)) << h.name;
                }
                continue;
            }
            QMenu* menu = nullptr;
            for (QMenu* m : window.contextMenus)
                if (m->whatsThis() == name) menu = m;
            ASSERT_EQ(menu != nullptr, !rows.empty()) << h.name;
            if (!menu) continue;
            std::map<QString, QStringList> want;
            for (const ActionEntry* row : rows)
                if (row->text)
                    want[row->group && !(row->flags & FlatContext) ? QLatin1String(row->group) : QString()]
                        .append(QLatin1String(row->text));
            for (const auto& [group, texts] : want) {
                QMenu* into = menu;
                if (!group.isEmpty())
                    for (QAction* a : menu->actions())
                        if (a->menu() && a->menu()->objectName() == group) into = a->menu();
                ASSERT_NE(into, group.isEmpty() ? nullptr : menu) << h.name;
                EXPECT_EQ(commandTexts(into), texts) << h.name << " " << group.toStdString();
            }
        }
    }

    // Every slot of both tables and of the slot list is a slot of the window.
    const QMetaObject* meta = window.metaObject();
    for (const auto& list : {Action_Table(), Action_ToolTable()})
        for (const ActionEntry& row : list)
            if (row.slot)
                EXPECT_GE(meta->indexOfSlot(QMetaObject::normalizedSignature(row.slot + 1)), 0) << row.slot;
    static const char* const kSlots[] = {"changeSubwindowActiveState(QMdiSubWindow*)",
                                         "setActiveChildWindow(QWidget*)",
                                         "checkActiveState(bool,bool)",
                                         "checkActiveState(bool)",
                                         "updateScreenElements()",
                                         "updateWindowList()",
                                         "updateLayout()",
                                         "updateStatusBar(QString)",
                                         "toggleToolbar()",
                                         "toggleStatusBar()",
                                         "toggleDockWidget()",
                                         "applyColorScheme()",
                                         "openRecentFile()",
                                         "editCategoryList()",
                                         "editObjectList()",
                                         "editFaceCount(int)",
                                         "editTextureGroup()",
                                         "editTextureName()",
                                         "execBrowseTexture()",
                                         "runPluginAction()",
                                         "msgFeatureUnderDevelopment()",
                                         "assignVisGroup()",
                                         "markVisGroup()",
                                         "purgeVisGroups()",
                                         "editVisGroups()",
                                         "selectVisGroup(QListWidgetItem*)",
                                         "changeVisGroupVis(QListWidgetItem*)",
                                         "mergeVisGroups(QListWidgetItem*,QListWidgetItem*)",
                                         "switchLanguage(QAction*)",
                                         "cmdFileAutosave()",
                                         "cmdHelpOnWeb()",
                                         "cmdFileExit()",
                                         "cmdCurveMatrixRandomize()",
                                         "cmdToolsTieToEntityEx()",
                                         "cmdEditCreateObjectEx()",
                                         "toolPath()"};
    for (const char* slot : kSlots)
        EXPECT_GE(meta->indexOfSlot(slot), 0) << slot;
    int tableSlots = 0;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i)
        if (meta->method(i).methodType() == QMetaMethod::Slot) ++tableSlots;
    EXPECT_GE(tableSlots, 200);

    // Icons come from the program's resources.
    for (const auto& list : {Action_Table(), Action_ToolTable()})
        for (const ActionEntry& row : list)
            if (row.icon && row.text)
                EXPECT_FALSE(QIcon(QStringLiteral(":/qrc/%1.png").arg(QLatin1String(row.icon)))
                                 .availableSizes()
                                 .isEmpty())
                    << row.icon;

    // The tools bar from the 16 tool rows.
    QToolBar* tools = bar(window, QStringLiteral("Map&tools Bar"));
    ASSERT_NE(tools, nullptr);
    ASSERT_EQ(tools->actions().size(), qsizetype(Action_ToolTable().size()));
    EXPECT_EQ(window.toolActions.size(), 11);
    for (size_t i = 0; i < Action_ToolTable().size(); ++i) {
        const ActionEntry& row = Action_ToolTable()[i];
        QAction* action = tools->actions()[qsizetype(i)];
        EXPECT_EQ(action->isSeparator(), !row.text);
        if (!row.text) continue;
        auto* custom = qobject_cast<QCustomAction*>(action);
        ASSERT_NE(custom, nullptr);
        EXPECT_EQ(custom->index, row.toolbarOrder);
        EXPECT_EQ(custom->shortcut(), QKeySequence(QLatin1String(row.shortcut)));
        EXPECT_TRUE(window.actions().contains(action)); // its key works in the whole window
    }

    // The view toggles: one per tool bar, three docks, the status bar.
    ASSERT_NE(window.screenElementsMenu, nullptr);
    QStringList toggles;
    for (QAction* action : window.screenElementsMenu->actions())
        if (!action->isSeparator()) toggles.append(action->text());
    QStringList want;
    for (QToolBar* b : window.toolBars)
        want.append(b->objectName());
    want << "&Object Bar"
         << "Te&xture Bar"
         << "&Filter Control"
         << "&Status Bar";
    EXPECT_EQ(toggles, want);
    QList<QAction*> all = window.screenElementsMenu->actions();
    all.removeIf([](QAction* a) { return a->isSeparator(); });
    EXPECT_EQ(all[all.size() - 4]->shortcut(), QKeySequence(Qt::Key_F6));
    EXPECT_EQ(all[all.size() - 3]->shortcut(), QKeySequence(Qt::Key_F7));
    EXPECT_EQ(all[all.size() - 2]->shortcut(), QKeySequence(Qt::Key_F8));
    for (QAction* action : all)
        EXPECT_TRUE(action->isChecked()) << action->text().toStdString();

    // Hiding a bar from its title-bar menu unchecks its toggle; the toggle shows it again.
    QToolBar* first = window.toolBars[0];
    first->toggleViewAction()->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(first->isHidden());
    EXPECT_FALSE(all[0]->isChecked());
    all[0]->trigger();
    EXPECT_FALSE(first->isHidden());
    // The status bar and a dock follow their toggles.
    all.last()->trigger();
    EXPECT_TRUE(window.statusBar()->isHidden());
    all[all.size() - 4]->trigger();
    EXPECT_TRUE(window.findChild<QDockWidget*>(QStringLiteral("newobjects"))->isHidden());
    window.close();
}
